#pragma once

#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

#include "controls/ComRefCount.h"

namespace Tarvo {

// Enumerates the one object of a site's container.
class CActiveXEnum final : public IEnumUnknown, private CUIComRefCount<CActiveXEnum> {
public:
    explicit CActiveXEnum(IUnknown* pObject) : m_pObject(pObject) {}
    CActiveXEnum(const CActiveXEnum&) = delete;
    CActiveXEnum& operator=(const CActiveXEnum&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IEnumUnknown
    STDMETHODIMP Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched) override;
    STDMETHODIMP Skip(ULONG celt) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumUnknown** ppenum) override;

private:
    friend class CUIComRefCount<CActiveXEnum>;
    ~CActiveXEnum() = default;

    Microsoft::WRL::ComPtr<IUnknown> m_pObject;
    ULONG m_nPosition = 0;
};

} // namespace Tarvo
