#pragma once

#include "TestComObject.h"

#include <docobj.h>
#include <mshtmhst.h>

#include <vector>

// The host's document UI handler: host-info flags, window.external, and the command target
// that answers the script-error command.
class PortalTestHandler : public IDocHostUIHandler, public IOleCommandTarget, public TestComObject {
public:
    explicit PortalTestHandler(IDispatch* external) : m_external(external) {}

    struct Command {
        bool docHostGroup = false;
        DWORD id = 0;
        VARTYPE inType = VT_EMPTY;
        bool inIsDocument = false;
    };
    DWORD hostFlags = 0x200005;
    std::vector<Command> commands;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefCount(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseCount(); }

    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override
    {
        return S_FALSE;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override;
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** target) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override;
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override;

    STDMETHODIMP QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) override { return OLECMDERR_E_NOTSUPPORTED; }
    STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out) override;

private:
    IDispatch* m_external;
};
