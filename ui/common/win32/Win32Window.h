// What the two Win32 windows share: the window classes' names, text conversion, building the
// controls of a window from its design table, the fitted dialog font, colours, placement on
// the screen, keyboard navigation and the program's message box.
//
// Every control is a child window of the top-level window (an option too, not of its frame),
// and its control id is the window's FirstControlId plus its index in the design table. Lines
// and pictures are painted by the window itself and have no window.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "ui/common/WindowDesign.h"

#include <span>
#include <string>
#include <string_view>

namespace pevrand::win32
{

inline constexpr wchar_t MainWindowClass[] = L"PevrandMain";
inline constexpr wchar_t AboutWindowClass[] = L"PevrandAbout";

// UTF-8 to UTF-16 and back; invalid sequences become U+FFFD.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// The text of `window` (a control's caption or contents) in UTF-8.
std::string WindowText(HWND window);
void SetText(HWND window, std::string_view text);

// The id of the control `name` of `design`, or -1 when the table has none.
int ControlId(const WindowDesign &design, std::string_view name);

// The child window of `window` that is control `name`, or null.
HWND Control(HWND window, const WindowDesign &design, std::string_view name);

// The design of the control whose window is `control`, or null when it is none of `design`.
const ControlDesign *DesignOf(const WindowDesign &design, HWND control);

// The resolution `window` is shown at, in dots per inch.
int WindowDpi(HWND window);

// `box` in pixels at `dpi`: its left, top, width and height each converted from twips.
RECT PixelRect(TwipsRect box, int dpi);

// Creates a window for every control of `design` that has one, with its caption, style and
// id, in the table's order, each over the ones before it; places them at `dpi`.
void CreateControls(HWND window, const WindowDesign &design, int dpi);

// Moves and sizes every control of `design` to its twips box at `dpi`.
void PlaceControls(HWND window, const WindowDesign &design, int dpi);

// Sizes `window` so that its client area is the design's at `dpi`, and centres it in the work
// area of its monitor, the whole frame inside it. With `over`, centres it over that window
// instead, still inside the work area.
void PlaceWindow(HWND window, const WindowDesign &design, int dpi, HWND over = nullptr);

// The first of `families` that the system has (empty places skipped), or the first one when it
// has none of them.
std::wstring AvailableFace(std::span<const std::string_view> families);

// The fonts of one window at one resolution: the dialog font, at the largest size up to the
// system's where every caption fits its box whole, and the design's own faces (or close
// stand-ins where they are missing). Deletes them when it goes.
class WindowFonts
{
public:
    WindowFonts() = default;
    WindowFonts(const WindowFonts &) = delete;
    WindowFonts &operator=(const WindowFonts &) = delete;
    ~WindowFonts();

    // Makes the fonts for `window` at `dpi`, measuring the controls' present texts, and gives
    // every control its font.
    void Apply(HWND window, const WindowDesign &design, int dpi);

    // The font of `font` as made by the last Apply.
    HFONT Font(const FontDesign &font) const;
    int DialogHeight() const { return dialogHeight_; }

private:
    void Release();
    HFONT dialog_ = nullptr;
    HFONT caption_ = nullptr; // the design's named faces, at most two per window
    FontDesign captionDesign_{};
    HFONT second_ = nullptr;
    FontDesign secondDesign_{};
    int dialogHeight_ = 0;
};

// True when the caption of `control` fits its box whole in `font` at `dpi`.
bool CaptionFits(HWND control, const ControlDesign &design, HFONT font, int dpi);

// What a window does with the keys its controls pass on.
class KeyHandler
{
public:
    virtual ~KeyHandler() = default;
    // Enter in `control` (a control that is no button); true when taken.
    virtual bool OnEnter(HWND control) = 0;
    // Escape anywhere in the window; true when taken.
    virtual bool OnEscape() = 0;
};

// What both windows of the program do alike, around their own reactions: the object behind a
// window lives from WM_NCCREATE to WM_NCDESTROY; the focus is remembered while the window is
// inactive and given back when it is active again; keys the controls pass on go to the
// window's keyboard; a change of resolution takes Windows' suggested rectangle and lays the
// window out anew; and the program ends when its last window is destroyed.
class ProgramWindow : public KeyHandler
{
protected:
    ProgramWindow(HWND window, const WindowDesign &design);

    // The body of a window procedure: makes the window's object with `make` on WM_NCCREATE,
    // hands it every message through `handle`, and deletes it after WM_NCDESTROY.
    static LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            ProgramWindow *(*make)(HWND));

    // The window's own reactions; for the messages it leaves, `handleShared`.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT handleShared(UINT message, WPARAM wParam, LPARAM lParam);

    // Lays the window out again at `dpi`: its controls, fonts and painting.
    virtual void applyDpi(int dpi) = 0;

    HWND window_;
    int dpi_;
    HWND lastFocus_ = nullptr;
    WindowFonts fonts_;

private:
    const WindowDesign &design_;
};

// Gives every control of `design` in `window` the keyboard of the designed window: Tab and
// Shift+Tab walk the Tab stops (an option group is one stop, on its selected option), the arrow
// keys select the next or previous option of a group and wrap, Alt with an access key moves to
// or presses its control, Enter presses a focused button or goes to `keys`, Escape goes to
// `keys`. The messages arrive however they are sent: typed, posted or sent.
void AttachKeyboard(HWND window, const WindowDesign &design, KeyHandler &keys);

// The window-level part of the keyboard for `window` itself: answers true when it took the key.
bool HandleWindowKey(HWND window, const WindowDesign &design, KeyHandler &keys, UINT message,
                     WPARAM wParam);

// Moves the focus to the control `name`: for a frame, to its selected option.
void FocusControl(HWND window, const WindowDesign &design, std::string_view name);

// The selected option of `frame`, or null.
const ControlDesign *SelectedOption(HWND window, const WindowDesign &design,
                                    std::string_view frame);

// Selects `option` of its frame as a click does: it alone in its frame is checked, and the
// window hears BN_CLICKED.
void ClickOption(HWND window, const WindowDesign &design, const ControlDesign &option);

// Shows `text` in the program's message box, owned by `owner`: the title "Pevrand", one OK
// button, no icon. Returns when the user has closed it.
void ShowProgramMessage(HWND owner, std::string_view text);

// True when a top-level window of this program other than `closing` is still open.
bool OtherProgramWindowOpen(HWND closing);

// The first open window of class `className` on this thread, or null.
HWND FindProgramWindow(const wchar_t *className);

} // namespace pevrand::win32
