// Pevrand's start on Windows: the main window, then the message loop until the last of the
// program's windows is closed. The manifest asks for common controls 6 and per-monitor DPI.
#include "ui/main/win32/frmPevrand.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (pevrand::win32::frmPevrand::Open(instance, show) == nullptr)
        return 1;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
