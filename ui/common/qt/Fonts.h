// The windows' faces as fonts: each designed face with the metric-compatible faces that stand
// in for it, at the largest size up to the designed one at which the window's captions fit.
#pragma once

#include "ui/common/CaptionFit.h"
#include "ui/common/FontFamilies.h"
#include "ui/common/WindowDesign.h"

#include <QFont>
#include <QStringList>

#include <string_view>

class QStyle;

namespace pevrand
{

// The smallest size a caption is shrunk to, in points, however little room it has.
inline constexpr double SmallestCaptionPoints = 6;

// The families to ask for `family` in the order tried: the face itself, then faces with the
// same metrics, then the closest look-alikes. The empty family is the dialog font (Liberation
// Sans, Arimo, Arial, Helvetica, Nimbus Sans). A family without known stand-ins stands alone.
QStringList DesignFamilies(std::string_view family);

// `face` as a font at its designed size: the dialog font when its family is empty.
QFont DesignFont(const FontDesign &face);

// What `style` takes from each kind of control before its caption, for captions in `font`.
CaptionChrome StyleChrome(const QStyle &style, const QFont &font);

// Whether the caption of `room` fits it in `font`: wrapped at word boundaries for a label, on
// one line otherwise; an "&" marks an access key and takes no room.
bool CaptionFits(const CaptionRoom &room, const QFont &font);

// `face` at the largest size, from its designed one down to SmallestCaptionPoints in quarter
// points, at which every fixed caption of `window` drawn in it fits under `style`. With the
// designed face or a metric-compatible stand-in installed that is the designed size.
QFont FittingFont(const WindowDesign &window, const FontDesign &face, const QStyle &style);

} // namespace pevrand
