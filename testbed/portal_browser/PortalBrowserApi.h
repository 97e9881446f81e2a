#pragma once

// What tests and hosts need to know of the stand-in Web Browser object (see README.md).
#include <windows.h>

// {0E012313-2E0E-4F49-BC74-ECD7F6FAB4BD}
inline constexpr GUID CLSID_PortalBrowser = {
    0x0e012313, 0x2e0e, 0x4f49, {0xbc, 0x74, 0xec, 0xd7, 0xf6, 0xfa, 0xb4, 0xbd}};
inline constexpr const wchar_t* kPortalBrowserProgId = L"Wxlm.PortalBrowser";
inline constexpr const wchar_t* kPortalBrowserDll = L"portal_browser.dll";

// Exported by the DLL: the number of its COM objects alive in the process.
using WxlmPortalLiveObjectsFn = LONG(WINAPI*)();
inline constexpr const char* kPortalLiveObjectsExport = "WxlmPortalLiveObjects";
