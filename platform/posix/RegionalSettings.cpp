#include "platform/RegionalSettings.h"

#include <clocale>
#include <langinfo.h>

#include <string>

namespace zav {
namespace {

// Turns a C library format ("%d.%m.%Y", "%H:%M:%S") into the letter form of RegionalSettings.
std::string FromStrftimeFormat(const std::string& format) {
    std::string result;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            result += format[i];
            continue;
        }
        switch (format[++i]) {
            case 'd': result += "dd"; break;
            case 'e': result += "d"; break;
            case 'm': result += "MM"; break;
            case 'y': result += "yy"; break;
            case 'Y': result += "yyyy"; break;
            case 'H': result += "hh"; break;
            case 'I': result += "hh"; break;
            case 'M': result += "nn"; break;
            case 'S': result += "ss"; break;
            case 'p': result += "AMPM"; break;
            case 'D': result += "MM/dd/yy"; break;
            case 'T': result += "hh:nn:ss"; break;
            case 'r': result += "hh:nn:ss AMPM"; break;
            case '%': result += '%'; break;
            default: break;
        }
    }
    return result;
}

char FirstSeparator(const std::string& dateFormat) {
    for (char c : dateFormat) {
        if (c != 'd' && c != 'M' && c != 'y') {
            return c;
        }
    }
    return '/';
}

}  // namespace

RegionalSettings ReadRegionalSettings() {
    RegionalSettings settings;
    // Read the user's conventions without changing the process locale for anyone else.
    locale_t user = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0)) {
        return settings;
    }
    const char* decimal = nl_langinfo_l(RADIXCHAR, user);
    if (decimal != nullptr && decimal[0] != '\0' && decimal[1] == '\0') {
        settings.decimalSeparator = decimal[0];
    }
    const std::string dateFormat = FromStrftimeFormat(nl_langinfo_l(D_FMT, user));
    if (!dateFormat.empty()) {
        settings.shortDateFormat = dateFormat;
        settings.dateSeparator = FirstSeparator(dateFormat);
    }
    const std::string timeFormat = FromStrftimeFormat(nl_langinfo_l(T_FMT, user));
    if (!timeFormat.empty()) {
        settings.longTimeFormat = timeFormat;
    }
    freelocale(user);
    return settings;
}

}  // namespace zav
