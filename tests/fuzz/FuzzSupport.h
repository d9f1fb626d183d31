#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/FormatSamples.h"

namespace zav::fuzz {

// Stops the run with a message; libFuzzer then keeps the input that got here.
[[noreturn]] inline void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

// what() ends at the first NUL character of a message, so compare only that far.
inline bool SameMessage(const char* what, const std::string& expected) {
    return std::string(what) == expected.substr(0, expected.find('\0'));
}

// One of the settings users have: German, English (US), or an ISO-like order with '-'.
inline FormatSettings SettingsFor(std::uint8_t selector) {
    switch (selector % 3) {
        case 0:
            return test::GermanFormats();
        case 1:
            return test::EnglishUSFormats();
        default:
            return FormatSettings{'.', "-", "yyyy-MM-dd", "hh:nn:ss"};
    }
}

// The first byte picks the settings, the rest is the text.
struct TextInput {
    FormatSettings settings;
    std::string text;
};

inline TextInput SplitInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return {test::GermanFormats(), std::string()};
    }
    return {SettingsFor(data[0]), std::string(reinterpret_cast<const char*>(data) + 1, size - 1)};
}

}  // namespace zav::fuzz
