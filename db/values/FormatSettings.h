#pragma once

#include <string>

#include "platform/RegionalSettings.h"

namespace zav {

// The process-wide settings, read from the operating system on first use.
FormatSettings& CurrentFormatSettings();

// Sets the process-wide decimal separator for the lifetime of the guard and puts the previous one
// back however the scope is left.
class DecimalSeparatorGuard {
public:
    explicit DecimalSeparatorGuard(char separator)
        : saved_(CurrentFormatSettings().decimalSeparator) {
        CurrentFormatSettings().decimalSeparator = separator;
    }
    ~DecimalSeparatorGuard() { CurrentFormatSettings().decimalSeparator = saved_; }
    DecimalSeparatorGuard(const DecimalSeparatorGuard&) = delete;
    DecimalSeparatorGuard& operator=(const DecimalSeparatorGuard&) = delete;

private:
    char saved_;
};

}  // namespace zav
