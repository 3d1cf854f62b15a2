// Drives the real Pevrand.exe under Wine the way a user or an assistive tool could: it starts
// the program, finds its window by title, and works only through window messages (text set and
// read, button clicks, posted keys) and the message boxes it finds by their title. The Convert
// command's core is linked in as the oracle for every pair of units.
//
//   program_driver PEVRAND_EXE [GoogleTest flags]
//
// Each test suite starts the program once and shares it among its rows; ctest runs one group of
// suites a test (see CMakeLists.txt), since the keys go to whichever window has the focus.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "convert/ConvertCommand.h"
#include "tests/RowName.h"
#include "ui/about/AboutWindowDesign.h"
#include "ui/main/MainWindowDesign.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace
{

using namespace pevrand;
using main_window::Window;
namespace about = about_window;

// The program the tests start, from the command line.
std::string ProgramPath;

std::wstring Widen(std::string_view text)
{
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(std::max(length, 0)));
    return wide;
}

std::string Narrow(std::wstring_view text)
{
    std::string narrow(text.size() * 3 + 1, '\0');
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                            static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(std::max(length, 0)));
    return narrow;
}

void Pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Polls `done` every 20 ms for up to `milliseconds`; true once it holds.
bool WaitFor(const std::function<bool()> &done, int milliseconds = 5000)
{
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (done())
            return true;
        Pause(20);
    }
    return done();
}

// ---- the program's windows, seen from outside -------------------------------------------

std::string Text(HWND window)
{
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &length);
    return Narrow(std::wstring_view(text, length));
}

std::string ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

struct Program {
    PROCESS_INFORMATION Process{};
    HWND Main = nullptr;

    HWND Control(std::string_view name) const
    {
        return GetDlgItem(Main, Window.FirstControlId + ControlIndex(Window, name));
    }
    std::string Output() const { return Text(Control("txtOutputVal")); }
    bool Checked(std::string_view option) const
    {
        return SendMessageW(Control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // The control with the keyboard focus in the program, or null.
    HWND Focus() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(Process.dwThreadId, &info) ? info.hwndFocus : nullptr;
    }
    std::string FocusName() const
    {
        const HWND focus = Focus();
        for (const ControlDesign &control : Window.Controls)
            if (focus != nullptr && Control(control.Name) == focus)
                return std::string(control.Name);
        return focus == nullptr ? "(nothing)" : "(" + ClassOf(focus) + " " + Text(focus) + ")";
    }
    bool Running() const { return WaitForSingleObject(Process.hProcess, 0) == WAIT_TIMEOUT; }
};

// The visible top-level windows of a process with a given title.
struct WindowSearch {
    DWORD Process;
    std::wstring Title;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    auto &search = *reinterpret_cast<WindowSearch *>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    if (owner == search.Process && IsWindowVisible(window) && search.Title == text)
        search.Found.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsOf(DWORD process, const std::wstring &title)
{
    WindowSearch search{process, title, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The first visible top-level window of process `process` with title `title`, or null.
HWND FindWindowOf(DWORD process, const std::wstring &title)
{
    const auto found = WindowsOf(process, title);
    return found.empty() ? nullptr : found.front();
}

int CountWindowsOf(DWORD process, const std::wstring &title)
{
    return static_cast<int>(WindowsOf(process, title).size());
}

std::wstring WindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path; // Wine's drive Z: is the Unix root
    for (char &c : path)
        c = c == '/' ? '\\' : c;
    return Widen(path);
}

// Starts the program and waits for its main window; empty, with `error` said, when it fails.
std::optional<Program> Start(const std::string &exe, std::string &error)
{
    Program program;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + WindowsPath(exe) + L"\"";
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &program.Process)) {
        error = "Pevrand.exe does not start: CreateProcess error " + std::to_string(GetLastError());
        return std::nullopt;
    }
    const std::wstring title = Widen(Window.Caption);
    if (!WaitFor([&] { return (program.Main = FindWindowOf(program.Process.dwProcessId, title)); },
                 20000)) {
        error = "no main window \"" + std::string(Window.Caption) + "\" appears";
        TerminateProcess(program.Process.hProcess, 1);
        return std::nullopt;
    }
    WaitForInputIdle(program.Process.hProcess, 5000);
    return program;
}

void Stop(Program &program)
{
    if (program.Running()) {
        TerminateProcess(program.Process.hProcess, 1);
        WaitForSingleObject(program.Process.hProcess, 5000);
    }
    CloseHandle(program.Process.hThread);
    CloseHandle(program.Process.hProcess);
}

// ---- acting on the window -----------------------------------------------------------------

void SetText(const Program &program, std::string_view box, std::string_view text)
{
    const std::wstring wide = Widen(text);
    SendMessageW(program.Control(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

// The message box the program shows: its text, owner and buttons.
struct MessageSeen {
    std::string Text;
    HWND Owner = nullptr;
    int Buttons = 0;
    bool Icon = false;
};

// The open message box of the program (title "Pevrand"), or null.
HWND MessageBoxOf(const Program &program)
{
    return FindWindowOf(program.Process.dwProcessId, Widen(PEVRAND_TITLE));
}

// Reads the open message box and presses its OK; empty when none came within `milliseconds`.
std::optional<MessageSeen> TakeMessage(const Program &program, int milliseconds)
{
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = MessageBoxOf(program)); }, milliseconds))
        return std::nullopt;
    MessageSeen seen;
    seen.Owner = GetWindow(box, GW_OWNER);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string kind = ClassOf(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (kind == "Button" && IsWindowVisible(child))
            ++seen.Buttons;
        else if (kind == "Static" && (style & SS_TYPEMASK) == SS_ICON)
            seen.Icon = seen.Icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else if (kind == "Static" && !Text(child).empty())
            seen.Text = Text(child);
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); });
    return seen;
}

// Presses a button with BM_CLICK. A message box it opens is read and closed; returns it.
std::optional<MessageSeen> Click(const Program &program, std::string_view button)
{
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutW(program.Control(button), BM_CLICK, 0, 0, SMTO_NORMAL, 500, &ignored))
        return std::nullopt;
    auto seen = TakeMessage(program, 5000);
    // The click's handler goes on after the box has closed.
    SendMessageTimeoutW(program.Main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    return seen;
}

// Posts a key to the focused control, as the keyboard would: key down, key up. Alt keys come
// as system keys with the context bit set.
void PostKey(const Program &program, WORD key, bool alt = false)
{
    const HWND target = program.Focus() ? program.Focus() : program.Main;
    const LPARAM context = alt ? (1 << 29) : 0;
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
    PostMessageW(target, down, key, 1 | context);
    PostMessageW(target, up, key, 1 | context | (1 << 30) | (1u << 31));
}

// Waits until the program has handled everything posted so far and no message box came; the
// message box when one did.
std::optional<MessageSeen> Settle(const Program &program)
{
    auto seen = TakeMessage(program, 400);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(program.Main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    return seen;
}

// The name of the focused control once it is `wanted`, or after 2 s whatever it is then:
// Windows gives the focus back to a window's control a moment after a message box has gone.
std::string FocusOnceSettled(const Program &program, const std::string &wanted)
{
    WaitFor([&] { return program.FocusName() == wanted; }, 2000);
    return program.FocusName();
}

// Clicks the control `name` with the mouse, near its top left corner. A frame lets a click
// through to the window beneath (it answers HTTRANSPARENT), so a click on a frame's lower
// edge, below its options, is the main window's.
void ClickInto(const Program &program, std::string_view name)
{
    HWND target = program.Control(name);
    POINT at{3, 3};
    if (FindControl(Window, name)->Kind == ControlKind::Frame) {
        RECT frame{};
        GetWindowRect(target, &frame);
        MapWindowPoints(nullptr, program.Main, reinterpret_cast<POINT *>(&frame), 2);
        at = {frame.left + 8, frame.bottom - 4};
        target = program.Main;
    }
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Settle(program);
}

// Sets the three entry texts and the two unit choices, as clicks.
void Enter(const Program &program, const ConvertRequest &request)
{
    SetText(program, "txtInputVal", request.InputText);
    SetText(program, "txtTwotheta", request.TwoThetaText);
    SetText(program, "txtTotalflightpath", request.FlightPathText);
    for (const ControlDesign &option : Window.Controls) {
        if (option.Kind != ControlKind::Option)
            continue;
        const auto &wanted = option.Frame == "fraUnitsIn" ? request.Input : request.Output;
        if (wanted == option.Unit)
            Click(program, option.Name);
    }
}

std::string QuantityName(Quantity unit)
{
    for (const ControlDesign &option : Window.Controls)
        if (option.Unit == unit && option.Frame == "fraUnitsIn")
            return std::string(option.Name.substr(3, option.Name.size() - 5));
    return "?";
}

// ---- the checks ---------------------------------------------------------------------------

// One program start for each test suite, shared by its rows in their order.
class Driven : public testing::Test
{
public:
    static void SetUpTestSuite()
    {
        startError.clear();
        program = Start(ProgramPath, startError);
    }
    static void TearDownTestSuite()
    {
        if (program)
            Stop(*program);
        program.reset();
    }

protected:
    void SetUp() override { ASSERT_TRUE(program) << startError; }
    static const Program &P() { return *program; }

    static inline std::optional<Program> program;
    static inline std::string startError;
};

template <class Row> class DrivenRow : public Driven, public testing::WithParamInterface<Row>
{
};

std::string Shown(RECT box)
{
    return std::to_string(box.left) + "," + std::to_string(box.top) + " " +
           std::to_string(box.right - box.left) + "x" + std::to_string(box.bottom - box.top);
}

// Every control at its designed twips converted at `dpi`, in the main window's client area.
void ExpectGeometry(const Program &program, int dpi)
{
    RECT client{};
    GetClientRect(program.Main, &client);
    EXPECT_EQ(client.right, TwipsToPixels(Window.ClientWidth, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(Window.ClientHeight, dpi));
    for (const ControlDesign &control : Window.Controls) {
        if (control.Kind == ControlKind::Line || control.Kind == ControlKind::Picture)
            continue;
        RECT box{};
        GetWindowRect(program.Control(control.Name), &box);
        MapWindowPoints(nullptr, program.Main, reinterpret_cast<POINT *>(&box), 2);
        const TwipsRect twips = ClientBox(Window, control);
        const RECT want{TwipsToPixels(twips.Left, dpi), TwipsToPixels(twips.Top, dpi),
                        TwipsToPixels(twips.Left, dpi) + TwipsToPixels(twips.Width, dpi),
                        TwipsToPixels(twips.Top, dpi) + TwipsToPixels(twips.Height, dpi)};
        EXPECT_EQ(Shown(box), Shown(want)) << control.Name;
    }
}

// The window as it opens, and every control as the table gives it.
using StartUp = Driven;

TEST_F(StartUp, OpensWithTheResultOf25MeVAndTheFocusInTheValueBox)
{
    EXPECT_EQ(Text(P().Main), Window.Caption);
    EXPECT_EQ(P().Output(), "1.8087");
    EXPECT_EQ(Text(P().Control("txtInputVal")), "25");
    EXPECT_EQ(Text(P().Control("txtTwotheta")), "");
    EXPECT_EQ(Text(P().Control("txtTotalflightpath")), "");
    EXPECT_EQ(FocusOnceSettled(P(), "txtInputVal"), "txtInputVal");
    std::string checked;
    for (const ControlDesign &option : Window.Controls)
        if (option.Kind == ControlKind::Option && P().Checked(option.Name))
            checked += std::string(option.Name) + " ";
    EXPECT_EQ(checked, "optEnergyIn optWavelengthOut ");
    EXPECT_NE(GetWindowLongW(P().Control("txtOutputVal"), GWL_STYLE) & ES_READONLY, 0);
}

// Each control a standard window of its kind, showing its designed caption.
TEST_F(StartUp, EveryControlAStandardWindowWithItsCaption)
{
    for (const ControlDesign &control : Window.Controls) {
        if (control.Kind == ControlKind::Line || control.Kind == ControlKind::Picture)
            continue;
        const HWND window = P().Control(control.Name);
        ASSERT_NE(window, nullptr) << control.Name;
        const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
        std::string kind = "Button";
        bool style = true;
        switch (control.Kind) {
        case ControlKind::Label:
            kind = "Static";
            break;
        case ControlKind::TextBox:
            kind = "Edit";
            break;
        case ControlKind::Frame:
            style = type == BS_GROUPBOX;
            break;
        case ControlKind::Option:
            style = type == BS_AUTORADIOBUTTON;
            break;
        default:
            style = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
            break;
        }
        EXPECT_EQ(ClassOf(window), kind) << control.Name;
        EXPECT_TRUE(style) << control.Name << " style " << type;
        if (control.Kind != ControlKind::TextBox) {
            EXPECT_EQ(Text(window), control.Caption) << control.Name;
        }
    }
}

TEST_F(StartUp, ControlsAtTheirTwipsAt96Dpi)
{
    ExpectGeometry(P(), 96);
}

// Run in a prefix whose screen has 144 DPI.
using Dpi144 = Driven;

TEST_F(Dpi144, ControlsAtTheirTwips)
{
    ExpectGeometry(P(), 144);
}

// All 100 pairs of units, each against RunConvert on the same texts.
struct PairRow {
    std::string name;
    Quantity in, out;
};

std::vector<PairRow> AllPairs()
{
    const Quantity units[] = {Quantity::Energy,   Quantity::Wavelength, Quantity::Nu,
                              Quantity::Velocity, Quantity::Momentum,   Quantity::Temperature,
                              Quantity::Invcm,    Quantity::Q,          Quantity::Dspacing,
                              Quantity::Tof};
    std::vector<PairRow> rows;
    for (const Quantity in : units)
        for (const Quantity out : units)
            rows.push_back({QuantityName(in) + "To" + QuantityName(out), in, out});
    return rows;
}

using PairOfUnits = DrivenRow<PairRow>;

TEST_P(PairOfUnits, ShowsWhatRunConvertGives)
{
    const ConvertRequest request{"7.25", "60", "12.5", GetParam().in, GetParam().out};
    const ConvertOutcome expected = RunConvert(request);
    Enter(P(), request);
    const auto message = Click(P(), "cmdConvert");
    EXPECT_EQ(message ? "message \"" + message->Text + "\"" : P().Output(),
              expected.Message
                  ? "message \"" + std::string(MessageOf(*expected.Message).Text) + "\""
                  : expected.OutputText);
}

INSTANTIATE_TEST_SUITE_P(Pairs, PairOfUnits, testing::ValuesIn(AllPairs()), RowName());

// Every message the window can reach, with its box and its focus move; never a result beside it.
struct MessageRow : NamedRow {
    const char *value, *angle, *path;
    Quantity in, out;
    const char *message;
    const char *focus; // empty: where it was (on Convert, which was clicked)
};

using Q = Quantity;

const MessageRow MessageRows[] = {
    {"EmptyValue", "", "", "", Q::Energy, Q::Wavelength, "No input value specified", "txtInputVal"},
    {"ValueZero", "0", "", "", Q::Energy, Q::Wavelength, "Non-positive values not allowed", ""},
    {"ValueOfBlanks", "  ", "", "", Q::Energy, Q::Wavelength, "Non-positive values not allowed",
     ""},
    {"FlightPathNeededEmpty", "5", "", "", Q::Energy, Q::Tof, "Total flight path not specified",
     "txtTotalflightpath"},
    {"FlightPathZero", "5", "", "0", Q::Tof, Q::Energy, "Total flight path must be positive",
     "txtTotalflightpath"},
    {"AngleNeededEmpty", "5", "", "", Q::Energy, Q::Q, "Scattering angle not specified",
     "txtTwotheta"},
    {"Angle181", "5", "181", "", Q::Dspacing, Q::Energy,
     "2 theta must be in the range 0 to 180 degrees", "txtTwotheta"},
    {"AngleZeroForDspacing", "5", "0", "", Q::Energy, Q::Dspacing,
     "2 theta must be greater than 0 for this conversion", "txtTwotheta"},
    {"DecimalComma", "2,5", "", "", Q::Energy, Q::Wavelength, "Use a period as the decimal point",
     "txtInputVal"},
    {"SquareOverflows", "1e20", "", "", Q::Energy, Q::Wavelength,
     "Value out of range for this conversion", "txtInputVal"},
};

using Message = DrivenRow<MessageRow>;

TEST_P(Message, InAnOwnedBoxWithOneOkMovesTheFocusAndEmptiesTheOutput)
{
    const MessageRow &row = GetParam();
    // A result on show first: the message must take it away.
    Enter(P(), {"25", "", "", Q::Energy, Q::Wavelength});
    Click(P(), "cmdConvert");
    const ConvertRequest request{row.value, row.angle, row.path, row.in, row.out};
    Enter(P(), request);
    const auto seen = Click(P(), "cmdConvert");
    const std::string focus = *row.focus ? row.focus : "cmdConvert";
    ASSERT_TRUE(seen) << "no message";
    EXPECT_EQ(seen->Text, row.message);
    EXPECT_EQ(FocusOnceSettled(P(), focus), focus);
    EXPECT_EQ(P().Output(), "");
    EXPECT_EQ(seen->Owner, P().Main);
    EXPECT_EQ(seen->Buttons, 1);
    EXPECT_FALSE(seen->Icon);
}

INSTANTIATE_TEST_SUITE_P(Messages, Message, testing::ValuesIn(MessageRows), RowName());

// Which changes take a shown result away, and which leave it.
struct ClearingRow : NamedRow {
    Quantity in, out;
    std::function<void(const Program &)> act;
    bool clears;
};

std::function<void(const Program &)> TypeInto(const char *box)
{
    return [box](const Program &p) {
        ClickInto(p, box);
        PostMessageW(p.Control(box), WM_CHAR, '1', 1);
    };
}

std::function<void(const Program &)> ClickOn(const char *option)
{
    return [option](const Program &p) { Click(p, option); };
}

const ClearingRow ClearingRows[] = {
    {"TypingInTheValueBox", Q::Energy, Q::Wavelength, TypeInto("txtInputVal"), true},
    {"AnotherInputUnit", Q::Energy, Q::Wavelength, ClickOn("optNuIn"), true},
    {"AnotherOutputUnit", Q::Energy, Q::Wavelength, ClickOn("optNuOut"), true},
    {"TheSelectedInputUnitAgain", Q::Energy, Q::Wavelength, ClickOn("optEnergyIn"), true},
    {"TimeOfFlightIn", Q::Energy, Q::Wavelength, ClickOn("optTofIn"), true},
    {"TimeOfFlightOut", Q::Energy, Q::Wavelength, ClickOn("optTofOut"), true},
    {"AngleTypedAndNeeded", Q::Energy, Q::Q, TypeInto("txtTwotheta"), true},
    {"AngleTypedNotNeededQToDspacing", Q::Q, Q::Dspacing, TypeInto("txtTwotheta"), false},
    {"AngleTypedNotNeededEnergyToWavelength", Q::Energy, Q::Wavelength, TypeInto("txtTwotheta"),
     false},
    {"FlightPathTypedAndNeeded", Q::Energy, Q::Tof, TypeInto("txtTotalflightpath"), true},
    {"FlightPathTypedNotNeededTofBothSides", Q::Tof, Q::Tof, TypeInto("txtTotalflightpath"), false},
    {"FlightPathTypedNotNeededEnergyToWavelength", Q::Energy, Q::Wavelength,
     TypeInto("txtTotalflightpath"), false},
};

using Clearing = DrivenRow<ClearingRow>;

TEST_P(Clearing, ClearsTheOutputOrLeavesIt)
{
    const ClearingRow &row = GetParam();
    Enter(P(), {"3", "90", "10", row.in, row.out});
    Click(P(), "cmdConvert");
    const std::string before = P().Output();
    ASSERT_NE(before, "");
    row.act(P());
    Settle(P());
    EXPECT_EQ(P().Output().empty(), row.clears)
        << "\"" << before << "\" -> \"" << P().Output() << "\"";
}

INSTANTIATE_TEST_SUITE_P(Changes, Clearing, testing::ValuesIn(ClearingRows), RowName());

// ---- the keys and clicks, posted as the keyboard and the mouse would ----------------------

struct BoxRow : NamedRow {
    const char *box;
};

using EnterKey = DrivenRow<BoxRow>;

TEST_P(EnterKey, ConvertsFromTheBox)
{
    Enter(P(), {"25", "", "", Q::Energy, Q::Wavelength});
    Click(P(), "optEnergyIn"); // the output cleared
    ClickInto(P(), GetParam().box);
    PostKey(P(), VK_RETURN);
    EXPECT_FALSE(Settle(P()));
    EXPECT_EQ(P().Output(), "1.8087") << "focus " << P().FocusName();
}

const BoxRow EnterRows[] = {{"InTheValueBox", "txtInputVal"},
                            {"InTheAngleBox", "txtTwotheta"},
                            {"InTheFlightPathBox", "txtTotalflightpath"}};

INSTANTIATE_TEST_SUITE_P(Keys, EnterKey, testing::ValuesIn(EnterRows), RowName());

// An access key, an arrow key or a click on a label or a frame moves the focus; onto an option
// it selects that option, which clears the output, and otherwise the result stays.
struct FocusRow : NamedRow {
    std::function<void(const Program &)> act;
    const char *focus;
    bool selects;
};

std::function<void(const Program &)> AltKey(char key)
{
    return [key](const Program &p) { PostKey(p, static_cast<WORD>(key), true); };
}

// Selects option `from` with the focus on it, converts with Alt+C, and presses `key`.
std::function<void(const Program &)> Arrow(const char *from, WORD key)
{
    return [from, key](const Program &p) {
        Click(p, from);
        PostKey(p, 'C', true);
        Settle(p);
        EXPECT_NE(p.Output(), "") << "Alt+C gave no result to clear";
        PostKey(p, key);
    };
}

std::function<void(const Program &)> ClickOnto(const char *control)
{
    return [control](const Program &p) { ClickInto(p, control); };
}

const FocusRow FocusRows[] = {
    {"AltS", AltKey('S'), "txtTwotheta", false},
    {"AltI", AltKey('I'), "txtInputVal", false},
    {"AltT", AltKey('T'), "txtTotalflightpath", false},
    {"AltE", AltKey('E'), "optEnergyIn", true},
    {"AltN", AltKey('N'), "optEnergyOut", true},
    {"Down", Arrow("optEnergyIn", VK_DOWN), "optWavelengthIn", true},
    {"Up", Arrow("optWavelengthIn", VK_UP), "optEnergyIn", true},
    {"DownFromTheLastWraps", Arrow("optTofIn", VK_DOWN), "optEnergyIn", true},
    {"UpFromTheFirstWraps", Arrow("optEnergyOut", VK_UP), "optTofOut", true},
    {"Right", Arrow("optNuOut", VK_RIGHT), "optVelocityOut", true},
    {"Left", Arrow("optNuOut", VK_LEFT), "optWavelengthOut", true},
    {"ClickOnValueLabel", ClickOnto("lblInputValue"), "txtInputVal", false},
    {"ClickOnAngleLabel", ClickOnto("lblTwotheta"), "txtTwotheta", false},
    {"ClickOnFlightPathLabel", ClickOnto("Label2"), "txtTotalflightpath", false},
    {"ClickOnInputFrame", ClickOnto("fraUnitsIn"), "optEnergyIn", false},
    {"ClickOnOutputFrame", ClickOnto("fraUnitsOut"), "optEnergyOut", false},
};

using FocusMove = DrivenRow<FocusRow>;

TEST_P(FocusMove, MovesTheFocusAndClearsOnlyOnANewSelection)
{
    const FocusRow &row = GetParam();
    Enter(P(), {"25", "90", "10", Q::Nu, Q::Nu});
    Click(P(), "cmdConvert");
    row.act(P());
    Settle(P());
    EXPECT_EQ(FocusOnceSettled(P(), row.focus), row.focus);
    EXPECT_EQ(P().Output(), row.selects ? "" : "25");
    if (row.selects) {
        EXPECT_TRUE(P().Checked(row.focus));
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, FocusMove, testing::ValuesIn(FocusRows), RowName());

using Keys = Driven;

TEST_F(Keys, AltCConverts)
{
    Enter(P(), {"25", "", "", Q::Energy, Q::Wavelength});
    SetText(P(), "txtInputVal", "25");
    PostKey(P(), 'C', true);
    Settle(P());
    EXPECT_EQ(P().Output(), "1.8087");
}

TEST_F(Keys, EscapeAndTypingInTheOutputBoxChangeNothing)
{
    Enter(P(), {"25", "", "", Q::Nu, Q::Nu});
    Click(P(), "cmdConvert");
    ClickInto(P(), "txtOutputVal");
    PostKey(P(), VK_ESCAPE);
    PostMessageW(P().Control("txtOutputVal"), WM_CHAR, '9', 1);
    Settle(P());
    EXPECT_EQ(P().Output(), "25");
    EXPECT_TRUE(IsWindowVisible(P().Main));
    EXPECT_FALSE(MessageBoxOf(P()));
}

// From the value box: one stop per option group, on its selected option, wrapping.
TEST_F(Keys, TabOrder)
{
    Enter(P(), {"25", "", "", Q::Nu, Q::Q});
    ClickInto(P(), "txtInputVal");
    std::string visited = P().FocusName();
    for (int i = 0; i < 9; ++i) {
        PostKey(P(), VK_TAB);
        Settle(P());
        visited += ' ';
        visited += P().FocusName();
    }
    EXPECT_EQ(visited, "txtInputVal txtTwotheta txtTotalflightpath optNuIn optQOut cmdConvert "
                       "cmdQuit txtOutputVal cmdAbout txtInputVal");
}

// ---- the About window and the program's end ------------------------------------------------

using About = Driven;

TEST_F(About, OpensOnceUnownedBesideAUsableMainWindowAndOkClosesIt)
{
    const std::wstring title = Widen(about::Window.Caption);
    const DWORD id = P().Process.dwProcessId;
    Click(P(), "cmdAbout");
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = FindWindowOf(id, title)); }));
    Click(P(), "cmdAbout");
    PostKey(P(), 'A', true);
    Settle(P());
    EXPECT_EQ(CountWindowsOf(id, title), 1) << "About pressed three times";
    EXPECT_EQ(GetWindow(about, GW_OWNER), nullptr);
    Enter(P(), {"4", "", "", Q::Wavelength, Q::Nu});
    Click(P(), "cmdConvert");
    EXPECT_EQ(P().Output(), "1.2361");
    const HWND ok =
        GetDlgItem(about, about::Window.FirstControlId + ControlIndex(about::Window, "cmdOK"));
    SendMessageTimeoutW(ok, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, nullptr);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
    EXPECT_TRUE(P().Running());
    EXPECT_TRUE(IsWindow(P().Main));
}

// The program ends only when its last window has closed.
using Lifetime = Driven;

TEST_F(Lifetime, QuitWithAboutOpenEndsTheProgramOnlyWhenAboutCloses)
{
    Click(P(), "cmdAbout");
    HWND about = nullptr;
    // The first window the program opens after its start: allow for a busy machine.
    WaitFor(
        [&] {
            return (about = FindWindowOf(P().Process.dwProcessId, Widen(about::Window.Caption)));
        },
        15000);
    ASSERT_NE(about, nullptr);
    PostMessageW(P().Control("cmdQuit"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(P().Main); }));
    Pause(500);
    EXPECT_TRUE(P().Running());
    EXPECT_TRUE(IsWindow(about));
    PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForSingleObject(P().Process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(P().Process.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

// The close box and Alt+Q: each alone ends the program, with status 0.
struct EndRow : NamedRow {
    std::function<void(const Program &)> act;
};

const EndRow EndRows[] = {
    {"CloseBox", [](const Program &p) { PostMessageW(p.Main, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"AltQ", AltKey('Q')}};

using Ending = testing::TestWithParam<EndRow>;

TEST_P(Ending, AloneEndsTheProgram)
{
    std::string error;
    auto again = Start(ProgramPath, error);
    ASSERT_TRUE(again) << error;
    GetParam().act(*again);
    EXPECT_EQ(WaitForSingleObject(again->Process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(again->Process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    Stop(*again);
}

INSTANTIATE_TEST_SUITE_P(Lifetime, Ending, testing::ValuesIn(EndRows), RowName());

} // namespace

int main(int argc, char **argv)
{
    SetProcessDPIAware(); // real pixels, as the program itself is per-monitor aware
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: program_driver PEVRAND_EXE [GoogleTest flags]\n");
        return 2;
    }
    ProgramPath = argv[1];
    // Its programs print the common controls' errors, such as a subclassed control's procedure
    // going on after its window was destroyed under it: ctest fails a check on them.
    SetEnvironmentVariableW(L"WINEDEBUG", L"-all,err+commctrl");
    return RUN_ALL_TESTS();
}
