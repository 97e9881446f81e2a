#include "GameStart.h"

#include <windows.h>
#include <shellapi.h>

static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOW) == 60, "the 32-bit execution record");

bool StartGameElevated(const std::wstring& exePath, const std::wstring& commandLine)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpVerb = L"runas";
    info.lpFile = exePath.c_str();
    info.lpParameters = commandLine.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}
