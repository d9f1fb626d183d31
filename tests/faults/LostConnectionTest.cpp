// The server goes away in the middle of the update: stopped, or killed outright. The run must end
// with the client library's text for the lost connection, the connection closed and nothing
// half-written: once the server is back, the data is as before and the update goes through.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

#include "app/ErrorBox.h"
#include "db/firebird/ClientLibrary.h"
#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DatenbankDM.h"
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

// Stops the server at the count-th statement that begins with prefix: before it is sent, or
// afterMs milliseconds after, while the server works on it.
struct StopPlan {
    TestServer* server = nullptr;
    std::string signal;
    std::string prefix;
    int count = 1;
    int afterMs = 0;
    int seen = 0;
    std::atomic<bool> stopped = false;
    std::thread stopper;

    ~StopPlan() { WaitForTheStop(); }
    void WaitForTheStop() {
        if (stopper.joinable()) {
            stopper.join();
        }
    }
};

void StopServerAtStatement(const char* sql, void* context) {
    auto& plan = *static_cast<StopPlan*>(context);
    if (plan.stopper.joinable() || plan.stopped || std::string(sql).rfind(plan.prefix, 0) != 0 ||
        ++plan.seen != plan.count) {
        return;
    }
    if (plan.afterMs == 0) {
        plan.server->Stop(plan.signal);
        plan.stopped = true;
        return;
    }
    plan.stopper = std::thread([&plan] {
        std::this_thread::sleep_for(std::chrono::milliseconds(plan.afterMs));
        plan.server->Stop(plan.signal);
        plan.stopped = true;
    });
}

// The data modules with every component on the client tap, as the main window creates them.
struct TappedModules {
    ClientLibrary tapLibrary{{ZAV_CLIENT_TAP}};
    TdmDatenbank datenbank{tapLibrary};
    TdmTrafikUpdate trafikUpdate{datenbank};
};

struct Stop {
    const char* name;
    const char* signal;
    const char* statementPrefix;
    int count;
    int afterMs;  // 0: before the statement is sent
};

void PrintTo(const Stop& stop, std::ostream* out) {
    *out << stop.name;
}

class ServerGoneMidRun : public ::testing::TestWithParam<Stop> {};

TEST_P(ServerGoneMidRun, ReportsTheLostConnectionAndWritesNothing) {
    if (!TestServer::Installed()) {
        GTEST_SKIP() << "the Firebird server (Debian package firebird3.0-server) is not "
                        "installed; scripts/install-deps.sh installs it";
    }
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    if (GetParam().afterMs > 0) {
        db.Execute(kSlowSecondJulyRowTrigger);
    }
    const TempFolder serverFolder;
    TestServer server(serverFolder.Path());
    server.Start();
    const std::string remote = server.RemoteName(db.Path());
    const TableContents before = ReadTables(remote);

    std::optional<TappedModules> modules;
    modules.emplace();
    StopPlan plan;
    plan.server = &server;
    plan.signal = GetParam().signal;
    plan.prefix = GetParam().statementPrefix;
    plan.count = GetParam().count;
    plan.afterMs = GetParam().afterMs;
    // The tap stays loaded after the test: the hook must not outlive the plan.
    struct HookSet {
        HookSet(const tap::Control& tap, StopPlan& plan) : tap(tap) {
            tap.setExecuteHook(StopServerAtStatement, &plan);
        }
        ~HookSet() { tap.setExecuteHook(nullptr, nullptr); }
        tap::Control tap;
    };
    std::optional<HookSet> hook;
    hook.emplace(tap::Control::Of(ZAV_CLIENT_TAP), plan);

    TdmDatenbank& datenbank = modules->datenbank;
    datenbank.Connect(remote);
    datenbank.UpdateSteuersatz();
    std::string updateError;
    try {
        modules->trafikUpdate.Update();
    } catch (const DatabaseError& error) {
        updateError = error.what();
    }
    hook.reset();
    plan.WaitForTheStop();
    ASSERT_TRUE(plan.stopped) << "the run never reached the statement to stop the server at";
    EXPECT_THAT(updateError, HasSubstr("connection"));
    // A lost server is not waited for: the connection counts as closed at once.
    EXPECT_FALSE(datenbank.dbMain.Connected());
    EXPECT_FALSE(datenbank.trMain.Active());
    // The clean-up of the "Update" button finds nothing left to do.
    EXPECT_NO_THROW(datenbank.Disconnect());
    modules.reset();

    server.Start();
    EXPECT_EQ(DifferenceApartFromTheReducedRate(before, ReadTables(remote)), "");
    if (GetParam().afterMs > 0) {
        ExecuteOn(remote, "DROP TRIGGER MONAT_ERLOS_LANGSAM");
    }
    EXPECT_EQ(RunUpdateLikeTheButton(remote), "");
    EXPECT_EQ(ReadTables(remote).at("MONAT_ERLOS").size(), before.at("MONAT_ERLOS").size() + 36);
}

INSTANTIATE_TEST_SUITE_P(
    Server, ServerGoneMidRun,
    ::testing::Values(
        Stop{"StoppedBeforeAMonthlyRow", "TERM", "insert into MONAT_ERLOS", 20, 0},
        Stop{"KilledBeforeAMonthlyRow", "KILL", "insert into MONAT_ERLOS", 20, 0},
        Stop{"KilledWhileItWritesAMonthlyRow", "KILL", "insert into MONAT_ERLOS", 20, 100},
        Stop{"StoppedWhileItWritesAMonthlyRow", "TERM", "insert into MONAT_ERLOS", 20, 100},
        Stop{"KilledBeforeTheRenumbering", "KILL", "update HGR_ARTIKEL", 1, 0},
        Stop{"KilledBeforeAQueryOpens", "KILL", "select * from ARTIKEL_GEBINDE", 1, 0}),
    [](const ::testing::TestParamInfo<Stop>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zav::test
