// The launcher's platform on Windows: the registry through advapi32's narrow-character
// functions, the file test, and CreateProcessA with the tool's exact path.
#include "ui/about/SystemPlatform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace pevrand
{
namespace
{

HKEY AsHkey(RegistryKey key)
{
    return reinterpret_cast<HKEY>(key);
}

// A root handle value widened the way the predefined handles are (sign-extended, so
// 0x80000002 becomes HKEY_LOCAL_MACHINE in a 64-bit process too).
HKEY RootHkey(std::int32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root));
}

bool HasZeroByte(const std::string &text)
{
    return text.find('\0') != std::string::npos;
}

} // namespace

std::int32_t SystemPlatform::OpenKey(std::int32_t root, const std::string &keyName,
                                     std::uint32_t access, RegistryKey &key)
{
    if (HasZeroByte(keyName)) {
        return ERROR_INVALID_NAME;
    }
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(RootHkey(root), keyName.c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) {
        key = reinterpret_cast<RegistryKey>(opened);
    }
    return status;
}

std::int32_t SystemPlatform::QueryValue(RegistryKey key, const std::string &valueName,
                                        std::uint32_t &type, std::uint8_t *data,
                                        std::uint32_t &size)
{
    if (HasZeroByte(valueName)) {
        return ERROR_INVALID_NAME;
    }
    DWORD valueType = 0;
    DWORD bytes = size;
    const LONG status =
        RegQueryValueExA(AsHkey(key), valueName.c_str(), nullptr, &valueType, data, &bytes);
    type = valueType;
    size = bytes;
    return status;
}

void SystemPlatform::CloseKey(RegistryKey key) noexcept
{
    RegCloseKey(AsHkey(key));
}

bool SystemPlatform::FileExists(const std::string &path)
{
    if (path.empty() || HasZeroByte(path)) {
        return false;
    }
    // The exact path, no wildcards; ordinary files only.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

void SystemPlatform::StartProgram(const std::string &path)
{
    // A quote can't be part of a Windows path, and would break the quoted command line.
    if (path.empty() || HasZeroByte(path) || path.find('"') != std::string::npos) {
        throw SysInfoFailure("no program to start at \"" + path + "\"");
    }
    // The path names the program; the command line repeats it quoted, so that no prefix
    // of a path with spaces ("C:\Program Files\...") can ever be taken for the program.
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        throw SysInfoFailure("can't start \"" + path + "\" (error " +
                             std::to_string(GetLastError()) + ")");
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace pevrand
