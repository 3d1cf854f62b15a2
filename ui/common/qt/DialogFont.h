// The font both windows are laid out for.
#pragma once

#include <QFont>

namespace pevrand
{

// Liberation Sans 8 pt, metric-compatible with Arial and close to the classic dialog font the
// windows' geometry was drawn for; with it every caption fits its fixed box.
QFont DialogFont();

} // namespace pevrand
