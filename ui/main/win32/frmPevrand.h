// The main window frmPevrand on the Win32 API, built from the main window's design table. It
// reads its controls and hands them to the Convert command's core; it computes nothing.
#pragma once

#include "ui/common/win32/Win32Window.h"

#include <string_view>

namespace pevrand
{
enum class FocusTarget;
}

namespace pevrand::win32
{

class frmPevrand final : public ProgramWindow
{
public:
    // Registers the window class (once per program) and opens the window with its start-up
    // result on show and the focus in the input box. Returns null when Windows refuses.
    static HWND Open(HINSTANCE instance, int show);

private:
    explicit frmPevrand(HWND window);
    ~frmPevrand() override;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool OnEnter(HWND control) override;
    bool OnEscape() override { return false; }

    HWND control(std::string_view name) const;
    std::string_view nameOf(HWND control) const;
    void clearOutput();
    void onCommand(HWND control, int code);
    LRESULT colourStatic(HDC dc, HWND control);
    void paint();
    void applyDpi(int dpi) override;
    void moveFocusAfterMessage(FocusTarget target);

    void Form_Load();
    void cmdConvert_Click();
    void cmdQuit_Click();
    void cmdAbout_Click();
    void txtInputVal_Change();
    void txtInputVal_KeyPress(int key);
    void txtTwotheta_Change();
    void txtTwotheta_KeyPress(int key);
    void txtTotalflightpath_Change();
    void txtTotalflightpath_KeyPress(int key);
    void lblInputValue_Click();
    void lblTwotheta_Click();
    void Label2_Click();
    void fraUnitsIn_Click();
    void fraUnitsOut_Click();
    void fraUnitsIn_OptionClick();
    void fraUnitsOut_OptionClick();

    HBRUSH background_;
};

} // namespace pevrand::win32
