#pragma once

#include "CountedObject.h"

#include <unknwn.h>

namespace wxlmportal {

// Makes stand-in browser objects.
class CClassFactory : public IClassFactory, public CCountedObject {
public:
    static ComPtr<CClassFactory> Create() { return AdoptNew(new CClassFactory()); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefCount(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseCount(); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    CClassFactory() : CCountedObject(nullptr) {}
};

} // namespace wxlmportal
