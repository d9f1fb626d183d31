#pragma once

#include <string>
#include <string_view>

namespace zav::win32 {

// The program keeps UTF-8 inside; the W calls of the system take and give UTF-16.
std::wstring ToUtf16(std::string_view text);
std::string ToUtf8(std::wstring_view text);
// The same for the ANSI code page, the 8-bit text of the A calls and of older libraries.
std::wstring AnsiToUtf16(std::string_view text);
std::string Utf16ToAnsi(std::wstring_view text);

// The system's lower case of every letter it knows.
std::string ToLowerCase(std::string_view text);

// The system's own message for an error code in the user's language, without the line break the
// system puts at its end.
std::string SystemMessage(unsigned long errorCode);

}  // namespace zav::win32
