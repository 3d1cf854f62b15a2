// The colours of a window that fixes its own background. Such a window fixes every colour
// drawn on it too, so that its texts stay readable under any desktop colour scheme; only the
// controls that keep the system's look (text boxes, push buttons) take the desktop's colours.
#pragma once

#include "ui/common/WindowDesign.h"

#include <QColor>
#include <QPalette>

class QWidget;

namespace pevrand
{

// A colour of the design.
inline QColor Colour(Rgb rgb)
{
    return QColor(rgb.Red, rgb.Green, rgb.Blue);
}

// The colours of a light scheme around `background`: black text on it, white text boxes with
// black text, grey shading, a dark blue highlight; grey text when disabled.
QPalette FixedPalette(const QColor &background);

// Gives `window` and the controls on it FixedPalette(background), and draws its frames as a
// plain etched line around the window's own colour, so that no style shades their insides.
void FixWindowColours(QWidget *window, const QColor &background);

// Gives `widget` every colour of the system's palette, whatever its window fixed.
void KeepSystemColours(QWidget *widget);

} // namespace pevrand
