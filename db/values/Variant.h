#pragma once

#include <cstdint>
#include <string>

#include "db/values/Currency.h"

namespace zav {

// The 16-bit type codes of a Variant. A code is compared whole: the array and by-reference flags
// make a different kind.
struct VarType {
    static constexpr std::uint16_t Empty = 0;
    static constexpr std::uint16_t Null = 1;
    static constexpr std::uint16_t Smallint = 2;  // 16-bit signed
    static constexpr std::uint16_t Integer = 3;   // 32-bit signed
    static constexpr std::uint16_t Single = 4;
    static constexpr std::uint16_t Double = 5;
    static constexpr std::uint16_t Currency = 6;   // 64-bit count of ten-thousandths
    static constexpr std::uint16_t Date = 7;       // days since 1899-12-30, fraction = time of day
    static constexpr std::uint16_t OleStr = 8;     // wide text
    static constexpr std::uint16_t Boolean = 11;   // true is -1
    static constexpr std::uint16_t ShortInt = 16;  // 8-bit signed
    static constexpr std::uint16_t Byte = 17;      // 8-bit unsigned
    static constexpr std::uint16_t Word = 18;      // 16-bit unsigned
    static constexpr std::uint16_t LongWord = 19;  // 32-bit unsigned
    static constexpr std::uint16_t Int64 = 20;
    static constexpr std::uint16_t UInt64 = 21;
    static constexpr std::uint16_t String = 256;         // 8-bit text
    static constexpr std::uint16_t UnicodeString = 258;  // UTF-16 text
    static constexpr std::uint16_t Variant = 12;         // only as target of a reference
    static constexpr std::uint16_t ArrayFlag = 0x2000;
    static constexpr std::uint16_t ByRefFlag = 0x4000;
    static constexpr std::uint16_t VariantRef = ByRefFlag | Variant;  // 0x400C
};

// A tagged value: a type code and the value of that type. Text is UTF-8 inside the program,
// whatever the code says about the text's original width; the kind is kept for the code's sake.
// A 0x400C variant refers to another Variant without owning it: the target must outlive it.
class Variant {
public:
    Variant() = default;          // Empty
    Variant(std::int32_t value);  // Integer (3)
    Variant(double value);        // Double (5)
    Variant(const char* text);    // UnicodeString (258)
    Variant(std::string text);    // UnicodeString (258)
    // Would otherwise become an Integer by promotion; use FromBoolean.
    Variant(bool) = delete;

    static Variant Empty() { return Variant(); }
    static Variant Null();
    static Variant FromSmallint(std::int16_t value);
    static Variant FromInteger(std::int32_t value);
    static Variant FromSingle(float value);
    static Variant FromDouble(double value);
    static Variant FromCurrency(Currency value);
    static Variant FromDate(double oleDate);
    static Variant FromOleStr(std::string text);
    static Variant FromBoolean(bool value);
    static Variant FromShortInt(std::int8_t value);
    // The kind of a small integer constant such as 0 or 1.
    static Variant FromByte(std::uint8_t value);
    static Variant FromWord(std::uint16_t value);
    static Variant FromLongWord(std::uint32_t value);
    static Variant FromInt64(std::int64_t value);
    static Variant FromUInt64(std::uint64_t value);
    static Variant FromString(std::string text);  // 8-bit text (256)
    static Variant FromUnicodeString(std::string text);
    // A reference (0x400C) to another variant, which must outlive the reference.
    static Variant ByRef(const Variant* target);
    // An array of the given element type. Elements are not held: nothing here reads them.
    static Variant Array(std::uint16_t elementType);
    // A variant that carries only a type code, for kinds this program never fills (other
    // by-reference kinds, unknown codes); its value reads as zero.
    static Variant WithTypeCode(std::uint16_t typeCode);

    std::uint16_t Type() const { return type_; }
    // The type's name as conversion errors write it ("Double", "Array Integer", "ByRef Variant").
    std::string TypeName() const;
    static std::string TypeName(std::uint16_t typeCode);

    // The variant at the end of a chain of 0x400C references (this one when it is not one);
    // nullptr when the chain is broken: a null target or a cycle.
    const Variant* Dereferenced() const noexcept;

    bool IsText() const;     // codes 8, 256, 258
    bool IsOrdinal() const;  // codes 2, 3, 11, 16..21
    bool IsFloat() const;    // codes 4, 5, 6

    // The standard conversions. Text is parsed with the process-wide format settings; a kind
    // without a number (Empty, Null, arrays, references) raises VariantTypeError.
    Currency ToCurrency() const;
    std::int32_t ToInteger() const;
    double ToDouble() const;
    // The text of a text variant; raises VariantTypeError for every other kind.
    const std::string& Text() const;

    // Raw access to the stored value, for the code that chose the kind by Type().
    std::int64_t SignedValue() const { return int_; }
    std::uint64_t UnsignedValue() const { return static_cast<std::uint64_t>(int_); }
    double DoubleValue() const { return double_; }

private:
    Variant(std::uint16_t type, std::int64_t intValue, double doubleValue);

    std::uint16_t type_ = VarType::Empty;
    std::int64_t int_ = 0;  // every integer kind, Boolean, Currency (units), UInt64 (bit pattern)
    double double_ = 0.0;   // Single (widened), Double, Date
    std::string text_;
    const Variant* target_ = nullptr;
};

// Rounding rules shared by the conversions and the parsers.

// The double's exact value in ten-thousandths, rounded to the nearest one; an exact half goes to
// the even neighbour. Raises the overflow ConvertError naming sourceType when out of range
// (NaN and infinities included).
Currency DoubleToCurrency(double value, const std::string& sourceType);
// Nearest integer, halves to even; RangeError outside the 32-bit range (NaN included).
std::int32_t DoubleToInteger(double value);
// Raises ConvertError "Überlauf bei der Konvertierung einer Variante vom Typ (from) in Typ (to)".
[[noreturn]] void ThrowConversionOverflow(const std::string& fromType, const std::string& toType);
// Raises RangeError "Fehler bei Bereichsprüfung".
[[noreturn]] void ThrowRangeError();

}  // namespace zav
