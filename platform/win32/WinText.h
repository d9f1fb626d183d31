#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zav::win32 {

// The program keeps UTF-8 inside; the W calls of the system take and give UTF-16.
std::wstring ToUtf16(std::string_view text);
std::string ToUtf8(std::wstring_view text);
// The same for the ANSI code page, the 8-bit text of the A calls and of older libraries.
std::wstring AnsiToUtf16(std::string_view text);
// A UTF-8 text in the given code page (CP_ACP: the ANSI code page), or nothing when the code page
// cannot hold every character of it: never a look-alike letter or a default character instead.
std::optional<std::string> Utf8ToCodePageExactly(std::string_view text, unsigned codePage);

// The system's lower case of every letter it knows.
std::string ToLowerCase(std::string_view text);

// The system's own message for an error code in the user's language, without the line break the
// system puts at its end.
std::string SystemMessage(unsigned long errorCode);

}  // namespace zav::win32
