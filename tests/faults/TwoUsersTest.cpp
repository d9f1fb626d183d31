// Two users on one accounting file. The shared lock folder is closed to the second user, so its
// engine keeps its lock files in a folder of its own; the file must still stay with whichever
// process opened it first.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/ChildProcess.h"
#include "support/RunLikeTheButton.h"
#include "support/TableContents.h"
#include "support/TestDatabase.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr const char* kHeldElsewhere = "Database already opened with engine instance";

class TwoUsers : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) {
            GTEST_SKIP() << "needs root to start a process of a second user";
        }
        const passwd* nobody = getpwnam("nobody");
        ASSERT_NE(nobody, nullptr);
        ASSERT_EQ(chmod(db_.Folder().c_str(), 0755), 0);
        ASSERT_EQ(chmod(db_.Path().c_str(), 0666), 0);
        // The build folder may be closed to others: the program runs from the test's folder.
        fs::copy_file(ZAV_FAULT_CHILD, program_);
        // The second user's runtime folder, where the program puts its engine's lock files.
        fs::create_directory(runtime_);
        ASSERT_EQ(chown(runtime_.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        ASSERT_EQ(chmod(runtime_.c_str(), 0700), 0);
        secondUser_.user = nobody->pw_uid;
        secondUser_.group = nobody->pw_gid;
        secondUser_.environment = {"FIREBIRD_LOCK=", "XDG_RUNTIME_DIR=" + runtime_};
    }

    bool SecondUserHasOwnLockFolder() const { return fs::exists(runtime_ + "/firebird/fb_init"); }

    const TestDatabase db_ = TestDatabase::FromFixture("trafik");
    const std::string program_ = db_.Folder() + "/zav_fault_child";
    const std::string runtime_ = db_.Folder() + "/run";
    ChildProcess::Options secondUser_;
};

TEST_F(TwoUsers, EachIsRefusedWhileTheOtherHoldsTheFile) {
    const TableContents before = ReadTables(db_.Path());
    {
        ChildProcess holder(ZAV_FAULT_CHILD, {"hold", db_.Path()});
        ASSERT_TRUE(holder.WaitForOutput("attached")) << holder.Output();
        ChildProcess second(program_, {"update", db_.Path()}, secondUser_);
        const int status = second.Wait();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << DescribeStatus(status);
        EXPECT_THAT(second.Output(), HasSubstr(kHeldElsewhere));
        EXPECT_TRUE(fs::exists(runtime_ + "/firebird/fb_init")) << "no lock folder of its own";
        holder.CloseInput();
        EXPECT_EQ(holder.Wait(), 0) << holder.Output();
    }
    {
        ChildProcess holder(program_, {"hold", db_.Path()}, secondUser_);
        ASSERT_TRUE(holder.WaitForOutput("attached")) << holder.Output();
        EXPECT_THAT(RunUpdateLikeTheButton(db_.Path()), HasSubstr(kHeldElsewhere));
        holder.CloseInput();
        EXPECT_EQ(holder.Wait(), 0) << holder.Output();
    }
    EXPECT_EQ(DifferenceApartFromTheReducedRate(before, ReadTables(db_.Path())), "");
}

}  // namespace
}  // namespace zav::test
