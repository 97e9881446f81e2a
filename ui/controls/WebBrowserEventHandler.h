#pragma once

#include <windows.h>
#include <ole2.h>
#include <docobj.h>
#include <mshtmhst.h>
#include <urlmon.h>

namespace Tarvo {

// Receives the browser's events and the document host calls a browser control forwards. Every
// operation does nothing by default. Values arrive as the event carried them, already checked:
// a VARIANT argument is never itself a reference, and the pointers to what a handler may change
// (cancel flags, the new-window slot) are never null.
class CWebBrowserEventHandler {
public:
    virtual void BeforeNavigate2(IDispatch* pDisp, const VARIANT& url, const VARIANT& flags,
                                 const VARIANT& targetFrameName, const VARIANT& postData, const VARIANT& headers,
                                 VARIANT_BOOL* pCancel);
    virtual void NavigateError(IDispatch* pDisp, const VARIANT& url, const VARIANT& targetFrameName,
                               const VARIANT& statusCode, VARIANT_BOOL* pCancel);
    virtual void NavigateComplete2(IDispatch* pDisp, const VARIANT& url);
    virtual void DocumentComplete(IDispatch* pDisp, const VARIANT& url);
    // Never called by the framework.
    virtual void ReservedEvent(DWORD dwFirst, DWORD dwSecond);
    virtual void NewWindow3(IDispatch** ppDisp, VARIANT_BOOL* pCancel, DWORD dwFlags, BSTR bstrUrlContext,
                            BSTR bstrUrl);
    virtual void CommandStateChange(long nCommand, VARIANT_BOOL bEnable);

    // The IDocHostUIHandler calls, in that interface's order.
    virtual HRESULT ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                    IDispatch* pDispatchObjectHit);
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo);
    virtual HRESULT ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                           IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc);
    virtual HRESULT HideUI();
    virtual HRESULT UpdateUI();
    virtual HRESULT EnableModeless(BOOL fEnable);
    virtual HRESULT OnDocWindowActivate(BOOL fActivate);
    virtual HRESULT OnFrameWindowActivate(BOOL fActivate);
    virtual HRESULT ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow);
    virtual HRESULT TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID);
    virtual HRESULT GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw);
    virtual HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget);
    virtual HRESULT GetExternal(IDispatch** ppDispatch);
    virtual HRESULT TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut);
    virtual HRESULT FilterDataObject(IDataObject* pDO, IDataObject** ppDORet);

    // IDownloadManager::Download.
    virtual HRESULT Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
                             LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP);
};

} // namespace Tarvo
