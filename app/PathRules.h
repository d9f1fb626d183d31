#pragma once

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace zav {

// The path rules of the window that have a Windows meaning: drive letters, the extended-length
// prefix \\?\, the 260-character limit, the colon rule and the characters no path may hold. They
// are pure text rules, so every platform tests them; PathStyle says whose rules a caller follows.
enum class PathStyle { Windows, Posix };

// The style of the file system whose folder separator is given.
PathStyle PathStyleOf(char separator);

// "\\?\" at the start of the path.
bool HasExtendedLengthPrefix(std::string_view path);

// The path as the database client takes it, which would read "\\?\C" as a server's name:
// \\?\C:\… becomes C:\…, \\?\UNC\server\share\… becomes \\server\share\…, any other path
// stays as it is. Throws UserInputError for another kind of prefixed path and for one that is too
// long without its prefix.
std::string PathForDatabaseClient(std::string_view path);

// 260 or more characters (counted as Windows counts them, in UTF-16 units) without the prefix.
bool IsPathTooLong(std::string_view path);

// A colon anywhere after the colon of the path's drive, or anywhere at all without a drive.
bool HasColonAfterDrive(std::string_view path);

// A control character U+0000..U+001F, the quotation mark, "<", ">" or "|".
bool HasInvalidPathChars(std::string_view path);

// The upper-case drive letter when the text begins, after an optional \\?\, with a letter A..Z in
// either case followed by a colon.
std::optional<char> DriveLetterOf(std::string_view text);

// True when the text begins with a drive letter that is in the set of existing drives.
bool BeginsWithExistingDrive(std::string_view text, const std::bitset<26>& drives);

// The tests the folder listing runs on a folder's full path, in their order: length, colon,
// invalid characters. Throws UserInputError with the system's message for the first that fails.
void CheckFullFolderPath(std::string_view fullPath);

// The folder part of a text that begins with an existing drive, for the file dialog's initial
// folder: C:\Prog\x.zqd gives C:\Prog, C:\x.zqd gives C:\, C:x.zqd gives C:, and C:\ or C: alone
// give an empty text. Throws UserInputError for a text that is too long or holds a character no
// path may hold.
std::string WindowsFolderPart(std::string_view text);

// The folder part of an absolute POSIX path: /a/b/x.zqd gives /a/b, /x.zqd gives /, / gives "".
std::string PosixFolderPart(std::string_view text);

// The file dialog's initial folder: the text less a final separator, unless that separator is the
// only character or (Windows) follows a colon. On Windows only a backslash counts here.
std::string InitialFolder(std::string_view text, PathStyle style);

}  // namespace zav
