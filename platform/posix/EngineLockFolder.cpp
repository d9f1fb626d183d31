#include "platform/posix/EngineLockFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/EngineLockFolder.h"

namespace zav {
namespace {

// Debian's engine keeps its lock files here unless FIREBIRD_LOCK names another folder.
constexpr const char* kSharedLockFolder = "/tmp/firebird";
constexpr const char* kTempFolder = "/tmp";
constexpr const char* kDebianConfig = "/etc/firebird/3.0/firebird.conf";

bool MayAccess(const std::string& path, int mode) {
    return faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

bool IsOwnDirectory(const std::string& path, bool followLink) {
    struct stat info {};
    const int result = followLink ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
    return result == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid();
}

// A missing shared folder is not taken: the first user to run would make it theirs, closed to
// every other user and to a server installed later.
bool SharedFolderUsable(const std::string& folder) {
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        !MayAccess(folder, R_OK | W_OK | X_OK)) {
        return false;
    }
    // The engine opens this file first; the server's engine makes it readable by its group only.
    const std::string initFile = folder + "/fb_init";
    return !MayAccess(initFile, F_OK) || MayAccess(initFile, R_OK | W_OK);
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// Whether the engine holds a database file exclusively: ServerMode Super (also called
// ThreadedDedicated), the default. The last setting in the file counts.
bool EngineLocksWholeFile(const std::string& config) {
    std::ifstream in(config);
    std::string mode = "super";
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        std::string key;
        std::string value;
        std::istringstream(line.substr(0, equals)) >> key;
        std::istringstream(line.substr(equals + 1)) >> value;
        if (Lower(key) == "servermode" && !value.empty()) {
            mode = Lower(value);
        }
    }
    return mode == "super" || mode == "threadeddedicated";
}

bool MakeOwnFolder(const std::string& folder) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return IsOwnDirectory(folder, false) && MayAccess(folder, R_OK | W_OK | X_OK);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::optional<std::string> ChooseEngineLockFolder(const EngineLockPlaces& places) {
    if (!places.configured.empty() || SharedFolderUsable(places.shared) ||
        !EngineLocksWholeFile(places.config)) {
        return std::nullopt;
    }
    if (!places.runtime.empty() && places.runtime.front() == '/' &&
        IsOwnDirectory(places.runtime, true)) {
        const std::string folder = places.runtime + "/firebird";
        if (MakeOwnFolder(folder)) {
            return folder;
        }
    }
    const std::string folder = places.temp + "/firebird-" + std::to_string(geteuid());
    if (MakeOwnFolder(folder)) {
        return folder;
    }
    return std::nullopt;  // the engine reports what it cannot open
}

void PrepareEngineLockFolder() {
    if (const char* set = std::getenv("FIREBIRD_LOCK"); set != nullptr && *set == '\0') {
        unsetenv("FIREBIRD_LOCK");  // an empty setting counts as none, for the engine as well
    }
    const std::string root = Environment("FIREBIRD");
    const EngineLockPlaces places{Environment("FIREBIRD_LOCK"), kSharedLockFolder,
                                  Environment("XDG_RUNTIME_DIR"), kTempFolder,
                                  root.empty() ? kDebianConfig : root + "/firebird.conf"};
    if (const std::optional<std::string> folder = ChooseEngineLockFolder(places)) {
        setenv("FIREBIRD_LOCK", folder->c_str(), 1);
    }
}

}  // namespace zav
