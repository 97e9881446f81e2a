#pragma once

// What the two probes (skin_probe.exe, msgbox_probe.exe) share: skin resources taken from another
// program, and a light full-screen window behind what they show, so that a screenshot shows the
// shadow as a desktop would.

#include "core/WindowManager.h"

#include <windows.h>

#include <string>

// Loads the program as the framework's resource module; false when it cannot be loaded. It stays
// loaded for the life of the process: the cached zip points into it.
inline bool UseResourcesFrom(const std::wstring& program)
{
    const HMODULE hResources = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (hResources == nullptr) {
        return false;
    }
    Tarvo::CWindowManagerUI::SetResourceInstance(hResources);
    return true;
}

inline HWND CreateBackdrop(HINSTANCE hInstance, const wchar_t* pstrTitle)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = hInstance;
    wc.hbrBackground = ::CreateSolidBrush(RGB(0xEE, 0xEF, 0xF2));
    wc.lpszClassName = L"TarvoProbeBackdrop";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, pstrTitle, WS_POPUP | WS_VISIBLE, 0, 0,
                             ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                             hInstance, nullptr);
}
