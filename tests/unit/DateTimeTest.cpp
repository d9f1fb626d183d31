#include <gtest/gtest.h>

#include "db/values/DateTime.h"
#include "db/values/ValueErrors.h"
#include "support/FormatSamples.h"

namespace zav {
namespace {

double At(int y, int m, int d, int hh = 0, int nn = 0, int ss = 0, int ms = 0) {
    return *TryEncodeDate(y, m, d) + EncodeTime(hh, nn, ss, ms);
}

TEST(DateTimeTest, EncodeAndDecodeAgree) {
    EXPECT_EQ(*TryEncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(*TryEncodeDate(1900, 3, 1), 61.0);
    EXPECT_EQ(*TryEncodeDate(2020, 3, 15), 43905.0);
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29));
    EXPECT_FALSE(TryEncodeDate(2021, 2, 29));
    EXPECT_TRUE(TryEncodeDate(2000, 2, 29));
    EXPECT_FALSE(TryEncodeDate(10000, 1, 1));
    // Every day of a few centuries survives the round trip.
    for (double day = -40000; day < 80000; day += 1) {
        const DateTimeParts p = DecodeDateTime(day);
        ASSERT_EQ(*TryEncodeDate(p.year, p.month, p.day), day);
    }
}

TEST(DateTimeTest, DecodeTakesTheFractionAsTimeAlsoBeforeTheEpoch) {
    DateTimeParts p = DecodeDateTime(-1.25);  // 1899-12-29 06:00
    EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 18991229);
    EXPECT_EQ(p.hour, 6);
    p = DecodeDateTime(1.5);
    EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 18991231);
    EXPECT_EQ(p.hour, 12);
    // Rounded to the millisecond: a hair before midnight is the next day.
    p = DecodeDateTime(43905.0 - 1e-10);
    EXPECT_EQ(p.day, 15);
    EXPECT_EQ(p.hour, 0);
    EXPECT_THROW(DecodeDateTime(2958466.0), ConvertError);
    EXPECT_THROW(DecodeDateTime(-693594.0), ConvertError);
    EXPECT_THROW(DecodeDateTime(std::numeric_limits<double>::quiet_NaN()), ConvertError);
}

TEST(DateTimeTest, FormatsWithTheGivenSettings) {
    const FormatSettings de = test::GermanFormats();
    const FormatSettings us = test::EnglishUSFormats();
    const double value = At(2020, 3, 5, 14, 7, 9, 45);
    EXPECT_EQ(FormatDateTime(de.shortDateFormat, value, de), "05.03.2020");
    EXPECT_EQ(FormatDateTime(de.longTimeFormat, value, de), "14:07:09");
    EXPECT_EQ(FormatDateTime(us.shortDateFormat, value, us), "3/5/2020");
    EXPECT_EQ(FormatDateTime(us.longTimeFormat, value, us), "2:07:09 PM");
    EXPECT_EQ(FormatDateTime(us.longTimeFormat, At(2020, 3, 5), us), "12:00:00 AM");
    EXPECT_EQ(FormatDateTime(us.longTimeFormat, At(2020, 3, 5, 12), us), "12:00:00 PM");
    EXPECT_EQ(FormatDateTime("yy/mm/dd hh:mm:ss.zzz", value, de), "20.03.05 14:07:09.045");
    EXPECT_EQ(FormatDateTime("d 'de' M", value, de), "5 de 3");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", value, de), "2:07 pm");
}

}  // namespace
}  // namespace zav
