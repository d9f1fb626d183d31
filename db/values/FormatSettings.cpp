#include "db/values/FormatSettings.h"

namespace zav {

FormatSettings& CurrentFormatSettings() {
    static FormatSettings settings = ReadRegionalSettings();
    return settings;
}

}  // namespace zav
