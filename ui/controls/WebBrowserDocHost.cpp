// The browser control as the documents' host: UI handler, services and commands.

#include "controls/WebBrowser.h"

#include "controls/ComRefCount.h"
#include "controls/WebBrowserDownloader.h"
#include "controls/WebBrowserEventHandler.h"

#include <mshtml.h>

using Microsoft::WRL::ComPtr;

namespace Tarvo {

namespace {

// CGID_DocHostCommandHandler; the import libraries do not carry it.
constexpr GUID kDocHostCommandGroup = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};
// SID_SDownloadManager is the interface id itself.
const GUID& DownloadManagerService()
{
    return __uuidof(IDownloadManager);
}

constexpr LCID kScriptErrorLocale = 0x800;
constexpr DWORD kHostFlags = DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER;
static_assert(sizeof(void*) != 4 || sizeof(DOCHOSTUIINFO) == 20, "the host info record of a 32-bit process");

template <class T> HRESULT NotImplementedWithNullOut(T** ppOut)
{
    if (ppOut != nullptr) {
        *ppOut = nullptr;
    }
    return E_NOTIMPL;
}

// The event object of the document's window, which describes the script error being reported.
ComPtr<IHTMLEventObj> ScriptErrorEvent(const VARIANT* pvaIn)
{
    if (pvaIn == nullptr || (pvaIn->vt != VT_UNKNOWN && pvaIn->vt != VT_DISPATCH) || pvaIn->punkVal == nullptr) {
        return nullptr;
    }
    ComPtr<IHTMLDocument2> pDocument;
    ComPtr<IHTMLWindow2> pWindow;
    ComPtr<IHTMLEventObj> pEvent;
    if (FAILED(pvaIn->punkVal->QueryInterface(IID_PPV_ARGS(pDocument.GetAddressOf()))) || !pDocument ||
        FAILED(pDocument->get_parentWindow(pWindow.GetAddressOf())) || !pWindow ||
        FAILED(pWindow->get_event(pEvent.GetAddressOf()))) {
        return nullptr;
    }
    return pEvent;
}

HRESULT ReadProperty(IDispatch* pObject, const wchar_t* pstrName)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR pName = const_cast<LPOLESTR>(pstrName);
    HRESULT hr = pObject->GetIDsOfNames(IID_NULL, &pName, 1, kScriptErrorLocale, &id);
    if (FAILED(hr)) {
        return hr;
    }
    DISPPARAMS noArgs = {};
    VARIANT value;
    ::VariantInit(&value);
    hr = pObject->Invoke(id, IID_NULL, kScriptErrorLocale, DISPATCH_PROPERTYGET, &noArgs, &value, nullptr, nullptr);
    ::VariantClear(&value);
    return hr;
}

} // namespace

// ---- IDocHostUIHandler ----------------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (pInfo == nullptr) {
        return E_POINTER;
    }
    pInfo->cbSize = sizeof(DOCHOSTUIINFO);
    pInfo->dwFlags |= kHostFlags;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                   IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                   IOleInPlaceUIWindow* pDoc)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc)
                                      : S_OK;
}

STDMETHODIMP CWebBrowserUI::HideUI()
{
    return m_pEventHandler != nullptr ? m_pEventHandler->HideUI() : S_OK;
}

STDMETHODIMP CWebBrowserUI::UpdateUI()
{
    return m_pEventHandler != nullptr ? m_pEventHandler->UpdateUI() : S_OK;
}

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL fEnable)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->EnableModeless(fEnable) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL fActivate)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->OnDocWindowActivate(fActivate) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL fActivate)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->OnFrameWindowActivate(fActivate) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->ResizeBorder(prcBorder, pUIWindow, fRameWindow)
                                      : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID)
                                      : S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->GetOptionKeyPath(pchKey, dw) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->GetDropTarget(pDropTarget, ppDropTarget) : S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch == nullptr) {
        return E_POINTER;
    }
    return UIHandOutInterface(static_cast<IDispatch*>(this), reinterpret_cast<void**>(ppDispatch));
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut)
                                      : NotImplementedWithNullOut(ppchURLOut);
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->FilterDataObject(pDO, ppDORet)
                                      : NotImplementedWithNullOut(ppDORet);
}

HRESULT CWebBrowserUI::Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
                                LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP)
{
    return m_pEventHandler != nullptr ? m_pEventHandler->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo,
                                                                  pszHeaders, pszRedir, uiCP)
                                      : S_OK;
}

// ---- IServiceProvider -----------------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID guidService, REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    *ppvObject = nullptr;
    if (guidService != DownloadManagerService() || riid != __uuidof(IDownloadManager)) {
        return E_NOINTERFACE;
    }
    if (!m_pDownloader) {
        m_pDownloader = UIAdoptNew(new CWebBrowserDownloader(this));
    }
    return UIHandOutInterface(static_cast<IDownloadManager*>(m_pDownloader.Get()), ppvObject);
}

// ---- IOleCommandTarget ----------------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CWebBrowserUI::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD /*nCmdexecopt*/, VARIANT* pvaIn,
                                 VARIANT* pvaOut)
{
    if (pguidCmdGroup == nullptr || *pguidCmdGroup != kDocHostCommandGroup) {
        return OLECMDERR_E_UNKNOWNGROUP;
    }
    if (nCmdID != OLECMDID_SHOWSCRIPTERROR) {
        return OLECMDERR_E_NOTSUPPORTED;
    }
    return ShowScriptError(pvaIn, pvaOut);
}

// The error's details are looked at but not kept; the page goes on running its scripts and no
// dialog appears.
HRESULT CWebBrowserUI::ShowScriptError(VARIANT* pvaIn, VARIANT* pvaOut)
{
    HRESULT hr = S_OK;
    if (const ComPtr<IHTMLEventObj> pEvent = ScriptErrorEvent(pvaIn)) {
        for (const wchar_t* pstrName : {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage", L"errorUrl"}) {
            hr = ReadProperty(pEvent.Get(), pstrName);
        }
    }
    if (pvaOut != nullptr) {
        pvaOut->vt = VT_BOOL;
        pvaOut->boolVal = VARIANT_TRUE;
    }
    return hr;
}

} // namespace Tarvo
