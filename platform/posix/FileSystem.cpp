#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/Errors.h"
#include "platform/posix/FdHandle.h"

namespace zav {
namespace {

// Owns a directory stream from opendir.
class DirHandle {
public:
    explicit DirHandle(const std::string& path) : dir_(opendir(path.c_str())) {}
    ~DirHandle() {
        if (dir_ != nullptr) {
            closedir(dir_);
        }
    }
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
    DIR* Get() const { return dir_; }

private:
    DIR* dir_;
};

// The errors that mean "there is nothing at this path"; any other failure to read the attributes
// (permission denied, for one) leaves open that something is there.
bool IsMissing(int error) {
    return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP;
}

bool IsLink(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// Whether an entry is a folder, links followed as the listing's callers expect.
bool EntryIsDirectory(const std::string& folder, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    std::string path = folder;
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path += entry.d_name;
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

class PosixFileSystem final : public IFileSystem {
public:
    bool FileExists(const std::string& path) override {
        if (path.empty()) {
            return false;
        }
        struct stat info {};
        if (stat(path.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode)) {
                return false;
            }
            // A link counts by its target, which must open for reading.
            return !IsLink(path) || FdHandle(open(path.c_str(), O_RDONLY | O_NONBLOCK)).Valid();
        }
        if (IsMissing(errno)) {
            return false;
        }
        // The attributes are refused (no search right on the folder): the folder's listing may
        // still show the name.
        return ListedAsFile(path);
    }

    bool DirectoryExists(const std::string& path) override {
        if (path.empty()) {
            return false;
        }
        struct stat info {};
        if (stat(path.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) {
                return false;
            }
            return !IsLink(path) || DirHandle(path).Get() != nullptr;
        }
        return !IsMissing(errno);
    }

    std::string ExpandFullPath(const std::string& path) override {
        if (!path.empty() && path[0] == '/') {
            return path;
        }
        std::string cwd(256, '\0');
        while (getcwd(cwd.data(), cwd.size()) == nullptr) {
            if (errno != ERANGE) {
                if (errno == ENOENT) {
                    // The current folder is gone; what lies below it is missing too.
                    return path;
                }
                throw PlatformError(std::strerror(errno));
            }
            cwd.resize(cwd.size() * 2);
        }
        cwd.resize(std::strlen(cwd.c_str()));
        if (path.empty()) {
            return cwd;
        }
        if (cwd.back() != '/') {
            cwd += '/';
        }
        return cwd + path;
    }

    std::vector<DirectoryEntry> ListEntries(const std::string& folder) override {
        std::vector<DirectoryEntry> entries;
        DirHandle dir(folder);
        if (dir.Get() == nullptr) {
            return entries;
        }
        while (const dirent* entry = readdir(dir.Get())) {
            if (IsDotEntry(entry->d_name)) {
                continue;
            }
            entries.push_back({entry->d_name, EntryIsDirectory(folder, *entry)});
        }
        return entries;
    }

    std::bitset<26> DriveLetters() override { return {}; }

    char Separator() const override { return '/'; }

private:
    bool ListedAsFile(const std::string& path) {
        const std::size_t slash = path.rfind('/');
        const std::string folder =
            slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        for (const DirectoryEntry& entry : ListEntries(folder)) {
            if (entry.name == name) {
                return !entry.isDirectory;
            }
        }
        return false;
    }
};

}  // namespace

std::unique_ptr<IFileSystem> CreatePlatformFileSystem() {
    return std::make_unique<PosixFileSystem>();
}

}  // namespace zav
