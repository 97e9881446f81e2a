// The registry stand-in: keys by full path under HKEY_CURRENT_USER, each holding its values.
#include "wxlm_port.h"

#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct HKEY__ {
    std::wstring path; // lower case, '\\'-separated, no leading or trailing separator
    REGSAM access;
};

namespace {

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
using Values = std::map<std::wstring, Value>;

std::map<std::wstring, Values>& Hive()
{
    static std::map<std::wstring, Values> hive{{L"", {}}};
    return hive;
}

std::wstring Folded(LPCWSTR text)
{
    std::wstring folded = text != nullptr ? text : L"";
    for (wchar_t& ch : folded)
        if (ch >= L'A' && ch <= L'Z')
            ch = static_cast<wchar_t>(ch - L'A' + L'a');
    return folded;
}

// The full path of a subkey; false for a handle that is not a key.
bool FullPath(HKEY parent, LPCWSTR subKey, std::wstring& path)
{
    if (parent == HKEY_CURRENT_USER)
        path.clear();
    else if (parent != nullptr)
        path = parent->path;
    else
        return false;
    std::wstring rest = Folded(subKey);
    while (!rest.empty() && rest.back() == L'\\')
        rest.pop_back();
    if (!rest.empty() && rest.front() == L'\\')
        return false; // Windows refuses a subkey that starts with a separator
    if (!rest.empty())
        path += (path.empty() ? L"" : L"\\") + rest;
    return true;
}

LSTATUS Open(const std::wstring& path, REGSAM access, PHKEY result)
{
    *result = new HKEY__{path, access};
    return ERROR_SUCCESS;
}

bool IsUnder(const std::wstring& path, const std::wstring& root)
{
    return path == root ||
           (path.size() > root.size() && path.compare(0, root.size(), root) == 0 && path[root.size()] == L'\\');
}

} // namespace

LSTATUS RegCreateKeyExW(HKEY parent, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM access, SECURITY_ATTRIBUTES*,
                        PHKEY result, DWORD*)
{
    std::wstring path;
    if (result == nullptr || !FullPath(parent, subKey, path))
        return ERROR_INVALID_PARAMETER;
    for (size_t cut = path.find(L'\\'); cut != std::wstring::npos; cut = path.find(L'\\', cut + 1))
        Hive()[path.substr(0, cut)];
    Hive()[path];
    return Open(path, access, result);
}

LSTATUS RegOpenKeyExW(HKEY parent, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result)
{
    std::wstring path;
    if (result == nullptr || !FullPath(parent, subKey, path))
        return ERROR_INVALID_PARAMETER;
    if (Hive().count(path) == 0)
        return ERROR_FILE_NOT_FOUND;
    return Open(path, access, result);
}

LSTATUS RegCloseKey(HKEY key)
{
    if (key == nullptr || key == HKEY_CURRENT_USER)
        return ERROR_INVALID_PARAMETER;
    delete key;
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR name, DWORD*, DWORD* type, BYTE* data, DWORD* bytes)
{
    if (key == nullptr || key == HKEY_CURRENT_USER || (data != nullptr && bytes == nullptr))
        return ERROR_INVALID_PARAMETER;
    if ((key->access & KEY_QUERY_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    const auto found = Hive().find(key->path);
    if (found == Hive().end())
        return ERROR_FILE_NOT_FOUND; // deleted while open
    const auto value = found->second.find(Folded(name));
    if (value == found->second.end())
        return ERROR_FILE_NOT_FOUND;
    if (type != nullptr)
        *type = value->second.type;
    const DWORD size = static_cast<DWORD>(value->second.data.size());
    if (bytes == nullptr)
        return ERROR_SUCCESS;
    if (data != nullptr && *bytes < size) {
        *bytes = size;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr && size > 0)
        std::memcpy(data, value->second.data.data(), size);
    *bytes = size;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD bytes)
{
    if (key == nullptr || key == HKEY_CURRENT_USER || (data == nullptr && bytes > 0))
        return ERROR_INVALID_PARAMETER;
    if ((key->access & KEY_SET_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    const auto found = Hive().find(key->path);
    if (found == Hive().end())
        return ERROR_FILE_NOT_FOUND;
    Value& value = found->second[Folded(name)];
    value.type = type;
    value.data.assign(data, data + bytes);
    return ERROR_SUCCESS;
}

LSTATUS SHDeleteKeyW(HKEY parent, LPCWSTR subKey)
{
    std::wstring path;
    if (!FullPath(parent, subKey, path) || path.empty())
        return ERROR_INVALID_PARAMETER;
    if (Hive().count(path) == 0)
        return ERROR_FILE_NOT_FOUND;
    // Subkeys sort after their parent, though not always next to it ("a b" < "a\\b").
    for (auto it = Hive().lower_bound(path); it != Hive().end() && it->first.compare(0, path.size(), path) == 0;)
        it = IsUnder(it->first, path) ? Hive().erase(it) : std::next(it);
    return ERROR_SUCCESS;
}
