// The font both windows are laid out for.
#pragma once

#include <QFont>

namespace pevrand
{

// 8 pt Liberation Sans, or the first of its metric-compatible stand-ins installed (Arimo,
// Arial, Helvetica): close to the classic dialog font the windows' geometry was drawn for. A
// window whose captions must fit with any face takes FittingFont (Fonts.h) instead.
QFont DialogFont();

} // namespace pevrand
