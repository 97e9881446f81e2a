#pragma once

#include "BrowserEventPoint.h"
#include "BrowserEvents.h"
#include "CountedObject.h"
#include "NavigationPlayer.h"
#include "PageWindow.h"
#include "PortalDocument.h"
#include "Scenario.h"
#include "WebBrowser2Stubs.h"

#include <ocidl.h>
#include <oleidl.h>

namespace wxlmportal {

// The stand-in Web Browser object: a windowed OLE control whose navigations, events, page
// script and painted page come from the scenario (README.md), recording what it is asked.
class CPortalBrowser : public CWebBrowser2Stubs,
                       public IOleObject,
                       public IOleInPlaceObject,
                       public IOleInPlaceActiveObject,
                       public IViewObject2,
                       public IPersistStreamInit,
                       public IObjectWithSite,
                       public IOleControl,
                       public IConnectionPointContainer,
                       public IPageOwner,
                       public CCountedObject {
public:
    static ComPtr<CPortalBrowser> Create() { return AdoptNew(new CPortalBrowser()); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefCount(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseCount(); }

    // IWebBrowser2 (the rest answer E_NOTIMPL)
    STDMETHODIMP Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* postData, VARIANT* headers) override;
    STDMETHODIMP Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData, VARIANT* headers) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP get_Application(IDispatch** application) override;
    STDMETHODIMP get_Document(IDispatch** document) override;
    STDMETHODIMP get_LocationURL(BSTR* url) override;
    STDMETHODIMP get_LocationName(BSTR* name) override;
    STDMETHODIMP get_Busy(VARIANT_BOOL* busy) override;
    STDMETHODIMP get_ReadyState(READYSTATE* state) override;
    STDMETHODIMP get_Visible(VARIANT_BOOL* visible) override;
    STDMETHODIMP put_Visible(VARIANT_BOOL visible) override;
    STDMETHODIMP get_Silent(VARIANT_BOOL* silent) override;
    STDMETHODIMP put_Silent(VARIANT_BOOL silent) override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* activeSite, LONG index, HWND parent,
                        LPCRECT position) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink*, DWORD* connection) override;
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDevice, HDC dc,
                      LPCRECTL bounds, LPCRECTL windowBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                      ULONG_PTR contArg) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID riid, void** site) override;

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

    // IPageOwner
    PageView View() const override;
    void OnPageClick(PageHit hit) override;

private:
    CPortalBrowser();
    ~CPortalBrowser() override;

    IDispatch* Self() { return static_cast<IWebBrowser2*>(this); }
    HRESULT StartNavigation(const std::wstring& url);
    void QueuePage(const std::wstring& url, const PageRule& page);
    void QueueFrame(const FrameSpec& frame);
    void LoadTopDocument(const std::wstring& url, const PageRule& page);
    void CompleteTopDocument(const std::wstring& url);
    void RunScriptStep(const ScriptStep& step);
    void OpenNewWindow(const std::wstring& url);

    HRESULT InPlaceActivate(IOleClientSite* site, bool uiActivate);
    HRESULT CreateInPlaceWindow(IOleInPlaceSite* site);

    CBrowserEventPoint m_eventPoint{*this};
    CBrowserEvents m_events{m_eventPoint};
    CNavigationPlayer m_player;
    CPageWindow m_window{*this};
    CScenario m_scenario;

    ComPtr<IOleClientSite> m_clientSite;
    ComPtr<IUnknown> m_site;
    ComPtr<IOleInPlaceSite> m_inPlaceSite;
    ComPtr<IOleInPlaceFrame> m_frame;
    ComPtr<IOleInPlaceUIWindow> m_uiWindow;
    ComPtr<IAdviseSink> m_viewSink;
    DWORD m_viewAspects = 0;
    DWORD m_viewFlags = 0;
    ComPtr<CPortalDocument> m_document;

    std::wstring m_location;
    PageRule m_page;
    bool m_loaded = false;
    std::optional<LONG> m_errorStatus;
    bool m_uiActive = false;
    VARIANT_BOOL m_silent = VARIANT_FALSE;
    VARIANT_BOOL m_visible = VARIANT_TRUE;
    SIZEL m_extent{25400, 16404}; // 960 x 620 pixels at 96 dpi
};

} // namespace wxlmportal
