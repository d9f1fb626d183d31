#include "platform/WindowsLocaleFormat.h"

#include <cstddef>

namespace zav {
namespace {

std::size_t RunLength(std::string_view text, std::size_t start) {
    std::size_t end = start;
    while (end < text.size() && text[end] == text[start]) {
        ++end;
    }
    return end - start;
}

// Copies the quoted text starting at the opening quote; two quotes in a row, inside or outside
// quoted text, stand for one quote. Returns the index after what was copied.
std::size_t CopyQuoted(std::string_view picture, std::size_t open, std::string& out) {
    if (open + 1 < picture.size() && picture[open + 1] == '\'') {
        out += '\'';
        return open + 2;
    }
    std::size_t i = open + 1;
    while (i < picture.size()) {
        if (picture[i] == '\'') {
            if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                out += '\'';
                i += 2;
                continue;
            }
            return i + 1;
        }
        out += picture[i++];
    }
    return i;
}

}  // namespace

std::string DateFormatFromWindows(std::string_view picture) {
    std::string result;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            i = CopyQuoted(picture, i, result);
            continue;
        }
        const std::size_t run = RunLength(picture, i);
        if (c == 'g') {
            // The era is not part of a numeric date; drop it with the blank that joins it.
            i += run;
            if (i < picture.size() && picture[i] == ' ') {
                ++i;
            }
            continue;
        }
        result.append(picture.substr(i, run));
        i += run;
    }
    while (!result.empty() && result.back() == ' ') {
        result.pop_back();
    }
    return result;
}

std::string TimeFormatFromWindows(std::string_view picture) {
    std::string result;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            i = CopyQuoted(picture, i, result);
            continue;
        }
        const std::size_t run = RunLength(picture, i);
        switch (c) {
            case 'h':
            case 'H':
                result += run >= 2 ? "hh" : "h";
                break;
            case 'm':
                result += run >= 2 ? "nn" : "n";
                break;
            case 's':
                result += run >= 2 ? "ss" : "s";
                break;
            case 't':
                result += "AMPM";
                break;
            default:
                result.append(picture.substr(i, run));
                break;
        }
        i += run;
    }
    return result;
}

char DateSeparatorOf(std::string_view dateFormat, char fallback) {
    for (char c : dateFormat) {
        if (c != 'd' && c != 'M' && c != 'y') {
            return c;
        }
    }
    return fallback;
}

}  // namespace zav
