// The date writer with any format and any date: it ends, refuses only a date outside the years 1
// to 9999, writes at most a name's length per format byte, and writes text it has no code for as
// it stands.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "db/values/DateTime.h"
#include "db/values/ValueErrors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) {
        return 0;
    }
    const zav::FormatSettings settings = zav::fuzz::SettingsFor(data[0]);
    double date = 0.0;
    std::memcpy(&date, data + 1, sizeof date);
    const std::string format(reinterpret_cast<const char*>(data) + 9, size - 9);
    std::string written;
    try {
        written = zav::FormatDateTime(format, date, settings);
    } catch (const zav::ConvertError&) {
        if (date > -693594.0 && date < 2958466.0) {
            zav::fuzz::Fail("date in range refused", format);
        }
        return 0;
    }
    if (written.size() > format.size() * 12) {
        zav::fuzz::Fail("written text too long", format);
    }
    std::string plain;
    for (char c : format) {
        const char lower = static_cast<char>(c | 0x20);
        if (!(lower >= 'a' && lower <= 'z') && c != '\'' && c != '"' && c != '/') {
            plain += c;
        }
    }
    if (zav::FormatDateTime(plain, date, settings) != plain) {
        zav::fuzz::Fail("plain text changed", plain);
    }
    return 0;
}
