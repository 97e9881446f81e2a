// The browser control's COM identity and its IDispatch: the browser's event sink.

#include "controls/WebBrowser.h"

#include "controls/ComRefCount.h"
#include "controls/WebBrowserEventArgs.h"
#include "controls/WebBrowserEventHandler.h"

#include <exdispid.h>

#include <cwchar>

using Microsoft::WRL::ComPtr;

namespace Tarvo {

namespace {

using Arg = UIEventArg;

struct ScriptName {
    const wchar_t* name;
    DISPID id;
};

// Names a page may look up; none of them is served by Invoke.
constexpr ScriptName kScriptNames[] = {
    {L"CB_LocalWeatherInfo", 1},
    {L"CB_NewsUrlOpenInfo", 2},
    {L"CB_NewsRef", 3},
};

} // namespace

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    IUnknown* pInterface = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDocHostUIHandler) {
        pInterface = static_cast<IDocHostUIHandler*>(this);
    } else if (riid == IID_IServiceProvider) {
        pInterface = static_cast<IServiceProvider*>(this);
    } else if (riid == IID_IOleCommandTarget) {
        pInterface = static_cast<IOleCommandTarget*>(this);
    } else if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2) {
        pInterface = static_cast<IDispatch*>(this);
    }
    return UIHandOutInterface(pInterface, ppvObject);
}

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_comRefCount));
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release()
{
    return static_cast<ULONG>(::InterlockedDecrement(&m_comRefCount));
}

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo != nullptr) {
        *pctinfo = 0;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT /*iTInfo*/, LCID /*lcid*/, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr) {
        *ppTInfo = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* rgszNames, UINT cNames, LCID /*lcid*/,
                                          DISPID* rgDispId)
{
    if (rgszNames == nullptr || rgDispId == nullptr) {
        return E_POINTER;
    }
    if (cNames == 0) {
        return E_INVALIDARG;
    }
    DISPID id = DISPID_UNKNOWN;
    for (const ScriptName& entry : kScriptNames) {
        if (rgszNames[0] != nullptr && std::wcscmp(rgszNames[0], entry.name) == 0) {
            id = entry.id;
        }
    }
    for (UINT i = 0; i < cNames; ++i) {
        rgDispId[i] = id;
    }
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID dispIdMember, REFIID riid, LCID /*lcid*/, WORD /*wFlags*/,
                                   DISPPARAMS* pDispParams, VARIANT* /*pVarResult*/, EXCEPINFO* /*pExcepInfo*/,
                                   UINT* puArgErr)
{
    if (riid != IID_NULL) {
        return E_INVALIDARG;
    }
    switch (dispIdMember) {
    case DISPID_STATUSTEXTCHANGE:
        return S_OK;
    case DISPID_COMMANDSTATECHANGE:
        return OnCommandStateChange(pDispParams, puArgErr);
    case DISPID_BEFORENAVIGATE2:
        return OnBeforeNavigate2(pDispParams, puArgErr);
    case DISPID_NAVIGATECOMPLETE2:
        return OnNavigateComplete2(pDispParams, puArgErr);
    case DISPID_DOCUMENTCOMPLETE:
        return OnDocumentComplete(pDispParams, puArgErr);
    case DISPID_NAVIGATEERROR:
        return OnNavigateError(pDispParams, puArgErr);
    case DISPID_NEWWINDOW3:
        return OnNewWindow3(pDispParams, puArgErr);
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CWebBrowserUI::OnCommandStateChange(DISPPARAMS* pDispParams, UINT* puArgErr)
{
    const CWebBrowserEventArgs args(pDispParams);
    const HRESULT hr = args.Check({Arg::Long, Arg::Bool}, puArgErr);
    if (SUCCEEDED(hr) && m_pEventHandler != nullptr) {
        m_pEventHandler->CommandStateChange(args.Long(0), args.Bool(1));
    }
    return hr;
}

HRESULT CWebBrowserUI::OnBeforeNavigate2(DISPPARAMS* pDispParams, UINT* puArgErr)
{
    const CWebBrowserEventArgs args(pDispParams);
    const HRESULT hr =
        args.Check({Arg::Dispatch, Arg::Value, Arg::Value, Arg::Value, Arg::Value, Arg::Value, Arg::BoolRef}, puArgErr);
    if (SUCCEEDED(hr) && m_pEventHandler != nullptr) {
        m_pEventHandler->BeforeNavigate2(args.Dispatch(0), args.Value(1), args.Value(2), args.Value(3), args.Value(4),
                                         args.Value(5), args.BoolRef(6));
    }
    return hr;
}

HRESULT CWebBrowserUI::OnNavigateComplete2(DISPPARAMS* pDispParams, UINT* puArgErr)
{
    const CWebBrowserEventArgs args(pDispParams);
    const HRESULT hr = args.Check({Arg::Dispatch, Arg::Value}, puArgErr);
    if (FAILED(hr)) {
        return hr;
    }
    BecomeDocumentHost();
    if (m_pEventHandler != nullptr) {
        m_pEventHandler->NavigateComplete2(args.Dispatch(0), args.Value(1));
    }
    return S_OK;
}

// Each new document gets the control as its UI handler (host flags, window.external, script errors).
void CWebBrowserUI::BecomeDocumentHost()
{
    if (!m_pWebBrowser) {
        return;
    }
    ComPtr<IDispatch> pDocument;
    ComPtr<ICustomDoc> pCustomDoc;
    if (SUCCEEDED(m_pWebBrowser->get_Document(pDocument.GetAddressOf())) && pDocument &&
        SUCCEEDED(pDocument.As(&pCustomDoc))) {
        pCustomDoc->SetUIHandler(this);
    }
}

HRESULT CWebBrowserUI::OnDocumentComplete(DISPPARAMS* pDispParams, UINT* puArgErr)
{
    const CWebBrowserEventArgs args(pDispParams);
    const HRESULT hr = args.Check({Arg::Dispatch, Arg::Value}, puArgErr);
    if (SUCCEEDED(hr) && m_pEventHandler != nullptr) {
        m_pEventHandler->DocumentComplete(args.Dispatch(0), args.Value(1));
    }
    return hr;
}

HRESULT CWebBrowserUI::OnNavigateError(DISPPARAMS* pDispParams, UINT* puArgErr)
{
    const CWebBrowserEventArgs args(pDispParams);
    const HRESULT hr = args.Check({Arg::Dispatch, Arg::Value, Arg::Value, Arg::Value, Arg::BoolRef}, puArgErr);
    if (SUCCEEDED(hr) && m_pEventHandler != nullptr) {
        m_pEventHandler->NavigateError(args.Dispatch(0), args.Value(1), args.Value(2), args.Value(3),
                                       args.BoolRef(4));
    }
    return hr;
}

HRESULT CWebBrowserUI::OnNewWindow3(DISPPARAMS* pDispParams, UINT* puArgErr)
{
    const CWebBrowserEventArgs args(pDispParams);
    const HRESULT hr =
        args.Check({Arg::DispatchRef, Arg::BoolRef, Arg::Long, Arg::String, Arg::String}, puArgErr);
    if (SUCCEEDED(hr) && m_pEventHandler != nullptr) {
        m_pEventHandler->NewWindow3(args.DispatchRef(0), args.BoolRef(1), static_cast<DWORD>(args.Long(2)),
                                    args.String(3), args.String(4));
    }
    return hr;
}

} // namespace Tarvo
