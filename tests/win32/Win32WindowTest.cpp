// The Win32 windows' own layer, run in the program's process under Windows or Wine: what the
// driver of Pevrand.exe cannot see from outside. Text conversion with a broken byte, the fonts
// and colours the main window hands its controls, captions whole at every common scale, the
// factors picture's ink, the keys that close a window, when they do, and Alt+F4 taken for no
// access key.
#include "tests/RowName.h"
#include "ui/about/AboutWindowDesign.h"
#include "ui/about/FactorsDesign.h"
#include "ui/about/win32/FactorsPainter.h"
#include "ui/about/win32/frmAbout.h"
#include "ui/common/win32/Controls.h"
#include "ui/common/win32/Fonts.h"
#include "ui/common/win32/Placement.h"
#include "ui/common/win32/Text.h"
#include "ui/main/MainWindowDesign.h"
#include "ui/main/win32/frmPevrand.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace pevrand::win32
{
namespace
{

struct TextRow : NamedRow {
    const char *text, *back;
};

class TextConversion : public testing::TestWithParam<TextRow>
{
};

TEST_P(TextConversion, RoundTripsThroughWideText)
{
    EXPECT_EQ(Narrow(Widen(GetParam().text)), GetParam().back);
}

const TextRow TextConversionRows[] = {{"AngstromAndGreek", "\u00C5\u03BB", "\u00C5\u03BB"},
                                      {"Empty", "", ""},
                                      {"BrokenByteBecomesReplacement", "2\xFF", "2\uFFFD"}};

INSTANTIATE_TEST_SUITE_P(Win32, TextConversion, testing::ValuesIn(TextConversionRows), RowName());

// The picture's ink lies inside it, in five bands or more (line 2's fraction stands above and
// below its line), at every scale.
struct PictureRow : NamedRow {
    int dpi;
};

class FactorsPicture : public testing::TestWithParam<PictureRow>
{
};

TEST_P(FactorsPicture, InkInsideInFiveToEightBands)
{
    const int dpi = GetParam().dpi;
    const int width = MulDiv(factors::Width, dpi, StandardDpi);
    const int height = MulDiv(factors::Height, dpi, StandardDpi);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ before = SelectObject(dc, bitmap);
    PaintFactors(dc, {0, 0, width, height}, dpi);
    std::vector<bool> inkRows(static_cast<std::size_t>(height));
    bool edge = false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                inkRows[static_cast<std::size_t>(y)] = true;
                edge = edge || x == 0 || y == 0 || x == width - 1 || y == height - 1;
            }
    int bands = 0;
    for (std::size_t y = 0; y < inkRows.size(); ++y)
        bands += inkRows[y] && (y == 0 || !inkRows[y - 1]);
    SelectObject(dc, before);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_FALSE(edge);
    EXPECT_GE(bands, 5);
    EXPECT_LE(bands, 8);
}

const PictureRow FactorsPictureRows[] = {{"At96Dpi", 96}, {"At144Dpi", 144}, {"At192Dpi", 192}};

INSTANTIATE_TEST_SUITE_P(Win32, FactorsPicture, testing::ValuesIn(FactorsPictureRows), RowName());

// Each suite gets a main window of its own, open in front, and closes it (and an About window
// it opened) when done.
class WithMainWindow : public testing::Test
{
public:
    static void SetUpTestSuite()
    {
        main = frmPevrand::Open(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        SetForegroundWindow(main);
    }
    static void TearDownTestSuite()
    {
        if (IsWindow(about))
            DestroyWindow(about);
        DestroyWindow(main);
        // The last window's WM_QUIT, which no message loop here takes.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

protected:
    static HWND OpenAbout()
    {
        about = frmAbout::ShowFor(GetModuleHandleW(nullptr), main);
        return about;
    }
    // The focused control of `window`, by name.
    static std::string Focused(HWND window, const WindowDesign &design)
    {
        const ControlDesign *control = DesignOf(design, GetFocus());
        return control && GetParent(GetFocus()) == window ? std::string(control->Name) : "(none)";
    }

    static inline HWND main = nullptr;
    static inline HWND about = nullptr;
};

// The design's faces where the table names one, and the colours the window hands its labels,
// frames and options, while the output box keeps a text box's.
struct LookRow : NamedRow {
    const char *control;
    bool italic;
    double points; // 0: the dialog font
    COLORREF text, back;
};

class MainWindowLook : public WithMainWindow, public testing::WithParamInterface<LookRow>
{
};

TEST_P(MainWindowLook, HandsItsControlTheDesignedFontAndColours)
{
    const LookRow &row = GetParam();
    const int dpi = WindowDpi(main);
    HWND child = Control(main, main_window::Window, row.control);
    ASSERT_NE(child, nullptr);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof font, &font);
    const int pixels = std::abs(static_cast<int>(font.lfHeight));
    if (row.points == 0) {
        EXPECT_LT(pixels, MulDiv(12, dpi, 72)) << Narrow(font.lfFaceName);
        EXPECT_FALSE(font.lfItalic);
    } else {
        EXPECT_EQ(pixels, static_cast<int>(row.points * dpi / 72 + 0.5)) << Narrow(font.lfFaceName);
        EXPECT_EQ(font.lfItalic != 0, row.italic);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(main, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(GetTextColor(dc), row.text);
    EXPECT_EQ(GetBkColor(dc), row.back);
    DeleteDC(dc);
}

constexpr COLORREF Black = RGB(0, 0, 0), Red = RGB(255, 0, 0), PaleCyan = RGB(192, 255, 255);

const LookRow MainWindowLookRows[] = {
    {"CaptionFaceLabel", "lblInput", false, 12, Red, PaleCyan},
    {"ItalicSmallLabel", "lblAuthor", true, 8.25, Black, PaleCyan},
    {"DialogFontLabel", "lblInputValue", false, 0, Black, PaleCyan},
    {"Frame", "fraUnitsIn", false, 0, Black, PaleCyan},
    {"Option", "optNuIn", false, 0, Black, PaleCyan},
    LookRow{{"OutputBoxKeepsATextBoxsColours"},
            "txtOutputVal",
            false,
            0,
            GetSysColor(COLOR_WINDOWTEXT),
            GetSysColor(COLOR_WINDOW)}};

INSTANTIATE_TEST_SUITE_P(Win32, MainWindowLook, testing::ValuesIn(MainWindowLookRows), RowName());

// With the fonts fitted at each scale, no caption is cut.
struct FitRow : NamedRow {
    bool about;
    int dpi;
};

class CaptionsFit : public WithMainWindow, public testing::WithParamInterface<FitRow>
{
};

TEST_P(CaptionsFit, EveryCaptionWhole)
{
    const FitRow &row = GetParam();
    HWND window = row.about ? (IsWindow(about) ? about : OpenAbout()) : main;
    const WindowDesign &design = row.about ? about_window::Window : main_window::Window;
    const int own = WindowDpi(window);
    PlaceControls(window, design, row.dpi);
    WindowFonts fonts;
    fonts.Apply(window, design, row.dpi);
    for (const ControlDesign &control : design.Controls)
        if (HWND child = Control(window, design, control.Name)) {
            EXPECT_TRUE(CaptionFits(child, control, fonts.Font(control.Font), row.dpi))
                << WindowText(child) << " in a dialog font of " << fonts.DialogHeight() << " px";
            SendMessageW(child, WM_SETFONT, 0, FALSE); // the fonts go with `fonts`
        }
    PlaceControls(window, design, own);
}

const FitRow CaptionsFitRows[] = {{"MainAt96Dpi", false, 96},   {"MainAt120Dpi", false, 120},
                                  {"MainAt144Dpi", false, 144}, {"MainAt192Dpi", false, 192},
                                  {"AboutAt96Dpi", true, 96},   {"AboutAt120Dpi", true, 120},
                                  {"AboutAt144Dpi", true, 144}, {"AboutAt192Dpi", true, 192}};

INSTANTIATE_TEST_SUITE_P(Win32, CaptionsFit, testing::ValuesIn(CaptionsFitRows), RowName());

using MainWindowKeys = WithMainWindow;

// F4's key code is the letter s, the angle box's access key.
TEST_F(MainWindowKeys, AltF4IsNoAccessKey)
{
    SetFocus(Control(main, main_window::Window, "cmdConvert"));
    SendMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F4, 0);
    EXPECT_EQ(Focused(main, main_window::Window), "cmdConvert");
}

// Enter and Escape on the About window's OK, and Enter on Quit and Alt+Q, close the window only
// once the key's handling is over: not under the control's own key handler, which runs on.
struct ClosingKeyRow : NamedRow {
    bool about;
    const char *focus;
    UINT message;
    WPARAM key;
};

class ClosingKeys : public WithMainWindow, public testing::WithParamInterface<ClosingKeyRow>
{
};

TEST_P(ClosingKeys, CloseTheWindowOnceTheKeyIsHandled)
{
    const ClosingKeyRow &row = GetParam();
    const WindowDesign &design = row.about ? about_window::Window : main_window::Window;
    HWND window = row.about ? OpenAbout() : frmPevrand::Open(GetModuleHandleW(nullptr), SW_SHOW);
    if (!row.about)
        SetFocus(Control(window, design, row.focus));
    EXPECT_EQ(Focused(window, design), row.focus);
    SendMessageW(GetFocus(), row.message, row.key, 0);
    EXPECT_TRUE(IsWindow(window)) << "destroyed under the key's handler";
    for (MSG message; IsWindow(window) && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&message);
    EXPECT_FALSE(IsWindow(window));
}

const ClosingKeyRow ClosingKeysRows[] = {{"EscapeInAbout", true, "cmdOK", WM_KEYDOWN, VK_ESCAPE},
                                         {"EnterOnOk", true, "cmdOK", WM_CHAR, 13},
                                         {"EnterOnQuit", false, "cmdQuit", WM_CHAR, 13},
                                         {"AltQ", false, "txtInputVal", WM_SYSKEYDOWN, 'Q'}};

INSTANTIATE_TEST_SUITE_P(Win32, ClosingKeys, testing::ValuesIn(ClosingKeysRows), RowName());

} // namespace
} // namespace pevrand::win32

int wmain(int argc, wchar_t **argv)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
