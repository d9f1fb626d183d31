#include <gtest/gtest.h>
#include <unistd.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <csignal>
#include <filesystem>

#include "QtTestSupport.h"
#include "app/FakeSettingsStore.h"
#include "support/TempFolder.h"
#include "app/qt/FrontEnd.h"
#include "app/qt/TerminationSignals.h"
#include "db/firebird/DatenbankDM.h"
#include "support/TestDatabase.h"

namespace zav::qt {
namespace {

constexpr const char* kKey = "SOFTWARE\\Vorlix-Software\\ZAV";
const QString kTitle = "Zavcoronaupdate";
using test::Find;

// The Qt window on an installation whose data folder holds a fresh accounting file.
class FrontEndTest : public ::testing::Test {
protected:
    FrontEndTest() : db_(test::TestDatabase::FromFixture("trafik")) {
        test::TestApp();
        std::filesystem::create_directory_symlink(db_.Folder(), install_.Path() / "Daten");
        store_.AddKey(kKey);
        store_.SetString("InstallPath", install_.Path().string());
    }

    QString DataFolder() const { return QString::fromStdString(install_.Folder() + "Daten"); }

    test::TestDatabase db_;
    test::TempFolder install_;
    test::FakeSettingsStore store_;
    std::unique_ptr<IFileSystem> files_ = CreatePlatformFileSystem();
};

TEST_F(FrontEndTest, WholeRunThroughTheWidgetsUpdatesTheAccountingFile) {
    FrontEnd frontEnd(store_, *files_, kTitle);
    frontEnd.Start();
    MainWindow& window = frontEnd.Window();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(Find<QLineEdit>(&window, "edtDatabasePath")->text(),
              DataFolder() + "/trafik2020.zqd");

    QStringList seen;
    bool closedWhileResultShown = true;
    test::DialogScript script;
    script.Then(test::Answer("&Ja", seen)).Then([&](QWidget* dialog) {
        closedWhileResultShown = window.close();
        return test::Answer("OK", seen)(dialog);
    });
    Find<QPushButton>(&window, "btnUpdate")->click();

    EXPECT_TRUE(script.Done());
    EXPECT_FALSE(script.GaveUp());
    EXPECT_EQ(seen, QStringList({"Bestätigen: TRAFIK Update! Änderungen können nicht wieder "
                                 "rückgängig gemacht werden.\n\nUpdate starten? ",
                                 "Informationen: Trafik Update erfolgreich abgeschlossen"}));
    EXPECT_EQ(db_.QueryInt("select count(*) from STEUERSATZ where PROZENT = 5"), 1);
    EXPECT_EQ(db_.QueryInt("select count(*) from ARTIKEL where ARTIKEL_NAME = "
                           "'Zeitungen Corona Sondersteuersatz'"),
              1);
    EXPECT_FALSE(frontEnd.Form().Datenbank()->dbMain.Connected());
    // A close that reached the window while the result was shown waited for it. (Qt itself drops
    // the window manager's close request while a dialog is open.)
    EXPECT_FALSE(closedWhileResultShown);
    EXPECT_FALSE(window.isVisible());

    window.show();
    Find<QPushButton>(&window, "btnClose")->click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FrontEndTest, ChosenFileGoesIntoThePathBoxAndAnErrorGoesIntoTheErrorBox) {
    install_.WriteFile("Daten/settings.fdb");
    FrontEnd frontEnd(store_, *files_, kTitle);
    frontEnd.Start();
    MainWindow& window = frontEnd.Window();

    QString startFolder;
    {
        test::DialogScript script;
        script.Then([&](QWidget* dialog) {
            auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
            if (fileDialog == nullptr) {
                return false;
            }
            startFolder = fileDialog->directory().absolutePath();
            fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText("settings.fdb");
            QMetaObject::invokeMethod(fileDialog, "accept", Qt::QueuedConnection);
            return true;
        });
        Find<QPushButton>(&window, "btnBrowse")->click();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(startFolder, DataFolder());
    EXPECT_EQ(Find<QLineEdit>(&window, "edtDatabasePath")->text(), DataFolder() + "/settings.fdb");

    QStringList seen;
    test::DialogScript script;
    script.Then(test::Answer("OK", seen));
    Find<QPushButton>(&window, "btnUpdate")->click();
    EXPECT_EQ(seen,
              QStringList({"Zavcoronaupdate: Die ausgewählte Datei ist keine Buchhaltungsdatei."}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Find<QLineEdit>(&window, "edtDatabasePath")->text(), DataFolder() + "/settings.fdb");
}

TEST_F(FrontEndTest, StartErrorIsShownBeforeTheWindowWhichStillOpens) {
    store_.SetValue("InstallPath", {SettingsValueType::Other, 4, std::nullopt});
    FrontEnd frontEnd(store_, *files_, kTitle);
    QStringList seen;
    bool windowShownDuringBox = true;
    test::DialogScript script;
    script.Then([&](QWidget* dialog) {
        windowShownDuringBox = frontEnd.Window().isVisible();
        return test::Answer("OK", seen)(dialog);
    });
    frontEnd.Start();
    EXPECT_EQ(seen, QStringList({"Zavcoronaupdate: Ungültiger Datentyp für 'InstallPath'"}));
    EXPECT_FALSE(windowShownDuringBox);
    EXPECT_TRUE(frontEnd.Window().isVisible());
    EXPECT_EQ(Find<QLineEdit>(&frontEnd.Window(), "edtDatabasePath")->text(), "");
}

// SIGTERM while the question is open, set up as main does it, in a process of its own: the
// question counts as Nein, the connection closes, the loops end with 128 + the signal's number.
TEST(TerminationSignals, EndTheOpenQuestionAsNeinAndThenTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto run = [] {
        alarm(60);  // a question left open ends the process, failing the test
        TerminationSignals termination;
        termination.EndApplicationOnSignal(test::TestApp());
        const test::TestDatabase db = test::TestDatabase::FromFixture("trafik");
        const test::TempFolder install;
        std::filesystem::create_directory_symlink(db.Folder(), install.Path() / "Daten");
        test::FakeSettingsStore store;
        store.AddKey(kKey);
        store.SetString("InstallPath", install.Path().string());
        const std::unique_ptr<IFileSystem> files = CreatePlatformFileSystem();
        FrontEnd frontEnd(store, *files, kTitle);
        frontEnd.Start();
        test::DialogScript script;
        script.Then([](QWidget*) { return kill(getpid(), SIGTERM) == 0; });
        Find<QPushButton>(&frontEnd.Window(), "btnUpdate")->click();
        const bool clean = !frontEnd.Form().Datenbank()->dbMain.Connected() &&
                           db.QueryInt("select count(*) from STEUERSATZ where PROZENT = 5") == 0;
        return clean ? termination.ExitCode().value_or(0) : 1;
    };
    EXPECT_EXIT(std::exit(run()), ::testing::ExitedWithCode(128 + SIGTERM), "");
}

TEST(ApplicationTitleOf, LowerCasesEveryLetterAfterTheFirst) {
    EXPECT_EQ(ApplicationTitleOf("/opt/ZAŁÓG.exe"), "Załóg");
    EXPECT_EQ(ApplicationTitleOf("/opt/ПРОГРАММА"), "Программа");
    EXPECT_EQ(ApplicationTitleOf("/usr/bin/ZavCoronaUpdate"), "Zavcoronaupdate");
}

}  // namespace
}  // namespace zav::qt
