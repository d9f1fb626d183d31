// Variants of every kind, with arbitrary values, turned into SQL literals: only the layer's own
// errors, nothing added on an error, the decimal separator always back, and literals of the
// right shape.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "db/values/Convert.h"
#include "db/values/SqlUtils.h"
#include "db/values/ValueErrors.h"
#include "db/values/Variant.h"
#include "platform/Errors.h"

namespace {

using zav::Variant;

constexpr std::uint16_t kCodes[] = {0,  1,  2,  3,  4,  5,   6,   7,      8,      11,     16,
                                    17, 18, 19, 20, 21, 256, 258, 0x400C, 0x2003, 0x4003, 12};

Variant MakeVariant(std::uint16_t code, std::uint64_t bits, const std::string& text) {
    double number = 0.0;
    std::memcpy(&number, &bits, sizeof number);
    float single = 0.0f;
    const auto low = static_cast<std::uint32_t>(bits);
    std::memcpy(&single, &low, sizeof single);
    switch (code) {
        case 0:
            return Variant::Empty();
        case 1:
            return Variant::Null();
        case 2:
            return Variant::FromSmallint(static_cast<std::int16_t>(bits));
        case 3:
            return Variant(static_cast<std::int32_t>(bits));
        case 4:
            return Variant::FromSingle(single);
        case 5:
            return Variant(number);
        case 6:
            return Variant::FromCurrency(zav::Currency{static_cast<std::int64_t>(bits)});
        case 7:
            return Variant::FromDate(number);
        case 8:
            return Variant::FromOleStr(text);
        case 11:
            return Variant::FromBoolean((bits & 1) != 0);
        case 16:
            return Variant::FromShortInt(static_cast<std::int8_t>(bits));
        case 17:
            return Variant::FromByte(static_cast<std::uint8_t>(bits));
        case 18:
            return Variant::FromWord(static_cast<std::uint16_t>(bits));
        case 19:
            return Variant::FromLongWord(static_cast<std::uint32_t>(bits));
        case 20:
            return Variant::FromInt64(static_cast<std::int64_t>(bits));
        case 21:
            return Variant::FromUInt64(bits);
        case 256:
            return Variant::FromString(text);
        case 258:
            return Variant(text);
        default:
            return Variant::WithTypeCode(code);
    }
}

void CheckLiteral(std::uint16_t code, const std::string& literal) {
    if (literal == "null") {
        return;
    }
    if (code == 256 || code == 258 || code == 7) {
        // Quoted, with every inner apostrophe doubled.
        if (literal.size() < 2 || literal.front() != '\'' || literal.back() != '\'') {
            zav::fuzz::Fail("unquoted text literal", literal);
        }
        const std::string inner = literal.substr(1, literal.size() - 2);
        for (std::size_t i = 0; i < inner.size(); ++i) {
            if (inner[i] == '\'' && (i + 1 == inner.size() || inner[++i] != '\'')) {
                zav::fuzz::Fail("lone apostrophe", literal);
            }
        }
        return;
    }
    if (literal.find(',') != std::string::npos || literal.find(' ') != std::string::npos) {
        zav::fuzz::Fail("number literal with a comma or blank", literal);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 10) {
        return 0;
    }
    const zav::FormatSettings settings = zav::fuzz::SettingsFor(data[0]);
    zav::CurrentFormatSettings() = settings;
    const std::uint16_t code = kCodes[data[1] % (sizeof kCodes / sizeof kCodes[0])];
    std::uint64_t bits = 0;
    std::memcpy(&bits, data + 2, sizeof bits);
    const std::string text(reinterpret_cast<const char*>(data) + 10, size - 10);
    const Variant target = MakeVariant(static_cast<std::uint16_t>(data[1] % 22), bits, text);
    const Variant value = code == 0x400C ? Variant::ByRef(&target) : MakeVariant(code, bits, text);

    zav::TSqlFieldValueList list;
    list.AddNull("BEFORE");
    try {
        list.Add("F", value);
    } catch (const zav::ZavError&) {
        if (list.Count() != 1) {
            zav::fuzz::Fail("pair added despite the error", value.TypeName());
        }
    }
    if (zav::CurrentFormatSettings().decimalSeparator != settings.decimalSeparator) {
        zav::fuzz::Fail("decimal separator not restored", value.TypeName());
    }
    if (list.Count() == 2) {
        CheckLiteral(code, list.GetItem(1).SqlValue());
        zav::TSqlCommand command;
        command.Insert("T", list).AsString();
    }

    // The plain literal functions on the same raw value.
    double number = 0.0;
    std::memcpy(&number, &bits, sizeof number);
    CheckLiteral(5, zav::SqlFloat(number));
    CheckLiteral(6, zav::SqlCurr(zav::Currency{static_cast<std::int64_t>(bits)}));
    try {
        CheckLiteral(7, zav::SqlDateTime(number));
    } catch (const zav::ConvertError&) {
        // A day number outside the years 1 to 9999.
    }
    CheckLiteral(258, zav::SqlStr(text));
    if (zav::CurrentFormatSettings().decimalSeparator != settings.decimalSeparator) {
        zav::fuzz::Fail("decimal separator not restored", "plain literals");
    }
    return 0;
}
