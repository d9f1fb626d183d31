#pragma once

#include <optional>
#include <string>

#include "db/values/FormatSettings.h"

namespace zav {

// Dates are doubles in the OLE convention: whole days since 1899-12-30, the fraction the time of
// day (also for negative values: -1.25 is 1899-12-29 06:00). Years 1 to 9999.
struct DateTimeParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 6;  // 0 Sunday to 6 Saturday
};

// The date's day number; nothing when the year, month or day does not exist.
std::optional<double> TryEncodeDate(int year, int month, int day);
// The time of day as a fraction of a day.
double EncodeTime(int hour, int minute, int second, int millisecond);
// The parts of a date, rounded to the millisecond; ConvertError when it lies outside the years
// 1 to 9999 or is not a number.
DateTimeParts DecodeDateTime(double oleDate);

// The date written with a short date or long time format (see FormatSettings).
std::string FormatDateTime(const std::string& format, double oleDate,
                           const FormatSettings& settings);

// Day, month and year in the order of the short date format, separated by the date separator,
// blanks allowed around each number. A year of one or two digits means 1930 to 2029.
std::optional<double> ParseDate(const std::string& text, const FormatSettings& settings);

}  // namespace zav
