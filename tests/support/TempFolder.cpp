#include "TempFolder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace zav::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "zav-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
}

TempFolder::TempFolder(TempFolder&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

fs::path TempFolder::WriteFile(const std::string& relative, const std::string& content) const {
    const fs::path file = path_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

fs::path TempFolder::MakeDir(const std::string& relative) const {
    const fs::path dir = path_ / relative;
    fs::create_directories(dir);
    return dir;
}

}  // namespace zav::test
