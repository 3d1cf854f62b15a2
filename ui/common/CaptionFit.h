// Whether a window's captions fit their boxes, and the largest font size at which they do: the
// rule that keeps every caption whole when the designed faces are missing and a wider face
// stands in. Toolkit-free: a front end supplies what its controls take from their boxes and
// how wide its text is.
#pragma once

#include "ui/common/WindowDesign.h"

#include <functional>
#include <vector>

namespace pevrand
{

// Pixels that a toolkit's controls take from their boxes before their captions, both sides
// together.
struct CaptionChrome {
    int OptionWidth = 0;  // an option's indicator, the gap after it and its margins
    int ButtonWidth = 0;  // a button's frame and margins
    int ButtonHeight = 0; //
    int FrameWidth = 0;   // the inset of a frame's title from the frame's edges
};

// The room a fixed caption has, in pixels.
struct CaptionRoom {
    const ControlDesign *Control;
    int Width;
    int Height;
    bool Wraps; // a label wraps at word boundaries; every other caption keeps to one line
};

// The rooms of the fixed captions of `window` that are drawn in `face`: labels, options,
// buttons and frames with a caption in the table (texts set at run time are not in it), at
// `dpi` dots per inch. A frame's title may use the height above its first option.
std::vector<CaptionRoom> CaptionRooms(const WindowDesign &window, const FontDesign &face,
                                      const CaptionChrome &chrome, int dpi = StandardDpi);

// The largest size from `designed` down to `smallest` points, in steps of `step`, at which
// `fits` holds; `smallest` when it holds at none. `step` must be positive.
double LargestFittingPoints(double designed, double smallest, double step,
                            const std::function<bool(double points)> &fits);

} // namespace pevrand
