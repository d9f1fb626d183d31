#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "db/values/FormatSettings.h"
#include "db/values/NumberFormat.h"
#include "db/values/SqlUtils.h"
#include "support/FormatSamples.h"

namespace zav {
namespace {

TEST(NumberFormatTest, GeneralFloatExamples) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {-2.5, "-2.5"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {999999999999999.0, "999999999999999"},
        {9999999999999999.0, "1E16"},
        {999999999999999.4, "999999999999999"},
        {999999999999999.5, "1E15"},
        {1.5e20, "1.5E20"},
        {0.0001, "0.0001"},
        {0.00001234, "1.234E-5"},
        {0.001, "0.001"},
        {0.00099999999999999999, "0.001"},
        {-0.0001, "-0.0001"},
        {0.00001, "1E-5"},
        {100.0, "100"},
        {1e-300, "1E-300"},
        {-1.7976931348623157e308, "-1.79769313486232E308"},
        {4.9406564584124654e-324, "4.94065645841247E-324"},
        {2.2250738585072014e-308, "2.2250738585072E-308"},
        {0.0, "0"},
        {-0.0, "0"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {-std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {static_cast<double>(0.1f), "0.100000001490116"},
        // 0.62840565848307849972... lies just below its 15-digit half; at 18 digits it becomes
        // 0.628405658483078500, a half, which then rounds up.
        {0.6284056584830785, "0.628405658483079"},
        {0.1234567890123455, "0.123456789012345"},  // ...45496958...: stays below
        {1.0000000000000002, "1"},
        {12345.678, "12345.678"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatGeneralFloat(c.value, '.'), c.text) << c.text;
    }
    EXPECT_EQ(FormatGeneralFloat(-1.25e-7, ','), "-1,25E-7");
}

// An independent rendering: the C library's exact 18-digit scientific form, then the fifteen-digit
// step in integer arithmetic and the layout rules.
std::string Reference(double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17e", std::fabs(value));  // d.ddddddddddddddddde+X
    std::string mantissa(buffer, 1);
    mantissa.append(buffer + 2, 17);
    int exponent = std::atoi(std::strchr(buffer, 'e') + 1) + 1;  // value = 0.mantissa * 10^exponent
    unsigned long long digits18 = std::stoull(mantissa);
    unsigned long long digits15 = digits18 / 1000 + (digits18 % 1000 >= 500 ? 1 : 0);
    if (digits15 == 1000000000000000ULL) {
        digits15 /= 10;
        ++exponent;
    }
    std::string d = std::to_string(digits15);
    while (d.back() == '0')
        d.pop_back();
    const int k = static_cast<int>(d.size());
    std::string out = value < 0 ? "-" : "";
    if (exponent > 15 || exponent < -3) {
        out +=
            d.substr(0, 1) + (k > 1 ? "." + d.substr(1) : "") + "E" + std::to_string(exponent - 1);
    } else if (exponent > 0) {
        out += k <= exponent ? d + std::string(exponent - k, '0')
                             : d.substr(0, exponent) + "." + d.substr(exponent);
    } else {
        out += "0." + std::string(-exponent, '0') + d;
    }
    return out;
}

// The random comparisons go through SqlFloat under settings with a decimal comma, so they also
// check that the point is used.
class SqlFloatReferenceTest : public ::testing::Test {
protected:
    test::FormatSettingsRestorer restore_;
    void SetUp() override { CurrentFormatSettings() = test::GermanFormats(); }
};

TEST_F(SqlFloatReferenceTest, RandomBitPatterns) {
    std::mt19937_64 random(20200315);
    for (int i = 0; i < 40000; ++i) {
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        ASSERT_EQ(SqlFloat(value), Reference(value)) << bits;
    }
}

TEST_F(SqlFloatReferenceTest, NearRoundingHalves) {
    // Decimal numbers with a 5 in the sixteenth or nineteenth digit, read back as doubles: they
    // land just above or below the halves that both rounding steps decide.
    std::mt19937_64 random(43905);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-8, 22);
    for (int i = 0; i < 40000; ++i) {
        std::string text = std::to_string(1 + digit(random) % 9) + ".";
        const int halfAt = i % 2 == 0 ? 15 : 18;
        for (int n = 1; n < halfAt; ++n)
            text += static_cast<char>('0' + digit(random));
        text += '5';
        if (i % 3 == 0)
            text += static_cast<char>('0' + digit(random));
        text += "e" + std::to_string(exponent(random));
        const double value = std::strtod(text.c_str(), nullptr) * (i % 5 == 0 ? -1 : 1);
        ASSERT_EQ(SqlFloat(value), Reference(value)) << text;
    }
}

TEST_F(SqlFloatReferenceTest, AroundNotationBoundaries) {
    for (double boundary : {1e15, 1e16, 1e-4, 1e-3, 1e-5, 1.0}) {
        double value = boundary;
        for (int step = 0; step < 2000; ++step)
            value = std::nextafter(value, 0.0);
        for (int step = 0; step < 4000; ++step) {
            ASSERT_EQ(SqlFloat(value), Reference(value)) << value;
            value = std::nextafter(value, std::numeric_limits<double>::infinity());
        }
    }
}

TEST(NumberFormatTest, CurrencyExactWithoutExponent) {
    const struct {
        std::int64_t units;
        const char* text;
    } cases[] = {
        {125000, "12.5"},
        {1000000, "100"},
        {0, "0"},
        {-1, "-0.0001"},
        {5000, "0.5"},
        {-10, "-0.001"},
        {std::numeric_limits<std::int64_t>::max(), "922337203685477.5807"},
        {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatCurrency(Currency{c.units}, '.'), c.text);
    }
    EXPECT_EQ(FormatCurrency(Currency{-15000}, ','), "-1,5");

    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const auto units = static_cast<std::int64_t>((random() >> 1) >> (random() % 63));
        const std::int64_t signedUnits = i % 2 == 0 ? units : -units;
        // Reference: the digits of the magnitude with the point put in by position.
        std::string digits = std::to_string(units);
        if (digits.size() < 5)
            digits.insert(0, 5 - digits.size(), '0');
        std::string expected =
            digits.substr(0, digits.size() - 4) + "." + digits.substr(digits.size() - 4);
        while (expected.back() == '0')
            expected.pop_back();
        if (expected.back() == '.')
            expected.pop_back();
        if (signedUnits < 0)
            expected.insert(0, "-");
        ASSERT_EQ(FormatCurrency(Currency{signedUnits}, '.'), expected) << signedUnits;
    }
}

}  // namespace
}  // namespace zav
