#pragma once

#include <windows.h>

namespace wxlmportal {

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);

// Registers a window class of this DLL once. The classes are unregistered when the DLL is
// unloaded, or a later load would find them pointing into the freed image.
bool EnsureWindowClass(const wchar_t* name, WNDPROC proc);
void UnregisterWindowClasses();

// The object a window was created for (CreateWindowExW's lpParam), kept in GWLP_USERDATA.
template <class T> T* WindowOwner(HWND hwnd, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        return owner;
    }
    return reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

} // namespace wxlmportal
