#include "FactorsPicture.h"

#include "ui/about/FactorsDesign.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <span>

namespace pevrand
{

namespace
{

constexpr int SmallestPixelSize = 8;
constexpr qreal SideMargin = 6; // least free space left and right of the block of lines
constexpr qreal LeastGap = 3;   // least free space above, between and below the lines

constexpr QChar Lambda(0x03BB);

QStringList Families(std::span<const std::string_view> names)
{
    QStringList families;
    for (const std::string_view name : names)
        families << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    return families;
}

const QStringList TextFamilies = Families(factors::TextFamilies);
const QStringList GreekFamilies = Families(factors::GreekFamilies);

// Horizontal metrics stay unhinted, so the runs of a line keep their relative places at
// every resolution.
QFont PictureFont(const QStringList &families, int pixelSize, bool italic)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

// Sets one line from left to right, starting at x = 0 on a baseline at y = 0. While the line
// is being set its Bounds hold only ink; Line() adds the font's full height.
class LineSetter
{
public:
    explicit LineSetter(int pixelSize)
        : upright_(PictureFont(TextFamilies, pixelSize, false)),
          italic_(PictureFont(TextFamilies, pixelSize, true)),
          greek_(GreekFont(pixelSize, upright_)),
          script_(PictureFont(TextFamilies, static_cast<int>(std::lround(0.7 * pixelSize)), false)),
          rise_(std::round(0.4 * pixelSize))
    {
    }

    // Sets one piece of the picture's description in its face.
    LineSetter &Put(const factors::Piece &piece)
    {
        const QString text =
            QString::fromUtf8(piece.Text.data(), static_cast<qsizetype>(piece.Text.size()));
        switch (piece.Style) {
        case factors::Face::Symbol:
            return Put(text, italic_, 0);
        case factors::Face::Greek:
            return Put(text, greek_, 0);
        case factors::Face::Superscript:
            return Put(text, script_, -rise_);
        case factors::Face::Text:
            break;
        }
        return Put(text, upright_, 0);
    }

    // Sets `numerator` over a rule over `denominator`, the rule on the line's maths axis
    // (the height of the bar of a minus sign) and a little wider than the wider part.
    LineSetter &Fraction(const LineSetter &numerator, const LineSetter &denominator)
    {
        CorrectItalic();
        const QFontMetricsF metrics(upright_);
        const qreal thickness = std::max<qreal>(1, std::round(metrics.lineWidth()));
        const qreal ruleTop = std::round(-metrics.strikeOutPos() - thickness / 2);
        const qreal gap = thickness + 1;
        const qreal overshoot = 1.5;
        const qreal width = std::max(numerator.x_, denominator.x_) + 2 * overshoot;

        const qreal numeratorBaseline = std::floor(ruleTop - gap - numerator.line_.Bounds.bottom());
        const qreal denominatorBaseline =
            std::ceil(ruleTop + thickness + gap - denominator.line_.Bounds.top());
        Place(numerator.line_, QPointF(x_ + (width - numerator.x_) / 2, numeratorBaseline));
        Place(denominator.line_, QPointF(x_ + (width - denominator.x_) / 2, denominatorBaseline));
        const QRectF rule(x_, ruleTop, width, thickness);
        line_.Rules.push_back(rule);
        line_.Bounds |= rule;
        x_ += width;
        return *this;
    }

    FactorsLine Line() const
    {
        const QFontMetricsF metrics(upright_);
        FactorsLine line = line_;
        line.Bounds |= QRectF(0, -metrics.ascent(), x_, metrics.ascent() + metrics.descent());
        return line;
    }

private:
    LineSetter &Put(const QString &text, const QFont &font, qreal baseline)
    {
        if (!font.italic()) {
            CorrectItalic();
        }
        overhang_ = 0;
        const QFontMetricsF metrics(font);
        const QPointF origin(x_, baseline);
        line_.Runs.push_back({text, font, origin});
        line_.Bounds |= metrics.tightBoundingRect(text).translated(origin);
        x_ += metrics.horizontalAdvance(text);
        if (font.italic()) {
            overhang_ = std::max<qreal>(0, -metrics.rightBearing(text.back()));
        }
        return *this;
    }

    // An italic glyph leans past its advance; upright text after it starts that much later.
    void CorrectItalic()
    {
        x_ += overhang_;
        overhang_ = 0;
    }

    void Place(const FactorsLine &part, QPointF offset)
    {
        for (const FactorsRun &run : part.Runs) {
            line_.Runs.push_back({run.Text, run.Font, run.Origin + offset});
        }
        for (const QRectF &rule : part.Rules) {
            line_.Rules.push_back(rule.translated(offset));
        }
        line_.Bounds |= part.Bounds.translated(offset);
    }

    // The italic Greek face, sized so that lambda stands as tall as the text's k.
    static QFont GreekFont(int pixelSize, const QFont &text)
    {
        QFont greek = PictureFont(GreekFamilies, pixelSize, true);
        const qreal scale = QFontMetricsF(text).tightBoundingRect(QStringLiteral("k")).height() /
                            QFontMetricsF(greek).tightBoundingRect(Lambda).height();
        greek.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize * scale))));
        return greek;
    }

    QFont upright_, italic_, greek_, script_;
    qreal rise_;
    qreal x_ = 0;
    qreal overhang_ = 0;
    FactorsLine line_;
};

// One line of the picture's description at `pixelSize`, on its own baseline at y = 0.
FactorsLine SetLine(std::span<const factors::Piece> pieces, int pixelSize)
{
    LineSetter line(pixelSize);
    for (std::size_t i = 0; i < pieces.size();) {
        if (pieces[i].Where != factors::Place::Numerator) {
            line.Put(pieces[i++]);
            continue;
        }
        LineSetter numerator(pixelSize);
        LineSetter denominator(pixelSize);
        for (; i < pieces.size() && pieces[i].Where == factors::Place::Numerator; ++i)
            numerator.Put(pieces[i]);
        for (; i < pieces.size() && pieces[i].Where == factors::Place::Denominator; ++i)
            denominator.Put(pieces[i]);
        line.Fraction(numerator, denominator);
    }
    return line.Line();
}

// The five lines at `pixelSize`, each on its own baseline at y = 0.
std::vector<FactorsLine> SetLines(int pixelSize)
{
    std::vector<FactorsLine> lines;
    for (const auto &pieces : factors::Lines)
        lines.push_back(SetLine(pieces, pixelSize));
    return lines;
}

qreal BlockLeft(const std::vector<FactorsLine> &lines)
{
    return std::ranges::min(lines, {}, [](const FactorsLine &l) { return l.Bounds.left(); })
        .Bounds.left();
}

qreal BlockWidth(const std::vector<FactorsLine> &lines)
{
    const qreal right = std::ranges::max(lines, {}, [](const FactorsLine &l) {
                            return l.Bounds.right();
                        }).Bounds.right();
    return right - BlockLeft(lines);
}

qreal LinesHeight(const std::vector<FactorsLine> &lines)
{
    qreal height = 0;
    for (const FactorsLine &line : lines) {
        height += line.Bounds.height();
    }
    return height;
}

bool Fits(const std::vector<FactorsLine> &lines)
{
    const auto gaps = static_cast<qreal>(lines.size() + 1);
    return BlockWidth(lines) <= FactorsPictureWidth - 2 * SideMargin &&
           LinesHeight(lines) <= FactorsPictureHeight - gaps * LeastGap;
}

void Translate(FactorsLine &line, QPointF offset)
{
    for (FactorsRun &run : line.Runs) {
        run.Origin += offset;
    }
    for (QRectF &rule : line.Rules) {
        rule.translate(offset);
    }
    line.Bounds.translate(offset);
}

} // namespace

std::vector<FactorsLine> LayOutFactors()
{
    int pixelSize = factors::NominalPixelSize;
    std::vector<FactorsLine> lines = SetLines(pixelSize);
    while (!Fits(lines) && pixelSize > SmallestPixelSize) {
        lines = SetLines(--pixelSize);
    }

    // Whole pixels for the left edge and the baselines keep the text on the pixel grid at a
    // device pixel ratio of 1.
    const qreal left = std::round((FactorsPictureWidth - BlockWidth(lines)) / 2) - BlockLeft(lines);
    const qreal gap =
        (FactorsPictureHeight - LinesHeight(lines)) / static_cast<qreal>(lines.size() + 1);
    qreal top = gap;
    for (FactorsLine &line : lines) {
        const qreal height = line.Bounds.height();
        Translate(line, QPointF(left, std::round(top - line.Bounds.top())));
        top += height + gap;
    }
    return lines;
}

void PaintFactors(QPainter &painter, const std::vector<FactorsLine> &lines)
{
    painter.fillRect(QRectF(0, 0, FactorsPictureWidth, FactorsPictureHeight), Qt::white);
    painter.setPen(Qt::black);
    for (const FactorsLine &line : lines) {
        for (const FactorsRun &run : line.Runs) {
            painter.setFont(run.Font);
            painter.drawText(run.Origin, run.Text);
        }
        for (const QRectF &rule : line.Rules) {
            painter.fillRect(rule, Qt::black);
        }
    }
}

QImage RenderFactors(qreal devicePixelRatio)
{
    const QSize size(static_cast<int>(std::ceil(FactorsPictureWidth * devicePixelRatio)),
                     static_cast<int>(std::ceil(FactorsPictureHeight * devicePixelRatio)));
    QImage image(size, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&image);
    PaintFactors(painter, LayOutFactors());
    return image;
}

FactorsPicture::FactorsPicture(QWidget *parent) : QWidget(parent), lines_(LayOutFactors())
{
    setFixedSize(FactorsPictureWidth, FactorsPictureHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize FactorsPicture::sizeHint() const
{
    return {FactorsPictureWidth, FactorsPictureHeight};
}

void FactorsPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintFactors(painter, lines_);
}

} // namespace pevrand
