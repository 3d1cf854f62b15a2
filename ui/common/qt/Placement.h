// Where a window opens.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace pevrand
{

// The top left corner of the frame of a window whose client area is `client` and whose frame
// adds `frame` around it (title bar included): the frame centred on `centre`, then moved, where
// it sticks out, wholly inside `available`. A frame larger than `available` keeps its top left
// corner, and so its title bar and system menu, on it.
QPoint FramePositionOver(const QPoint &centre, const QRect &available, const QSize &client,
                         const QMargins &frame);

// The same, centred in `available`.
QPoint CentredFramePosition(const QRect &available, const QSize &client, const QMargins &frame);

} // namespace pevrand
