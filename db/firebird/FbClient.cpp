#include "db/firebird/FbClient.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/WinText.h"
#endif

#include "db/values/Windows1252.h"

namespace zav {

#ifdef _WIN32
std::string ToClientCodePage(const std::string& utf8) {
    const std::wstring wide = win32::ToUtf16(utf8);
    if (wide.empty()) {
        return {};
    }
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), length,
                        nullptr, nullptr);
    return bytes;
}

std::string FromClientCodePage(const std::string& bytes) {
    // Server texts quote object names in UTF-8 and paths in the ANSI code page.
    if (bytes.empty() || IsValidUtf8(bytes)) {
        return bytes;
    }
    const int length =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                        length);
    return win32::ToUtf8(wide);
}
#else
// The locale's code page is normally UTF-8 here, so a path with umlauts still names the file.
std::string ToClientCodePage(const std::string& utf8) {
    return utf8;
}

std::string FromClientCodePage(const std::string& bytes) {
    return IsValidUtf8(bytes) ? bytes : Windows1252ToUtf8(bytes);
}
#endif

}  // namespace zav
