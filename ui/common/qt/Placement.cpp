#include "Placement.h"

#include <algorithm>

namespace pevrand
{
namespace
{

// The start of `length` centred on `centre`, kept within the span from `first` that is `span`
// long; `first` when it is longer than the span.
int CentredStart(int centre, int first, int span, int length)
{
    return std::clamp(centre - length / 2, first, std::max(first, first + span - length));
}

} // namespace

QPoint FramePositionOver(const QPoint &centre, const QRect &available, const QSize &client,
                         const QMargins &frame)
{
    const QSize whole = client.grownBy(frame);
    return {CentredStart(centre.x(), available.x(), available.width(), whole.width()),
            CentredStart(centre.y(), available.y(), available.height(), whole.height())};
}

QPoint CentredFramePosition(const QRect &available, const QSize &client, const QMargins &frame)
{
    return FramePositionOver(available.center(), available, client, frame);
}

} // namespace pevrand
