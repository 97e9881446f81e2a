#include "ChildProcess.h"

#include <utility>
#include <vector>

namespace wxlmtest {

ChildProcess::~ChildProcess() { Kill(); }

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_hProcess(std::exchange(other.m_hProcess, nullptr)), m_nPid(std::exchange(other.m_nPid, 0))
{
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept
{
    if (this != &other) {
        Kill();
        m_hProcess = std::exchange(other.m_hProcess, nullptr);
        m_nPid = std::exchange(other.m_nPid, 0);
    }
    return *this;
}

bool ChildProcess::Start(const std::wstring& exePath, const std::wstring& commandTail, const std::wstring& workDir)
{
    Kill();
    std::wstring command = L"\"" + exePath + L"\"";
    if (!commandTail.empty())
        command += L" " + commandTail;
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    m_nPid = pi.dwProcessId;
    return true;
}

std::optional<DWORD> ChildProcess::Wait(std::chrono::milliseconds timeout)
{
    if (!m_hProcess || WaitForSingleObject(m_hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(m_hProcess, &code);
    return code;
}

bool ChildProcess::IsRunning() const
{
    return m_hProcess && WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Kill()
{
    if (!m_hProcess)
        return;
    if (IsRunning()) {
        TerminateProcess(m_hProcess, 9);
        WaitForSingleObject(m_hProcess, 5000);
    }
    CloseHandle(m_hProcess);
    m_hProcess = nullptr;
    m_nPid = 0;
}

std::optional<DWORD> RunToEnd(const std::wstring& exePath, const std::wstring& commandTail,
                              std::chrono::milliseconds timeout)
{
    ChildProcess process;
    if (!process.Start(exePath, commandTail))
        return std::nullopt;
    return process.Wait(timeout);
}

}  // namespace wxlmtest
