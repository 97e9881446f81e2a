#pragma once

#include "controls/WebBrowserEventHandler.h"

#include <windows.h>

// Tells the main window what became of the portal page, and keeps new browser windows out of the
// launcher: their addresses go to the system's default browser, web addresses only.
class CWebBrowserEvent final : public Tarvo::CWebBrowserEventHandler {
public:
    explicit CWebBrowserEvent(HWND hMainWnd);

    void NavigateError(IDispatch* pDisp, const VARIANT& url, const VARIANT& targetFrameName,
                       const VARIANT& statusCode, VARIANT_BOOL* pCancel) override;
    void DocumentComplete(IDispatch* pDisp, const VARIANT& url) override;
    void NewWindow3(IDispatch** ppDisp, VARIANT_BOOL* pCancel, DWORD dwFlags, BSTR bstrUrlContext,
                    BSTR bstrUrl) override;

    bool NavigateFailed() const { return m_bNavigateFailed; }

    // True for a well-formed http or https address with a host name, nothing else: a page must not
    // make the shell open a program, a script, a local file or a network share.
    static bool IsWebAddress(BSTR bstrUrl);

private:
    const HWND m_hMainWnd;
    bool m_bNavigateFailed = false;
};
