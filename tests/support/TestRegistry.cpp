#include "TestRegistry.h"

#include <shlwapi.h>

#include <vector>

namespace wxlmtest {

bool DeleteRegKey(HKEY root, const std::wstring& subKey)
{
    const LSTATUS status = SHDeleteKeyW(root, subKey.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool WriteRegString(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const LSTATUS status = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

std::optional<std::wstring> ReadRegString(HKEY root, const std::wstring& subKey, const std::wstring& name)
{
    DWORD size = 0;
    if (RegGetValueW(root, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(root, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer.data());
}

ScopedRegKeyCleanup::ScopedRegKeyCleanup(HKEY root, std::wstring subKey) : m_hRoot(root), m_strSubKey(std::move(subKey))
{
    DeleteRegKey(m_hRoot, m_strSubKey);
}

ScopedRegKeyCleanup::~ScopedRegKeyCleanup() { DeleteRegKey(m_hRoot, m_strSubKey); }

}  // namespace wxlmtest
