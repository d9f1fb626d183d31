#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "app/ErrorBox.h"
#include "db/firebird/DatabaseErrors.h"
#include "platform/Errors.h"

namespace zav {
namespace {

struct TextCase {
    std::string message;
    std::string shown;
};

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterACharacterAboveIt) {
    const TextCase cases[] = {
        {"", ""},
        {"Ungültiger Dateiname.", "Ungültiger Dateiname."},
        {"Die Buchhaltung hat falsches Jahr. Jahr=2019",
         "Die Buchhaltung hat falsches Jahr. Jahr=2019."},
        {"Der angegebene Pfad wurde nicht gefunden", "Der angegebene Pfad wurde nicht gefunden."},
        {"Ungültiger Datentyp für 'InstallPath'", "Ungültiger Datentyp für 'InstallPath'"},
        {"Update starten? ", "Update starten? "},
        {"Achtung!", "Achtung!"},
        {"x (y)", "x (y)"},
        {"a,", "a,"},
        {"a-", "a-"},
        {"a\"", "a\""},
        {"a/", "a/."},
        {"a:", "a:."},
        {"Größe", "Größe."},
        {"Fehler\r\n", "Fehler\r\n"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message;
    }
}

TEST(ApplicationTitle, IsTheFileNameCutAtTheFirstFullStopWithTheSystemsLowerCaseAfterTheFirst) {
    // Marks what the system is asked to lower-case; the front ends' own lower-casing is tested
    // with them.
    const LowerCase marked = [](const std::string& text) { return "<" + text + ">"; };
    const TextCase cases[] = {
        {"C:\\Programme\\ZAV\\ZavCoronaUpdate.exe", "Z<avCoronaUpdate>"},
        {"/usr/local/bin/ZavCoronaUpdate", "Z<avCoronaUpdate>"},
        {"ZavCoronaUpdate", "Z<avCoronaUpdate>"},
        {"C:\\a.b\\ZAV.Corona.exe", "Z<AV>"},
        {"./zav", "z<av>"},
        {"/opt/ŁÓDŹ.exe", "Ł<ÓDŹ>"},
        {"/opt/𝐀B.exe", "𝐀<B>"},
        {"/opt/Z", "Z<>"},
        {"/opt/.hidden", ""},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(ApplicationTitle(c.message, marked), c.shown) << c.message;
    }
}

TEST(RunEventHandler, ShowsTheTextOfAnEscapingErrorAndSwallowsIt) {
    std::string shown;
    const auto show = [&](const std::string& text) { shown = text; };

    EXPECT_TRUE(RunEventHandler([] {}, show));
    EXPECT_EQ(shown, "");

    EXPECT_FALSE(RunEventHandler([] { throw UserInputError("Ungültiger Dateiname."); }, show));
    EXPECT_EQ(shown, "Ungültiger Dateiname.");

    EXPECT_FALSE(RunEventHandler([] { throw DatabaseError("I/O error", -902, 335544344); }, show));
    EXPECT_EQ(shown, "I/O error.");

    EXPECT_FALSE(RunEventHandler([] { throw std::runtime_error("kaputt"); }, show));
    EXPECT_EQ(shown, "kaputt.");

    EXPECT_FALSE(RunEventHandler([] { throw std::bad_alloc(); }, show));
    EXPECT_EQ(shown, "Zu wenig Arbeitsspeicher.");

    EXPECT_FALSE(RunEventHandler([] { throw 42; }, show));
    EXPECT_EQ(shown, "Ein unbekannter Fehler ist aufgetreten.");
}

}  // namespace
}  // namespace zav
