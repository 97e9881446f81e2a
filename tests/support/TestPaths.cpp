#include "TestPaths.h"

#include <windows.h>
#include <shlobj.h>

namespace wxlmtest {

namespace {

std::wstring ParentOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(0, slash);
}

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, TRUE))
        return {};
    return path;
}

}  // namespace

std::wstring ModuleDir()
{
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return ParentOf(path);
}

std::wstring BuildDir() { return ParentOf(ModuleDir()); }

std::wstring SourceDir()
{
    // A Unix path is reached through Wine's Z: drive.
    std::string unixPath = WXLM_SOURCE_DIR;
    std::wstring path(unixPath.begin(), unixPath.end());
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return L"Z:" + path;
}
std::wstring MainExePath() { return BuildDir() + L"\\bin\\wxlm_main.exe"; }
std::wstring TestbedPath(const std::wstring& exeName) { return BuildDir() + L"\\testbed\\" + exeName; }
std::wstring LocalAppDataDir() { return SpecialFolder(CSIDL_LOCAL_APPDATA); }
std::wstring DesktopDir() { return SpecialFolder(CSIDL_DESKTOPDIRECTORY); }
std::wstring ClientDir() { return LocalAppDataDir() + L"\\Quillvarinth"; }
std::wstring ClientSettingsPath() { return ClientDir() + L"\\setting.xml"; }
std::wstring LogDir() { return ClientDir() + L"\\Log"; }

std::wstring TodaysLogPath(const std::wstring& exeName)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LogDir() + L"\\" + exeName + L"_" + std::to_wstring(now.wYear) + L"_" + std::to_wstring(now.wMonth) +
           L"_" + std::to_wstring(now.wDay) + L".log";
}

}  // namespace wxlmtest
