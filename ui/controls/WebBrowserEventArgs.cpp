#include "controls/WebBrowserEventArgs.h"

namespace Tarvo {

namespace {

bool IsPlainValue(const VARIANT& arg)
{
    return (arg.vt & VT_BYREF) == 0;
}

} // namespace

HRESULT CWebBrowserEventArgs::Check(std::initializer_list<UIEventArg> expected, UINT* puArgErr) const
{
    if (m_pParams == nullptr) {
        return E_INVALIDARG;
    }
    if (m_pParams->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    if (m_pParams->cArgs != expected.size()) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (m_pParams->cArgs > 0 && m_pParams->rgvarg == nullptr) {
        return E_INVALIDARG;
    }
    UINT nParam = 0;
    for (const UIEventArg kind : expected) {
        if (!Matches(At(nParam), kind)) {
            if (puArgErr != nullptr) {
                *puArgErr = m_pParams->cArgs - 1 - nParam;
            }
            return DISP_E_TYPEMISMATCH;
        }
        ++nParam;
    }
    return S_OK;
}

const VARIANT& CWebBrowserEventArgs::Value(UINT nParam) const
{
    const VARIANT& arg = At(nParam);
    return arg.vt == (VT_BYREF | VT_VARIANT) ? *arg.pvarVal : arg;
}

bool CWebBrowserEventArgs::Matches(const VARIANT& arg, UIEventArg expected)
{
    switch (expected) {
    case UIEventArg::Dispatch:
        return arg.vt == VT_DISPATCH;
    case UIEventArg::Value:
        if (arg.vt == (VT_BYREF | VT_VARIANT)) {
            return arg.pvarVal != nullptr && IsPlainValue(*arg.pvarVal);
        }
        return IsPlainValue(arg);
    case UIEventArg::BoolRef:
        return arg.vt == (VT_BYREF | VT_BOOL) && arg.pboolVal != nullptr;
    case UIEventArg::DispatchRef:
        return arg.vt == (VT_BYREF | VT_DISPATCH) && arg.ppdispVal != nullptr;
    case UIEventArg::Long:
        return arg.vt == VT_I4 || arg.vt == VT_UI4;
    case UIEventArg::Bool:
        return arg.vt == VT_BOOL;
    case UIEventArg::String:
        return arg.vt == VT_BSTR;
    }
    return false;
}

} // namespace Tarvo
