#include "platform/LocaleFormat.h"

#include <algorithm>
#include <cstddef>

namespace zav {
namespace {

// Literal text comes out quoted when it was quoted or when the writer would take a letter or a
// quote in it for a code. The writer knows no escaped quote: an apostrophe goes between double
// quotes.
void AppendLiteral(std::string& out, std::string& literal, bool& quoted) {
    for (char c : literal) {
        const char lower = static_cast<char>(c | 0x20);
        quoted = quoted || (lower >= 'a' && lower <= 'z') || c == '\'' || c == '"';
    }
    if (quoted) {
        out += '\'';
        for (char c : literal) {
            out += c == '\'' ? std::string_view("'\"'\"'") : std::string_view(&c, 1);
        }
        out += '\'';
    } else {
        out += literal;
    }
    literal.clear();
    quoted = false;
}

// Quoted text from the opening quote on; two quotes in a row stand for one, also outside quoted
// text. Returns the index after it.
std::size_t ReadQuoted(std::string_view picture, std::size_t open, std::string& text) {
    std::size_t i = open + 1;
    for (; i < picture.size(); ++i) {
        if (picture[i] == '\'') {
            if (i + 1 == picture.size() || picture[i + 1] != '\'') {
                break;
            }
            ++i;
        }
        text += picture[i];
    }
    if (i == open + 1 && i < picture.size()) {
        text += '\'';
    }
    return i + 1;
}

// Runs of the code letters go to append (letter, run length); everything else is literal text.
template <typename Append>
std::string FromWindowsPicture(std::string_view picture, std::string_view codes, Append append) {
    std::string out;
    std::string literal;
    bool quoted = false;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            i = ReadQuoted(picture, i, literal);
            quoted = true;
        } else if (codes.find(c) == std::string_view::npos) {
            literal += c;
            ++i;
        } else {
            AppendLiteral(out, literal, quoted);
            const std::size_t run = std::min(picture.find_first_not_of(c, i), picture.size()) - i;
            append(out, c, run);
            i += run;
        }
    }
    AppendLiteral(out, literal, quoted);
    return out;
}

// The letter form of one strftime code, padded and unpadded ("%-d"); nullptr for a code without a
// counterpart.
const char* LettersOf(char code, bool unpadded) {
    struct Entry {
        char code;
        const char* padded;
        const char* unpadded = nullptr;  // when it differs
    };
    // clang-format off
    static constexpr Entry kCodes[] = {
        {'d', "dd", "d"}, {'e', "d"}, {'m', "MM", "M"}, {'y', "yy"}, {'Y', "yyyy"}, {'b', "MMM"},
        {'h', "MMM"}, {'B', "MMMM"}, {'a', "ddd"}, {'A', "dddd"}, {'H', "hh", "h"}, {'I', "hh", "h"},
        {'k', "h"}, {'l', "h"}, {'M', "nn", "n"}, {'S', "ss", "s"}, {'p', "AMPM"}, {'P', "AMPM"},
        {'D', "MM/dd/yy"}, {'F', "yyyy-MM-dd"}, {'T', "hh:nn:ss"}, {'R', "hh:nn"},
        {'r', "hh:nn:ss AMPM"}};
    // clang-format on
    for (const Entry& entry : kCodes) {
        if (entry.code == code) {
            return unpadded && entry.unpadded != nullptr ? entry.unpadded : entry.padded;
        }
    }
    return nullptr;
}

}  // namespace

std::string DateFormatFromWindows(std::string_view picture) {
    std::string result =
        FromWindowsPicture(picture, "dMyg", [](std::string& out, char c, std::size_t run) {
            if (c != 'g') {  // the era is no part of a numeric date
                out.append(run, c);
            }
        });
    // Without the era, the blank that joined it.
    result.erase(0, result.find_first_not_of(' '));
    result.erase(result.find_last_not_of(' ') + 1);
    return result;
}

std::string TimeFormatFromWindows(std::string_view picture) {
    return FromWindowsPicture(picture, "hHmst", [](std::string& out, char c, std::size_t run) {
        const bool twice = run >= 2;
        const bool hour = c == 'h' || c == 'H';
        out += hour       ? (twice ? "hh" : "h")
               : c == 'm' ? (twice ? "nn" : "n")
               : c == 's' ? (twice ? "ss" : "s")
                          : (twice ? "AMPM" : "A/P");
    });
}

std::optional<std::string> FormatFromStrftime(std::string_view format) {
    std::string out;
    std::string literal;
    bool quoted = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            literal += format[i];
            continue;
        }
        // Flags, width and the E and O modifiers change only how digits look.
        bool unpadded = false;
        while (++i + 1 < format.size() &&
               std::string_view("-_0^#EO123456789").find(format[i]) != std::string_view::npos) {
            unpadded = unpadded || format[i] == '-';
        }
        const char code = format[i];
        if (code == '%' || code == 'n' || code == 't') {
            literal += code == '%' ? '%' : ' ';
        } else if (const char* letters = LettersOf(code, unpadded)) {
            AppendLiteral(out, literal, quoted);
            out += letters;
        } else {
            return std::nullopt;
        }
    }
    AppendLiteral(out, literal, quoted);
    return out;
}

std::string DateSeparatorOf(std::string_view dateFormat, const std::string& fallback) {
    const std::size_t first = dateFormat.find_first_of("dMy");
    const std::size_t start = first == std::string_view::npos
                                  ? first
                                  : dateFormat.find_first_not_of(dateFormat[first], first);
    const std::size_t next = dateFormat.find_first_of("dMy", start);
    std::string separator(next == std::string_view::npos ? ""
                                                         : dateFormat.substr(start, next - start));
    std::erase_if(separator, [](char c) { return c == '\'' || c == '"'; });
    return separator.empty() ? fallback : separator;
}

}  // namespace zav
