#include <gtest/gtest.h>

#include <windows.h>

#include <map>

#include "InstallRegistration.h"
#include "ShortcutFixture.h"
#include "TestFiles.h"
#include "TestPaths.h"
#include "TestRegistry.h"

using namespace wxlmtest;

namespace {

const std::wstring kEntry = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\wxlm";

bool SetRawValue(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    return RegSetKeyValueW(HKEY_CURRENT_USER, kEntry.c_str(), name, type, data, bytes) == ERROR_SUCCESS;
}

std::map<std::wstring, std::wstring> EntryValues()
{
    std::map<std::wstring, std::wstring> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kEntry.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t data[1024] = {};
        DWORD bytes = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes) !=
            ERROR_SUCCESS)
            break;
        values[name] = type == REG_SZ ? data : L"<not REG_SZ>";
    }
    RegCloseKey(key);
    return values;
}

bool EntryHasSubKey()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kEntry.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD subKeys = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return subKeys > 0;
}

// The prefix's real uninstall entry and desktop shortcut, removed or restored afterwards.
class InstallRegistrationTest : public ::testing::Test {
protected:
    ScopedRegKeyCleanup m_entry{HKEY_CURRENT_USER, kEntry};
    ComScope m_com;
    TempDir m_install;
    const std::wstring m_shortcut = DesktopDir() + L"\\Orvendale.lnk";
    ScopedFileRestore m_restore{m_shortcut};
};

} // namespace

TEST_F(InstallRegistrationTest, RegisteredInstallDirIsTheFolderOfDisplayIcon)
{
    struct Case {
        std::wstring displayIcon;
        std::wstring folder;
    };
    const std::wstring longName(259 - 3, L'a');
    const Case cases[] = {
        {L"X:/Games/wxlm/wxlm_main.exe", L"X:\\Games\\wxlm\\"},
        {L"C:\\Program Files\\wxlm\\wxlm_main.exe", L"C:\\Program Files\\wxlm\\"},
        {L"C:\\wxlm\\", L"C:\\wxlm\\"},
        {L"wxlm_main.exe", L"wxlm_main.exe"},
        {L"", L""},
        {L"X:\\" + longName, L"X:\\"},    // 259 characters: the longest that fits
        {L"X:\\" + longName + L"a", L""}, // 260 characters
        {L"X:\\" + longName + std::wstring(400, L'b'), L""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kEntry, L"DisplayIcon", c.displayIcon));
        EXPECT_EQ(GetRegisteredInstallDir(L"wxlm"), c.folder) << c.displayIcon.size() << " characters";
    }
}

TEST_F(InstallRegistrationTest, MissingKeyOrValueReadsAsEmpty)
{
    EXPECT_EQ(GetRegisteredInstallDir(L"wxlm"), L"");
    EXPECT_EQ(GetBagFileParam(L"wxlm"), L"");
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kEntry, L"Other", L"x"));
    EXPECT_EQ(GetRegisteredInstallDir(L"wxlm"), L"");
    EXPECT_EQ(GetBagFileParam(L"wxlm"), L"");
}

TEST_F(InstallRegistrationTest, ValuesOfAnotherTypeReadAsEmpty)
{
    const DWORD number = 0x5C0041; // "A\" when misread as text
    ASSERT_TRUE(SetRawValue(L"DisplayIcon", REG_DWORD, &number, sizeof number));
    ASSERT_TRUE(SetRawValue(L"FileParam", REG_DWORD, &number, sizeof number));
    EXPECT_EQ(GetRegisteredInstallDir(L"wxlm"), L"");
    EXPECT_EQ(GetBagFileParam(L"wxlm"), L"");

    const std::wstring text = L"C:\\binary\\wxlm_main.exe";
    ASSERT_TRUE(SetRawValue(L"DisplayIcon", REG_BINARY, text.c_str(), static_cast<DWORD>(text.size() * 2)));
    EXPECT_EQ(GetRegisteredInstallDir(L"wxlm"), L"");
}

// Both values are read whatever their string type: expandable text as stored (nothing expanded),
// a multi-string by its first string.
TEST_F(InstallRegistrationTest, ExpandableAndMultiStringValuesAreRead)
{
    struct Case {
        DWORD type;
        std::wstring stored; // terminators included
        std::wstring folder;
        std::wstring text;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {REG_EXPAND_SZ, L"%ProgramFiles%\\wxlm\\wxlm_main.exe\0"s, L"%ProgramFiles%\\wxlm\\",
         L"%ProgramFiles%\\wxlm\\wxlm_main.exe"},
        {REG_MULTI_SZ, L"X:/first/wxlm_main.exe\0Y:\\second\\b.exe\0\0"s, L"X:\\first\\", L"X:/first/wxlm_main.exe"},
        {REG_MULTI_SZ, L"only\0\0"s, L"only", L"only"},
        {REG_MULTI_SZ, L"\0\0"s, L"", L""},
    };
    for (const Case& c : cases) {
        const DWORD bytes = static_cast<DWORD>(c.stored.size() * sizeof(wchar_t));
        ASSERT_TRUE(SetRawValue(L"DisplayIcon", c.type, c.stored.data(), bytes));
        ASSERT_TRUE(SetRawValue(L"FileParam", c.type, c.stored.data(), bytes));
        EXPECT_EQ(GetRegisteredInstallDir(L"wxlm"), c.folder) << c.type << " " << Narrow(c.text);
        EXPECT_EQ(GetBagFileParam(L"wxlm"), c.text) << c.type << " " << Narrow(c.text);
    }
}

TEST_F(InstallRegistrationTest, TextStoredWithoutTerminatorEndsInsideTheBuffer)
{
    // 260 characters without a terminator exactly fill the 520-byte buffer.
    const std::wstring full = L"X:\\dir\\" + std::wstring(253, L'c');
    ASSERT_EQ(full.size(), 260u);
    ASSERT_TRUE(SetRawValue(L"FileParam", REG_SZ, full.c_str(), 520));
    const std::wstring read = GetBagFileParam(L"wxlm");
    EXPECT_TRUE(read.empty() || read == full) << read.size() << " characters";
    ASSERT_TRUE(SetRawValue(L"DisplayIcon", REG_SZ, full.c_str(), 520));
    const std::wstring folder = GetRegisteredInstallDir(L"wxlm");
    EXPECT_TRUE(folder.empty() || folder == L"X:\\dir\\") << folder.size() << " characters";
}

TEST_F(InstallRegistrationTest, BagFileParamIsReadAsStored)
{
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kEntry, L"FileParam", L"bag=7&x=/a/b\\c"));
    EXPECT_EQ(GetBagFileParam(L"wxlm"), L"bag=7&x=/a/b\\c");
    EXPECT_EQ(GetBagFileParam(L"other_game"), L"");
}

TEST_F(InstallRegistrationTest, WriteUninstallEntryWritesTheFiveValues)
{
    WriteUninstallEntry(L"C:\\Program Files\\wxlm");
    const std::map<std::wstring, std::wstring> expected = {
        {L"DisplayVersion", L"3.0.3.5"},
        {L"DisplayIcon", L"C:\\Program Files\\wxlm\\wxlm_main.exe"},
        {L"DisplayName", L"Orvendale"},
        {L"Publisher", L""},
        {L"UninstallString", L"C:\\Program Files\\wxlm\\WxlmGameLauncherUninst.exe"},
    };
    EXPECT_EQ(EntryValues(), expected);
    EXPECT_EQ(GetRegisteredInstallDir(L"wxlm"), L"C:\\Program Files\\wxlm\\");
}

TEST_F(InstallRegistrationTest, RefreshReplacesTheWholeEntryAndTheShortcut)
{
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kEntry, L"FileParam", L"bag"));
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kEntry, L"DisplayVersion", L"0.1"));
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kEntry + L"\\Sub", L"x", L"y"));
    ASSERT_TRUE(WriteFileBytes(m_shortcut, "old"));

    RefreshInstallRegistration(m_install.Path(), L"");

    const auto values = EntryValues();
    EXPECT_EQ(values.size(), 5u);
    EXPECT_EQ(values.count(L"FileParam"), 0u);
    EXPECT_EQ(values.at(L"DisplayVersion"), L"3.0.3.5");
    EXPECT_EQ(values.at(L"DisplayIcon"), m_install / L"wxlm_main.exe");
    EXPECT_EQ(values.at(L"UninstallString"), m_install / L"WxlmGameLauncherUninst.exe");
    EXPECT_FALSE(EntryHasSubKey());
    const auto link = ReadLink(m_shortcut);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->target, m_install / L"wxlm_main.exe");
}

TEST_F(InstallRegistrationTest, RefreshFromTheClientLeavesNoShortcut)
{
    ASSERT_TRUE(WriteFileBytes(m_shortcut, "old"));
    RefreshInstallRegistration(m_install.Path(), L"QV");
    EXPECT_FALSE(FileExists(m_shortcut));
    EXPECT_EQ(EntryValues().size(), 5u);
}
