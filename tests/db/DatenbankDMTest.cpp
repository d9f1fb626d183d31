#include <gtest/gtest.h>

#include <memory>

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DatenbankDM.h"
#include "db/values/ValueErrors.h"
#include "support/TestDatabase.h"
#include "unit/ExpectError.h"

namespace zav {
namespace {

using test::TestDatabase;
using test::ThrowsWithMessage;

// A second query and statement on the module's connection and transaction, as the update module
// binds them.
struct UpdateModule {
    explicit UpdateModule(TdmDatenbank& dm)
        : dqQuery("dqQuery", dm.dbMain, dm.trMain), sqlScript(dm.dbMain, dm.trMain) {}
    TDbQuery dqQuery;
    TDbStatement sqlScript;
};

int CountRates(const TestDatabase& db, int percent) {
    return db.QueryInt("select count(*) from STEUERSATZ where PROZENT = " +
                       std::to_string(percent));
}

TEST(DatenbankDM, ReadsTheFirstYearAndTheTaxRateIds) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    TdmDatenbank dm;
    dm.Connect(db.Path());
    EXPECT_EQ(dm.GetJahr(), 2020);
    EXPECT_EQ(dm.GetSteuersatzId(0), 1);
    EXPECT_EQ(dm.GetSteuersatzId(10), 2);
    EXPECT_EQ(dm.GetSteuersatzId(20), 4);
    EXPECT_TRUE(dm.dqQuery.Active());  // the operations leave the query open
    EXPECT_TRUE(dm.trMain.Active());
    dm.Disconnect();
    EXPECT_FALSE(dm.dbMain.Connected());
    EXPECT_FALSE(dm.trMain.Active());
}

TEST(DatenbankDM, MissingTaxRateNamesThePercentage) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    TdmDatenbank dm;
    dm.Connect(db.Path());
    for (int percent : {5, 7, -1}) {
        EXPECT_TRUE(ThrowsWithMessage<DatabaseError>(
            [&] { dm.GetSteuersatzId(percent); },
            "Steuersatz mit " + std::to_string(percent) + "% wurde nicht gefunden."));
        EXPECT_EQ(dm.dqQuery.SQL(),
                  "select * from STEUERSATZ where PROZENT = " + std::to_string(percent));
        EXPECT_TRUE(dm.dqQuery.Active());
        EXPECT_TRUE(dm.dqQuery.Eof());
    }
}

TEST(DatenbankDM, SeveralRowsOfOnePercentageGiveTheFirstDelivered) {
    TestDatabase db = TestDatabase::WithSchema(
        "INSERT INTO STEUERSATZ (STEUERSATZID, PROZENT, INFO) VALUES (7, 10, 'alt');\n"
        "INSERT INTO STEUERSATZ (STEUERSATZID, PROZENT, INFO) VALUES (3, 10, 'neu');\n");
    const int first = db.QueryInt("select STEUERSATZID from STEUERSATZ where PROZENT = 10 rows 1");
    TdmDatenbank dm;
    dm.Connect(db.Path());
    EXPECT_EQ(dm.GetSteuersatzId(10), first);
}

TEST(DatenbankDM, UpdateSteuersatzInsertsTheReducedRateOnce) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    {
        TdmDatenbank dm;
        dm.Connect(db.Path());
        dm.UpdateSteuersatz();
        dm.UpdateSteuersatz();  // sees its own uncommitted row
        EXPECT_EQ(dm.sqlMain.SQL(),
                  "insert into STEUERSATZ (PROZENT, INFO) values (5, 'Corona Sondersteuersatz')");
        dm.Disconnect();
    }
    EXPECT_EQ(db.QueryRows("select STEUERSATZID, PROZENT, INFO from STEUERSATZ where PROZENT = 5"),
              (std::vector<std::vector<std::string>>{{"5", "5", "Corona Sondersteuersatz"}}));

    TdmDatenbank again;
    again.Connect(db.Path());
    again.UpdateSteuersatz();
    again.Disconnect();
    EXPECT_EQ(CountRates(db, 5), 1);
}

// The transactions of one update run, watched from a second attachment: each close of the
// module's query while no other query is open commits; the writes of the update itself stay
// invisible until the disconnect.
TEST(DatenbankDM, TransactionsOfARunWithTheYearCheck) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    TdmDatenbank dm;
    UpdateModule update(dm);
    dm.Connect(db.Path());
    EXPECT_FALSE(dm.trMain.Active());

    EXPECT_EQ(dm.GetJahr(), 2020);  // first transaction
    EXPECT_TRUE(dm.trMain.Active());
    dm.UpdateSteuersatz();  // first commits, the second holds the insert
    EXPECT_EQ(CountRates(db, 5), 0);

    const int id5 = dm.GetSteuersatzId(5);  // second commits
    EXPECT_EQ(CountRates(db, 5), 1);
    dm.GetSteuersatzId(10);  // third commits, fourth starts

    update.dqQuery.SetSQL("select * from BETRIEB");
    update.dqQuery.Open();
    update.sqlScript.SetSQL(
        "insert into HGR_ARTIKEL (HGR_ARTIKELID, POS, BEZEICHNUNG, VSTID, USTID) values (99, 5, "
        "'Zeitungen 5% Sondersteuersatz', " +
        std::to_string(id5) + ", " + std::to_string(id5) + ")");
    update.sqlScript.ExecQuery();
    // Closing and reopening either query while the other is open commits nothing.
    dm.GetSteuersatzId(5);
    update.dqQuery.Close();
    update.dqQuery.Open();
    dm.GetSteuersatzId(10);
    EXPECT_EQ(db.QueryInt("select count(*) from HGR_ARTIKEL where HGR_ARTIKELID = 99"), 0);
    EXPECT_TRUE(dm.trMain.Active());

    dm.Disconnect();  // fourth commits
    EXPECT_EQ(db.QueryInt("select count(*) from HGR_ARTIKEL where HGR_ARTIKELID = 99"), 1);
}

TEST(DatenbankDM, TransactionsOfARunWithoutTheYearCheck) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    TdmDatenbank dm;
    dm.Connect(db.Path());
    dm.UpdateSteuersatz();  // the first transaction starts here and holds the insert
    EXPECT_TRUE(dm.trMain.Active());
    EXPECT_EQ(CountRates(db, 5), 0);
    dm.GetSteuersatzId(5);  // first commits
    EXPECT_EQ(CountRates(db, 5), 1);
    dm.Disconnect();
}

TEST(DatenbankDM, GetJahrReadsTextAndIntegerColumns) {
    TestDatabase text = TestDatabase::FromFixture("trafik");
    TestDatabase integer = TestDatabase::FromScript(
        "CREATE TABLE EINSTELLUNGEN (NAMEID VARCHAR(60) NOT NULL PRIMARY KEY, WERT INTEGER);\n"
        "INSERT INTO EINSTELLUNGEN VALUES ('Datum.AnfangsJahr', 2020);\n");
    TdmDatenbank dm;
    dm.Connect(text.Path());
    EXPECT_EQ(dm.GetJahr(), 2020);
    dm.Connect(integer.Path());
    EXPECT_EQ(dm.GetJahr(), 2020);
    EXPECT_EQ(dm.dbMain.DatabaseName(), integer.Path());
}

TEST(DatenbankDM, GetJahrWithoutTheSettingsRow) {
    TestDatabase text = TestDatabase::FromFixture("schema");
    TestDatabase integer = TestDatabase::FromScript(
        "CREATE TABLE EINSTELLUNGEN (NAMEID VARCHAR(60) NOT NULL PRIMARY KEY, WERT INTEGER);\n");
    TdmDatenbank dm;
    dm.Connect(integer.Path());
    EXPECT_EQ(dm.GetJahr(), 0);
    dm.Connect(text.Path());
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>([&] { dm.GetJahr(); },
                                                "'''' ist kein gültiger Integer-Wert"));
    EXPECT_TRUE(dm.dqQuery.Active());
}

TEST(DatenbankDM, GetJahrWithoutTheValueColumn) {
    TestDatabase db = TestDatabase::FromScript(
        "CREATE TABLE EINSTELLUNGEN (NAMEID VARCHAR(60) NOT NULL PRIMARY KEY, INHALT VARCHAR(20));"
        "\nINSERT INTO EINSTELLUNGEN VALUES ('Datum.AnfangsJahr', '2020');\n");
    TdmDatenbank dm;
    dm.Connect(db.Path());
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { dm.GetJahr(); },
                                                 "dqQuery: Das Feld 'WERT' wurde nicht gefunden"));
    EXPECT_TRUE(dm.dqQuery.Active());
}

TEST(DatenbankDM, ConnectWhileConnectedCommitsAndAttachesToTheNewFile) {
    TestDatabase first = TestDatabase::FromFixture("trafik");
    TestDatabase second = TestDatabase::FromFixture("trafik");
    TdmDatenbank dm;
    dm.Disconnect();  // closed: nothing happens
    dm.Connect(first.Path());
    dm.UpdateSteuersatz();
    dm.Connect(second.Path());
    EXPECT_EQ(CountRates(first, 5), 1);
    EXPECT_EQ(CountRates(second, 5), 0);
    EXPECT_TRUE(dm.dbMain.Connected());
    EXPECT_FALSE(dm.trMain.Active());
}

TEST(DatenbankDM, FailedConnectLeavesTheConnectionClosed) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    TdmDatenbank dm;
    EXPECT_THROW(dm.Connect(db.Folder() + "/Fehlt2020.zqd"), DatabaseError);
    EXPECT_FALSE(dm.dbMain.Connected());
    dm.Connect(db.Path());
    EXPECT_TRUE(dm.dbMain.Connected());
}

TEST(DatenbankDM, RollbackUndoesTheWritesOfAFailedRun) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    TdmDatenbank dm;
    UpdateModule update(dm);
    dm.Connect(db.Path());
    dm.UpdateSteuersatz();
    dm.GetSteuersatzId(5);  // the rate is committed on its own
    update.dqQuery.SetSQL("select * from HGR_ARTIKEL order by POS");
    update.dqQuery.Open();
    update.sqlScript.SetSQL("update HGR_ARTIKEL set POS = POS + 100");
    update.sqlScript.ExecQuery();
    update.sqlScript.SetSQL("insert into HGR_ARTIKEL (HGR_ARTIKELID, BEZEICHNUNG) values (1, 'x')");
    EXPECT_THROW(update.sqlScript.ExecQuery(), DatabaseError);  // the primary key refuses it

    dm.trMain.Rollback();
    EXPECT_FALSE(dm.trMain.Active());
    EXPECT_FALSE(update.dqQuery.Active());
    EXPECT_FALSE(dm.dqQuery.Active());
    dm.Disconnect();
    EXPECT_EQ(db.QueryInt("select max(POS) from HGR_ARTIKEL"), 20);
    EXPECT_EQ(CountRates(db, 5), 1);
}

TEST(DatenbankDM, DestroyingAnOpenModuleCommitsNothing) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    {
        TdmDatenbank dm;
        dm.Connect(db.Path());
        dm.UpdateSteuersatz();
    }
    EXPECT_EQ(CountRates(db, 5), 0);
}

}  // namespace
}  // namespace zav
