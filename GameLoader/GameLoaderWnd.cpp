#include "GameLoaderWnd.h"

#include "IeBrowser.h"
#include "ClientSettings.h"
#include "Common.h"
#include "CookieRule.h"
#include "GameExitNotice.h"
#include "InstallRegistration.h"
#include "LauncherInstance.h"
#include "LoaderMessages.h"
#include "Logger.h"
#include "WebBrowserEvent.h"
#include "resource.h"

#include "controls/Label.h"
#include "controls/Progress.h"
#include "controls/TabLayout.h"
#include "controls/VerticalLayout.h"

using namespace Tarvo;

namespace {

// Download-page backgrounds of the platform's games; the other games, this one included, keep
// the skin's.
struct DownloadBackground {
    const wchar_t* gameId;
    const wchar_t* image;
};
constexpr DownloadBackground DownloadBackgrounds[] = {
    {L"lub", L"lub_download_bk.jpg"},
    {L"tkro", L"tkro_download_bk.jpg"},
    {L"mefa", L"mefa_download_bk.jpg"},
};

template <class Control> Control* NamedControl(CWindowManagerUI& manager, const wchar_t* name)
{
    // A skin that puts another kind of control under the name gives nothing rather than a wrong type.
    return dynamic_cast<Control*>(manager.ControlByName(name));
}

} // namespace

GameLoaderWnd::GameLoaderWnd(std::wstring commandText) : m_strCmdJson(std::move(commandText)) {}

GameLoaderWnd::~GameLoaderWnd()
{
    PostQuitMessage(0);
    // The browser control outlives this object by a moment (the base owns the control tree):
    // it must not call into a sink that is gone.
    if (m_pBrowser)
        m_pBrowser->SetEventHandler(nullptr);
}

LPCWSTR GameLoaderWnd::WindowClassName() const
{
    return L"GameLoaderResClass";
}

void GameLoaderWnd::OnFinalWindowMessage(HWND hWnd)
{
    WindowImplBase::OnFinalWindowMessage(hWnd);
    delete this;
}

CUIString GameLoaderWnd::SkinFolder()
{
    return CUIString();
}

CUIString GameLoaderWnd::SkinFile()
{
    return CUIString(L"GameLoader.xml");
}

UISkinSourceKind GameLoaderWnd::SkinSourceKind() const
{
    return SkinFromZipResource;
}

CUIString GameLoaderWnd::SkinResourceId()
{
    return CUIString(L"130");
}

CControlUI* GameLoaderWnd::CreateCustomControl(const wchar_t* pstrClass)
{
    if (pstrClass && lstrcmpiW(pstrClass, L"IeBrowser") == 0)
        return new CIeBrowserUI(WindowHandle());
    return nullptr;
}

void GameLoaderWnd::InitWindow()
{
    constexpr char functionName[] = "GameLoaderWnd::InitWindow";
    const HICON icon = LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_WXLM_MAIN));
    SendMessageW(WindowHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    m_pEventSink = std::make_unique<CWebBrowserEvent>(WindowHandle());
    LookUpControls();
    ChooseDownloadBackground();
    m_strInstallDir = GetProgramFilesX86Dir() + L"\\" + GameId;
    m_strGameId = GameId;
    BuildGameExePath();
    ParseCmdJson();
    if (m_launchParams.typeMode == L"1" && !m_launchParams.gameMgrId.empty())
        PostToGameManager(WM_GAMEMGR_LOADER_READY);
    WriteClientSetting("loginsource", m_launchParams.source, GetClientSettingPath());
    LOG_INFO(functionName, L"m_nGameInstalled is" << m_launchParams.installed);
    ApplyCookieRule(m_launchParams.installed);
    m_strFileParam = GetBagFileParam(m_strGameId);
    LOG_INFO(functionName, L"GetBagFileParam fileparam=" << m_strFileParam);
    if (m_pWizardTab)
        m_pWizardTab->SelectItem(0);
    if (m_launchParams.tokenLogin == L"1")
        LoadGame();
    else
        LoadWeb();
}

void GameLoaderWnd::LookUpControls()
{
    m_pBrowser = NamedControl<CIeBrowserUI>(m_pm, L"ie");
    m_pWizardTab = NamedControl<CTabLayoutUI>(m_pm, L"wizardTab");
    m_pProgress = NamedControl<CProgressUI>(m_pm, L"progress");
    m_pProgTip = NamedControl<CLabelUI>(m_pm, L"progTip");
    m_pDownloadLayout = NamedControl<CVerticalLayoutUI>(m_pm, L"vLayoutDownload");
}

void GameLoaderWnd::ChooseDownloadBackground()
{
    for (const DownloadBackground& background : DownloadBackgrounds) {
        if (GameId == std::wstring_view(background.gameId) && m_pDownloadLayout)
            m_pDownloadLayout->ApplyAttribute(L"bkimage", background.image);
    }
}

bool GameLoaderWnd::ParseCmdJson()
{
    return ::ParseCmdJson(m_strCmdJson, m_launchParams, GetClientSettingPath());
}

void GameLoaderWnd::OnClickNotification(UINotification& notification)
{
    if (!notification.sender)
        return;
    const CUIString name = notification.sender->Name();
    if (name == L"btnClose")
        OnBtnCloseClick();
    else if (name == L"btnMin")
        ShowWindow(WindowHandle(), SW_MINIMIZE);
}

LRESULT GameLoaderWnd::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    // The low four bits of the command are the system's own.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        LOG_INFO("GameLoaderWnd::OnSysCommand", L"点击任务栏关闭窗口");
        bHandled = true;
        OnBtnCloseClick();
        return 0;
    }
    return CallPreviousProc(uMsg, wParam, lParam);
}

void GameLoaderWnd::OnBtnCloseClick()
{
    if (m_launchParams.source == L"QV" && !m_launchParams.winid.empty()) {
        LOG_INFO("GameLoaderWnd::OnBtnCloseClick", L"GameLoaderWnd close wnd");
        SendGameExitNotice(HandleFromDecimal(m_launchParams.winid));
    }
    PostCloseToSelf();
}

void GameLoaderWnd::PostCloseToSelf() const
{
    if (IsWindow(WindowHandle()))
        PostMessageW(WindowHandle(), WM_CLOSE, 1, 0);
}

void GameLoaderWnd::TopMainWnd()
{
    LOG_INFO("GameLoaderWnd::TopMainWnd", L"OnShowMainWnd enter");
    const HWND window = WindowHandle();
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD thisThread = GetCurrentThreadId();
    AttachThreadInput(foregroundThread, thisThread, TRUE);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    AttachThreadInput(foregroundThread, thisThread, FALSE);
}
