#include "app/win32/FileOpenDialog.h"

#include <commdlg.h>

#include <vector>

#include "platform/Errors.h"
#include "platform/win32/WinText.h"

namespace zav::win32 {
namespace {

// Room for a path of the extended length.
constexpr std::size_t kPathCapacity = 32768;

constexpr wchar_t kFilter[] = L"Vorlix Buchhaltung (*.zqd, *.fdb)\0*.zqd;settings.fdb\0";

}  // namespace

std::optional<std::string> FileOpenDialog::Execute(HWND owner, const std::string& initialFolder) {
    std::vector<wchar_t> file(kPathCapacity, L'\0');
    lastFile_.copy(file.data(), std::min(lastFile_.size(), kPathCapacity - 1));
    const std::wstring folder = ToUtf16(initialFolder);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog)) {
        const DWORD error = CommDlgExtendedError();
        if (error != 0) {
            throw PlatformError("Der Dateidialog konnte nicht geöffnet werden (Fehler " +
                                std::to_string(error) + ")");
        }
        return std::nullopt;
    }
    lastFile_ = file.data();
    return ToUtf8(lastFile_);
}

}  // namespace zav::win32
