#include "FakeWebBrowser.h"

#include <olectl.h>

using Microsoft::WRL::ComPtr;

namespace activextest {

namespace {

constexpr DWORD kCookie = 0x5A;

} // namespace

STDMETHODIMP CFakeDocument::QueryInterface(REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *ppv = static_cast<IDispatch*>(this);
    } else if (riid == __uuidof(ICustomDoc)) {
        *ppv = static_cast<ICustomDoc*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CFakeDocument::Release()
{
    const LONG nRef = --m_ref;
    if (nRef == 0) {
        delete this;
    }
    return static_cast<ULONG>(nRef);
}

STDMETHODIMP CFakeDocument::SetUIHandler(IDocHostUIHandler* pUIHandler)
{
    ++handlerSets;
    uiHandler = pUIHandler;
    return S_OK;
}

CFakeWebBrowser::CFakeWebBrowser(FakeOptions options) : CFakeOleObject(options), m_pDocument(new CFakeDocument) {}

CFakeWebBrowser::~CFakeWebBrowser()
{
    m_pDocument->Release();
}

IUnknown* CFakeWebBrowser::FindInterface(REFIID riid)
{
    if (riid == IID_IWebBrowser2 || riid == IID_IWebBrowser || riid == IID_IWebBrowserApp) {
        return static_cast<IWebBrowser2*>(this);
    }
    if (riid == IID_IDispatch) {
        return static_cast<IWebBrowser2*>(this);
    }
    if (riid == IID_IConnectionPointContainer) {
        return static_cast<IConnectionPointContainer*>(this);
    }
    return CFakeOleObject::FindInterface(riid);
}

STDMETHODIMP CFakeWebBrowser::Close(DWORD dwSaveOption)
{
    // A closed browser lets go of its document's host.
    m_pDocument->uiHandler.Reset();
    return CFakeOleObject::Close(dwSaveOption);
}

STDMETHODIMP CFakeWebBrowser::Navigate2(VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
{
    navigationTypes.push_back(URL != nullptr ? URL->vt : static_cast<VARTYPE>(VT_ILLEGAL));
    navigations.push_back(URL != nullptr && URL->vt == VT_BSTR && URL->bstrVal != nullptr ? URL->bstrVal : L"");
    Record("Navigate2");
    return S_OK;
}

STDMETHODIMP CFakeWebBrowser::get_Document(IDispatch** ppDisp)
{
    *ppDisp = nullptr;
    if (!documentAvailable) {
        return S_FALSE;
    }
    *ppDisp = m_pDocument;
    m_pDocument->AddRef();
    return S_OK;
}

STDMETHODIMP CFakeWebBrowser::put_Silent(VARIANT_BOOL bSilent)
{
    silent = bSilent != VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP CFakeWebBrowser::get_LocationURL(BSTR* LocationURL)
{
    *LocationURL = ::SysAllocString(navigations.empty() ? L"" : navigations.back().c_str());
    return S_OK;
}

STDMETHODIMP CFakeWebBrowser::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    *ppCP = nullptr;
    if (riid != DIID_DWebBrowserEvents2) {
        return CONNECT_E_NOCONNECTION;
    }
    *ppCP = this;
    AddRef();
    return S_OK;
}

STDMETHODIMP CFakeWebBrowser::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    ++adviseCount;
    if (sink) {
        return CONNECT_E_ADVISELIMIT;
    }
    if (FAILED(pUnkSink->QueryInterface(IID_PPV_ARGS(sink.GetAddressOf())))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    *pdwCookie = kCookie;
    return S_OK;
}

STDMETHODIMP CFakeWebBrowser::Unadvise(DWORD dwCookie)
{
    ++unadviseCount;
    if (dwCookie != kCookie || !sink) {
        return CONNECT_E_NOCONNECTION;
    }
    sink.Reset();
    return S_OK;
}

HRESULT CFakeWebBrowser::Fire(DISPID id, DISPPARAMS& params, UINT* puArgErr)
{
    if (!sink) {
        return E_FAIL;
    }
    return sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, puArgErr);
}

} // namespace activextest
