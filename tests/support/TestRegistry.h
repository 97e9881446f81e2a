#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace wxlmtest {

bool DeleteRegKey(HKEY root, const std::wstring& subKey);  // the key and all below it
bool WriteRegString(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& value);
std::optional<std::wstring> ReadRegString(HKEY root, const std::wstring& subKey, const std::wstring& name);

// Deletes the key at the start and at the end of the scope.
class ScopedRegKeyCleanup {
public:
    ScopedRegKeyCleanup(HKEY root, std::wstring subKey);
    ~ScopedRegKeyCleanup();
    ScopedRegKeyCleanup(const ScopedRegKeyCleanup&) = delete;
    ScopedRegKeyCleanup& operator=(const ScopedRegKeyCleanup&) = delete;

private:
    HKEY m_hRoot;
    std::wstring m_strSubKey;
};

}  // namespace wxlmtest
