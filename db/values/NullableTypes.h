#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "db/values/Currency.h"
#include "db/values/Variant.h"

namespace zav {

// A value of one column type and whether it is present; a record without a value stands for
// SQL null. Plain values, copied whole.
template <typename V>
class NullableRecord {
public:
    void SetValue(V value) {
        _value = std::move(value);
        _initValue = "I";
    }

    void Clear() {
        _initValue.clear();
        _value = V{};
    }

    bool IsNull() const { return _initValue.empty(); }
    bool HasValue() const { return !IsNull(); }
    // Zero (the empty text) when no value is present, whatever _value holds.
    V GetValue() const { return HasValue() ? _value : V{}; }

private:
    V _value{};
    std::string _initValue;  // "I" when a value is present
};

// FromVariant follows 0x400C references to the variant they name, compares every other code
// whole (so arrays and other references match nothing), and refuses a kind the record does not
// take with VariantTypeError "Der zugewiesen Wert ist nicht vom Typ '<type>'.". On any failure the
// record keeps what it held.

class TNullableCurrency : public NullableRecord<Currency> {
public:
    // null; single, double, currency; ordinal kinds; text parsed as currency.
    void FromVariant(Variant value);
};

class TNullableDouble : public NullableRecord<double> {
public:
    // null; single, double, currency; ordinal kinds; text parsed as a floating-point number.
    // A date is refused.
    void FromVariant(Variant value);
};

class TNullableInteger : public NullableRecord<std::int32_t> {
public:
    // null; every numeric kind, rounded with halves to even; text parsed as an integer.
    void FromVariant(Variant value);
};

class TNullableDate : public NullableRecord<double> {
public:
    // null; single, double, currency taken as a day number; text parsed as a date; a date.
    // Integer kinds are refused.
    void FromVariant(Variant value);
};

// Same operations as TNullableDate; kept apart so that a date and a date with time stay distinct
// types when written as SQL.
class TNullableDateTime : public NullableRecord<double> {
public:
    void FromVariant(Variant value);
};

class TNullableString : public NullableRecord<std::string> {
public:
    // null; text: the empty text clears the record, any other text is kept without leading and
    // trailing characters of code 32 or lower (so a text of blanks gives the empty text).
    void FromVariant(Variant value);
};

}  // namespace zav
