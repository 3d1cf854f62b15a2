// The launcher's platform on the machine the program runs on, as MakeSystemPlatform gives it:
// one class, whose registry, file test and start of a program are the system's, written in
// RegistryPlatform.cpp for Windows and in DesktopPlatform.cpp for the rest, and whose message box
// is the caller's (SysInfoLauncher.cpp).
#pragma once

#include "ui/about/SysInfoLauncher.h"

namespace pevrand
{

class SystemPlatform final : public SysInfoPlatform
{
public:
    explicit SystemPlatform(std::function<void(const std::string &)> showMessage);

    std::int32_t OpenKey(std::int32_t root, const std::string &keyName, std::uint32_t access,
                         RegistryKey &key) override;
    std::int32_t QueryValue(RegistryKey key, const std::string &valueName, std::uint32_t &type,
                            std::uint8_t *data, std::uint32_t &size) override;
    void CloseKey(RegistryKey key) noexcept override;
    bool FileExists(const std::string &path) override;
    void StartProgram(const std::string &path) override;
    void ShowMessage(const std::string &text) override;

private:
    std::function<void(const std::string &)> showMessage_;
};

} // namespace pevrand
