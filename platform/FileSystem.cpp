#include "platform/FileSystem.h"

namespace zav {

std::string JoinFolderAndName(std::string_view folder, std::string_view name, char separator) {
    std::string entry(folder);
    if (!folder.empty()) {
        const char last = folder.back();
        if (last != separator && !(separator == '\\' && (last == '/' || last == ':'))) {
            entry += separator;
        }
    }
    return entry.append(name);
}

}  // namespace zav
