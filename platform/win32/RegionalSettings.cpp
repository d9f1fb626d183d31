#include "platform/RegionalSettings.h"

#include <windows.h>

#include <string>

#include "platform/WindowsLocaleFormat.h"
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

// A separator the program can hold in one char; anything longer or outside ASCII is left out.
bool SingleAsciiChar(const std::string& text) {
    return text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80;
}

}  // namespace

RegionalSettings ReadRegionalSettings() {
    RegionalSettings settings;
    const std::string decimal = UserLocaleInfo(LOCALE_SDECIMAL);
    if (SingleAsciiChar(decimal)) {
        settings.decimalSeparator = decimal[0];
    }
    const std::string shortDate = DateFormatFromWindows(UserLocaleInfo(LOCALE_SSHORTDATE));
    if (!shortDate.empty()) {
        settings.shortDateFormat = shortDate;
    }
    const std::string dateSeparator = UserLocaleInfo(LOCALE_SDATE);
    settings.dateSeparator = SingleAsciiChar(dateSeparator)
                                 ? dateSeparator[0]
                                 : DateSeparatorOf(settings.shortDateFormat, '/');
    const std::string longTime = TimeFormatFromWindows(UserLocaleInfo(LOCALE_STIMEFORMAT));
    if (!longTime.empty()) {
        settings.longTimeFormat = longTime;
    }
    return settings;
}

}  // namespace zav
