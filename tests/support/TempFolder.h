#pragma once

#include <filesystem>
#include <string>

namespace zav::test {

// A folder of its own under the system's temporary folder, removed with everything in it when the
// object goes, also when a test took its rights away.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(TempFolder&& other) noexcept;
    TempFolder& operator=(TempFolder&&) = delete;
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder's path with a final "/", as the window builds data folders.
    std::string Folder() const { return path_.string() + "/"; }

    // Creates the file, and the folders on its way, with the given content.
    std::filesystem::path WriteFile(const std::string& relative,
                                    const std::string& content = "x") const;
    std::filesystem::path MakeDir(const std::string& relative) const;

private:
    std::filesystem::path path_;
};

}  // namespace zav::test
