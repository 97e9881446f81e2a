#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "LogTail.h"
#include "TestFiles.h"
#include "TestRegistry.h"

namespace wxlmtest {

// One run of the real wxlm_main.exe as the platform client starts it, with the stand-in browser
// playing a scenario, the stand-in game recording its command line and a fresh uninstall entry
// (none, or one that puts the game in the testbed folder). Everything it touches is put back.
class LauncherSession {
public:
    enum class GameEntry { None, InTestbed };

    explicit LauncherSession(GameEntry entry = GameEntry::InTestbed, const std::wstring& fileParam = L"");
    ~LauncherSession();
    LauncherSession(const LauncherSession&) = delete;
    LauncherSession& operator=(const LauncherSession&) = delete;

    // The stand-in browser's scenario (UTF-8 lines); without one it shows its default page.
    void SetScenario(const std::string& scenario);
    // Starts exe (wxlm_main.exe unless given) with the command tail.
    bool Start(const std::wstring& commandTail, const std::wstring& exe = {});
    ChildProcess& Process() { return m_process; }

    // The launcher's main window, once it exists; null after the time-out.
    HWND WaitForWindow(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    bool WaitVisible(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Waits for the process's end; its exit code, or -1 when it still runs.
    long WaitExit(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Posts WM_CLOSE to the main window, as the system does, and waits for the end.
    long CloseWindow();

    // Lines the stand-in browser recorded, and whether one starts with prefix (after waiting).
    std::vector<std::string> BrowserRecords() const;
    bool WaitForBrowserRecord(const std::string& prefix,
                              std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    // The page has completed its top document in the launcher's browser.
    bool WaitPageComplete() const { return WaitForBrowserRecord("event\tDocumentComplete\tframe=top"); }

    // The arguments (program path dropped) of each start of the stand-in game.
    std::vector<std::vector<std::string>> GameStarts() const;
    bool WaitForGameStart(std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

    std::vector<std::string> LogMessages() const { return m_log.NewMessages(); }
    bool WaitForLogMessage(const std::string& message,
                           std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    bool HasLogMessage(const std::string& message) const;
    size_t CountLogMessages(const std::string& message) const;

    HWND Window() const { return m_hWnd; }
    const std::wstring& GameExeDir() const { return m_strGameDir; }

private:
    TempDir m_dir;
    ScopedRegKeyCleanup m_entry;
    ScopedFileRestore m_settings;
    LogTail m_log;
    ChildProcess m_process;
    HWND m_hWnd = nullptr;
    std::wstring m_strGameDir;
};

// Waits until a visible window has no part left to paint (a skinned window lays its controls
// out when it paints, so its controls only then answer clicks).
bool WaitPainted(HWND window);

// Clicks the stand-in page inside the launcher at a point of the launcher's client area, with the
// button messages a user's click sends to the window under the point (onPress: the press only).
[[nodiscard]] bool ClickLauncherPage(HWND launcher, POINT client, bool onPress = false);

// The top-level window of class GameLoaderResClass that belongs to the process; null if none.
HWND FindLauncherWindow(DWORD processId);

} // namespace wxlmtest
