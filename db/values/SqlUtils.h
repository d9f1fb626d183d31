#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/values/Currency.h"
#include "db/values/NullableTypes.h"
#include "db/values/Variant.h"

namespace zav {

// SQL literals. The record overloads give "null" for a record without a value.
std::string SqlNull();
std::string SqlParam(const std::string& name);  // ":" and the name
std::string SqlInt(std::int32_t value);
std::string SqlInt(const TNullableInteger& value);
// Numbers always with "." as decimal separator, whatever the user's settings say.
std::string SqlCurr(Currency value);
std::string SqlCurr(const TNullableCurrency& value);
std::string SqlFloat(double value);
std::string SqlFloat(const TNullableDouble& value);
// The date part in the user's short date format, quoted.
std::string SqlDate(double value);
std::string SqlDate(const TNullableDate& value);
// The short date, and the long time after a blank unless the time is 00:00:00, quoted.
std::string SqlDateTime(double value);
std::string SqlDateTime(const TNullableDateTime& value);
// The text in apostrophes, each apostrophe in it doubled.
std::string SqlStr(const std::string& value);
std::string SqlStr(const TNullableString& value);

// One column name with the literal of its value. The name is used exactly as given; the literal is
// the list's business, so only the list makes a pair with one.
class TSqlFieldValuePair {
public:
    TSqlFieldValuePair() = default;

    const std::string& SqlValue() const { return _sqlValue; }

private:
    friend class TSqlFieldValueList;
    TSqlFieldValuePair(std::string name, std::string sqlValue)
        : _sqlValue(std::move(sqlValue)), Name(std::move(name)) {}

    std::string _sqlValue;

public:
    std::string Name;
};

// Column-and-literal pairs in the order added; repeated names are kept.
class TSqlFieldValueList {
public:
    void Clear() { _list.clear(); }
    std::int32_t Count() const { return static_cast<std::int32_t>(_list.size()); }
    // A copy of the pair at a 0-based index; ArgumentOutOfRangeError
    // "Argument außerhalb des Bereichs" outside 0 to Count() - 1.
    TSqlFieldValuePair GetItem(std::int32_t index) const;

    void Add(const TSqlFieldValuePair& aField) { _list.push_back(aField); }
    void Add(const std::string& aName, const TNullableString& aValue);
    void Add(const std::string& aName, const TNullableInteger& aValue);
    void Add(const std::string& aName, const TNullableCurrency& aValue);
    void Add(const std::string& aName, const TNullableDouble& aValue);
    void Add(const std::string& aName, const TNullableDate& aValue);
    void Add(const std::string& aName, const TNullableDateTime& aValue);
    // The literal chosen by the variant's type code, compared whole (references are not
    // followed): empty and null give "null"; the integer kinds 2, 3, 16, 17, 18, single, double,
    // currency, date (without its time) and the 8-bit and UTF-16 texts (trimmed, the empty text
    // null) their literal. Every other code raises VariantTypeError
    // "Der Datentype für Feldname '<aName>' wird nicht unterstütz." and adds nothing.
    void Add(const std::string& aName, const Variant& aValue);
    void AddNull(const std::string& aName);
    void AddParam(const std::string& aName);

private:
    std::vector<TSqlFieldValuePair> _list;
};

// A statement text under construction. The building operations change it in place and return it,
// so that calls chain.
class TSqlCommand {
public:
    TSqlCommand& Clear();
    TSqlCommand& Add(const std::string& text);
    // "insert into T (names) values (literals)", replacing the text.
    TSqlCommand& Insert(const std::string& table, const TSqlFieldValueList& list);
    // "update T set name = literal, ...", replacing the text.
    TSqlCommand& Update(const std::string& table, const TSqlFieldValueList& list);
    TSqlCommand& Where();                           // appends " where"
    TSqlCommand& Where(const std::string& column);  // appends " where <column>"
    TSqlCommand& EqualTo(std::int32_t value);       // appends " = <value>"
    std::string AsString() const { return _sql; }

private:
    std::string _sql;
};

// "Select GEN_ID(<name>,<increment>) from RDB$database"
std::string GetGenIdSql(const std::string& generatorName, std::int32_t increment);

}  // namespace zav
