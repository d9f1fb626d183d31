#include <gtest/gtest.h>

#include "Components.h"
#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DbStatement.h"
#include "support/TestDatabase.h"
#include "unit/ExpectError.h"

namespace zav {
namespace {

using test::Components;
using test::TestDatabase;
using test::ThrowsWithMessage;

class DbStatementTest : public ::testing::Test {
protected:
    TestDatabase db = TestDatabase::FromFixture("trafik");
    Components c{db.Path()};
};

TEST_F(DbStatementTest, RefusesToRunOutsideAnOpenConnectionAndTransaction) {
    c.statement.SetSQL("insert into STEUERSATZ (PROZENT, INFO) values (5, 'A')");
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>(
        [&] { c.statement.ExecQuery(); },
        "Operation kann nicht ausgeführt werden -- DB ist nicht geöffnet"));
    EXPECT_FALSE(c.connection.Connected());  // a statement never opens the connection

    c.connection.Open();
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { c.statement.ExecQuery(); },
                                                 "Transaktion ist nicht aktiv"));
    c.OpenFirst("select * from BETRIEB");
    c.first.Close();  // commits: no query of the transaction is open since
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { c.statement.ExecQuery(); },
                                                 "Transaktion ist nicht aktiv"));
    EXPECT_FALSE(c.transaction.Active());
}

TEST_F(DbStatementTest, EmptyAndRefusedTexts) {
    c.OpenFirst("select * from BETRIEB");
    c.statement.SetSQL("");
    EXPECT_TRUE(
        ThrowsWithMessage<DatabaseError>([&] { c.statement.ExecQuery(); }, "Leere Abfrage"));
    c.statement.SetSQL("  \r\n ");  // not empty: the server's own error
    try {
        c.statement.ExecQuery();
        ADD_FAILURE() << "blank statement executed";
    } catch (const DatabaseError& error) {
        EXPECT_NE(std::string(error.what()), "Leere Abfrage");
    }
    c.statement.SetSQL("set transaction");
    EXPECT_TRUE(
        ThrowsWithMessage<DatabaseError>([&] { c.statement.ExecQuery(); }, "Nicht zulässig"));
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (5, 'A')");  // still usable
    c.first.Close();
    EXPECT_EQ(db.QueryInt("select count(*) from STEUERSATZ where PROZENT = 5"), 1);
}

TEST_F(DbStatementTest, QuotedColonsAndQuestionMarksAreSentUnchanged) {
    c.OpenFirst("select * from BETRIEB");
    c.Execute(
        "insert into STEUERSATZ (PROZENT, INFO) values (5, 'Zeitungen: Ausgabe 12:30? ''a:b''')");
    c.Execute(
        "update STEUERSATZ /* Kommentar :x ? */ set INFO = INFO || ' \":y\"' "
        "where PROZENT = 5");
    c.first.Close();
    EXPECT_EQ(db.QueryColumn("select INFO from STEUERSATZ where PROZENT = 5"),
              (std::vector<std::string>{"Zeitungen: Ausgabe 12:30? 'a:b' \":y\""}));
}

TEST_F(DbStatementTest, ParameterScanErrors) {
    c.OpenFirst("select * from BETRIEB");
    struct Case {
        std::string sql;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"insert into STEUERSATZ (PROZENT, INFO) values (5, 'offen)", "EOF im String gefunden"},
        {"update STEUERSATZ set INFO = 'x' /* offen", "EOF im Kommentar gefunden"},
        {"update STEUERSATZ set INFO = : where PROZENT = 5", "Parametername erwartet"},
    };
    for (const Case& test : cases) {
        c.statement.SetSQL(test.sql);
        EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { c.statement.ExecQuery(); },
                                                     "SQL-Analysefehler:\r\n\r\n" + test.reason))
            << test.sql;
    }
}

TEST_F(DbStatementTest, AFailedStatementLeavesTheEarlierWorkInTheTransaction) {
    c.OpenFirst("select * from BETRIEB");
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (5, 'A')");
    c.statement.SetSQL("insert into STEUERSATZ (STEUERSATZID, PROZENT) values (1, 3)");
    try {
        c.statement.ExecQuery();
        ADD_FAILURE() << "the primary key let a duplicate pass";
    } catch (const DatabaseError& error) {
        // German advice first, then the engine's text.
        EXPECT_EQ(std::string(error.what()).substr(std::string(error.what()).find("\r\n\r\n")),
                  "\r\n\r\nviolation of PRIMARY or UNIQUE KEY constraint \"PK_STEUERSATZ\" on "
                  "table \"STEUERSATZ\"\r\nProblematic key value is (\"STEUERSATZID\" = 1)");
        EXPECT_EQ(error.SqlCode(), -803);
        EXPECT_EQ(error.EngineCode(), 335544665);
    }
    EXPECT_TRUE(c.transaction.Active());
    c.first.Close();
    EXPECT_EQ(db.QueryInt("select count(*) from STEUERSATZ"), 5);
}

TEST_F(DbStatementTest, StaysPreparedAcrossTransactions) {
    c.statement.SetSQL("insert into STEUERSATZ (PROZENT, INFO) values (5, 'A')");
    for (int run = 0; run < 2; ++run) {
        c.OpenFirst("select * from BETRIEB");
        c.statement.ExecQuery();
        c.first.Close();
    }
    EXPECT_EQ(db.QueryInt("select count(*) from STEUERSATZ where PROZENT = 5"), 2);
}

TEST_F(DbStatementTest, ASelectCanRunTwice) {
    c.OpenFirst("select * from BETRIEB");
    c.statement.SetSQL("select * from STEUERSATZ");
    c.statement.ExecQuery();
    c.statement.ExecQuery();
    c.first.Close();
    EXPECT_FALSE(c.transaction.Active());
}

}  // namespace
}  // namespace zav
