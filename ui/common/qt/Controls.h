// Builders for the Qt windows' controls, placed by their designed twips.
#pragma once

#include "ui/common/Twips.h"

#include <QRect>

class QLabel;
class QPushButton;
class QString;
class QWidget;

namespace pevrand
{

// `box` in logical pixels, at 15 twips a pixel; Qt scales logical pixels to the screen.
QRect Pixels(TwipsRect box);

// A plain-text label shown from the top left; `wrap` breaks its text at word boundaries.
QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, TwipsRect box,
                  bool wrap = true);

// A push button with its caption (an "&" marks the access key) and tooltip (none when null).
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, TwipsRect box,
                        const char *toolTip = nullptr);

} // namespace pevrand
