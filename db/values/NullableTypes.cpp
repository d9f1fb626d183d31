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
    const Variant& v = Resolve(value, "Currency");
    if (IsNullKind(v)) {
        Clear();
    } else if (IsNumeric(v)) {  // float kinds first, then ordinal: both convert the same way
        SetValue(v.ToCurrency());
    } else if (v.IsText()) {
        SetValue(StrToCurr(v.Text(), v.TypeName()));
    } else {
        ThrowWrongKind("Currency");
    }
}

void TNullableDouble::FromVariant(Variant value) {
    const Variant& v = Resolve(value, "Double");
    if (IsNullKind(v)) {
        Clear();
    } else if (IsNumeric(v)) {
        SetValue(v.ToDouble());
    } else if (v.IsText()) {
        SetValue(StrToFloat(v.Text()));
    } else {
        ThrowWrongKind("Double");
    }
}

void TNullableInteger::FromVariant(Variant value) {
    const Variant& v = Resolve(value, "Integer");
    if (IsNullKind(v)) {
        Clear();
    } else if (IsNumeric(v)) {
        SetValue(v.ToInteger());
    } else if (v.IsText()) {
        SetValue(StrToInt(v.Text()));
    } else {
        ThrowWrongKind("Integer");
    }
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
