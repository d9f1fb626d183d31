#include "db/values/Variant.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "db/values/Convert.h"
#include "db/values/NumberFormat.h"
#include "db/values/ValueErrors.h"

namespace zav {
namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::string HexCode(std::uint16_t code) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string hex;
    for (int shift = 12; shift >= 0; shift -= 4) {
        hex += kHex[(code >> shift) & 0xF];
    }
    return hex;
}

std::string BaseTypeName(std::uint16_t code) {
    switch (code) {
        case VarType::Empty:
            return "Empty";
        case VarType::Null:
            return "Null";
        case VarType::Smallint:
            return "Smallint";
        case VarType::Integer:
            return "Integer";
        case VarType::Single:
            return "Single";
        case VarType::Double:
            return "Double";
        case VarType::Currency:
            return "Currency";
        case VarType::Date:
            return "Date";
        case VarType::OleStr:
            return "OleStr";
        case 9:
            return "Dispatch";
        case 10:
            return "Error";
        case VarType::Boolean:
            return "Boolean";
        case VarType::Variant:
            return "Variant";
        case 13:
            return "Unknown";
        case 14:
            return "Decimal";
        case VarType::ShortInt:
            return "ShortInt";
        case VarType::Byte:
            return "Byte";
        case VarType::Word:
            return "Word";
        case VarType::LongWord:
            return "LongWord";
        case VarType::Int64:
            return "Int64";
        case VarType::UInt64:
            return "UInt64";
        case VarType::String:
            return "String";
        case VarType::UnicodeString:
            return "UnicodeString";
        default:
            return "$" + HexCode(code);
    }
}

[[noreturn]] void ThrowNotConvertible(const Variant& v, const char* toType) {
    throw VariantTypeError("Variante des Typs (" + v.TypeName() + ") konnte nicht in Typ (" +
                           toType + ") konvertiert werden");
}

// The variant whose value a conversion reads: references followed, broken chains refused.
const Variant& ValueSource(const Variant& v, const char* toType) {
    const Variant* source = v.Dereferenced();
    if (source == nullptr) {
        ThrowNotConvertible(v, toType);
    }
    return *source;
}

}  // namespace

[[noreturn]] void ThrowConversionOverflow(const std::string& fromType, const std::string& toType) {
    throw ConvertError("Überlauf bei der Konvertierung einer Variante vom Typ (" + fromType +
                       ") in Typ (" + toType + ")");
}

[[noreturn]] void ThrowRangeError() {
    throw RangeError("Fehler bei Bereichsprüfung");
}

// Exact: a finite double is m * 2^e with m below 2^53, so its value in ten-thousandths is
// m * 625 * 2^(e + 4), and m * 625 still fits in 63 bits. The shift is done with an exact
// remainder, so the rounding (halves to even) sees the true value, not a product rounded in
// floating point.
Currency DoubleToCurrency(double value, const std::string& sourceType) {
    if (!std::isfinite(value)) {
        ThrowConversionOverflow(sourceType, "Currency");
    }
    if (value == 0.0) {
        return Currency{0};
    }
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);  // in [0.5, 1)
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = exponent - 53 + 4;
    const std::uint64_t scaled = mantissa * 625u;  // < 2^63
    const bool negative = value < 0.0;
    const std::uint64_t limit = negative ? (std::uint64_t{1} << 63) : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    if (shift >= 0) {
        if (shift >= 63 || scaled > (limit >> shift)) {
            ThrowConversionOverflow(sourceType, "Currency");
        }
        magnitude = scaled << shift;
    } else if (-shift >= 64) {
        magnitude = 0;  // below half a ten-thousandth, since scaled < 2^63
    } else {
        const int drop = -shift;
        magnitude = scaled >> drop;
        const std::uint64_t remainder = scaled & ((std::uint64_t{1} << drop) - 1);
        const std::uint64_t half = std::uint64_t{1} << (drop - 1);
        if (remainder > half || (remainder == half && (magnitude & 1u) != 0)) {
            ++magnitude;
        }
        if (magnitude > limit) {
            ThrowConversionOverflow(sourceType, "Currency");
        }
    }
    if (negative) {
        return Currency{static_cast<std::int64_t>(~magnitude + 1)};
    }
    return Currency{static_cast<std::int64_t>(magnitude)};
}

std::int32_t DoubleToInteger(double value) {
    if (std::isnan(value)) {
        ThrowRangeError();
    }
    // nearbyint follows the rounding mode; the default mode rounds halves to even.
    const double rounded = std::nearbyint(value);
    if (rounded < static_cast<double>(kInt32Min) || rounded > static_cast<double>(kInt32Max)) {
        ThrowRangeError();
    }
    return static_cast<std::int32_t>(rounded);
}

Variant::Variant(std::uint16_t type, std::int64_t intValue, double doubleValue)
    : type_(type), int_(intValue), double_(doubleValue) {}

Variant::Variant(std::int32_t value) : Variant(VarType::Integer, value, 0.0) {}
Variant::Variant(double value) : Variant(VarType::Double, 0, value) {}
Variant::Variant(const char* text) : Variant(std::string(text == nullptr ? "" : text)) {}
Variant::Variant(std::string text) : type_(VarType::UnicodeString), text_(std::move(text)) {}

Variant Variant::Null() {
    return Variant(VarType::Null, 0, 0.0);
}
Variant Variant::FromSmallint(std::int16_t value) {
    return Variant(VarType::Smallint, value, 0.0);
}
Variant Variant::FromInteger(std::int32_t value) {
    return Variant(value);
}
Variant Variant::FromSingle(float value) {
    return Variant(VarType::Single, 0, value);
}
Variant Variant::FromDouble(double value) {
    return Variant(value);
}
Variant Variant::FromCurrency(Currency value) {
    return Variant(VarType::Currency, value.units, 0.0);
}
Variant Variant::FromDate(double oleDate) {
    return Variant(VarType::Date, 0, oleDate);
}
Variant Variant::FromBoolean(bool value) {
    return Variant(VarType::Boolean, value ? -1 : 0, 0.0);
}
Variant Variant::FromShortInt(std::int8_t value) {
    return Variant(VarType::ShortInt, value, 0.0);
}
Variant Variant::FromByte(std::uint8_t value) {
    return Variant(VarType::Byte, value, 0.0);
}
Variant Variant::FromWord(std::uint16_t value) {
    return Variant(VarType::Word, value, 0.0);
}
Variant Variant::FromLongWord(std::uint32_t value) {
    return Variant(VarType::LongWord, value, 0.0);
}
Variant Variant::FromInt64(std::int64_t value) {
    return Variant(VarType::Int64, value, 0.0);
}
Variant Variant::FromUInt64(std::uint64_t value) {
    return Variant(VarType::UInt64, static_cast<std::int64_t>(value), 0.0);
}

Variant Variant::FromOleStr(std::string text) {
    Variant v(std::move(text));
    v.type_ = VarType::OleStr;
    return v;
}

Variant Variant::FromString(std::string text) {
    Variant v(std::move(text));
    v.type_ = VarType::String;
    return v;
}

Variant Variant::FromUnicodeString(std::string text) {
    return Variant(std::move(text));
}

Variant Variant::ByRef(const Variant* target) {
    Variant v(VarType::VariantRef, 0, 0.0);
    v.target_ = target;
    return v;
}

Variant Variant::Array(std::uint16_t elementType) {
    return Variant(static_cast<std::uint16_t>(elementType | VarType::ArrayFlag), 0, 0.0);
}

Variant Variant::WithTypeCode(std::uint16_t typeCode) {
    return Variant(typeCode, 0, 0.0);
}

std::string Variant::TypeName() const {
    return TypeName(type_);
}

std::string Variant::TypeName(std::uint16_t typeCode) {
    std::string name;
    if ((typeCode & VarType::ArrayFlag) != 0) {
        name += "Array ";
    }
    if ((typeCode & VarType::ByRefFlag) != 0) {
        name += "ByRef ";
    }
    return name + BaseTypeName(typeCode & 0x0FFF);
}

const Variant* Variant::Dereferenced() const noexcept {
    // Floyd's two pointers: a chain that loops back on itself is refused instead of followed
    // for ever.
    const Variant* slow = this;
    const Variant* fast = this;
    while (true) {
        for (int step = 0; step < 2; ++step) {
            if (fast->type_ != VarType::VariantRef) {
                return fast;
            }
            fast = fast->target_;
            if (fast == nullptr) {
                return nullptr;
            }
        }
        slow = slow->target_;
        if (slow == fast) {
            return nullptr;
        }
    }
}

bool Variant::IsText() const {
    return type_ == VarType::OleStr || type_ == VarType::String || type_ == VarType::UnicodeString;
}

bool Variant::IsOrdinal() const {
    switch (type_) {
        case VarType::Smallint:
        case VarType::Integer:
        case VarType::Boolean:
        case VarType::ShortInt:
        case VarType::Byte:
        case VarType::Word:
        case VarType::LongWord:
        case VarType::Int64:
        case VarType::UInt64:
            return true;
        default:
            return false;
    }
}

bool Variant::IsFloat() const {
    return type_ == VarType::Single || type_ == VarType::Double || type_ == VarType::Currency;
}

Currency Variant::ToCurrency() const {
    const Variant& v = ValueSource(*this, "Currency");
    constexpr std::int64_t kMaxWhole = std::numeric_limits<std::int64_t>::max() / 10000;
    switch (v.type_) {
        case VarType::Currency:
            return Currency{v.int_};
        case VarType::Single:
        case VarType::Double:
        case VarType::Date:
            return DoubleToCurrency(v.double_, v.TypeName());
        case VarType::UInt64:
            if (v.UnsignedValue() > static_cast<std::uint64_t>(kMaxWhole)) {
                ThrowConversionOverflow(v.TypeName(), "Currency");
            }
            return Currency{v.int_ * 10000};
        default:
            break;
    }
    if (v.IsOrdinal()) {
        if (v.int_ > kMaxWhole || v.int_ < -kMaxWhole) {
            ThrowConversionOverflow(v.TypeName(), "Currency");
        }
        return Currency{v.int_ * 10000};
    }
    if (v.IsText()) {
        return StrToCurr(v.text_, v.TypeName());
    }
    ThrowNotConvertible(*this, "Currency");
}

std::int32_t Variant::ToInteger() const {
    const Variant& v = ValueSource(*this, "Integer");
    switch (v.type_) {
        case VarType::Single:
        case VarType::Double:
        case VarType::Date:
            return DoubleToInteger(v.double_);
        case VarType::Currency: {
            // Whole part and remainder of units / 10000, rounded with halves to even.
            std::int64_t whole = v.int_ / 10000;
            const std::int64_t rest = v.int_ % 10000;  // same sign as the value
            if (rest > 5000 || (rest == 5000 && (whole & 1) != 0)) {
                ++whole;
            } else if (rest < -5000 || (rest == -5000 && (whole & 1) != 0)) {
                --whole;
            }
            if (whole < kInt32Min || whole > kInt32Max) {
                ThrowRangeError();
            }
            return static_cast<std::int32_t>(whole);
        }
        case VarType::UInt64:
            if (v.UnsignedValue() > static_cast<std::uint64_t>(kInt32Max)) {
                ThrowRangeError();
            }
            return static_cast<std::int32_t>(v.int_);
        default:
            break;
    }
    if (v.IsOrdinal()) {
        if (v.int_ < kInt32Min || v.int_ > kInt32Max) {
            ThrowRangeError();
        }
        return static_cast<std::int32_t>(v.int_);
    }
    if (v.IsText()) {
        return StrToInt(v.text_);
    }
    ThrowNotConvertible(*this, "Integer");
}

double Variant::ToDouble() const {
    const Variant& v = ValueSource(*this, "Double");
    switch (v.type_) {
        case VarType::Single:
        case VarType::Double:
        case VarType::Date:
            return v.double_;
        case VarType::Currency: {
            // Through the exact decimal: one rounding, also beyond the 53 bits a double holds.
            const std::string exact = FormatCurrency(Currency{v.int_}, '.');
            double value = 0.0;
            std::from_chars(exact.data(), exact.data() + exact.size(), value);
            return value;
        }
        case VarType::UInt64:
            return static_cast<double>(v.UnsignedValue());
        default:
            break;
    }
    if (v.IsOrdinal()) {
        return static_cast<double>(v.int_);
    }
    if (v.IsText()) {
        return StrToFloat(v.text_);
    }
    ThrowNotConvertible(*this, "Double");
}

const std::string& Variant::Text() const {
    const Variant& v = ValueSource(*this, "UnicodeString");
    if (!v.IsText()) {
        ThrowNotConvertible(*this, "UnicodeString");
    }
    return v.text_;
}

}  // namespace zav
