#include "platform/RegionalSettings.h"

#include <langinfo.h>

#include <clocale>
#include <memory>
#include <optional>
#include <string>

#include "platform/LocaleFormat.h"

namespace zav {
namespace {

struct LocaleDeleter {
    void operator()(locale_t locale) const { freelocale(locale); }
};

// Unknown codes give a numeric format that every reader understands instead of a wrong one.
std::string LetterForm(locale_t locale, nl_item item, const char* fallback) {
    const std::optional<std::string> format = FormatFromStrftime(nl_langinfo_l(item, locale));
    return format && !format->empty() ? *format : fallback;
}

}  // namespace

FormatSettings ReadRegionalSettings() {
    FormatSettings settings;
    // Read the user's conventions without changing the process locale for anyone else.
    const std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter> user(
        newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0)));
    if (!user) {
        return settings;
    }
    const auto text = [&user](nl_item item) {
        return std::string(nl_langinfo_l(item, user.get()));
    };
    const std::string decimal = text(RADIXCHAR);
    if (decimal.size() == 1) {
        settings.decimalSeparator = decimal[0];
    }
    settings.shortDateFormat = LetterForm(user.get(), D_FMT, "yyyy-MM-dd");
    settings.dateSeparator = DateSeparatorOf(settings.shortDateFormat, "-");
    settings.longTimeFormat = LetterForm(user.get(), T_FMT, "hh:nn:ss");
    for (int i = 0; i < 12; ++i) {
        settings.shortMonthNames[i] = text(ABMON_1 + i);
        settings.longMonthNames[i] = text(MON_1 + i);
    }
    for (int i = 0; i < 7; ++i) {
        settings.shortDayNames[i] = text(ABDAY_1 + i);
        settings.longDayNames[i] = text(DAY_1 + i);
    }
    settings.amText = text(AM_STR);
    settings.pmText = text(PM_STR);
    return settings;
}

}  // namespace zav
