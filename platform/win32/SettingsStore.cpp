#include "platform/SettingsStore.h"

#include <windows.h>

#include <string>

#include "platform/win32/WinText.h"

namespace zav {
namespace {

class RegistryKey final : public ISettingsKey {
public:
    explicit RegistryKey(HKEY key) : key_(key) {}
    ~RegistryKey() override { RegCloseKey(key_); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    std::optional<SettingsValueInfo> QueryValue(const std::string& name) override {
        DWORD type = REG_NONE;
        DWORD size = 0;
        const std::wstring wideName = win32::ToUtf16(name);
        if (RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        SettingsValueInfo info;
        info.dataSize = size;
        info.type = type == REG_SZ          ? SettingsValueType::String
                    : type == REG_EXPAND_SZ ? SettingsValueType::ExpandString
                                            : SettingsValueType::Other;
        return info;
    }

    std::optional<std::string> ReadString(const std::string& name) override {
        const std::wstring wideName = win32::ToUtf16(name);
        // The value may grow between asking its size and reading it; ask again a few times.
        for (int attempt = 0; attempt < 3; ++attempt) {
            DWORD size = 0;
            if (RegQueryValueExW(key_, wideName.c_str(), nullptr, nullptr, nullptr, &size) !=
                ERROR_SUCCESS) {
                return std::nullopt;
            }
            // Room for the data, rounded up to whole characters, and a final null of our own.
            std::wstring buffer((size + 1) / sizeof(wchar_t) + 1, L'\0');
            DWORD read = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
            DWORD type = REG_NONE;
            const LSTATUS status = RegQueryValueExW(key_, wideName.c_str(), nullptr, &type,
                                                    reinterpret_cast<BYTE*>(buffer.data()), &read);
            if (status == ERROR_MORE_DATA) {
                continue;
            }
            if (status != ERROR_SUCCESS) {
                return std::nullopt;
            }
            // Kept unexpanded; the text ends at its first null character.
            buffer.resize(buffer.find(L'\0'));
            return win32::ToUtf8(buffer);
        }
        return std::nullopt;
    }

private:
    HKEY key_;
};

class RegistryStore final : public ISettingsStore {
public:
    std::unique_ptr<ISettingsKey> OpenKey(const std::string& keyPath) override {
        const std::wstring path = win32::ToUtf16(keyPath);
        // The 32-bit view, the one the accounting installation writes; where full read rights are
        // refused, fewer may still do.
        constexpr REGSAM kRights[] = {KEY_READ, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
                                      KEY_QUERY_VALUE};
        for (const REGSAM rights : kRights) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, rights | KEY_WOW64_32KEY,
                              &key) == ERROR_SUCCESS) {
                return std::make_unique<RegistryKey>(key);
            }
        }
        return nullptr;
    }
};

}  // namespace

std::unique_ptr<ISettingsStore> CreatePlatformSettingsStore() {
    return std::make_unique<RegistryStore>();
}

}  // namespace zav
