#pragma once

#include "platform/Errors.h"

namespace zav {

// Text that does not parse as a number or a date, or a value that does not fit its target.
class ConvertError : public ZavError {
public:
    using ZavError::ZavError;
};

// "Fehler bei Bereichsprüfung": an integer result outside its range.
class RangeError : public ZavError {
public:
    using ZavError::ZavError;
};

// A variant whose type code a record or builder does not accept.
class VariantTypeError : public ZavError {
public:
    using ZavError::ZavError;
};

// An index outside a list's bounds.
class ArgumentOutOfRangeError : public ZavError {
public:
    using ZavError::ZavError;
};

}  // namespace zav
