// The real wxlm_main.exe with the stand-in browser, the recorder as platform client and game
// manager, and the stand-in game, driven as the platform client and a user would drive it.
#include <gtest/gtest.h>
#include <windows.h>

#include "LauncherSession.h"
#include "LoaderMessages.h"
#include "RecorderWindow.h"
#include "TestPaths.h"

#include <algorithm>
#include <functional>
#include <thread>

using namespace wxlmtest;

namespace {

const std::string PortalBase = "https://" + Narrow(WXLM_PORTAL_HOST) + "/client/index/wxlm";

std::string NavigatedUrl(const LauncherSession& session)
{
    for (const std::string& line : session.BrowserRecords()) {
        if (line.rfind("navigate\t", 0) == 0)
            return line.substr(9);
    }
    return {};
}

COLORREF ScreenPixel(int x, int y)
{
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Waits for a top-level window of the process with the given title and class and returns it.
HWND WaitForDialog(DWORD processId, const wchar_t* className, const wchar_t* title)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND w = FindWindowExW(nullptr, nullptr, className, title); w;
             w = FindWindowExW(nullptr, w, className, title)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == processId && IsWindowVisible(w)) {
                found = w;
                return true;
            }
        }
        return false;
    });
    return found;
}

TEST(MainWindowTest, PortalAddressCarriesTheQueryInOrderAndTheWindowComesForward)
{
    LauncherSession session(LauncherSession::GameEntry::InTestbed, L"bag=7");
    ASSERT_TRUE(session.Start(L"--tokenLogin=0 --qvext=ex --source=a&b --token=tk --installed=1"));
    ASSERT_TRUE(session.WaitPageComplete());
    EXPECT_EQ(NavigatedUrl(session), PortalBase + "?fileparam=bag=7&token=tk&source=a&b&qvext=ex&tokenLogin=0");
    // Silent mode is set before the navigation starts.
    const std::vector<std::string> records = session.BrowserRecords();
    const auto silent = std::find(records.begin(), records.end(), "silent\t1");
    const auto navigate = std::find_if(records.begin(), records.end(),
                                       [](const std::string& line) { return line.rfind("navigate\t", 0) == 0; });
    EXPECT_LT(silent - records.begin(), navigate - records.begin());
    EXPECT_NE(silent, records.end());
    ASSERT_TRUE(session.WaitVisible());
    const HWND window = session.Window();
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));
    RECT rc = {};
    GetWindowRect(window, &rc);
    EXPECT_EQ(rc.right - rc.left, 960);
    EXPECT_EQ(rc.bottom - rc.top, 620);
    // The stand-in page, not an empty white window: its orange start button in the middle.
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(rc.left + 480, rc.top + 230) == RGB(230, 120, 20); }));
    EXPECT_TRUE(session.HasLogMessage("m_nGameInstalled is1"));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(session.WaitExit(), 0);
}

TEST(MainWindowTest, OnlyTheFileParamWhenNothingElseIsGiven)
{
    LauncherSession session(LauncherSession::GameEntry::InTestbed);
    ASSERT_TRUE(session.Start(L"--winid=0 --typeMode=0"));
    ASSERT_TRUE(session.WaitPageComplete());
    EXPECT_EQ(NavigatedUrl(session), PortalBase + "?fileparam=");
    ASSERT_TRUE(session.WaitVisible());
    EXPECT_EQ(session.CloseWindow(), 0);
}

TEST(MainWindowTest, TokenOneLoadsThePageButNeverShowsTheWindow)
{
    LauncherSession session;
    ASSERT_TRUE(session.Start(L"--source=QV --token=1"));
    ASSERT_TRUE(session.WaitPageComplete());
    ASSERT_TRUE(session.WaitForWindow());
    // Posted after the page's report, so handled after it.
    PostMessageW(session.Window(), WM_LOADER_CLOSE, 0, 0);
    EXPECT_EQ(session.WaitExit(), 0);
    EXPECT_FALSE(session.HasLogMessage("OnShowMainWnd enter"));
}

TEST(MainWindowTest, TokenLoginStartsTheGameAtOnceWithoutWindowOrPage)
{
    LauncherSession session;
    ASSERT_TRUE(session.Start(L"--source=QV --tokenLogin=1 --token=tk --winid=1234 --gameMgrId=5566"));
    EXPECT_EQ(session.WaitExit(), 0);
    ASSERT_TRUE(session.WaitForGameStart());
    const std::vector<std::string> expected = {"--source=QV", "--tokenLogin=1", "--token=tk", "--winid=5566"};
    EXPECT_EQ(session.GameStarts().at(0), expected);
    EXPECT_TRUE(NavigatedUrl(session).empty());
    EXPECT_FALSE(session.HasLogMessage("OnShowMainWnd enter"));
}

TEST(MainWindowTest, OpenGameFromThePageStartsTheGameAndEnds)
{
    LauncherSession session;
    session.SetScenario("page *\ncall {\"funcation_name\":\"open_game\"}\n");
    ASSERT_TRUE(session.Start(L"--source=QV --token=tk --qvext=q1"));
    EXPECT_EQ(session.WaitExit(), 0);
    ASSERT_TRUE(session.WaitForGameStart());
    const std::vector<std::string> expected = {"--source=QV", "--token=tk", "--qvext=q1"};
    EXPECT_EQ(session.GameStarts().at(0), expected);
    EXPECT_TRUE(session.HasLogMessage("open_game call"));
}

TEST(MainWindowTest, PageTokenAndQvextReplaceTheCommandLines)
{
    LauncherSession session;
    session.SetScenario(
        "page *\ncall {\"funcation_name\":\"open_game\",\"token\":\"page tok\",\"qvext\":\"p\\\"x\"}\n");
    ASSERT_TRUE(session.Start(L"--source=QV --token=tk --qvext=q1 --typeMode=2"));
    EXPECT_EQ(session.WaitExit(), 0);
    ASSERT_TRUE(session.WaitForGameStart());
    const std::vector<std::string> expected = {"--source=QV", "--token=page tok", "--qvext=p\"x", "--typeMode=2"};
    EXPECT_EQ(session.GameStarts().at(0), expected);
}

TEST(MainWindowTest, ClickingStartOnThePageStartsTheGame)
{
    LauncherSession session;
    ASSERT_TRUE(session.Start(L"--source=QV --token=tk"));
    ASSERT_TRUE(session.WaitVisible());
    ASSERT_TRUE(ClickLauncherPage(session.Window(), {480, 230}, false));
    EXPECT_EQ(session.WaitExit(), 0);
    ASSERT_TRUE(session.WaitForGameStart());
    EXPECT_EQ(session.GameStarts().at(0), (std::vector<std::string>{"--source=QV", "--token=tk"}));
}

TEST(MainWindowTest, AForeignOpenGameMessageIsIgnored)
{
    LauncherSession session;
    ASSERT_TRUE(session.Start(L"--source=QV --token=tk"));
    ASSERT_TRUE(session.WaitVisible());
    PostMessageW(session.Window(), WM_LOADER_OPEN_GAME, 0x00401000, 0);
    ASSERT_TRUE(session.WaitForLogMessage("WM_LOADER_OPEN_GAME ignored: not a request of the page bridge"));
    EXPECT_TRUE(session.Process().IsRunning());
    EXPECT_TRUE(session.GameStarts().empty());
    EXPECT_EQ(session.CloseWindow(), 0);
}

TEST(MainWindowTest, WithoutUninstallEntryTheGameIsBesideTheLauncher)
{
    TempDir install;
    ASSERT_TRUE(CopyFileW(MainExePath().c_str(), (install / L"wxlm_main.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(TestbedPath(L"wxlm.exe").c_str(), (install / L"wxlm.exe").c_str(), FALSE));
    LauncherSession session(LauncherSession::GameEntry::None);
    ASSERT_TRUE(session.Start(L"--source=QV --tokenLogin=1 --token=tk", install / L"wxlm_main.exe"));
    EXPECT_EQ(session.WaitExit(), 0);
    ASSERT_TRUE(session.WaitForGameStart());
}

TEST(MainWindowTest, MissingGameTellsTheGameManagerAndCloses)
{
    RecorderWindow manager;
    ASSERT_TRUE(manager.Start(L"game manager"));
    LauncherSession session(LauncherSession::GameEntry::None);
    ASSERT_TRUE(session.Start(L"--source=QV --tokenLogin=1 --token=tk --gameMgrId=" + manager.HwndText()));
    EXPECT_EQ(session.WaitExit(), 0);
    ASSERT_TRUE(manager.WaitForRecords(1));
    EXPECT_EQ(manager.Records()[0].message, WM_GAMEMGR_LAUNCH_FAILED);
    EXPECT_TRUE(session.GameStarts().empty());
}

TEST(MainWindowTest, TypeModeOneTellsTheGameManagerTheLauncherIsReady)
{
    RecorderWindow manager;
    ASSERT_TRUE(manager.Start(L"game manager"));
    LauncherSession session;
    ASSERT_TRUE(session.Start(L"--source=QV --token=tk --typeMode=1 --gameMgrId=" + manager.HwndText()));
    ASSERT_TRUE(manager.WaitForRecords(1));
    EXPECT_EQ(manager.Records()[0].message, WM_GAMEMGR_LOADER_READY);
    ASSERT_TRUE(session.WaitVisible());
    EXPECT_EQ(session.CloseWindow(), 0);
}

struct CloseCase {
    const char* name;
    std::wstring source;
    std::function<void(HWND)> close;
    bool notified;
};

TEST(MainWindowTest, EveryClosePathNotifiesTheClientOnlyForQV)
{
    const auto pageClose = [](HWND window) { EXPECT_TRUE(ClickLauncherPage(window, {940, 20}, false)); };
    const auto taskBarClose = [](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); };
    const auto exitMenu = [](HWND window) {
        std::thread([window] {
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            const HWND menu = WaitForDialog(processId, L"#32768", nullptr);
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(menu, WM_CHAR, L'\r', 0);
        }).detach();
        PostMessageW(window, WM_LOADER_TRAY_NOTIFY, 0, WM_RBUTTONDOWN);
    };
    const CloseCase cases[] = {
        {"page QV", L"QV", pageClose, true},         {"task bar QV", L"QV", taskBarClose, true},
        {"exit menu QV", L"QV", exitMenu, true},     {"page qv", L"qv", pageClose, false},
        {"task bar qv", L"qv", taskBarClose, false},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecorderWindow client;
        ASSERT_TRUE(client.Start(L"client"));
        LauncherSession session;
        ASSERT_TRUE(session.Start(L"--source=" + c.source + L" --token=tk --winid=" + client.HwndText()));
        ASSERT_TRUE(session.WaitVisible());
        c.close(session.Window());
        EXPECT_EQ(session.WaitExit(), 0);
        // The notice is sent, and waited for, before the launcher closes.
        ASSERT_EQ(client.Records().size(), c.notified ? 1u : 0u);
        if (c.notified) {
            EXPECT_EQ(client.Records()[0].kind, RecordedMessage::Kind::CopyData);
            EXPECT_EQ(client.Records()[0].bytes.size(), 528u);
        }
    }
}

TEST(MainWindowTest, SecondStartBringsTheWindowForward)
{
    LauncherSession session;
    ASSERT_TRUE(session.Start(L"--source=QV --token=tk"));
    ASSERT_TRUE(session.WaitVisible());
    ShowWindow(session.Window(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(session.Window()) != FALSE; }));
    EXPECT_EQ(RunToEnd(MainExePath(), L"--source=other"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(session.Window()) && IsWindowVisible(session.Window()); }));
    EXPECT_EQ(session.CloseWindow(), 0);
}

TEST(MainWindowTest, SecondStartNeverShowsAHiddenWindow)
{
    LauncherSession session;
    ASSERT_TRUE(session.Start(L"--source=QV --token=1"));
    ASSERT_TRUE(session.WaitPageComplete());
    ASSERT_TRUE(session.WaitForWindow());
    EXPECT_EQ(RunToEnd(MainExePath(), L"--source=other"), 0u);
    ASSERT_TRUE(session.WaitForLogMessage("OnShowMainWnd enter"));
    EXPECT_FALSE(IsWindowVisible(session.Window()));
    EXPECT_EQ(session.CloseWindow(), 0);
}

TEST(MainWindowTest, UnreachablePortalShowsTheSystemBoxAndEnds)
{
    LauncherSession session;
    session.SetScenario("page *\nstatus 0x800C0005\n");
    ASSERT_TRUE(session.Start(L"--source=QV --token=tk"));
    const HWND box = WaitForDialog(session.Process().Pid(), L"#32770", L"提示");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(FindWindowExW(box, nullptr, L"Static", L"网络连接异常"), nullptr);
    ASSERT_TRUE(session.WaitForWindow());
    EXPECT_FALSE(IsWindowVisible(session.Window()));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(session.WaitExit(), 0);
}

TEST(MainWindowTest, DownloadFailuresShowTheSkinnedBoxWhichEndsTheLauncher)
{
    for (const UINT message : {WM_LOADER_FILES_RELEASED, WM_LOADER_NETWORK_STATE}) {
        SCOPED_TRACE(message);
        LauncherSession session;
        ASSERT_TRUE(session.Start(L"--source=QV --token=tk"));
        ASSERT_TRUE(session.WaitVisible());
        PostMessageW(session.Window(), message, 1, 0);
        const HWND box = WaitForDialog(session.Process().Pid(), L"CustomMsgBoxClass", L"CustomMsgBox");
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(WaitPainted(box));
        // The box's OK button, 96 by 32 at 172,46 inside the layout below the message line.
        const LPARAM ok = MAKELPARAM(172 + 48, 134 + 28 + 46 + 16);
        PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, ok);
        PostMessageW(box, WM_LBUTTONUP, 0, ok);
        EXPECT_EQ(session.WaitExit(), 0);
    }
}

} // namespace
