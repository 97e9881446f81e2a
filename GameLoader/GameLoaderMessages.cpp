// GameLoaderWnd: the window-message hook and the custom message table.
#include "GameLoaderWnd.h"

#include "IeBrowser.h"
#include "CustomMsgBox.h"
#include "InstallRegistration.h"
#include "LoaderMessages.h"
#include "Logger.h"
#include "OpenGameRequests.h"
#include "ProcessControl.h"

#include "controls/Label.h"
#include "controls/Progress.h"

#include <future>
#include <system_error>

using namespace Tarvo;

namespace {

constexpr const wchar_t* ProgressTipTexts[] = {
    L"正在下载游戏文件，请耐心等待.",
    L"正在下载游戏文件，请耐心等待..",
    L"正在下载游戏文件，请耐心等待...",
};
// Shared by every window of the process, as the tip's dots are.
int g_nProgressTipStep = 0;

// The game-process clean-up on a thread of its own; the window thread waits for its end.
void RunStopGameProcessAndWait()
{
    try {
        std::async(std::launch::async, &StopGameProcess).wait();
    } catch (const std::system_error&) {
        LOG_ERROR("GameLoaderWnd::OnCustomMessage", L"StopGameProcess thread not started");
    }
}

} // namespace

struct GameLoaderWnd::CustomRoute {
    UINT message;
    MessageHandler handler;
};

GameLoaderWnd::MessageHandler GameLoaderWnd::CustomHandlerFor(UINT uMsg)
{
    static const CustomRoute routes[] = {
        {WM_LOADER_PAGE_LOADED, &GameLoaderWnd::OnPageLoaded},
        {WM_LOADER_MINIMIZE, &GameLoaderWnd::OnMinimize},
        {WM_LOADER_CLOSE, &GameLoaderWnd::OnCloseRequest},
        {WM_LOADER_OPEN_GAME, &GameLoaderWnd::OnOpenGameRequest},
        {WM_LOADER_DRAG, &GameLoaderWnd::OnDrag},
        {WM_LOADER_ACTIVATE, &GameLoaderWnd::OnActivate},
        {WM_LOADER_FILES_RELEASED, &GameLoaderWnd::OnFilesReleased},
        {WM_LOADER_NETWORK_STATE, &GameLoaderWnd::OnNetworkState},
        {WM_LOADER_PROGRESS, &GameLoaderWnd::OnProgress},
        {WM_LOADER_NAVIGATE_FAILED, &GameLoaderWnd::OnNavigateFailed},
    };
    for (const CustomRoute& route : routes) {
        if (route.message == uMsg)
            return route.handler;
    }
    return nullptr;
}

LRESULT GameLoaderWnd::OnCustomMessage(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, bool& bHandled)
{
    // Handled messages still go on to the default processing, which ignores them.
    bHandled = false;
    if (const MessageHandler handler = CustomHandlerFor(uMsg))
        (this->*handler)(wParam);
    return 0;
}

LRESULT GameLoaderWnd::ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCLBUTTONDBLCLK)
        return 0;
    if (uMsg == WM_LOADER_TRAY_NOTIFY && lParam == WM_RBUTTONDOWN)
        ShowTrayMenu();
    else if (uMsg == WM_TIMER && wParam == ID_TIMER_PROGRESS_TIP)
        AdvanceProgressTip();
    return WindowImplBase::ProcessWindowMessage(uMsg, wParam, lParam);
}

void GameLoaderWnd::ShowTrayMenu()
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    SetForegroundWindow(WindowHandle());
    const HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    AppendMenuW(menu, MF_STRING, ID_MENU_EXIT, L"退出");
    const UINT command =
        static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, cursor.x, cursor.y, 0, WindowHandle(), nullptr));
    DestroyMenu(menu);
    if (command == ID_MENU_EXIT)
        OnBtnCloseClick();
}

void GameLoaderWnd::AdvanceProgressTip()
{
    const int from = g_nProgressTipStep;
    g_nProgressTipStep = (from + 1) % 3;
    if (m_pProgTip)
        m_pProgTip->SetText(ProgressTipTexts[from]);
}

void GameLoaderWnd::OnPageLoaded(WPARAM)
{
    if (m_pBrowser)
        m_pBrowser->SetVisible(true);
    if (m_launchParams.token == L"1")
        return;
    if (IsWindow(WindowHandle()))
        ShowWindow(WindowHandle(), SW_SHOWNORMAL);
    TopMainWnd();
}

void GameLoaderWnd::OnMinimize(WPARAM)
{
    ShowWindow(WindowHandle(), SW_MINIMIZE);
}

void GameLoaderWnd::OnCloseRequest(WPARAM)
{
    OnBtnCloseClick();
}

void GameLoaderWnd::OnOpenGameRequest(WPARAM wParam)
{
    // Any program can post this number; only a request the bridge handed over is read and freed.
    std::unique_ptr<std::string> request = OpenGameRequests::Take(wParam);
    if (!request) {
        LOG_ERROR("GameLoaderWnd::OnCustomMessage", L"WM_LOADER_OPEN_GAME ignored: not a request of the page bridge");
        return;
    }
    OnOpenGame(std::move(request));
}

void GameLoaderWnd::OnDrag(WPARAM)
{
    // SC_MOVE with the caption hit code starts the system's move-by-mouse loop.
    SendMessageW(WindowHandle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void GameLoaderWnd::OnActivate(WPARAM)
{
    TopMainWnd();
}

void GameLoaderWnd::OnFilesReleased(WPARAM wParam)
{
    if (wParam == 0) {
        RefreshInstallRegistration(m_strInstallDir, m_launchParams.source);
        BuildGameExePath();
        if (m_pProgTip)
            m_pProgTip->SetText(L"正在启动游戏");
        LoadGame();
        return;
    }
    ShowCustomMsgBox(WindowHandle(), L"释放文件出错");
    PostCloseToSelf();
}

void GameLoaderWnd::OnNetworkState(WPARAM wParam)
{
    if (wParam == 0) {
        RunStopGameProcessAndWait();
        return;
    }
    KillTimer(WindowHandle(), ID_TIMER_PROGRESS_TIP);
    ShowCustomMsgBox(WindowHandle(), L"网络异常");
}

void GameLoaderWnd::OnProgress(WPARAM wParam)
{
    if (!m_pProgress)
        return;
    const int before = m_pProgress->Value();
    m_pProgress->SetValue(static_cast<int>(wParam));
    if (before != 100)
        return;
    KillTimer(WindowHandle(), ID_TIMER_PROGRESS_TIP);
    if (m_pProgTip)
        m_pProgTip->SetText(L"正在释放文件");
}

void GameLoaderWnd::OnNavigateFailed(WPARAM)
{
    MessageBoxW(WindowHandle(), L"网络连接异常", L"提示", MB_OK);
    OnBtnCloseClick();
}
