#include <gtest/gtest.h>

#include "GameLoaderWndFixture.h"

#include "Common.h"
#include "Logger.h"

#include "core/WindowManager.h"

#include "TestPaths.h"

#include <algorithm>
#include <sstream>

namespace guitest {

namespace {

const std::wstring UninstallEntry = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\wxlm";

} // namespace

GameLoaderWndFixture::GameLoaderWndFixture()
    : m_hrCom(CoInitialize(nullptr)), m_entry(HKEY_CURRENT_USER, UninstallEntry),
      m_settings(wxlmtest::ClientSettingsPath()), m_log(LauncherLogPath())
{
    std::wstring testbed = wxlmtest::TestbedPath(L"");
    testbed.pop_back();
    wxlmtest::WriteRegString(HKEY_CURRENT_USER, UninstallEntry, L"DisplayIcon", testbed + L"\\wxlm_main.exe");
    SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", (m_dir / L"game.log").c_str());
}

GameLoaderWndFixture::~GameLoaderWndFixture()
{
    if (IsWindow(m_hWnd)) {
        DestroyWindow(m_hWnd);
        WaitClosed();
    }
    SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", nullptr);
    if (SUCCEEDED(m_hrCom))
        CoUninitialize();
}

GameLoaderWnd* GameLoaderWndFixture::Open(const std::wstring& commandText)
{
    m_pWnd = new GameLoaderWnd(commandText);
    m_hWnd = m_pWnd->Create(nullptr, L"GameLoaderWndTest", 0x10CF0000, 0, 0, 0, 0, 0);
    EXPECT_TRUE(IsWindow(m_hWnd));
    if (IsWindow(m_hWnd)) {
        m_pWnd->CenterWindow();
        ShowWindow(m_hWnd, SW_HIDE);
    }
    return m_pWnd;
}

Tarvo::CControlUI* GameLoaderWndFixture::Control(const wchar_t* name) const
{
    return IsWindow(m_hWnd) ? m_pWnd->Manager().ControlByName(name) : nullptr;
}

bool GameLoaderWndFixture::PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout.count());
    while (!condition()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 50)),
                                  QS_ALLINPUT);
        PumpPending();
    }
    return true;
}

void GameLoaderWndFixture::PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // The window's destructor ends "the" message loop; here that is the test's pump.
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool GameLoaderWndFixture::WaitClosed()
{
    const bool closed = PumpUntil([this] { return !IsWindow(m_hWnd); });
    if (closed)
        m_pWnd = nullptr;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    return closed;
}

std::vector<std::string> GameLoaderWndFixture::GameArguments() const
{
    std::vector<std::string> arguments;
    std::istringstream lines(wxlmtest::ReadFileBytes(m_dir / L"game.log").value_or(""));
    for (std::string line; std::getline(lines, line) && line != "end";) {
        if (line.rfind("arg ", 0) == 0 && line.rfind("arg 0 ", 0) != 0)
            arguments.push_back(line.substr(line.find(' ', 4) + 1));
    }
    return arguments;
}

bool GameLoaderWndFixture::GameStarted() const
{
    return wxlmtest::ReadFileBytes(m_dir / L"game.log").value_or("").find("end\n") != std::string::npos;
}

void GameLoaderWndFixture::ClearGameLog() const
{
    DeleteFileW((m_dir / L"game.log").c_str());
}

bool GameLoaderWndFixture::HasLogMessage(const std::string& message) const
{
    for (const std::string& line : m_log.NewMessages()) {
        if (line == message)
            return true;
    }
    return false;
}

} // namespace guitest
