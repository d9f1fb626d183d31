#pragma once

#include <string>
#include <string_view>

namespace zav {

// Windows reports the user's date and time formats as picture strings ("dd.MM.yyyy", "HH:mm:ss",
// "h:mm:ss tt", literal text in single quotes). These turn them into the letter form of
// RegionalSettings. Pure, so they are tested on every platform.

// Day, month and year runs are kept; era marks are dropped; quoted text is kept without quotes.
std::string DateFormatFromWindows(std::string_view picture);

// Hours keep their width (h/H -> h, hh/HH -> hh), minutes become n, seconds stay s, and the
// AM/PM mark (t or tt) becomes AMPM.
std::string TimeFormatFromWindows(std::string_view picture);

// The first character of a date format that is not a day, month or year letter; fallback when
// the format has none.
char DateSeparatorOf(std::string_view dateFormat, char fallback);

}  // namespace zav
