#include "controls/Flash.h"

#include "controls/FlashEventHandler.h"
#include "controls/WebBrowserEventArgs.h"

#include <cwchar>

namespace Tarvo {

namespace {

const wchar_t* TextOf(BSTR bstr)
{
    return bstr != nullptr ? bstr : L"";
}

} // namespace

CFlashUI::CFlashUI()
{
    SetClassId(CLSID_UIShockwaveFlash);
}

CFlashUI::~CFlashUI()
{
    ConnectEvents(false);
}

const wchar_t* CFlashUI::TypeName() const
{
    return L"Flash";
}

void* CFlashUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Flash") == 0) {
        return this;
    }
    return CActiveXUI::LookupInterface(pstrName);
}

bool CFlashUI::CreateHostedObject()
{
    if (!CActiveXUI::CreateHostedObject()) {
        return false;
    }
    ConnectEvents(true);
    return true;
}

void CFlashUI::ReleaseHostedObject()
{
    ConnectEvents(false);
    CActiveXUI::ReleaseHostedObject();
}

HRESULT CFlashUI::ConnectEvents(bool bConnect)
{
    if (!bConnect && m_dwEventCookie == 0) {
        return S_FALSE;
    }
    return ConnectHostedEvents(DIID_UIShockwaveFlashEvents, static_cast<IDispatch*>(this), m_dwEventCookie, bConnect);
}

STDMETHODIMP CFlashUI::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_UIShockwaveFlashEvents) {
        *ppvObject = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CFlashUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_comRefCount));
}

STDMETHODIMP_(ULONG) CFlashUI::Release()
{
    return static_cast<ULONG>(::InterlockedDecrement(&m_comRefCount));
}

STDMETHODIMP CFlashUI::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo != nullptr) {
        *pctinfo = 0;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CFlashUI::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr) {
        *ppTInfo = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CFlashUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId)
{
    for (UINT i = 0; rgDispId != nullptr && i < cNames; ++i) {
        rgDispId[i] = DISPID_UNKNOWN;
    }
    return DISP_E_UNKNOWNNAME;
}

// Events whose arguments do not match their declaration are refused before anything is read.
STDMETHODIMP CFlashUI::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*,
                              EXCEPINFO*, UINT* puArgErr)
{
    if (riid != IID_NULL) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    const CWebBrowserEventArgs args(pDispParams);
    HRESULT hr = S_OK;
    switch (dispIdMember) {
    case DispIdReadyStateChange:
        if (SUCCEEDED(hr = args.Check({UIEventArg::Long}, puArgErr)) && m_pEventHandler != nullptr) {
            m_pEventHandler->OnReadyStateChange(args.Long(0));
        }
        return hr;
    case DispIdProgress:
        if (SUCCEEDED(hr = args.Check({UIEventArg::Long}, puArgErr)) && m_pEventHandler != nullptr) {
            m_pEventHandler->OnProgress(args.Long(0));
        }
        return hr;
    case DispIdFSCommand:
        if (SUCCEEDED(hr = args.Check({UIEventArg::String, UIEventArg::String}, puArgErr)) &&
            m_pEventHandler != nullptr) {
            m_pEventHandler->FSCommand(TextOf(args.String(0)), TextOf(args.String(1)));
        }
        return hr;
    case DispIdFlashCall:
        if (SUCCEEDED(hr = args.Check({UIEventArg::String}, puArgErr)) && m_pEventHandler != nullptr) {
            m_pEventHandler->FlashCall(TextOf(args.String(0)));
        }
        return hr;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

} // namespace Tarvo
