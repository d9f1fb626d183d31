#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zav::win32 {

// The file-open dialog for accounting files. It keeps the file chosen last and offers it in its
// file-name field at the next opening.
class FileOpenDialog {
public:
    // Modal over owner, starting in initialFolder (empty: where the system chooses). The chosen
    // file's full path, or nothing on cancel.
    std::optional<std::string> Execute(HWND owner, const std::string& initialFolder);

private:
    std::wstring lastFile_;
};

}  // namespace zav::win32
