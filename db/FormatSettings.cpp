#include "db/FormatSettings.h"

namespace zav {

FormatSettings FormatSettings::German() {
    return FormatSettings{',', '.', "dd.MM.yyyy", "hh:nn:ss"};
}

FormatSettings FormatSettings::EnglishUS() {
    return FormatSettings{'.', '/', "M/d/yyyy", "h:nn:ss AMPM"};
}

FormatSettings FormatSettings::FromRegional(const RegionalSettings& regional) {
    return FormatSettings{regional.decimalSeparator, regional.dateSeparator,
                          regional.shortDateFormat, regional.longTimeFormat};
}

FormatSettings& CurrentFormatSettings() {
    static FormatSettings settings = FormatSettings::FromRegional(ReadRegionalSettings());
    return settings;
}

void SetFormatSettings(const FormatSettings& settings) {
    CurrentFormatSettings() = settings;
}

}  // namespace zav
