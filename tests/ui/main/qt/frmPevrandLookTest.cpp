// The main window as it looks on any desktop: on a dark colour scheme its own texts stay dark
// on its pale cyan, and whatever faces are installed its dialog font keeps every caption whole.
// Run twice by CTest: with the system's fonts, and with Liberation hidden.
#include "ui/main/qt/frmPevrand.h"

#include "tests/ui/common/qt/WindowTestFixture.h"
#include "ui/about/qt/frmAbout.h"
#include "ui/common/qt/Fonts.h"

#include <QApplication>
#include <QFontInfo>
#include <QPointer>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

using pevrand::frmPevrand;
using window_test::Find;

namespace
{

const QColor PaleCyan(192, 255, 255);

// A dark desktop: light text on dark grey, a dark base for text boxes. Its text is a warm
// white, far from the window's pale cyan and from the white of a frame's etched line, so that
// a single pixel of it shows.
const QColor DesktopText(255, 230, 150);

QPalette DarkPalette()
{
    return QPalette(DesktopText, QColor(60, 60, 60), QColor(100, 100, 100), QColor(20, 20, 20),
                    QColor(40, 40, 40), DesktopText, Qt::white, QColor(25, 25, 25),
                    QColor(50, 50, 50));
}

// How many pixels of `image` lie within `distance` of `colour`, summed over red, green, blue.
int PixelsNear(const QImage &image, const QColor &colour, int distance)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const int apart = qAbs(pixel.red() - colour.red()) +
                              qAbs(pixel.green() - colour.green()) +
                              qAbs(pixel.blue() - colour.blue());
            count += apart < distance ? 1 : 0;
        }
    return count;
}

} // namespace

class FrmPevrandLookTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ownTextsKeepTheirColoursOnADarkDesktop_data();
    void ownTextsKeepTheirColoursOnADarkDesktop();
    void framesAreTheWindowColourInside();
    void boxesAndButtonsKeepTheDesktopColours_data();
    void boxesAndButtonsKeepTheDesktopColours();
    void dialogFontShrinksOnlyWithoutAStandIn();
    void aboutTextsStayReadableOnADarkDesktop();

private:
    QPointer<frmPevrand> window_;
    window_test::ModalAnswerer *answerer_ = nullptr;
};

void FrmPevrandLookTest::initTestCase()
{
    // Fusion is the style of a desktop without its own, and the one that shades frames.
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setPalette(DarkPalette());
}

void FrmPevrandLookTest::init()
{
    answerer_ = new window_test::ModalAnswerer;
    window_ = new frmPevrand;
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void FrmPevrandLookTest::cleanup()
{
    delete window_;
    const bool clean = answerer_->Verify();
    delete answerer_;
    QVERIFY(clean);
}

void FrmPevrandLookTest::ownTextsKeepTheirColoursOnADarkDesktop_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QColor>("text");
    const QColor black(0, 0, 0), red(255, 0, 0);
    QTest::newRow("label") << "lblInputValue" << black;
    QTest::newRow("frame title") << "fraUnitsOut" << black;
    QTest::newRow("option caption") << "optMomentumIn" << black;
    QTest::newRow("author line") << "lblAuthor" << black;
    QTest::newRow("designed red caption stays red") << "lblInput" << red;
}

// The colour the control paints its text with, and that colour among its pixels; no light
// desktop text on the pale cyan.
void FrmPevrandLookTest::ownTextsKeepTheirColoursOnADarkDesktop()
{
    QFETCH(QString, control);
    QFETCH(QColor, text);
    QWidget *widget = Find(window_, control);
    QCOMPARE(widget->palette().color(QPalette::Active, QPalette::WindowText), text);
    QCOMPARE(widget->palette().color(QPalette::Inactive, QPalette::WindowText), text);
    const QImage image = widget->grab().toImage();
    QVERIFY2(PixelsNear(image, text, 200) >= 10, "its text is not drawn in its colour");
    QCOMPARE(PixelsNear(image, DesktopText, 90), 0);
}

// Right of the options' captions and below the last one: nothing but the window's colour.
void FrmPevrandLookTest::framesAreTheWindowColourInside()
{
    QWidget *widget = Find(window_, "fraUnitsIn");
    const QImage image = widget->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    for (const QPoint at : {QPoint(widget->width() - 10, widget->height() / 2),
                            QPoint(widget->width() / 2, widget->height() - 5)})
        QCOMPARE(image.pixelColor((QPointF(at) * ratio).toPoint()), PaleCyan);
}

void FrmPevrandLookTest::boxesAndButtonsKeepTheDesktopColours_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::newRow("entry box's base") << "txtInputVal" << int(QPalette::Base);
    QTest::newRow("button text") << "cmdQuit" << int(QPalette::ButtonText);
}

void FrmPevrandLookTest::boxesAndButtonsKeepTheDesktopColours()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    const auto colourRole = QPalette::ColorRole(role);
    QCOMPARE(Find(window_, control)->palette().color(colourRole),
             QApplication::palette().color(colourRole));
}

// With Liberation Sans or one of its metric twins the window keeps the designed 8 pt; with
// none (the run that hides Liberation) it shrinks the font, and the captions still fit (the
// main window suite's caption check runs in that configuration too).
void FrmPevrandLookTest::dialogFontShrinksOnlyWithoutAStandIn()
{
    const QFont font = window_->font();
    const bool standIn = pevrand::DesignFamilies("").contains(QFontInfo(font).family());
    if (qEnvironmentVariableIsSet("PEVRAND_NO_STAND_IN_FONTS"))
        QVERIFY2(!standIn, qPrintable("Liberation is not hidden: " + QFontInfo(font).family()));
    if (standIn)
        QCOMPARE(font.pointSizeF(), pevrand::DialogPoints);
    else
        QVERIFY(font.pointSizeF() < pevrand::DialogPoints);
}

// The About window's labels are black by design: on a dark desktop the window behind them must
// stay light, or they could not be read.
void FrmPevrandLookTest::aboutTextsStayReadableOnADarkDesktop()
{
    QPointer<QWidget> about = pevrand::frmAbout::ShowFor(window_);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QWidget *title = Find(about, "lblTitle");
    const QImage image = title->grab().toImage();
    QVERIFY2(PixelsNear(image, Qt::black, 200) > 10, "the title is not drawn in black");
    // Past the end of the title's text: the light dialog colour, not the desktop's dark one.
    const QColor behind = image.pixelColor(
        (QPointF(title->width() - 2, title->height() / 2) * image.devicePixelRatio()).toPoint());
    QCOMPARE(behind, QColor(240, 240, 240));
    QCOMPARE(Find(about, "cmdOK")->palette().color(QPalette::ButtonText),
             QApplication::palette().color(QPalette::ButtonText));
    delete about;
}

QTEST_MAIN(FrmPevrandLookTest)
#include "frmPevrandLookTest.moc"
