#include "Environment.h"

#include <windows.h>

namespace wxlmportal {

std::wstring EnvironmentText(const wchar_t* name)
{
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

void SignalEnvironmentEvent(const wchar_t* name)
{
    const std::wstring eventName = EnvironmentText(name);
    if (eventName.empty()) {
        return;
    }
    if (const HANDLE hEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName.c_str())) {
        ::SetEvent(hEvent);
        ::CloseHandle(hEvent);
    }
}

} // namespace wxlmportal
