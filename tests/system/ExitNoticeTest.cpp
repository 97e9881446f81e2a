#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
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

std::string NoticeBytes()
{
    std::string bytes(528, '\0');
    bytes[0] = 1;
    bytes[4] = '1';
    bytes[524] = 1;
    return bytes;
}

std::string Repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The messages logged after the line "game exit notify:..." of this run.
std::vector<std::string> LinesAfterNotify(const std::vector<std::string>& lines)
{
    const auto notify = std::find_if(lines.begin(), lines.end(),
                                     [](const std::string& line) { return line.rfind("game exit notify:", 0) == 0; });
    return notify == lines.end() ? std::vector<std::string>{} : std::vector<std::string>(notify + 1, lines.end());
}

// The recorder plays the platform client; the prefix's settings file is put back afterwards.
class ExitNoticeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_client.Start(L"Quillvarinth", L"QvClientRecorder")); }

    void WriteSettings(const std::optional<std::wstring>& loginSource, const std::optional<std::wstring>& windowId)
    {
        ASSERT_TRUE(WriteClientSettingsFile(loginSource, windowId));
    }

    // Runs the launcher with one argument. A notice ends it with 0 before COM and the main
    // window, so it makes no window at all; otherwise the normal start goes on: its window
    // appears once the page has loaded, and closing it ends the launcher with 0.
    void RunWith(const std::wstring& argument, bool notice = true)
    {
        if (notice) {
            const LauncherRun run = RunLauncher(QuoteArgument(argument));
            EXPECT_EQ(run.exitCode, std::optional<DWORD>(0u)) << Narrow(argument);
            EXPECT_EQ(run.windowsCreated, 0) << Narrow(argument);
            return;
        }
        LauncherSession session;
        ASSERT_TRUE(session.Start(QuoteArgument(argument)));
        EXPECT_TRUE(session.WaitVisible()) << Narrow(argument);
        EXPECT_EQ(session.CloseWindow(), 0) << Narrow(argument);
    }

    ScopedFileRestore m_settings{ClientSettingsPath()};
    RecorderWindow m_client;
    LogTail m_log{TodaysLogPath()};
};

} // namespace

TEST_F(ExitNoticeTest, NoticeReachesTheClientWindowOnce)
{
    WriteSettings(L"QV", m_client.HwndText());
    RunWith(L"{\"type\":1}");

    // SendMessageW returned before the launcher ended, so the record is already there.
    const auto records = m_client.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, RecordedMessage::Kind::CopyData);
    EXPECT_EQ(records[0].wParam, 1u);
    EXPECT_EQ(records[0].lParam, 528);
    EXPECT_EQ(records[0].bytes, NoticeBytes());

    const std::vector<std::string> expected = {
        "Logger::initializePathDir:" + Narrow(LogDir()) + "\\",
        "CreateMutex not ERROR_ALREADY_EXISTS:wxlm_main.exe",
        "IsGameExit:{\"type\":1}",
        "game exit notify:{\"type\":1}",
        "Quillvarinth wnd get",
    };
    EXPECT_EQ(m_log.NewMessages(), expected);
}

TEST_F(ExitNoticeTest, OnlyTypeOneIsANotice)
{
    WriteSettings(L"QV", m_client.HwndText());
    struct Case {
        const wchar_t* argument;
        bool notice;
    };
    const Case cases[] = {
        {L"type:1", true},        {L"{type:1}", true},          {L"{\"type\":1.0}", true},
        {L"{\"type\":2}", false}, {L"{\"type\":\"1\"}", false}, {L"Type:1", false},
    };
    for (const Case& c : cases) {
        const size_t before = m_client.Records().size();
        LogTail log(TodaysLogPath());
        RunWith(c.argument, c.notice);
        EXPECT_EQ(m_client.Records().size() - before, c.notice ? 1u : 0u) << Narrow(c.argument);
        const auto lines = log.NewMessages();
        EXPECT_TRUE(Contains(lines, "IsGameExit:" + Narrow(c.argument))) << Narrow(c.argument);
        EXPECT_EQ(Contains(lines, "game exit notify:" + Narrow(c.argument)), c.notice) << Narrow(c.argument);
    }
}

TEST_F(ExitNoticeTest, WindowIdIsItsLeadingDigits)
{
    WriteSettings(L"QV", m_client.HwndText() + L"abc");
    RunWith(L"type:1");
    EXPECT_EQ(m_client.Records().size(), 1u);

    // 12345 names no window: the send fails unnoticed.
    WriteSettings(L"QV", L"12345abc");
    LogTail log(TodaysLogPath());
    RunWith(L"type:1");
    EXPECT_EQ(LinesAfterNotify(log.NewMessages()), std::vector<std::string>{"Quillvarinth wnd get"});
    EXPECT_EQ(m_client.Records().size(), 1u);
}

TEST_F(ExitNoticeTest, AWindowThatIsGoneGetsNothingAndTheLauncherStillEnds)
{
    RecorderWindow gone;
    ASSERT_TRUE(gone.Start(L"Gone Client", L"QvClientRecorder"));
    const std::wstring goneId = gone.HwndText();
    gone.Stop();
    WriteSettings(L"QV", goneId);
    RunWith(L"{\"type\":1}");
    EXPECT_TRUE(m_client.Records().empty());
}

TEST_F(ExitNoticeTest, IncompleteOrBrokenSettingsDropTheNotice)
{
    struct Case {
        const char* what;
        std::optional<std::string> file; // nothing: no settings file at all
        std::vector<std::string> linesAfterNotify;
    };
    const std::wstring hwnd = m_client.HwndText();
    const Case cases[] = {
        {"no file", std::nullopt, {}},
        {"malformed", "<settings><loginsource>QV</loginsource><qvwindowid>" + Narrow(hwnd), {}},
        {"not XML", "\x01\x02 binary", {}},
        {"nested 20000 deep",
         "<settings><loginsource>QV</loginsource><qvwindowid>" + Narrow(hwnd) + "</qvwindowid>" +
             Repeated("<a>", 20000),
         {}},
        {"no loginsource", ClientSettingsXml(std::nullopt, hwnd), {}},
        {"empty loginsource", ClientSettingsXml(L"", hwnd), {}},
        {"no qvwindowid", ClientSettingsXml(L"QV", std::nullopt), {"Quillvarinth wnd not get"}},
    };
    for (const Case& c : cases) {
        DeleteFileW(ClientSettingsPath().c_str());
        if (c.file) {
            ASSERT_TRUE(WriteFileBytes(ClientSettingsPath(), *c.file)) << c.what;
        }
        LogTail log(TodaysLogPath());
        RunWith(L"{\"type\":1}");
        const auto lines = log.NewMessages();
        ASSERT_TRUE(Contains(lines, "game exit notify:{\"type\":1}")) << c.what;
        EXPECT_EQ(LinesAfterNotify(lines), c.linesAfterNotify) << c.what;
    }
    EXPECT_TRUE(m_client.Records().empty());
}
