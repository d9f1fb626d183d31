// The Firebird client library cannot be loaded when the window is created: the start shows the
// library's message, the window stays usable, and "Update" refuses with a clear text instead of
// touching the database or crashing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "app/ErrorBox.h"
#include "app/FakeSettingsStore.h"
#include "app/MainForm.h"
#include "app/ScriptedView.h"
#include "db/firebird/ClientLibrary.h"
#include "platform/FileSystem.h"
#include "support/TableContents.h"
#include "support/TestDatabase.h"

namespace zav::test {
namespace {

using ::testing::HasSubstr;

struct Library {
    const char* name;
    // The file the loader is given instead of the client library, made in folder when needed.
    std::string (*file)(const std::string& folder);
};

void PrintTo(const Library& library, std::ostream* out) {
    *out << library.name;
}

class MissingClientLibrary : public ::testing::TestWithParam<Library> {};

TEST_P(MissingClientLibrary, StartShowsTheMessageAndUpdateChangesNothing) {
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    const TableContents before = ReadTables(db.Path());
    ScriptedView view;
    FakeSettingsStore store;
    const std::unique_ptr<IFileSystem> files = CreatePlatformFileSystem();
    ClientLibrary library({GetParam().file(db.Folder())});
    TForm1 form(view, store, *files, library);

    std::string startErrorBox;
    RunEventHandler([&] { form.FormCreate(); },
                    [&](const std::string& text) { startErrorBox = text; });
    EXPECT_EQ(startErrorBox,
              "InterBase-Bibliothek gds32.dll im Pfad nicht gefunden. Bitte installieren Sie "
              "InterBase, um diese Funktion zu verwenden.");
    EXPECT_EQ(form.Datenbank(), nullptr);

    view.path = db.Path();
    view.answers = {kResultYes};
    std::string updateErrorBox;
    EXPECT_FALSE(RunEventHandler([&] { form.btnUpdateClick(); },
                                 [&](const std::string& text) { updateErrorBox = text; }));
    EXPECT_THAT(updateErrorBox, HasSubstr("Firebird-Installation"));
    EXPECT_TRUE(view.shown.empty()) << "the update's question was asked";
    EXPECT_TRUE(ReadTables(db.Path()) == before) << "the database was changed";
}

INSTANTIATE_TEST_SUITE_P(
    WhenTheWindowIsCreated, MissingClientLibrary,
    ::testing::Values(Library{"NotInstalled",
                              [](const std::string& folder) {
                                  return folder + "/fehlt/libfbclient.so.2";
                              }},
                      Library{"WithoutTheClientFunctions",
                              [](const std::string&) { return std::string("libc.so.6"); }},
                      Library{"NotALibrary",
                              [](const std::string& folder) {
                                  const std::string file = folder + "/libfbclient.so.2";
                                  std::ofstream(file) << "kein Programmcode";
                                  return file;
                              }}),
    [](const ::testing::TestParamInfo<Library>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zav::test
