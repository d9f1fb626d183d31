// The Win32 platform layer on a real Windows API (Wine): the settings store on the registry, the
// file system on the W calls, the regional settings from the user's locale.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RegionalSettings.h"
#include "platform/SettingsStore.h"
#include "platform/win32/WinText.h"

namespace zav {
namespace {

using win32::ToUtf16;
using win32::ToUtf8;

// A key of its own under HKEY_LOCAL_MACHINE in the 32-bit view, removed again after each test.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        keyPath_ = "SOFTWARE\\ZavPlatformTest\\" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, ToUtf16(keyPath_).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }

    void TearDown() override {
        RegCloseKey(key_);
        HKEY parent = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                          &parent) == ERROR_SUCCESS) {
            RegDeleteTreeW(parent, L"ZavPlatformTest");
            RegCloseKey(parent);
        }
    }

    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }

    void SetText(const wchar_t* name, DWORD type, const std::wstring& text) {
        SetRaw(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    std::unique_ptr<ISettingsKey> Open() {
        return CreatePlatformSettingsStore()->OpenKey(keyPath_);
    }

    std::string keyPath_;
    HKEY key_ = nullptr;
};

TEST_F(RegistryTest, ReportsTypeAndSizeAndReadsStringsUnexpanded) {
    SetText(L"Plain", REG_SZ, L"C:\\Prog");
    SetText(L"Expand", REG_EXPAND_SZ, L"%SystemDrive%\\Prog");
    const DWORD number = 42;
    SetRaw(L"Number", REG_DWORD, &number, sizeof number);

    auto key = Open();
    ASSERT_NE(key, nullptr);
    const auto plain = key->QueryValue("Plain");
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->type, SettingsValueType::String);
    EXPECT_EQ(plain->dataSize, 16u);  // seven characters and the final null, two bytes each
    EXPECT_EQ(key->ReadString("Plain"), "C:\\Prog");

    const auto expand = key->QueryValue("Expand");
    ASSERT_TRUE(expand.has_value());
    EXPECT_EQ(expand->type, SettingsValueType::ExpandString);
    EXPECT_EQ(key->ReadString("Expand"), "%SystemDrive%\\Prog");

    const auto other = key->QueryValue("Number");
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->type, SettingsValueType::Other);
    EXPECT_EQ(other->dataSize, 4u);
}

TEST_F(RegistryTest, MissingValuesAndKeysGiveNothing) {
    auto key = Open();
    ASSERT_NE(key, nullptr);
    EXPECT_FALSE(key->QueryValue("InstallPath").has_value());
    EXPECT_FALSE(key->ReadString("InstallPath").has_value());
    EXPECT_EQ(CreatePlatformSettingsStore()->OpenKey(keyPath_ + "\\Fehlt"), nullptr);
}

TEST_F(RegistryTest, TextEndsAtTheFirstNullAndKeepsUmlauts) {
    const wchar_t withNull[] = L"C:\\B\u00fcro\0Rest";
    SetRaw(L"WithNull", REG_SZ, withNull, sizeof withNull);
    const wchar_t empty[] = L"";
    SetRaw(L"Empty", REG_SZ, empty, 0);
    // Data without a final null, and an odd number of bytes.
    SetRaw(L"Unterminated", REG_SZ, L"abc", 6);
    SetRaw(L"Odd", REG_SZ, L"abc", 5);

    auto key = Open();
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadString("WithNull"), "C:\\B\xc3\xbcro");
    EXPECT_EQ(key->QueryValue("Empty")->dataSize, 0u);
    EXPECT_EQ(key->ReadString("Empty"), "");
    EXPECT_EQ(key->ReadString("Unterminated"), "abc");
    const auto odd = key->ReadString("Odd");
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->substr(0, 2), "ab");
}

// A fresh folder under the temporary folder, removed with its contents after each test.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
        folder_ = ToUtf8(temp) + "zav-platform-test-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(ToUtf16(folder_).c_str(), nullptr));
    }

    void TearDown() override {
        std::wstring from = ToUtf16(folder_);
        from.push_back(L'\0');  // a list of one path
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NO_UI;
        SHFileOperationW(&operation);
    }

    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }

    void MakeFile(const std::string& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        HANDLE file = CreateFileW(ToUtf16(Path(name)).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, attributes, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }

    void MakeFolder(const std::string& name) {
        ASSERT_TRUE(CreateDirectoryW(ToUtf16(Path(name)).c_str(), nullptr));
    }

    std::string folder_;
    std::unique_ptr<IFileSystem> files_ = CreatePlatformFileSystem();
};

TEST_F(FileSystemTest, ListsHiddenAndSystemEntriesAndMarksFolders) {
    MakeFile("Firma2020.zqd");
    MakeFile("Versteckt2020.zqd", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    MakeFile("B\xc3\xbcro2020.zqd");
    MakeFolder("X2020.zqd");

    std::vector<DirectoryEntry> entries = files_->ListEntries(folder_ + "\\");
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "B\xc3\xbcro2020.zqd");
    EXPECT_EQ(entries[1].name, "Firma2020.zqd");
    EXPECT_EQ(entries[2].name, "Versteckt2020.zqd");
    EXPECT_EQ(entries[3].name, "X2020.zqd");
    EXPECT_FALSE(entries[0].isDirectory);
    EXPECT_TRUE(entries[3].isDirectory);
    // Without a final separator the listing is the same.
    EXPECT_EQ(files_->ListEntries(folder_).size(), 4u);
}

TEST_F(FileSystemTest, ListingAMissingFolderIsEmpty) {
    EXPECT_TRUE(files_->ListEntries(Path("Fehlt")).empty());
}

TEST_F(FileSystemTest, TellsFilesFromFoldersAndMissingPaths) {
    MakeFile("Firma2020.zqd");
    MakeFolder("Ordner.zqd");
    struct Case {
        std::string path;
        bool file;
        bool folder;
    };
    const Case cases[] = {
        {Path("Firma2020.zqd"), true, false},
        {Path("Ordner.zqd"), false, true},
        {Path("Ordner.zqd") + "\\", false, true},
        {Path("Fehlt.zqd"), false, false},
        {Path("Fehlt\\Firma2020.zqd"), false, false},
        {Path("Un<g>\"\xc3\xbcltig"), false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(files_->FileExists(c.path), c.file) << c.path;
        EXPECT_EQ(files_->DirectoryExists(c.path), c.folder) << c.path;
    }
}

TEST_F(FileSystemTest, AFileHeldOpenWithoutSharingStillExists) {
    MakeFile("Firma2020.zqd");
    HANDLE held = CreateFileW(ToUtf16(Path("Firma2020.zqd")).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(files_->FileExists(Path("Firma2020.zqd")));
    CloseHandle(held);
}

TEST_F(FileSystemTest, ExpandsAgainstTheCurrentFolderAndDrive) {
    wchar_t previous[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(ToUtf16(folder_).c_str()));
    const std::string drive = folder_.substr(0, 2);

    EXPECT_EQ(files_->ExpandFullPath("Daten\\"), folder_ + "\\Daten\\");
    EXPECT_EQ(files_->ExpandFullPath("\\Daten\\"), drive + "\\Daten\\");
    EXPECT_EQ(files_->ExpandFullPath("C:\\Prog\\Daten\\"), "C:\\Prog\\Daten\\");
    const std::string longPath = drive + "\\" + std::string(300, 'a') + "\\Daten\\";
    EXPECT_EQ(files_->ExpandFullPath(longPath), longPath);
    SetCurrentDirectoryW(previous);
}

TEST_F(FileSystemTest, KnowsTheDrivesAndTheSeparator) {
    const std::bitset<26> drives = files_->DriveLetters();
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(folder_[0])));
    EXPECT_TRUE(drives.test(static_cast<std::size_t>(drive - 'A')));
    EXPECT_EQ(files_->Separator(), '\\');
}

// The user's own formats, set where the system keeps them, and restored afterwards.
class RegionalSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\International", 0,
                                KEY_ALL_ACCESS, &key_),
                  ERROR_SUCCESS);
        for (const wchar_t* name : kNames) {
            wchar_t value[128] = {};
            DWORD size = sizeof value;
            DWORD type = 0;
            const bool had =
                RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(value),
                                 &size) == ERROR_SUCCESS;
            saved_.push_back({name, had, value});
        }
    }

    void TearDown() override {
        for (const Saved& entry : saved_) {
            if (entry.had) {
                Set(entry.name, entry.value);
            } else {
                RegDeleteValueW(key_, entry.name);
            }
        }
        RegCloseKey(key_);
    }

    void Set(const wchar_t* name, const std::wstring& value) {
        RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    static constexpr const wchar_t* kNames[] = {L"sDecimal", L"sDate", L"sShortDate",
                                                L"sTimeFormat"};
    struct Saved {
        const wchar_t* name;
        bool had;
        std::wstring value;
    };
    std::vector<Saved> saved_;
    HKEY key_ = nullptr;
};

// The system may keep the user's formats once read, so this test reads them once, with values no
// default locale has together.
TEST_F(RegionalSettingsTest, TakesTheUsersFormatsInLetterForm) {
    Set(L"sDecimal", L",");
    Set(L"sDate", L"-");
    Set(L"sShortDate", L"yyyy-MM-dd");
    Set(L"sTimeFormat", L"h.mm.ss tt");
    const FormatSettings settings = ReadRegionalSettings();
    EXPECT_EQ(settings.decimalSeparator, ',');
    EXPECT_EQ(settings.dateSeparator, "-");
    EXPECT_EQ(settings.shortDateFormat, "yyyy-MM-dd");
    EXPECT_EQ(settings.longTimeFormat, "h.nn.ss AMPM");
}

TEST(WinTextTest, ConvertsBetweenUtf8AndUtf16) {
    EXPECT_EQ(ToUtf16("Schlie\xc3\x9f"
                      "en"),
              L"Schlie\u00dfen");
    EXPECT_EQ(ToUtf8(L"\u00dcberpr\u00fcfe \U0001F600"),
              "\xc3\x9c"
              "berpr\xc3\xbc"
              "fe \xf0\x9f\x98\x80");
    EXPECT_EQ(ToUtf16(""), L"");
    EXPECT_EQ(ToUtf8(L""), "");
}

TEST(WinTextTest, ConvertsToACodePageOnlyWhenItHoldsTheTextExactly) {
    EXPECT_EQ(win32::Utf8ToCodePageExactly("C:\\Müller", 1252), "C:\\M\xfcller");
    // Windows would put look-alikes or "?" in: Kovacevic, Ðordevic, Sahin.
    for (const char* name : {"Kovačević2020.zqd", "C:\\Trafik Đorđević", "Бухгалтерия", "Şahin"}) {
        EXPECT_EQ(win32::Utf8ToCodePageExactly(name, 1252), std::nullopt) << name;
    }
    EXPECT_EQ(win32::Utf8ToCodePageExactly("Бухгалтерия", 1251),
              "\xc1\xf3\xf5\xe3\xe0\xeb\xf2\xe5\xf0\xe8\xff");
}

TEST(WinTextTest, LowerCasesEveryLetterTheSystemKnows) {
    EXPECT_EQ(win32::ToLowerCase("ZAŁÓG ÄÖÜ ПРОГРАММА 2020"), "załóg äöü программа 2020");
    EXPECT_EQ(win32::ToLowerCase(""), "");
}

TEST(WinTextTest, GivesTheSystemsMessageWithoutTheLineBreak) {
    const std::string message = win32::SystemMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(message.empty());
    EXPECT_NE(message.back(), '\n');
    EXPECT_NE(message.back(), '\r');
    EXPECT_NE(message, win32::SystemMessage(ERROR_ACCESS_DENIED));
}

}  // namespace
}  // namespace zav
