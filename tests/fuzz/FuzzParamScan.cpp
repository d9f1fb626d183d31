// The parameter scan of the database layer: on any text only its three refusals; markers and
// names agree; and a statement that the SQL builder writes comes through unchanged with no
// parameter, whatever its text values hold.
#include <algorithm>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/ParamScan.h"
#include "db/values/SqlUtils.h"

namespace {

void ScanAnyText(const std::string& sql) {
    zav::ScannedSql scanned;
    try {
        scanned = zav::ScanSqlParameters(sql);
    } catch (const zav::DatabaseError& error) {
        const std::string message = error.what();
        const std::string prefix = "SQL-Analysefehler:\r\n\r\n";
        if (message != prefix + "EOF im String gefunden" &&
            message != prefix + "EOF im Kommentar gefunden" &&
            message != prefix + "Parametername erwartet") {
            zav::fuzz::Fail("unexpected message", message);
        }
        return;
    }
    if (scanned.text.size() > sql.size()) {
        zav::fuzz::Fail("scan made the text longer", sql);
    }
    if (scanned.parameterNames.empty() && scanned.text != sql) {
        zav::fuzz::Fail("text without markers changed", sql);
    }
}

void ScanBuiltStatement(const std::string& values) {
    // Up to four text values, split at line feeds, beside an integer column.
    zav::TSqlFieldValueList list;
    list.Add("ID", 1);
    std::size_t start = 0;
    for (int column = 0; column < 4 && start <= values.size(); ++column) {
        const std::size_t end = std::min(values.find('\n', start), values.size());
        list.Add("TEXT" + std::to_string(column), zav::Variant(values.substr(start, end - start)));
        start = end + 1;
    }
    zav::TSqlCommand command;
    for (const std::string& sql : {command.Insert("T", list).AsString(),
                                   command.Update("T", list).Where("ID").EqualTo(-1).AsString()}) {
        const zav::ScannedSql scanned = zav::ScanSqlParameters(sql);
        if (scanned.text != sql || !scanned.parameterNames.empty()) {
            zav::fuzz::Fail("builder statement altered by the scan", sql);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        ScanAnyText(text);
    } else {
        ScanBuiltStatement(text);
    }
    return 0;
}
