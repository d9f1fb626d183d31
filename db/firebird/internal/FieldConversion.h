#pragma once

#include <cstdint>
#include <string>

#include "db/firebird/internal/ResultRow.h"

namespace zav {

// A column value of the current row read as a 32-bit integer: integers as they are, scaled
// numbers and floating-point values rounded half to even, text parsed as a decimal integer (CHAR
// without its trailing blanks). Null gives 0, or the empty text for a text column. A value outside
// the 32-bit range raises rather than wraps. Errors begin with the query's component name.
std::int32_t ColumnToInt32(const ColumnValue& value, const std::string& componentName);

// A column value as text (UTF-8): numbers in decimal with "." before a scale's digits, CHAR
// without its trailing blanks, dates as yyyy-mm-dd and times as hh:nn:ss. Null gives "".
std::string ColumnToText(const ColumnValue& value, const std::string& componentName);

}  // namespace zav
