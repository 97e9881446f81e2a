#pragma once

// The stand-in Flash object of the test prefix: the ActiveX tests' OLE fake (windowed) with the
// Flash event interface as its one connection point. Each connected sink gets the "movie loaded"
// events (ready state 4, progress 100) from a thread timer soon after it connects; a test fires
// the other events through the module's exports.

#include "FakeOleObject.h"

#include <map>

namespace flashstandin {

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
constexpr CLSID CLSID_ShockwaveFlash = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {D27CDB6D-AE6D-11CF-96B8-444553540000}
constexpr IID DIID_ShockwaveFlashEvents = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

class CFlashStandIn final : public activextest::CFakeOleObject,
                            public IConnectionPointContainer,
                            public IConnectionPoint {
public:
    explicit CFlashStandIn(activextest::FakeOptions options) : CFakeOleObject(options) {}

    // Calls Invoke of every connected sink with the arguments (in declared order); the last
    // sink's result, or S_FALSE without sinks.
    HRESULT Fire(DISPID dispId, std::initializer_list<VARIANT> args);
    void FireLoaded();
    void RecordCall(std::string call) { Record(std::move(call)); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return CFakeOleObject::QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return CFakeOleObject::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CFakeOleObject::Release(); }

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID* pIID) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    STDMETHODIMP Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    STDMETHODIMP Unadvise(DWORD dwCookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    using CFakeOleObject::Advise;

protected:
    IUnknown* FindInterface(REFIID riid) override;

private:
    std::map<DWORD, Microsoft::WRL::ComPtr<IDispatch>> m_sinks;
    DWORD m_nextCookie = 1;
};

} // namespace flashstandin
