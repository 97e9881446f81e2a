#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "ClientSettingsFile.h"
#include "GameExitNotice.h"
#include "LogFixture.h"
#include "TestFiles.h"
#include "TestPaths.h"

using namespace wxlmtest;

namespace {

struct ReceivedCopy {
    ULONG_PTR kind;
    std::string bytes;
};

std::vector<ReceivedCopy> g_received;

LRESULT CALLBACK ClientWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        g_received.push_back({data->dwData, std::string(static_cast<const char*>(data->lpData), data->cbData)});
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A hidden top-level window of this thread that plays the platform client
// (top-level, so that a broadcast would reach it too).
class ClientWindow {
public:
    ClientWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ClientWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"GameExitNoticeTestClient";
        RegisterClassW(&wc);
        m_hWnd =
            CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
        g_received.clear();
    }
    ~ClientWindow() { DestroyWindow(m_hWnd); }
    HWND Hwnd() const { return m_hWnd; }
    std::wstring HwndText() const { return std::to_wstring(reinterpret_cast<UINT_PTR>(m_hWnd)); }

private:
    HWND m_hWnd = nullptr;
};

std::string ExpectedNoticeBytes()
{
    std::string bytes(528, '\0');
    bytes[0] = 1;
    bytes[4] = '1';
    bytes[524] = 1;
    return bytes;
}

// The prefix's real settings file, put back afterwards.
class GameExitNoticeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateDirectoryW(ClientDir().c_str(), nullptr);
        DeleteFileW(ClientSettingsPath().c_str());
    }
    void WriteSettings(const std::optional<std::wstring>& loginSource, const std::optional<std::wstring>& windowId)
    {
        ASSERT_TRUE(WriteClientSettingsFile(loginSource, windowId));
    }

    ScopedFileRestore m_settings{ClientSettingsPath()};
    ClientWindow m_client;
    LogCapture m_log;
};

} // namespace

TEST(GameExitNoticeRecord, HoldsHeadTextOneAndTail)
{
    const GameExitNotice notice = MakeGameExitNotice();
    std::string bytes(sizeof notice, '\0');
    std::memcpy(bytes.data(), &notice, sizeof notice);
    EXPECT_EQ(bytes, ExpectedNoticeBytes());
}

TEST_F(GameExitNoticeTest, RecognisesOnlyTypeOne)
{
    struct Case {
        const wchar_t* commandText;
        bool notice;
    };
    const Case cases[] = {
        {L"{\"type\":1}", true},
        {L"{\"type\":1.0}", true},
        {L"{\"type\":1,\"x\":\"y\"}", true},
        {L"/*c*/ {\"type\" : 1 }", true},
        {L"type:1", true},
        {L"{type:1}", true},
        {L"{\"type\":2}", false},
        {L"{\"type\":\"1\"}", false},
        {L"{}", false},
        {L"{\"type\":1.5}", false},
        {L"{\"type\":true}", false},
        {L"{\"type\":null}", false},
        {L"{\"type\":4294967297}", false},
        {L"{\"Type\":1}", false},
        {L"Type:1", false},
        {L"type:1 ", false},
        {L" type:1", false},
        {L"{type:2}", false},
        {L"null\n", false},
        {L"1", false},
        {L"[1]", false},
        {L"\"type\"", false},
        {L"", false},
        {L"--source=QV", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsGameExit(c.commandText), c.notice) << Narrow(c.commandText);
    EXPECT_TRUE(g_received.empty()) << "no settings file: nothing is sent";
}

TEST_F(GameExitNoticeTest, LogsTheParseFailureOfThePlainForms)
{
    EXPECT_TRUE(IsGameExit(L"type:1"));
    EXPECT_FALSE(IsGameExit(L"Type:1"));
    const std::vector<std::string> expected = {
        "IsGameExit:type:1",       "reader.parse:type:1 false", "get type:1",
        "game exit notify:type:1", "IsGameExit:Type:1",         "reader.parse:Type:1 false",
    };
    EXPECT_EQ(NewMessages(m_log), expected);
    for (const std::string& entry : m_log.NewEntries())
        EXPECT_NE(entry.find(">IsGameExit] : "), std::string::npos) << entry;
}

TEST_F(GameExitNoticeTest, SendsTheNoticeToTheClientWindow)
{
    WriteSettings(L"QV", m_client.HwndText());
    EXPECT_TRUE(IsGameExit(L"{\"type\":1}"));
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].kind, 1u);
    EXPECT_EQ(g_received[0].bytes, ExpectedNoticeBytes());
    const std::vector<std::string> expected = {"IsGameExit:{\"type\":1}", "game exit notify:{\"type\":1}",
                                               "Quillvarinth wnd get"};
    EXPECT_EQ(NewMessages(m_log), expected);
}

TEST_F(GameExitNoticeTest, WindowIdIsReadAsLeadingDecimalDigits)
{
    for (const std::wstring& windowId :
         {m_client.HwndText() + L"abc", L"  " + m_client.HwndText(), L"+" + m_client.HwndText() + L" 17"}) {
        g_received.clear();
        WriteSettings(L"pc", windowId);
        EXPECT_TRUE(IsGameExit(L"type:1"));
        EXPECT_EQ(g_received.size(), 1u) << Narrow(windowId);
    }
}

TEST_F(GameExitNoticeTest, DropsTheNoticeWhenTheSettingsLackAValue)
{
    struct Case {
        const char* what;
        std::optional<std::wstring> loginSource;
        std::optional<std::wstring> windowId;
        std::vector<std::string> linesAfterNotify;
    };
    const Case cases[] = {
        {"no loginsource", std::nullopt, m_client.HwndText(), {}},
        {"empty loginsource", L"", m_client.HwndText(), {}},
        {"no qvwindowid", L"QV", std::nullopt, {"Quillvarinth wnd not get"}},
    };
    for (const Case& c : cases) {
        WriteSettings(c.loginSource, c.windowId);
        LogCapture log;
        EXPECT_TRUE(IsGameExit(L"{\"type\":1}")) << c.what;
        auto messages = NewMessages(log);
        ASSERT_GE(messages.size(), 2u) << c.what;
        EXPECT_EQ(messages[1], "game exit notify:{\"type\":1}") << c.what;
        messages.erase(messages.begin(), messages.begin() + 2);
        EXPECT_EQ(messages, c.linesAfterNotify) << c.what;
    }
    EXPECT_TRUE(g_received.empty());
}

TEST_F(GameExitNoticeTest, DropsTheNoticeWhenTheSettingsFileIsUnreadable)
{
    for (const char* content : {"", "<settings><loginsource>QV</loginsource>", "\xff\xfe garbage <<"}) {
        ASSERT_TRUE(WriteFileBytes(ClientSettingsPath(), content));
        EXPECT_TRUE(IsGameExit(L"{\"type\":1}"));
    }
    DeleteFileW(ClientSettingsPath().c_str());
    EXPECT_TRUE(IsGameExit(L"{\"type\":1}"));
    EXPECT_TRUE(g_received.empty());
    EXPECT_EQ(CountStartingWith(NewMessages(m_log), "Quillvarinth wnd"), 0u);
}

TEST_F(GameExitNoticeTest, AWindowIdNamingNoWindowIsSentToUnnoticed)
{
    // 65535 is HWND_BROADCAST: the notice must not go to every window there is.
    const std::wstring windowIds[] = {L"12345abc", L"abc", L"-7", L"65535"};
    for (const std::wstring& windowId : windowIds) {
        WriteSettings(L"QV", windowId);
        EXPECT_TRUE(IsGameExit(L"{\"type\":1}")) << Narrow(windowId);
    }
    EXPECT_TRUE(g_received.empty());
    EXPECT_EQ(CountStartingWith(NewMessages(m_log), "Quillvarinth wnd get"), 4u);
}
