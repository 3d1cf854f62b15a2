// Drives the launcher's Windows side for scripts/wine-tests.sh and prints what happened, one
// fact a line, for the script to check:
//
//   launcher_driver start                 StartSysInfo over the registry; every file test,
//                                         start and message is printed
//   launcher_driver getkey KEY VALUE      GetKeyValue below HKEY_LOCAL_MACHINE
//   launcher_driver unquoted-start PATH   control: CreateProcessA with PATH as an unquoted
//                                         command line, the way the launcher must never start
//   launcher_driver version               this executable's version record
//   launcher_driver icons                 the images of this executable's icon group 1
#include "ui/about/SysInfoLauncher.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace
{

using namespace pevrand;

// The machine's own platform, with each file test and start written to standard output.
class TracingPlatform final : public SysInfoPlatform
{
public:
    explicit TracingPlatform(std::unique_ptr<SysInfoPlatform> system) : system_(std::move(system))
    {
    }

    std::int32_t OpenKey(std::int32_t root, const std::string &keyName, std::uint32_t access,
                         RegistryKey &key) override
    {
        return system_->OpenKey(root, keyName, access, key);
    }

    std::int32_t QueryValue(RegistryKey key, const std::string &valueName, std::uint32_t &type,
                            std::uint8_t *data, std::uint32_t &size) override
    {
        return system_->QueryValue(key, valueName, type, data, size);
    }

    void CloseKey(RegistryKey key) noexcept override { system_->CloseKey(key); }

    bool FileExists(const std::string &path) override
    {
        const bool exists = system_->FileExists(path);
        std::printf("exists: %s -> %s\n", path.c_str(), exists ? "yes" : "no");
        return exists;
    }

    void StartProgram(const std::string &path) override
    {
        std::printf("start: %s\n", path.c_str());
        std::fflush(stdout);
        try {
            system_->StartProgram(path);
        } catch (const SysInfoFailure &failure) {
            std::printf("start failed: %s\n", failure.what());
            throw;
        }
        std::printf("started\n");
    }

    void ShowMessage(const std::string &text) override { system_->ShowMessage(text); }

private:
    std::unique_ptr<SysInfoPlatform> system_;
};

int Start()
{
    TracingPlatform platform(MakeSystemPlatform(
        [](const std::string &text) { std::printf("message: %s\n", text.c_str()); }));
    StartSysInfo(platform);
    return 0;
}

// A value's text with bytes outside printable ASCII written as \xNN.
std::string Printable(const std::string &text)
{
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    return shown;
}

int GetKey(const std::string &key, const std::string &value)
{
    const auto platform = MakeSystemPlatform({});
    std::string keyVal = "(on entry)";
    try {
        const bool read = GetKeyValue(*platform, HkeyLocalMachine, key, value, keyVal);
        std::printf("result: %s\nlength: %zu\nvalue: %s\n", read ? "true" : "false", keyVal.size(),
                    Printable(keyVal).c_str());
    } catch (const SysInfoFailure &failure) {
        std::printf("raised: %s\n", failure.what());
    }
    return 0;
}

int UnquotedStart(std::string commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("unquoted start failed: error %lu\n", GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("unquoted start: %s\n", commandLine.c_str());
    return 0;
}

std::string OwnPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

int Version()
{
    const std::string self = OwnPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(self.c_str(), &ignored);
    std::vector<char> record(size);
    if (size == 0 || !GetFileVersionInfoA(self.c_str(), 0, size, record.data())) {
        std::printf("version record: missing\n");
        return 1;
    }
    void *found = nullptr;
    UINT length = 0;
    if (VerQueryValueA(record.data(), "\\", &found, &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto *fixed = static_cast<const VS_FIXEDFILEINFO *>(found);
        std::printf("fixed file version: %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                    LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                    LOWORD(fixed->dwFileVersionLS));
        std::printf("fixed product version: %u.%u.%u.%u\n", HIWORD(fixed->dwProductVersionMS),
                    LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                    LOWORD(fixed->dwProductVersionLS));
        std::printf("file type: %lu, os: 0x%05lX, flags: 0x%lX\n", fixed->dwFileType,
                    fixed->dwFileOS, fixed->dwFileFlags & fixed->dwFileFlagsMask);
    } else {
        std::printf("fixed info: missing\n");
    }
    if (!VerQueryValueA(record.data(), "\\VarFileInfo\\Translation", &found, &length) ||
        length < 4) {
        std::printf("translation: missing\n");
        return 1;
    }
    const auto *translations = static_cast<const WORD *>(found);
    for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) {
        std::printf("translation: %04X %04X\n", translations[i], translations[i + 1]);
    }
    char block[64];
    std::snprintf(block, sizeof block, "\\StringFileInfo\\%04X%04X\\", translations[0],
                  translations[1]);
    for (const char *name : {"CompanyName", "ProductName", "FileVersion", "ProductVersion",
                             "InternalName", "OriginalFilename"}) {
        const std::string query = std::string(block) + name;
        if (VerQueryValueA(record.data(), query.c_str(), &found, &length) && length > 0) {
            std::printf("%s: %s\n", name, static_cast<const char *>(found));
        } else {
            std::printf("%s: (missing)\n", name);
        }
    }
    return 0;
}

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// A resource of this executable: its bytes and their number, or nullptr.
const BYTE *LoadOwnResource(LPCSTR name, LPCSTR type, DWORD &size)
{
    const HRSRC found = FindResourceA(nullptr, name, type);
    if (found == nullptr) {
        return nullptr;
    }
    size = SizeofResource(nullptr, found);
    return static_cast<const BYTE *>(LockResource(LoadResource(nullptr, found)));
}

// One image of the group, as its own bitmap header describes it.
void PrintIconImage(int number, const GroupIconEntry &entry)
{
    DWORD size = 0;
    const BYTE *image = LoadOwnResource(MAKEINTRESOURCEA(entry.id), RT_ICON, size);
    std::printf("image %d resource id: %u\n", number, entry.id);
    if (image == nullptr || size < sizeof(BITMAPINFOHEADER)) {
        std::printf("image %d: missing\n", number);
        return;
    }
    BITMAPINFOHEADER header;
    std::memcpy(&header, image, sizeof header);
    if (header.biSize != sizeof header) {
        std::printf("image %d: not a bitmap image\n", number);
        return;
    }
    const long width = header.biWidth;
    const long height = header.biHeight / 2;
    const unsigned bits = header.biBitCount;
    // Colour table, colour rows, then the transparency mask: one bit a pixel.
    const std::size_t colours = header.biClrUsed != 0 ? header.biClrUsed
                                : bits <= 8           ? std::size_t{1} << bits
                                                      : 0;
    const auto pixels = static_cast<std::size_t>(width);
    const std::size_t colourRow = (pixels * bits + 31) / 32 * 4;
    const std::size_t maskRow = (pixels + 31) / 32 * 4;
    const std::size_t needed =
        sizeof header + 4 * colours + (colourRow + maskRow) * static_cast<std::size_t>(height);
    const bool mask = header.biHeight == 2 * width && size >= needed;
    std::printf("image %d: %ldx%ld, %u bits per pixel, %s\n", number, width, height, bits,
                mask ? "own mask" : "no mask");
    if (entry.width != width || entry.height != height || entry.bitCount != bits) {
        std::printf("image %d: group entry says %ux%u, %u bits per pixel\n", number, entry.width,
                    entry.height, entry.bitCount);
    }
}

int Icons()
{
    DWORD size = 0;
    const BYTE *group = LoadOwnResource(MAKEINTRESOURCEA(1), RT_GROUP_ICON, size);
    if (group == nullptr || size < sizeof(GroupIconHeader)) {
        std::printf("icon group 1: missing\n");
        return 1;
    }
    GroupIconHeader header;
    std::memcpy(&header, group, sizeof header);
    std::printf("images: %u\n", header.count);
    if (size < sizeof header + header.count * sizeof(GroupIconEntry)) {
        std::printf("icon group 1: truncated\n");
        return 1;
    }
    for (int i = 0; i < header.count; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group + sizeof header + static_cast<std::size_t>(i) * sizeof entry,
                    sizeof entry);
        PrintIconImage(i + 1, entry);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "start") {
        return Start();
    }
    if (args.size() == 3 && args[0] == "getkey") {
        return GetKey(args[1], args[2]);
    }
    if (args.size() == 2 && args[0] == "unquoted-start") {
        return UnquotedStart(args[1]);
    }
    if (args.size() == 1 && args[0] == "version") {
        return Version();
    }
    if (args.size() == 1 && args[0] == "icons") {
        return Icons();
    }
    std::fprintf(stderr, "usage: launcher_driver start | getkey KEY VALUE | unquoted-start PATH"
                         " | version | icons\n");
    return 2;
}
