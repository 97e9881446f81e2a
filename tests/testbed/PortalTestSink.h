#pragma once

#include "TestComObject.h"

#include <oaidl.h>
#include <mshtmhst.h>

#include <map>
#include <string>
#include <vector>

// A DWebBrowserEvents2 sink as a host writes one: it records every event with the variant
// types of its arguments, can set the Cancel flag of chosen events, and gives each new top
// document the host's UI handler when NavigateComplete2 arrives (as a host must).
class PortalTestSink : public IDispatch, public TestComObject {
public:
    struct Event {
        DISPID id = 0;
        std::vector<VARTYPE> types; // first argument first; for VT_BYREF|VT_VARIANT the inner type too
        std::wstring url;           // the URL argument (NewWindow3: bstrUrl)
        std::wstring context;       // NewWindow3: bstrUrlContext
        LONG status = 0;            // NavigateError
        LONG flags = -1;            // NewWindow3 dwFlags, BeforeNavigate2 Flags
        bool topLevel = false;      // pDisp is the browser itself
        bool iidNull = false;
        WORD dispatchFlags = 0;
    };
    std::vector<Event> events;
    std::map<DISPID, bool> cancel; // events whose Cancel flag the sink sets
    IUnknown* browser = nullptr;   // identity of the browser, for topLevel
    IDocHostUIHandler* uiHandler = nullptr;

    size_t Count(DISPID id) const;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefCount(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseCount(); }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override;

private:
    void ReadArguments(Event& event, const DISPPARAMS& params);
    void SetCancel(const Event& event, const DISPPARAMS& params);
    void GiveDocumentTheHandler();
};
