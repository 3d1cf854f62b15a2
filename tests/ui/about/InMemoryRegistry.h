// The launcher's tests run over this machine of their own: a registry held in memory, a set of
// files and programs, and a record of everything the launcher asked of them.
#pragma once

#include "ui/about/SysInfoLauncher.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pevrand::testing_support
{

// A registry value as stored: its type and its bytes, terminating zero byte included if any.
struct StoredValue {
    std::uint32_t type;
    std::string bytes;
};

// Registry text as Windows stores it, with its terminating zero byte.
inline StoredValue Text(const std::string &text)
{
    return {RegistryText, text + '\0'};
}

// Text stored, with its terminating zero byte, as a value of `type`.
inline StoredValue Typed(std::uint32_t type, const std::string &text)
{
    return {type, text + '\0'};
}

// Raw bytes of a value of `type`.
inline StoredValue Raw(std::uint32_t type, std::string bytes)
{
    return {type, std::move(bytes)};
}

class InMemoryRegistry final : public SysInfoPlatform
{
public:
    // Keys below HKEY_LOCAL_MACHINE; a key can exist with no values.
    std::map<std::string, std::map<std::string, StoredValue>> keys;
    // Ordinary files on the machine, and those of them that start as programs.
    std::set<std::string> files;
    std::set<std::string> programs;

    // What the launcher did.
    std::vector<std::uint32_t> accessAsked;
    std::vector<RegistryKey> opened;
    std::vector<RegistryKey> closed;
    std::vector<std::uint32_t> sizesOffered;
    bool buffersZeroFilled = true;
    std::vector<std::string> fileTests;
    std::vector<std::string> starts;
    std::vector<std::string> messages;

    void Set(const std::string &key, const std::string &name, StoredValue value)
    {
        keys[key][name] = std::move(value);
    }

    std::int32_t OpenKey(std::int32_t root, const std::string &keyName, std::uint32_t access,
                         RegistryKey &key) override
    {
        accessAsked.push_back(access);
        const auto found = keys.find(keyName);
        // Only HKEY_LOCAL_MACHINE, whose root handle value is 0x80000002.
        if (root != static_cast<std::int32_t>(0x80000002u) || found == keys.end()) {
            return RegistryNotFound;
        }
        key = 100 + static_cast<RegistryKey>(std::distance(keys.begin(), found));
        opened.push_back(key);
        return RegistrySuccess;
    }

    std::int32_t QueryValue(RegistryKey key, const std::string &valueName, std::uint32_t &type,
                            std::uint8_t *data, std::uint32_t &size) override
    {
        sizesOffered.push_back(size);
        buffersZeroFilled = buffersZeroFilled &&
                            std::all_of(data, data + size, [](std::uint8_t b) { return b == 0; });
        auto entry = keys.begin();
        std::advance(entry, static_cast<long>(key - 100));
        const auto value = entry->second.find(valueName);
        if (value == entry->second.end()) {
            return RegistryNotFound;
        }
        if (value->second.bytes.size() > size) {
            size = static_cast<std::uint32_t>(value->second.bytes.size());
            return RegistryMoreData;
        }
        std::memcpy(data, value->second.bytes.data(), value->second.bytes.size());
        type = value->second.type;
        size = static_cast<std::uint32_t>(value->second.bytes.size());
        return RegistrySuccess;
    }

    void CloseKey(RegistryKey key) noexcept override { closed.push_back(key); }

    bool FileExists(const std::string &path) override
    {
        fileTests.push_back(path);
        return files.count(path) != 0;
    }

    void StartProgram(const std::string &path) override
    {
        starts.push_back(path);
        if (programs.count(path) == 0) {
            throw SysInfoFailure("not a program: " + path);
        }
    }

    void ShowMessage(const std::string &text) override { messages.push_back(text); }
};

} // namespace pevrand::testing_support
