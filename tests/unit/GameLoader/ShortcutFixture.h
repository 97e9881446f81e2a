#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <optional>
#include <string>

struct LinkContents {
    std::wstring target;
    std::wstring arguments;
    std::wstring workingDir;
    std::wstring iconPath;
    int iconIndex = -1;
};

inline std::optional<LinkContents> ReadLink(const std::wstring& linkPath)
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
        FAILED(link.As(&file)) || FAILED(file->Load(linkPath.c_str(), STGM_READ)))
        return std::nullopt;
    wchar_t text[MAX_PATH * 2] = {};
    LinkContents contents;
    link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
    contents.target = text;
    text[0] = 0;
    link->GetArguments(text, MAX_PATH * 2);
    contents.arguments = text;
    text[0] = 0;
    link->GetWorkingDirectory(text, MAX_PATH * 2);
    contents.workingDir = text;
    text[0] = 0;
    link->GetIconLocation(text, MAX_PATH * 2, &contents.iconIndex);
    contents.iconPath = text;
    return contents;
}

class ComScope {
public:
    ComScope() : m_hr(CoInitialize(nullptr)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }

private:
    HRESULT m_hr;
};
