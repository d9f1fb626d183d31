#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FakeSettingsStore.h"
#include "ScriptedView.h"
#include "support/TempFolder.h"
#include "app/MainForm.h"
#include "db/firebird/DatenbankDM.h"
#include "support/TableContents.h"
#include "support/TestDatabase.h"

namespace zav {
namespace {

namespace fs = std::filesystem;
using test::ScriptedView;

constexpr const char* kKey = "SOFTWARE\\Vorlix-Software\\ZAV";
const std::string kQuestion =
    "TRAFIK Update! Änderungen können nicht wieder rückgängig gemacht werden.\r\n\r\n"
    "Update starten? ";
const ScriptedView::Shown kConfirm{kQuestion, DialogKind::Confirmation};
const ScriptedView::Shown kSuccess{"Trafik Update erfolgreich abgeschlossen",
                                   DialogKind::Information};
const ScriptedView::Shown kGastro{"Noch nicht implementiert.", DialogKind::Warning};
const ScriptedView::Shown kNoChoice{"Es wurde keine Auswahl getroffen.", DialogKind::Warning};

// The window's start on an installation whose data folder holds the test database, then clicks
// on "Update" as the event loop runs them.
class UpdateHandlerTest : public ::testing::Test {
protected:
    UpdateHandlerTest() : db_(test::TestDatabase::FromFixture("trafik")) {
        fs::create_directory_symlink(db_.Folder(), install_.Path() / "Daten");
        store_.AddKey(kKey);
        store_.SetString("InstallPath", install_.Path().string());
        view_.whileShown = [this](const ScriptedView::Shown&) {
            connectedWhileShown_.push_back(form_.Datenbank()->dbMain.Connected());
        };
    }

    void SetUp() override {
        form_.FormCreate();
        ASSERT_EQ(view_.path, install_.Path().string() + "/Daten/trafik2020.zqd");
        before_ = test::ReadTables(db_.Path());
    }

    // The error box's text, or "" when the handler ended normally.
    std::string ClickUpdate() {
        std::string errorBox;
        form_.RunHandler(&TForm1::btnUpdateClick, [&](const std::string& text) {
            errorBox = text;
            whileErrorShown_();
        });
        EXPECT_FALSE(form_.Datenbank()->dbMain.Connected()) << "connection left open";
        return errorBox;
    }

    void SetYear(const std::string& year) {
        db_.Execute("update EINSTELLUNGEN set WERT = '" + year +
                    "' where NAMEID = 'Datum.AnfangsJahr'");
        before_ = test::ReadTables(db_.Path());
    }

    test::TestDatabase db_;
    test::TempFolder install_;
    test::FakeSettingsStore store_;
    ScriptedView view_;
    std::unique_ptr<IFileSystem> files_ = CreatePlatformFileSystem();
    TForm1 form_{view_, store_, *files_};
    test::TableContents before_;
    std::vector<bool> connectedWhileShown_;
    std::function<void()> whileErrorShown_ = [] {};
};

TEST_F(UpdateHandlerTest, PathThatIsNoAccountingFileIsRefusedBeforeConnecting) {
    // Files that are no database: a connect would fail with the client's text instead.
    install_.WriteFile("Daten2/Firma2020.zqd.bak", "kein Firebird");
    install_.WriteFile("Daten2/zqd", "kein Firebird");
    install_.MakeDir("Daten2/Ordner.zqd");
    const std::string other = install_.Folder() + "Daten2/";
    struct Case {
        std::string path;
        std::string errorBox;
    };
    const Case cases[] = {
        {"", "Ungültiger Dateiname."},
        {db_.Folder(), "Ungültiger Dateiname."},
        {other + "Ordner.zqd", "Ungültiger Dateiname."},
        {other + "Fehlt2020.zqd", "Ungültiger Dateiname."},
        {" " + db_.Path(), "Ungültiger Dateiname."},
        {other + "Firma2020.zqd.bak", "Die ausgewählte Datei ist keine Buchhaltungsdatei."},
        {other + "zqd", "Die ausgewählte Datei ist keine Buchhaltungsdatei."},
    };
    for (const Case& c : cases) {
        view_.path = c.path;
        EXPECT_EQ(ClickUpdate(), c.errorBox) << c.path;
    }
    EXPECT_TRUE(view_.shown.empty());
    EXPECT_EQ(test::ReadTables(db_.Path()), before_);
}

TEST_F(UpdateHandlerTest, ExtensionInCapitalsIsAccepted) {
    const std::string upper = db_.Folder() + "/TRAFIK2020.ZQD";
    fs::copy_file(db_.Path(), upper);
    view_.path = upper;
    view_.answers = {kResultNo};
    EXPECT_EQ(ClickUpdate(), "");
    EXPECT_EQ(view_.shown, std::vector{kConfirm});
    EXPECT_EQ(connectedWhileShown_, std::vector{true});
}

TEST_F(UpdateHandlerTest, WrongYearStopsBeforeTheQuestion) {
    SetYear("2019");
    EXPECT_EQ(ClickUpdate(), "Die Buchhaltung hat falsches Jahr. Jahr=2019.");
    EXPECT_TRUE(view_.shown.empty());
    EXPECT_EQ(test::ReadTables(db_.Path()), before_);
}

TEST_F(UpdateHandlerTest, WithoutTheYearCheckTheYearIsNotRead) {
    // A year that cannot be read as a number would fail the check.
    SetYear("zwanzig");
    EXPECT_NE(ClickUpdate(), "");
    view_.checkJahr = false;
    view_.answers = {kResultNo};
    EXPECT_EQ(ClickUpdate(), "");
    EXPECT_EQ(view_.shown, std::vector{kConfirm});
}

TEST_F(UpdateHandlerTest, AnyAnswerButJaChangesNothingAndShowsNothingMore) {
    view_.answers = {kResultNo, kResultCancel};
    EXPECT_EQ(ClickUpdate(), "");
    EXPECT_EQ(ClickUpdate(), "");
    EXPECT_EQ(view_.shown, (std::vector{kConfirm, kConfirm}));
    EXPECT_EQ(connectedWhileShown_, (std::vector{true, true}));
    EXPECT_EQ(test::ReadTables(db_.Path()), before_);
}

TEST_F(UpdateHandlerTest, JaUpdatesAndReportsBeforeDisconnectingASecondRunChangesNothing) {
    view_.answers = {kResultYes, kResultOk};
    EXPECT_EQ(ClickUpdate(), "");
    EXPECT_EQ(view_.shown, (std::vector{kConfirm, kSuccess}));
    EXPECT_EQ(connectedWhileShown_, (std::vector{true, true}));
    const test::TableContents after = test::ReadTables(db_.Path());
    EXPECT_NE(after, before_);
    EXPECT_EQ(db_.QueryInt("select count(*) from STEUERSATZ where PROZENT = 5"), 1);
    EXPECT_EQ(db_.QueryInt("select count(*) from ARTIKEL where ARTIKEL_NAME = "
                           "'Zeitungen Corona Sondersteuersatz'"),
              1);

    view_.shown.clear();
    view_.answers = {kResultYes, kResultOk};
    EXPECT_EQ(ClickUpdate(), "");
    EXPECT_EQ(view_.shown, (std::vector{kConfirm, kSuccess}));
    EXPECT_EQ(test::ReadTables(db_.Path()), after);
}

TEST_F(UpdateHandlerTest, GastroIsNotImplementedAndFollowsTheTrafikQuestion) {
    view_.trafik = false;
    view_.gastro = true;
    EXPECT_EQ(ClickUpdate(), "");
    EXPECT_EQ(view_.shown, std::vector{kGastro});

    view_.shown.clear();
    view_.trafik = true;
    view_.answers = {kResultNo};
    EXPECT_EQ(ClickUpdate(), "");
    EXPECT_EQ(view_.shown, (std::vector{kConfirm, kGastro}));
    EXPECT_EQ(test::ReadTables(db_.Path()), before_);
}

TEST_F(UpdateHandlerTest, NoSelectionIsAWarningAfterTheYearCheck) {
    view_.trafik = false;
    EXPECT_EQ(ClickUpdate(), "");
    EXPECT_EQ(view_.shown, std::vector{kNoChoice});
    EXPECT_EQ(connectedWhileShown_, std::vector{true});

    SetYear("2021");
    view_.shown.clear();
    EXPECT_EQ(ClickUpdate(), "Die Buchhaltung hat falsches Jahr. Jahr=2021.");
    EXPECT_TRUE(view_.shown.empty());
}

// A close request reaches the handler only while a dialog or the error box is open.
TEST_F(UpdateHandlerTest, CloseDuringTheUpdateWaitsUntilItsResultHasBeenShown) {
    // Per request: whether the window may close, and how often it had been closed by then.
    std::vector<std::pair<bool, int>> requests;
    const auto requestClose = [&] {
        requests.emplace_back(form_.FormCloseQuery(), view_.closeRequests);
    };
    view_.whileShown = [&](const ScriptedView::Shown&) { requestClose(); };
    whileErrorShown_ = requestClose;
    db_.Execute("CREATE EXCEPTION E_ABGELEHNT 'Abgelehnt im Test'");
    db_.Execute(
        "CREATE TRIGGER T_REJECT FOR ARTIKEL BEFORE INSERT AS BEGIN EXCEPTION E_ABGELEHNT; END");
    view_.answers = {kResultYes};
    EXPECT_NE(ClickUpdate(), "");
    // The question lets the window close (before anything is written); the error box does not.
    EXPECT_EQ(requests, (std::vector<std::pair<bool, int>>{{true, 0}, {false, 0}}));
    EXPECT_EQ(view_.closeRequests, 1);

    db_.Execute("DROP TRIGGER T_REJECT");
    requests.clear();
    view_.answers = {kResultYes, kResultOk};
    EXPECT_EQ(ClickUpdate(), "");
    EXPECT_EQ(requests, (std::vector<std::pair<bool, int>>{{true, 1}, {false, 1}}));
    EXPECT_EQ(view_.closeRequests, 2);
    EXPECT_TRUE(form_.FormCloseQuery());
}

TEST_F(UpdateHandlerTest, UnreadableFileReportsTheClientsErrorWithoutDisconnecting) {
    install_.WriteFile("Kaputt2020.zqd", "kein Firebird");
    view_.path = install_.Folder() + "Kaputt2020.zqd";
    EXPECT_NE(ClickUpdate(), "");
    EXPECT_TRUE(view_.shown.empty());
}

TEST(UpdateWithoutDataModules, IsRefusedWithAClearMessage) {
    test::FakeSettingsStore store;
    ScriptedView view;
    const std::unique_ptr<IFileSystem> files = CreatePlatformFileSystem();
    TForm1 form(view, store, *files);
    std::string errorBox;
    form.RunHandler(&TForm1::btnUpdateClick, [&](const std::string& text) { errorBox = text; });
    EXPECT_EQ(errorBox,
              "Die Datenbankanbindung konnte beim Start nicht eingerichtet werden. Bitte prüfen "
              "Sie die Firebird-Installation und starten Sie das Programm neu.");
}

TEST(FormCreate, SettingsErrorKeepsTheDataModulesAndLeavesThePathBoxEmpty) {
    test::FakeSettingsStore store;
    store.AddKey(kKey);
    store.SetValue("InstallPath", {SettingsValueType::Other, 4, std::nullopt});
    ScriptedView view;
    const std::unique_ptr<IFileSystem> files = CreatePlatformFileSystem();
    TForm1 form(view, store, *files);
    std::string errorBox;
    form.RunHandler(&TForm1::FormCreate, [&](const std::string& text) { errorBox = text; });
    EXPECT_EQ(errorBox, "Ungültiger Datentyp für 'InstallPath'");
    EXPECT_NE(form.Datenbank(), nullptr);
    EXPECT_NE(form.TrafikUpdate(), nullptr);
    EXPECT_EQ(view.path, "");
}

TEST(FormCreate, DataFolderWithoutADefaultFileGoesIntoThePathBox) {
    test::TempFolder install;
    install.WriteFile("Daten/A2020.zqd");
    install.WriteFile("Daten/B2020.zqd");
    test::FakeSettingsStore store;
    store.AddKey(kKey);
    store.SetString("InstallPath", install.Path().string());
    ScriptedView view;
    const std::unique_ptr<IFileSystem> files = CreatePlatformFileSystem();
    TForm1 form(view, store, *files);
    form.FormCreate();
    EXPECT_EQ(view.path, install.Path().string() + "/Daten/");
}

}  // namespace
}  // namespace zav
