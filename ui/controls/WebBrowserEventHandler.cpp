#include "controls/WebBrowserEventHandler.h"

namespace Tarvo {

namespace {

template <class T> HRESULT NullOut(T** ppOut)
{
    if (ppOut != nullptr) {
        *ppOut = nullptr;
    }
    return S_OK;
}

} // namespace

void CWebBrowserEventHandler::BeforeNavigate2(IDispatch*, const VARIANT&, const VARIANT&, const VARIANT&,
                                              const VARIANT&, const VARIANT&, VARIANT_BOOL*)
{
}

void CWebBrowserEventHandler::NavigateError(IDispatch*, const VARIANT&, const VARIANT&, const VARIANT&, VARIANT_BOOL*)
{
}

void CWebBrowserEventHandler::NavigateComplete2(IDispatch*, const VARIANT&) {}

void CWebBrowserEventHandler::DocumentComplete(IDispatch*, const VARIANT&) {}

void CWebBrowserEventHandler::ReservedEvent(DWORD, DWORD) {}

void CWebBrowserEventHandler::NewWindow3(IDispatch**, VARIANT_BOOL*, DWORD, BSTR, BSTR) {}

void CWebBrowserEventHandler::CommandStateChange(long, VARIANT_BOOL) {}

HRESULT CWebBrowserEventHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::GetHostInfo(DOCHOSTUIINFO*)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                        IOleInPlaceUIWindow*)
{
    return S_FALSE;
}

HRESULT CWebBrowserEventHandler::HideUI()
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::UpdateUI()
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::EnableModeless(BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::OnDocWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::OnFrameWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    return S_FALSE;
}

HRESULT CWebBrowserEventHandler::GetOptionKeyPath(LPOLESTR* pchKey, DWORD)
{
    return NullOut(pchKey);
}

HRESULT CWebBrowserEventHandler::GetDropTarget(IDropTarget*, IDropTarget**)
{
    return E_NOTIMPL;
}

HRESULT CWebBrowserEventHandler::GetExternal(IDispatch**)
{
    return E_NOTIMPL;
}

HRESULT CWebBrowserEventHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut)
{
    return NullOut(ppchURLOut);
}

HRESULT CWebBrowserEventHandler::FilterDataObject(IDataObject*, IDataObject** ppDORet)
{
    return NullOut(ppDORet);
}

HRESULT CWebBrowserEventHandler::Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT)
{
    return S_OK;
}

} // namespace Tarvo
