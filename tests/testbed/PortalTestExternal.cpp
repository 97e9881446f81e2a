#include "PortalTestExternal.h"

STDMETHODIMP PortalTestExternal::QueryInterface(REFIID riid, void** ppv)
{
    IUnknown* self = static_cast<IDispatch*>(this);
    return Answer(riid, ppv, {{&IID_IUnknown, self}, {&IID_IDispatch, self}});
}

STDMETHODIMP PortalTestExternal::GetTypeInfoCount(UINT* count)
{
    if (count != nullptr)
        *count = 0;
    return E_NOTIMPL;
}

STDMETHODIMP PortalTestExternal::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (count < 1 || names == nullptr || ids == nullptr)
        return E_INVALIDARG;
    namesAsked.emplace_back(names[0]);
    ids[0] = namesAsked.back() == L"g_callCppFunc" ? 1000 : DISPID_UNKNOWN;
    return S_OK;
}

STDMETHODIMP PortalTestExternal::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                        EXCEPINFO*, UINT*)
{
    Call call;
    call.id = id;
    call.flags = flags;
    call.iidNull = riid == IID_NULL;
    call.wantsResult = result != nullptr;
    for (UINT i = params != nullptr ? params->cArgs : 0; i-- > 0;) {
        const VARIANT& arg = params->rgvarg[i];
        call.types.push_back(arg.vt);
        call.texts.push_back(arg.vt == VT_BSTR && arg.bstrVal != nullptr
                                 ? std::wstring(arg.bstrVal, SysStringLen(arg.bstrVal))
                                 : std::wstring());
    }
    calls.push_back(call);
    if (id != 1000 || call.types.size() != 1)
        return DISP_E_MEMBERNOTFOUND;
    if (result != nullptr) {
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(L"{}");
    }
    return S_OK;
}
