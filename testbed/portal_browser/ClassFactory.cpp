#include "ClassFactory.h"

#include "PortalBrowser.h"

namespace wxlmportal {

STDMETHODIMP CClassFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv)
{
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    return CPortalBrowser::Create()->QueryInterface(riid, ppv);
}

STDMETHODIMP CClassFactory::LockServer(BOOL lock)
{
    CCountedObject::LockServer(lock != FALSE);
    return S_OK;
}

} // namespace wxlmportal
