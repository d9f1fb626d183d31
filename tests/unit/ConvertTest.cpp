#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ExpectError.h"
#include "db/values/Convert.h"
#include "db/values/FormatSettings.h"
#include "db/values/ValueErrors.h"
#include "support/FormatSamples.h"

namespace zav {
namespace {

using test::ThrowsWithMessage;

class ConvertTest : public ::testing::Test {
protected:
    test::FormatSettingsRestorer restore_;
    void SetUp() override { CurrentFormatSettings() = test::GermanFormats(); }
};

TEST_F(ConvertTest, StrToIntAcceptsDecimalAndHex) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"12", 12},
        {"  12", 12},
        {"-12", -12},
        {"+7", 7},
        {"007", 7},
        {"$1A", 26},
        {"x1a", 26},
        {"X1A", 26},
        {"0x1A", 26},
        {"0XfF", 255},
        {"-$10", -16},
        {"0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"$7FFFFFFF", 2147483647},
        {"-0x80000000", std::numeric_limits<std::int32_t>::min()},
        {"00000000000000000000042", 42},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
    }
}

TEST_F(ConvertTest, StrToIntRefusesAnythingElse) {
    for (const char* text : {"", " ", "12 ", "12.5", "1,5", "- 1", "abc", "$", "0x", "x", "--1",
                             "1e3", "$G", "12a", "\t12", "0x-1", "99999999999999999999z"}) {
        EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
            [&] { StrToInt(text); },
            std::string("''") + text + "'' ist kein gültiger Integer-Wert"))
            << text;
    }
}

TEST_F(ConvertTest, StrToIntRangeError) {
    for (const char* text :
         {"2147483648", "-2147483649", "$80000000", "0xFFFFFFFF", "99999999999999999999999"}) {
        EXPECT_TRUE(
            ThrowsWithMessage<RangeError>([&] { StrToInt(text); }, "Fehler bei Bereichsprüfung"))
            << text;
    }
}

TEST_F(ConvertTest, StrToFloatUsesTheDecimalSeparator) {
    EXPECT_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_EQ(StrToFloat("  -1,5e3  "), -1500.0);
    EXPECT_EQ(StrToFloat(",5"), 0.5);
    EXPECT_EQ(StrToFloat("5,"), 5.0);
    EXPECT_EQ(StrToFloat("1E-2"), 0.01);
    EXPECT_EQ(StrToFloat("0,1"), 0.1);
    EXPECT_EQ(StrToFloat("1e-400"), 0.0);
    EXPECT_TRUE(std::signbit(StrToFloat("-0")));
    EXPECT_EQ(StrToFloat("1,7976931348623157e308"), std::numeric_limits<double>::max());
    // Correctly rounded even from many digits.
    EXPECT_EQ(StrToFloat("0,1000000000000000055511151231257827021181583404541015625"), 0.1);

    CurrentFormatSettings() = test::EnglishUSFormats();
    EXPECT_EQ(StrToFloat("1.5"), 1.5);
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>([] { StrToFloat("1,5"); },
                                                "'1,5' ist kein gültiger Gleitkommawert"));
}

TEST_F(ConvertTest, StrToFloatRefusesBadText) {
    for (const char* text : {"", "   ", ",", "1,5,", "1.5", "1e", "1e+", "e5", "1 000", "--1",
                             "INF", "NAN", "1e400", "0x10", "1,5x", "\t1"}) {
        EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
            [&] { StrToFloat(text); },
            std::string("'") + text + "' ist kein gültiger Gleitkommawert"))
            << text;
    }
}

TEST_F(ConvertTest, StrToCurrRoundsToFourPlacesExactly) {
    const struct {
        const char* text;
        std::int64_t units;
    } cases[] = {
        {"1,5", 15000},
        {"-0,0001", -1},
        {"0,00005", 0},  // exact half: to even
        {"0,00015", 2},  // exact half: to even
        {"0,000150001", 2},
        {"0,00014999", 1},
        {"-0,00025", -2},
        {"1e-20", 0},
        {"12,5E2", 12500000},
        {"922337203685477,5807", std::numeric_limits<std::int64_t>::max()},
        {"-922337203685477,5808", std::numeric_limits<std::int64_t>::min()},
        {"922337203685477,58074", std::numeric_limits<std::int64_t>::max()},
        {"0000000000000000000000001", 10000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToCurr(c.text).units, c.units) << c.text;
    }
}

TEST_F(ConvertTest, StrToCurrErrors) {
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>([] { StrToCurr("1.5"); },
                                                "'1.5' ist kein gültiger Gleitkommawert"));
    const std::string overflow =
        "Überlauf bei der Konvertierung einer Variante vom Typ (UnicodeString) in Typ (Currency)";
    for (const char* text : {"922337203685477,5808", "922337203685477,58075", "1e20",
                             "-922337203685477,5809", "1e999999999999"}) {
        EXPECT_TRUE(ThrowsWithMessage<ConvertError>([&] { StrToCurr(text); }, overflow)) << text;
    }
}

TEST_F(ConvertTest, StrToDateFollowsTheShortDateFormat) {
    EXPECT_EQ(StrToDate("15.03.2020"), 43905.0);
    EXPECT_EQ(StrToDate(" 1.3.2020 "), 43891.0);
    EXPECT_EQ(StrToDate("30.12.1899"), 0.0);
    EXPECT_EQ(StrToDate("29.02.2020"), 43890.0);
    EXPECT_EQ(StrToDate("15.03.20"), 43905.0);
    EXPECT_EQ(StrToDate("01.01.0001"), -693593.0);
    EXPECT_EQ(StrToDate("31.12.9999"), 2958465.0);
    CurrentFormatSettings() = test::EnglishUSFormats();
    EXPECT_EQ(StrToDate("3/15/2020"), 43905.0);
    FormatSettings iso{'.', "-", "yyyy-MM-dd", "hh:nn:ss"};
    CurrentFormatSettings() = iso;
    EXPECT_EQ(StrToDate("2020-03-15"), 43905.0);
}

TEST_F(ConvertTest, StrToDateRefusesBadText) {
    for (const char* text :
         {"", "15.03", "15.03.2020.", "29.02.2019", "32.01.2020", "15/03/2020", "15.13.2020",
          "0.1.2020", "15.03.2020 14:30", "a.b.c", "15.03.10000", "1.1.0000"}) {
        EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
            [&] { StrToDate(text); }, std::string("'") + text + "' ist kein gültiges Datum"))
            << text;
    }
}

}  // namespace
}  // namespace zav
