#pragma once

#include <cstdint>
#include <string>

#include "db/values/Currency.h"

namespace zav {

// Text to numbers and dates, read with the process-wide format settings.

// Leading blanks, an optional sign, then decimal digits or hexadecimal ones after "$", "x", "X",
// "0x" or "0X"; nothing may follow. ConvertError "''<text>'' ist kein gültiger Integer-Wert";
// RangeError "Fehler bei Bereichsprüfung" for a number outside the 32-bit range.
std::int32_t StrToInt(const std::string& text);

// Blanks around, an optional sign, digits with the decimal separator, an optional exponent.
// ConvertError "'<text>' ist kein gültiger Gleitkommawert", also for a value beyond the double
// range; a value too small for a double gives zero.
double StrToFloat(const std::string& text);

// The same syntax, rounded to four decimal places (an exact half to the even neighbour). Beyond
// the currency range: the overflow ConvertError naming sourceType and "Currency".
Currency StrToCurr(const std::string& text, const std::string& sourceType = "UnicodeString");

// Day, month and year in the order of the short date format. ConvertError
// "'<text>' ist kein gültiges Datum".
double StrToDate(const std::string& text);

// Numbers written with the process-wide decimal separator (see NumberFormat.h for the formats).
std::string FloatToStr(double value);
std::string CurrToStr(Currency value);

}  // namespace zav
