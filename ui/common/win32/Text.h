// Text between the program's UTF-8 and Windows' UTF-16, and the texts of windows.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace pevrand::win32
{

// UTF-8 to UTF-16 and back; invalid sequences become U+FFFD.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// The text of `window` (a control's caption or contents) in UTF-8.
std::string WindowText(HWND window);
void SetText(HWND window, std::string_view text);

} // namespace pevrand::win32
