#include "controls/WebBrowserDownloader.h"

#include "controls/WebBrowser.h"

namespace Tarvo {

STDMETHODIMP CWebBrowserDownloader::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    const bool bKnown = riid == IID_IUnknown || riid == __uuidof(IDownloadManager);
    return UIHandOutInterface(bKnown ? static_cast<IDownloadManager*>(this) : nullptr, ppvObject);
}

STDMETHODIMP_(ULONG) CWebBrowserDownloader::AddRef()
{
    return AddReference();
}

STDMETHODIMP_(ULONG) CWebBrowserDownloader::Release()
{
    return ReleaseReference();
}

STDMETHODIMP CWebBrowserDownloader::Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF,
                                             BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir,
                                             UINT uiCP)
{
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    return m_pOwner->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir, uiCP);
}

} // namespace Tarvo
