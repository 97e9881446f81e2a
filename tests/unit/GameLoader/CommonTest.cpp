#include "Common.h"

#include "TestFiles.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(CommonTest, ConstantsNameTheGame)
{
    EXPECT_STREQ(GameId, L"wxlm");
    EXPECT_STREQ(WindowTitle, L"Orvendale");
    EXPECT_STREQ(MutexName, L"wxlm_main.exe");
}

struct ConversionCase {
    std::wstring wide;
    UINT codePage;
    std::string narrow;
};

TEST(CommonTest, WideToMultiUsesTheGivenCodePage)
{
    const ConversionCase cases[] = {
        {L"", CP_ACP, ""},
        {L"abc 123", CP_ACP, "abc 123"},
        {L"caf\u00e9", CP_ACP, "caf\xe9"}, // in code page 1252
        {L"\u4e2d", CP_ACP, "?"},          // not in 1252: the default character
        {L"caf\u00e9", CP_UTF8, "caf\xc3\xa9"},
        {L"\u4e2d", CP_UTF8, "\xe4\xb8\xad"},
        {std::wstring(L"a\0b", 3), CP_ACP, std::string("a\0b", 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WideToMulti(c.wide, c.codePage), c.narrow) << c.codePage;
}

TEST(CommonTest, MultiToWideReadsTheAnsiCodePageByDefault)
{
    EXPECT_EQ(MultiToWide(""), L"");
    EXPECT_EQ(MultiToWide("abc"), L"abc");
    EXPECT_EQ(MultiToWide("caf\xe9"), L"caf\u00e9");
    EXPECT_EQ(MultiToWide("\x80"), L"\u20ac");
    EXPECT_EQ(MultiToWide("\xe4\xb8\xad", CP_UTF8), L"\u4e2d");
}

TEST(CommonTest, GetModuleDirIsTheFolderOfTheRunningExecutable)
{
    const std::wstring dir = GetModuleDir();
    EXPECT_EQ(dir, wxlmtest::ModuleDir());
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), L'\\');
    EXPECT_TRUE(wxlmtest::FileExists(dir + L"\\unit_gameloader.exe"));
}

TEST(CommonTest, SpecialFoldersAreTheUsersFoldersWithoutTrailingSeparator)
{
    const std::pair<std::function<std::wstring()>, std::wstring> cases[] = {
        {GetDesktopDir, wxlmtest::DesktopDir()},
        {GetLocalAppDataDir, wxlmtest::LocalAppDataDir()},
    };
    for (const auto& [helper, expected] : cases) {
        const std::wstring dir = helper();
        ASSERT_FALSE(dir.empty());
        EXPECT_EQ(dir, expected);
        EXPECT_NE(dir.back(), L'\\');
    }
    const std::wstring programFiles = GetProgramFilesX86Dir();
    ASSERT_FALSE(programFiles.empty());
    EXPECT_NE(programFiles.back(), L'\\');
    const DWORD attributes = GetFileAttributesW(programFiles.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace
