#include "platform/SettingsStore.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace zav {
namespace {

// Where a key of the machine-wide store lives: the key path without its "SOFTWARE\" root, with
// "/" for "\", below /etc/xdg, as a .conf file (SOFTWARE\Vorlix-Software\ZAV gives
// /etc/xdg/Vorlix-Software/ZAV.conf). ZAV_SETTINGS_FILE names another file for tests and demos.
std::string KeyFilePath(const std::string& keyPath) {
    if (const char* file = std::getenv("ZAV_SETTINGS_FILE"); file != nullptr && *file != '\0') {
        return file;
    }
    std::string relative = keyPath;
    const std::string root = "SOFTWARE\\";
    if (relative.compare(0, root.size(), root) == 0) {
        relative.erase(0, root.size());
    }
    for (char& c : relative) {
        if (c == '\\') {
            c = '/';
        }
    }
    return "/etc/xdg/" + relative + ".conf";
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// A value as the key file holds it. "Name=text" is a string value; "Name=dword:<hex>" stands for
// a value of another type, as a number in the registry would be.
struct StoredValue {
    SettingsValueType type = SettingsValueType::String;
    std::string text;
};

// One key file read when the key is opened: lines "Name=Value"; blank lines, "#" and ";"
// comments and "[section]" headers are skipped.
class KeyFile final : public ISettingsKey {
public:
    explicit KeyFile(std::istream& in) {
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            const std::string trimmed = Trim(line);
            if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';' || trimmed[0] == '[') {
                continue;
            }
            const std::size_t equals = trimmed.find('=');
            if (equals == std::string::npos) {
                continue;
            }
            StoredValue value;
            value.text = Trim(trimmed.substr(equals + 1));
            if (value.text.compare(0, 6, "dword:") == 0) {
                value.type = SettingsValueType::Other;
            }
            values_[Trim(trimmed.substr(0, equals))] = value;
        }
    }

    std::optional<SettingsValueInfo> QueryValue(const std::string& name) override {
        const auto found = values_.find(name);
        if (found == values_.end()) {
            return std::nullopt;
        }
        SettingsValueInfo info;
        info.type = found->second.type;
        // As the registry counts a string: its bytes and the terminating null.
        info.dataSize =
            found->second.type == SettingsValueType::Other ? 4 : found->second.text.size() + 1;
        return info;
    }

    std::optional<std::string> ReadString(const std::string& name) override {
        const auto found = values_.find(name);
        if (found == values_.end() || found->second.type == SettingsValueType::Other) {
            return std::nullopt;
        }
        const std::string& text = found->second.text;
        return text.substr(0, text.find('\0'));
    }

private:
    std::map<std::string, StoredValue> values_;
};

class KeyFileStore final : public ISettingsStore {
public:
    std::unique_ptr<ISettingsKey> OpenKey(const std::string& keyPath) override {
        std::ifstream file(KeyFilePath(keyPath), std::ios::binary);
        if (!file) {
            return nullptr;
        }
        std::stringstream content;
        content << file.rdbuf();
        if (file.bad()) {
            return nullptr;
        }
        return std::make_unique<KeyFile>(content);
    }
};

}  // namespace

std::unique_ptr<ISettingsStore> CreatePlatformSettingsStore() {
    return std::make_unique<KeyFileStore>();
}

}  // namespace zav
