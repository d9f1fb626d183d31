#include "db/values/FormatSettings.h"

namespace zav {

FormatSettings FormatSettings::German() {
    FormatSettings de{',', ".", "dd.MM.yyyy", "hh:nn:ss"};
    // clang-format off
    de.shortMonthNames = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov",
                          "Dez"};
    de.longMonthNames = {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August",
                         "September", "Oktober", "November", "Dezember"};
    de.shortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    de.longDayNames = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
    // clang-format on
    return de;
}

FormatSettings FormatSettings::EnglishUS() {
    return FormatSettings{};
}

FormatSettings& CurrentFormatSettings() {
    static FormatSettings settings = ReadRegionalSettings();
    return settings;
}

void SetFormatSettings(const FormatSettings& settings) {
    CurrentFormatSettings() = settings;
}

}  // namespace zav
