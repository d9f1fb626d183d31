#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/FileSystem.h"

namespace zav::test {

// A Windows file system in memory, so the Windows rules of the window run on every platform.
// Paths are compared as written; the current folder is C:\Work.
class FakeWindowsFileSystem final : public IFileSystem {
public:
    std::set<std::string> files;
    std::set<std::string> folders;
    std::map<std::string, std::vector<DirectoryEntry>> listings;
    std::bitset<26> drives = std::bitset<26>().set('C' - 'A');
    // When set, expanding any path fails with this system message.
    std::optional<std::string> expandError;
    std::vector<std::string> listed;

    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool DirectoryExists(const std::string& path) override { return folders.count(path) != 0; }

    std::string ExpandFullPath(const std::string& path) override {
        if (expandError) {
            throw PlatformError(*expandError);
        }
        if ((path.size() >= 2 && path[1] == ':') || path.rfind("\\\\?\\", 0) == 0) {
            return path;
        }
        if (!path.empty() && (path[0] == '\\' || path[0] == '/')) {
            return "C:" + path;
        }
        return "C:\\Work\\" + path;
    }

    std::vector<DirectoryEntry> ListEntries(const std::string& folder) override {
        listed.push_back(folder);
        const auto found = listings.find(folder);
        return found == listings.end() ? std::vector<DirectoryEntry>() : found->second;
    }

    std::bitset<26> DriveLetters() override { return drives; }
    char Separator() const override { return '\\'; }
};

}  // namespace zav::test
