#include "ProgramMessage.h"

#include "Text.h"
#include "resources/ProgramIdentity.h"

namespace pevrand::win32
{

void ShowProgramMessage(HWND owner, std::string_view text)
{
    MessageBoxW(owner, Widen(text).c_str(), Widen(PEVRAND_TITLE).c_str(),
                MB_OK | MB_APPLMODAL | MB_SETFOREGROUND);
}

} // namespace pevrand::win32
