#pragma once

#include "controls/WebBrowser.h"

#include <windows.h>

// The portal page's browser: a web browser control whose external object answers one script
// method, g_callCppFunc(text), and relays the page's requests to the main window.
class CIeBrowserUI : public Tarvo::CWebBrowserUI {
public:
    static constexpr DISPID DispIdCallCppFunc = 1000;

    explicit CIeBrowserUI(HWND hMainWnd);
    ~CIeBrowserUI() override;

    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

private:
    HRESULT CallFromPage(const VARIANT& argument, VARIANT* pVarResult, UINT* puArgErr);

    const HWND m_hMainWnd;
};
