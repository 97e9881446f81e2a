// Exports of the stand-in browser DLL (named in portal_browser.def).
#include "ClassFactory.h"
#include "Environment.h"
#include "ModuleWindowClass.h"
#include "PortalBrowserApi.h"

#include <exdisp.h>
#include <olectl.h>
#include <objbase.h>

#include <string>

using namespace wxlmportal;

namespace {

bool WantsSystemBrowser()
{
    return EnvironmentText(L"WXLM_PORTAL_BROWSER") == L"system";
}

// Wine's own browser object, for a process that asked for it despite TreatAs. The module
// stays loaded: objects made from it may outlive this call.
HRESULT SystemBrowserFactory(REFIID riid, void** ppv)
{
    const HMODULE ieframe = ::LoadLibraryW(L"ieframe.dll");
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    const auto getClassObject = ieframe != nullptr ? reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(
                                                         ::GetProcAddress(ieframe, "DllGetClassObject")))
                                                   : nullptr;
    return getClassObject != nullptr ? getClassObject(CLSID_WebBrowser, riid, ppv) : CLASS_E_CLASSNOTAVAILABLE;
}

std::wstring ModulePath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(ModuleInstance(), path, ARRAYSIZE(path));
    return std::wstring(path, length);
}

std::wstring ClassKey()
{
    wchar_t clsid[64];
    ::StringFromGUID2(CLSID_PortalBrowser, clsid, ARRAYSIZE(clsid));
    return std::wstring(L"Software\\Classes\\CLSID\\") + clsid;
}

LONG SetString(const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    return ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SetModuleInstance(instance);
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        UnregisterWindowClasses();
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (clsid != CLSID_PortalBrowser && clsid != CLSID_WebBrowser) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    if (WantsSystemBrowser()) {
        return SystemBrowserFactory(riid, ppv);
    }
    return CClassFactory::Create()->QueryInterface(riid, ppv);
}

STDAPI DllCanUnloadNow()
{
    return CCountedObject::LiveObjects() == 0 && CCountedObject::ServerLocks() == 0 ? S_OK : S_FALSE;
}

// Registers the stand-in's own class (not TreatAs: that is the test prefix's business).
STDAPI DllRegisterServer()
{
    wchar_t clsid[64];
    ::StringFromGUID2(CLSID_PortalBrowser, clsid, ARRAYSIZE(clsid));
    const std::wstring server = ClassKey() + L"\\InprocServer32";
    const std::wstring progId = std::wstring(L"Software\\Classes\\") + kPortalBrowserProgId + L"\\CLSID";
    if (SetString(server, nullptr, ModulePath()) != ERROR_SUCCESS ||
        SetString(server, L"ThreadingModel", L"Apartment") != ERROR_SUCCESS ||
        SetString(progId, nullptr, clsid) != ERROR_SUCCESS) {
        return SELFREG_E_CLASS;
    }
    return S_OK;
}

STDAPI DllUnregisterServer()
{
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey().c_str());
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\") + kPortalBrowserProgId).c_str());
    return S_OK;
}

extern "C" LONG WINAPI WxlmPortalLiveObjects()
{
    return CCountedObject::LiveObjects();
}
