// The main window frmPevrand on the Win32 API, built from the main window's design table. It
// only forwards its controls' notifications by name to MainWindowReactions and shows what they
// tell it through its MainWindowView; it computes and decides nothing.
#pragma once

#include "ui/common/win32/ProgramWindow.h"
#include "ui/main/MainWindowReactions.h"

#include <string_view>

namespace pevrand::win32
{

class frmPevrand final : public ProgramWindow, private MainWindowView
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
    void onCommand(HWND control, int code);
    LRESULT colourStatic(HDC dc, HWND control);
    void paint();
    void applyDpi(int dpi) override;

    // The window as the reactions see it, over the controls of its table.
    std::string BoxText(std::string_view box) const override;
    void SetBoxText(std::string_view box, std::string_view text) override;
    void LockOutput() override;
    std::optional<Quantity> SelectedUnit(std::string_view frame) const override;
    void SelectOption(std::string_view option) override;
    void MoveFocus(std::string_view control) override;
    void ShowMessage(std::string_view text, std::string_view focusAfter) override;
    void OpenAbout() override;
    void CloseWindow() override;

    HBRUSH background_;
    MainWindowReactions reactions_{*this};
};

} // namespace pevrand::win32
