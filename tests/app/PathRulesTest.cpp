#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/PathRules.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"

namespace zav {
namespace {

const std::string kPrefix = "\\\\?\\";

// A full path of exactly the given length in characters, on drive C.
std::string PathOfLength(std::size_t length) {
    std::string path = "C:\\";
    path += std::string(length - path.size(), 'a');
    return path;
}

// The message of the UserInputError the action throws, or "" when it throws none.
template <typename Action>
std::string ThrownMessage(Action action) {
    try {
        action();
    } catch (const UserInputError& error) {
        return error.what();
    }
    return "";
}

std::string FullFolderPathMessage(const std::string& path) {
    return ThrownMessage([&] { CheckFullFolderPath(path); });
}

std::string FolderPartMessage(const std::string& text) {
    return ThrownMessage([&] { (void)WindowsFolderPart(text); });
}

TEST(PathRules, TooLongFromTwoHundredSixtyCharactersUnlessExtended) {
    EXPECT_FALSE(IsPathTooLong(PathOfLength(259)));
    EXPECT_TRUE(IsPathTooLong(PathOfLength(260)));
    EXPECT_FALSE(IsPathTooLong(kPrefix + PathOfLength(400)));
    // Characters count, not bytes: 259 umlauts are 518 bytes but still short enough.
    std::string umlauts = "C:\\";
    for (int i = 0; i < 256; ++i) {
        umlauts += "ä";
    }
    EXPECT_FALSE(IsPathTooLong(umlauts));
    EXPECT_TRUE(IsPathTooLong(umlauts + "x"));
}

TEST(PathRules, ColonOnlyAsTheDrivesOwn) {
    EXPECT_FALSE(HasColonAfterDrive("C:\\Prog\\Daten\\"));
    EXPECT_FALSE(HasColonAfterDrive("c:"));
    EXPECT_FALSE(HasColonAfterDrive(kPrefix + "C:\\Daten\\"));
    EXPECT_FALSE(HasColonAfterDrive("\\Daten\\"));
    EXPECT_TRUE(HasColonAfterDrive("C:\\Daten:x\\"));
    EXPECT_TRUE(HasColonAfterDrive("C::"));
    EXPECT_TRUE(HasColonAfterDrive("\\Daten:\\"));
    EXPECT_TRUE(HasColonAfterDrive("1:\\Daten\\"));
    EXPECT_TRUE(HasColonAfterDrive(kPrefix + "UNC\\srv\\a:b"));
}

TEST(PathRules, InvalidCharactersAreControlsQuotesAnglesAndBar) {
    for (const char* bad : {"a\"b", "a<b", "a>b", "a|b", "a\tb", "a\x1f", "a\rb"}) {
        EXPECT_TRUE(HasInvalidPathChars(bad)) << bad;
    }
    EXPECT_TRUE(HasInvalidPathChars(std::string("a\0b", 3)));
    for (const char* good : {"C:\\Prog\\Daten\\", "a?b*c", "Größe 2020.zqd", "a'b;c"}) {
        EXPECT_FALSE(HasInvalidPathChars(good)) << good;
    }
}

TEST(PathRules, FullFolderPathChecksRunInOrder) {
    // Too long wins over a colon and an invalid character; a colon wins over an invalid character.
    EXPECT_EQ(FullFolderPathMessage(PathOfLength(300) + ":|"), "Der angegebene Pfad ist zu lang");
    EXPECT_EQ(FullFolderPathMessage("C:\\a:|"), "Das Pfadformat wird nicht unterstützt");
    EXPECT_EQ(FullFolderPathMessage("C:\\a|"), "Ungültige Zeichen im Pfad");
    EXPECT_EQ(FullFolderPathMessage("C:\\Prog\\Daten\\"), "");
}

TEST(PathRules, DriveLetterAfterOptionalPrefixInEitherCase) {
    std::bitset<26> drives;
    drives.set('C' - 'A');
    drives.set('Z' - 'A');
    EXPECT_EQ(DriveLetterOf("c:\\x"), 'C');
    EXPECT_EQ(DriveLetterOf(kPrefix + "z:"), 'Z');
    EXPECT_EQ(DriveLetterOf("\\Daten\\"), std::nullopt);
    EXPECT_EQ(DriveLetterOf("1:\\"), std::nullopt);
    EXPECT_EQ(DriveLetterOf("C"), std::nullopt);
    EXPECT_EQ(DriveLetterOf("ä:"), std::nullopt);
    EXPECT_TRUE(BeginsWithExistingDrive("c:\\Daten", drives));
    EXPECT_TRUE(BeginsWithExistingDrive(kPrefix + "Z:\\", drives));
    EXPECT_FALSE(BeginsWithExistingDrive("D:\\Daten", drives));
    EXPECT_FALSE(BeginsWithExistingDrive("/home/x", drives));
    EXPECT_FALSE(BeginsWithExistingDrive("C:\\x", std::bitset<26>()));
}

TEST(PathRules, DatabaseClientGetsThePathWithoutThePrefix) {
    const std::pair<std::string, std::string> cases[] = {
        {kPrefix + "C:\\Trafik\\Daten\\Firma2020.zqd", "C:\\Trafik\\Daten\\Firma2020.zqd"},
        {kPrefix + "unc\\srv\\Freigabe\\a.zqd", "\\\\srv\\Freigabe\\a.zqd"},
        {"C:\\Daten\\a.zqd", "C:\\Daten\\a.zqd"},
    };
    for (const auto& [path, plain] : cases) {
        EXPECT_EQ(PathForDatabaseClient(path), plain) << path;
    }
    const std::string volume = kPrefix + "Volume{12345678-1234-1234-1234-123456789abc}\\a.zqd";
    EXPECT_EQ(ThrownMessage([&] { (void)PathForDatabaseClient(volume); }),
              "Der Pfad '" + volume +
                  "' kann nicht an die Datenbank übergeben werden. Bitte wählen Sie die Datei "
                  "über einen Laufwerksbuchstaben (C:\\…) oder eine Netzwerkfreigabe "
                  "(\\\\Server\\Freigabe\\…) aus.");
    EXPECT_EQ(ThrownMessage([&] { (void)PathForDatabaseClient(kPrefix + PathOfLength(260)); }),
              "Der angegebene Pfad ist zu lang");
}

struct FolderCase {
    std::string text;
    std::string folderPart;
    std::string initialFolder;
};

TEST(PathRules, WindowsFolderPartAndInitialFolder) {
    const FolderCase cases[] = {
        {"C:\\Prog\\Daten\\", "C:\\Prog\\Daten", "C:\\Prog\\Daten"},
        {"C:\\Prog\\Daten\\Firma2020.zqd", "C:\\Prog\\Daten", "C:\\Prog\\Daten"},
        {"C:\\Prog\\\\Daten\\", "C:\\Prog\\\\Daten", "C:\\Prog\\\\Daten"},
        {"C:\\x.zqd", "C:\\", "C:\\"},
        {"C:/x.zqd", "C:/", "C:/"},
        {"C:/a/b.zqd", "C:/a", "C:/a"},
        {"C:\\", "", ""},
        {"C:x.zqd", "C:", "C:"},
        {"C:", "", ""},
        {"C:\\Daten\\x.zqd   ", "C:\\Daten", "C:\\Daten"},
        {"C:\\Daten\\   ", "C:\\Daten", "C:\\Daten"},
        {kPrefix + "C:\\Daten\\x.zqd", kPrefix + "C:\\Daten", kPrefix + "C:\\Daten"},
        {kPrefix + "C:\\x.zqd", kPrefix + "C:\\", kPrefix + "C:\\"},
        {kPrefix + "C:", "", ""},
    };
    for (const FolderCase& c : cases) {
        const std::string part = WindowsFolderPart(c.text);
        EXPECT_EQ(part, c.folderPart) << c.text;
        EXPECT_EQ(InitialFolder(part, PathStyle::Windows), c.initialFolder) << c.text;
    }
}

TEST(PathRules, InitialFolderOfATextUsedWhole) {
    EXPECT_EQ(InitialFolder("\\Daten\\", PathStyle::Windows), "\\Daten");
    EXPECT_EQ(InitialFolder("\\", PathStyle::Windows), "\\");
    EXPECT_EQ(InitialFolder("D:\\", PathStyle::Windows), "D:\\");
    EXPECT_EQ(InitialFolder("D:\\Daten/", PathStyle::Windows), "D:\\Daten/");
    EXPECT_EQ(InitialFolder("", PathStyle::Windows), "");
    EXPECT_EQ(InitialFolder("/root/ZAV/Daten/", PathStyle::Posix), "/root/ZAV/Daten");
    EXPECT_EQ(InitialFolder("/", PathStyle::Posix), "/");
    EXPECT_EQ(InitialFolder("a\\", PathStyle::Posix), "a\\");
}

TEST(PathRules, WindowsFolderPartRefusesLongAndInvalidTexts) {
    EXPECT_EQ(FolderPartMessage(PathOfLength(260)), "Der angegebene Pfad ist zu lang");
    EXPECT_EQ(FolderPartMessage(PathOfLength(259)), "");
    EXPECT_EQ(FolderPartMessage(kPrefix + PathOfLength(300)), "");
    EXPECT_EQ(FolderPartMessage("C:\\a<b.zqd"), "Ungültige Zeichen im Dateinamen");
    EXPECT_EQ(FolderPartMessage(PathOfLength(300) + "|"), "Der angegebene Pfad ist zu lang");
}

TEST(PathRules, PosixFolderPart) {
    EXPECT_EQ(PosixFolderPart("/root/ZAV/Daten/Firma2020.zqd"), "/root/ZAV/Daten");
    EXPECT_EQ(PosixFolderPart("/root/ZAV/Daten/"), "/root/ZAV/Daten");
    EXPECT_EQ(PosixFolderPart("/x.zqd"), "/");
    EXPECT_EQ(PosixFolderPart("/"), "");
    EXPECT_EQ(PosixFolderPart("x.zqd"), "");
}

TEST(PathRules, JoinFolderAndName) {
    EXPECT_EQ(JoinFolderAndName("C:\\Daten\\", "a.zqd", '\\'), "C:\\Daten\\a.zqd");
    EXPECT_EQ(JoinFolderAndName("C:\\Daten", "a.zqd", '\\'), "C:\\Daten\\a.zqd");
    EXPECT_EQ(JoinFolderAndName("C:/Daten/", "a.zqd", '\\'), "C:/Daten/a.zqd");
    EXPECT_EQ(JoinFolderAndName("C:", "a.zqd", '\\'), "C:a.zqd");
    EXPECT_EQ(JoinFolderAndName("/a/Daten/", "x", '/'), "/a/Daten/x");
    EXPECT_EQ(JoinFolderAndName("/a/Daten", "x", '/'), "/a/Daten/x");
    EXPECT_EQ(JoinFolderAndName("/a\\", "x", '/'), "/a\\/x");
    EXPECT_EQ(JoinFolderAndName("", "*", '\\'), "*");  // a relative name stays relative
    EXPECT_EQ(PathStyleOf('\\'), PathStyle::Windows);
    EXPECT_EQ(PathStyleOf('/'), PathStyle::Posix);
}

}  // namespace
}  // namespace zav
