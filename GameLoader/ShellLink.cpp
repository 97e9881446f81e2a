#include "ShellLink.h"

#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "Common.h"

using Microsoft::WRL::ComPtr;

namespace {

std::wstring FolderOf(const std::wstring& path)
{
    size_t cut = path.rfind(L'\\');
    if (cut == std::wstring::npos)
        cut = path.rfind(L'/');
    return cut == std::wstring::npos ? path : path.substr(0, cut);
}

bool DescribeTarget(IShellLinkW* link, const std::wstring& target)
{
    return SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetArguments(L"")) &&
           SUCCEEDED(link->SetIconLocation(target.c_str(), 0)) &&
           SUCCEEDED(link->SetWorkingDirectory(FolderOf(target).c_str()));
}

} // namespace

bool CreateShellLink(const std::wstring& linkPath, const std::wstring& target)
{
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))))
        return false;
    // A setter that fails would save a shortcut to the wrong place; better none at all.
    if (!DescribeTarget(link.Get(), target))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link.As(&file)))
        return false;
    return SUCCEEDED(file->Save(linkPath.c_str(), FALSE));
}

std::wstring GetInstalledLauncherPath(const std::wstring& installDir)
{
    return installDir + L"\\" + GameId + L"_main.exe";
}

std::wstring GetDesktopShortcutPath()
{
    return GetDesktopDir() + L"\\" + WindowTitle + L".lnk";
}

void DeleteDesktopShortcut()
{
    DeleteFileW(GetDesktopShortcutPath().c_str());
}

void CreateDesktopShortcut(const std::wstring& installDir, const std::wstring& source)
{
    if (source == L"QV")
        return;
    CreateShellLink(GetDesktopShortcutPath(), GetInstalledLauncherPath(installDir));
}
