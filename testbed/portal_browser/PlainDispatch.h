#pragma once

#include "CountedObject.h"

#include <oaidl.h>

namespace wxlmportal {

// An IDispatch with no members: a frame's pDisp in the events, and the object a script passes
// as an argument (it has no value, so it cannot be turned into text).
class CPlainDispatch : public IDispatch, public CCountedObject {
public:
    static ComPtr<CPlainDispatch> Create(const wchar_t* kind) { return AdoptNew(new CPlainDispatch(kind)); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefCount(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseCount(); }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

protected:
    explicit CPlainDispatch(const wchar_t* kind) : CCountedObject(kind) {}
};

} // namespace wxlmportal
