#include "db/values/Convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "db/values/DateTime.h"
#include "db/values/FormatSettings.h"
#include "db/values/NumberFormat.h"
#include "db/values/ValueErrors.h"
#include "db/values/Variant.h"

namespace zav {
namespace {

// A decimal number as written: value = digits * 10^exponent, digits without leading zeros
// (empty for zero).
struct ScannedDecimal {
    bool negative = false;
    std::string digits;
    std::int64_t exponent = 0;
};

// Exponents beyond this are clamped: far outside every range, and small enough for the sums
// below not to overflow.
constexpr std::int64_t kExponentClamp = 1000000000;

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<ScannedDecimal> ScanDecimal(const std::string& text, char decimalSeparator) {
    ScannedDecimal number;
    std::size_t pos = 0;
    const std::size_t size = text.size();
    while (pos < size && text[pos] == ' ') {
        ++pos;
    }
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) {
        number.negative = text[pos] == '-';
        ++pos;
    }
    bool anyDigit = false;
    bool afterSeparator = false;
    std::int64_t fractionDigits = 0;
    for (; pos < size; ++pos) {
        const char c = text[pos];
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (!(number.digits.empty() && c == '0')) {
                number.digits += c;
            }
            if (afterSeparator) {
                ++fractionDigits;
            }
        } else if (c == decimalSeparator && !afterSeparator) {
            afterSeparator = true;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    std::int64_t exponent = 0;
    if (pos < size && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < size && (text[pos] == '+' || text[pos] == '-')) {
            negativeExponent = text[pos] == '-';
            ++pos;
        }
        const std::size_t start = pos;
        for (; pos < size && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
            exponent = std::min(exponent * 10 + (text[pos] - '0'), kExponentClamp);
        }
        if (pos == start) {
            return std::nullopt;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    while (pos < size && text[pos] == ' ') {
        ++pos;
    }
    if (pos != size) {
        return std::nullopt;
    }
    number.exponent = exponent - fractionDigits;
    // Trailing zeros of the digits only move the exponent.
    while (!number.digits.empty() && number.digits.back() == '0') {
        number.digits.pop_back();
        ++number.exponent;
    }
    return number;
}

[[noreturn]] void ThrowInvalidFloat(const std::string& text) {
    throw ConvertError("'" + text + "' ist kein gültiger Gleitkommawert");
}

}  // namespace

std::int32_t StrToInt(const std::string& text) {
    const auto invalid = [&text]() -> ConvertError {
        return ConvertError("''" + text + "'' ist kein gültiger Integer-Wert");
    };
    std::size_t pos = 0;
    const std::size_t size = text.size();
    while (pos < size && text[pos] == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (pos < size && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) {
        base = 16;
        ++pos;
    } else if (pos + 1 < size && text[pos] == '0' &&
               (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos == size) {
        throw invalid();
    }
    // The magnitude saturates just above the range, so that a long run of digits is still
    // checked for a bad character before the range is judged.
    constexpr std::uint64_t kSaturated = std::uint64_t{1} << 32;
    std::uint64_t magnitude = 0;
    for (; pos < size; ++pos) {
        const int digit = HexDigitValue(text[pos]);
        if (digit < 0 || digit >= base) {
            throw invalid();
        }
        magnitude = std::min(
            magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit),
            kSaturated);
    }
    const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
    if (magnitude > limit) {
        ThrowRangeError();
    }
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                    : static_cast<std::int32_t>(magnitude);
}

double StrToFloat(const std::string& text) {
    const std::optional<ScannedDecimal> number =
        ScanDecimal(text, CurrentFormatSettings().decimalSeparator);
    if (!number) {
        ThrowInvalidFloat(text);
    }
    if (number->digits.empty()) {
        return number->negative ? -0.0 : 0.0;
    }
    // A double's range ends near 1.8E308 and 4.9E-324; far beyond, skip the conversion.
    const std::int64_t magnitude =
        number->exponent + static_cast<std::int64_t>(number->digits.size());
    if (magnitude > 400) {
        ThrowInvalidFloat(text);
    }
    if (magnitude < -400) {
        return number->negative ? -0.0 : 0.0;
    }
    const std::string canonical = number->digits + "e" + std::to_string(number->exponent);
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (magnitude > 0) {
            ThrowInvalidFloat(text);
        }
        value = 0.0;
    } else if (error != std::errc() || end != canonical.data() + canonical.size() ||
               std::isinf(value)) {
        ThrowInvalidFloat(text);
    }
    return number->negative ? -value : value;
}

Currency StrToCurr(const std::string& text, const std::string& sourceType) {
    const std::optional<ScannedDecimal> number =
        ScanDecimal(text, CurrentFormatSettings().decimalSeparator);
    if (!number) {
        ThrowInvalidFloat(text);
    }
    const std::string& digits = number->digits;
    if (digits.empty()) {
        return Currency{0};
    }
    // In ten-thousandths: digits * 10^(exponent + 4); whole part, then rounding by what is cut.
    const std::int64_t shift = number->exponent + 4;
    const std::int64_t wholeDigits = static_cast<std::int64_t>(digits.size()) + shift;
    if (wholeDigits > 19) {  // 19 digits still fit in 64 unsigned bits
        ThrowConversionOverflow(sourceType, "Currency");
    }
    std::uint64_t magnitude = 0;
    for (std::int64_t i = 0; i < wholeDigits; ++i) {
        const std::size_t index = static_cast<std::size_t>(i);
        const int digit = index < digits.size() ? digits[index] - '0' : 0;
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(digit);
    }
    if (wholeDigits >= 0 && static_cast<std::size_t>(wholeDigits) < digits.size()) {
        // The first dropped digit decides; an exact half goes to the even neighbour.
        const std::size_t first = static_cast<std::size_t>(wholeDigits);
        const char next = digits[first];
        const bool moreAfter = digits.size() > first + 1;  // no trailing zeros in digits
        if (next > '5' || (next == '5' && (moreAfter || magnitude % 2 != 0))) {
            ++magnitude;
        }
    } else if (wholeDigits < 0) {
        magnitude = 0;  // less than a tenth of a ten-thousandth
    }
    const std::uint64_t limit =
        number->negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    if (magnitude > limit) {
        ThrowConversionOverflow(sourceType, "Currency");
    }
    return Currency{number->negative ? static_cast<std::int64_t>(~magnitude + 1)
                                     : static_cast<std::int64_t>(magnitude)};
}

double StrToDate(const std::string& text) {
    const std::optional<double> date = ParseDate(text, CurrentFormatSettings());
    if (!date) {
        throw ConvertError("'" + text + "' ist kein gültiges Datum");
    }
    return *date;
}

std::string FloatToStr(double value) {
    return FormatGeneralFloat(value, CurrentFormatSettings().decimalSeparator);
}

std::string CurrToStr(Currency value) {
    return FormatCurrency(value, CurrentFormatSettings().decimalSeparator);
}

}  // namespace zav
