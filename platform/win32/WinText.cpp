#include "platform/win32/WinText.h"

#include <windows.h>

#include <climits>
#include <cwctype>
#include <string>

namespace zav::win32 {

namespace {

std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, result.data(), needed);
    return result;
}

std::string Narrow(std::wstring_view text, UINT codePage) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), length, result.data(), needed, nullptr, nullptr);
    return result;
}

}  // namespace

std::wstring ToUtf16(std::string_view text) {
    return Widen(text, CP_UTF8);
}

std::string ToUtf8(std::wstring_view text) {
    return Narrow(text, CP_UTF8);
}

std::wstring AnsiToUtf16(std::string_view text) {
    return Widen(text, CP_ACP);
}

std::optional<std::string> Utf8ToCodePageExactly(std::string_view text, unsigned codePage) {
    const std::wstring wide = ToUtf16(text);
    std::string converted = Narrow(wide, codePage);
    // Windows puts look-alikes ("c" for "č") or its default character in for what the code page
    // lacks; only a conversion that gives the same text back is exact, in every code page.
    if (Widen(converted, codePage) != wide) {
        return std::nullopt;
    }
    return converted;
}

std::string ToLowerCase(std::string_view text) {
    std::wstring wide = ToUtf16(text);
    CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return ToUtf8(wide);
}

std::string SystemMessage(unsigned long errorCode) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) {
        return "Systemfehler " + std::to_string(errorCode);
    }
    std::wstring message(buffer, length);
    LocalFree(buffer);
    while (!message.empty() && std::iswspace(message.back())) {
        message.pop_back();
    }
    return ToUtf8(message);
}

}  // namespace zav::win32
