#pragma once

// Pieces of the web browser control tests: a handler that records what reaches it and a builder
// of event arguments as a browser sends them.

#include "ActiveXTestHost.h"
#include "FakeWebBrowser.h"

#include "controls/WebBrowser.h"
#include "controls/WebBrowserEventHandler.h"

#include <string>
#include <vector>

namespace activextest {

std::wstring VariantText(const VARIANT& value);

class RecordingHandler : public Tarvo::CWebBrowserEventHandler {
public:
    std::vector<std::wstring> events;
    // Set into every cancel flag the handler is given.
    VARIANT_BOOL cancelAnswer = VARIANT_TRUE;

    void BeforeNavigate2(IDispatch* pDisp, const VARIANT& url, const VARIANT& flags, const VARIANT& targetFrameName,
                         const VARIANT& postData, const VARIANT& headers, VARIANT_BOOL* pCancel) override;
    void NavigateError(IDispatch* pDisp, const VARIANT& url, const VARIANT& targetFrameName, const VARIANT& statusCode,
                       VARIANT_BOOL* pCancel) override;
    void NavigateComplete2(IDispatch* pDisp, const VARIANT& url) override;
    void DocumentComplete(IDispatch* pDisp, const VARIANT& url) override;
    void NewWindow3(IDispatch** ppDisp, VARIANT_BOOL* pCancel, DWORD dwFlags, BSTR bstrUrlContext,
                    BSTR bstrUrl) override;
    void CommandStateChange(long nCommand, VARIANT_BOOL bEnable) override;
    HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                   IOleInPlaceUIWindow*) override;
    HRESULT EnableModeless(BOOL fEnable) override;
    HRESULT TranslateAccelerator(LPMSG, const GUID*, DWORD) override;
    HRESULT TranslateUrl(DWORD, LPWSTR, LPWSTR*) override;
    HRESULT Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT uiCP) override;
};

// Arguments in declared order; Params() lays them out the way IDispatch::Invoke takes them.
class EventArgs {
public:
    EventArgs& Dispatch(IDispatch* pDisp);
    EventArgs& VariantRef(VARIANT* pValue);
    EventArgs& Raw(VARTYPE vt, void* pPointer = nullptr);
    EventArgs& BoolRef(VARIANT_BOOL* pValue);
    EventArgs& DispatchRef(IDispatch** ppDisp);
    EventArgs& Long(LONG nValue);
    EventArgs& Bool(VARIANT_BOOL bValue);
    EventArgs& String(BSTR bstr);
    DISPPARAMS* Params();

private:
    std::vector<VARIANT> m_args;
    std::vector<VARIANT> m_reversed;
    DISPPARAMS m_params = {};
};

// A BSTR for the scope.
class ScopedBstr {
public:
    explicit ScopedBstr(const wchar_t* pstr) : m_bstr(::SysAllocString(pstr)) {}
    ~ScopedBstr() { ::SysFreeString(m_bstr); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    BSTR Get() const { return m_bstr; }

private:
    BSTR m_bstr;
};

// A VARIANT holding a string, for VT_BYREF | VT_VARIANT arguments.
class StringVariant {
public:
    explicit StringVariant(const wchar_t* pstr)
    {
        ::VariantInit(&m_value);
        m_value.vt = VT_BSTR;
        m_value.bstrVal = ::SysAllocString(pstr);
    }
    ~StringVariant() { ::VariantClear(&m_value); }
    StringVariant(const StringVariant&) = delete;
    StringVariant& operator=(const StringVariant&) = delete;
    VARIANT* Get() { return &m_value; }

private:
    VARIANT m_value;
};

class WebBrowserFixture : public ActiveXHostFixture {
protected:
    WebBrowserFixture()
    {
        // Under a class id of its own: the prefix may redirect the browser class with TreatAs,
        // which CoCreateInstance honours before any class registered in the process.
        RegisterFake({}, &CFakeWebBrowser::Make);
    }
    CFakeWebBrowser* Browser() const { return static_cast<CFakeWebBrowser*>(fake->Object()); }
    // A placed browser control with the fake behind it.
    Tarvo::CWebBrowserUI* PlaceBrowser(RECT rc = kItem)
    {
        auto* pControl = AddControl<Tarvo::CWebBrowserUI>();
        pControl->SetClassId(CLSID_FakeOleObject);
        pControl->SetPosition(rc);
        return pControl;
    }
};

} // namespace activextest
