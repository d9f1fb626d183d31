// The tool's process dies (SIGKILL: no clean-up, no detach) while the update writes. The next
// attach must find the database as it was before the update, and a new run must complete it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <ostream>
#include <string>

#include "faults/FaultSupport.h"
#include "support/ChildProcess.h"
#include "support/RunLikeTheButton.h"
#include "support/TableContents.h"
#include "support/TestDatabase.h"

namespace zav::test {
namespace {

using ::testing::HasSubstr;

struct KillCase {
    const char* name;
    const char* statementPrefix;
    int count;
    int afterMs;  // 0: before the statement reaches the engine
    bool slowTrigger;
};

void PrintTo(const KillCase& kill, std::ostream* out) {
    *out << kill.name;
}

class KilledProcess : public ::testing::TestWithParam<KillCase> {};

TEST_P(KilledProcess, LeavesTheDatabaseAsBeforeAndALaterRunCompletesTheUpdate) {
    const KillCase& kill = GetParam();
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    if (kill.slowTrigger) {
        db.Execute(kSlowSecondJulyRowTrigger);
    }
    const TableContents before = ReadTables(db.Path());

    ChildProcess child(ZAV_FAULT_CHILD,
                       {"update", db.Path(), "--tap", ZAV_CLIENT_TAP, "--kill-at",
                        kill.statementPrefix, "--kill-count", std::to_string(kill.count),
                        "--kill-after-ms", std::to_string(kill.afterMs)});
    const int status = child.Wait();
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << DescribeStatus(status) << "\n"
        << child.Output();
    ASSERT_THAT(child.Output(), HasSubstr("connected"));

    EXPECT_EQ(DifferenceApartFromTheReducedRate(before, ReadTables(db.Path())), "");

    if (kill.slowTrigger) {
        db.Execute("DROP TRIGGER MONAT_ERLOS_LANGSAM");
    }
    EXPECT_EQ(RunUpdateLikeTheButton(db.Path()), "");
    EXPECT_EQ(db.QueryInt("select count(*) from MONAT_ERLOS m join HGR_ARTIKEL h "
                          "on h.HGR_ARTIKELID = m.HGR_ARTIKELID "
                          "where h.BEZEICHNUNG = 'Zeitungen 5% Sondersteuersatz'"),
              36);
    EXPECT_EQ(db.QueryInt("select count(*) from ARTIKEL "
                          "where ARTIKEL_NAME = 'Zeitungen Corona Sondersteuersatz'"),
              1);
}

// The fixture has three business units: 36 monthly rows, the 20th in July; two supplier links.
INSTANTIATE_TEST_SUITE_P(
    WhileTheUpdateWrites, KilledProcess,
    ::testing::Values(KillCase{"AfterTheGroupBeforeTheRenumbering", "update HGR_ARTIKEL", 1, 0,
                               false},
                      KillCase{"BetweenTwoMonthlyRows", "insert into MONAT_ERLOS", 20, 0, false},
                      KillCase{"InsideAMonthlyRowInsert", "insert into MONAT_ERLOS", 20, 100, true},
                      KillCase{"AtTheLastStatementBeforeTheCommit", "insert into LIEFERANT_ARTIKEL",
                               2, 0, false}),
    [](const ::testing::TestParamInfo<KillCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zav::test
