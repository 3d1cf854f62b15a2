// The About window frmAbout as designed: its controls with their twips boxes, captions, colours
// and tab indexes. The labels' texts come from the program's identity at run time (Form_Load),
// so their captions here are empty. The Qt and the Win32 window are built from this one table.
#pragma once

#include "resources/ProgramIdentity.h"
#include "ui/common/WindowDesign.h"

#include <array>

namespace pevrand::about_window
{

inline constexpr Rgb SeparatorGrey{128, 128, 128};
inline constexpr Rgb SeparatorWhite{255, 255, 255};

using enum ControlKind;

inline constexpr std::array Controls{
    // The program icon, 32 x 32 pixels.
    ControlDesign{"Image2", Picture, "", {240, 240, 480, 480}},
    ControlDesign{
        "lblTitle", Label, "", {960, 240, 3885, 240}, {}, -1, {}, {}, {}, DialogFace, Black},
    ControlDesign{"lblVersion", Label, "", {960, 480, 3885, 225}},
    ControlDesign{
        "lblDescription", Label, "", {960, 720, 3885, 330}, {}, -1, {}, {}, {}, DialogFace, Black},
    // The factors picture, 408 x 133 pixels, black on white.
    ControlDesign{"Image1", Picture, "", {840, 1080, 6120, 1995}},
    // The etched separator: a white line two pixels high, and over its upper row a grey line
    // one pixel high that starts two pixels further left. A line's colour is its text colour.
    ControlDesign{"Line1",
                  Line,
                  "",
                  {120, 3240, 7080 - 120, 0},
                  {},
                  -1,
                  {},
                  {},
                  {},
                  DialogFace,
                  SeparatorWhite},
    ControlDesign{
        "Line1", Line, "", {90, 3240, 7080 - 90, 0}, {}, -1, {}, {}, {}, DialogFace, SeparatorGrey},
    ControlDesign{
        "lblDisclaimer", Label, "", {255, 3465, 3870, 345}, {}, -1, {}, {}, {}, DialogFace, Black},
    ControlDesign{"cmdSysInfo", Button, "&System Info...", {4320, 3480, 1245, 345}, {}, 1},
    // The default button (Enter, unless System Info has the focus) and the cancel button.
    ControlDesign{"cmdOK", Button, "OK", {5760, 3480, 1260, 345}, {}, 0},
};

// The separator's lines: the white one is two pixels high, the grey one one pixel.
inline constexpr int WhiteLinePixels = 2;
inline constexpr int GreyLinePixels = 1;

inline constexpr WindowDesign Window{"About " PEVRAND_TITLE, 200,     7215, 3945,
                                     std::nullopt,           Controls};

} // namespace pevrand::about_window
