// A stand-in for MSINFO32.EXE under Wine: appends one line to C:\pevrand-started.txt, with
// the path it runs from, the command line it was given and how it was asked to show its
// window, then ends.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;
    // One write of the whole line, so the script never reads half of it.
    char line[3 * MAX_PATH];
    const int length =
        std::snprintf(line, sizeof line, "%s|%s|show %d\n", self, GetCommandLineA(), show);
    std::FILE *marker = std::fopen("C:\\pevrand-started.txt", "ab");
    if (marker == nullptr || length < 0) {
        return 1;
    }
    std::fwrite(line, 1, static_cast<std::size_t>(length), marker);
    return std::fclose(marker) == 0 ? 0 : 1;
}
