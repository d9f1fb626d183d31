#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "Components.h"
#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DatenbankDM.h"
#include "db/firebird/DbConnection.h"
#include "db/firebird/UnitOfWork.h"
#include "support/TestDatabase.h"
#include "unit/ExpectError.h"

namespace zav {
namespace {

using test::Components;
using test::TestDatabase;
using test::ThrowsWithMessage;

constexpr const char* kMissingLibrary =
    "InterBase-Bibliothek gds32.dll im Pfad nicht gefunden. Bitte installieren Sie InterBase, um "
    "diese Funktion zu verwenden";

TEST(DbConnection, AttachErrors) {
    TestDatabase db = TestDatabase::FromFixture("schema");
    Components c(db.Path());
    c.connection.SetDatabaseName("");
    EXPECT_TRUE(
        ThrowsWithMessage<DatabaseError>([&] { c.connection.Open(); }, "Datenbankname fehlt"));

    const std::string missing = db.Folder() + "/Fehlt2020.zqd";
    c.connection.SetDatabaseName(missing);
    try {
        c.connection.Open();
        ADD_FAILURE() << "a missing file opened";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(std::string(error.what()), "I/O error during \"open\" operation for file \"" +
                                                 missing +
                                                 "\"\r\nError while trying to open file\r\nNo "
                                                 "such file or directory");
        EXPECT_EQ(error.SqlCode(), -902);
        EXPECT_EQ(error.EngineCode(), 335544344);  // isc_io_error
    }
    EXPECT_FALSE(c.connection.Connected());

    const std::string text = db.Folder() + "/Notizen.zqd";
    std::ofstream(text) << std::string(20000, 'x');
    c.connection.SetDatabaseName(text);
    EXPECT_THROW(c.connection.Open(), DatabaseError);
    EXPECT_FALSE(c.connection.Connected());

    c.connection.SetDatabaseName(db.Path());
    c.connection.Open();
    c.connection.Open();  // open: nothing happens
    EXPECT_TRUE(c.connection.Connected());
    EXPECT_THROW(c.connection.SetDatabaseName(missing), DatabaseError);
    EXPECT_EQ(c.connection.DatabaseName(), db.Path());
    c.connection.Close();
    c.connection.Close();  // closed: nothing happens
    EXPECT_FALSE(c.connection.Connected());
}

// Only the user name and the password are sent; the connection runs with character set NONE.
TEST(DbConnection, ParameterBlock) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    Components c(db.Path());
    c.OpenFirst(
        "select c.RDB$CHARACTER_SET_NAME, a.MON$USER from MON$ATTACHMENTS a join "
        "RDB$CHARACTER_SETS c on a.MON$CHARACTER_SET_ID = c.RDB$CHARACTER_SET_ID "
        "where a.MON$ATTACHMENT_ID = CURRENT_CONNECTION");
    EXPECT_EQ(c.first.Field(0).AsString(), "NONE");
    EXPECT_EQ(c.first.Field(1).AsString(), "SYSDBA");
    c.connection.Close();

    // The embedded engine trusts the user name, so another user shows it was sent: it may not
    // read the owner's tables.
    c.connection.Params() = {"ISC_DPB_USER_NAME=gast", "Password=geheim"};
    c.first.SetSQL("select * from STEUERSATZ");
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>(
        [&] { c.first.Open(); }, "no permission for SELECT access to TABLE STEUERSATZ"));
    c.connection.Close();

    c.connection.Params() = {"user_name=sysdba", "lc_ctype=UTF8"};
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { c.connection.Open(); },
                                                 "Unbekannter Datenbankparameter 'lc_ctype'"));
    EXPECT_FALSE(c.connection.Connected());
}

TEST(DbConnection, DialectIsLoweredToTheDatabasesAndNeverRaised) {
    TestDatabase dialect1 = TestDatabase::FromScript("CREATE TABLE T (A INTEGER);\n", 1);
    TestDatabase dialect3 = TestDatabase::FromFixture("schema");
    Components c(dialect3.Path());
    EXPECT_EQ(c.connection.SqlDialect(), 3);
    c.connection.Open();
    EXPECT_EQ(c.connection.SqlDialect(), 3);
    c.connection.Close();
    c.connection.SetDatabaseName(dialect1.Path());
    c.connection.Open();
    EXPECT_EQ(c.connection.SqlDialect(), 1);
    c.connection.Close();
    c.connection.SetDatabaseName(dialect3.Path());
    c.OpenFirst("select count(*) from STEUERSATZ");
    EXPECT_EQ(c.connection.SqlDialect(), 1);
    EXPECT_EQ(c.first.Field(0).AsInteger(), 0);
}

TEST(DbConnection, ClosingCommitsByTheStopRuleAndReleasesEverything) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    Components c(db.Path());
    c.OpenFirst("select * from BETRIEB");
    c.second.SetSQL("select * from EINHEIT");
    c.second.Open();
    c.Execute("update BETRIEB set ORT = 'Baden' where BETRIEBID = 3");
    c.connection.Close();
    EXPECT_FALSE(c.first.Active());
    EXPECT_FALSE(c.second.Active());
    EXPECT_FALSE(c.transaction.Active());
    EXPECT_EQ(db.QueryColumn("select ORT from BETRIEB where BETRIEBID = 3"),
              (std::vector<std::string>{"Baden"}));

    // Everything prepares again on the next connection.
    c.OpenFirst("select ORT from BETRIEB where BETRIEBID = 3");
    c.Execute("update BETRIEB set ORT = 'Vöslau' where BETRIEBID = 3");
    c.first.Close();
    EXPECT_EQ(db.QueryColumn("select ORT from BETRIEB where BETRIEBID = 3"),
              (std::vector<std::string>{"Vöslau"}));
}

// Writes become durable only by an explicit commit inside a unit of work, and a commit that the
// database refuses when the connection closes reaches the caller.
TEST(DbConnection, NothingIsCommittedOrRolledBackUnnoticed) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    db.Execute("CREATE EXCEPTION E_ABGELEHNT 'Abgelehnt im Test'");
    db.Execute(
        "CREATE TRIGGER T_ABSCHLUSS ON TRANSACTION COMMIT AS BEGIN IF (EXISTS (SELECT * FROM "
        "BETRIEB WHERE ORT = 'Abgelehnt')) THEN EXCEPTION E_ABGELEHNT; END");
    const auto ort = [&] { return db.QueryColumn("select ORT from BETRIEB where BETRIEBID = 3"); };
    const std::vector<std::string> before = ort();
    Components c(db.Path());
    c.connection.Open();
    {
        UnitOfWork work(c.transaction);
        c.OpenFirst("select * from BETRIEB");
        c.Execute("update BETRIEB set ORT = 'Baden' where BETRIEBID = 3");
        c.first.Close();  // the only open query: the stop rule would commit here
        EXPECT_TRUE(c.transaction.Active());
        EXPECT_EQ(ort(), before);
    }
    EXPECT_FALSE(c.transaction.Active());
    EXPECT_EQ(ort(), before);

    c.transaction.SetAutoStopAction(TransactionAction::None);
    c.OpenFirst("select * from BETRIEB");
    c.Execute("update BETRIEB set ORT = 'Abgelehnt' where BETRIEBID = 3");
    EXPECT_THROW(c.connection.Close(), DatabaseError);
    EXPECT_FALSE(c.connection.Connected());
    EXPECT_EQ(ort(), before);
}

TEST(DbConnection, DestroyingAnOpenConnectionRollsBack) {
    TestDatabase db = TestDatabase::FromFixture("trafik");
    {
        Components c(db.Path());
        c.OpenFirst("select * from BETRIEB");
        c.Execute("delete from MONAT_ERLOS");
    }
    EXPECT_EQ(db.QueryInt("select count(*) from MONAT_ERLOS"), 468);
}

TEST(ClientLibrary, MissingOrWithoutTheFunctionsIsReportedByTheComponents) {
    ClientLibrary missing({"libzav-fehlt.so.9"});
    ClientLibrary withoutFunctions({"libc.so.6"});
    EXPECT_TRUE(ThrowsWithMessage<ClientLibraryError>([&] { TDbConnection connection(missing); },
                                                      kMissingLibrary));
    EXPECT_TRUE(
        ThrowsWithMessage<ClientLibraryError>([&] { TdmDatenbank dm(missing); }, kMissingLibrary));
    EXPECT_TRUE(ThrowsWithMessage<ClientLibraryError>(
        [&] { TDbConnection connection(withoutFunctions); }, kMissingLibrary));
}

TEST(ClientLibrary, TheFirstFileThatLoadsWithEveryFunctionServes) {
    const TestDatabase db = TestDatabase::FromFixture("schema");
    ClientLibrary library({"libzav-fehlt.so.9", "libc.so.6", "libfbclient.so.2"});
    TDbConnection connection(library);
    connection.SetDatabaseName(db.Path());
    connection.Params() = {"user_name=sysdba", "password=quillbarn"};
    connection.Open();
    EXPECT_TRUE(connection.Connected());
}

}  // namespace
}  // namespace zav
