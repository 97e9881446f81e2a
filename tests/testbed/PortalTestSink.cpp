#include "PortalTestSink.h"

#include <exdisp.h>
#include <exdispid.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

std::wstring Text(const VARIANT& v)
{
    const VARIANT& inner = v.vt == (VT_BYREF | VT_VARIANT) ? *v.pvarVal : v;
    return inner.vt == VT_BSTR && inner.bstrVal != nullptr ? std::wstring(inner.bstrVal, SysStringLen(inner.bstrVal))
                                                           : std::wstring();
}

LONG Number(const VARIANT& v)
{
    const VARIANT& inner = v.vt == (VT_BYREF | VT_VARIANT) ? *v.pvarVal : v;
    return inner.vt == VT_I4 ? inner.lVal : -1;
}

} // namespace

size_t PortalTestSink::Count(DISPID id) const
{
    size_t count = 0;
    for (const Event& event : events)
        count += event.id == id ? 1 : 0;
    return count;
}

STDMETHODIMP PortalTestSink::QueryInterface(REFIID riid, void** ppv)
{
    IUnknown* self = static_cast<IDispatch*>(this);
    return Answer(riid, ppv, {{&IID_IUnknown, self}, {&IID_IDispatch, self}, {&DIID_DWebBrowserEvents2, self}});
}

STDMETHODIMP PortalTestSink::GetTypeInfoCount(UINT* count)
{
    if (count != nullptr)
        *count = 0;
    return E_NOTIMPL;
}

STDMETHODIMP PortalTestSink::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                    UINT*)
{
    if (params == nullptr)
        return E_INVALIDARG;
    Event event;
    event.id = id;
    event.iidNull = riid == IID_NULL;
    event.dispatchFlags = flags;
    ReadArguments(event, *params);
    SetCancel(event, *params);
    events.push_back(event);
    if (id == DISPID_NAVIGATECOMPLETE2 && event.topLevel)
        GiveDocumentTheHandler();
    return S_OK;
}

void PortalTestSink::ReadArguments(Event& event, const DISPPARAMS& params)
{
    const UINT n = params.cArgs;
    auto arg = [&](UINT firstToLast) -> const VARIANT& { return params.rgvarg[n - 1 - firstToLast]; };
    for (UINT i = 0; i < n; ++i) {
        event.types.push_back(arg(i).vt);
        if (arg(i).vt == (VT_BYREF | VT_VARIANT))
            event.types.push_back(arg(i).pvarVal->vt);
    }
    if (n == 0)
        return;
    if (arg(0).vt == VT_DISPATCH && browser != nullptr) {
        ComPtr<IUnknown> identity;
        arg(0).pdispVal->QueryInterface(IID_PPV_ARGS(&identity));
        event.topLevel = identity.Get() == browser;
    }
    if (event.id == DISPID_NEWWINDOW3 && n == 5) {
        event.flags = Number(arg(2));
        event.context = Text(arg(3));
        event.url = Text(arg(4));
        return;
    }
    if (n >= 2)
        event.url = Text(arg(1));
    if (event.id == DISPID_NAVIGATEERROR && n == 5)
        event.status = Number(arg(3));
    if (event.id == DISPID_BEFORENAVIGATE2 && n == 7)
        event.flags = Number(arg(2));
}

// The Cancel flag is the last argument of the events that have one, i.e. rgvarg[0] (NewWindow3: the second).
void PortalTestSink::SetCancel(const Event& event, const DISPPARAMS& params)
{
    if (!cancel[event.id] || params.cArgs == 0)
        return;
    VARIANT& flag = event.id == DISPID_NEWWINDOW3 ? params.rgvarg[params.cArgs - 2] : params.rgvarg[0];
    if (flag.vt == (VT_BYREF | VT_BOOL))
        *flag.pboolVal = VARIANT_TRUE;
}

void PortalTestSink::GiveDocumentTheHandler()
{
    ComPtr<IWebBrowser2> web;
    ComPtr<IDispatch> document;
    ComPtr<ICustomDoc> custom;
    if (uiHandler == nullptr || browser == nullptr || FAILED(browser->QueryInterface(IID_PPV_ARGS(&web))) ||
        FAILED(web->get_Document(&document)) || !document || FAILED(document.As(&custom)))
        return;
    custom->SetUIHandler(uiHandler);
}
