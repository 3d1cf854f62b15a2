// The System Info button's launcher: find the system-information tool in the registry and
// start it, or tell the user it is unavailable.
//
// The two routines are plain C++ over a small platform layer (registry queries, a file test,
// starting a program, the message box), so the very same code runs in the program, in the
// unit tests over an in-memory registry, and cross-built for Windows under Wine.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace pevrand
{

// Root handle value of HKEY_LOCAL_MACHINE, as a 32-bit signed integer.
inline constexpr std::int32_t HkeyLocalMachine = static_cast<std::int32_t>(0x80000002u);

// Access asked for when opening a key: query values only (KEY_QUERY_VALUE), so a user who may
// not write below HKEY_LOCAL_MACHINE can still read where the tool is.
inline constexpr std::uint32_t KeyQueryValue = 0x0001;

// Registry status and value types the launcher and its layers use (Win32 values).
inline constexpr std::int32_t RegistrySuccess = 0;     // ERROR_SUCCESS
inline constexpr std::int32_t RegistryNotFound = 2;    // ERROR_FILE_NOT_FOUND
inline constexpr std::int32_t RegistryMoreData = 234;  // ERROR_MORE_DATA
inline constexpr std::uint32_t RegistryText = 1;       // REG_SZ
inline constexpr std::uint32_t RegistryExpandText = 2; // REG_EXPAND_SZ
inline constexpr std::uint32_t RegistryBinary = 3;     // REG_BINARY
inline constexpr std::uint32_t RegistryNumber = 4;     // REG_DWORD

// Bytes of the buffer a value is read into; a longer value counts as missing.
inline constexpr std::uint32_t ValueBufferSize = 1024;

// The two places the tool is looked for, in order: its full path, then its folder.
inline constexpr const char *MsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char *MsinfoValue = "PATH";
inline constexpr const char *MsinfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char *MsinfoLocationValue = "MSINFO";
// Appended to the folder of the second place, leading backslash included.
inline constexpr const char *MsinfoFileName = "\\MSINFO32.EXE";

// The one message of the launcher.
inline constexpr const char *SysInfoUnavailable = "System Information Is Unavailable At This Time";

// A registry key as the platform hands it out; 0 is no key.
using RegistryKey = std::uintptr_t;

// A failure of the launcher or of its platform (a value of no bytes, a program that can't be
// started). `StartSysInfo` turns every one into its message.
class SysInfoFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What the launcher needs of the system. Texts are bytes in the system's narrow code page.
class SysInfoPlatform
{
public:
    virtual ~SysInfoPlatform() = default;

    // Opens key `keyName` below the root handle `root` with the access mask `access`
    // (RegOpenKeyExA). Answers RegistrySuccess and sets `key`, or a non-zero status.
    virtual std::int32_t OpenKey(std::int32_t root, const std::string &keyName,
                                 std::uint32_t access, RegistryKey &key) = 0;

    // Reads value `valueName` of the open `key` into the `size` bytes at `data`
    // (RegQueryValueExA). On RegistrySuccess `type` holds the value's type and `size` the bytes
    // written; a missing value, or one longer than `size` bytes, answers a non-zero status.
    virtual std::int32_t QueryValue(RegistryKey key, const std::string &valueName,
                                    std::uint32_t &type, std::uint8_t *data,
                                    std::uint32_t &size) = 0;

    // Closes `key` (RegCloseKey); 0 and bad handles are harmless. Never throws.
    virtual void CloseKey(RegistryKey key) noexcept = 0;

    // True when `path` names an existing ordinary file (not a directory).
    virtual bool FileExists(const std::string &path) = 0;

    // Starts the program at exactly `path`, with no arguments, in a normal focused window,
    // without waiting for it. Throws SysInfoFailure when it can't be started (empty path, no
    // such file, not a program).
    virtual void StartProgram(const std::string &path) = 0;

    // Shows `text` in the program's message box and returns once the user has closed it.
    virtual void ShowMessage(const std::string &text) = 0;
};

// Reads value `SubKeyRef` of key `KeyName` below `KeyRoot` into `KeyVal`: text (type 1) without
// its one terminating zero byte, a number (type 4) as its decimal value; any other type leaves
// `KeyVal` as it was. Answers true when the value was read; false, with `KeyVal` empty, when
// the key or value is missing, can't be opened or is longer than ValueBufferSize bytes.
// Throws SysInfoFailure for a value of no bytes. The key is closed on every path.
bool GetKeyValue(SysInfoPlatform &platform, std::int32_t KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal);

// Starts the tool named by the first place, as read; else the (non-empty) folder of the second
// place followed by "\MSINFO32.EXE", when that file exists. Where neither gives a tool, or anything
// fails on the way, shows SysInfoUnavailable instead. Never throws a launcher failure.
void StartSysInfo(SysInfoPlatform &platform);

// The platform of the machine the program runs on: the Windows registry on Windows; elsewhere
// a layer whose only value is the first place, holding the desktop's own system-information
// program. Its message box calls `showMessage`.
std::unique_ptr<SysInfoPlatform>
MakeSystemPlatform(std::function<void(const std::string &)> showMessage);

} // namespace pevrand
