#pragma once

#include <string>

#include "db/values/Currency.h"

namespace zav {

// The general number format with 15 significant digits: rounded to 18 significant digits
// (halves to even), then to 15 (a sixteenth digit of 5 or more rounds up in magnitude);
// fixed notation for decimal exponents -3 to 15, otherwise d.dddE-x. Zero gives "0", infinities
// "INF" and "-INF", NaN "NAN". No grouping.
std::string FormatGeneralFloat(double value, char decimalSeparator);

// The exact amount: whole digits, then the separator and the fraction without trailing zeros
// when there is one. Never an exponent.
std::string FormatCurrency(Currency value, char decimalSeparator);

}  // namespace zav
