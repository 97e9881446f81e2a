#pragma once

#include <windows.h>
#include <downloadmgr.h>

#include "controls/ComRefCount.h"

namespace Tarvo {

class CWebBrowserUI;

// The download manager a browser control hands out as a service: every download goes to the
// control's Download. The browser may hold it longer than the control; once the control is gone
// downloads answer E_UNEXPECTED.
class CWebBrowserDownloader final : public IDownloadManager, private CUIComRefCount<CWebBrowserDownloader> {
public:
    explicit CWebBrowserDownloader(CWebBrowserUI* pOwner) : m_pOwner(pOwner) {}
    CWebBrowserDownloader(const CWebBrowserDownloader&) = delete;
    CWebBrowserDownloader& operator=(const CWebBrowserDownloader&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
                          LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP) override;

    void DetachOwner() { m_pOwner = nullptr; }

private:
    friend class CUIComRefCount<CWebBrowserDownloader>;
    ~CWebBrowserDownloader() = default;

    CWebBrowserUI* m_pOwner;
};

} // namespace Tarvo
