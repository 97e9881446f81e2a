#include "IeBrowser.h"

#include "CallCppFunc.h"

#include <oleauto.h>

#include <cwchar>
#include <string>

namespace {

const wchar_t* const ScriptMethodName = L"g_callCppFunc";

// The argument as text: a string as it is (embedded NULs included), anything else through the
// system's conversion. False when the value has no text form.
bool ArgumentText(const VARIANT& argument, std::wstring& text)
{
    VARIANT converted;
    VariantInit(&converted);
    // mingw declares the source without const; the call only reads it.
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&argument), 0, VT_BSTR)))
        return false;
    if (converted.bstrVal != nullptr)
        text.assign(converted.bstrVal, SysStringLen(converted.bstrVal));
    VariantClear(&converted);
    return true;
}

} // namespace

CIeBrowserUI::CIeBrowserUI(HWND hMainWnd) : m_hMainWnd(hMainWnd) {}

CIeBrowserUI::~CIeBrowserUI() = default;

STDMETHODIMP CIeBrowserUI::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* rgszNames, UINT cNames, LCID /*lcid*/,
                                         DISPID* rgDispId)
{
    if (cNames == 0)
        return S_OK;
    if (rgszNames == nullptr || rgDispId == nullptr)
        return E_POINTER;
    const bool known = rgszNames[0] != nullptr && std::wcscmp(rgszNames[0], ScriptMethodName) == 0;
    rgDispId[0] = known ? DispIdCallCppFunc : DISPID_UNKNOWN;
    return S_OK;
}

STDMETHODIMP CIeBrowserUI::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                                  VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    if (dispIdMember == DispIdCallCppFunc && pDispParams != nullptr && pDispParams->cArgs == 1 &&
        pDispParams->rgvarg != nullptr)
        return CallFromPage(pDispParams->rgvarg[0], pVarResult, puArgErr);
    return CWebBrowserUI::Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult, pExcepInfo, puArgErr);
}

HRESULT CIeBrowserUI::CallFromPage(const VARIANT& argument, VARIANT* pVarResult, UINT* puArgErr)
{
    std::wstring text;
    if (!ArgumentText(argument, text)) {
        if (puArgErr != nullptr)
            *puArgErr = 0;
        return DISP_E_TYPEMISMATCH;
    }
    const std::wstring reply = CallCppFunc(m_hMainWnd, text);
    if (pVarResult != nullptr) {
        VariantInit(pVarResult);
        pVarResult->vt = VT_BSTR;
        pVarResult->bstrVal = SysAllocStringLen(reply.data(), static_cast<UINT>(reply.size()));
    }
    return S_OK;
}
