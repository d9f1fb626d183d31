#include "platform/RegionalSettings.h"

#include <windows.h>

#include <string>

#include "platform/LocaleFormat.h"
#include "platform/win32/WinText.h"

namespace zav {
namespace {

// One entry of the user's locale as UTF-8, or empty when the system gives none.
std::string UserLocaleInfo(LCTYPE type) {
    const int needed = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring buffer(static_cast<std::size_t>(needed), L'\0');
    const int written = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer.data(), needed);
    if (written <= 0) {
        return {};
    }
    buffer.resize(static_cast<std::size_t>(written - 1));  // without the final null
    return win32::ToUtf8(buffer);
}

}  // namespace

FormatSettings ReadRegionalSettings() {
    FormatSettings settings;
    const std::string decimal = UserLocaleInfo(LOCALE_SDECIMAL);
    if (decimal.size() == 1) {  // one byte of UTF-8 is ASCII
        settings.decimalSeparator = decimal[0];
    }
    const std::string shortDate = DateFormatFromWindows(UserLocaleInfo(LOCALE_SSHORTDATE));
    if (!shortDate.empty()) {
        settings.shortDateFormat = shortDate;
    }
    const std::string dateSeparator = UserLocaleInfo(LOCALE_SDATE);
    settings.dateSeparator =
        !dateSeparator.empty() ? dateSeparator : DateSeparatorOf(settings.shortDateFormat, "/");
    const std::string longTime = TimeFormatFromWindows(UserLocaleInfo(LOCALE_STIMEFORMAT));
    if (!longTime.empty()) {
        settings.longTimeFormat = longTime;
    }
    // Windows counts the days from Monday.
    for (int i = 0; i < 12; ++i) {
        settings.shortMonthNames[i] = UserLocaleInfo(LOCALE_SABBREVMONTHNAME1 + i);
        settings.longMonthNames[i] = UserLocaleInfo(LOCALE_SMONTHNAME1 + i);
    }
    for (int i = 0; i < 7; ++i) {
        settings.shortDayNames[(i + 1) % 7] = UserLocaleInfo(LOCALE_SABBREVDAYNAME1 + i);
        settings.longDayNames[(i + 1) % 7] = UserLocaleInfo(LOCALE_SDAYNAME1 + i);
    }
    settings.amText = UserLocaleInfo(LOCALE_S1159);
    settings.pmText = UserLocaleInfo(LOCALE_S2359);
    return settings;
}

}  // namespace zav
