#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "ShellLink.h"
#include "ShortcutFixture.h"
#include "TestFiles.h"
#include "TestPaths.h"

using namespace wxlmtest;

namespace {

// Works on the prefix's real desktop shortcut and puts it back afterwards.
class ShellLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteFileBytes(m_install / L"wxlm_main.exe", "MZ"));
        DeleteFileW(m_shortcut.c_str());
    }

    ComScope m_com;
    TempDir m_install;
    const std::wstring m_shortcut = DesktopDir() + L"\\Orvendale.lnk";
    ScopedFileRestore m_restore{m_shortcut};
};

} // namespace

TEST_F(ShellLinkTest, CreateShellLinkWritesTargetFolderAndIcon)
{
    const std::wstring target = m_install / L"wxlm_main.exe";
    const std::wstring linkPath = m_install / L"link.lnk";
    ASSERT_TRUE(CreateShellLink(linkPath, target));
    const auto link = ReadLink(linkPath);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->target, target);
    EXPECT_EQ(link->arguments, L"");
    EXPECT_EQ(link->workingDir, m_install.Path());
    EXPECT_EQ(link->iconPath, target);
    EXPECT_EQ(link->iconIndex, 0);
}

TEST_F(ShellLinkTest, WorkingFolderIsCutAtTheLastSeparator)
{
    struct Case {
        const wchar_t* target;
        const wchar_t* workingDir;
    };
    const Case cases[] = {
        {L"X:\\a\\b\\wxlm_main.exe", L"X:\\a\\b"},
        {L"X:/a/b/wxlm_main.exe", L"X:/a/b"},
        {L"X:/a\\b/wxlm_main.exe", L"X:/a"},
        {L"wxlm_main.exe", L"wxlm_main.exe"},
    };
    for (const Case& c : cases) {
        const std::wstring linkPath = m_install / L"cut.lnk";
        ASSERT_TRUE(CreateShellLink(linkPath, c.target)) << Narrow(c.target);
        const auto link = ReadLink(linkPath);
        ASSERT_TRUE(link) << Narrow(c.target);
        EXPECT_EQ(link->workingDir, c.workingDir) << Narrow(c.target);
    }
}

TEST_F(ShellLinkTest, SaveIntoAMissingFolderFailsAndLeavesNothing)
{
    const std::wstring linkPath = m_install / L"missing\\link.lnk";
    EXPECT_FALSE(CreateShellLink(linkPath, m_install / L"wxlm_main.exe"));
    EXPECT_FALSE(FileExists(linkPath));
}

TEST_F(ShellLinkTest, DesktopShortcutIsMadeUnlessTheClientStartedUs)
{
    struct Case {
        const wchar_t* source;
        bool made;
    };
    for (const Case& c : {Case{L"QV", false}, Case{L"qv", true}, Case{L"QVX", true}, Case{L"", true}}) {
        DeleteFileW(m_shortcut.c_str());
        CreateDesktopShortcut(m_install.Path(), c.source);
        EXPECT_EQ(FileExists(m_shortcut), c.made) << Narrow(c.source);
    }
    const auto link = ReadLink(m_shortcut);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->target, m_install / L"wxlm_main.exe");
    EXPECT_EQ(link->workingDir, m_install.Path());
    EXPECT_EQ(link->iconPath, m_install / L"wxlm_main.exe");
}

TEST_F(ShellLinkTest, AnExistingShortcutFileIsReplaced)
{
    ASSERT_TRUE(WriteFileBytes(m_shortcut, "not a shortcut"));
    CreateDesktopShortcut(m_install.Path(), L"");
    const auto link = ReadLink(m_shortcut);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->target, m_install / L"wxlm_main.exe");
}

TEST_F(ShellLinkTest, DeleteDesktopShortcutRemovesItAndToleratesItsAbsence)
{
    CreateDesktopShortcut(m_install.Path(), L"");
    ASSERT_TRUE(FileExists(m_shortcut));
    DeleteDesktopShortcut();
    EXPECT_FALSE(FileExists(m_shortcut));
    DeleteDesktopShortcut();
    EXPECT_FALSE(FileExists(m_shortcut));
}

// Wine answers every saved shortcut by starting its menu builder, which opens the file in the
// background (a deletion meanwhile fails on the open file) and, when it cannot read it yet, waits
// for the saving process to end and opens it again, that is while the next test creates and
// deletes the same desktop shortcut. The test prefix keeps the builder disabled: it must neither
// start nor linger to wait for its parent.
TEST_F(ShellLinkTest, NoMenuBuilderLingersToReadTheDesktopShortcut)
{
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    ChildProcess builder;
    if (builder.Start(std::wstring(system) + L"\\winemenubuilder.exe", L"-w \"" + m_shortcut + L"\"")) {
        EXPECT_TRUE(builder.Wait().has_value()) << "the menu builder waits for this process to end";
    }
}
