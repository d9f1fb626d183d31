#pragma once

#include <string>

namespace zav {

// The user's regional conventions as the operating system reports them. Format strings use the
// letters d, M, y for the date and h/H, m/n, s for the time ("dd.MM.yyyy", "hh:nn:ss").
struct RegionalSettings {
    char decimalSeparator = '.';
    char dateSeparator = '/';
    std::string shortDateFormat = "M/d/yyyy";
    std::string longTimeFormat = "h:nn:ss AMPM";
};

// Implemented once per platform (platform/posix, platform/win32).
RegionalSettings ReadRegionalSettings();

}  // namespace zav
