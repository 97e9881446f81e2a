#include "LauncherRun.h"

#include <vector>

#include "TestPaths.h"

namespace wxlmtest {

namespace {

int g_windowsCreated = 0;

void CALLBACK OnWindowCreated(HWINEVENTHOOK, DWORD, HWND, LONG idObject, LONG idChild, DWORD, DWORD)
{
    if (idObject == OBJID_WINDOW && idChild == CHILDID_SELF)
        ++g_windowsCreated;
}

// Waits for the process while delivering the out-of-context window events to this thread.
bool WaitPumping(HANDLE process, std::chrono::milliseconds timeout, bool endAtFirstWindow)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout.count());
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        const DWORD wait =
            MsgWaitForMultipleObjects(1, &process, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        if (wait == WAIT_OBJECT_0)
            return true;
        if (endAtFirstWindow && g_windowsCreated > 0)
            return false;
    }
}

} // namespace

std::wstring QuoteArgument(const std::wstring& argument)
{
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

LauncherRun RunLauncher(const std::wstring& commandTail, std::chrono::milliseconds timeout)
{
    return RunWatched(MainExePath(), commandTail, timeout, false);
}

LauncherRun RunWatched(const std::wstring& exe, const std::wstring& commandTail, std::chrono::milliseconds timeout,
                       bool endAtFirstWindow)
{
    LauncherRun run;
    std::wstring command = L"\"" + exe + L"\"";
    if (!commandTail.empty())
        command += L" " + commandTail;
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                        &pi))
        return run;
    g_windowsCreated = 0;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnWindowCreated,
                                         pi.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
    ResumeThread(pi.hThread);
    if (WaitPumping(pi.hProcess, timeout, endAtFirstWindow)) {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        run.exitCode = code;
    } else {
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    if (hook)
        UnhookWinEvent(hook);
    run.windowsCreated = g_windowsCreated;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

} // namespace wxlmtest
