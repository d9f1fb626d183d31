#pragma once

#include <string>
#include <string_view>

namespace zav {

// The accounting database stores its texts as Windows-1252 bytes while the program works in UTF-8.

// Throws ConvertError for text that is no valid UTF-8 or holds a character Windows-1252 lacks:
// silently replacing it would change what is written.
std::string Utf8ToWindows1252(std::string_view utf8);

// Every byte has a meaning (the five unassigned ones map to the C1 controls, as Windows does).
std::string Windows1252ToUtf8(std::string_view bytes);

// True when the bytes form valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace zav
