#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zav {

// The systems' date and time pictures turned into the letter form of FormatSettings, so that the
// date writer renders them as the system would. Literal text comes out quoted. Pure, so they are
// tested on every platform.

// Windows pictures ("dd.MM.yyyy", "d 'de' MMMM", literal text in single quotes): day, month and
// year runs and names are kept, era marks dropped.
std::string DateFormatFromWindows(std::string_view picture);

// Hours keep their width (h/H -> h, hh/HH -> hh), minutes become n, seconds stay s; the AM/PM
// mark becomes AMPM (tt) or A/P (t).
std::string TimeFormatFromWindows(std::string_view picture);

// C library formats ("%d.%m.%Y", "%k:%M:%S"); nothing when the format holds a code without a
// counterpart (a time zone, a century).
std::optional<std::string> FormatFromStrftime(std::string_view format);

// The literal text between the first two fields of a date format; fallback when there is none.
std::string DateSeparatorOf(std::string_view dateFormat, const std::string& fallback);

}  // namespace zav
