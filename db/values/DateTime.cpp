#include "db/values/DateTime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "db/values/Convert.h"
#include "db/values/ValueErrors.h"

namespace zav {
namespace {

constexpr std::int64_t kMsPerDay = 86400000;
// Day numbers of 0001-01-01 and 9999-12-31, and the offset of 1970-01-01.
constexpr std::int64_t kFirstDay = -693593;
constexpr std::int64_t kLastDay = 2958465;
constexpr std::int64_t kUnixEpochDay = 25569;

std::string Padded(int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return digits;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// One piece of a format. Every piece is at least one byte long, so a walk through a format ends.
struct Token {
    enum Kind { kText, kQuoted, kDateSeparator, kAmPmText, kAmPmLetters, kField } kind = kText;
    std::string_view text;
    char field = 0;  // d, m, y, h, n, s or z for a field
};

Token NextToken(std::string_view format, std::size_t pos) {
    const std::string_view rest = format.substr(pos);
    const char c = rest[0];
    if (c == '\'' || c == '"') {
        const std::size_t close = rest.find(c, 1);
        return {Token::kQuoted,
                rest.substr(0, close == std::string_view::npos ? rest.size() : close + 1)};
    }
    for (std::string_view marker : {"ampm", "am/pm", "a/p"}) {
        const std::string_view head = rest.substr(0, marker.size());
        if (std::equal(head.begin(), head.end(), marker.begin(), marker.end(),
                       [](char a, char b) { return AsciiLower(a) == b; })) {
            return {marker == "ampm" ? Token::kAmPmText : Token::kAmPmLetters,
                    rest.substr(0, marker.size())};
        }
    }
    if (c == '/') {
        return {Token::kDateSeparator, rest.substr(0, 1)};
    }
    const char lower = AsciiLower(c);
    if (lower != 0 && std::string_view("dmyhnsz").find(lower) != std::string_view::npos) {
        std::size_t run = 1;
        while (run < rest.size() && AsciiLower(rest[run]) == lower) {
            ++run;
        }
        return {Token::kField, rest.substr(0, run), lower};
    }
    return {Token::kText, rest.substr(0, 1)};
}

// A number of one or two digits by the run length of its letter.
std::string Number(int value, std::size_t run) {
    return run == 1 ? std::to_string(value) : Padded(value, 2);
}

}  // namespace

std::optional<double> TryEncodeDate(int year, int month, int day) {
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || !date.ok()) {
        return std::nullopt;
    }
    return static_cast<double>(std::chrono::sys_days(date).time_since_epoch().count() +
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
    // The day is cut toward zero and the fraction is the time of that day, also before the epoch:
    // rounding the time must not move such a day, so it stops at the day's last millisecond.
    const double magnitude = std::fabs(oleDate);
    std::int64_t totalMs = std::llround(magnitude * kMsPerDay);
    if (oleDate < 0 && totalMs / kMsPerDay > static_cast<std::int64_t>(magnitude)) {
        --totalMs;
    }
    const std::int64_t day = oleDate < 0 ? -(totalMs / kMsPerDay) : totalMs / kMsPerDay;
    if (day < kFirstDay || day > kLastDay) {
        throw ConvertError("'" + FloatToStr(oleDate) + "' ist kein gültiges Datum");
    }
    std::int64_t timeMs = totalMs % kMsPerDay;
    DateTimeParts parts;
    const std::chrono::sys_days days{std::chrono::days(day - kUnixEpochDay)};
    const std::chrono::year_month_day date(days);
    parts.year = static_cast<int>(date.year());
    parts.month = static_cast<int>(static_cast<unsigned>(date.month()));
    parts.day = static_cast<int>(static_cast<unsigned>(date.day()));
    parts.dayOfWeek = static_cast<int>(std::chrono::weekday(days).c_encoding());
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
    for (std::size_t i = 0; i < format.size(); i += NextToken(format, i).text.size()) {
        const Token::Kind kind = NextToken(format, i).kind;
        twelveHour = twelveHour || kind == Token::kAmPmText || kind == Token::kAmPmLetters;
    }
    const int hour = twelveHour ? (parts.hour % 12 == 0 ? 12 : parts.hour % 12) : parts.hour;
    const bool afternoon = parts.hour >= 12;

    std::string out;
    bool afterHour = false;  // m or mm right after an hour is a minute, otherwise a month
    for (std::size_t i = 0; i < format.size();) {
        const Token token = NextToken(format, i);
        const std::size_t run = token.text.size();
        i += run;
        switch (token.kind) {
            case Token::kText:
                out += token.text;
                continue;
            case Token::kQuoted: {
                const bool closed = run > 1 && token.text.back() == token.text.front();
                out += token.text.substr(1, run - (closed ? 2 : 1));
                continue;
            }
            case Token::kDateSeparator:
                out += settings.dateSeparator;
                continue;
            case Token::kAmPmText:
                out += afternoon ? settings.pmText : settings.amText;
                continue;
            case Token::kAmPmLetters: {
                // am/pm or a/p: the letters themselves, in the case of the mark's first letter.
                const bool upper = token.text[0] == 'A' || token.text[0] == 'P';
                const std::size_t slash = token.text.find('/');
                const auto letters =
                    afternoon ? token.text.substr(slash + 1) : token.text.substr(0, slash);
                for (char c : letters) {
                    out += upper ? static_cast<char>(c & ~0x20) : AsciiLower(c);
                }
                continue;
            }
            case Token::kField:
                break;
        }
        switch (token.field) {
            case 'd':
                out += run <= 2   ? Number(parts.day, run)
                       : run == 3 ? settings.shortDayNames[parts.dayOfWeek]
                                  : settings.longDayNames[parts.dayOfWeek];
                break;
            case 'm':
                if (afterHour && run <= 2) {
                    out += Number(parts.minute, run);
                } else {
                    out += run <= 2   ? Number(parts.month, run)
                           : run == 3 ? settings.shortMonthNames[parts.month - 1]
                                      : settings.longMonthNames[parts.month - 1];
                }
                break;
            case 'y':
                out += run <= 2 ? Padded(parts.year % 100, 2) : Padded(parts.year, 4);
                break;
            case 'h':
                out += Number(hour, run);
                break;
            case 'n':
                out += Number(parts.minute, run);
                break;
            case 's':
                out += Number(parts.second, run);
                break;
            default:  // z
                out += run < 3 ? std::to_string(parts.millisecond) : Padded(parts.millisecond, 3);
                break;
        }
        afterHour = token.field == 'h';
    }
    return out;
}

std::optional<double> ParseDate(const std::string& text, const FormatSettings& settings) {
    // The order of day, month and year is the order of their first fields in the format.
    enum Field { kDay, kMonth, kYear };
    Field order[3] = {kMonth, kDay, kYear};
    int found = 0;
    bool seen[3] = {false, false, false};
    const std::string& format = settings.shortDateFormat;
    for (std::size_t i = 0; i < format.size(); i += NextToken(format, i).text.size()) {
        const char lower = NextToken(format, i).field;
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
            const std::string& separator = settings.dateSeparator;
            if (separator.empty() || text.compare(pos, separator.size(), separator) != 0) {
                return std::nullopt;
            }
            pos += separator.size();
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
