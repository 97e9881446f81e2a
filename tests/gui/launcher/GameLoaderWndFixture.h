#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "GameLoaderWnd.h"
#include "LauncherResources.h"

#include "LogTail.h"
#include "TestFiles.h"
#include "TestRegistry.h"

namespace guitest {

// A GameLoaderWnd of this process built from wxlm_main.exe's own skin resource, hidden as start-up
// leaves it, with the stand-in game in reach (an uninstall entry pointing at the testbed folder) and
// the per-user state it writes (settings file, uninstall entry) put back at the end.
class GameLoaderWndFixture : public ::testing::Test {
protected:
    GameLoaderWndFixture();
    ~GameLoaderWndFixture() override;

    // Creates the window from the command text; InitWindow has run when this returns.
    GameLoaderWnd* Open(const std::wstring& commandText);
    HWND Hwnd() const { return m_hWnd; }
    GameLoaderWnd* Window() const { return m_pWnd; }
    Tarvo::CControlUI* Control(const wchar_t* name) const;

    // Dispatches this thread's messages until the condition holds; false after the time-out.
    bool PumpUntil(const std::function<bool()>& condition,
                   std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Dispatches what is queued now (sent and posted alike) and returns.
    void PumpPending();
    // The window has gone and its destructor's WM_QUIT has been taken off the queue.
    bool WaitClosed();

    // The stand-in game's arguments of its first start (program path dropped); empty when none.
    std::vector<std::string> GameArguments() const;
    bool GameStarted() const;
    void ClearGameLog() const;
    bool HasLogMessage(const std::string& message) const;

private:
    HRESULT m_hrCom;
    LauncherResources m_resources;
    wxlmtest::TempDir m_dir;
    wxlmtest::ScopedRegKeyCleanup m_entry;
    wxlmtest::ScopedFileRestore m_settings;
    wxlmtest::LogTail m_log;
    GameLoaderWnd* m_pWnd = nullptr;
    HWND m_hWnd = nullptr;
};

} // namespace guitest
