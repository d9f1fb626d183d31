#pragma once

#include <string>

#include "platform/RegionalSettings.h"

namespace zav {

// The process-wide settings, read from the operating system on first use.
FormatSettings& CurrentFormatSettings();
void SetFormatSettings(const FormatSettings& settings);

// Puts the process-wide settings back as they were when it was made, on every way out of a scope.
class FormatSettingsRestorer {
public:
    FormatSettingsRestorer() : saved_(CurrentFormatSettings()) {}
    ~FormatSettingsRestorer() { CurrentFormatSettings() = saved_; }
    FormatSettingsRestorer(const FormatSettingsRestorer&) = delete;
    FormatSettingsRestorer& operator=(const FormatSettingsRestorer&) = delete;

private:
    FormatSettings saved_;
};

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
