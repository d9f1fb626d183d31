#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace zav {

enum class SettingsValueType { String, ExpandString, Other };

struct SettingsValueInfo {
    SettingsValueType type = SettingsValueType::Other;
    std::size_t dataSize = 0;  // in bytes, as the store reports it
};

// One opened key; closed when the object is destroyed.
class ISettingsKey {
public:
    virtual ~ISettingsKey() = default;
    // Type and size of a named value, or nothing when the value does not exist.
    virtual std::optional<SettingsValueInfo> QueryValue(const std::string& name) = 0;
    // The data of a string value as UTF-8 text, ending at its first null character; nothing when
    // the read fails.
    virtual std::optional<std::string> ReadString(const std::string& name) = 0;
};

// The machine-wide settings store (HKEY_LOCAL_MACHINE on Windows, a key file elsewhere).
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // Opens the key for reading, or gives nothing when it cannot be opened for whatever reason;
    // raises a PlatformError when what stands for the key cannot be one (a key file that is no
    // regular file or far too large).
    virtual std::unique_ptr<ISettingsKey> OpenKey(const std::string& keyPath) = 0;
};

// The store of the platform this program runs on.
std::unique_ptr<ISettingsStore> CreatePlatformSettingsStore();

}  // namespace zav
