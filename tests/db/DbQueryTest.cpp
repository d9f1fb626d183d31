#include <gtest/gtest.h>

#include "Components.h"
#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DbQuery.h"
#include "db/values/ValueErrors.h"
#include "support/TestDatabase.h"
#include "unit/ExpectError.h"

namespace zav {
namespace {

using test::Components;
using test::TestDatabase;
using test::ThrowsWithMessage;

class DbQueryTest : public ::testing::Test {
protected:
    int CountRates(int percent) const {
        return db.QueryInt("select count(*) from STEUERSATZ where PROZENT = " +
                           std::to_string(percent));
    }

    TestDatabase db = TestDatabase::FromFixture("trafik");
    Components c{db.Path()};
};

TEST_F(DbQueryTest, WalksTheRowsAndKeepsTheLastRowAtTheEnd) {
    EXPECT_TRUE(c.first.Eof());  // before it was ever opened
    c.OpenFirst("select PROZENT, INFO from STEUERSATZ order by PROZENT");
    EXPECT_TRUE(c.connection.Connected());  // opening the query opened the connection
    std::vector<int> percents;
    while (!c.first.Eof()) {
        percents.push_back(c.first.FieldByName("PROZENT").AsInteger());
        c.first.Next();
    }
    EXPECT_EQ(percents, (std::vector<int>{0, 10, 13, 20}));
    c.first.Next();  // at the end: nothing happens
    EXPECT_EQ(c.first.FieldByName("PROZENT").AsInteger(), 20);
    EXPECT_EQ(c.first.Field(1).AsString(), "Normalsteuersatz");
    c.first.Close();
    EXPECT_TRUE(c.first.Eof());
    EXPECT_FALSE(c.first.Active());
}

TEST_F(DbQueryTest, EmptyResultReadsAsNull) {
    c.OpenFirst("select * from STEUERSATZ where PROZENT = 55");
    EXPECT_TRUE(c.first.Active());
    EXPECT_TRUE(c.first.Eof());
    EXPECT_EQ(c.first.FieldByName("STEUERSATZID").AsInteger(), 0);
    EXPECT_TRUE(c.first.FieldByName("INFO").IsNull());
    EXPECT_EQ(c.first.FieldByName("INFO").AsString(), "");
}

TEST_F(DbQueryTest, ColumnsByNameIgnoreCaseAndByPosition) {
    c.OpenFirst(
        "select * from LIEFERANT_ARTIKEL where ARTIKEL_GEBINDEID = 1010 order by LIEFERANTID");
    EXPECT_EQ(c.first.FieldByName("LieferantId").AsInteger(), 1);
    EXPECT_EQ(c.first.FieldByName("LieferantId").Name(), "LIEFERANTID");
    EXPECT_EQ(c.first.Field(0).AsInteger(), 1010);
    EXPECT_EQ(c.first.Field(2).AsString(), "TW-01");
    EXPECT_EQ(c.first.FieldCount(), 5);

    c.OpenFirst("select count(*) as ANZAHL, max(POS) + 1 from HGR_ARTIKEL");
    EXPECT_EQ(c.first.FieldByName("anzahl").AsInteger(), 14);
    EXPECT_EQ(c.first.Field(1).AsInteger(), 21);

    c.OpenFirst("select 7 as \"GR\u00d6SSE_\u00c9T\u00c9\" from RDB$DATABASE");
    EXPECT_EQ(c.first.FieldByName("gr\u00f6sse_\u00e9t\u00e9").AsInteger(), 7);
    EXPECT_EQ(c.first.Field(0).Name(), "GR\u00d6SSE_\u00c9T\u00c9");
}

TEST_F(DbQueryTest, WideResultsAreDescribedInFull) {
    std::string sql = "select ";
    for (int i = 1; i <= 40; ++i) {
        sql += (i > 1 ? ", " : "") + std::to_string(i) + " as S" + std::to_string(i);
    }
    c.OpenFirst(sql + " from RDB$DATABASE");
    EXPECT_EQ(c.first.FieldCount(), 40);
    EXPECT_EQ(c.first.FieldByName("s40").AsInteger(), 40);
    EXPECT_EQ(c.first.Field(32).AsInteger(), 33);
}

TEST_F(DbQueryTest, UnknownColumnsAndPositionsAreRefused) {
    c.OpenFirst("select * from STEUERSATZ");
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { c.first.FieldByName("WERT"); },
                                                 "dqQuery: Das Feld 'WERT' wurde nicht gefunden"));
    EXPECT_TRUE(ThrowsWithMessage<ArgumentOutOfRangeError>(
        [&] { c.first.Field(4); },
        "dqQuery: Die Spaltennummer 4 liegt außerhalb des gültigen Bereichs (0 bis 3)"));
    EXPECT_THROW(c.first.Field(-1), ArgumentOutOfRangeError);
    EXPECT_TRUE(c.first.Active());
    c.first.Close();
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { c.first.FieldByName("PROZENT"); },
                                                 "dqQuery: Die Abfrage ist nicht geöffnet"));
}

TEST_F(DbQueryTest, TextThatIsNoIntegerIsRefused) {
    c.OpenFirst("select WERT from EINSTELLUNGEN where NAMEID = 'Firma.Name'");
    EXPECT_TRUE(
        ThrowsWithMessage<ConvertError>([&] { c.first.Field(0).AsInteger(); },
                                        "''Trafik Gruber KG'' ist kein gültiger Integer-Wert"));
    EXPECT_TRUE(c.first.Active());
}

TEST_F(DbQueryTest, ServerErrorsCarryTheLibraryTexts) {
    struct Case {
        std::string sql;
        std::string text;
        long sqlCode;
    };
    const std::vector<Case> cases = {
        {"select * from NOSUCHTABLE",
         "Dynamic SQL Error\r\nSQL error code = -204\r\nTable unknown\r\nNOSUCHTABLE\r\n"
         "At line 1, column 15",
         -204},
        {"select NICHTDA from STEUERSATZ",
         "Dynamic SQL Error\r\nSQL error code = -206\r\nColumn unknown\r\nNICHTDA\r\n"
         "At line 1, column 8",
         -206},
    };
    for (const Case& test : cases) {
        c.first.SetSQL(test.sql);
        try {
            c.first.Open();
            ADD_FAILURE() << "no error for " << test.sql;
        } catch (const DatabaseError& error) {
            EXPECT_EQ(error.what(), test.text);
            EXPECT_EQ(error.SqlCode(), test.sqlCode);
            EXPECT_EQ(error.EngineCode(), 335544569);  // isc_dsql_error
        }
        EXPECT_FALSE(c.first.Active());
        EXPECT_TRUE(c.first.Eof());
    }
}

TEST_F(DbQueryTest, ParameterScanErrorsBeforePreparing) {
    c.first.SetSQL("select * from STEUERSATZ where INFO = 'offen");
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>(
        [&] { c.first.Open(); }, "SQL-Analysefehler:\r\n\r\nEOF im String gefunden"));
    EXPECT_FALSE(c.first.Active());
}

// The stop rule: closing the last open query of an automatically started transaction commits it,
// once; closing any other query, or a closed one, commits nothing.
TEST_F(DbQueryTest, ClosingTheLastOpenQueryCommits) {
    c.OpenFirst("select * from BETRIEB");
    c.second.SetSQL("select * from HGR_ARTIKEL");
    c.second.Open();
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (5, 'A')");

    c.first.Close();
    EXPECT_TRUE(c.transaction.Active());
    EXPECT_EQ(CountRates(5), 0);
    c.first.Close();  // closed already
    EXPECT_EQ(CountRates(5), 0);

    c.second.Close();
    EXPECT_FALSE(c.transaction.Active());
    EXPECT_EQ(CountRates(5), 1);
}

TEST_F(DbQueryTest, ClosingAClosedQueryNeverCommits) {
    c.OpenFirst("select * from BETRIEB");
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (5, 'A')");
    c.second.Close();
    c.second.SetSQL("select * from EINHEIT");  // setting a text closes only an open query
    EXPECT_TRUE(c.transaction.Active());
    EXPECT_EQ(CountRates(5), 0);
    c.first.SetSQL("select * from EINHEIT");  // closes the open query: the last one
    EXPECT_FALSE(c.transaction.Active());
    EXPECT_EQ(CountRates(5), 1);
}

TEST_F(DbQueryTest, AFailedOpenCountsAsAClose) {
    c.OpenFirst("select * from BETRIEB");
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (5, 'A')");
    c.second.SetSQL("select * from NOSUCHTABLE");
    EXPECT_THROW(c.second.Open(), DatabaseError);
    EXPECT_TRUE(c.transaction.Active());  // the first query is still open
    EXPECT_EQ(CountRates(5), 0);
    c.first.Close();
    EXPECT_EQ(CountRates(5), 1);

    // Alone, the failed query starts the transaction and its close ends it again.
    EXPECT_THROW(c.second.Open(), DatabaseError);
    EXPECT_FALSE(c.transaction.Active());
}

TEST_F(DbQueryTest, NoAutomaticStopMeansTheConnectionDecides) {
    c.transaction.SetAutoStopAction(TransactionAction::None);
    c.OpenFirst("select * from BETRIEB");
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (5, 'A')");
    c.first.Close();
    EXPECT_TRUE(c.transaction.Active());
    EXPECT_EQ(CountRates(5), 0);
    c.connection.Close();  // the default action commits
    EXPECT_EQ(CountRates(5), 1);

    c.transaction.SetDefaultAction(TransactionAction::RollbackRetaining);
    c.OpenFirst("select * from BETRIEB");
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (6, 'B')");
    c.connection.Close();  // a hard rollback
    EXPECT_FALSE(c.transaction.Active());
    EXPECT_EQ(CountRates(6), 0);
}

TEST_F(DbQueryTest, RetainingStopKeepsTheTransactionRunning) {
    c.transaction.SetAutoStopAction(TransactionAction::CommitRetaining);
    c.OpenFirst("select * from BETRIEB");
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (5, 'A')");
    c.first.Close();
    EXPECT_TRUE(c.transaction.Active());
    EXPECT_EQ(CountRates(5), 1);
}

TEST_F(DbQueryTest, WithoutAutomaticStartAQueryCannotOpen) {
    c.transaction.SetAllowAutoStart(false);
    c.first.SetSQL("select * from BETRIEB");
    EXPECT_TRUE(
        ThrowsWithMessage<DatabaseError>([&] { c.first.Open(); }, "Transaktion ist nicht aktiv"));
    EXPECT_FALSE(c.first.Active());
}

TEST_F(DbQueryTest, RollbackClosesTheQueriesAndUndoesTheWrites) {
    c.OpenFirst("select * from BETRIEB");
    c.second.SetSQL("select * from EINHEIT");
    c.second.Open();
    c.Execute("delete from MONAT_ERLOS");
    c.transaction.Rollback();
    EXPECT_FALSE(c.transaction.Active());
    EXPECT_FALSE(c.first.Active());
    EXPECT_FALSE(c.second.Active());
    c.transaction.Rollback();  // inactive: nothing happens
    c.connection.Close();
    EXPECT_EQ(db.QueryInt("select count(*) from MONAT_ERLOS"), 468);
}

// A commit that the database refuses (here by a trigger on commit): the stop rule raises and
// leaves the transaction active; closing the connection then ends it by force, rolling back.
class RefusedCommitTest : public ::testing::Test {
protected:
    TestDatabase db = TestDatabase::WithSchema(
        "CREATE EXCEPTION E_ABSCHLUSS 'Abschluss verweigert';\n"
        "SET TERM ^ ;\n"
        "CREATE TRIGGER T_COMMIT ON TRANSACTION COMMIT AS BEGIN\n"
        "  IF (EXISTS (SELECT * FROM STEUERSATZ WHERE PROZENT = 99)) THEN EXCEPTION E_ABSCHLUSS;\n"
        "END^\n"
        "SET TERM ; ^\n");
    Components c{db.Path()};
    const std::string refused =
        "exception 1\r\nE_ABSCHLUSS\r\nAbschluss verweigert\r\nAt trigger 'T_COMMIT' line: 2, "
        "col: 66";
};

TEST_F(RefusedCommitTest, StopRuleRaisesAndTheTransactionStaysActive) {
    c.OpenFirst("select * from STEUERSATZ");
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (99, 'x')");
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { c.first.Close(); }, refused));
    EXPECT_TRUE(c.transaction.Active());
    EXPECT_FALSE(c.first.Active());
    c.Execute("delete from STEUERSATZ where PROZENT = 99");
    c.OpenFirst("select * from STEUERSATZ");
    c.first.Close();
    EXPECT_FALSE(c.transaction.Active());
}

TEST_F(RefusedCommitTest, CloseFallsBackToAForcedCloseAndReportsTheError) {
    c.OpenFirst("select * from STEUERSATZ");
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (99, 'x')");
    c.Execute("insert into STEUERSATZ (PROZENT, INFO) values (5, 'y')");
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { c.connection.Close(); }, refused));
    EXPECT_FALSE(c.connection.Connected());
    EXPECT_FALSE(c.transaction.Active());
    EXPECT_EQ(db.QueryInt("select count(*) from STEUERSATZ"), 0);
    c.OpenFirst("select count(*) from STEUERSATZ");  // the components work again
    EXPECT_EQ(c.first.Field(0).AsInteger(), 0);
}

}  // namespace
}  // namespace zav
