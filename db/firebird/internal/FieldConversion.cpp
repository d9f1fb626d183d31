#include "db/firebird/internal/FieldConversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "db/firebird/DatabaseErrors.h"
#include "db/values/Convert.h"
#include "db/values/DateTime.h"
#include "db/values/ValueErrors.h"
#include "db/values/Windows1252.h"

namespace zav {
namespace {

constexpr short kCharsetUnicodeFss = 3;
constexpr short kCharsetUtf8 = 4;

template <typename T>
T Read(const char* data) {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

[[noreturn]] void OutOfRange(const ColumnValue& value, const std::string& componentName) {
    throw DatabaseError(componentName + ": Der Wert des Feldes '" + value.column->name +
                        "' liegt außerhalb des Bereichs für Integer");
}

[[noreturn]] void NotConvertible(const ColumnValue& value, const std::string& componentName,
                                 const char* target) {
    throw DatabaseError(componentName + ": Das Feld '" + value.column->name + "' kann nicht als " +
                        target + " gelesen werden");
}

std::int32_t Narrow(std::int64_t number, const ColumnValue& value,
                    const std::string& componentName) {
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max()) {
        OutOfRange(value, componentName);
    }
    return static_cast<std::int32_t>(number);
}

// Text in the database is a signed decimal integer, blanks before it allowed; the hexadecimal forms
// of the program's own input are not.
std::int32_t TextToInt32(const std::string& text, const ColumnValue& value,
                         const std::string& componentName) {
    const std::size_t start = std::min(text.find_first_not_of(' '), text.size());
    const bool plus = start < text.size() && text[start] == '+' && text[start + 1] != '-';
    const char* end = text.data() + text.size();
    std::int64_t number = 0;
    const auto [stop, error] = std::from_chars(text.data() + start + (plus ? 1 : 0), end, number);
    if (error == std::errc::invalid_argument || stop != end) {
        throw ConvertError("''" + text + "'' ist kein gültiger Integer-Wert");
    }
    if (error != std::errc()) {
        OutOfRange(value, componentName);
    }
    return Narrow(number, value, componentName);
}

std::int64_t PowerOfTen(int exponent) {
    std::int64_t result = 1;
    for (int i = 0; i < exponent; ++i) {
        result *= 10;
    }
    return result;
}

// An integer of the given negative scale divided down, a half to the even neighbour.
std::int64_t RoundScaled(std::int64_t number, int scale) {
    if (scale >= 0) {
        return number;
    }
    const std::int64_t divisor = PowerOfTen(-scale);
    std::int64_t quotient = number / divisor;
    const std::int64_t remainder = number % divisor;  // carries the sign of number
    const std::int64_t twice = remainder < 0 ? -2 * remainder : 2 * remainder;
    const std::int64_t away = number < 0 ? -1 : 1;
    if (twice > divisor || (twice == divisor && quotient % 2 != 0)) {
        quotient += away;
    }
    return quotient;
}

std::int64_t ReadInteger(const ColumnValue& value) {
    switch (value.column->type) {
        case SQL_SHORT:
            return Read<std::int16_t>(value.data);
        case SQL_LONG:
            return Read<std::int32_t>(value.data);
        default:
            return Read<std::int64_t>(value.data);
    }
}

double ReadFloating(const ColumnValue& value) {
    return value.column->type == SQL_FLOAT ? Read<float>(value.data) : Read<double>(value.data);
}

bool IsText(const ColumnValue& value) {
    return value.column->type == SQL_TEXT || value.column->type == SQL_VARYING;
}

// The database holds Windows-1252 text; columns declared in a Unicode character set hold UTF-8.
std::string DecodeText(const ColumnValue& value) {
    std::string bytes;
    if (value.column->type == SQL_VARYING) {
        const auto length = static_cast<std::size_t>(Read<std::uint16_t>(value.data));
        bytes.assign(value.data + sizeof(std::uint16_t), length);
    } else {
        bytes.assign(value.data, static_cast<std::size_t>(value.column->length));
        bytes.erase(bytes.find_last_not_of(' ') + 1);
    }
    const short charset = static_cast<short>(value.column->subType & 0xFF);
    if (charset == kCharsetUtf8 || charset == kCharsetUnicodeFss) {
        return bytes;
    }
    return Windows1252ToUtf8(bytes);
}

std::string ScaledToText(std::int64_t number, int scale) {
    if (scale >= 0) {
        return std::to_string(number);
    }
    const bool negative = number < 0;
    // Through the unsigned magnitude: the smallest int64 has no positive counterpart.
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
    std::string digits = std::to_string(magnitude);
    const auto decimals = static_cast<std::size_t>(-scale);
    if (digits.size() <= decimals) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    digits.insert(digits.size() - decimals, ".");
    return negative ? "-" + digits : digits;
}

template <typename T>
std::string ShortestText(T number) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

// Day count of the client library's dates (days since 17 November 1858) as yyyy-mm-dd.
std::string DateText(std::int32_t mjd) {
    const DateTimeParts parts = DecodeDateTime(static_cast<double>(mjd) - 15018);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", parts.year, parts.month, parts.day);
    return buffer;
}

// Time of day in ten-thousandths of a second as hh:nn:ss.
std::string TimeText(std::uint32_t fraction) {
    const std::uint32_t seconds = fraction / 10000;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", seconds / 3600, (seconds / 60) % 60,
                  seconds % 60);
    return buffer;
}

}  // namespace

std::int32_t ColumnToInt32(const ColumnValue& value, const std::string& componentName) {
    if (IsText(value)) {
        return TextToInt32(value.isNull ? std::string() : DecodeText(value), value, componentName);
    }
    if (value.isNull) {
        return 0;
    }
    switch (value.column->type) {
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64:
            return Narrow(RoundScaled(ReadInteger(value), value.column->scale), value,
                          componentName);
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_D_FLOAT: {
            // nearbyint rounds a half to the even neighbour in the default rounding mode.
            const double rounded = std::nearbyint(ReadFloating(value));
            if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
                  rounded <= std::numeric_limits<std::int32_t>::max())) {
                OutOfRange(value, componentName);
            }
            return static_cast<std::int32_t>(rounded);
        }
        default:
            NotConvertible(value, componentName, "Integer");
    }
}

std::string ColumnToText(const ColumnValue& value, const std::string& componentName) {
    if (value.isNull) {
        return {};
    }
    switch (value.column->type) {
        case SQL_TEXT:
        case SQL_VARYING:
            return DecodeText(value);
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64:
            return ScaledToText(ReadInteger(value), value.column->scale);
        case SQL_FLOAT:
            return ShortestText(Read<float>(value.data));
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            return ShortestText(Read<double>(value.data));
        case SQL_TYPE_DATE:
            return DateText(Read<std::int32_t>(value.data));
        case SQL_TYPE_TIME:
            return TimeText(Read<std::uint32_t>(value.data));
        case SQL_TIMESTAMP:
            return DateText(Read<std::int32_t>(value.data)) + " " +
                   TimeText(Read<std::uint32_t>(value.data + sizeof(std::int32_t)));
        case SQL_BOOLEAN:
            return Read<unsigned char>(value.data) != 0 ? "true" : "false";
        default:
            NotConvertible(value, componentName, "Text");
    }
}

}  // namespace zav
