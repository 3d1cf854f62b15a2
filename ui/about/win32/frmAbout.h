// The About window frmAbout on the Win32 API, built from the About window's design table:
// modeless, without owner, one at a time.
#pragma once

#include "ui/common/win32/ProgramWindow.h"

namespace pevrand::win32
{

class frmAbout final : public ProgramWindow
{
public:
    // Opens the About window centred over `mainWindow` (or on the screen when that is gone),
    // or, when it is open already, brings that one to the front.
    static HWND ShowFor(HINSTANCE instance, HWND mainWindow);

private:
    explicit frmAbout(HWND window);
    ~frmAbout() override;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Enter presses the default button OK; Escape presses OK, the cancel button.
    bool OnEnter(HWND) override;
    bool OnEscape() override;

    void paint();
    void applyDpi(int dpi) override;
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    HICON icon_ = nullptr;
};

} // namespace pevrand::win32
