#pragma once

#include <windows.h>
#include <wrl/client.h>

namespace Tarvo {

// The reference count of the framework's small COM objects: they start at 1 and delete themselves
// when the count reaches 0 (a class with a private destructor befriends this template).
template <class Derived> class CUIComRefCount {
public:
    ULONG AddReference() { return static_cast<ULONG>(::InterlockedIncrement(&m_nRefCount)); }
    ULONG ReleaseReference()
    {
        const LONG nCount = ::InterlockedDecrement(&m_nRefCount);
        if (nCount == 0) {
            delete static_cast<Derived*>(this);
        }
        return static_cast<ULONG>(nCount);
    }

private:
    LONG m_nRefCount = 1;
};

// QueryInterface's hand-out: the interface with a reference taken, or null and E_NOINTERFACE.
template <class I> HRESULT UIHandOutInterface(I* pInterface, void** ppvObject)
{
    *ppvObject = pInterface;
    if (pInterface == nullptr) {
        return E_NOINTERFACE;
    }
    pInterface->AddRef();
    return S_OK;
}

// Takes over the one reference a new object starts with. mingw-w64's ComPtr::Attach takes a second
// reference (unlike the Windows SDK's), which would keep the object alive for ever.
template <class T> Microsoft::WRL::ComPtr<T> UIAdoptNew(T* pObject)
{
    Microsoft::WRL::ComPtr<T> result;
    *result.GetAddressOf() = pObject;
    return result;
}

} // namespace Tarvo
