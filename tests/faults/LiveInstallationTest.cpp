// The tool beside the accounting application: a Firebird server on the loopback address holds the
// file, and a second attachment plays the other program. Whatever goes wrong, nothing of the update
// is durable, no attachment of the tool stays alive, and a later run completes the update.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "app/ErrorBox.h"
#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DatenbankDM.h"
#include "faults/FaultSupport.h"
#include "faults/TestServer.h"
#include "support/ClientTap.h"
#include "support/TestDatabase.h"
#include "update/TrafikUpdateDM.h"

namespace zav::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr long kNetReadError = 335544726;  // isc_net_read_err, which the layer takes as lost
constexpr long kIoError = 335544344;       // isc_io_error

class BesideAServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TestServer::Installed()) {
            GTEST_SKIP() << "the Firebird server (Debian package firebird3.0-server) is not "
                            "installed; scripts/install-deps.sh installs it";
        }
        server_.Start();
        remote_ = server_.RemoteName(db_.Path());
        ExecuteOn(remote_, "CREATE EXCEPTION E_ABGELEHNT 'Abgelehnt im Test'");
        before_ = ReadTables(remote_);
    }

    void ExpectNothingLeft() {
        EXPECT_EQ(DifferenceApartFromTheReducedRate(before_, ReadTables(remote_)), "");
        EXPECT_EQ(OtherAttachments(remote_), 0);
    }

    void ExpectALaterRunCompletes() {
        EXPECT_EQ(RunUpdateLikeTheButton(remote_), "");
        EXPECT_EQ(ReadTables(remote_).at("MONAT_ERLOS").size(),
                  before_.at("MONAT_ERLOS").size() + 36);
    }

    TestDatabase db_ = TestDatabase::FromFixture("trafik");
    TempFolder serverFolder_;
    TestServer server_{serverFolder_.Path()};
    std::string remote_;
    TableContents before_;
};

TEST_F(BesideAServer, RefusedCommitReachesTheCallerBeforeAnySuccess) {
    ExecuteOn(remote_,
              "CREATE TRIGGER T_ABSCHLUSS ON TRANSACTION COMMIT AS BEGIN "
              "IF (EXISTS (SELECT * FROM HGR_ARTIKEL WHERE BEZEICHNUNG = "
              "'Zeitungen 5% Sondersteuersatz')) THEN EXCEPTION E_ABGELEHNT; END");
    std::string error;
    {
        TdmDatenbank datenbank;
        TdmTrafikUpdate trafikUpdate(datenbank);
        datenbank.Connect(remote_);
        datenbank.UpdateSteuersatz();
        // Update returning normally is what lets the window report success.
        try {
            trafikUpdate.Update();
        } catch (const DatabaseError& e) {
            error = e.what();
        }
        EXPECT_FALSE(datenbank.trMain.Active());
        datenbank.Disconnect();
    }
    EXPECT_THAT(error, HasSubstr("Abgelehnt im Test"));
    ExpectNothingLeft();
    ExecuteOn(remote_, "DROP TRIGGER T_ABSCHLUSS");
    ExpectALaterRunCompletes();
}

TEST_F(BesideAServer, RowHeldByAnotherProgramEndsTheWaitWithAdvice) {
    OtherProgram accounting(remote_);
    // Its user edits the 10 % newspaper group.
    accounting.Hold(
        "update HGR_ARTIKEL set BEZEICHNUNG = 'in Bearbeitung' where HGR_ARTIKELID = 4");
    const std::string errorBox = RunUpdateLikeTheButton(remote_);
    EXPECT_THAT(errorBox, StartsWith("Ein anderes Programm bearbeitet gerade dieselben Daten"));
    EXPECT_THAT(errorBox, HasSubstr("starten Sie das Update danach erneut"));
    EXPECT_THAT(errorBox, HasSubstr("update conflicts with concurrent update"));
    EXPECT_EQ(DifferenceApartFromTheReducedRate(before_, ReadTables(remote_)), "");
    accounting.Release();
    EXPECT_EQ(OtherAttachments(remote_), 1);  // the other program's alone
    ExpectALaterRunCompletes();
}

TEST_F(BesideAServer, ConnectionTakenForLostIsRolledBackNotCommitted) {
    // The client reports a lost connection at the 20th monthly row while the server, still there,
    // could commit everything written before it.
    struct Plan {
        tap::Control tap;
        int monthlyRows = 0;
    };
    std::string errorBox;
    {
        ClientLibrary tapLibrary({ZAV_CLIENT_TAP});
        tapLibrary.Functions();  // loads the tap, so its controls can be found
        Plan plan{tap::Control::Of(ZAV_CLIENT_TAP)};
        plan.tap.setExecuteHook(
            [](const char* sql, void* context) {
                auto& plan = *static_cast<Plan*>(context);
                if (std::string(sql).rfind("insert into MONAT_ERLOS", 0) == 0 &&
                    ++plan.monthlyRows == 20) {
                    plan.tap.failNext("exec", kNetReadError);
                }
            },
            &plan);
        errorBox = RunUpdateLikeTheButton(remote_, tapLibrary);
        plan.tap.setExecuteHook(nullptr, nullptr);
    }
    EXPECT_NE(errorBox, "");
    ExpectNothingLeft();
    ExpectALaterRunCompletes();
}

TEST_F(BesideAServer, FailedRollbackLeavesNoAttachmentBehind) {
    ExecuteOn(remote_,
              "CREATE TRIGGER T_REJECT FOR ARTIKEL BEFORE INSERT AS BEGIN EXCEPTION E_ABGELEHNT; "
              "END");
    std::string errorBox;
    {
        ClientLibrary tapLibrary({ZAV_CLIENT_TAP});
        tapLibrary.Functions();
        tap::Control::Of(ZAV_CLIENT_TAP).failNext("rollback", kIoError);
        errorBox = RunUpdateLikeTheButton(remote_, tapLibrary);
    }
    EXPECT_THAT(errorBox, HasSubstr("Abgelehnt im Test"));
    ExpectNothingLeft();
    if (HasFailure()) {
        return;  // a leftover holds the renumbered groups: the next run would wait on it
    }
    ExecuteOn(remote_, "DROP TRIGGER T_REJECT");
    ExpectALaterRunCompletes();
}

}  // namespace
}  // namespace zav::test
