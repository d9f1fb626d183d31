#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace zav {

// The files directly in a folder, in the file system's order, each as the folder path followed by
// the entry's name; subfolders are skipped, not entered. The folder's full path is tested first:
// the system's message when it cannot be expanded, the Windows path rules on Windows, and
// "Der angegebene Pfad wurde nicht gefunden" when the folder does not exist. A folder whose search
// cannot start gives an empty list.
std::vector<std::string> ListFolderFiles(IFileSystem& files, const std::string& folder);

}  // namespace zav
