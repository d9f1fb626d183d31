#pragma once

#include <array>
#include <string>

namespace zav {

// The user's regional conventions that dates and numbers are read and written with. In a date
// format "/" stands for the date separator; d, M and y are day, month and year, ddd and dddd the
// day's name, MMM and MMMM the month's. In a time format h is the hour, n (or m after an hour) the
// minute, s the second, z the millisecond; AMPM writes the AM or PM text and, like am/pm and a/p,
// switches to a 12-hour clock. Text between quotes and every other character stand as written.
struct FormatSettings {
    char decimalSeparator = '.';
    std::string dateSeparator = "/";
    std::string shortDateFormat = "M/d/yyyy";
    std::string longTimeFormat = "h:nn:ss AMPM";
    // clang-format off
    std::array<std::string, 12> shortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                                   "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames = {"January", "February", "March", "April", "May",
        "June", "July", "August", "September", "October", "November", "December"};
    std::array<std::string, 7> shortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};  // Sunday first
    // clang-format on
    std::string amText = "AM";
    std::string pmText = "PM";
};

// The settings the operating system reports for the user; implemented once per platform
// (platform/posix, platform/win32).
FormatSettings ReadRegionalSettings();

}  // namespace zav
