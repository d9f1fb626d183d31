#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeSettingsStore.h"
#include "FakeWindowsFileSystem.h"
#include "ScriptedView.h"
#include "support/TempFolder.h"
#include "app/MainForm.h"
#include "platform/Errors.h"

namespace zav {
namespace {

constexpr const char* kKey = "SOFTWARE\\Vorlix-Software\\ZAV";

template <typename Action>
std::string ErrorOf(Action action) {
    try {
        action();
    } catch (const ZavError& error) {
        return error.what();
    }
    return "(no error)";
}

class InstallPathTest : public ::testing::Test {
protected:
    std::string Read() { return form_.GetCurrentInstallPath(); }

    test::FakeSettingsStore store_;
    test::ScriptedView view_;
    test::FakeWindowsFileSystem files_;
    TForm1 form_{view_, store_, files_};
};

TEST_F(InstallPathTest, MissingKeyOrValueIsAnEmptyPath) {
    EXPECT_EQ(Read(), "");
    store_.AddKey(kKey);
    EXPECT_EQ(Read(), "");
    store_.SetString("installpath", "C:\\falsch");
    EXPECT_EQ(Read(), "");
    EXPECT_EQ(store_.OpenKeysNow(), 0);
}

TEST_F(InstallPathTest, ReadsPlainAndExpandableStringsAsTheyAre) {
    store_.AddKey(kKey);
    store_.SetString("InstallPath", "C:\\Vorlix\\ZAV");
    EXPECT_EQ(Read(), "C:\\Vorlix\\ZAV");
    store_.SetValue("InstallPath", {SettingsValueType::ExpandString, 20, "%ProgramFiles%\\ZAV"});
    EXPECT_EQ(Read(), "%ProgramFiles%\\ZAV");
}

TEST_F(InstallPathTest, EmptyDataIsAnEmptyPathWhateverItsType) {
    store_.AddKey(kKey);
    store_.SetValue("InstallPath", {SettingsValueType::Other, 0, std::nullopt});
    EXPECT_EQ(Read(), "");
}

TEST_F(InstallPathTest, WrongTypeOrFailedReadIsAnErrorAndTheKeyIsClosed) {
    store_.AddKey(kKey);
    store_.SetValue("InstallPath", {SettingsValueType::Other, 4, std::nullopt});
    EXPECT_EQ(ErrorOf([&] { Read(); }), "Ungültiger Datentyp für 'InstallPath'");
    EXPECT_EQ(store_.OpenKeysNow(), 0);

    store_.SetValue("InstallPath", {SettingsValueType::String, 12, std::nullopt});
    EXPECT_EQ(ErrorOf([&] { Read(); }), "Fehler beim Holen der Daten für 'InstallPath'");
    EXPECT_EQ(store_.OpenKeysNow(), 0);
}

// The default file on the real file system of this platform.
class DefaultFileTest : public ::testing::Test {
protected:
    test::TempFolder dir_;
    test::FakeSettingsStore store_;
    test::ScriptedView view_;
    std::unique_ptr<IFileSystem> files_ = CreatePlatformFileSystem();
    TForm1 form_{view_, store_, *files_};
};

TEST_F(DefaultFileTest, ExactlyOneFileEndingIn2020ZqdIsTheDefault) {
    struct Case {
        std::vector<std::string> files;
        std::vector<std::string> folders;
        std::string expected;  // "" for the folder itself
    };
    const Case cases[] = {
        {{"Firma2020.zqd"}, {}, "Firma2020.zqd"},
        {{"2020.zqd", "Firma2021.zqd", "notizen.txt"}, {}, "2020.zqd"},
        {{"Firma2020.zqd", "Firma2020.zqd.bak", "settings.fdb"}, {}, "Firma2020.zqd"},
        {{}, {}, ""},
        {{"A2020.zqd", "B2020.zqd"}, {}, ""},
        {{"Firma2020.ZQD"}, {}, ""},
        {{"Firma2021.zqd"}, {}, ""},
        {{"Unter/Y2020.zqd"}, {"X2020.zqd"}, ""},
        {{"Firma2020.zqd", "Unter/Y2020.zqd"}, {"X2020.zqd"}, "Firma2020.zqd"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string folderName = "Daten" + std::to_string(++n);
        dir_.MakeDir(folderName);
        for (const std::string& file : c.files) {
            dir_.WriteFile(folderName + "/" + file);
        }
        for (const std::string& folder : c.folders) {
            dir_.MakeDir(folderName + "/" + folder);
        }
        const std::string folder = dir_.Folder() + folderName + "/";
        EXPECT_EQ(form_.FindDefaultDbFile2020(folder), folder + c.expected) << folderName;
    }
}

TEST_F(DefaultFileTest, MissingFolderIsAnError) {
    EXPECT_EQ(ErrorOf([&] { form_.FindDefaultDbFile2020(dir_.Folder() + "Daten/"); }),
              "Der angegebene Pfad wurde nicht gefunden");
    dir_.WriteFile("Datei");
    EXPECT_EQ(ErrorOf([&] { form_.FindDefaultDbFile2020(dir_.Folder() + "Datei/"); }),
              "Der angegebene Pfad wurde nicht gefunden");
}

TEST_F(DefaultFileTest, InstallPathEndingInASeparatorKeepsTheDoubledSeparator) {
    dir_.WriteFile("Daten/Firma2020.zqd");
    // A stale key the machine store would ignore: the store is injected.
    store_.AddKey(kKey);
    store_.SetString("InstallPath", dir_.Folder());
    const std::string folder = form_.GetCurrentInstallPath() + "/Daten/";
    EXPECT_EQ(form_.FindDefaultDbFile2020(folder), dir_.Folder() + "/Daten/Firma2020.zqd");
}

// The Windows rules of the folder listing, on a Windows file system in memory.
class WindowsListingTest : public ::testing::Test {
protected:
    std::string Find(const std::string& folder) { return form_.FindDefaultDbFile2020(folder); }

    test::FakeSettingsStore store_;
    test::ScriptedView view_;
    test::FakeWindowsFileSystem files_;
    TForm1 form_{view_, store_, files_};
};

TEST_F(WindowsListingTest, EntriesAreJoinedToTheFolderAsGiven) {
    files_.folders = {"C:\\Prog\\Daten\\", "C:\\Daten\\", "C:\\Prog\\\\Daten\\"};
    files_.listings["C:\\Prog\\Daten\\"] = {{"Firma2020.zqd", false}, {"X2020.zqd", true}};
    files_.listings["\\Daten\\"] = {{"Firma2020.zqd", false}};
    files_.listings["C:\\Prog\\\\Daten\\"] = {{"a2020.zqd", false}, {"b2020.zqd", false}};

    EXPECT_EQ(Find("C:\\Prog\\Daten\\"), "C:\\Prog\\Daten\\Firma2020.zqd");
    // An empty install path lists \Daten\ on the current drive but keeps the text as given.
    EXPECT_EQ(Find("\\Daten\\"), "\\Daten\\Firma2020.zqd");
    EXPECT_EQ(Find("C:\\Prog\\\\Daten\\"), "C:\\Prog\\\\Daten\\");
}

TEST_F(WindowsListingTest, FolderTestsRunInOrderBeforeAnyEntryIsRead) {
    struct Case {
        std::string folder;
        std::string message;
    };
    const std::string longFolder = "C:\\" + std::string(250, 'x') + "\\Daten\\";
    files_.folders = {longFolder, "\\\\?\\" + longFolder, "C:\\a:b\\Daten\\", "C:\\a|b\\Daten\\"};
    const Case cases[] = {
        {longFolder, "Der angegebene Pfad ist zu lang"},
        {"C:\\a:b\\Daten\\", "Das Pfadformat wird nicht unterstützt"},
        {"C:\\a|b\\Daten\\", "Ungültige Zeichen im Pfad"},
        {"C:\\Fehlt\\Daten\\", "Der angegebene Pfad wurde nicht gefunden"},
        {"\\\\?\\" + longFolder, "(no error)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorOf([&] { Find(c.folder); }), c.message) << c.folder;
    }
    // Relative paths are tested in full: Daten lies in the current folder C:\Work.
    EXPECT_EQ(ErrorOf([&] { Find("Daten\\"); }), "Der angegebene Pfad wurde nicht gefunden");
    files_.folders.insert("C:\\Work\\Daten\\");
    EXPECT_EQ(Find("Daten\\"), "Daten\\");

    EXPECT_EQ(files_.listed, (std::vector<std::string>{"\\\\?\\" + longFolder, "Daten\\"}));
}

TEST_F(WindowsListingTest, ExpansionErrorIsTheSystemsMessage) {
    files_.expandError = "Die Syntax für den Dateinamen ist falsch";
    EXPECT_EQ(ErrorOf([&] { Find("C:\\Prog\\Daten\\"); }),
              "Die Syntax für den Dateinamen ist falsch");
    EXPECT_TRUE(files_.listed.empty());
}

}  // namespace
}  // namespace zav
