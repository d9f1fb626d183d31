// The date parser: only its own error, and a parsed date that the short date format writes so
// that it reads back the same.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "db/values/Convert.h"
#include "db/values/DateTime.h"
#include "db/values/ValueErrors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zav::fuzz::TextInput input = zav::fuzz::SplitInput(data, size);
    zav::CurrentFormatSettings() = input.settings;
    double date = 0.0;
    try {
        date = zav::StrToDate(input.text);
    } catch (const zav::ConvertError& error) {
        if (!zav::fuzz::SameMessage(error.what(), "'" + input.text + "' ist kein gültiges Datum")) {
            zav::fuzz::Fail("unexpected message", error.what());
        }
        return 0;
    }
    if (date != static_cast<double>(static_cast<long long>(date))) {
        zav::fuzz::Fail("date with a time", input.text);
    }
    const std::string written =
        zav::FormatDateTime(input.settings.shortDateFormat, date, input.settings);
    const zav::DateTimeParts parts = zav::DecodeDateTime(date);
    // A format with a four-digit year names the date completely.
    if (input.settings.shortDateFormat.find("yyyy") != std::string::npos &&
        zav::StrToDate(written) != date) {
        zav::fuzz::Fail("date does not read back", input.text + " -> " + written);
    }
    if (parts.year < 1 || parts.year > 9999) {
        zav::fuzz::Fail("year out of range", input.text);
    }
    return 0;
}
