#include "db/values/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace zav {
namespace {

// Adds one unit in the last place of a digit string; a carry out of the first digit gives "1"
// and raises the exponent.
void IncrementDigits(std::string& digits, int& exponent) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    ++exponent;
}

void StripTrailingZeros(std::string& digits) {
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
}

}  // namespace

std::string FormatGeneralFloat(double value, char decimalSeparator) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    if (value == 0.0) {
        return "0";  // negative zero too
    }
    // 18 significant digits, exact with a half to even: d.ddddddddddddddddde+x. Then 15, where a
    // sixteenth digit of 5 or more rounds up. The two steps are deliberate: a value just below a
    // fifteen-digit half can round up at 18 digits first and so become a half.
    char buffer[32];
    char* end = std::to_chars(buffer, buffer + sizeof buffer - 1, std::fabs(value),
                              std::chars_format::scientific, 17)
                    .ptr;
    *end = '\0';
    std::string d(buffer, 1);
    d.append(buffer + 2, 14);
    int e = std::atoi(buffer + 20) + 1;  // value = 0.d * 10^e
    if (buffer[16] >= '5') {
        IncrementDigits(d, e);
    }
    StripTrailingZeros(d);
    const int k = static_cast<int>(d.size());

    std::string out = std::signbit(value) ? "-" : "";
    if (e > 15 || e < -3) {
        out += d[0];
        if (k > 1) {
            out += decimalSeparator;
            out.append(d, 1, std::string::npos);
        }
        out += 'E';
        const int shown = e - 1;
        if (shown < 0) {
            out += '-';
        }
        out += std::to_string(shown < 0 ? -shown : shown);
    } else if (e > 0) {
        if (k <= e) {
            out += d;
            out.append(static_cast<std::size_t>(e - k), '0');
        } else {
            out.append(d, 0, static_cast<std::size_t>(e));
            out += decimalSeparator;
            out.append(d, static_cast<std::size_t>(e), std::string::npos);
        }
    } else {
        out += '0';
        out += decimalSeparator;
        out.append(static_cast<std::size_t>(-e), '0');
        out += d;
    }
    return out;
}

std::string FormatCurrency(Currency value, char decimalSeparator) {
    // Unsigned magnitude, so that the most negative amount has one too.
    const bool negative = value.units < 0;
    const std::uint64_t magnitude = negative ? ~static_cast<std::uint64_t>(value.units) + 1
                                             : static_cast<std::uint64_t>(value.units);
    const std::uint64_t whole = magnitude / Currency::kUnitsPerOne;
    const std::uint64_t fraction = magnitude % Currency::kUnitsPerOne;
    std::string out = negative ? "-" : "";
    out += std::to_string(whole);
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        StripTrailingZeros(digits);
        out += decimalSeparator;
        out += digits;
    }
    return out;
}

}  // namespace zav
