// How a window is described once for every toolkit: its controls with their names, kinds,
// captions, twips boxes, tooltips, fonts, colours, unit options and tab indexes. The Qt window
// and the Win32 window both build themselves from such a table.
#pragma once

#include "engine/Conversion.h"
#include "ui/common/Twips.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pevrand
{

enum class ControlKind { Label, TextBox, Frame, Option, Button, Line, Picture };

struct Rgb {
    std::uint8_t Red, Green, Blue;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb PaleCyan{192, 255, 255};
inline constexpr Rgb DesignRed{255, 0, 0};
inline constexpr Rgb Black{0, 0, 0};

// A font of the design; an empty family is the window's dialog font.
struct FontDesign {
    std::string_view Family;
    double Points = 0;
    bool Italic = false;
};

inline constexpr FontDesign DialogFace{};

struct ControlDesign {
    std::string_view Name;
    ControlKind Kind;
    std::string_view Caption; // "&" marks the access key; empty when set at run time or none
    TwipsRect Box;            // from the client area's top left, or the frame's for an option
    std::string_view ToolTip = {};
    int TabIndex = -1;                 // -1: never takes the focus
    std::string_view Frame = {};       // the frame that holds an option
    std::optional<Quantity> Unit = {}; // the quantity an option stands for
    std::string_view Buddy = {};       // a label's access key and click lead there
    FontDesign Font = DialogFace;
    std::optional<Rgb> TextColour = {}; // empty: the text colour the window gives
};

struct WindowDesign {
    std::string_view Caption;
    int FirstControlId;            // a front end that numbers its controls gives the control at
                                   // index i of the table the number FirstControlId + i
    int ClientWidth, ClientHeight; // twips
    std::optional<Rgb> Background; // empty: the system's dialog colour
    std::span<const ControlDesign> Controls;
};

// The control named `name`, or null.
constexpr const ControlDesign *FindControl(const WindowDesign &window, std::string_view name)
{
    for (const ControlDesign &control : window.Controls)
        if (control.Name == name)
            return &control;
    return nullptr;
}

// The index of the control named `name` in the window's table, or -1 when there is none.
constexpr int ControlIndex(const WindowDesign &window, std::string_view name)
{
    for (std::size_t i = 0; i < window.Controls.size(); ++i)
        if (window.Controls[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

// The access key of a caption, upper case: the letter after its "&", or 0 when it has none.
constexpr char AccessKey(std::string_view caption)
{
    const std::size_t at = caption.find('&');
    if (at == std::string_view::npos || at + 1 >= caption.size())
        return 0;
    const char key = caption[at + 1];
    return key >= 'a' && key <= 'z' ? static_cast<char>(key - 'a' + 'A') : key;
}

// The box of `control` from the top left of the window's client area: an option's box lies
// inside its frame, so the frame's Left and Top are added to it.
constexpr TwipsRect ClientBox(const WindowDesign &window, const ControlDesign &control)
{
    TwipsRect box = control.Box;
    if (const ControlDesign *frame =
            control.Frame.empty() ? nullptr : FindControl(window, control.Frame)) {
        box.Left += frame->Box.Left;
        box.Top += frame->Box.Top;
    }
    return box;
}

// The control whose caption has access key `key` (either case), or null.
constexpr const ControlDesign *AccessKeyControl(const WindowDesign &window, char key)
{
    if (key >= 'a' && key <= 'z')
        key = static_cast<char>(key - 'a' + 'A');
    if (key == 0)
        return nullptr;
    for (const ControlDesign &control : window.Controls)
        if (AccessKey(control.Caption) == key)
            return &control;
    return nullptr;
}

// The index `step` places on from `index` among `count` options, wrapping at both ends, as the
// arrow keys move in an option group. `count` must be positive.
constexpr int StepOption(int index, int count, int step)
{
    return ((index + step) % count + count) % count;
}

// A caption as shown: without the "&" that marks its access key.
std::string ShownCaption(std::string_view caption);

// The Tab order as the user meets it: every control that takes the focus, by tab index, where
// the options of one frame make a single stop at the place of the lowest index among them. A
// frame's stop is named by the frame.
std::vector<std::string_view> TabStops(const WindowDesign &window);

// The Tab stop after `stop` (Shift+Tab: before it) in TabStops' order, wrapping at both ends.
// `stop` is a stop's name, or an option's name standing for its frame's stop; a control that is
// no stop (or an empty name) leads to the first stop, or the last one going back.
std::string_view NextTabStop(const WindowDesign &window, std::string_view stop, bool backward);

// The options of `frame`, in the table's order, which is the order the arrow keys follow.
std::vector<const ControlDesign *> FrameOptions(const WindowDesign &window, std::string_view frame);

} // namespace pevrand
