#include "db/values/FormatSettings.h"

namespace zav {

FormatSettings& CurrentFormatSettings() {
    static FormatSettings settings = ReadRegionalSettings();
    return settings;
}

void SetFormatSettings(const FormatSettings& settings) {
    CurrentFormatSettings() = settings;
}

}  // namespace zav
