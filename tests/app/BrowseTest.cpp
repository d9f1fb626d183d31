#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeSettingsStore.h"
#include "FakeWindowsFileSystem.h"
#include "ScriptedView.h"
#include "app/MainForm.h"
#include "platform/Errors.h"

namespace zav {
namespace {

struct BrowseCase {
    std::string text;
    std::string initialFolder;
};

class WindowsBrowseTest : public ::testing::Test {
protected:
    WindowsBrowseTest() { files_.drives.set('D' - 'A'); }

    test::FakeSettingsStore store_;
    test::ScriptedView view_;
    test::FakeWindowsFileSystem files_;
    TForm1 form_{view_, store_, files_};
};

TEST_F(WindowsBrowseTest, DialogStartsInTheFolderOfTheText) {
    const BrowseCase cases[] = {
        {"C:\\Prog\\Daten\\", "C:\\Prog\\Daten"},
        {"C:\\Prog\\Daten\\Firma2020.zqd", "C:\\Prog\\Daten"},
        {"d:\\x.zqd", "d:\\"},
        {"C:\\", ""},
        {"C:x.zqd", "C:"},
        {"", ""},
        // No drive, or a drive that does not exist: the text is used whole.
        {"\\Daten\\", "\\Daten"},
        {"Q:\\Daten\\Firma2020.zqd", "Q:\\Daten\\Firma2020.zqd"},
        {"Q:\\Daten\\", "Q:\\Daten"},
        {"Q:\\", "Q:\\"},
    };
    for (const BrowseCase& c : cases) {
        view_.path = c.text;
        view_.dialogFolders.clear();
        form_.btnBrowseClick();
        EXPECT_EQ(view_.dialogFolders, std::vector<std::string>{c.initialFolder}) << c.text;
        EXPECT_EQ(view_.path, c.text) << "cancel leaves the path box as it was";
    }
}

TEST_F(WindowsBrowseTest, BadTextOnAnExistingDriveKeepsTheDialogClosed) {
    const BrowseCase cases[] = {
        {"C:\\" + std::string(257, 'x'), "Der angegebene Pfad ist zu lang"},
        {"C:\\Daten\\a<b.zqd", "Ungültige Zeichen im Dateinamen"},
    };
    for (const BrowseCase& c : cases) {
        view_.path = c.text;
        try {
            form_.btnBrowseClick();
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const UserInputError& error) {
            EXPECT_EQ(std::string(error.what()), c.initialFolder);
        }
        EXPECT_TRUE(view_.dialogFolders.empty());
        EXPECT_EQ(view_.path, c.text);
    }
    // The same text without an existing drive goes to the dialog whole.
    view_.path = "Q:\\Daten\\a<b.zqd";
    form_.btnBrowseClick();
    EXPECT_EQ(view_.dialogFolders, std::vector<std::string>{"Q:\\Daten\\a<b.zqd"});
}

TEST_F(WindowsBrowseTest, ChosenFileGoesIntoThePathBox) {
    view_.path = "C:\\Prog\\Daten\\";
    view_.dialogChoice = "C:\\Prog\\Daten\\settings.fdb";
    form_.btnBrowseClick();
    EXPECT_EQ(view_.path, "C:\\Prog\\Daten\\settings.fdb");
}

// POSIX paths: on Windows a path without a drive names no folder of its own.
#ifndef _WIN32
TEST(PosixBrowseTest, AbsolutePathsStartInTheirFolderOthersAreUsedWhole) {
    test::FakeSettingsStore store;
    test::ScriptedView view;
    const std::unique_ptr<IFileSystem> files = CreatePlatformFileSystem();
    TForm1 form(view, store, *files);
    const BrowseCase cases[] = {
        {"/opt/ZAV/Daten/", "/opt/ZAV/Daten"},
        {"/opt/ZAV/Daten/Firma2020.zqd", "/opt/ZAV/Daten"},
        {"/Firma2020.zqd", "/"},
        {"/", ""},
        {"", ""},
        {"Daten/", "Daten"},
        {"C:\\Daten\\", "C:\\Daten\\"},
    };
    for (const BrowseCase& c : cases) {
        view.path = c.text;
        view.dialogFolders.clear();
        form.btnBrowseClick();
        EXPECT_EQ(view.dialogFolders, std::vector<std::string>{c.initialFolder}) << c.text;
    }
    view.dialogChoice = "/opt/ZAV/Daten/Firma2020.zqd";
    form.btnBrowseClick();
    EXPECT_EQ(view.path, "/opt/ZAV/Daten/Firma2020.zqd");
}
#endif

TEST(CloseTest, SchliessenClosesTheWindow) {
    test::FakeSettingsStore store;
    test::ScriptedView view;
    test::FakeWindowsFileSystem files;
    TForm1 form(view, store, files);
    form.btnCloseClick();
    EXPECT_EQ(view.closeRequests, 1);
    EXPECT_TRUE(view.shown.empty());
}

}  // namespace
}  // namespace zav
