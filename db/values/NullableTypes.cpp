#include "db/values/NullableTypes.h"

#include "db/values/Convert.h"
#include "db/values/ValueErrors.h"

namespace zav {
namespace {

[[noreturn]] void ThrowWrongKind(const char* typeName) {
    throw VariantTypeError(std::string("Der zugewiesen Wert ist nicht vom Typ '") + typeName +
                           "'.");
}

// The variant the kind tests apply to; a broken reference chain is of no kind.
const Variant& Resolve(const Variant& value, const char* typeName) {
    const Variant* target = value.Dereferenced();
    if (target == nullptr) {
        ThrowWrongKind(typeName);
    }
    return *target;
}

bool IsNullKind(const Variant& v) {
    return v.Type() == VarType::Null;
}
bool IsNumeric(const Variant& v) {
    return v.IsOrdinal() || v.IsFloat();
}

// Text with every leading and trailing character of code 32 or lower removed. UTF-8 bytes of
// other characters are all above 32, so bytes can be compared directly.
std::string TrimControlAndBlanks(const std::string& text) {
    const auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isTrimmed(text[begin])) {
        ++begin;
    }
    while (end > begin && isTrimmed(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// A number converts, a text is parsed, null clears; float kinds and ordinal ones convert alike.
template <typename Record, typename FromNumber, typename FromText>
void NumberFromVariant(Record& record, const Variant& value, const char* typeName,
                       FromNumber fromNumber, FromText fromText) {
    const Variant& v = Resolve(value, typeName);
    if (IsNullKind(v)) {
        record.Clear();
    } else if (IsNumeric(v)) {
        record.SetValue(fromNumber(v));
    } else if (v.IsText()) {
        record.SetValue(fromText(v));
    } else {
        ThrowWrongKind(typeName);
    }
}

template <typename Record>
void DateFromVariant(Record& record, const Variant& value) {
    const Variant& v = Resolve(value, "Date");
    if (IsNullKind(v)) {
        record.Clear();
    } else if (v.IsFloat()) {
        record.SetValue(v.ToDouble());
    } else if (v.IsText()) {
        record.SetValue(StrToDate(v.Text()));
    } else if (v.Type() == VarType::Date) {
        record.SetValue(v.DoubleValue());
    } else {
        ThrowWrongKind("Date");
    }
}

}  // namespace

void TNullableCurrency::FromVariant(Variant value) {
    NumberFromVariant(
        *this, value, "Currency", [](const Variant& v) { return v.ToCurrency(); },
        [](const Variant& v) { return StrToCurr(v.Text(), v.TypeName()); });
}

void TNullableDouble::FromVariant(Variant value) {
    NumberFromVariant(
        *this, value, "Double", [](const Variant& v) { return v.ToDouble(); },
        [](const Variant& v) { return StrToFloat(v.Text()); });
}

void TNullableInteger::FromVariant(Variant value) {
    NumberFromVariant(
        *this, value, "Integer", [](const Variant& v) { return v.ToInteger(); },
        [](const Variant& v) { return StrToInt(v.Text()); });
}

void TNullableDate::FromVariant(Variant value) {
    DateFromVariant(*this, value);
}

void TNullableDateTime::FromVariant(Variant value) {
    DateFromVariant(*this, value);
}

void TNullableString::FromVariant(Variant value) {
    const Variant& v = Resolve(value, "String");
    if (IsNullKind(v)) {
        Clear();
    } else if (v.IsText()) {
        // Emptiness is judged before trimming: blanks only give the empty text, not null.
        const std::string& text = v.Text();
        if (text.empty()) {
            Clear();
        } else {
            SetValue(TrimControlAndBlanks(text));
        }
    } else {
        ThrowWrongKind("String");
    }
}

}  // namespace zav
