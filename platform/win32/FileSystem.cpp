#include "platform/FileSystem.h"

#include <windows.h>

#include <string>

#include "platform/Errors.h"
#include "platform/win32/WinText.h"

namespace zav {
namespace {

// Owns a handle that Close ends: CloseHandle for CreateFileW's, FindClose for FindFirstFileW's.
template <BOOL(WINAPI* Close)(HANDLE)>
class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() {
        if (Valid()) {
            Close(handle_);
        }
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};
using FileHandle = OwnedHandle<CloseHandle>;
using FindHandle = OwnedHandle<FindClose>;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The errors that mean "there is nothing at this path"; any other failure to read the attributes
// (access denied, for one) leaves open that something is there.
bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME;
}

bool IsDirectory(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
bool IsReparsePoint(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A link to a file counts by its target: it must open for reading (a target held open without
// sharing still exists) and must not be a folder.
bool LinkTargetIsFile(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return GetLastError() == ERROR_SHARING_VIOLATION;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(file.Get(), &info) != 0 &&
           !IsDirectory(info.dwFileAttributes);
}

// A folder that is a reparse point exists only when its target opens.
bool LinkTargetIsFolder(const std::wstring& path) {
    FileHandle folder(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return folder.Valid();
}

class Win32FileSystem final : public IFileSystem {
public:
    bool FileExists(const std::string& path) override {
        if (path.empty()) {
            return false;
        }
        const std::wstring widePath = win32::ToUtf16(path);
        const DWORD attributes = GetFileAttributesW(widePath.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (IsDirectory(attributes)) {
                return false;
            }
            return !IsReparsePoint(attributes) || LinkTargetIsFile(widePath);
        }
        if (IsMissing(GetLastError())) {
            return false;
        }
        // The attributes are refused (access denied): a search for the name may still see it.
        WIN32_FIND_DATAW found{};
        FindHandle search(FindFirstFileW(widePath.c_str(), &found));
        return search.Valid() && !IsDirectory(found.dwFileAttributes);
    }

    bool DirectoryExists(const std::string& path) override {
        if (path.empty()) {
            return false;
        }
        const std::wstring widePath = win32::ToUtf16(path);
        const DWORD attributes = GetFileAttributesW(widePath.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return !IsMissing(GetLastError());
        }
        if (!IsDirectory(attributes)) {
            return false;
        }
        return !IsReparsePoint(attributes) || LinkTargetIsFolder(widePath);
    }

    std::string ExpandFullPath(const std::string& path) override {
        const std::wstring widePath = win32::ToUtf16(path);
        std::wstring full(MAX_PATH, L'\0');
        for (;;) {
            const DWORD length = GetFullPathNameW(widePath.c_str(), static_cast<DWORD>(full.size()),
                                                  full.data(), nullptr);
            if (length == 0) {
                const DWORD error = GetLastError();
                if (error == ERROR_FILE_NOT_FOUND) {
                    return path;
                }
                throw PlatformError(win32::SystemMessage(error));
            }
            if (length < full.size()) {
                full.resize(length);
                return win32::ToUtf8(full);
            }
            full.resize(length);  // too small: length is the size needed, null included
        }
    }

    std::vector<DirectoryEntry> ListEntries(const std::string& folder) override {
        std::vector<DirectoryEntry> entries;
        const std::wstring pattern = win32::ToUtf16(JoinFolderAndName(folder, "*", Separator()));
        WIN32_FIND_DATAW found{};
        FindHandle search(FindFirstFileW(pattern.c_str(), &found));
        if (!search.Valid()) {
            return entries;
        }
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            entries.push_back({win32::ToUtf8(name), IsDirectory(found.dwFileAttributes)});
        } while (FindNextFileW(search.Get(), &found));
        return entries;
    }

    std::bitset<26> DriveLetters() override {
        return std::bitset<26>(GetLogicalDrives() & ((1UL << 26) - 1));
    }

    char Separator() const override { return '\\'; }
};

}  // namespace

std::unique_ptr<IFileSystem> CreatePlatformFileSystem() {
    return std::make_unique<Win32FileSystem>();
}

}  // namespace zav
