#include "FlashStandIn.h"

#include <olectl.h>

#include <algorithm>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace flashstandin {

namespace {

// Objects waiting for their "movie loaded" events, each holding a reference until then.
std::map<UINT_PTR, CFlashStandIn*>& PendingLoads()
{
    static std::map<UINT_PTR, CFlashStandIn*> s_pending;
    return s_pending;
}

void CALLBACK LoadedTimerProc(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    ::KillTimer(nullptr, idEvent);
    auto& pending = PendingLoads();
    const auto it = pending.find(idEvent);
    if (it == pending.end()) {
        return;
    }
    CFlashStandIn* pObject = it->second;
    pending.erase(it);
    pObject->FireLoaded();
    pObject->Release();
}

} // namespace

IUnknown* CFlashStandIn::FindInterface(REFIID riid)
{
    if (riid == IID_IConnectionPointContainer) {
        return static_cast<IConnectionPointContainer*>(this);
    }
    return CFakeOleObject::FindInterface(riid);
}

STDMETHODIMP CFlashStandIn::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    if (ppCP == nullptr) {
        return E_POINTER;
    }
    *ppCP = nullptr;
    if (riid != DIID_ShockwaveFlashEvents) {
        RecordCall("FindConnectionPoint(other)");
        return CONNECT_E_NOCONNECTION;
    }
    RecordCall("FindConnectionPoint(events)");
    *ppCP = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CFlashStandIn::GetConnectionInterface(IID* pIID)
{
    if (pIID == nullptr) {
        return E_POINTER;
    }
    *pIID = DIID_ShockwaveFlashEvents;
    return S_OK;
}

STDMETHODIMP CFlashStandIn::GetConnectionPointContainer(IConnectionPointContainer** ppCPC)
{
    if (ppCPC == nullptr) {
        return E_POINTER;
    }
    *ppCPC = static_cast<IConnectionPointContainer*>(this);
    AddRef();
    return S_OK;
}

// Like the real object, the sink is asked for the event interface itself.
STDMETHODIMP CFlashStandIn::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    if (pUnkSink == nullptr || pdwCookie == nullptr) {
        return E_POINTER;
    }
    ComPtr<IDispatch> pSink;
    if (FAILED(pUnkSink->QueryInterface(DIID_ShockwaveFlashEvents, reinterpret_cast<void**>(pSink.GetAddressOf())))) {
        RecordCall("Advise(refused)");
        return CONNECT_E_CANNOTCONNECT;
    }
    *pdwCookie = m_nextCookie++;
    m_sinks[*pdwCookie] = pSink;
    RecordCall("Advise(" + std::to_string(*pdwCookie) + ")");
    const UINT_PTR idTimer = ::SetTimer(nullptr, 0, 10, LoadedTimerProc);
    if (idTimer != 0) {
        AddRef();
        PendingLoads()[idTimer] = this;
    }
    return S_OK;
}

STDMETHODIMP CFlashStandIn::Unadvise(DWORD dwCookie)
{
    RecordCall("Unadvise(" + std::to_string(dwCookie) + ")");
    return m_sinks.erase(dwCookie) == 1 ? S_OK : CONNECT_E_NOCONNECTION;
}

HRESULT CFlashStandIn::Fire(DISPID dispId, std::initializer_list<VARIANT> args)
{
    // DISPPARAMS holds the arguments last to first.
    std::vector<VARIANT> reversed(args.begin(), args.end());
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    HRESULT hr = S_FALSE;
    // A sink may disconnect while it handles the event.
    const auto sinks = m_sinks;
    for (const auto& [cookie, pSink] : sinks) {
        hr = pSink->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        RecordCall("Fire(" + std::to_string(dispId) + ")=" + std::to_string(static_cast<long>(hr)));
    }
    return hr;
}

void CFlashStandIn::FireLoaded()
{
    VARIANT state = {};
    state.vt = VT_I4;
    state.lVal = 4;
    Fire(-609, {state});
    VARIANT percent = {};
    percent.vt = VT_I4;
    percent.lVal = 100;
    Fire(0x7A6, {percent});
}

} // namespace flashstandin
