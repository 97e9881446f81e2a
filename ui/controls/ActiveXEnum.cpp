#include "controls/ActiveXEnum.h"

namespace Tarvo {

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    const bool bKnown = riid == IID_IUnknown || riid == IID_IEnumUnknown;
    return UIHandOutInterface(bKnown ? static_cast<IEnumUnknown*>(this) : nullptr, ppvObject);
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef()
{
    return AddReference();
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    return ReleaseReference();
}

STDMETHODIMP CActiveXEnum::Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched)
{
    if (pceltFetched != nullptr) {
        *pceltFetched = 0;
    }
    if (celt == 0) {
        return S_OK;
    }
    if (rgelt == nullptr || (celt > 1 && pceltFetched == nullptr)) {
        return E_POINTER;
    }
    if (m_nPosition > 0 || !m_pObject) {
        return S_FALSE;
    }
    ++m_nPosition;
    m_pObject.CopyTo(&rgelt[0]);
    if (pceltFetched != nullptr) {
        *pceltFetched = 1;
    }
    return celt == 1 ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG celt)
{
    const ULONG nLeft = m_nPosition == 0 ? 1 : 0;
    m_nPosition += celt < nLeft ? celt : nLeft;
    return celt <= nLeft ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXEnum::Reset()
{
    m_nPosition = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown** ppenum)
{
    if (ppenum != nullptr) {
        *ppenum = nullptr;
    }
    return E_NOTIMPL;
}

} // namespace Tarvo
