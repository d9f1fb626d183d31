#pragma once

#include <bitset>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

struct DirectoryEntry {
    std::string name;  // the entry's own name, without its folder
    bool isDirectory = false;
};

// The file-system operations the window needs, one implementation per platform.
class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // True when the path names an existing file that is not a folder; links count by their target.
    virtual bool FileExists(const std::string& path) = 0;
    // True when the path names an existing folder, by the rules of the folder listing.
    virtual bool DirectoryExists(const std::string& path) = 0;
    // The path made absolute against the current directory (and drive). Throws PlatformError with
    // the system's own message on any error other than a missing file.
    virtual std::string ExpandFullPath(const std::string& path) = 0;
    // Every entry of the folder in the file system's order, "." and ".." left out; empty when the
    // search cannot start.
    virtual std::vector<DirectoryEntry> ListEntries(const std::string& folder) = 0;
    // One flag per drive letter A to Z; none on systems without drive letters.
    virtual std::bitset<26> DriveLetters() = 0;
    // The folder separator of this platform: '\\' on Windows, '/' elsewhere.
    virtual char Separator() const = 0;
};

std::unique_ptr<IFileSystem> CreatePlatformFileSystem();

// An entry of a folder: the folder, then the name, with the separator between them unless the
// folder is empty or already ends in one (with '\\', as on Windows, also in a slash or a colon).
std::string JoinFolderAndName(std::string_view folder, std::string_view name, char separator);

}  // namespace zav
