#pragma once

// An in-process OLE control for the ActiveX host tests: it counts its references, records what
// its host asks of it, and activates in place the way real controls do (windowed in a child
// window of its own, or windowless through IOleInPlaceSiteWindowless).

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace activextest {

struct FakeOptions {
    DWORD miscStatus = 0;
    bool windowless = false;
    HRESULT initNewResult = S_OK;
    bool hasOleObject = true;
    bool hasPersist = true;
    bool hasView = true;
    bool hasObjectWithSite = true;
    bool runnable = false;
};

class CFakeOleObject : public IOleObject,
                       public IOleInPlaceObjectWindowless,
                       public IOleInPlaceActiveObject,
                       public IViewObjectEx,
                       public IPersistStreamInit,
                       public IObjectWithSite,
                       public IOleControl,
                       public IRunnableObject {
public:
    explicit CFakeOleObject(FakeOptions options = {});
    virtual ~CFakeOleObject();
    CFakeOleObject(const CFakeOleObject&) = delete;
    CFakeOleObject& operator=(const CFakeOleObject&) = delete;

    // What the host did, in order ("SetClientSite(site)", "InitNew", "DoVerb(-5)", ...).
    std::vector<std::string> calls;
    // Interfaces asked for by name (only those the fake knows a name of).
    std::vector<std::string> queried;
    LONG RefCount() const { return m_ref; }
    HWND OwnWindow() const { return m_hWnd; }
    IOleClientSite* ClientSite() const { return m_pClientSite.Get(); }
    IOleInPlaceSite* InPlaceSite() const { return m_pInPlaceSite.Get(); }
    IUnknown* Site() const { return m_pSite.Get(); }
    bool IsInPlaceActive() const { return m_bInPlace; }
    bool HasFrame() const { return static_cast<bool>(m_pFrame); }
    LONG LockCount() const { return m_nLocks; }
    // Calls not matching the prefix are left out.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
    bool Called(const std::string& call) const;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* pClientSite) override;
    STDMETHODIMP GetClientSite(IOleClientSite** ppClientSite) override;
    STDMETHODIMP SetHostNames(LPCOLESTR szContainerApp, LPCOLESTR szContainerObj) override;
    STDMETHODIMP Close(DWORD dwSaveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex, HWND hwndParent,
                        LPCRECT lprcPosRect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }

    // IOleInPlaceObject / IOleInPlaceObjectWindowless
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) override;
    STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

    // IOleInPlaceActiveObject
    STDMETHODIMP TranslateAccelerator(LPMSG lpmsg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IViewObject / IViewObject2 / IViewObjectEx
    STDMETHODIMP Draw(DWORD dwDrawAspect, LONG lindex, void* pvAspect, DVTARGETDEVICE* ptd, HDC hdcTargetDev,
                      HDC hdcDraw, LPCRECTL lprcBounds, LPCRECTL lprcWBounds, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                      ULONG_PTR) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
    STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) override { return E_NOTIMPL; }
    STDMETHODIMP GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewStatus(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryHitPoint(DWORD dwAspect, LPCRECT pRectBounds, POINT ptlLoc, LONG lCloseHint,
                               DWORD* pHitResult) override;
    STDMETHODIMP QueryHitRect(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* pUnkSite) override;
    STDMETHODIMP GetSite(REFIID, void**) override { return E_NOTIMPL; }

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
    STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

    // IRunnableObject
    STDMETHODIMP GetRunningClass(LPCLSID) override { return E_NOTIMPL; }
    STDMETHODIMP Run(LPBINDCTX) override { return S_OK; }
    BOOL STDMETHODCALLTYPE IsRunning() override { return TRUE; }
    STDMETHODIMP LockRunning(BOOL fLock, BOOL fLastUnlockCloses) override;
    STDMETHODIMP SetContainedObject(BOOL) override { return S_OK; }

protected:
    // The interface for an id, or null; subclasses add theirs.
    virtual IUnknown* FindInterface(REFIID riid);
    void Record(std::string call) { calls.push_back(std::move(call)); }
    FakeOptions m_options;

private:
    HRESULT ActivateInPlace(IOleClientSite* pActiveSite, HWND hwndParent);
    HRESULT ActivateWindowed(HWND hwndParent);
    HRESULT ActivateWindowless();

    LONG m_ref = 1;
    LONG m_nLocks = 0;
    HWND m_hWnd = nullptr;
    bool m_bInPlace = false;
    bool m_bUIActive = false;
    Microsoft::WRL::ComPtr<IOleClientSite> m_pClientSite;
    Microsoft::WRL::ComPtr<IOleInPlaceSite> m_pInPlaceSite;
    Microsoft::WRL::ComPtr<IOleInPlaceFrame> m_pFrame;
    Microsoft::WRL::ComPtr<IOleInPlaceUIWindow> m_pDoc;
    Microsoft::WRL::ComPtr<IUnknown> m_pSite;
};

// Makes fakes of one kind and keeps the last one it made (one reference of its own).
class CFakeClassFactory : public IClassFactory {
public:
    using Maker = CFakeOleObject* (*)(const FakeOptions&);
    explicit CFakeClassFactory(FakeOptions options, Maker maker = nullptr);
    virtual ~CFakeClassFactory() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_ref; }
    STDMETHODIMP_(ULONG) Release() override { return --m_ref; }
    STDMETHODIMP CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    Microsoft::WRL::ComPtr<CFakeOleObject> last;
    int created = 0;

private:
    FakeOptions m_options;
    Maker m_maker;
    LONG m_ref = 1;
};

// The factory answers CoCreateInstance for a class id in this process while the scope lasts.
class ScopedClassRegistration {
public:
    ScopedClassRegistration(REFCLSID clsid, IClassFactory* pFactory);
    ~ScopedClassRegistration();
    ScopedClassRegistration(const ScopedClassRegistration&) = delete;
    ScopedClassRegistration& operator=(const ScopedClassRegistration&) = delete;
    bool Ok() const { return m_dwCookie != 0; }

private:
    DWORD m_dwCookie = 0;
};

// OleInitialize for the scope (the host needs a single-threaded apartment).
class ScopedOle {
public:
    ScopedOle() : m_hr(::OleInitialize(nullptr)) {}
    ~ScopedOle()
    {
        if (SUCCEEDED(m_hr)) {
            ::OleUninitialize();
        }
    }
    ScopedOle(const ScopedOle&) = delete;
    ScopedOle& operator=(const ScopedOle&) = delete;

private:
    HRESULT m_hr;
};

// A class id no registry knows; the tests register their fakes under it.
extern const CLSID CLSID_FakeOleObject;

std::string RectText(const RECT& rc);

} // namespace activextest
