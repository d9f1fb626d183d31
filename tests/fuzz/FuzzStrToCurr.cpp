// The currency parser: only its two errors, and a parsed amount that its literal gives back
// exactly.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "db/values/Convert.h"
#include "db/values/SqlUtils.h"
#include "db/values/ValueErrors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zav::fuzz::TextInput input = zav::fuzz::SplitInput(data, size);
    zav::CurrentFormatSettings() = input.settings;
    zav::Currency value;
    try {
        value = zav::StrToCurr(input.text);
    } catch (const zav::ConvertError& error) {
        const std::string message = error.what();
        if (!zav::fuzz::SameMessage(error.what(),
                                    "'" + input.text + "' ist kein gültiger Gleitkommawert") &&
            message !=
                "Überlauf bei der Konvertierung einer Variante vom Typ (UnicodeString) in "
                "Typ (Currency)") {
            zav::fuzz::Fail("unexpected message", message);
        }
        return 0;
    }
    const std::string literal = zav::SqlCurr(value);
    zav::CurrentFormatSettings() = zav::test::EnglishUSFormats();
    if (zav::StrToCurr(literal) != value) {
        zav::fuzz::Fail("literal does not read back", input.text + " -> " + literal);
    }
    return 0;
}
