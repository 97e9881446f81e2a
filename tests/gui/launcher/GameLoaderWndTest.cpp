#include <gtest/gtest.h>

#include "Common.h"
#include "GameLoaderWndFixture.h"

#include "LoaderMessages.h"
#include "OpenGameRequests.h"

#include "controls/Label.h"
#include "controls/Progress.h"

#include "ChildProcess.h"
#include "RecorderWindow.h"
#include "TestPaths.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <thread>

namespace guitest {

namespace {

using wxlmtest::RecorderWindow;

// Neither the page nor the game: tokenLogin "1" without a token leaves the window hidden and open.
const std::wstring IdleLauncher = L"{\"tokenLogin\":\"1\"}";

std::wstring LabelText(Tarvo::CControlUI* control)
{
    return control ? std::wstring(static_cast<const wchar_t*>(control->Text())) : L"<no control>";
}

int ProgressValue(Tarvo::CControlUI* control)
{
    auto* progress = dynamic_cast<Tarvo::CProgressUI*>(control);
    return progress ? progress->Value() : -1;
}

using GameLoaderWndTest = GameLoaderWndFixture;

TEST_F(GameLoaderWndTest, TokenLoginWithoutTokenLoadsNothingAndStaysHidden)
{
    Open(IdleLauncher);
    PumpPending();
    EXPECT_TRUE(IsWindow(Hwnd()));
    EXPECT_FALSE(IsWindowVisible(Hwnd()));
    EXPECT_TRUE(HasLogMessage("GameLoaderWnd LoadGame start"));
    EXPECT_FALSE(HasLogMessage("GameLoaderWnd LoadWeb"));
    EXPECT_FALSE(GameStarted());
    EXPECT_EQ(Window()->GameExePath(), wxlmtest::TestbedPath(L"wxlm.exe"));
}

TEST_F(GameLoaderWndTest, ProgressMessagesFollowTheBarsRules)
{
    Open(IdleLauncher);
    Tarvo::CControlUI* progress = Control(L"progress");
    Tarvo::CControlUI* tip = Control(L"progTip");
    const std::wstring downloading = L"正在下载游戏文件，请耐心等待.";
    ASSERT_EQ(LabelText(tip), downloading);

    struct Step {
        WPARAM value;
        int bar;
        std::wstring tip;
    };
    const Step steps[] = {
        {150, 0, downloading},       // outside 0..100: the bar keeps its value
        {100, 100, downloading},     // the bar was not yet full
        {100, 100, L"正在释放文件"}, // it was full before this message
        {40, 40, L"正在释放文件"},   {150, 40, L"正在释放文件"},
    };
    for (const Step& step : steps) {
        SendMessageW(Hwnd(), WM_LOADER_PROGRESS, step.value, 0);
        EXPECT_EQ(ProgressValue(progress), step.bar) << step.value;
        EXPECT_EQ(LabelText(tip), step.tip) << step.value;
    }
}

TEST_F(GameLoaderWndTest, ProgressTipTimerCyclesItsDots)
{
    Open(IdleLauncher);
    const std::wstring texts[] = {L"正在下载游戏文件，请耐心等待.", L"正在下载游戏文件，请耐心等待..",
                                  L"正在下载游戏文件，请耐心等待..."};
    std::vector<int> seen;
    for (int tick = 0; tick < 6; ++tick) {
        SendMessageW(Hwnd(), WM_TIMER, 1124, 0);
        const std::wstring text = LabelText(Control(L"progTip"));
        const auto found = std::find(std::begin(texts), std::end(texts), text);
        ASSERT_NE(found, std::end(texts)) << tick;
        seen.push_back(static_cast<int>(found - std::begin(texts)));
    }
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], (seen[i - 1] + 1) % 3);
}

struct PageRequestCase {
    std::string request;
    std::vector<std::string> arguments; // empty: no launch
};

TEST_F(GameLoaderWndTest, PageRequestsReplaceTokenAndQvextOrLeaveThem)
{
    const PageRequestCase cases[] = {
        {"{}", {"--source=QV", "--token=cmd", "--qvext=ce"}},
        {"[1,2]", {"--source=QV", "--token=cmd", "--qvext=ce"}},
        {"7", {"--source=QV", "--token=cmd", "--qvext=ce"}},
        {"{\"token\":5,\"qvext\":null}", {"--source=QV", "--token=cmd", "--qvext=ce"}},
        {"{\"funcation_name\":\"open_game\",\"token\":\"pt\"}", {"--source=QV", "--token=pt", "--qvext=ce"}},
        {"{\"token\":\"pt 2\",\"qvext\":\"px\"}", {"--source=QV", "--token=pt 2", "--qvext=px"}},
    };
    for (const PageRequestCase& c : cases) {
        SCOPED_TRACE(c.request);
        Open(L"{\"source\":\"QV\",\"token\":\"cmd\",\"qvext\":\"ce\"}");
        Window()->OnOpenGame(std::make_unique<std::string>(c.request));
        EXPECT_FALSE(IsWindowVisible(Hwnd()));
        ASSERT_TRUE(PumpUntil([this] { return GameStarted(); }));
        EXPECT_EQ(GameArguments(), c.arguments);
        EXPECT_TRUE(WaitClosed());
        ClearGameLog();
    }
}

TEST_F(GameLoaderWndTest, RequestThatIsNotJsonStartsNothingAndQuotesTheCommandText)
{
    const std::wstring commandText = L"{\"source\":\"QV\",\"token\":\"cmd\"}";
    Open(commandText);
    Window()->OnOpenGame(std::make_unique<std::string>("open the game"));
    PumpPending();
    EXPECT_TRUE(HasLogMessage("reader.parse:" + wxlmtest::Narrow(commandText) + " false"));
    EXPECT_TRUE(IsWindow(Hwnd()));
    EXPECT_FALSE(GameStarted());
}

TEST_F(GameLoaderWndTest, OnlyRequestsHandedOverByTheBridgeAreTaken)
{
    Open(L"{\"source\":\"QV\",\"token\":\"cmd\"}");
    // Another program's wParam: never read, never freed.
    std::string foreign = "{\"token\":\"injected\"}";
    PostMessageW(Hwnd(), WM_LOADER_OPEN_GAME, reinterpret_cast<WPARAM>(&foreign), 0);
    PostMessageW(Hwnd(), WM_LOADER_OPEN_GAME, 0x12345678, 0);
    PumpPending();
    EXPECT_EQ(foreign, "{\"token\":\"injected\"}");
    EXPECT_FALSE(GameStarted());
    EXPECT_TRUE(IsWindow(Hwnd()));
    EXPECT_TRUE(HasLogMessage("WM_LOADER_OPEN_GAME ignored: not a request of the page bridge"));

    ASSERT_TRUE(OpenGameRequests::Post(Hwnd(), WM_LOADER_OPEN_GAME, "{\"funcation_name\":\"open_game\"}"));
    ASSERT_TRUE(PumpUntil([this] { return GameStarted(); }));
    EXPECT_EQ(GameArguments(), (std::vector<std::string>{"--source=QV", "--token=cmd"}));
    EXPECT_EQ(OpenGameRequests::Pending(), 0u);
    EXPECT_TRUE(WaitClosed());
}

TEST_F(GameLoaderWndTest, ActivateKeepsAHiddenWindowHidden)
{
    Open(IdleLauncher);
    SendMessageW(Hwnd(), WM_LOADER_ACTIVATE, 0, 0);
    EXPECT_TRUE(HasLogMessage("OnShowMainWnd enter"));
    EXPECT_FALSE(IsWindowVisible(Hwnd()));
}

TEST_F(GameLoaderWndTest, ActivateRestoresAMinimisedWindow)
{
    Open(IdleLauncher);
    ShowWindow(Hwnd(), SW_SHOWMINIMIZED);
    ASSERT_TRUE(IsIconic(Hwnd()));
    SendMessageW(Hwnd(), WM_LOADER_ACTIVATE, 0, 0);
    EXPECT_FALSE(IsIconic(Hwnd()));
    EXPECT_TRUE(IsWindowVisible(Hwnd()));
}

TEST_F(GameLoaderWndTest, PageLoadedShowsTheBrowserAndTheWindowUnlessTokenIsOne)
{
    for (const auto& [token, shown] : {std::pair{L"tk", true}, std::pair{L"1", false}}) {
        Open(std::wstring(L"{\"token\":\"") + token + L"\"}");
        Tarvo::CControlUI* browser = Control(L"ie");
        ASSERT_NE(browser, nullptr);
        EXPECT_FALSE(browser->IsVisible()) << "hidden while the page loads";
        SendMessageW(Hwnd(), WM_LOADER_PAGE_LOADED, 0, 0);
        EXPECT_TRUE(browser->IsVisible());
        EXPECT_EQ(IsWindowVisible(Hwnd()) != FALSE, shown);
        DestroyWindow(Hwnd());
        EXPECT_TRUE(WaitClosed());
    }
}

TEST_F(GameLoaderWndTest, CaptionDoubleClickDoesNothing)
{
    Open(IdleLauncher);
    ShowWindow(Hwnd(), SW_SHOWNORMAL);
    SendMessageW(Hwnd(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(100, 10));
    PumpPending();
    EXPECT_FALSE(IsZoomed(Hwnd()));
    EXPECT_TRUE(IsWindow(Hwnd()));
}

// Every close path notifies the platform client when source is exactly "QV".
struct ClosePath {
    const char* name;
    std::function<void(HWND)> close;
};

TEST_F(GameLoaderWndTest, EveryClosePathSendsTheNoticeForQV)
{
    const ClosePath paths[] = {
        {"page", [](HWND hWnd) { PostMessageW(hWnd, WM_LOADER_CLOSE, 0, 0); }},
        {"task bar", [](HWND hWnd) { PostMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const ClosePath& path : paths) {
        SCOPED_TRACE(path.name);
        RecorderWindow client;
        ASSERT_TRUE(client.Start(L"client"));
        Open(L"{\"source\":\"QV\",\"winid\":\"" + client.HwndText() + L"\",\"tokenLogin\":\"1\"}");
        path.close(Hwnd());
        EXPECT_TRUE(WaitClosed());
        ASSERT_TRUE(client.WaitForRecords(1));
        const auto records = client.Records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].kind, wxlmtest::RecordedMessage::Kind::CopyData);
        EXPECT_EQ(records[0].wParam, 1u);
        ASSERT_EQ(records[0].bytes.size(), 528u);
        EXPECT_EQ(records[0].bytes.substr(0, 8), std::string("\x01\0\0\0\x31\0\0\0", 8));
        EXPECT_EQ(records[0].bytes.substr(524), std::string("\x01\0\0\0", 4));
    }
    // The log file holds its lines in the ANSI code page.
    EXPECT_TRUE(HasLogMessage(WideToMulti(L"点击任务栏关闭窗口", CP_THREAD_ACP)));
}

TEST_F(GameLoaderWndTest, CloseSendsNothingForOtherSourcesOrWithoutClient)
{
    RecorderWindow client;
    ASSERT_TRUE(client.Start(L"client"));
    for (const std::wstring& params :
         {L"\"source\":\"qv\",\"winid\":\"" + client.HwndText() + L"\"",
          std::wstring(L"\"source\":\"QV\",\"winid\":\"\""), std::wstring(L"\"source\":\"QV\",\"winid\":\"0\"")}) {
        Open(L"{" + params + L",\"tokenLogin\":\"1\"}");
        PostMessageW(Hwnd(), WM_LOADER_CLOSE, 0, 0);
        // The notice is sent before the close is posted, so it would have arrived by now.
        EXPECT_TRUE(WaitClosed());
    }
    EXPECT_TRUE(client.Records().empty());
}

TEST_F(GameLoaderWndTest, ExitMenuClosesThroughTheSamePath)
{
    RecorderWindow client;
    ASSERT_TRUE(client.Start(L"client"));
    Open(L"{\"source\":\"QV\",\"winid\":\"" + client.HwndText() + L"\",\"tokenLogin\":\"1\"}");
    // The menu runs its own loop on this thread; a helper picks its one item with the keyboard.
    std::thread picker([] {
        HWND menu = nullptr;
        wxlmtest::WaitUntil([&] { return (menu = FindWindowW(L"#32768", nullptr)) != nullptr; });
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_CHAR, L'\r', 0);
    });
    PostMessageW(Hwnd(), WM_LOADER_TRAY_NOTIFY, 0, WM_RBUTTONDOWN);
    EXPECT_TRUE(WaitClosed());
    picker.join();
    EXPECT_TRUE(client.WaitForRecords(1));
}

TEST_F(GameLoaderWndTest, NetworkGoAheadEndsTheGameBeforeReturning)
{
    Open(IdleLauncher);
    wxlmtest::ChildProcess game;
    ASSERT_TRUE(game.Start(wxlmtest::TestbedPath(L"wxlm.exe"), L"--stay"));
    ASSERT_TRUE(PumpUntil([this] { return GameStarted(); }));
    SendMessageW(Hwnd(), WM_LOADER_NETWORK_STATE, 0, 0);
    EXPECT_FALSE(game.IsRunning());
    EXPECT_TRUE(IsWindow(Hwnd()));
}

TEST_F(GameLoaderWndTest, FilesReleasedRegistersAndStartsOrReportsTheMissingGame)
{
    RecorderWindow manager;
    ASSERT_TRUE(manager.Start(L"game manager"));
    wxlmtest::ScopedFileRestore shortcut(wxlmtest::DesktopDir() + L"\\Orvendale.lnk");
    Open(L"{\"token\":\"tk\",\"gameMgrId\":\"" + manager.HwndText() + L"\"}");
    SendMessageW(Hwnd(), WM_LOADER_FILES_RELEASED, 0, 0);
    // The fresh entry names the program files folder, where no game lies in the test prefix.
    EXPECT_EQ(LabelText(Control(L"progTip")), L"正在启动游戏");
    EXPECT_NE(Window()->GameExePath(), wxlmtest::TestbedPath(L"wxlm.exe"));
    EXPECT_TRUE(wxlmtest::FileExists(wxlmtest::DesktopDir() + L"\\Orvendale.lnk"));
    EXPECT_TRUE(WaitClosed());
    ASSERT_TRUE(manager.WaitForRecords(1));
    EXPECT_EQ(manager.Records()[0].message, WM_GAMEMGR_LAUNCH_FAILED);
}

} // namespace

} // namespace guitest
