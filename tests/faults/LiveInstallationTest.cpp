// The tool beside the accounting application: a Firebird server on the loopback address holds the
// file, and a second attachment plays the other program. Whatever goes wrong, nothing of the update
// is durable, no attachment of the tool stays alive, and a later run completes the update.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/ErrorBox.h"
#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DatenbankDM.h"
#include "db/firebird/RunBound.h"
#include "db/firebird/internal/FaultAdvice.h"
#include "faults/FaultSupport.h"
#include "faults/TestServer.h"
#include "support/Attachment.h"
#include "support/ClientTap.h"
#include "support/RunLikeTheButton.h"
#include "support/TableContents.h"
#include "support/TestDatabase.h"
#include "update/TrafikUpdateDM.h"

namespace zav::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr long kNetReadError = 335544726;  // isc_net_read_err, which the layer takes as lost
constexpr long kIoError = 335544344;       // isc_io_error
// Far below the minutes that waiting statement by statement took, above the run's own bound.
constexpr auto kEndsWithin = std::chrono::seconds(30);

// The error box's text of the run, and whether the run ended within the bound.
std::pair<std::string, bool> RunBounded(const std::function<std::string()>& run) {
    const auto start = std::chrono::steady_clock::now();
    std::string errorBox = run();
    return {errorBox, std::chrono::steady_clock::now() - start < kEndsWithin};
}

int CountRows(const Rows& rows, std::size_t column, const std::string& value) {
    return static_cast<int>(std::count_if(rows.begin(), rows.end(),
                                          [&](const auto& row) { return row.at(column) == value; }));
}

// Whether the groups' positions (HGR_ARTIKEL's second column) are 1..n, each once.
bool PositionsOneToN(const Rows& groups) {
    std::vector<int> positions;
    for (const auto& row : groups) {
        positions.push_back(std::stoi(row.at(1)));
    }
    std::sort(positions.begin(), positions.end());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (positions[i] != static_cast<int>(i) + 1) {
            return false;
        }
    }
    return true;
}

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
    // Through the button: the error box, never the success box, and the 5 % rate stays.
    EXPECT_THAT(RunUpdateLikeTheButton(remote_, ClientLibrary::System(),
                                       [] { ADD_FAILURE() << "success reported"; }),
                HasSubstr("Abgelehnt im Test"));
    ExpectNothingLeft();
    EXPECT_EQ(CountRows(ReadTables(remote_).at("STEUERSATZ"), 1, "5"), 1);  // PROZENT
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
    EXPECT_THAT(errorBox, HasSubstr("conflicts with concurrent update"));
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

// Another program's unsaved work that the run meets ends the run within the bound, with advice,
// nothing of the run kept and no second 5 % rate or group beside the other program's; work that
// the run only waits for (Fault::None) costs its waits, not the bound of the calls after them.
struct Unsaved {
    const char* name;
    const char* before;  // committed first
    const char* held;
    Fault fault;
    bool saved;  // the other program saves its work afterwards, else drops it
};

void PrintTo(const Unsaved& unsaved, std::ostream* out) {
    *out << unsaved.name;
}

class UnsavedWork : public BesideAServer, public ::testing::WithParamInterface<Unsaved> {};

TEST_P(UnsavedWork, EndsTheRunWithinTheBoundAndAddsNoSecondRow) {
    ExecuteOn(remote_, GetParam().before);
    before_ = ReadTables(remote_);
    OtherProgram accounting(remote_);
    accounting.Hold(GetParam().held);
    const auto [errorBox, bounded] = RunBounded([&] { return RunUpdateLikeTheButton(remote_); });
    EXPECT_TRUE(bounded);
    if (GetParam().fault == Fault::None) {
        EXPECT_EQ(errorBox, "");
    } else {
        EXPECT_THAT(errorBox, StartsWith(LeadSentence(GetParam().fault)));
        EXPECT_EQ(DifferenceApartFromTheReducedRate(before_, ReadTables(remote_)), "");
    }
    GetParam().saved ? accounting.Save() : accounting.Release();
    EXPECT_EQ(RunUpdateLikeTheButton(remote_), "");
    const TableContents after = ReadTables(remote_);
    EXPECT_EQ(CountRows(after.at("STEUERSATZ"), 1, "5"), 1);              // PROZENT
    EXPECT_EQ(CountRows(after.at("HGR_ARTIKEL"), 3, "5503"), 2);          // KTO_WE: 10 % and 5 %
}

constexpr const char* kNothing = "update EINHEIT set KURZ = KURZ where 1 = 0";

INSTANTIATE_TEST_SUITE_P(
    Server, UnsavedWork,
    ::testing::Values(
        Unsaved{"EditOfABusinessUnit", kNothing,
                "update BETRIEB set ORT = 'in Bearbeitung' where BETRIEBID = 2",
                Fault::LockConflict, false},
        // Each supplier link of the new article waits about 10 s for its supplier, then goes on.
        Unsaved{"EditOfTheModelsSuppliers", kNothing,
                "update LIEFERANT set ORT = 'in Bearbeitung' where LIEFERANTID in (1, 2)",
                Fault::None, false},
        Unsaved{"ReducedRate", kNothing,
                "insert into STEUERSATZ (PROZENT, INFO) values (5, 'Corona (Buchhaltung)')",
                Fault::LockConflict, true},
        Unsaved{"NewspaperGroup",
                "insert into STEUERSATZ (PROZENT, INFO) values (5, 'Corona Sondersteuersatz')",
                "insert into HGR_ARTIKEL (HGR_ARTIKELID, POS, BEZEICHNUNG, KTO_WE, VSTID, USTID) "
                "select gen_id(GEN_HGR_ARTIKEL_ID, 1), 99, 'Zeitungen 5% (Buchhaltung)', '5503', "
                "STEUERSATZID, STEUERSATZID from STEUERSATZ where PROZENT = 5",
                Fault::LockConflict, true}),
    [](const ::testing::TestParamInfo<Unsaved>& info) { return std::string(info.param.name); });

// A server that stops (SIGSTOP) at a step of the run: the window answers within the bound and
// the grace, with the text for that step, and nothing is half-written.
struct Frozen {
    const char* name;
    const char* statementPrefix;  // frozen as this statement goes out; nullptr: after success
    Fault fault;
};

void PrintTo(const Frozen& frozen, std::ostream* out) {
    *out << frozen.name;
}

class FrozenServer : public BesideAServer, public ::testing::WithParamInterface<Frozen> {};

TEST_P(FrozenServer, EndsTheStepWithinTheBound) {
    ClientLibrary tapLibrary({ZAV_CLIENT_TAP});
    tapLibrary.Functions();
    const tap::Control tap = tap::Control::Of(ZAV_CLIENT_TAP);
    struct Plan {
        TestServer* server;
        const char* prefix;
    } plan{&server_, GetParam().statementPrefix};
    if (plan.prefix != nullptr) {
        tap.setExecuteHook(
            [](const char* sql, void* context) {
                const auto& plan = *static_cast<Plan*>(context);
                if (std::string(sql).rfind(plan.prefix, 0) == 0) {
                    plan.server->Freeze(true);
                }
            },
            &plan);
    }
    // The server goes on after a while whatever the run does: one that waits for it fails the
    // bound instead of hanging the test.
    std::promise<void> ended;
    std::thread thaw([this, done = ended.get_future()] {
        done.wait_for(kEndsWithin + std::chrono::seconds(10));
        server_.Freeze(false);
    });
    const auto [errorBox, bounded] = RunBounded([&] {
        return RunUpdateLikeTheButton(remote_, tapLibrary, [&] {
            if (plan.prefix == nullptr) {
                server_.Freeze(true);
            }
        });
    });
    tap.setExecuteHook(nullptr, nullptr);
    ended.set_value();
    thaw.join();
    EXPECT_TRUE(bounded);
    EXPECT_THAT(errorBox, StartsWith(LeadSentence(GetParam().fault)));
    if (plan.prefix == nullptr) {
        // Saved before the success box: it stays, and no attachment of the run is left.
        EXPECT_EQ(ReadTables(remote_).at("MONAT_ERLOS").size(),
                  before_.at("MONAT_ERLOS").size() + 36);
        EXPECT_EQ(OtherAttachments(remote_), 0);
        return;
    }
    ExpectNothingLeft();
    ExpectALaterRunCompletes();
}

INSTANTIATE_TEST_SUITE_P(
    Server, FrozenServer,
    ::testing::Values(Frozen{"DuringAStatement", "insert into MONAT_ERLOS",
                             Fault::ServerNotAnswering},
                      Frozen{"DuringTheDetachAfterSuccess", nullptr, Fault::DetachUnanswered}),
    [](const ::testing::TestParamInfo<Frozen>& info) { return std::string(info.param.name); });

TEST_F(BesideAServer, FrozenBeforeTheRunTheAttachEndsWithinTheBound) {
    server_.Freeze(true);
    const auto [attachError, attachBounded] =
        RunBounded([&] { return RunUpdateLikeTheButton(remote_); });
    server_.Freeze(false);
    EXPECT_TRUE(attachBounded);
    EXPECT_THAT(attachError, StartsWith(LeadSentence(Fault::ConnectionRejected)));
}

// Through a slow network a shop's run of hundreds of quick calls takes longer than the bound of
// one call: it is never cut off, and a second run changes nothing.
TEST_F(BesideAServer, SlowNetworkCompletesALongRunOfQuickCalls) {
    // 100 groups and 5 business units.
    ExecuteOn(remote_, "insert into BETRIEB (BETRIEBID, BEZEICHNUNG) values (4, 'Markt')");
    ExecuteOn(remote_, "insert into BETRIEB (BETRIEBID, BEZEICHNUNG) values (5, 'Spital')");
    ExecuteOn(remote_,
              "insert into HGR_ARTIKEL (HGR_ARTIKELID, POS, BEZEICHNUNG) select first 86 "
              "gen_id(GEN_HGR_ARTIKEL_ID, 1), 1000, 'Weitere Gruppe' from MONAT_ERLOS");
    before_ = ReadTables(remote_);
    const DelayingProxy proxy(server_.Port(), std::chrono::milliseconds(20));
    const std::string slow = proxy.RemoteName(db_.Path());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunUpdateLikeTheButton(slow), "");
    const auto took = std::chrono::steady_clock::now() - start;
    const TableContents after = ReadTables(remote_);
    EXPECT_EQ(after.at("HGR_ARTIKEL").size(), 101u);
    EXPECT_TRUE(PositionsOneToN(after.at("HGR_ARTIKEL")));
    EXPECT_EQ(after.at("MONAT_ERLOS").size(), before_.at("MONAT_ERLOS").size() + 60);
    EXPECT_EQ(RunUpdateLikeTheButton(slow), "");
    EXPECT_EQ(ReadTables(remote_), after);
    // Else the case proves nothing about the bound.
    EXPECT_GT(took, RunBound::kCallBound) << "the proxy delayed too little";
}

// A group that another program saves while the groups are renumbered keeps a position that a
// renumbered group has too: the run is rolled back, never reported as success.
TEST_F(BesideAServer, GroupSavedDuringTheRenumberingRollsTheRunBack) {
    ClientLibrary tapLibrary({ZAV_CLIENT_TAP});
    tapLibrary.Functions();
    const tap::Control tap = tap::Control::Of(ZAV_CLIENT_TAP);
    struct Plan {
        std::string database;
        int renumbered = 0;
    } plan{remote_};
    tap.setExecuteHook(
        [](const char* sql, void* context) {
            auto& plan = *static_cast<Plan*>(context);
            if (std::string(sql).rfind("update HGR_ARTIKEL", 0) == 0 && ++plan.renumbered == 3) {
                ExecuteOn(plan.database,
                          "insert into HGR_ARTIKEL (HGR_ARTIKELID, POS, BEZEICHNUNG) values "
                          "(gen_id(GEN_HGR_ARTIKEL_ID, 1), 2, 'Neu in der Buchhaltung')");
            }
        },
        &plan);
    const std::string errorBox = RunUpdateLikeTheButton(remote_, tapLibrary);
    tap.setExecuteHook(nullptr, nullptr);
    EXPECT_THAT(errorBox, HasSubstr("Bitte starten Sie das Update erneut"));
    const TableContents after = ReadTables(remote_);
    EXPECT_EQ(CountRows(after.at("HGR_ARTIKEL"), 3, "5503"), 1);  // the 10 % group alone
    EXPECT_EQ(after.at("MONAT_ERLOS"), before_.at("MONAT_ERLOS"));
    EXPECT_EQ(OtherAttachments(remote_), 0);
    EXPECT_EQ(RunUpdateLikeTheButton(remote_), "");
    EXPECT_TRUE(PositionsOneToN(ReadTables(remote_).at("HGR_ARTIKEL")));
}

// The faults an operator can act on lead with German, then the engine's text: made through the
// server where that is cheap, through the client tap otherwise.
TEST_F(BesideAServer, FaultsLeadWithGermanAdvice) {
    const auto refusedLogin = [&] {
        TDbConnection connection;
        connection.SetDatabaseName(remote_);
        connection.Params() = {"user_name=sysdba", "password=falsch"};
        try {
            connection.Open();
        } catch (const DatabaseError& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    const auto heldByTheServer = [&] {
        OtherProgram accounting(remote_);
        accounting.Hold(kNothing);
        return RunUpdateLikeTheButton(db_.Path());  // the embedded engine, refused the file
    };
    const auto tapped = [&](const char* call, long code, long systemError) {
        ClientLibrary tapLibrary({ZAV_CLIENT_TAP});
        tapLibrary.Functions();
        tap::Control::Of(ZAV_CLIENT_TAP).failNextWithSystemError(call, code, systemError);
        return RunUpdateLikeTheButton(remote_, tapLibrary);
    };
    const auto idClash = [&] {
        // Another program numbered a group itself, with the number the generator gives next.
        ExecuteOn(remote_,
                  "insert into HGR_ARTIKEL (HGR_ARTIKELID, POS, BEZEICHNUNG) values "
                  "(gen_id(GEN_HGR_ARTIKEL_ID, 0) + 1, 50, 'Von Hand nummeriert')");
        return RunUpdateLikeTheButton(remote_);
    };
    // In this order: no run saves anything, the last meets a group of another program.
    const std::vector<std::pair<std::string, Fault>> cases = {
        {refusedLogin(), Fault::LoginRefused},
        {heldByTheServer(), Fault::FileHeldElsewhere},
        {tapped("exec", isc_net_read_err, 0), Fault::ConnectionLost},
        {tapped("exec", isc_att_shutdown, 0), Fault::ServerShutDown},
        {tapped("exec", isc_read_only_database, 0), Fault::ReadOnlyDatabase},
        {tapped("exec", isc_io_error, 28), Fault::DiskFull},  // ENOSPC
        {tapped("commit", isc_net_read_err, 0), Fault::CommitOutcomeUnknown},
        {idClash(), Fault::DuplicateKey},
    };
    for (const auto& [errorBox, fault] : cases) {
        EXPECT_THAT(errorBox, StartsWith(std::string(LeadSentence(fault)) + "\r\n\r\n"));
    }
    EXPECT_EQ(OtherAttachments(remote_), 0);
}

}  // namespace
}  // namespace zav::test
