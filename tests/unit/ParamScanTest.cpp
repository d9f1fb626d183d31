#include <gtest/gtest.h>

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/ParamScan.h"
#include "unit/ExpectError.h"

namespace zav {
namespace {

using test::ThrowsWithMessage;

TEST(ParamScan, TextsWithoutMarkersComeBackUnchanged) {
    for (const std::string sql : {
             "select * from STEUERSATZ where PROZENT = 5",
             "insert into ARTIKEL (ARTIKEL_NAME) values ('Zeitung: Extra? 12:30')",
             "select \"Spalte:x\" from T where A = 'It''s :p' /* :q ? */",
             "update T set A = 'x''' || \"y\"\"z?\"",
             "select ':' , '?', \"?\" from RDB$DATABASE",
         }) {
        const ScannedSql scanned = ScanSqlParameters(sql);
        EXPECT_EQ(scanned.text, sql);
        EXPECT_TRUE(scanned.parameterNames.empty()) << sql;
    }
}

TEST(ParamScan, MarkersBecomeQuestionMarksAndTheirNamesAreRecorded) {
    const ScannedSql scanned = ScanSqlParameters(
        "update T set A = :Neu_Wert$1, B = ?b, C = :\"mit Blank\" where ID = :id and X = ':y'");
    EXPECT_EQ(scanned.text, "update T set A = ?, B = ?, C = ? where ID = ? and X = ':y'");
    EXPECT_EQ(scanned.parameterNames,
              (std::vector<std::string>{"Neu_Wert$1", "b", "mit Blank", "id"}));
}

TEST(ParamScan, Errors) {
    struct Case {
        std::string sql;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"select 'offen", "EOF im String gefunden"},
        {"select \"offen", "EOF im String gefunden"},
        {"select 'a''", "EOF im String gefunden"},
        {"select 1 /* offen", "EOF im Kommentar gefunden"},
        {"select 1 /* offen *", "EOF im Kommentar gefunden"},
        {"select :", "Parametername erwartet"},
        {"select ? from T", "Parametername erwartet"},
        {"select :-1", "Parametername erwartet"},
        {"select :\"offen", "EOF im String gefunden"},
    };
    for (const Case& test : cases) {
        EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { ScanSqlParameters(test.sql); },
                                                     "SQL-Analysefehler:\r\n\r\n" + test.reason))
            << test.sql;
    }
}

}  // namespace
}  // namespace zav
