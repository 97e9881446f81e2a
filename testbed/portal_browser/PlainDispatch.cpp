#include "PlainDispatch.h"

namespace wxlmportal {

STDMETHODIMP CPlainDispatch::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CPlainDispatch::GetTypeInfoCount(UINT* count)
{
    if (count != nullptr) {
        *count = 0;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CPlainDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CPlainDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids)
{
    for (UINT i = 0; ids != nullptr && i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP CPlainDispatch::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return DISP_E_MEMBERNOTFOUND;
}

} // namespace wxlmportal
