// The main window frmPevrand as designed: every control, in creation order (a control drawn
// over another comes after it), with its twips box, caption, tooltip, font, colour and tab
// index; the options with their frame and quantity. The Qt and the Win32 window are built
// from this one table.
#pragma once

#include "resources/ProgramIdentity.h"
#include "ui/common/WindowDesign.h"

#include <array>

namespace pevrand::main_window
{

inline constexpr FontDesign CaptionFace{"Comic Sans MS", 12, false};
inline constexpr FontDesign AuthorFace{"Times New Roman", 8.25, true};

// One pixel at 96 DPI, in twips: the two labels widened beyond their drawn boxes.
inline constexpr int OnePixel = TwipsPerInch / StandardDpi;

// An option: Left 120 and Height 255 twips inside its frame.
constexpr ControlDesign UnitOption(std::string_view name, std::string_view caption, int top,
                                   int width, int tabIndex, std::string_view frame, Quantity unit)
{
    return {name, ControlKind::Option, caption, {120, top, width, 255}, {}, tabIndex, frame, unit};
}

using enum ControlKind;
using Q = Quantity;

inline constexpr std::array Controls{
    // Input side, upper half.
    ControlDesign{"lblInput",
                  Label,
                  "INPUT",
                  {120, 120, 1095, 375},
                  {},
                  -1,
                  {},
                  {},
                  {},
                  CaptionFace,
                  DesignRed},
    ControlDesign{"lblInputValue",
                  Label,
                  "&Input value:",
                  {1440, 240, 1095, 255},
                  {},
                  -1,
                  {},
                  {},
                  "txtInputVal"},
    // Created after its label, so that it lies over the label's right end.
    ControlDesign{
        "txtInputVal", TextBox, "", {2400, 120, 3015, 375}, "enter value to be converted", 1},
    ControlDesign{
        "fraUnitsIn", Frame, "Input Units", {1320, 600, 4095, 3435}, "units for the input value"},
    UnitOption("optEnergyIn", "&Energy (meV)", 300, 3135, 6, "fraUnitsIn", Q::Energy),
    UnitOption("optWavelengthIn", "Wavelength (Angstroms)", 600, 3255, 5, "fraUnitsIn",
               Q::Wavelength),
    UnitOption("optNuIn", "nu (THz)", 900, 3735, 7, "fraUnitsIn", Q::Nu),
    UnitOption("optVelocityIn", "Velocity (m/s)", 1200, 3735, 8, "fraUnitsIn", Q::Velocity),
    UnitOption("optMomentumIn", "Momentum k (inverse Angstroms)", 1500, 3735, 9, "fraUnitsIn",
               Q::Momentum),
    UnitOption("optTemperatureIn", "Temperature (K)", 1800, 3600, 10, "fraUnitsIn", Q::Temperature),
    UnitOption("optInvcmIn", "Energy (inverse cm)", 2100, 3855, 11, "fraUnitsIn", Q::Invcm),
    UnitOption("optQIn", "Momentum transfer Q (inverse Angstroms)", 2400, 3600, 12, "fraUnitsIn",
               Q::Q),
    UnitOption("optDspacingIn", "d-Spacing (Angstroms)", 2700, 3600, 13, "fraUnitsIn", Q::Dspacing),
    UnitOption("optTofIn", "Time-of-flight (micro seconds)", 3000, 3600, 34, "fraUnitsIn", Q::Tof),

    // Geometry fields, left column of the upper half.
    ControlDesign{"lblTwotheta",
                  Label,
                  "&Scattering Angle 2 theta (degrees):",
                  {120, 600, 1095, 615},
                  {},
                  -1,
                  {},
                  {},
                  "txtTwotheta"},
    ControlDesign{"txtTwotheta", TextBox, "", {120, 1200, 1095, 375}, "enter scattering angle", 3},
    // One pixel taller than drawn (375 twips), so that the descenders of its second line show.
    ControlDesign{"Label2",
                  Label,
                  "&Total Flight Path (metres)",
                  {120, 1880, 1095, 375 + OnePixel},
                  {},
                  -1,
                  {},
                  {},
                  "txtTotalflightpath"},
    ControlDesign{
        "txtTotalflightpath", TextBox, "", {120, 2360, 1095, 375}, "enter total flight path", 4},

    // The divider runs from (0, 4140) to (5685, 4140), past the window's right edge.
    ControlDesign{"Line1", Line, "", {0, 4140, 5685, 0}},

    // Output side, lower half.
    ControlDesign{"lblOutput",
                  Label,
                  "OUTPUT",
                  {120, 4260, 1095, 375},
                  {},
                  -1,
                  {},
                  {},
                  {},
                  CaptionFace,
                  DesignRed},
    ControlDesign{"fraUnitsOut",
                  Frame,
                  "Output Units",
                  {1320, 4260, 4095, 3435},
                  "units for the output value"},
    UnitOption("optEnergyOut", "E&nergy (meV)", 300, 3615, 14, "fraUnitsOut", Q::Energy),
    UnitOption("optWavelengthOut", "Wavelength (Angstroms)", 600, 3600, 15, "fraUnitsOut",
               Q::Wavelength),
    UnitOption("optNuOut", "nu (THz)", 900, 3600, 16, "fraUnitsOut", Q::Nu),
    UnitOption("optVelocityOut", "Velocity (m/s)", 1200, 3600, 17, "fraUnitsOut", Q::Velocity),
    UnitOption("optMomentumOut", "Momentum k (inverse Angstroms)", 1500, 3600, 18, "fraUnitsOut",
               Q::Momentum),
    UnitOption("optTemperatureOut", "Temperature (K)", 1800, 3600, 19, "fraUnitsOut",
               Q::Temperature),
    UnitOption("optInvcmOut", "Energy (inverse cm)", 2100, 3600, 20, "fraUnitsOut", Q::Invcm),
    UnitOption("optQOut", "Momentum transfer Q (inverse Angstroms)", 2400, 3600, 21, "fraUnitsOut",
               Q::Q),
    UnitOption("optDspacingOut", "d-Spacing (Angstroms)", 2700, 3600, 22, "fraUnitsOut",
               Q::Dspacing),
    UnitOption("optTofOut", "Time-of-flight (micro-seconds)", 3000, 3600, 35, "fraUnitsOut",
               Q::Tof),
    // Two pixels wider than drawn (975 twips), so that the caption stays on its one line. No
    // access key, but the label still names the box for a screen reader.
    ControlDesign{"Label1",
                  Label,
                  "Output Value:",
                  {1320, 7920, 975 + 2 * OnePixel, 255},
                  {},
                  -1,
                  {},
                  {},
                  "txtOutputVal"},
    ControlDesign{"txtOutputVal", TextBox, "", {2400, 7800, 3015, 375}, "converted value", 27},

    // Buttons, left column of the lower half.
    ControlDesign{
        "cmdConvert", Button, "&Convert", {120, 6600, 975, 375}, "convert input to output", 23},
    ControlDesign{"cmdAbout",
                  Button,
                  "&About",
                  {120, 7200, 975, 375},
                  "Find out about the Pevrand program",
                  32},
    ControlDesign{"cmdQuit", Button, "&Quit", {120, 7800, 975, 375}, "exit the program", 26},

    // The author line, at the bottom.
    ControlDesign{"lblAuthor",
                  Label,
                  "Author: " PEVRAND_AUTHOR_NAME " " PEVRAND_AUTHOR_EMAIL "    Date: July 2001",
                  {120, 8280, 5295, 255},
                  "the author of the program",
                  -1,
                  {},
                  {},
                  {},
                  AuthorFace},
};

// As many characters (UTF-16 units) as an entry box takes: as a Qt QLineEdit and a Win32 edit
// control take by default. The page's boxes take as many, and a link's texts are cut there.
inline constexpr std::size_t BoxCharacters = 32767;

inline constexpr WindowDesign Window{
    PEVRAND_TITLE " : Neutron Units Converter", 100, 5565, 8610, PaleCyan, Controls};

} // namespace pevrand::main_window
