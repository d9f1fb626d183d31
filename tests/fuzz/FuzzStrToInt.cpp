// The integer parser: never anything but its two errors, and a value that reads back the same.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "db/values/Convert.h"
#include "db/values/ValueErrors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::int32_t value = 0;
    try {
        value = zav::StrToInt(text);
    } catch (const zav::ConvertError& error) {
        if (!zav::fuzz::SameMessage(error.what(),
                                    "''" + text + "'' ist kein gültiger Integer-Wert")) {
            zav::fuzz::Fail("unexpected message", error.what());
        }
        return 0;
    } catch (const zav::RangeError&) {
        return 0;
    }
    if (zav::StrToInt(std::to_string(value)) != value) {
        zav::fuzz::Fail("decimal round trip", text);
    }
    return 0;
}
