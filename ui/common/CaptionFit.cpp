#include "CaptionFit.h"

#include <algorithm>
#include <climits>

namespace pevrand
{
namespace
{

// The height a frame's title may take: down to its highest option.
int FrameTitleHeight(const WindowDesign &window, const ControlDesign &frame, int dpi)
{
    int top = frame.Box.Height;
    for (const ControlDesign *option : FrameOptions(window, frame.Name))
        top = std::min(top, option->Box.Top);
    return TwipsToPixels(top, dpi);
}

} // namespace

std::vector<CaptionRoom> CaptionRooms(const WindowDesign &window, const FontDesign &face,
                                      const CaptionChrome &chrome, int dpi)
{
    std::vector<CaptionRoom> rooms;
    for (const ControlDesign &control : window.Controls) {
        if (control.Caption.empty() || !(control.Font == face))
            continue;
        const int width = TwipsToPixels(control.Box.Width, dpi);
        const int height = TwipsToPixels(control.Box.Height, dpi);
        switch (control.Kind) {
        case ControlKind::Label:
            rooms.push_back({&control, width, height, true});
            break;
        case ControlKind::Option:
            rooms.push_back({&control, width - chrome.OptionWidth, height, false});
            break;
        case ControlKind::Button:
            rooms.push_back(
                {&control, width - chrome.ButtonWidth, height - chrome.ButtonHeight, false});
            break;
        case ControlKind::Frame:
            rooms.push_back({&control, width - chrome.FrameWidth,
                             FrameTitleHeight(window, control, dpi), false});
            break;
        case ControlKind::TextBox:
        case ControlKind::Line:
        case ControlKind::Picture:
            break;
        }
    }
    return rooms;
}

double LargestFittingPoints(double designed, double smallest, double step,
                            const std::function<bool(double points)> &fits)
{
    // Counted in whole steps, so that no sum of rounded steps drifts past `smallest`.
    const int steps = designed > smallest ? static_cast<int>((designed - smallest) / step) : 0;
    for (int i = 0; i <= steps; ++i) {
        const double points = designed - i * step;
        if (fits(points))
            return points;
    }
    return smallest;
}

} // namespace pevrand
