#include "db/firebird/ParamScan.h"

#include "db/firebird/DatabaseErrors.h"

namespace zav {
namespace {

[[noreturn]] void Fail(const char* reason) {
    throw DatabaseError(std::string("SQL-Analysefehler:\r\n\r\n") + reason);
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$';
}

// Copies the string that starts at pos (its quote character included) and returns the position
// after its closing quote. A doubled quote character belongs to the string.
std::size_t CopyString(const std::string& sql, std::size_t pos, std::string& out) {
    const char quote = sql[pos];
    out += quote;
    ++pos;
    while (pos < sql.size()) {
        out += sql[pos];
        if (sql[pos] == quote) {
            if (pos + 1 < sql.size() && sql[pos + 1] == quote) {
                out += quote;
                pos += 2;
                continue;
            }
            return pos + 1;
        }
        ++pos;
    }
    Fail("EOF im String gefunden");
}

std::size_t CopyComment(const std::string& sql, std::size_t pos, std::string& out) {
    const std::size_t end = sql.find("*/", pos + 2);
    if (end == std::string::npos) {
        Fail("EOF im Kommentar gefunden");
    }
    out.append(sql, pos, end + 2 - pos);
    return end + 2;
}

// Reads the name after a marker at pos; returns the position after it.
std::size_t ReadName(const std::string& sql, std::size_t pos, std::string& name) {
    if (pos < sql.size() && sql[pos] == '"') {
        const std::size_t close = sql.find('"', pos + 1);
        if (close == std::string::npos) {
            Fail("EOF im String gefunden");
        }
        name = sql.substr(pos + 1, close - pos - 1);
        return close + 1;
    }
    const std::size_t start = pos;
    while (pos < sql.size() && IsNameChar(sql[pos])) {
        ++pos;
    }
    if (pos == start) {
        Fail("Parametername erwartet");
    }
    name = sql.substr(start, pos - start);
    return pos;
}

}  // namespace

ScannedSql ScanSqlParameters(const std::string& sql) {
    ScannedSql result;
    result.text.reserve(sql.size());
    std::size_t pos = 0;
    while (pos < sql.size()) {
        const char c = sql[pos];
        if (c == '\'' || c == '"') {
            pos = CopyString(sql, pos, result.text);
        } else if (c == '/' && pos + 1 < sql.size() && sql[pos + 1] == '*') {
            pos = CopyComment(sql, pos, result.text);
        } else if (c == ':' || c == '?') {
            std::string name;
            pos = ReadName(sql, pos + 1, name);
            result.text += '?';
            result.parameterNames.push_back(std::move(name));
        } else {
            result.text += c;
            ++pos;
        }
    }
    return result;
}

}  // namespace zav
