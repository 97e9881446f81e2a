#pragma once

// A browser-like fake on top of the OLE fake: IWebBrowser2 (Navigate2, get_Document, put_Silent,
// get_LocationURL), one connection point for DWebBrowserEvents2, and a document that takes a UI
// handler through ICustomDoc.

#include "FakeOleObject.h"

#include <exdisp.h>
#include <mshtmhst.h>

#include <string>
#include <vector>

namespace activextest {

class CFakeDocument final : public IDispatch, public ICustomDoc {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++m_ref); }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP SetUIHandler(IDocHostUIHandler* pUIHandler) override;

    Microsoft::WRL::ComPtr<IDocHostUIHandler> uiHandler;
    int handlerSets = 0;

private:
    LONG m_ref = 1;
};

class CFakeWebBrowser : public CFakeOleObject,
                        public IWebBrowser2,
                        public IConnectionPointContainer,
                        public IConnectionPoint {
public:
    explicit CFakeWebBrowser(FakeOptions options = {});
    ~CFakeWebBrowser() override;
    static CFakeOleObject* Make(const FakeOptions& options) { return new CFakeWebBrowser(options); }

    std::vector<std::wstring> navigations;
    std::vector<VARTYPE> navigationTypes;
    bool silent = false;
    bool documentAvailable = true;
    Microsoft::WRL::ComPtr<IDispatch> sink;
    DWORD adviseCount = 0;
    DWORD unadviseCount = 0;
    CFakeDocument* Document() const { return m_pDocument; }
    // Sends one event to the advised sink; E_FAIL without one.
    HRESULT Fire(DISPID id, DISPPARAMS& params, UINT* puArgErr = nullptr);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return CFakeOleObject::QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return CFakeOleObject::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CFakeOleObject::Release(); }
    STDMETHODIMP Close(DWORD dwSaveOption) override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IWebBrowser2: what a host uses.
    STDMETHODIMP Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                           VARIANT* Headers) override;
    STDMETHODIMP get_Document(IDispatch** ppDisp) override;
    STDMETHODIMP put_Silent(VARIANT_BOOL bSilent) override;
    STDMETHODIMP get_LocationURL(BSTR* LocationURL) override;
    // The rest is not implemented.
    STDMETHODIMP GoBack() override { return E_NOTIMPL; }
    STDMETHODIMP GoForward() override { return E_NOTIMPL; }
    STDMETHODIMP GoHome() override { return E_NOTIMPL; }
    STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
    STDMETHODIMP Navigate(BSTR, VARIANT *, VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP Refresh() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh2(VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP Stop() override { return E_NOTIMPL; }
    STDMETHODIMP get_Application(IDispatch **) override { return E_NOTIMPL; }
    STDMETHODIMP get_Parent(IDispatch **) override { return E_NOTIMPL; }
    STDMETHODIMP get_Container(IDispatch **) override { return E_NOTIMPL; }
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP get_Type(BSTR *) override { return E_NOTIMPL; }
    STDMETHODIMP get_Left(LONG *) override { return E_NOTIMPL; }
    STDMETHODIMP put_Left(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Top(LONG *) override { return E_NOTIMPL; }
    STDMETHODIMP put_Top(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG *) override { return E_NOTIMPL; }
    STDMETHODIMP put_Width(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG *) override { return E_NOTIMPL; }
    STDMETHODIMP put_Height(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationName(BSTR *) override { return E_NOTIMPL; }
    STDMETHODIMP get_Busy(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP Quit() override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int *, int *) override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR *) override { return E_NOTIMPL; }
    STDMETHODIMP get_HWND(SHANDLE_PTR *) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullName(BSTR *) override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR *) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusText(BSTR *) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_ToolBar(int *) override { return E_NOTIMPL; }
    STDMETHODIMP put_ToolBar(int) override { return E_NOTIMPL; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP QueryStatusWB(OLECMDID, OLECMDF *) override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP ShowBrowserBar(VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE *) override { return E_NOTIMPL; }
    STDMETHODIMP get_Offline(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Silent(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL *) override { return E_NOTIMPL; }
    STDMETHODIMP put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    STDMETHODIMP Unadvise(DWORD dwCookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

protected:
    IUnknown* FindInterface(REFIID riid) override;

private:
    CFakeDocument* m_pDocument;
};

} // namespace activextest
