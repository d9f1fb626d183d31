#include "TempFolder.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace zav::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    // A fresh name until one is new: create_directory is false for a folder that exists.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = fs::temp_directory_path() / ("zav-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace);
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
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
