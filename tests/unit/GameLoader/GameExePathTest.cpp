#include "GameExePath.h"

#include "Common.h"

#include "TestRegistry.h"

#include <gtest/gtest.h>

namespace {

using wxlmtest::ScopedRegKeyCleanup;
using wxlmtest::WriteRegString;

const std::wstring Entry = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\wxlm";

TEST(GameExePathTest, BesideTheLauncherWithoutUninstallEntry)
{
    const ScopedRegKeyCleanup entry(HKEY_CURRENT_USER, Entry);
    EXPECT_EQ(GameExePathFor(L"wxlm"), GetModuleDir() + L"\\wxlm.exe");
}

TEST(GameExePathTest, InTheFolderOfTheRegisteredLauncher)
{
    const ScopedRegKeyCleanup entry(HKEY_CURRENT_USER, Entry);
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, Entry, L"DisplayIcon", L"D:\\Games\\Orvendale\\wxlm_main.exe"));
    EXPECT_EQ(GameExePathFor(L"wxlm"), L"D:\\Games\\Orvendale\\wxlm.exe");
}

TEST(GameExePathTest, EntryWithoutFolderFallsBackToTheLaunchersFolder)
{
    const ScopedRegKeyCleanup entry(HKEY_CURRENT_USER, Entry);
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, Entry, L"DisplayIcon", L""));
    EXPECT_EQ(GameExePathFor(L"wxlm"), GetModuleDir() + L"\\wxlm.exe");
}

} // namespace
