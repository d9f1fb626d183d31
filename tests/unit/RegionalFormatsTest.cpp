#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <future>
#include <optional>
#include <string>
#include <thread>

#include "db/values/Convert.h"
#include "db/values/DateTime.h"
#include "db/values/FormatSettings.h"
#include "db/values/SqlUtils.h"
#include "platform/LocaleFormat.h"
#include "support/FormatSamples.h"

namespace zav {
namespace {

double At(int y, int m, int d, int hh = 0, int nn = 0, int ss = 0) {
    return *TryEncodeDate(y, m, d) + EncodeTime(hh, nn, ss, 0);
}

// The literal under a time limit: a format that makes the writer loop fails instead of blocking.
std::optional<std::string> SqlDateTimeWithin(double value, std::chrono::seconds limit) {
    std::packaged_task<std::string()> task([value] { return SqlDateTime(value); });
    std::future<std::string> text = task.get_future();
    std::thread(std::move(task)).detach();
    if (text.wait_for(limit) != std::future_status::ready) {
        return std::nullopt;  // the thread is left to the end of the process
    }
    return text.get();
}

struct RegionalCase {
    const char* region;
    const char* datePicture;  // as Windows reports them
    const char* timePicture;
    const char* dateSeparator;
    const char* am;
    const char* pm;
    const char* afternoon;    // 15 March 2020, 14:05:09
    const char* beforeEpoch;  // -1.25: 29 December 1899, 06:00
};

class RegionalFormatsTest : public ::testing::TestWithParam<RegionalCase> {
protected:
    test::FormatSettingsRestorer restore_;
};

TEST_P(RegionalFormatsTest, WritesDateAndTimeAsTheRegionDoes) {
    const RegionalCase& c = GetParam();
    FormatSettings settings;
    settings.shortDateFormat = DateFormatFromWindows(c.datePicture);
    settings.longTimeFormat = TimeFormatFromWindows(c.timePicture);
    settings.dateSeparator = c.dateSeparator;
    settings.amText = c.am;
    settings.pmText = c.pm;
    settings.longMonthNames[2] = "marzo";
    settings.longMonthNames[11] = "diciembre";
    CurrentFormatSettings() = settings;
    EXPECT_EQ(SqlDateTimeWithin(At(2020, 3, 15, 14, 5, 9), std::chrono::seconds(10)), c.afternoon)
        << c.region;
    EXPECT_EQ(SqlDateTimeWithin(-1.25, std::chrono::seconds(10)), c.beforeEpoch) << c.region;
}

INSTANTIATE_TEST_SUITE_P(
    Regions, RegionalFormatsTest,
    ::testing::Values(
        RegionalCase{"Japanese", "yyyy\u5e74MM\u6708dd\u65e5", "tt h:mm:ss", "/", "\u5348\u524d",
                     "\u5348\u5f8c", "'2020\u5e7403\u670815\u65e5 \u5348\u5f8c 2:05:09'",
                     "'1899\u5e7412\u670829\u65e5 \u5348\u524d 6:00:00'"},
        RegionalCase{"Bulgarian", "d.M.yyyy '\u0433.'", "H:mm:ss '\u0447.'", ".", "", "",
                     "'15.3.2020 \u0433. 14:05:09 \u0447.'",
                     "'29.12.1899 \u0433. 6:00:00 \u0447.'"},
        RegionalCase{"French Canadian", "yyyy-MM-dd", "HH 'h' mm 'min' ss 's'", "-", "a.m.", "p.m.",
                     "'2020-03-15 14 h 05 min 09 s'", "'1899-12-29 06 h 00 min 00 s'"},
        RegionalCase{"Spanish", "d 'de' MMMM 'de' yyyy", "H:mm:ss", "/", "a. m.", "p. m.",
                     "'15 de marzo de 2020 14:05:09'", "'29 de diciembre de 1899 6:00:00'"},
        RegionalCase{"US", "M/d/yyyy", "h:mm:ss tt", "/", "AM", "PM", "'3/15/2020 2:05:09 PM'",
                     "'12/29/1899 6:00:00 AM'"},
        RegionalCase{"US names", "ddd, dd-MMM-yy", "h:mm t", "/", "AM", "PM",
                     "'Sun, 15-Mar-20 2:05 P'", "'Fri, 29-Dec-99 6:00 A'"},
        RegionalCase{"German", "dd.MM.yyyy", "HH:mm:ss", ".", "", "", "'15.03.2020 14:05:09'",
                     "'29.12.1899 06:00:00'"}));

// Bytes of any value, quotes left open and letters the writer does not know all come out as
// written, and the writer ends.
TEST(DateWriterTest, WritesWhatItDoesNotKnowAsItStands) {
    const FormatSettings de = test::GermanFormats();
    const double value = At(2020, 3, 15, 14, 5, 9);
    EXPECT_EQ(FormatDateTime("\xff\x80 d", value, de), "\xff\x80 15");
    EXPECT_EQ(FormatDateTime("gkq 'h", value, de), "gkq h");
    EXPECT_EQ(FormatDateTime("dddd d. MMMM", value, de), "Sonntag 15. März");
    EXPECT_EQ(FormatDateTime("\"'\"hh'\"'", value, de), "'14\"");
    EXPECT_EQ(FormatDateTime("hh 'am/pm'", value, de), "14 am/pm");
}

// Before the epoch the day is cut toward zero first; a fraction that rounds up to a whole day
// stays on that day.
TEST(DateWriterTest, NegativeDateNearAWholeDayKeepsItsDay) {
    const FormatSettings de = test::GermanFormats();
    EXPECT_EQ(FormatDateTime("dd.MM.yyyy hh:nn:ss.zzz", -0.99999999999, de),
              "30.12.1899 23:59:59.999");
    EXPECT_EQ(FormatDateTime("dd.MM.yyyy hh:nn", -1.5, de), "29.12.1899 12:00");
}

// The reader on installed glibc locales (package locales-all); it reads the locale the environment
// names.
class PosixRegionalSettingsTest : public ::testing::Test {
protected:
    ~PosixRegionalSettingsTest() override {
        saved_ ? setenv("LC_ALL", saved_->c_str(), 1) : unsetenv("LC_ALL");
    }

    static FormatSettings Read(const char* locale) {
        locale_t installed = newlocale(LC_ALL_MASK, locale, static_cast<locale_t>(0));
        EXPECT_NE(installed, static_cast<locale_t>(0)) << locale << " is not installed";
        if (installed != static_cast<locale_t>(0)) {
            freelocale(installed);
        }
        setenv("LC_ALL", locale, 1);
        return ReadRegionalSettings();
    }

    const char* current_ = std::getenv("LC_ALL");
    std::optional<std::string> saved_ =
        current_ ? std::optional<std::string>(current_) : std::nullopt;
    test::FormatSettingsRestorer restore_;
};

TEST_F(PosixRegionalSettingsTest, ReadsTheLocalesFormatsAndNames) {
    const double value = At(2020, 3, 15, 14, 5, 9);
    FormatSettings bg = Read("bg_BG.UTF-8");
    EXPECT_EQ(bg.decimalSeparator, ',');
    CurrentFormatSettings() = bg;
    EXPECT_EQ(SqlDateTime(value), "'15.03.2020 14:05:09'");
    EXPECT_EQ(FormatDateTime("MMMM", value, bg), "\u043c\u0430\u0440\u0442");

    FormatSettings ja = Read("ja_JP.UTF-8");
    EXPECT_EQ(ja.dateSeparator, "\u5e74");
    CurrentFormatSettings() = ja;
    EXPECT_EQ(SqlDateTime(value), "'2020\u5e7403\u670815\u65e5 14\u664205\u520609\u79d2'");
    EXPECT_EQ(StrToDate("2020\u5e743\u5e7415"), value - EncodeTime(14, 5, 9, 0));

    CurrentFormatSettings() = Read("en_US.UTF-8");
    EXPECT_EQ(SqlDateTime(value), "'03/15/2020 02:05:09 PM'");
}

}  // namespace
}  // namespace zav
