// The program's one kind of message box.
#pragma once

#include <windows.h>

#include <string_view>

namespace pevrand::win32
{

// Shows `text` in the program's message box, owned by `owner`: the title "Pevrand", one OK
// button, no icon. Returns when the user has closed it.
void ShowProgramMessage(HWND owner, std::string_view text);

} // namespace pevrand::win32
