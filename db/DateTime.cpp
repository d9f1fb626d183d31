#include "db/DateTime.h"

#include <cctype>
#include <cmath>
#include <cstdint>

#include "db/Convert.h"
#include "platform/Errors.h"

namespace zav {
namespace {

constexpr std::int64_t kMsPerDay = 86400000;
// Day numbers of 0001-01-01 and 9999-12-31, and the offset of 1970-01-01.
constexpr std::int64_t kFirstDay = -693593;
constexpr std::int64_t kLastDay = 2958465;
constexpr std::int64_t kUnixEpochDay = 25569;

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, DateTimeParts& parts) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    parts.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
    parts.month = static_cast<int>(m);
    parts.day = static_cast<int>(d);
}

std::string Padded(int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return digits;
}

bool StartsWithNoCase(const std::string& text, std::size_t pos, const char* word) {
    for (std::size_t i = 0; word[i] != '\0'; ++i) {
        if (pos + i >= text.size() ||
            std::tolower(static_cast<unsigned char>(text[pos + i])) != word[i]) {
            return false;
        }
    }
    return true;
}

std::size_t RunLength(const std::string& format, std::size_t pos) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(format[pos])));
    std::size_t end = pos;
    while (end < format.size() && std::tolower(static_cast<unsigned char>(format[end])) == lower) {
        ++end;
    }
    return end - pos;
}

}  // namespace

std::optional<double> TryEncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        return std::nullopt;
    }
    return static_cast<double>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
        kUnixEpochDay);
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
    return static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) /
           static_cast<double>(kMsPerDay);
}

DateTimeParts DecodeDateTime(double oleDate) {
    // Bounds first, so that the millisecond count below cannot overflow.
    if (!(oleDate > static_cast<double>(kFirstDay - 1) &&
          oleDate < static_cast<double>(kLastDay + 1))) {
        throw ConvertError("'" + FloatToStr(oleDate) + "' ist kein gültiges Datum");
    }
    const auto totalMs = static_cast<std::int64_t>(std::llround(oleDate * kMsPerDay));
    const std::int64_t day = totalMs / kMsPerDay;  // toward zero: the fraction is the time
    if (day < kFirstDay || day > kLastDay) {
        throw ConvertError("'" + FloatToStr(oleDate) + "' ist kein gültiges Datum");
    }
    std::int64_t timeMs = (totalMs < 0 ? -totalMs : totalMs) % kMsPerDay;
    DateTimeParts parts;
    CivilFromDays(day - kUnixEpochDay, parts);
    parts.millisecond = static_cast<int>(timeMs % 1000);
    timeMs /= 1000;
    parts.second = static_cast<int>(timeMs % 60);
    timeMs /= 60;
    parts.minute = static_cast<int>(timeMs % 60);
    parts.hour = static_cast<int>(timeMs / 60);
    return parts;
}

std::string FormatDateTime(const std::string& format, double oleDate,
                           const FormatSettings& settings) {
    const DateTimeParts parts = DecodeDateTime(oleDate);
    bool twelveHour = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (StartsWithNoCase(format, i, "ampm") || StartsWithNoCase(format, i, "am/pm") ||
            StartsWithNoCase(format, i, "a/p")) {
            twelveHour = true;
        }
    }
    const int hour = twelveHour ? (parts.hour % 12 == 0 ? 12 : parts.hour % 12) : parts.hour;
    const bool afternoon = parts.hour >= 12;

    std::string out;
    bool afterHour = false;  // an "m" right after an hour is a minute, otherwise a month
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '\'' || c == '"') {
            const std::size_t close = format.find(c, i + 1);
            const std::size_t end = close == std::string::npos ? format.size() : close;
            out.append(format, i + 1, end - i - 1);
            i = end == format.size() ? end : end + 1;
            continue;
        }
        if (StartsWithNoCase(format, i, "ampm")) {
            out += afternoon ? "PM" : "AM";
            i += 4;
            continue;
        }
        if (StartsWithNoCase(format, i, "am/pm")) {
            const bool upper = std::isupper(static_cast<unsigned char>(c)) != 0;
            out += afternoon ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
            i += 5;
            continue;
        }
        if (StartsWithNoCase(format, i, "a/p")) {
            const bool upper = std::isupper(static_cast<unsigned char>(c)) != 0;
            out += afternoon ? (upper ? 'P' : 'p') : (upper ? 'A' : 'a');
            i += 3;
            continue;
        }
        const std::size_t run = RunLength(format, i);
        switch (lower) {
            case 'd':
                out += run == 1 ? std::to_string(parts.day) : Padded(parts.day, 2);
                afterHour = false;
                break;
            case 'm':
                if (afterHour) {
                    out += run == 1 ? std::to_string(parts.minute) : Padded(parts.minute, 2);
                } else {
                    out += run == 1 ? std::to_string(parts.month) : Padded(parts.month, 2);
                }
                afterHour = false;
                break;
            case 'y':
                out += run <= 2 ? Padded(parts.year % 100, 2) : Padded(parts.year, 4);
                afterHour = false;
                break;
            case 'h':
                out += run == 1 ? std::to_string(hour) : Padded(hour, 2);
                afterHour = true;
                break;
            case 'n':
                out += run == 1 ? std::to_string(parts.minute) : Padded(parts.minute, 2);
                afterHour = false;
                break;
            case 's':
                out += run == 1 ? std::to_string(parts.second) : Padded(parts.second, 2);
                afterHour = false;
                break;
            case 'z':
                out += run < 3 ? std::to_string(parts.millisecond) : Padded(parts.millisecond, 3);
                afterHour = false;
                break;
            case '/':
                out.append(run, settings.dateSeparator);
                break;
            default:
                out.append(format, i, run);
                break;
        }
        i += run;
    }
    return out;
}

std::optional<double> ParseDate(const std::string& text, const FormatSettings& settings) {
    // The order of day, month and year is the order of their first letters in the format.
    enum Field { kDay, kMonth, kYear };
    Field order[3] = {kMonth, kDay, kYear};
    int found = 0;
    bool seen[3] = {false, false, false};
    for (char c : settings.shortDateFormat) {
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const Field field = lower == 'd' ? kDay : lower == 'm' ? kMonth : kYear;
        if ((lower == 'd' || lower == 'm' || lower == 'y') && !seen[field] && found < 3) {
            seen[field] = true;
            order[found++] = field;
        }
    }
    if (found != 3) {
        order[0] = kMonth;
        order[1] = kDay;
        order[2] = kYear;
    }

    int values[3] = {0, 0, 0};
    int yearDigits = 0;
    std::size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < text.size() && text[pos] == ' ') {
            ++pos;
        }
    };
    for (int n = 0; n < 3; ++n) {
        skipBlanks();
        if (n > 0) {
            if (pos >= text.size() || text[pos] != settings.dateSeparator) {
                return std::nullopt;
            }
            ++pos;
            skipBlanks();
        }
        int digits = 0;
        int value = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            if (++digits > 4) {
                return std::nullopt;
            }
            value = value * 10 + (text[pos] - '0');
            ++pos;
        }
        if (digits == 0) {
            return std::nullopt;
        }
        values[order[n]] = value;
        if (order[n] == kYear) {
            yearDigits = digits;
        }
    }
    skipBlanks();
    if (pos != text.size()) {
        return std::nullopt;
    }
    int year = values[kYear];
    if (yearDigits <= 2) {
        year += year < 30 ? 2000 : 1900;
    }
    return TryEncodeDate(year, values[kMonth], values[kDay]);
}

}  // namespace zav
