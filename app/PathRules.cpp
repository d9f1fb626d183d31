#include "app/PathRules.h"

#include <cctype>

#include "platform/Errors.h"

namespace zav {
namespace {

constexpr std::string_view kExtendedLengthPrefix = "\\\\?\\";
constexpr std::size_t kMaxPath = 260;

bool IsWindowsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Where the drive of the path begins: after the prefix, if any.
std::size_t DriveStart(std::string_view path) {
    return HasExtendedLengthPrefix(path) ? kExtendedLengthPrefix.size() : 0;
}

bool HasDriveAt(std::string_view path, std::size_t pos) {
    return path.size() >= pos + 2 && IsAsciiLetter(path[pos]) && path[pos + 1] == ':';
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) {
        return false;
    }
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(start[i]))) {
            return false;
        }
    }
    return true;
}

// Windows counts a path in UTF-16 units: one per character, two for one beyond the BMP.
std::size_t Utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) {
            units += byte >= 0xF0 ? 2 : 1;
        }
    }
    return units;
}

}  // namespace

PathStyle PathStyleOf(char separator) {
    return separator == '\\' ? PathStyle::Windows : PathStyle::Posix;
}

bool HasExtendedLengthPrefix(std::string_view path) {
    return path.substr(0, kExtendedLengthPrefix.size()) == kExtendedLengthPrefix;
}

std::string PathForDatabaseClient(std::string_view path) {
    if (!HasExtendedLengthPrefix(path)) {
        return std::string(path);
    }
    const std::string_view rest = path.substr(kExtendedLengthPrefix.size());
    std::string plain;
    if (HasDriveAt(rest, 0) && rest.size() > 2 && rest[2] == '\\') {
        plain = rest;
    } else if (StartsWithIgnoringAsciiCase(rest, "UNC\\")) {
        plain = "\\\\" + std::string(rest.substr(4));
    } else {
        throw UserInputError("Der Pfad '" + std::string(path) +
                             "' kann nicht an die Datenbank übergeben werden. Bitte wählen Sie "
                             "die Datei über einen Laufwerksbuchstaben (C:\\…) oder eine "
                             "Netzwerkfreigabe (\\\\Server\\Freigabe\\…) aus.");
    }
    // Without the prefix the system's limit holds again.
    if (IsPathTooLong(plain)) {
        throw UserInputError("Der angegebene Pfad ist zu lang");
    }
    return plain;
}

bool IsPathTooLong(std::string_view path) {
    return Utf16Length(path) >= kMaxPath && !HasExtendedLengthPrefix(path);
}

bool HasColonAfterDrive(std::string_view path) {
    const std::size_t driveStart = DriveStart(path);
    const std::size_t searchFrom = HasDriveAt(path, driveStart) ? driveStart + 2 : 0;
    return path.find(':', searchFrom) != std::string_view::npos;
}

bool HasInvalidPathChars(std::string_view path) {
    for (char c : path) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '<' || c == '>' || c == '|') {
            return true;
        }
    }
    return false;
}

std::optional<char> DriveLetterOf(std::string_view text) {
    const std::size_t driveStart = DriveStart(text);
    if (!HasDriveAt(text, driveStart)) {
        return std::nullopt;
    }
    const char letter = text[driveStart];
    return letter >= 'a' ? static_cast<char>(letter - ('a' - 'A')) : letter;
}

bool BeginsWithExistingDrive(std::string_view text, const std::bitset<26>& drives) {
    const std::optional<char> letter = DriveLetterOf(text);
    return letter.has_value() && drives.test(static_cast<std::size_t>(*letter - 'A'));
}

void CheckFullFolderPath(std::string_view fullPath) {
    if (IsPathTooLong(fullPath)) {
        throw UserInputError("Der angegebene Pfad ist zu lang");
    }
    if (HasColonAfterDrive(fullPath)) {
        throw UserInputError("Das Pfadformat wird nicht unterstützt");
    }
    if (HasInvalidPathChars(fullPath)) {
        throw UserInputError("Ungültige Zeichen im Pfad");
    }
}

std::string WindowsFolderPart(std::string_view text) {
    if (IsPathTooLong(text)) {
        throw UserInputError("Der angegebene Pfad ist zu lang");
    }
    if (HasInvalidPathChars(text)) {
        throw UserInputError("Ungültige Zeichen im Dateinamen");
    }

    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::string_view trimmed = text.substr(first, text.find_last_not_of(' ') + 1 - first);

    const std::size_t driveStart = DriveStart(trimmed);
    const std::size_t driveEnd = HasDriveAt(trimmed, driveStart) ? driveStart + 2 : driveStart;
    std::size_t lastSeparator = std::string_view::npos;
    for (std::size_t pos = driveStart; pos < trimmed.size(); ++pos) {
        if (IsWindowsSeparator(trimmed[pos])) {
            lastSeparator = pos;
        }
    }

    if (lastSeparator == std::string_view::npos) {
        // C:x.zqd lies in the drive's current folder; the drive alone has no folder part.
        return trimmed.size() > driveEnd ? std::string(trimmed.substr(0, driveEnd)) : std::string();
    }
    if (lastSeparator == driveEnd) {
        // The root stays a folder of its own (C:\x.zqd gives C:\); the root alone gives nothing.
        return trimmed.size() > driveEnd + 1 ? std::string(trimmed.substr(0, driveEnd + 1))
                                             : std::string();
    }
    return std::string(trimmed.substr(0, lastSeparator));
}

std::string PosixFolderPart(std::string_view text) {
    const std::size_t lastSeparator = text.rfind('/');
    if (lastSeparator == std::string_view::npos || text == "/") {
        return {};
    }
    return std::string(text.substr(0, lastSeparator == 0 ? 1 : lastSeparator));
}

std::string InitialFolder(std::string_view text, PathStyle style) {
    const char separator = style == PathStyle::Windows ? '\\' : '/';
    if (text.size() > 1 && text.back() == separator &&
        !(style == PathStyle::Windows && text[text.size() - 2] == ':')) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

}  // namespace zav
