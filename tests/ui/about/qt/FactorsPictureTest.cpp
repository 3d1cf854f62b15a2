// The factors picture: what it says, how it is set, and that it renders whole and sharp at
// normal and high-DPI scale.
#include "ui/about/qt/FactorsPicture.h"

#include <QFontMetricsF>
#include <QImage>
#include <QtTest>

#include <algorithm>

using pevrand::FactorsLine;
using pevrand::FactorsRun;

namespace
{

const QRectF Picture(0, 0, pevrand::FactorsPictureWidth, pevrand::FactorsPictureHeight);

// The text of a line as it reads: its runs in the order they were set.
QString Reading(const FactorsLine &line)
{
    QString text;
    for (const FactorsRun &run : line.Runs) {
        text += run.Text;
    }
    return text;
}

const FactorsRun *FindRun(const std::vector<FactorsLine> &lines, const QString &text, int lineIndex)
{
    const auto &runs = lines.at(static_cast<std::size_t>(lineIndex)).Runs;
    const auto found =
        std::ranges::find_if(runs, [&text](const FactorsRun &run) { return run.Text == text; });
    return found == runs.end() ? nullptr : &*found;
}

QRectF Ink(const FactorsRun &run)
{
    return QFontMetricsF(run.Font).tightBoundingRect(run.Text).translated(run.Origin);
}

bool IsWhite(QRgb pixel)
{
    return (pixel & 0xFFFFFFu) == 0xFFFFFFu;
}

} // namespace

class FactorsPictureTest : public QObject
{
    Q_OBJECT

private slots:
    void readsAsTheFiveLines_data();
    void readsAsTheFiveLines();
    void fontsHaveEverySign_data();
    void fontsHaveEverySign();
    void symbolsAreItalic_data();
    void symbolsAreItalic();
    void exponentsAreRaisedAndSmaller_data();
    void exponentsAreRaisedAndSmaller();
    void lambdaSquaredStandsUnderARule();
    void linesStayInsideAndApart();
    void rendersWholeAndSharp_data();
    void rendersWholeAndSharp();
    void widgetHasThePictureSize();
};

void FactorsPictureTest::readsAsTheFiveLines_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reading");
    QTest::newRow("introduction") << 0
                                  << QString::fromUtf8("Based on the following conversion "
                                                       "factors\u2026");
    // The fraction reads numerator first, then the denominator.
    QTest::newRow("the factors, equal to E in meV")
        << 1
        << QString::fromUtf8("E = 2.0717k2 = 81.787\u03bb2 = 4.1354\u03bd = 5.2276\u00d710\u22126"
                             "v2 = 0.086165T");
    QTest::newRow("the units of the symbols")
        << 2
        << QString::fromUtf8("E(meV), \u03bb(\u00c5), \u03bd(THz), v(m/sec), k(\u00c5\u22121), "
                             "T(\u00b0K)");
    QTest::newRow("the photon") << 3
                                << QString::fromUtf8("For a photon: E(meV) = 0.123975/\u03bb(cm)");
    QTest::newRow("the origin") << 4
                                << QStringLiteral("(first known occurrence of these was at ICANS "
                                                  "conference at Argonne in 1970s)");
}

void FactorsPictureTest::readsAsTheFiveLines()
{
    QFETCH(int, line);
    QFETCH(QString, reading);
    const auto lines = pevrand::LayOutFactors();
    QCOMPARE(lines.size(), std::size_t{5});
    QCOMPARE(Reading(lines.at(static_cast<std::size_t>(line))), reading);
}

void FactorsPictureTest::fontsHaveEverySign_data()
{
    QTest::addColumn<QChar>("sign");
    QTest::newRow("lambda") << QChar(0x03BB);
    QTest::newRow("nu") << QChar(0x03BD);
    QTest::newRow("Angstrom") << QChar(0x00C5);
    QTest::newRow("degree") << QChar(0x00B0);
    QTest::newRow("minus of the exponents") << QChar(0x2212);
    QTest::newRow("times") << QChar(0x00D7);
    QTest::newRow("ellipsis") << QChar(0x2026);
}

// Every run holding the sign is set in a font that has it, so nothing is drawn as a box or
// borrowed from an unrelated face.
void FactorsPictureTest::fontsHaveEverySign()
{
    QFETCH(QChar, sign);
    int uses = 0;
    for (const FactorsLine &line : pevrand::LayOutFactors()) {
        for (const FactorsRun &run : line.Runs) {
            if (run.Text.contains(sign)) {
                ++uses;
                QVERIFY2(QFontMetricsF(run.Font).inFont(sign),
                         qPrintable(run.Font.family() + " lacks the sign in " + run.Text));
            }
        }
    }
    QVERIFY(uses > 0);
}

void FactorsPictureTest::symbolsAreItalic_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("italic");
    QTest::newRow("energy E") << 1 << "E" << true;
    QTest::newRow("wavevector k") << 1 << "k" << true;
    QTest::newRow("wavelength lambda") << 2 << QString(QChar(0x03BB)) << true;
    QTest::newRow("frequency nu") << 1 << QString(QChar(0x03BD)) << true;
    QTest::newRow("temperature T") << 1 << "T" << true;
    QTest::newRow("velocity v stays upright, apart from nu") << 1 << "v" << false;
    QTest::newRow("numbers upright") << 1 << " = 2.0717" << false;
    QTest::newRow("units upright") << 2 << "(meV), " << false;
    QTest::newRow("photon energy E") << 3 << "E" << true;
}

void FactorsPictureTest::symbolsAreItalic()
{
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(bool, italic);
    const auto lines = pevrand::LayOutFactors();
    const FactorsRun *run = FindRun(lines, text, line);
    QVERIFY2(run != nullptr, qPrintable("no run " + text));
    QCOMPARE(run->Font.italic(), italic);
}

void FactorsPictureTest::exponentsAreRaisedAndSmaller_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("exponent");
    QTest::newRow("k squared") << 1 << "k"
                               << "2";
    QTest::newRow("ten to the minus six")
        << 1 << QString::fromUtf8(" = 5.2276\u00d710") << QString::fromUtf8("\u22126");
    QTest::newRow("inverse Angstrom")
        << 2 << QString::fromUtf8("(\u00c5") << QString::fromUtf8("\u22121");
}

void FactorsPictureTest::exponentsAreRaisedAndSmaller()
{
    QFETCH(int, line);
    QFETCH(QString, base);
    QFETCH(QString, exponent);
    const auto lines = pevrand::LayOutFactors();
    const FactorsRun *baseRun = FindRun(lines, base, line);
    const FactorsRun *exponentRun = FindRun(lines, exponent, line);
    QVERIFY(baseRun != nullptr && exponentRun != nullptr);
    QVERIFY(exponentRun->Font.pixelSize() < baseRun->Font.pixelSize());
    QVERIFY(exponentRun->Origin.y() < baseRun->Origin.y());
    // Set after the base, never back over it.
    const qreal baseEnd =
        baseRun->Origin.x() + QFontMetricsF(baseRun->Font).horizontalAdvance(baseRun->Text);
    QVERIFY(exponentRun->Origin.x() >= baseEnd);
}

void FactorsPictureTest::lambdaSquaredStandsUnderARule()
{
    const auto lines = pevrand::LayOutFactors();
    const FactorsLine &factors = lines.at(1);
    QCOMPARE(factors.Rules.size(), std::size_t{1});
    const QRectF rule = factors.Rules.front();
    const FactorsRun *numerator = FindRun(lines, "81.787", 1);
    const FactorsRun *lambda = FindRun(lines, QString(QChar(0x03BB)), 1);
    const FactorsRun *equals = FindRun(lines, " = ", 1);
    QVERIFY(numerator != nullptr && lambda != nullptr && equals != nullptr);

    QVERIFY(Ink(*numerator).bottom() < rule.top());
    QVERIFY(Ink(*lambda).top() > rule.bottom());
    QVERIFY(rule.width() >= Ink(*numerator).width());
    QCOMPARE(std::round(Ink(*numerator).center().x()), std::round(rule.center().x()));
    // The rule sits between the baseline and the top of the text around it, and starts after
    // the equals sign before it.
    QVERIFY(rule.top() < equals->Origin.y() && rule.bottom() > Ink(*equals).top());
    QVERIFY(rule.left() >= Ink(*equals).right());
}

void FactorsPictureTest::linesStayInsideAndApart()
{
    const auto lines = pevrand::LayOutFactors();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QRectF bounds = lines[i].Bounds;
        QVERIFY2(Picture.adjusted(2, 2, -2, -2).contains(bounds),
                 qPrintable(QString("line %1 reaches the picture's edge").arg(i + 1)));
        if (i > 0) {
            QVERIFY2(lines[i - 1].Bounds.bottom() < bounds.top(),
                     qPrintable(QString("lines %1 and %2 overlap").arg(i).arg(i + 1)));
        }
    }
}

void FactorsPictureTest::rendersWholeAndSharp_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("normal screen") << 1.0;
    QTest::newRow("high-DPI screen at twice the pixels") << 2.0;
    QTest::newRow("fractional scale") << 1.5;
}

void FactorsPictureTest::rendersWholeAndSharp()
{
    QFETCH(qreal, ratio);
    const QImage image = pevrand::RenderFactors(ratio);
    QCOMPARE(image.size(), QSize(static_cast<int>(std::ceil(408 * ratio)),
                                 static_cast<int>(std::ceil(133 * ratio))));
    const auto lines = pevrand::LayOutFactors();

    // No ink on the picture's edge rows and columns, and none outside the lines' boxes: a
    // clipped glyph or a run drawn where its line does not expect it shows up here.
    int inkInLines[5] = {};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsWhite(image.pixel(x, y))) {
                continue;
            }
            const bool onEdge = x < 2 || y < 2 || x >= image.width() - 2 || y >= image.height() - 2;
            QVERIFY2(!onEdge, qPrintable(QString("ink on the edge at %1, %2").arg(x).arg(y)));
            const QPointF point((x + 0.5) / ratio, (y + 0.5) / ratio);
            const auto line = std::ranges::find_if(lines, [&point](const FactorsLine &l) {
                return l.Bounds.adjusted(-1, -1, 1, 1).contains(point);
            });
            QVERIFY2(line != lines.end(),
                     qPrintable(QString("stray ink at %1, %2").arg(point.x()).arg(point.y())));
            ++inkInLines[line - lines.begin()];
        }
    }
    for (int count : inkInLines) {
        QVERIFY(count > 0);
    }

    // At a whole scale the fraction rule lies on whole device pixels: solid black, not a
    // grey smear.
    if (ratio != std::floor(ratio)) {
        return;
    }
    const QRectF rule = lines.at(1).Rules.front();
    const int ruleRow = static_cast<int>(std::floor(rule.top() * ratio));
    for (int x = static_cast<int>(std::ceil(rule.left() * ratio));
         x < static_cast<int>(std::floor(rule.right() * ratio)); ++x) {
        QCOMPARE(qGray(image.pixel(x, ruleRow)), 0);
    }
}

void FactorsPictureTest::widgetHasThePictureSize()
{
    pevrand::FactorsPicture picture;
    QCOMPARE(picture.size(), QSize(408, 133));
    QCOMPARE(picture.minimumSize(), picture.maximumSize());
}

QTEST_MAIN(FactorsPictureTest)
#include "FactorsPictureTest.moc"
