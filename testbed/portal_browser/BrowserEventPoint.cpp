#include "BrowserEventPoint.h"

#include "RecordFile.h"

#include <exdisp.h>
#include <olectl.h>

#include <vector>

namespace wxlmportal {

void CBrowserEventPoint::Fire(DISPID dispId, DISPPARAMS& params)
{
    std::vector<ComPtr<IDispatch>> sinks;
    for (const auto& entry : m_sinks) {
        sinks.push_back(entry.second);
    }
    for (const ComPtr<IDispatch>& sink : sinks) {
        sink->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
}

STDMETHODIMP CBrowserEventPoint::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CBrowserEventPoint::GetConnectionInterface(IID* iid)
{
    if (iid == nullptr) {
        return E_POINTER;
    }
    *iid = DIID_DWebBrowserEvents2;
    return S_OK;
}

STDMETHODIMP CBrowserEventPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (container == nullptr) {
        return E_POINTER;
    }
    *container = &m_container;
    m_container.AddRef();
    return S_OK;
}

STDMETHODIMP CBrowserEventPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (sink == nullptr || cookie == nullptr) {
        return E_POINTER;
    }
    *cookie = 0;
    // Sinks are called through IDispatch; the event interface itself is a dispinterface.
    ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
        FAILED(sink->QueryInterface(IID_PPV_ARGS(&dispatch)))) {
        CRecordFile::Append({L"method", L"IConnectionPoint::Advise", L"refused"});
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = m_nextCookie++;
    m_sinks[*cookie] = dispatch;
    CRecordFile::Append({L"method", L"IConnectionPoint::Advise", L"cookie=" + std::to_wstring(*cookie)});
    return S_OK;
}

STDMETHODIMP CBrowserEventPoint::Unadvise(DWORD cookie)
{
    CRecordFile::Append({L"method", L"IConnectionPoint::Unadvise", L"cookie=" + std::to_wstring(cookie)});
    return m_sinks.erase(cookie) == 1 ? S_OK : CONNECT_E_NOCONNECTION;
}

STDMETHODIMP CBrowserEventPoint::EnumConnections(IEnumConnections** connections)
{
    if (connections != nullptr) {
        *connections = nullptr;
    }
    return E_NOTIMPL;
}

} // namespace wxlmportal
