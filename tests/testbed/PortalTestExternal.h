#pragma once

#include "TestComObject.h"

#include <oaidl.h>

#include <string>
#include <vector>

// The page's window.external as a host provides it: "g_callCppFunc" has id 1000 and takes one
// argument; it records every call as the script engine made it.
class PortalTestExternal : public IDispatch, public TestComObject {
public:
    struct Call {
        DISPID id = 0;
        WORD flags = 0;
        bool iidNull = false;
        std::vector<VARTYPE> types; // first argument first
        std::vector<std::wstring> texts;
        bool wantsResult = false;
    };
    std::vector<std::wstring> namesAsked;
    std::vector<Call> calls;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefCount(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseCount(); }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;
};
