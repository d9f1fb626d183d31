#include "app/FolderListing.h"

#include "app/PathRules.h"
#include "platform/Errors.h"

namespace zav {

std::vector<std::string> ListFolderFiles(IFileSystem& files, const std::string& folder) {
    const PathStyle style = PathStyleOf(files.Separator());
    const std::string fullPath = files.ExpandFullPath(folder);
    // Length, colon and character limits belong to Windows paths; a POSIX path may hold them.
    if (style == PathStyle::Windows) {
        CheckFullFolderPath(fullPath);
    }
    if (!files.DirectoryExists(fullPath)) {
        throw UserInputError("Der angegebene Pfad wurde nicht gefunden");
    }

    std::vector<std::string> result;
    for (const DirectoryEntry& entry : files.ListEntries(folder)) {
        if (!entry.isDirectory) {
            result.push_back(JoinFolderAndName(folder, entry.name, files.Separator()));
        }
    }
    return result;
}

}  // namespace zav
