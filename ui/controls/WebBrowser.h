#pragma once

#include <windows.h>
#include <ole2.h>
#include <docobj.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <servprov.h>
#include <urlmon.h>
#include <wrl/client.h>

#include "controls/ActiveX.h"
#include "core/MessageFilter.h"

namespace Tarvo {

class CWebBrowserEventHandler;
class CWebBrowserDownloader;

// The system's Web Browser object in a skinned window: it opens a home page, hands the
// browser's events (DWebBrowserEvents2) to an event handler, hosts the page's documents
// (IDocHostUIHandler, services, the script-error command) and routes keys into the browser.
// Its COM interfaces are reference counted for the browser's sake only: the control belongs to
// its tree and is never deleted through them.
class CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator {
public:
    // The browser event ids the base answers; a subclass's own dispatch ids must differ.
    static constexpr DISPID kEventIds[] = {102, 105, 250, 252, 259, 271, 273};

    CWebBrowserUI();
    ~CWebBrowserUI() override;

    using CActiveXUI::Invoke;
    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void ReleaseHostedObject() override;                                                       // 77
    bool CreateHostedObject() override;                                                        // 78
    virtual HRESULT Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, // 79
                             BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP);

    // S_FALSE without a URL or before the browser exists; otherwise what Navigate2 answers.
    HRESULT NavigateTo(const wchar_t* pstrUrl);
    // The control does not own the handler.
    void SetEventHandler(CWebBrowserEventHandler* pHandler);
    CWebBrowserEventHandler* EventHandler() const { return m_pEventHandler; }
    // Advise or unadvise the control's IDispatch on the browser's DWebBrowserEvents2; E_PENDING
    // without a browser object, else the first failing result.
    HRESULT ConnectEvents(bool bConnect);

    IWebBrowser2* WebBrowser() const { return m_pWebBrowser.Get(); }
    CUIString HomePage() const { return m_strHomePage; }
    void SetHomePage(const wchar_t* pstrUrl) { m_strHomePage = pstrUrl; }
    bool IsAutoNavigate() const { return m_bAutoNavigate; }
    void SetAutoNavigate(bool bAutoNavigate) { m_bAutoNavigate = bAutoNavigate; }
    // References the browser (and anyone else) holds on the control's COM interfaces.
    ULONG ComRefCount() const { return static_cast<ULONG>(m_comRefCount); }

    // IUnknown, shared by the four interfaces.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* pInfo) override;
    STDMETHODIMP ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                        IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP EnableModeless(BOOL fEnable) override;
    STDMETHODIMP OnDocWindowActivate(BOOL fActivate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL fActivate) override;
    STDMETHODIMP ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow) override;
    STDMETHODIMP TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw) override;
    STDMETHODIMP GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHODIMP GetExternal(IDispatch** ppDispatch) override;
    STDMETHODIMP TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) override;
    STDMETHODIMP FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) override;

    // IServiceProvider
    STDMETHODIMP QueryService(REFGUID guidService, REFIID riid, void** ppvObject) override;

    // IOleCommandTarget
    STDMETHODIMP QueryStatus(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[], OLECMDTEXT* pCmdText) override;
    STDMETHODIMP Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                      VARIANT* pvaOut) override;

    // IDispatch: the browser's event sink and the page's window.external.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // ITranslateAccelerator: keys go to the browser first while the focus is inside its window.
    LRESULT TranslateKey(MSG* pMsg) override;

private:
    HRESULT OnBeforeNavigate2(DISPPARAMS* pDispParams, UINT* puArgErr);
    HRESULT OnNavigateComplete2(DISPPARAMS* pDispParams, UINT* puArgErr);
    HRESULT OnDocumentComplete(DISPPARAMS* pDispParams, UINT* puArgErr);
    HRESULT OnNavigateError(DISPPARAMS* pDispParams, UINT* puArgErr);
    HRESULT OnNewWindow3(DISPPARAMS* pDispParams, UINT* puArgErr);
    HRESULT OnCommandStateChange(DISPPARAMS* pDispParams, UINT* puArgErr);
    void BecomeDocumentHost();
    HRESULT ShowScriptError(VARIANT* pvaIn, VARIANT* pvaOut);
    bool HasFocusInside() const;
    void RemoveTranslator();
    void Disconnect();

    Microsoft::WRL::ComPtr<IWebBrowser2> m_pWebBrowser;
    LONG m_comRefCount = 0;
    DWORD m_dwEventCookie = 0;
    CUIString m_strHomePage;
    bool m_bAutoNavigate = false;
    CWebBrowserEventHandler* m_pEventHandler = nullptr;
    // The manager holding the translator: the control may be detached by the time it goes.
    CWindowManagerUI* m_pTranslatorManager = nullptr;
    Microsoft::WRL::ComPtr<CWebBrowserDownloader> m_pDownloader;
};

} // namespace Tarvo
