// The resource table of the one module a harness has: bytes the harness owns, found by type and
// name as FindResourceW finds them.
#include "wxlm_gdi.h"

#include <cwctype>
#include <list>
#include <string>

struct HRSRC__ {
    std::wstring type;
    std::wstring name;
    const void* bytes = nullptr;
    DWORD size = 0;
};

namespace {

std::list<HRSRC__>& Table()
{
    static std::list<HRSRC__> table;
    return table;
}

// Integer names as "#n" (which Windows also takes as the number n), strings without case.
std::wstring Key(LPCWSTR name)
{
    if (IS_INTRESOURCE(name))
        return L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name));
    std::wstring key(name);
    for (wchar_t& c : key)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return key;
}

HRSRC__* Find(LPCWSTR type, LPCWSTR name)
{
    if (type == nullptr || name == nullptr)
        return nullptr;
    const std::wstring typeKey = Key(type);
    const std::wstring nameKey = Key(name);
    for (HRSRC__& entry : Table()) {
        if (entry.type == typeKey && entry.name == nameKey)
            return &entry;
    }
    return nullptr;
}

} // namespace

HRSRC FindResourceW(HMODULE, LPCWSTR name, LPCWSTR type)
{
    return Find(type, name);
}

HGLOBAL LoadResource(HMODULE, HRSRC resource)
{
    return resource;
}

LPVOID LockResource(HGLOBAL data)
{
    return data != nullptr ? const_cast<void*>(static_cast<HRSRC__*>(data)->bytes) : nullptr;
}

DWORD SizeofResource(HMODULE, HRSRC resource)
{
    return resource != nullptr ? resource->size : 0;
}

namespace wxlm_port {

void SetResource(LPCWSTR type, LPCWSTR name, const void* bytes, DWORD size)
{
    HRSRC__* entry = Find(type, name);
    if (entry == nullptr) {
        Table().push_back({Key(type), Key(name), nullptr, 0});
        entry = &Table().back();
    }
    entry->bytes = bytes;
    entry->size = size;
}

} // namespace wxlm_port
