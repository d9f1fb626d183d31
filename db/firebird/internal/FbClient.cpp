#include "db/firebird/internal/FbClient.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/WinText.h"
#endif

#include "db/values/Windows1252.h"

namespace zav {

void AppendNumberItem(std::string& block, char code, std::uint32_t value) {
    block += code;
    block += static_cast<char>(4);
    for (int i = 0; i < 4; ++i, value >>= 8) {
        block += static_cast<char>(value & 0xFF);
    }
}

#ifdef _WIN32
std::optional<std::string> ToClientCodePage(const std::string& utf8) {
    return win32::Utf8ToCodePageExactly(utf8, CP_ACP);
}

std::string FromClientCodePage(const std::string& bytes) {
    // Server texts quote object names in UTF-8 and paths in the ANSI code page.
    if (bytes.empty() || IsValidUtf8(bytes)) {
        return bytes;
    }
    return win32::ToUtf8(win32::AnsiToUtf16(bytes));
}
#else
// The locale's code page is normally UTF-8 here, so a path with umlauts still names the file.
std::optional<std::string> ToClientCodePage(const std::string& utf8) {
    return utf8;
}

std::string FromClientCodePage(const std::string& bytes) {
    return IsValidUtf8(bytes) ? bytes : Windows1252ToUtf8(bytes);
}
#endif

}  // namespace zav
