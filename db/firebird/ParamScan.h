#pragma once

#include <string>
#include <vector>

namespace zav {

// An SQL text after the parameter scan: every marker (":name" or "?name" outside strings and
// comments) replaced by "?", and the names in order of appearance.
struct ScannedSql {
    std::string text;
    std::vector<std::string> parameterNames;
};

// Throws DatabaseError "SQL-Analysefehler:\r\n\r\n..." for a text that ends inside a string or a
// comment, or a marker without a name. Texts without markers come back unchanged.
ScannedSql ScanSqlParameters(const std::string& sql);

}  // namespace zav
