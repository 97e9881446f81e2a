#pragma once

#include "LaunchParams.h"

#include "core/WindowImplBase.h"

#include <memory>
#include <string>

namespace Tarvo {
class CTabLayoutUI;
class CProgressUI;
class CLabelUI;
class CVerticalLayoutUI;
} // namespace Tarvo

class CIeBrowserUI;
class CWebBrowserEvent;

// Timer of the download page's animated tip; nothing starts it here, it is only killed.
constexpr UINT_PTR ID_TIMER_PROGRESS_TIP = 1124;
// The one item of the exit menu.
constexpr UINT ID_MENU_EXIT = 16;

// The launcher's main window: reads the launch parameters, shows the portal page or starts the
// game at once, and reacts to the page, the browser, a second launcher and the close command.
// It deletes itself when its window is gone; the destructor ends the message loop.
class GameLoaderWnd : public Tarvo::WindowImplBase {
public:
    explicit GameLoaderWnd(std::wstring commandText);

    LPCWSTR WindowClassName() const override;
    LRESULT ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalWindowMessage(HWND hWnd) override;
    ~GameLoaderWnd() override;
    void InitWindow() override;
    void OnClickNotification(Tarvo::UINotification& notification) override;
    Tarvo::CUIString SkinFolder() override;
    Tarvo::CUIString SkinFile() override;
    Tarvo::UISkinSourceKind SkinSourceKind() const override;
    Tarvo::CUIString SkinResourceId() override;
    LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT OnCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    Tarvo::CControlUI* CreateCustomControl(const wchar_t* pstrClass) override;

    // The one close path: tells the platform client when it started us ("QV"), then WM_CLOSE.
    void OnBtnCloseClick();
    // Brings the window to the front; a hidden window stays hidden.
    void TopMainWnd();

    bool ParseCmdJson();
    void LoadWeb();
    void BuildGameExePath();
    // Takes the page's request (JSON in the ANSI code page): its "token" and "qvext" replace the
    // launch parameters, then the game starts.
    void OnOpenGame(std::unique_ptr<std::string> request);
    // Starts the game elevated and closes the launcher; with no token it does nothing.
    void LoadGame();

    const LaunchParams& Params() const { return m_launchParams; }
    const std::wstring& GameExePath() const { return m_strGameExePath; }

private:
    using MessageHandler = void (GameLoaderWnd::*)(WPARAM wParam);
    struct CustomRoute;
    static MessageHandler CustomHandlerFor(UINT uMsg);

    void LookUpControls();
    void ChooseDownloadBackground();
    void PostToGameManager(UINT uMsg) const;
    void PostCloseToSelf() const;
    void ShowTrayMenu();
    void AdvanceProgressTip();

    void OnPageLoaded(WPARAM wParam);
    void OnMinimize(WPARAM wParam);
    void OnCloseRequest(WPARAM wParam);
    void OnOpenGameRequest(WPARAM wParam);
    void OnDrag(WPARAM wParam);
    void OnActivate(WPARAM wParam);
    void OnFilesReleased(WPARAM wParam);
    void OnNetworkState(WPARAM wParam);
    void OnProgress(WPARAM wParam);
    void OnNavigateFailed(WPARAM wParam);

    std::unique_ptr<CWebBrowserEvent> m_pEventSink;
    CIeBrowserUI* m_pBrowser = nullptr;
    Tarvo::CTabLayoutUI* m_pWizardTab = nullptr;
    Tarvo::CProgressUI* m_pProgress = nullptr;
    Tarvo::CLabelUI* m_pProgTip = nullptr;
    Tarvo::CVerticalLayoutUI* m_pDownloadLayout = nullptr;
    std::wstring m_strGameExePath;
    std::wstring m_strCmdJson;
    LaunchParams m_launchParams;
    std::wstring m_strGameId;
    std::wstring m_strFileParam;
    std::wstring m_strInstallDir;
};
