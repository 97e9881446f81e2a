#include "Common.h"

#include <shlobj.h>

#include <climits>
#include <cstdlib>

namespace {

std::wstring GetSpecialFolder(int csidl)
{
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE))
        return {};
    std::wstring path = buffer;
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

} // namespace

std::wstring MultiToWide(const std::string& text, UINT codePage)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring result(needed, L'\0');
    if (MultiByteToWideChar(codePage, 0, text.data(), length, result.data(), needed) != needed)
        return {};
    return result;
}

std::string WideToMulti(const std::wstring& text, UINT codePage)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string result(needed, '\0');
    if (WideCharToMultiByte(codePage, 0, text.data(), length, result.data(), needed, nullptr, nullptr) != needed)
        return {};
    return result;
}

std::wstring GetModuleDir()
{
    // A path beyond MAX_PATH is truncated silently; grow the buffer until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
    const size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos)
        path.resize(slash);
    return path;
}

std::wstring GetDesktopDir()
{
    return GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
}

std::wstring GetProgramFilesX86Dir()
{
    return GetSpecialFolder(CSIDL_PROGRAM_FILESX86);
}

std::wstring GetLocalAppDataDir()
{
    return GetSpecialFolder(CSIDL_LOCAL_APPDATA);
}

HWND HandleFromDecimal(const std::wstring& text)
{
    // A handle is as wide as a pointer: the 32-bit program reads an int, a 64-bit build all 64 bits.
    if constexpr (sizeof(INT_PTR) == sizeof(int))
        return reinterpret_cast<HWND>(static_cast<INT_PTR>(_wtoi(text.c_str())));
    else
        return reinterpret_cast<HWND>(static_cast<INT_PTR>(_wtoi64(text.c_str())));
}
