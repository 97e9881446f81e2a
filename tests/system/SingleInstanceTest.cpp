#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ClientSettingsFile.h"
#include "LauncherRun.h"
#include "LauncherSession.h"
#include "LogTail.h"
#include "RecorderWindow.h"
#include "TestFiles.h"
#include "TestPaths.h"

using namespace wxlmtest;

namespace {

constexpr UINT kMarker = WM_USER + 500;

// Every message posted to the recorder before this call, in order. A marker
// posted now arrives after them, so once it is recorded nothing earlier is missing.
std::vector<RecordedMessage> RecordsSoFar(const RecorderWindow& recorder)
{
    PostMessageW(recorder.Hwnd(), kMarker, 0, 0);
    std::vector<RecordedMessage> records;
    const bool flushed = WaitUntil([&] {
        records = recorder.Records();
        return !records.empty() && records.back().message == kMarker;
    });
    EXPECT_TRUE(flushed);
    if (flushed)
        records.pop_back();
    return records;
}

std::string LogDirLine()
{
    return "Logger::initializePathDir:" + Narrow(LogDir()) + "\\";
}

// A recorder plays the platform client; the settings point at it, so a notice
// that got through would show there.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_client.Start(L"Quillvarinth", L"QvClientRecorder"));
        ASSERT_TRUE(WriteClientSettingsFile(L"QV", m_client.HwndText()));
    }

    ScopedFileRestore m_settings{ClientSettingsPath()};
    RecorderWindow m_client;
    LogTail m_log{TodaysLogPath()};
};

} // namespace

TEST_F(SingleInstanceTest, SecondStartActivatesTheRunningWindowAndEnds)
{
    RecorderWindow first;
    ASSERT_TRUE(first.Start(L"Orvendale", L"AnyClassAtAll", L"wxlm_main.exe"));

    const LauncherRun run = RunLauncher(QuoteArgument(L"{\"type\":1}"));
    EXPECT_EQ(run.exitCode, std::optional<DWORD>(0u));
    EXPECT_EQ(run.windowsCreated, 0);

    const auto records = RecordsSoFar(first);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, RecordedMessage::Kind::Message);
    EXPECT_EQ(records[0].message, 1133u);
    EXPECT_EQ(records[0].wParam, 0u);
    EXPECT_EQ(records[0].lParam, 0);

    const std::vector<std::string> expected = {
        LogDirLine(),
        "CreateMutex ERROR_ALREADY_EXISTS:wxlm_main.exe",
        "FindWindow:Orvendale",
    };
    EXPECT_EQ(m_log.NewMessages(), expected) << "its own command line is never read";
    for (const LogEntry& entry : m_log.NewEntries())
        EXPECT_EQ(entry.function, "wWinMain");
    EXPECT_TRUE(RecordsSoFar(m_client).empty()) << "the notice of a second start is lost";
}

TEST_F(SingleInstanceTest, SecondStartWithoutAWindowPostsNothing)
{
    RecorderWindow holder;
    ASSERT_TRUE(holder.Start(L"Not The Launcher", L"QvClientRecorder", L"wxlm_main.exe"));

    EXPECT_EQ(RunLauncher(L"--source=QV").exitCode, std::optional<DWORD>(0u));

    const std::vector<std::string> expected = {LogDirLine(), "CreateMutex ERROR_ALREADY_EXISTS:wxlm_main.exe"};
    EXPECT_EQ(m_log.NewMessages(), expected);
    EXPECT_TRUE(RecordsSoFar(holder).empty());
}

TEST_F(SingleInstanceTest, FirstStartLeavesAWindowOfTheSameTitleAlone)
{
    RecorderWindow sameTitle;
    ASSERT_TRUE(sameTitle.Start(L"Orvendale", L"AnyClassAtAll"));

    // Not a notice: the launcher runs its window until it is closed.
    {
        LauncherSession session;
        ASSERT_TRUE(session.Start(QuoteArgument(L"{\"type\":2}")));
        ASSERT_TRUE(session.WaitVisible());
        EXPECT_EQ(session.CloseWindow(), 0);
    }

    const auto lines = m_log.NewMessages();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], LogDirLine());
    EXPECT_EQ(lines[1], "CreateMutex not ERROR_ALREADY_EXISTS:wxlm_main.exe");
    EXPECT_EQ(lines[2], "IsGameExit:{\"type\":2}");
    EXPECT_TRUE(RecordsSoFar(sameTitle).empty());
}
