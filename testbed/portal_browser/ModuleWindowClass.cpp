#include "ModuleWindowClass.h"

#include <string>
#include <vector>

namespace wxlmportal {

namespace {
HINSTANCE g_instance = nullptr;
std::vector<std::wstring> g_classes;
} // namespace

HINSTANCE ModuleInstance()
{
    return g_instance;
}

void SetModuleInstance(HINSTANCE instance)
{
    g_instance = instance;
}

bool EnsureWindowClass(const wchar_t* name, WNDPROC proc)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(g_instance, name, &existing)) {
        return true;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = g_instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    if (::RegisterClassExW(&wc) == 0) {
        return false;
    }
    g_classes.emplace_back(name);
    return true;
}

void UnregisterWindowClasses()
{
    for (const std::wstring& name : g_classes) {
        ::UnregisterClassW(name.c_str(), g_instance);
    }
    g_classes.clear();
}

} // namespace wxlmportal
