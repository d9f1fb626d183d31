#pragma once

#include "db/values/FormatSettings.h"

namespace zav::test {

// The regional formats of a German Windows installation.
inline FormatSettings GermanFormats() {
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

// The regional formats of an English (US) installation: FormatSettings' own defaults.
inline FormatSettings EnglishUSFormats() {
    return FormatSettings{};
}

// Puts the process-wide settings back as they were when it was made, on every way out of a scope.
class FormatSettingsRestorer {
public:
    FormatSettingsRestorer() : saved_(CurrentFormatSettings()) {}
    ~FormatSettingsRestorer() { CurrentFormatSettings() = saved_; }
    FormatSettingsRestorer(const FormatSettingsRestorer&) = delete;
    FormatSettingsRestorer& operator=(const FormatSettingsRestorer&) = delete;

private:
    FormatSettings saved_;
};

}  // namespace zav::test
