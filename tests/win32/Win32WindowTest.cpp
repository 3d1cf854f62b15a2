// The Win32 windows' own layer, run in the program's process under Windows or Wine: text
// conversion, pixel boxes, the controls each window makes from its table, captions that fit at
// every common scale, the keyboard as sent to the controls, and the factors picture's ink.
// Prints PASS or FAIL per row and a closing count; exits non-zero when a row failed.
#include "ui/about/AboutWindowDesign.h"
#include "ui/about/FactorsDesign.h"
#include "ui/about/win32/FactorsPainter.h"
#include "ui/about/win32/frmAbout.h"
#include "ui/main/MainWindowDesign.h"
#include "ui/main/win32/frmPevrand.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace pevrand::win32
{
namespace
{

int failures = 0;

void Row(const std::string &name, bool passed, const std::string &evidence = {})
{
    std::printf("%s %s%s%s\n", passed ? "PASS" : "FAIL", name.c_str(), evidence.empty() ? "" : ": ",
                evidence.c_str());
    failures += passed ? 0 : 1;
}

std::string Box(RECT box)
{
    return std::to_string(box.left) + "," + std::to_string(box.top) + " " +
           std::to_string(box.right - box.left) + "x" + std::to_string(box.bottom - box.top);
}

void TextRows()
{
    struct {
        const char *name, *text, *back;
    } rows[] = {{"plain digits", "25", "25"},
                {"Angstrom sign", "\u00C5", "\u00C5"},
                {"Greek letters", "\u03BB\u03BD", "\u03BB\u03BD"},
                {"empty", "", ""},
                {"broken byte becomes U+FFFD", "2\xFF", "2\uFFFD"}};
    for (const auto &row : rows) {
        const std::string back = Narrow(Widen(row.text));
        Row(std::string("text round trip: ") + row.name, back == row.back, back);
    }
}

void PixelRows()
{
    struct {
        const char *name;
        TwipsRect box;
        int dpi;
        RECT expected;
    } rows[] = {
        {"96 DPI: 15 twips a pixel", {120, 600, 1095, 615}, 96, {8, 40, 81, 81}},
        {"144 DPI: width converted on its own", {1440, 240, 1095, 255}, 144, {144, 24, 254, 50}},
        {"192 DPI", {2400, 7800, 3015, 375}, 192, {320, 1040, 722, 1090}},
    };
    for (const auto &row : rows) {
        const RECT got = PixelRect(row.box, row.dpi);
        Row(std::string("pixel box at ") + row.name, EqualRect(&got, &row.expected) != 0, Box(got));
    }
}

// Every control is a window of its designed class and style, with its id and caption, at
// its designed box at the window's DPI.
void ControlRows(HWND window, const WindowDesign &design, const char *windowName, int dpi)
{
    PlaceControls(window, design, dpi);
    for (const ControlDesign &control : design.Controls) {
        if (control.Kind == ControlKind::Line || control.Kind == ControlKind::Picture)
            continue;
        const std::string name = std::string(windowName) + " " + std::string(control.Name);
        HWND child = Control(window, design, control.Name);
        if (child == nullptr) {
            Row(name + ": a window", false,
                "none with id " + std::to_string(ControlId(design, control.Name)));
            continue;
        }
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        const DWORD type = style & BS_TYPEMASK;
        bool kind = false;
        switch (control.Kind) {
        case ControlKind::Label:
            kind = lstrcmpiW(className, L"Static") == 0;
            break;
        case ControlKind::TextBox:
            kind = lstrcmpiW(className, L"Edit") == 0;
            break;
        case ControlKind::Frame:
            kind = lstrcmpiW(className, L"Button") == 0 && type == BS_GROUPBOX;
            break;
        case ControlKind::Option:
            kind = lstrcmpiW(className, L"Button") == 0 && type == BS_AUTORADIOBUTTON;
            break;
        case ControlKind::Button:
            kind = lstrcmpiW(className, L"Button") == 0 &&
                   (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
            break;
        default:
            break;
        }
        if (dpi == StandardDpi) {
            Row(name + ": class and style", kind, Narrow(className));
            if (!control.Caption.empty())
                Row(name + ": caption", WindowText(child) == control.Caption, WindowText(child));
        }
        RECT box{};
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&box), 2);
        const RECT designed = PixelRect(ClientBox(design, control), dpi);
        Row(name + ": designed box at " + std::to_string(dpi) + " DPI",
            EqualRect(&box, &designed) != 0, Box(box) + " for " + Box(designed));
    }
    PlaceControls(window, design, WindowDpi(window));
}

// The design's faces where the table names one, and the colours the window hands its labels,
// frames and options, while the output box keeps a text box's.
void LookRows(HWND window)
{
    struct {
        const char *control;
        bool italic;
        double points; // 0: the dialog font
        COLORREF text, back;
    } rows[] = {
        {"lblInput", false, 12, RGB(255, 0, 0), RGB(192, 255, 255)},
        {"lblOutput", false, 12, RGB(255, 0, 0), RGB(192, 255, 255)},
        {"lblAuthor", true, 8.25, RGB(0, 0, 0), RGB(192, 255, 255)},
        {"lblInputValue", false, 0, RGB(0, 0, 0), RGB(192, 255, 255)},
        {"fraUnitsIn", false, 0, RGB(0, 0, 0), RGB(192, 255, 255)},
        {"optNuIn", false, 0, RGB(0, 0, 0), RGB(192, 255, 255)},
        {"txtOutputVal", false, 0, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW)},
    };
    const int dpi = WindowDpi(window);
    HDC dc = CreateCompatibleDC(nullptr);
    for (const auto &row : rows) {
        HWND child = Control(window, main_window::Window, row.control);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        const int pixels = std::abs(static_cast<int>(font.lfHeight));
        const int designed = static_cast<int>(row.points * dpi / 72 + 0.5);
        const bool face = row.points == 0
                              ? pixels < MulDiv(12, dpi, 72) && !font.lfItalic
                              : pixels == designed && (font.lfItalic != 0) == row.italic;
        Row(std::string(row.control) + ": font", face,
            Narrow(font.lfFaceName) + " " + std::to_string(pixels) + " px" +
                (font.lfItalic ? " italic" : ""));
        SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(child));
        Row(std::string(row.control) + ": colours",
            GetTextColor(dc) == row.text && GetBkColor(dc) == row.back,
            std::to_string(GetTextColor(dc)) + " on " + std::to_string(GetBkColor(dc)));
    }
    DeleteDC(dc);
}

// With the fonts fitted at each scale, no caption is cut.
void FitRows(HWND window, const WindowDesign &design, const char *windowName)
{
    const int own = WindowDpi(window);
    for (const int dpi : {96, 120, 144, 192}) {
        PlaceControls(window, design, dpi);
        WindowFonts fonts;
        fonts.Apply(window, design, dpi);
        std::string cut;
        for (const ControlDesign &control : design.Controls)
            if (HWND child = Control(window, design, control.Name);
                child && !CaptionFits(child, control, fonts.Font(control.Font), dpi))
                cut += WindowText(child) + "; ";
        Row(std::string(windowName) + ": every caption whole at " + std::to_string(dpi) + " DPI",
            cut.empty(), cut + "dialog font " + std::to_string(fonts.DialogHeight()) + " px");
        for (const ControlDesign &control : design.Controls)
            if (HWND child = Control(window, design, control.Name))
                SendMessageW(child, WM_SETFONT, 0, FALSE); // the fonts go with `fonts`
    }
    PlaceControls(window, design, own);
}

std::string Focused(HWND window, const WindowDesign &design)
{
    const ControlDesign *control = DesignOf(design, GetFocus());
    return control && GetParent(GetFocus()) == window ? std::string(control->Name) : "(none)";
}

bool Checked(HWND window, const char *option)
{
    return SendMessageW(Control(window, main_window::Window, option), BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
}

void Key(HWND control, UINT message, WPARAM key)
{
    SendMessageW(control, message, key, 0);
}

void KeyboardRows(HWND window)
{
    const WindowDesign &design = main_window::Window;
    const auto control = [&](const char *name) { return Control(window, design, name); };
    const auto output = [&] { return WindowText(control("txtOutputVal")); };

    Row("start-up: 25 meV to wavelength", output() == "1.8087", output());
    Row("start-up: focus in the input box", Focused(window, design) == "txtInputVal",
        Focused(window, design));

    // Tab from the input box through every stop and round to the start.
    std::string walk;
    for (int i = 0; i < 9; ++i) {
        Key(GetFocus(), WM_KEYDOWN, VK_TAB);
        walk += Focused(window, design) + " ";
    }
    Row("Tab: one stop per group, on its selected option, wrapping",
        walk == "txtTwotheta txtTotalflightpath optEnergyIn optWavelengthOut cmdConvert cmdQuit "
                "txtOutputVal cmdAbout txtInputVal ",
        walk);

    SetFocus(control("optEnergyIn"));
    Key(control("optEnergyIn"), WM_KEYDOWN, VK_UP);
    Row("Up on the first option wraps to the last and clears the output",
        Checked(window, "optTofIn") && !Checked(window, "optEnergyIn") &&
            Focused(window, design) == "optTofIn" && output().empty(),
        Focused(window, design) + " output '" + output() + "'");
    Key(control("optTofIn"), WM_KEYDOWN, VK_RIGHT);
    Row("Right on the last option wraps to the first",
        Checked(window, "optEnergyIn") && !Checked(window, "optTofIn"), Focused(window, design));
    Row("the output group is left alone", Checked(window, "optWavelengthOut"));

    Key(GetFocus(), WM_SYSKEYDOWN, 'N');
    Row("Alt+N selects and focuses the output energy option",
        Checked(window, "optEnergyOut") && !Checked(window, "optWavelengthOut") &&
            Checked(window, "optEnergyIn") && Focused(window, design) == "optEnergyOut",
        Focused(window, design));
    Key(GetFocus(), WM_SYSKEYDOWN, 'S');
    Row("Alt+S moves to the angle box", Focused(window, design) == "txtTwotheta",
        Focused(window, design));
    Key(GetFocus(), WM_SYSKEYDOWN, 'T');
    Row("Alt+T moves to the flight path box", Focused(window, design) == "txtTotalflightpath",
        Focused(window, design));

    SetFocus(control("cmdConvert"));
    Key(GetFocus(), WM_SYSKEYDOWN, VK_F4);
    Row("Alt+F4 is no access key (its key code is the letter s)",
        Focused(window, design) == "cmdConvert", Focused(window, design));

    SetText(control("txtInputVal"), "4");
    SendMessageW(control("optWavelengthIn"), BM_CLICK, 0, 0);
    SendMessageW(control("optNuOut"), BM_CLICK, 0, 0);
    Key(control("txtTwotheta"), WM_CHAR, '\r');
    Row("Enter in the angle box converts: 4 Angstrom to nu", output() == "1.2361", output());
    SendMessageW(control("optNuOut"), BM_CLICK, 0, 0);
    Row("a click on the selected option clears the output", output().empty(), output());
    Key(control("txtTotalflightpath"), WM_CHAR, '\r');
    SetText(control("txtTotalflightpath"), "12");
    Row("the flight path box leaves a result standing when no side is time-of-flight",
        output() == "1.2361", output());
    SendMessageW(control("optTofOut"), BM_CLICK, 0, 0);
    Key(control("txtInputVal"), WM_CHAR, '\r');
    SetText(control("txtTotalflightpath"), "10");
    Row("the flight path box clears the output when time-of-flight is one side", output().empty(),
        output());
    Key(control("txtOutputVal"), WM_CHAR, '7');
    Row("typing into the output box changes nothing", output().empty(), output());

    // Clicks on a label and a frame move the focus; Escape does nothing in the main window.
    for (const auto &[label, box] :
         {std::pair{"lblTwotheta", "txtTwotheta"}, std::pair{"Label2", "txtTotalflightpath"},
          std::pair{"lblInputValue", "txtInputVal"}}) {
        SetFocus(control("cmdConvert"));
        SendMessageW(control(label), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(control(label), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        Row(std::string("a click on ") + label + " moves to " + box, Focused(window, design) == box,
            Focused(window, design));
    }
    const RECT frame = PixelRect(FindControl(design, "fraUnitsOut")->Box, WindowDpi(window));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(frame.right - 4, frame.bottom - 4));
    Row("a click on the output frame moves to the output energy option",
        Focused(window, design) == "optEnergyOut", Focused(window, design));
    Key(GetFocus(), WM_KEYDOWN, VK_ESCAPE);
    Row("Escape leaves the main window open", IsWindow(window) != 0);
}

// OK is the default and the cancel button: Enter and Escape close the window.
void AboutKeyRows(HINSTANCE instance, HWND main)
{
    for (const auto &[name, message, key] :
         {std::tuple{"Escape", UINT{WM_KEYDOWN}, WPARAM{VK_ESCAPE}},
          std::tuple{"Enter", UINT{WM_CHAR}, WPARAM{13}}}) {
        HWND about = frmAbout::ShowFor(instance, main);
        HWND ok = Control(about, about_window::Window, "cmdOK");
        Row(std::string("About opens with the focus on OK"), GetFocus() == ok);
        Key(GetFocus(), message, key);
        Row(std::string(name) + " closes the About window", IsWindow(about) == 0);
    }
}

// The picture's ink lies inside it, in five bands, at every scale.
void PictureRows()
{
    for (const int dpi : {96, 144, 192}) {
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
        for (int y = 0; y < height; ++y)
            bands += inkRows[static_cast<std::size_t>(y)] &&
                     (y == 0 || !inkRows[static_cast<std::size_t>(y - 1)]);
        SelectObject(dc, before);
        DeleteObject(bitmap);
        DeleteDC(dc);
        // Line 2 rises into more bands: its fraction stands above and below the line.
        Row("factors picture at " + std::to_string(dpi) + " DPI: ink inside, five lines or more",
            !edge && bands >= 5 && bands <= 8,
            std::to_string(bands) + " bands" + (edge ? ", ink at the edge" : ""));
    }
}

} // namespace
} // namespace pevrand::win32

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using namespace pevrand::win32;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    TextRows();
    PixelRows();
    PictureRows();

    HWND main = frmPevrand::Open(instance, SW_SHOWNORMAL);
    SetForegroundWindow(main);
    for (const int dpi : {96, 144})
        ControlRows(main, pevrand::main_window::Window, "main", dpi);
    LookRows(main);
    FitRows(main, pevrand::main_window::Window, "main");
    HWND about = frmAbout::ShowFor(instance, main);
    for (const int dpi : {96, 144})
        ControlRows(about, pevrand::about_window::Window, "About", dpi);
    FitRows(about, pevrand::about_window::Window, "About");
    Row("About opens once", frmAbout::ShowFor(instance, main) == about);
    DestroyWindow(about);
    SetForegroundWindow(main);
    SetFocus(Control(main, pevrand::main_window::Window, "txtInputVal"));
    KeyboardRows(main);
    AboutKeyRows(instance, main);
    DestroyWindow(main);

    std::printf("win32 window tests: %d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
