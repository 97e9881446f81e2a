#include "ProcessControl.h"

#include <tlhelp32.h>

#include <array>

#include "Common.h"
#include "Logger.h"
#include "ProcessActions.h"
#include "ScopedHandle.h"

namespace {

// The executables that count as "the game is running".
constexpr std::array<const wchar_t*, 1> kGeneralProcessNames = {L"wxlm.exe"};

constexpr int kMaxStopPasses = 30;

bool EnableDebugPrivilege()
{
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken))
        return false;
    const UniqueHandle token(rawToken);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_DEBUG_NAME, &privileges.Privileges[0].Luid))
        return false;
    // AdjustTokenPrivileges "succeeds" without the privilege and reports that only in the last error.
    return AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof privileges, nullptr, nullptr) &&
           GetLastError() == ERROR_SUCCESS;
}

UniqueHandle OpenForTerminate(DWORD processId)
{
    return UniqueHandle(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
}

// Called right after the plain open failed, while its error code is still the last error.
UniqueHandle OpenWithDebugPrivilege(DWORD processId)
{
    const DWORD openError = GetLastError();
    LOG_ERROR("KillProcess", L"OpenProcess1 " << processId << L" falsed code:" << openError);

    if (EnableDebugPrivilege()) {
        LOG_ERROR("KillProcess", L"EnableDebugPrivilege " << processId << L" true");
    } else {
        const DWORD privilegeError = GetLastError();
        LOG_ERROR("KillProcess", L"EnableDebugPrivilege " << processId << L" falsed code:" << privilegeError);
    }

    UniqueHandle process = OpenForTerminate(processId);
    if (!process) {
        const DWORD reopenError = GetLastError();
        LOG_ERROR("KillProcess", L"OpenProcess2 " << processId << L" falsed code:" << reopenError);
    }
    return process;
}

void RunTaskkill(const std::wstring& name)
{
    const std::string command = "taskkill /f /im " + WideToMulti(name, CP_ACP);
    if (ProcessActions().RunHidden(command.c_str()) < 32) {
        const DWORD error = GetLastError();
        LOG_ERROR("KillGeneralProcess", L"KillProcess " << name << L" falsed code:" << error);
    }
}

} // namespace

DWORD GetProcessIdByName(const std::wstring& name)
{
    if (name.empty())
        return kNoProcessId;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return kNoProcessId;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    if (!Process32FirstW(snapshot.Get(), &entry))
        return kNoProcessId;
    while (Process32NextW(snapshot.Get(), &entry)) {
        LOG_ERROR("GetProcessIdByName", L"Process32Next processName:" << entry.szExeFile);
        if (lstrcmpW(entry.szExeFile, name.c_str()) == 0)
            return entry.th32ProcessID;
    }
    return kNoProcessId;
}

bool KillProcess(DWORD processId)
{
    UniqueHandle process = OpenForTerminate(processId);
    if (!process)
        process = OpenWithDebugPrivilege(processId);
    return process && ProcessActions().Terminate(process.Get());
}

void KillGeneralProcess()
{
    for (const wchar_t* name : kGeneralProcessNames) {
        const DWORD processId = GetProcessIdByName(name);
        if (processId != kNoProcessId && !KillProcess(processId))
            RunTaskkill(name);
    }
}

bool GeneralProcessExist()
{
    for (const wchar_t* name : kGeneralProcessNames) {
        const DWORD processId = GetProcessIdByName(name);
        if (processId == kNoProcessId)
            continue;
        LOG_ERROR("GeneralProcessExist",
                  L"GeneralProcessExist,GetProcessIdByName " << name << L" idProcess:" << processId);
        return true;
    }
    return false;
}

void StopGameProcess()
{
    for (int pass = 1; pass <= kMaxStopPasses && GeneralProcessExist(); ++pass) {
        KillGeneralProcess();
        ProcessActions().WaitBetweenPasses();
    }
}
