#include "db/NumberFormat.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace zav {
namespace {

// A non-negative integer in base 10^9, least significant limb first; just enough arithmetic for
// the exact decimal digits of a double.
class BigDecimalInt {
public:
    explicit BigDecimalInt(std::uint64_t value) {
        do {
            limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
            value /= kBase;
        } while (value != 0);
    }

    void MultiplyBy(std::uint32_t factor) {  // factor < 2^32
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : limbs_) {
            const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }

    void MultiplyByPowerOf(std::uint32_t base, std::uint32_t chunk, int chunkExponent,
                           int exponent) {
        for (; exponent >= chunkExponent; exponent -= chunkExponent) {
            MultiplyBy(chunk);
        }
        std::uint32_t rest = 1;
        for (; exponent > 0; --exponent) {
            rest *= base;
        }
        MultiplyBy(rest);
    }

    std::string ToDigits() const {
        std::string text = std::to_string(limbs_.back());
        for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
            const std::string limb = std::to_string(limbs_[i]);
            text.append(9 - limb.size(), '0');
            text += limb;
        }
        return text;
    }

private:
    static constexpr std::uint64_t kBase = 1000000000;
    std::vector<std::uint32_t> limbs_;
};

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

// Rounds to 18 significant digits with exact halves to even, then to 15 where a sixteenth digit of
// 5 or more rounds up. The two steps are deliberate: a value just below a fifteen-digit half can
// round up at 18 digits first and so become a half.
void RoundToFifteenDigits(std::string& digits, int& exponent) {
    if (digits.size() > 18) {
        const char next = digits[18];
        bool up = next > '5';
        if (next == '5') {
            const bool moreAfterHalf = digits.find_first_not_of('0', 19) != std::string::npos;
            up = moreAfterHalf || (digits[17] - '0') % 2 != 0;
        }
        digits.resize(18);
        if (up) {
            IncrementDigits(digits, exponent);
        }
    }
    if (digits.size() > 15) {
        const bool up = digits[15] >= '5';
        digits.resize(15);
        if (up) {
            IncrementDigits(digits, exponent);
        }
    }
    StripTrailingZeros(digits);
}

}  // namespace

DecimalExpansion ExactDecimal(double finiteValue) {
    DecimalExpansion result;
    result.negative = std::signbit(finiteValue);
    if (finiteValue == 0.0) {
        return result;
    }
    int binaryExponent = 0;
    const double fraction = std::frexp(std::fabs(finiteValue), &binaryExponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    binaryExponent -= 53;  // value = mantissa * 2^binaryExponent

    BigDecimalInt number(mantissa);
    int decimalShift = 0;  // value = number / 10^decimalShift
    if (binaryExponent >= 0) {
        number.MultiplyByPowerOf(2, 1u << 29, 29, binaryExponent);
    } else {
        // m / 2^k = m * 5^k / 10^k
        number.MultiplyByPowerOf(5, 1220703125u, 13, -binaryExponent);
        decimalShift = -binaryExponent;
    }
    result.digits = number.ToDigits();
    result.exponent = static_cast<int>(result.digits.size()) - decimalShift;
    StripTrailingZeros(result.digits);
    return result;
}

std::string FormatGeneralFloat(double value, char decimalSeparator) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    DecimalExpansion decimal = ExactDecimal(value);
    if (decimal.digits.empty()) {
        return "0";  // negative zero too
    }
    RoundToFifteenDigits(decimal.digits, decimal.exponent);
    const std::string& d = decimal.digits;
    const int k = static_cast<int>(d.size());
    const int e = decimal.exponent;

    std::string out = decimal.negative ? "-" : "";
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
