#include "ui/about/SysInfoLauncher.h"
#include "ui/about/SystemPlatform.h"

#include <array>
#include <cstddef>
#include <limits>
#include <utility>

namespace pevrand
{
namespace
{

// The first `size` bytes of the buffer as text, without the last byte when it is a zero
// byte. A value of no bytes has no last byte to look at and raises.
std::string ValueText(const std::array<std::uint8_t, ValueBufferSize> &buffer, std::uint32_t size)
{
    if (size == 0) {
        throw SysInfoFailure("registry value holds no bytes");
    }
    if (size > buffer.size()) {
        throw SysInfoFailure("registry value overran its buffer");
    }
    std::string text(buffer.begin(), buffer.begin() + size);
    if (text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

// The hexadecimal digits of a number value: its bytes from the last to the first, each as two
// upper-case digits, so the most significant byte comes first.
std::string NumberDigits(const std::string &bytes)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string digits;
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte) {
        const auto value = static_cast<unsigned char>(*byte);
        digits += Hex[value >> 4];
        digits += Hex[value & 0x0F];
    }
    return digits;
}

// "&h" followed by `digits`, as the general formatting writes it: the decimal value. A value
// too wide for 64 bits is no number the formatting can hold and keeps its "&h" text.
std::string FormatNumber(const std::string &digits)
{
    std::uint64_t value = 0;
    for (const char digit : digits) {
        if (value > std::numeric_limits<std::uint64_t>::max() >> 4) {
            return "&h" + digits;
        }
        const int nibble = digit <= '9' ? digit - '0' : digit - 'A' + 10;
        value = value << 4 | static_cast<std::uint64_t>(nibble);
    }
    return std::to_string(value);
}

// Steps 3 to 6 of reading a value from an open key. Answers false when the query fails.
bool ReadValue(SysInfoPlatform &platform, RegistryKey key, const std::string &SubKeyRef,
               std::string &KeyVal)
{
    std::array<std::uint8_t, ValueBufferSize> buffer{};
    std::uint32_t size = ValueBufferSize;
    std::uint32_t type = 0;
    if (platform.QueryValue(key, SubKeyRef, type, buffer.data(), size) != RegistrySuccess) {
        KeyVal.clear();
        return false;
    }
    const std::string text = ValueText(buffer, size);
    if (type == RegistryText) {
        KeyVal = text;
    } else if (type == RegistryNumber) {
        KeyVal = FormatNumber(NumberDigits(text));
    }
    return true;
}

// Where the first place names the tool, that path as read; else the second place's folder
// followed by "\MSINFO32.EXE" when that file exists; else nothing (empty). An empty folder is
// no folder: "\MSINFO32.EXE" alone would name the root of whatever drive is current, a place
// anyone with that drive may fill. Raises what the registry or the file test raises.
bool FindSysInfo(SysInfoPlatform &platform, std::string &path)
{
    if (GetKeyValue(platform, HkeyLocalMachine, MsinfoKey, MsinfoValue, path)) {
        return true;
    }
    if (!GetKeyValue(platform, HkeyLocalMachine, MsinfoLocationKey, MsinfoLocationValue, path) ||
        path.empty()) {
        return false;
    }
    const std::string tool = path + MsinfoFileName;
    if (!platform.FileExists(tool)) {
        return false;
    }
    path = tool;
    return true;
}

} // namespace

bool GetKeyValue(SysInfoPlatform &platform, std::int32_t KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal)
{
    RegistryKey key = 0;
    bool read = false;
    try {
        if (platform.OpenKey(KeyRoot, KeyName, KeyQueryValue, key) == RegistrySuccess) {
            read = ReadValue(platform, key, SubKeyRef, KeyVal);
        } else {
            KeyVal.clear();
        }
    } catch (...) {
        // A value of no bytes raises; the key is closed on that way out too.
        platform.CloseKey(key);
        throw;
    }
    platform.CloseKey(key);
    return read;
}

void StartSysInfo(SysInfoPlatform &platform)
{
    // Every failure on the way, from the registry to the start of the tool, ends in the one
    // message; nothing is retried.
    bool started = false;
    try {
        std::string path;
        if (FindSysInfo(platform, path)) {
            platform.StartProgram(path);
            started = true;
        }
    } catch (const std::exception &) {
        started = false;
    }
    if (!started) {
        platform.ShowMessage(SysInfoUnavailable);
    }
}

// The system's platform, whichever system it is, tells the user through the caller's message box.
SystemPlatform::SystemPlatform(std::function<void(const std::string &)> showMessage)
    : showMessage_(std::move(showMessage))
{
}

void SystemPlatform::ShowMessage(const std::string &text)
{
    if (showMessage_) {
        showMessage_(text);
    }
}

std::unique_ptr<SysInfoPlatform>
MakeSystemPlatform(std::function<void(const std::string &)> showMessage)
{
    return std::make_unique<SystemPlatform>(std::move(showMessage));
}

} // namespace pevrand
