#include "WebBrowserTestSupport.h"

#include <algorithm>

namespace activextest {

std::wstring VariantText(const VARIANT& value)
{
    switch (value.vt) {
    case VT_BSTR:
        return value.bstrVal != nullptr ? value.bstrVal : L"";
    case VT_I4:
        return std::to_wstring(value.lVal);
    case VT_EMPTY:
        return L"empty";
    default:
        return L"vt" + std::to_wstring(value.vt);
    }
}

void RecordingHandler::BeforeNavigate2(IDispatch*, const VARIANT& url, const VARIANT& flags,
                                       const VARIANT& targetFrameName, const VARIANT& postData,
                                       const VARIANT& headers, VARIANT_BOOL* pCancel)
{
    events.push_back(L"BeforeNavigate2 " + VariantText(url) + L" " + VariantText(flags) + L" " +
                     VariantText(targetFrameName) + L" " + VariantText(postData) + L" " + VariantText(headers));
    *pCancel = cancelAnswer;
}

void RecordingHandler::NavigateError(IDispatch*, const VARIANT& url, const VARIANT& targetFrameName,
                                     const VARIANT& statusCode, VARIANT_BOOL* pCancel)
{
    events.push_back(L"NavigateError " + VariantText(url) + L" " + VariantText(targetFrameName) + L" " +
                     VariantText(statusCode));
    *pCancel = cancelAnswer;
}

void RecordingHandler::NavigateComplete2(IDispatch*, const VARIANT& url)
{
    events.push_back(L"NavigateComplete2 " + VariantText(url));
}

void RecordingHandler::DocumentComplete(IDispatch*, const VARIANT& url)
{
    events.push_back(L"DocumentComplete " + VariantText(url));
}

void RecordingHandler::NewWindow3(IDispatch** ppDisp, VARIANT_BOOL* pCancel, DWORD dwFlags, BSTR bstrUrlContext,
                                  BSTR bstrUrl)
{
    events.push_back(L"NewWindow3 " + std::to_wstring(dwFlags) + L" " + (bstrUrlContext ? bstrUrlContext : L"") +
                     L" " + (bstrUrl ? bstrUrl : L"") + (*ppDisp == nullptr ? L" slot-empty" : L" slot-set"));
    *pCancel = cancelAnswer;
}

void RecordingHandler::CommandStateChange(long nCommand, VARIANT_BOOL bEnable)
{
    events.push_back(L"CommandStateChange " + std::to_wstring(nCommand) + (bEnable ? L" on" : L" off"));
}

HRESULT RecordingHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                 IOleInPlaceUIWindow*)
{
    events.push_back(L"ShowUI");
    return S_OK;
}

HRESULT RecordingHandler::EnableModeless(BOOL)
{
    events.push_back(L"EnableModeless");
    return S_FALSE;
}

HRESULT RecordingHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    events.push_back(L"TranslateAccelerator");
    return S_OK;
}

HRESULT RecordingHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut)
{
    events.push_back(L"TranslateUrl");
    *ppchURLOut = nullptr;
    return S_FALSE;
}

HRESULT RecordingHandler::Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT uiCP)
{
    events.push_back(L"Download " + std::to_wstring(uiCP));
    return E_ABORT;
}

EventArgs& EventArgs::Dispatch(IDispatch* pDisp)
{
    VARIANT v = {};
    v.vt = VT_DISPATCH;
    v.pdispVal = pDisp;
    m_args.push_back(v);
    return *this;
}

EventArgs& EventArgs::VariantRef(VARIANT* pValue)
{
    return Raw(VT_BYREF | VT_VARIANT, pValue);
}

EventArgs& EventArgs::Raw(VARTYPE vt, void* pPointer)
{
    VARIANT v = {};
    v.vt = vt;
    v.byref = pPointer;
    m_args.push_back(v);
    return *this;
}

EventArgs& EventArgs::BoolRef(VARIANT_BOOL* pValue)
{
    return Raw(VT_BYREF | VT_BOOL, pValue);
}

EventArgs& EventArgs::DispatchRef(IDispatch** ppDisp)
{
    return Raw(VT_BYREF | VT_DISPATCH, ppDisp);
}

EventArgs& EventArgs::Long(LONG nValue)
{
    VARIANT v = {};
    v.vt = VT_I4;
    v.lVal = nValue;
    m_args.push_back(v);
    return *this;
}

EventArgs& EventArgs::Bool(VARIANT_BOOL bValue)
{
    VARIANT v = {};
    v.vt = VT_BOOL;
    v.boolVal = bValue;
    m_args.push_back(v);
    return *this;
}

EventArgs& EventArgs::String(BSTR bstr)
{
    VARIANT v = {};
    v.vt = VT_BSTR;
    v.bstrVal = bstr;
    m_args.push_back(v);
    return *this;
}

DISPPARAMS* EventArgs::Params()
{
    m_reversed.assign(m_args.rbegin(), m_args.rend());
    m_params.rgvarg = m_reversed.empty() ? nullptr : m_reversed.data();
    m_params.cArgs = static_cast<UINT>(m_reversed.size());
    m_params.cNamedArgs = 0;
    m_params.rgdispidNamedArgs = nullptr;
    return &m_params;
}

} // namespace activextest
