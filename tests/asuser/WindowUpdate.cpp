// One whole update of an accounting file through the Qt window (offscreen), with the settings
// store and the file system of the platform, as scripts/test-as-user.sh runs it for an ordinary
// user. The settings file (ZAV_SETTINGS_FILE) must lead the window to the file given.
//   usage: zav_window_update PATH
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <string>

#include "app/qt/FrontEnd.h"
#include "db/firebird/DatenbankDM.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "qt/QtTestSupport.h"

namespace zav::test {
namespace {

std::string gAccountingFile;

TEST(OrdinaryUser, UpdatesTheAccountingFileThroughTheWindow) {
    TestApp();
    const std::unique_ptr<ISettingsStore> settings = CreatePlatformSettingsStore();
    const std::unique_ptr<IFileSystem> files = CreatePlatformFileSystem();
    {
        qt::FrontEnd frontEnd(*settings, *files, "Zavcoronaupdate");
        frontEnd.Start();
        ASSERT_EQ(Find<QLineEdit>(&frontEnd.Window(), "edtDatabasePath")->text().toStdString(),
                  gAccountingFile);

        QStringList seen;
        DialogScript script;
        script.Then(Answer("&Ja", seen)).Then(Answer("OK", seen));
        Find<QPushButton>(&frontEnd.Window(), "btnUpdate")->click();
        EXPECT_TRUE(script.Done());
        ASSERT_EQ(seen.size(), 2) << seen.join("\n").toStdString();
        EXPECT_EQ(seen[1], "Informationen: Trafik Update erfolgreich abgeschlossen");
    }

    TdmDatenbank check;
    check.Connect(gAccountingFile);
    check.dqQuery.SetSQL(
        "select count(*) as N from ARTIKEL "
        "where ARTIKEL_NAME = 'Zeitungen Corona Sondersteuersatz'");
    check.dqQuery.Open();
    EXPECT_EQ(check.dqQuery.FieldByName("N").AsInteger(), 1);
    check.dqQuery.Close();
    check.Disconnect();
}

}  // namespace
}  // namespace zav::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PATH\n", argv[0]);
        return 2;
    }
    zav::test::gAccountingFile = argv[1];
    return RUN_ALL_TESTS();
}
