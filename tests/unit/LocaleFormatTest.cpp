#include <gtest/gtest.h>

#include "platform/LocaleFormat.h"

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
                      // Literal text stays quoted, so the writer takes no letter of it for a code.
                      FormatCase{"dd'.'MM'.'yyyy", "dd'.'MM'.'yyyy"},
                      FormatCase{"d 'de' MMMM", "d' de 'MMMM"}, FormatCase{"''yy", "''\"'\"''yy"},
                      FormatCase{"dd.MM.'yy", "dd.MM'.yy'"},
                      FormatCase{"'it''s' d", "'it'\"'\"'s 'd"},
                      FormatCase{"d.M.yyyy \xd0\xb3.", "d.M.yyyy \xd0\xb3."},
                      FormatCase{"dddd, d. MMMM yyyy h", "dddd, d. MMMM yyyy' h'"},
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
                                           FormatCase{"H 'h' mm", "h' h 'nn"},
                                           FormatCase{"t h:mm", "A/P h:nn"},
                                           FormatCase{"HH:m:s", "hh:n:s"}, FormatCase{"", ""}));

class FormatFromStrftimeTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatFromStrftimeTest, GivesLetterForm) {
    EXPECT_EQ(FormatFromStrftime(GetParam().picture).value_or("(none)"), GetParam().expected);
}

// Formats glibc locales use; a code without a counterpart gives nothing, so the reader falls back.
INSTANTIATE_TEST_SUITE_P(
    Formats, FormatFromStrftimeTest,
    ::testing::Values(
        FormatCase{"%d.%m.%Y", "dd.MM.yyyy"}, FormatCase{"%e.%m.%Y", "d.MM.yyyy"},
        FormatCase{"%k:%M:%S", "h:nn:ss"}, FormatCase{"%l:%M:%S %p", "h:nn:ss AMPM"},
        FormatCase{"%r", "hh:nn:ss AMPM"}, FormatCase{"%a %d %b %Y", "ddd dd MMM yyyy"},
        FormatCase{"%A %-d %B", "dddd d MMMM"}, FormatCase{"kl. %H.%M", "'kl. 'hh.nn"},
        FormatCase{"%Y\xe5\xb9\xb4%m\xe6\x9c\x88", "yyyy\xe5\xb9\xb4MM\xe6\x9c\x88"},
        FormatCase{"%a, %Y.eko %bren", "ddd, yyyy'.eko 'MMM'ren'"}, FormatCase{"%OC%Oy", "(none)"},
        FormatCase{"%H.%M %z", "(none)"}, FormatCase{"%", "%"}));

TEST(DateSeparatorOfTest, TakesTheTextBetweenTheFirstTwoFields) {
    EXPECT_EQ(DateSeparatorOf("dd.MM.yyyy", "/"), ".");
    EXPECT_EQ(DateSeparatorOf("yyyy-MM-dd", "/"), "-");
    EXPECT_EQ(DateSeparatorOf("yyyy\xe5\xb9\xb4MM\xe6\x9c\x88", "/"), "\xe5\xb9\xb4");
    EXPECT_EQ(DateSeparatorOf("dd'.'MM'.'yyyy", "/"), ".");
    EXPECT_EQ(DateSeparatorOf("ddMMyyyy", "/"), "/");
    EXPECT_EQ(DateSeparatorOf("yyyy", "/"), "/");
}

}  // namespace
}  // namespace zav
