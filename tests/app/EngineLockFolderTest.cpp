#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/TempFolder.h"
#include "platform/posix/EngineLockFolder.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

class EngineLockFolderTest : public ::testing::Test {
protected:
    EngineLockFolderTest() {
        dir_.MakeDir("runtime");
        dir_.MakeDir("temp");
        places_ = {"", P("shared"), P("runtime"), P("temp"), P("firebird.conf")};
    }

    std::string P(const std::string& name) const { return (dir_.Path() / name).string(); }
    std::string PerUser() const { return P("temp/firebird-") + std::to_string(geteuid()); }

    test::TempFolder dir_;
    EngineLockPlaces places_;
};

TEST_F(EngineLockFolderTest, ConfiguredOrUsableSharedFolderIsLeftToTheEngine) {
    places_.configured = "/somewhere/else";
    EXPECT_EQ(ChooseEngineLockFolder(places_), std::nullopt);
    places_.configured.clear();
    dir_.MakeDir("shared");
    EXPECT_EQ(ChooseEngineLockFolder(places_), std::nullopt);
    EXPECT_FALSE(fs::exists(P("runtime/firebird")));
}

TEST_F(EngineLockFolderTest, MissingSharedFolderGivesAPrivateOneInTheRuntimeFolder) {
    EXPECT_EQ(ChooseEngineLockFolder(places_), P("runtime/firebird"));
    struct stat info {};
    ASSERT_EQ(stat(P("runtime/firebird").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(ChooseEngineLockFolder(places_), P("runtime/firebird")) << "made once, used again";
    EXPECT_FALSE(fs::exists(P("shared"))) << "the shared folder is not made by one user";
}

TEST_F(EngineLockFolderTest, WithoutAUsableRuntimeFolderAPerUserFolderInTemp) {
    places_.runtime.clear();
    EXPECT_EQ(ChooseEngineLockFolder(places_), PerUser());
    fs::remove(PerUser());
    places_.runtime = "relative/run";
    EXPECT_EQ(ChooseEngineLockFolder(places_), PerUser());
    if (geteuid() == 0) {
        // A runtime folder that belongs to another user (root's, inherited through runuser).
        const passwd* nobody = getpwnam("nobody");
        ASSERT_NE(nobody, nullptr);
        ASSERT_EQ(chown(P("runtime").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        places_.runtime = P("runtime");
        EXPECT_EQ(ChooseEngineLockFolder(places_), PerUser());
        EXPECT_FALSE(fs::exists(P("runtime/firebird")));
    }
}

TEST_F(EngineLockFolderTest, PerUserFolderPlantedAsALinkIsRefused) {
    places_.runtime.clear();
    dir_.MakeDir("elsewhere");
    fs::create_directory_symlink(P("elsewhere"), PerUser());
    EXPECT_EQ(ChooseEngineLockFolder(places_), std::nullopt);
}

// In the shared server modes processes coordinate only through the lock folder: another folder
// would let a second process into a file the first one is writing.
TEST_F(EngineLockFolderTest, ServerModeSharingTheFileKeepsTheSharedFolder) {
    const auto withConfig = [this](const std::string& text) {
        dir_.WriteFile("firebird.conf", text);
        return ChooseEngineLockFolder(places_);
    };
    EXPECT_EQ(withConfig("#ServerMode = Classic\n"), P("runtime/firebird"));
    EXPECT_EQ(withConfig("servermode=ThreadedDedicated # same as Super\n"), P("runtime/firebird"));
    EXPECT_EQ(withConfig("ServerMode = Classic\n"), std::nullopt);
    EXPECT_EQ(withConfig("ServerMode = Super\n  ServerMode = SuperClassic\n"), std::nullopt);
    EXPECT_EQ(withConfig("ServerMode = MultiProcess\n"), std::nullopt);
}

}  // namespace
}  // namespace zav
