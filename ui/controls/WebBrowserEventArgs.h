#pragma once

#include <windows.h>
#include <oleauto.h>

#include <initializer_list>

namespace Tarvo {

// What an event parameter must be. Value: any VARIANT that is not a reference, or a reference to
// such a VARIANT (VT_BYREF | VT_VARIANT), which is how browsers pass most event values.
enum class UIEventArg {
    Dispatch,    // VT_DISPATCH (may be null)
    Value,       // see above
    BoolRef,     // VT_BYREF | VT_BOOL, not null
    DispatchRef, // VT_BYREF | VT_DISPATCH, not null
    Long,        // VT_I4 or VT_UI4
    Bool,        // VT_BOOL
    String,      // VT_BSTR
};

// The arguments of one event call as a caller outside the process may send them: nothing is read
// before Check has matched their number and types against the event's parameters. Parameters are
// numbered in declared order (the reverse of the array).
class CWebBrowserEventArgs {
public:
    explicit CWebBrowserEventArgs(const DISPPARAMS* pParams) : m_pParams(pParams) {}

    // S_OK, or the error Invoke returns (puArgErr, when given, receives the array index of a
    // parameter of the wrong type).
    HRESULT Check(std::initializer_list<UIEventArg> expected, UINT* puArgErr) const;

    IDispatch* Dispatch(UINT nParam) const { return At(nParam).pdispVal; }
    const VARIANT& Value(UINT nParam) const;
    VARIANT_BOOL* BoolRef(UINT nParam) const { return At(nParam).pboolVal; }
    IDispatch** DispatchRef(UINT nParam) const { return At(nParam).ppdispVal; }
    LONG Long(UINT nParam) const { return At(nParam).lVal; }
    VARIANT_BOOL Bool(UINT nParam) const { return At(nParam).boolVal; }
    BSTR String(UINT nParam) const { return At(nParam).bstrVal; }

private:
    const VARIANT& At(UINT nParam) const { return m_pParams->rgvarg[m_pParams->cArgs - 1 - nParam]; }
    static bool Matches(const VARIANT& arg, UIEventArg expected);

    const DISPPARAMS* m_pParams;
};

} // namespace Tarvo
