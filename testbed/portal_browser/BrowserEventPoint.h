#pragma once

#include "CountedObject.h"

#include <ocidl.h>

#include <map>

namespace wxlmportal {

// The DWebBrowserEvents2 connection point. It lives inside the browser object and counts its
// references on the browser, so a host holding it keeps the browser alive.
class CBrowserEventPoint : public IConnectionPoint {
public:
    explicit CBrowserEventPoint(IConnectionPointContainer& container) : m_container(container) {}
    CBrowserEventPoint(const CBrowserEventPoint&) = delete;
    CBrowserEventPoint& operator=(const CBrowserEventPoint&) = delete;

    // Invokes the event on every advised sink (a sink may unadvise while it is being called).
    void Fire(DISPID dispId, DISPPARAMS& params);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return m_container.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_container.Release(); }

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

private:
    IConnectionPointContainer& m_container;
    std::map<DWORD, ComPtr<IDispatch>> m_sinks;
    DWORD m_nextCookie = 1;
};

} // namespace wxlmportal
