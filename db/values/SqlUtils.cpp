#include "db/values/SqlUtils.h"

#include "db/values/Convert.h"
#include "db/values/DateTime.h"
#include "db/values/FormatSettings.h"
#include "db/values/ValueErrors.h"

namespace zav {
namespace {

// One part of every pair, in list order, joined with ", ".
template <typename Part>
std::string Joined(const TSqlFieldValueList& list, Part part) {
    std::string text;
    for (std::int32_t i = 0; i < list.Count(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += part(list.GetItem(i));
    }
    return text;
}

}  // namespace

std::string SqlNull() {
    return "null";
}

std::string SqlParam(const std::string& name) {
    return ":" + name;
}

std::string SqlInt(std::int32_t value) {
    return std::to_string(value);
}

std::string SqlInt(const TNullableInteger& value) {
    return value.HasValue() ? SqlInt(value.GetValue()) : SqlNull();
}

// The number writers read the process-wide decimal separator; it is "." for the call and back to
// the user's on every way out.
std::string SqlCurr(Currency value) {
    const DecimalSeparatorGuard point('.');
    return CurrToStr(value);
}

std::string SqlCurr(const TNullableCurrency& value) {
    return value.HasValue() ? SqlCurr(value.GetValue()) : SqlNull();
}

std::string SqlFloat(double value) {
    const DecimalSeparatorGuard point('.');
    return FloatToStr(value);
}

std::string SqlFloat(const TNullableDouble& value) {
    return value.HasValue() ? SqlFloat(value.GetValue()) : SqlNull();
}

std::string SqlDate(double value) {
    const FormatSettings& settings = CurrentFormatSettings();
    return SqlStr(FormatDateTime(settings.shortDateFormat, value, settings));
}

std::string SqlDate(const TNullableDate& value) {
    return value.HasValue() ? SqlDate(value.GetValue()) : SqlNull();
}

std::string SqlDateTime(double value) {
    const FormatSettings& settings = CurrentFormatSettings();
    std::string text = FormatDateTime(settings.shortDateFormat, value, settings);
    const DateTimeParts parts = DecodeDateTime(value);
    if (parts.hour != 0 || parts.minute != 0 || parts.second != 0) {
        text += ' ';
        text += FormatDateTime(settings.longTimeFormat, value, settings);
    }
    return SqlStr(text);
}

std::string SqlDateTime(const TNullableDateTime& value) {
    return value.HasValue() ? SqlDateTime(value.GetValue()) : SqlNull();
}

std::string SqlStr(const std::string& value) {
    std::string text = "'";
    for (char c : value) {
        text += c;
        if (c == '\'') {
            text += '\'';
        }
    }
    text += '\'';
    return text;
}

std::string SqlStr(const TNullableString& value) {
    return value.HasValue() ? SqlStr(value.GetValue()) : SqlNull();
}

TSqlFieldValuePair TSqlFieldValueList::GetItem(std::int32_t index) const {
    if (index < 0 || index >= Count()) {
        throw ArgumentOutOfRangeError("Argument außerhalb des Bereichs");
    }
    return _list[static_cast<std::size_t>(index)];
}

void TSqlFieldValueList::Add(const std::string& aName, const TNullableString& aValue) {
    Add(TSqlFieldValuePair(aName, SqlStr(aValue)));
}

void TSqlFieldValueList::Add(const std::string& aName, const TNullableInteger& aValue) {
    Add(TSqlFieldValuePair(aName, SqlInt(aValue)));
}

void TSqlFieldValueList::Add(const std::string& aName, const TNullableCurrency& aValue) {
    Add(TSqlFieldValuePair(aName, SqlCurr(aValue)));
}

void TSqlFieldValueList::Add(const std::string& aName, const TNullableDouble& aValue) {
    Add(TSqlFieldValuePair(aName, SqlFloat(aValue)));
}

void TSqlFieldValueList::Add(const std::string& aName, const TNullableDate& aValue) {
    Add(TSqlFieldValuePair(aName, SqlDate(aValue)));
}

void TSqlFieldValueList::Add(const std::string& aName, const TNullableDateTime& aValue) {
    Add(TSqlFieldValuePair(aName, SqlDateTime(aValue)));
}

void TSqlFieldValueList::Add(const std::string& aName, const Variant& aValue) {
    switch (aValue.Type()) {
        case VarType::Empty:
        case VarType::Null:
            AddNull(aName);
            return;
        case VarType::Smallint:
        case VarType::Integer:
        case VarType::ShortInt:
        case VarType::Byte:
        case VarType::Word: {
            TNullableInteger record;
            record.FromVariant(aValue);
            Add(aName, record);
            return;
        }
        case VarType::Single:
        case VarType::Double: {
            TNullableDouble record;
            record.FromVariant(aValue);
            Add(aName, record);
            return;
        }
        case VarType::Currency: {
            TNullableCurrency record;
            record.FromVariant(aValue);
            Add(aName, record);
            return;
        }
        case VarType::Date: {
            TNullableDate record;
            record.FromVariant(aValue);
            Add(aName, record);
            return;
        }
        case VarType::String:
        case VarType::UnicodeString: {
            TNullableString record;
            record.FromVariant(aValue);
            Add(aName, record);
            return;
        }
        default:
            throw VariantTypeError("Der Datentype für Feldname '" + aName +
                                   "' wird nicht unterstütz.");
    }
}

void TSqlFieldValueList::AddNull(const std::string& aName) {
    Add(TSqlFieldValuePair(aName, SqlNull()));
}

void TSqlFieldValueList::AddParam(const std::string& aName) {
    Add(TSqlFieldValuePair(aName, SqlParam(aName)));
}

TSqlCommand& TSqlCommand::Clear() {
    _sql.clear();
    return *this;
}

TSqlCommand& TSqlCommand::Add(const std::string& text) {
    _sql += text;
    return *this;
}

TSqlCommand& TSqlCommand::Insert(const std::string& table, const TSqlFieldValueList& list) {
    Clear();
    const std::string names = Joined(list, [](const TSqlFieldValuePair& p) { return p.Name; });
    const std::string values =
        Joined(list, [](const TSqlFieldValuePair& p) { return p.SqlValue(); });
    return Add("insert into " + table + " (" + names + ") values (" + values + ")");
}

TSqlCommand& TSqlCommand::Update(const std::string& table, const TSqlFieldValueList& list) {
    Clear();
    const std::string assignments =
        Joined(list, [](const TSqlFieldValuePair& p) { return p.Name + " = " + p.SqlValue(); });
    return Add("update " + table + " set " + assignments);
}

TSqlCommand& TSqlCommand::Where() {
    return Add(" where");
}

TSqlCommand& TSqlCommand::Where(const std::string& column) {
    return Add(" where " + column);
}

TSqlCommand& TSqlCommand::EqualTo(std::int32_t value) {
    return Add(" = " + SqlInt(value));
}

std::string GetGenIdSql(const std::string& generatorName, std::int32_t increment) {
    return "Select GEN_ID(" + generatorName + "," + std::to_string(increment) +
           ") from RDB$database";
}

}  // namespace zav
