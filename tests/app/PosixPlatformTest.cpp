#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "support/TempFolder.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
protected:
    PosixFileSystemTest() : files_(CreatePlatformFileSystem()) {
        dir_.WriteFile("a.zqd");
        dir_.MakeDir("sub.zqd");
        fs::create_symlink(dir_.Path() / "a.zqd", dir_.Path() / "link-to-file");
        fs::create_symlink(dir_.Path() / "sub.zqd", dir_.Path() / "link-to-folder");
        fs::create_symlink(dir_.Path() / "gone", dir_.Path() / "dangling");
    }

    std::string P(const std::string& name) const { return (dir_.Path() / name).string(); }

    test::TempFolder dir_;
    std::unique_ptr<IFileSystem> files_;
};

TEST_F(PosixFileSystemTest, FileAndFolderExistenceFollowLinks) {
    struct Case {
        std::string name;
        bool file;
        bool folder;
    };
    const Case cases[] = {
        {"a.zqd", true, false},          {"sub.zqd", false, true},   {"link-to-file", true, false},
        {"link-to-folder", false, true}, {"dangling", false, false}, {"missing", false, false},
        {"a.zqd/below", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(files_->FileExists(P(c.name)), c.file) << c.name;
        EXPECT_EQ(files_->DirectoryExists(P(c.name)), c.folder) << c.name;
    }
    EXPECT_FALSE(files_->FileExists(""));
    EXPECT_FALSE(files_->DirectoryExists(""));
    EXPECT_TRUE(files_->DirectoryExists(dir_.Folder()));
}

TEST_F(PosixFileSystemTest, UnreadableAttributesStillShowAListedFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every file's attributes";
    }
    dir_.WriteFile("locked/inner.zqd");
    dir_.MakeDir("locked/inner-folder");
    fs::permissions(dir_.Path() / "locked", fs::perms::owner_read);
    EXPECT_TRUE(files_->FileExists(P("locked/inner.zqd")));
    EXPECT_FALSE(files_->FileExists(P("locked/inner-folder")));
    EXPECT_FALSE(files_->FileExists(P("locked/none.zqd")));
    EXPECT_TRUE(files_->DirectoryExists(P("locked/anything")));
}

TEST_F(PosixFileSystemTest, ListingGivesEveryEntryWithoutDotsAndMarksFolders) {
    dir_.WriteFile(".hidden");
    std::vector<DirectoryEntry> entries = files_->ListEntries(dir_.Folder());
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    std::vector<std::pair<std::string, bool>> seen;
    for (const DirectoryEntry& e : entries) {
        seen.emplace_back(e.name, e.isDirectory);
    }
    const std::vector<std::pair<std::string, bool>> expected = {
        {".hidden", false},      {"a.zqd", false},         {"dangling", false},
        {"link-to-file", false}, {"link-to-folder", true}, {"sub.zqd", true},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(files_->ListEntries(P("missing")).empty());
    EXPECT_TRUE(files_->ListEntries(P("a.zqd")).empty());
}

TEST_F(PosixFileSystemTest, ExpandsAgainstTheCurrentFolderAndKeepsAbsolutePaths) {
    const fs::path saved = fs::current_path();
    fs::current_path(dir_.Path());
    const std::string cwd = fs::current_path().string();
    EXPECT_EQ(files_->ExpandFullPath("Daten/"), cwd + "/Daten/");
    EXPECT_EQ(files_->ExpandFullPath(""), cwd);
    EXPECT_EQ(files_->ExpandFullPath("/Daten/"), "/Daten/");
    fs::current_path(saved);
    EXPECT_EQ(files_->Separator(), '/');
    EXPECT_TRUE(files_->DriveLetters().none());
}

class KeyFileStoreTest : public ::testing::Test {
protected:
    KeyFileStoreTest() { setenv("ZAV_SETTINGS_FILE", P().c_str(), 1); }
    ~KeyFileStoreTest() override { unsetenv("ZAV_SETTINGS_FILE"); }

    std::string P() const { return (dir_.Path() / "ZAV.conf").string(); }

    test::TempFolder dir_;
    std::unique_ptr<ISettingsStore> store_ = CreatePlatformSettingsStore();
};

constexpr const char* kKey = "SOFTWARE\\Vorlix-Software\\ZAV";

TEST_F(KeyFileStoreTest, MissingFileIsAKeyThatCannotBeOpened) {
    EXPECT_EQ(store_->OpenKey(kKey), nullptr);
}

TEST_F(KeyFileStoreTest, ReadsStringsAndTellsOtherTypesApart) {
    dir_.WriteFile("ZAV.conf",
                   "# Vorlix\r\n[ZAV]\r\n InstallPath = /opt/Vorlix ZAV \r\nLeer=\r\n"
                   "Zahl=dword:00000001\r\n; Name=Kommentar\r\nohne Gleichheitszeichen\r\n");
    const std::unique_ptr<ISettingsKey> key = store_->OpenKey(kKey);
    ASSERT_NE(key, nullptr);

    const auto path = key->QueryValue("InstallPath");
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->type, SettingsValueType::String);
    EXPECT_EQ(key->ReadString("InstallPath"), "/opt/Vorlix ZAV");

    const auto empty = key->QueryValue("Leer");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->type, SettingsValueType::String);
    EXPECT_EQ(key->ReadString("Leer"), "");

    const auto number = key->QueryValue("Zahl");
    ASSERT_TRUE(number.has_value());
    EXPECT_EQ(number->type, SettingsValueType::Other);
    EXPECT_EQ(key->ReadString("Zahl"), std::nullopt);

    EXPECT_EQ(key->QueryValue("Name"), std::nullopt);
    EXPECT_EQ(key->QueryValue("installpath"), std::nullopt);
    EXPECT_EQ(key->ReadString("Fehlt"), std::nullopt);
}

TEST_F(KeyFileStoreTest, WhatCannotBeASettingsFileIsNamedNeitherWaitedForNorRead) {
    constexpr std::size_t kLimit = 1024 * 1024;
    const std::string line = "InstallPath=/opt/ZAV\n";
    const std::string atLimit = line + std::string(kLimit - line.size() - 1, '#') + "\n";
    const std::string fifo = (dir_.Path() / "fifo.conf").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir_.MakeDir("ordner.conf").string();
    const std::string tooLarge = dir_.WriteFile("gross.conf", atLimit + "#").string();
    for (const std::string& path : {fifo, std::string("/dev/zero"), folder, tooLarge}) {
        setenv("ZAV_SETTINGS_FILE", path.c_str(), 1);
        try {
            store_->OpenKey(kKey);
            ADD_FAILURE() << path;
        } catch (const PlatformError& e) {
            EXPECT_NE(std::string(e.what()).find("Einstellungsdatei '" + path + "'"),
                      std::string::npos)
                << e.what();
        }
    }
    setenv("ZAV_SETTINGS_FILE", dir_.WriteFile("voll.conf", atLimit).c_str(), 1);
    const std::unique_ptr<ISettingsKey> key = store_->OpenKey(kKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadString("InstallPath"), "/opt/ZAV");
}

}  // namespace
}  // namespace zav
