#include "platform/SettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "platform/Errors.h"
#include "platform/posix/FdHandle.h"

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

// A settings file is a few lines; far above that it is no settings file.
constexpr std::size_t kMaxKeyFileSize = 1024 * 1024;

// The key file's text, or nothing when it cannot be opened or read (missing, no right to read),
// as a registry key that cannot be opened. Something there that cannot be a key file (a FIFO,
// a device, a folder, a file too large to be one) is a mistake of whoever set it, and is named.
std::optional<std::string> ReadKeyFile(const std::string& path) {
    // Not blocking, so that opening a FIFO does not wait for a writer.
    const FdHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.Valid() || fstat(file.Get(), &info) != 0) {
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        throw PlatformError("Die Einstellungsdatei '" + path + "' ist keine gewöhnliche Datei");
    }
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(file.Get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return std::nullopt;
        }
        if (count == 0) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(count));
        if (text.size() > kMaxKeyFileSize) {
            throw PlatformError("Die Einstellungsdatei '" + path + "' ist zu groß (mehr als 1 MB)");
        }
    }
}

class KeyFileStore final : public ISettingsStore {
public:
    std::unique_ptr<ISettingsKey> OpenKey(const std::string& keyPath) override {
        const std::optional<std::string> text = ReadKeyFile(KeyFilePath(keyPath));
        if (!text) {
            return nullptr;
        }
        std::istringstream content(*text);
        return std::make_unique<KeyFile>(content);
    }
};

}  // namespace

std::unique_ptr<ISettingsStore> CreatePlatformSettingsStore() {
    return std::make_unique<KeyFileStore>();
}

}  // namespace zav
