#include <gtest/gtest.h>

#include "platform/WindowsLocaleFormat.h"

namespace zav {
namespace {

struct FormatCase {
    const char* picture;
    const char* expected;
};

class DateFormatFromWindowsTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DateFormatFromWindowsTest, GivesLetterForm) {
    EXPECT_EQ(DateFormatFromWindows(GetParam().picture), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, DateFormatFromWindowsTest,
    ::testing::Values(FormatCase{"dd.MM.yyyy", "dd.MM.yyyy"}, FormatCase{"M/d/yyyy", "M/d/yyyy"},
                      FormatCase{"yyyy-MM-dd", "yyyy-MM-dd"},
                      // Japanese era calendars put the era first.
                      FormatCase{"gg y/M/d", "y/M/d"}, FormatCase{"d/M/yyyy gg", "d/M/yyyy"},
                      FormatCase{"dd'.'MM'.'yyyy", "dd.MM.yyyy"},
                      FormatCase{"d 'de' MMMM", "d de MMMM"}, FormatCase{"''yy", "'yy"},
                      FormatCase{"dd.MM.'yy", "dd.MM.yy"}, FormatCase{"'it''s' d", "it's d"},
                      FormatCase{"", ""}));

class TimeFormatFromWindowsTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(TimeFormatFromWindowsTest, GivesLetterForm) {
    EXPECT_EQ(TimeFormatFromWindows(GetParam().picture), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Pictures, TimeFormatFromWindowsTest,
                         ::testing::Values(FormatCase{"HH:mm:ss", "hh:nn:ss"},
                                           FormatCase{"H:mm:ss", "h:nn:ss"},
                                           FormatCase{"h:mm:ss tt", "h:nn:ss AMPM"},
                                           FormatCase{"tt hh:mm:ss", "AMPM hh:nn:ss"},
                                           FormatCase{"HH.mm.ss", "hh.nn.ss"},
                                           FormatCase{"H 'h' mm", "h h nn"},
                                           FormatCase{"HH:m:s", "hh:n:s"}, FormatCase{"", ""}));

TEST(DateSeparatorOfTest, TakesTheFirstCharacterThatIsNoDateLetter) {
    EXPECT_EQ(DateSeparatorOf("dd.MM.yyyy", '/'), '.');
    EXPECT_EQ(DateSeparatorOf("yyyy-MM-dd", '/'), '-');
    EXPECT_EQ(DateSeparatorOf("ddMMyyyy", '/'), '/');
}

}  // namespace
}  // namespace zav
