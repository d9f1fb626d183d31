// The accounting file is not what the update needs: held open by another process, read-only,
// damaged, or without a table or column the update writes. Each run must end (no hang) with a
// message that says what is wrong and leave the file as it was.
#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <random>
#include <string>

#include "support/ChildProcess.h"
#include "support/FileText.h"
#include "support/RunLikeTheButton.h"
#include "support/TableContents.h"
#include "support/TestDatabase.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// --- Held open by another process -------------------------------------------------------------

struct Holder {
    const char* name;
    // The holder's program and arguments for the database path; it prints "attached" once open.
    std::vector<std::string> (*command)(const std::string& path);
    const char* input;  // written to the holder after it started
};

void PrintTo(const Holder& holder, std::ostream* out) {
    *out << holder.name;
}

class HeldOpenFile : public ::testing::TestWithParam<Holder> {};

TEST_P(HeldOpenFile, IsReportedAtOnceAndUpdatesOnceReleased) {
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    const TableContents before = ReadTables(db.Path());
    const std::vector<std::string> command = GetParam().command(db.Path());
    ChildProcess holder(command.front(), {command.begin() + 1, command.end()});
    holder.Write(GetParam().input);
    ASSERT_TRUE(holder.WaitForOutput("attached")) << holder.Output();

    // The embedded engine opens the file exclusively: the attach is refused, it does not wait.
    EXPECT_THAT(
        RunUpdateLikeTheButton(db.Path()),
        AllOf(HasSubstr("Database already opened with engine instance"), HasSubstr(db.Path())));

    holder.CloseInput();
    const int status = holder.Wait();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << holder.Output();
    EXPECT_EQ(DifferenceApartFromTheReducedRate(before, ReadTables(db.Path())), "");
    EXPECT_EQ(RunUpdateLikeTheButton(db.Path()), "");
}

INSTANTIATE_TEST_SUITE_P(
    ByAnotherProcess, HeldOpenFile,
    ::testing::Values(
        Holder{
            "Isql",
            [](const std::string& path) {
                return std::vector<std::string>{"/usr/bin/isql-fb", "-q", "-user", "SYSDBA", path};
            },
            "select 'attached' from RDB$DATABASE;\n"},
        Holder{"AnotherCopyOfTheTool",
               [](const std::string& path) {
                   return std::vector<std::string>{ZAV_FAULT_CHILD, "hold", path};
               },
               ""}),
    [](const ::testing::TestParamInfo<Holder>& info) { return std::string(info.param.name); });

// --- File the user may not write or open -------------------------------------------------------

struct FileMode {
    const char* name;
    mode_t mode;
    const char* message;  // begins the error box's text, before the file's name
};

void PrintTo(const FileMode& fileMode, std::ostream* out) {
    *out << fileMode.name;
}

class FileRights : public ::testing::TestWithParam<FileMode> {};

// Root opens any file, so as root the run goes to a process of user nobody.
TEST_P(FileRights, AreNamedInGermanAtConnectWithoutAChange) {
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    const std::string folder = db.Folder();
    const std::string bytes = ReadFile(db.Path());
    ASSERT_EQ(chmod(db.Path().c_str(), GetParam().mode), 0);

    ChildProcess::Options options;
    std::string program = ZAV_FAULT_CHILD;
    if (geteuid() == 0) {
        const passwd* nobody = getpwnam("nobody");
        ASSERT_NE(nobody, nullptr) << "no user nobody to run without root's rights";
        options.user = nobody->pw_uid;
        options.group = nobody->pw_gid;
        // The build folder may be closed to others: the program runs from the test's folder.
        program = folder + "/zav_fault_child";
        fs::copy_file(ZAV_FAULT_CHILD, program);
        ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
        // The engine's lock files, which user nobody must be able to create.
        const std::string locks = folder + "/locks";
        fs::create_directory(locks);
        ASSERT_EQ(chmod(locks.c_str(), 0777), 0);
        options.environment.push_back("FIREBIRD_LOCK=" + locks);
    }
    ChildProcess child(program, {"update", db.Path()}, options);
    const int status = child.Wait();

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << DescribeStatus(status);
    EXPECT_THAT(child.Output(),
                StartsWith(std::string("error: ") + GetParam().message + " '" + db.Path() + "'"));
    ASSERT_EQ(chmod(db.Path().c_str(), 0644), 0);
    EXPECT_TRUE(ReadFile(db.Path()) == bytes) << "the file was changed";
}

INSTANTIATE_TEST_SUITE_P(
    AccountingFile, FileRights,
    ::testing::Values(FileMode{"ReadOnly", 0444,
                               "Keine Schreibberechtigung für die Buchhaltungsdatei"},
                      FileMode{"Closed", 0000, "Kein Zugriff auf die Buchhaltungsdatei"}),
    [](const ::testing::TestParamInfo<FileMode>& info) { return std::string(info.param.name); });

// --- Damaged files ------------------------------------------------------------------------------

struct Damage {
    const char* name;
    const char* fileName;
    std::string (*bytesFrom)(const std::string& database);
    const char* message;
};

void PrintTo(const Damage& damage, std::ostream* out) {
    *out << damage.name;
}

class DamagedFile : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedFile, IsReportedAndLeftAsItWas) {
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    const std::string path = db.Folder() + "/" + GetParam().fileName;
    const std::string bytes = GetParam().bytesFrom(ReadFile(db.Path()));
    WriteFile(path, bytes);

    const std::string errorBox = RunUpdateLikeTheButton(path);

    EXPECT_THAT(errorBox, HasSubstr(GetParam().message));
    EXPECT_THAT(errorBox, HasSubstr(path));
    EXPECT_TRUE(ReadFile(path) == bytes) << "the damaged file was changed";
}

constexpr std::size_t kPageSize = 8192;

INSTANTIATE_TEST_SUITE_P(
    AccountingFile, DamagedFile,
    ::testing::Values(Damage{"Empty", "leer.zqd", [](const std::string&) { return std::string(); },
                             "File size is less than expected"},
                      Damage{
                          "OnlyTheHeaderPage", "kopf.zqd",
                          [](const std::string& database) { return database.substr(0, kPageSize); },
                          "File size is less than expected"},
                      Damage{"CutInHalf", "halb.zqd",
                             [](const std::string& database) {
                                 return database.substr(
                                     0, database.size() / 2 / kPageSize * kPageSize);
                             },
                             "File size is less than expected"},
                      Damage{"RandomBytes", "x.zqd",
                             [](const std::string&) {
                                 std::mt19937 generator(2020);
                                 std::string bytes(16 * kPageSize, '\0');
                                 for (char& byte : bytes) {
                                     byte = static_cast<char>(generator());
                                 }
                                 return bytes;
                             },
                             "is not a valid database"}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

// --- Missing tables and columns -----------------------------------------------------------------

struct MissingPart {
    const char* name;
    std::vector<const char*> statements;  // run on the fixture before the update
    const char* message;
};

void PrintTo(const MissingPart& part, std::ostream* out) {
    *out << part.name;
}

class DatabaseWithoutAPart : public ::testing::TestWithParam<MissingPart> {};

TEST_P(DatabaseWithoutAPart, NamesItAndWritesNothing) {
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    for (const char* statement : GetParam().statements) {
        db.Execute(statement);
    }
    const TableContents before = ReadTables(db.Path());

    EXPECT_THAT(RunUpdateLikeTheButton(db.Path()), HasSubstr(GetParam().message));
    EXPECT_EQ(DifferenceApartFromTheReducedRate(before, ReadTables(db.Path())), "");
}

// In the order the update reaches them: from the first write to the last.
INSTANTIATE_TEST_SUITE_P(
    Update, DatabaseWithoutAPart,
    ::testing::Values(
        MissingPart{"GroupColumn",
                    {"ALTER TABLE HGR_ARTIKEL DROP IS_ZIMMER"},
                    "Column unknown\r\nIS_ZIMMER"},
        MissingPart{"BusinessUnitTable",
                    {"ALTER TABLE MONAT_ERLOS DROP CONSTRAINT FK_MONAT_ERLOS_BETRIEB",
                     "DROP TABLE BETRIEB"},
                    "Table unknown\r\nBETRIEB"},
        MissingPart{
            "MonthlyRevenueTable", {"DROP TABLE MONAT_ERLOS"}, "Table unknown\r\nMONAT_ERLOS"},
        MissingPart{"ArticleGenerator", {"DROP GENERATOR GEN_ARTIKEL_ID"}, "GEN_ARTIKEL_ID"},
        MissingPart{"PackagingColumn",
                    {"ALTER TABLE ARTIKEL_GEBINDE DROP MENGE"},
                    "Column unknown\r\nMENGE"},
        MissingPart{
            "SupplierColumn",
            {"DROP TABLE LIEFERANT_ARTIKEL",
             "CREATE TABLE LIEFERANT_ARTIKEL (ARTIKEL_GEBINDEID INTEGER, LIEFERANT INTEGER)",
             "INSERT INTO LIEFERANT_ARTIKEL VALUES (1010, 1)"},
            "dqQuery: Das Feld 'LieferantId' wurde nicht gefunden"},
        MissingPart{"SupplierLinkTable",
                    {"DROP TABLE LIEFERANT_ARTIKEL"},
                    "Table unknown\r\nLIEFERANT_ARTIKEL"}),
    [](const ::testing::TestParamInfo<MissingPart>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zav::test
