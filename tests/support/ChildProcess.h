#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace wxlmtest {

// A program started by a test. Ended (TerminateProcess) at the end of the
// scope if it still runs, so a failing test leaves nothing behind.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // commandTail is appended to the quoted program path after one blank.
    bool Start(const std::wstring& exePath, const std::wstring& commandTail, const std::wstring& workDir = {});
    // The exit code, or nothing when the process still runs after the time-out.
    std::optional<DWORD> Wait(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    bool IsRunning() const;
    void Kill();
    DWORD Pid() const { return m_nPid; }
    HANDLE Handle() const { return m_hProcess; }

private:
    HANDLE m_hProcess = nullptr;
    DWORD m_nPid = 0;
};

// Runs a program to its end; the exit code, or nothing on failure or time-out.
std::optional<DWORD> RunToEnd(const std::wstring& exePath, const std::wstring& commandTail,
                              std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace wxlmtest
