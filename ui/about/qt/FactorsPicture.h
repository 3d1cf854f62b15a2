// The About window's picture of the conversion factors, painted from its description
// (FactorsDesign.h): five fixed lines of text set like a formula (italic symbols, 81.787 over
// lambda squared as a fraction, raised exponents), black on white. The lines are laid out once in
// logical pixels and painted as vector text, so the picture is as sharp at a device pixel ratio of
// 2 as at 1.
#pragma once

#include "ui/about/FactorsDesign.h"

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <vector>

class QImage;
class QPainter;

namespace pevrand
{

// The picture's size in logical pixels.
inline constexpr int FactorsPictureWidth = factors::Width;
inline constexpr int FactorsPictureHeight = factors::Height;

// A piece of text drawn in one font, starting at the left end of its baseline.
struct FactorsRun {
    QString Text;
    QFont Font;
    QPointF Origin;
};

// One line of the picture, in picture coordinates: its runs, its fraction rules, and a box
// that holds all of its ink and its font's full height.
struct FactorsLine {
    std::vector<FactorsRun> Runs;
    std::vector<QRectF> Rules;
    QRectF Bounds;
};

// The five lines, top to bottom, placed inside the 408 x 133 picture: the block centred, the
// lines spaced evenly. When the fonts at hand are too wide the type is made a pixel smaller
// until the block fits (never below 8 pixels).
std::vector<FactorsLine> LayOutFactors();

// Fills the picture white and draws `lines` in black. `painter` works in the picture's
// logical pixels; its device decides the resolution.
void PaintFactors(QPainter &painter, const std::vector<FactorsLine> &lines);

// The picture as an image of 408 x 133 logical pixels at `devicePixelRatio` (1, 2, ...).
QImage RenderFactors(qreal devicePixelRatio);

// The picture as a fixed-size widget. It paints at the resolution of the screen it is on.
class FactorsPicture : public QWidget
{
public:
    explicit FactorsPicture(QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<FactorsLine> lines_;
};

} // namespace pevrand
