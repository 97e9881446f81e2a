#pragma once

#include <windows.h>
#include <oaidl.h>

#include "controls/ActiveX.h"

namespace Tarvo {

class CFlashEventHandler;

// The Shockwave Flash object's class and event interface.
// {D27CDB6E-AE6D-11CF-96B8-444553540000}
constexpr CLSID CLSID_UIShockwaveFlash = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {D27CDB6D-AE6D-11CF-96B8-444553540000}
constexpr IID DIID_UIShockwaveFlashEvents = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// The ActiveX host preset to the Flash object, listening to its events and handing them to an
// event handler. Where no Flash object is installed, creation fails and the control stays an
// empty rectangle. Its IDispatch is reference counted for the object's sake only: the control
// belongs to its tree and is never deleted through it.
class CFlashUI : public CActiveXUI, public IDispatch {
public:
    // Dispatch ids of _IShockwaveFlashEvents.
    static constexpr DISPID DispIdReadyStateChange = -609;
    static constexpr DISPID DispIdProgress = 0x7A6;
    static constexpr DISPID DispIdFSCommand = 0x96;
    static constexpr DISPID DispIdFlashCall = 0xC5;

    CFlashUI();
    ~CFlashUI() override;

    using CActiveXUI::Invoke;
    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void ReleaseHostedObject() override;
    bool CreateHostedObject() override;

    void SetEventHandler(CFlashEventHandler* pHandler) { m_pEventHandler = pHandler; }
    CFlashEventHandler* EventHandler() const { return m_pEventHandler; }
    bool IsConnected() const { return m_dwEventCookie != 0; }
    ULONG ComRefCount() const { return static_cast<ULONG>(m_comRefCount); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: the event sink.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

private:
    HRESULT ConnectEvents(bool bConnect);

    LONG m_comRefCount = 0;
    DWORD m_dwEventCookie = 0;
    CFlashEventHandler* m_pEventHandler = nullptr;
};

} // namespace Tarvo
