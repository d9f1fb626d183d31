// The floating-point parser: only its own error; a parsed value survives being written as a
// literal and read back to fifteen digits.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "db/values/Convert.h"
#include "db/values/SqlUtils.h"
#include "db/values/ValueErrors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zav::fuzz::TextInput input = zav::fuzz::SplitInput(data, size);
    zav::CurrentFormatSettings() = input.settings;
    double value = 0.0;
    try {
        value = zav::StrToFloat(input.text);
    } catch (const zav::ConvertError& error) {
        if (!zav::fuzz::SameMessage(error.what(),
                                    "'" + input.text + "' ist kein gültiger Gleitkommawert")) {
            zav::fuzz::Fail("unexpected message", error.what());
        }
        return 0;
    }
    if (!std::isfinite(value)) {
        zav::fuzz::Fail("non-finite result", input.text);
    }
    // The C library reads the same number (with a point, in the "C" locale the fuzzer runs in)
    // to the same double.
    std::string plain = input.text;
    for (char& c : plain) {
        if (c == input.settings.decimalSeparator) {
            c = '.';
        }
    }
    const double expected = std::strtod(plain.c_str(), nullptr);
    if (expected != value) {
        zav::fuzz::Fail("differs from strtod", input.text);
    }
    const std::string literal = zav::SqlFloat(value);
    if (zav::CurrentFormatSettings().decimalSeparator != input.settings.decimalSeparator) {
        zav::fuzz::Fail("decimal separator not restored", input.text);
    }
    // Fifteen digits of the largest doubles round beyond the double range; nothing to read back.
    if (std::fabs(value) > 1.79769313486231e308) {
        return 0;
    }
    zav::CurrentFormatSettings() = zav::test::EnglishUSFormats();
    const double back = zav::StrToFloat(literal);
    // Fifteen significant digits: within half a unit of the 15th digit, plus the 18-digit step and
    // the reading back.
    if (value != 0.0 && std::fabs(back - value) > std::fabs(value) * 5.2e-15 &&
        std::fabs(value) > 1e-300) {
        zav::fuzz::Fail("literal does not read back", input.text + " -> " + literal);
    }
    return 0;
}
