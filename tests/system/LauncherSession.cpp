#include "LauncherSession.h"

#include <algorithm>
#include <sstream>

#include "TestPaths.h"

namespace wxlmtest {

namespace {

const std::wstring UninstallEntry = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\wxlm";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchLauncherWindow(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hWnd, &owner);
    wchar_t className[64] = {};
    GetClassNameW(hWnd, className, 64);
    if (owner != search->processId || std::wstring(className) != L"GameLoaderResClass")
        return TRUE;
    search->found = hWnd;
    return FALSE;
}

} // namespace

HWND FindLauncherWindow(DWORD processId)
{
    WindowSearch search = {processId, nullptr};
    EnumWindows(&MatchLauncherWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LauncherSession::LauncherSession(GameEntry entry, const std::wstring& fileParam)
    : m_entry(HKEY_CURRENT_USER, UninstallEntry), m_settings(ClientSettingsPath()), m_log(TodaysLogPath())
{
    if (entry == GameEntry::InTestbed) {
        m_strGameDir = TestbedPath(L"");
        m_strGameDir.pop_back();
        WriteRegString(HKEY_CURRENT_USER, UninstallEntry, L"DisplayIcon", m_strGameDir + L"\\wxlm_main.exe");
    }
    if (!fileParam.empty())
        WriteRegString(HKEY_CURRENT_USER, UninstallEntry, L"FileParam", fileParam);
    SetEnvironmentVariableW(L"WXLM_PORTAL_RECORD", (m_dir / L"browser.log").c_str());
    SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", (m_dir / L"game.log").c_str());
    SetEnvironmentVariableW(L"WXLM_PORTAL_SCENARIO", nullptr);
}

LauncherSession::~LauncherSession()
{
    m_process.Kill();
    for (const wchar_t* name : {L"WXLM_PORTAL_RECORD", L"WXLM_FAKE_GAME_LOG", L"WXLM_PORTAL_SCENARIO"})
        SetEnvironmentVariableW(name, nullptr);
}

void LauncherSession::SetScenario(const std::string& scenario)
{
    const std::wstring path = m_dir / L"scenario.txt";
    WriteFileBytes(path, scenario);
    SetEnvironmentVariableW(L"WXLM_PORTAL_SCENARIO", path.c_str());
}

bool LauncherSession::Start(const std::wstring& commandTail, const std::wstring& exe)
{
    return m_process.Start(exe.empty() ? MainExePath() : exe, commandTail);
}

HWND LauncherSession::WaitForWindow(std::chrono::milliseconds timeout)
{
    WaitUntil([&] { return (m_hWnd = FindLauncherWindow(m_process.Pid())) != nullptr; }, timeout);
    return m_hWnd;
}

bool LauncherSession::WaitVisible(std::chrono::milliseconds timeout)
{
    return WaitForWindow(timeout) && WaitUntil([&] { return IsWindowVisible(m_hWnd) != FALSE; }, timeout);
}

long LauncherSession::WaitExit(std::chrono::milliseconds timeout)
{
    const auto code = m_process.Wait(timeout);
    return code ? static_cast<long>(*code) : -1;
}

long LauncherSession::CloseWindow()
{
    PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return WaitExit();
}

std::vector<std::string> LauncherSession::BrowserRecords() const
{
    return Lines(ReadFileBytes(m_dir / L"browser.log").value_or(""));
}

bool LauncherSession::WaitForBrowserRecord(const std::string& prefix, std::chrono::milliseconds timeout) const
{
    return WaitUntil(
        [&] {
            for (const std::string& line : BrowserRecords()) {
                if (line.rfind(prefix, 0) == 0)
                    return true;
            }
            return false;
        },
        timeout);
}

std::vector<std::vector<std::string>> LauncherSession::GameStarts() const
{
    std::vector<std::vector<std::string>> starts;
    std::vector<std::string> arguments;
    for (const std::string& line : Lines(ReadFileBytes(m_dir / L"game.log").value_or(""))) {
        if (line == "end") {
            starts.push_back(arguments);
            arguments.clear();
        } else if (line.rfind("arg ", 0) == 0 && line.rfind("arg 0 ", 0) != 0) {
            arguments.push_back(line.substr(line.find(' ', 4) + 1));
        }
    }
    return starts;
}

bool LauncherSession::WaitForGameStart(std::chrono::milliseconds timeout) const
{
    return WaitUntil([&] { return !GameStarts().empty(); }, timeout);
}

bool LauncherSession::HasLogMessage(const std::string& message) const
{
    return CountLogMessages(message) > 0;
}

size_t LauncherSession::CountLogMessages(const std::string& message) const
{
    const std::vector<std::string> lines = m_log.NewMessages();
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), message));
}

bool LauncherSession::WaitForLogMessage(const std::string& message, std::chrono::milliseconds timeout) const
{
    return WaitUntil([&] { return HasLogMessage(message); }, timeout);
}

bool WaitPainted(HWND window)
{
    return WaitUntil([&] { return IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE); });
}

bool ClickLauncherPage(HWND launcher, POINT client, bool onPress)
{
    // The window takes its place when it shows, and the page's window its size at the first
    // layout after that: the point is looked up once both have happened.
    POINT screen{};
    HWND target = nullptr;
    const bool found = WaitUntil([&] {
        screen = client;
        ClientToScreen(launcher, &screen);
        target = WindowFromPoint(screen);
        wchar_t className[32] = {};
        GetClassNameW(target, className, 32);
        return std::wstring(className) == L"WxlmPortalPage" && !GetUpdateRect(launcher, nullptr, FALSE) &&
               !GetUpdateRect(target, nullptr, FALSE);
    });
    if (!found)
        return false;
    POINT local = screen;
    ScreenToClient(target, &local);
    const LPARAM at = MAKELPARAM(local.x, local.y);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    if (!onPress)
        PostMessageW(target, WM_LBUTTONUP, 0, at);
    return true;
}

} // namespace wxlmtest
