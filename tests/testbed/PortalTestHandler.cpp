#include "PortalTestHandler.h"

#include <exdisp.h>
#include <wrl/client.h>

STDMETHODIMP PortalTestHandler::QueryInterface(REFIID riid, void** ppv)
{
    IUnknown* handler = static_cast<IDocHostUIHandler*>(this);
    IUnknown* target = static_cast<IOleCommandTarget*>(this);
    return Answer(riid, ppv,
                  {{&IID_IUnknown, handler}, {&IID_IDocHostUIHandler, handler}, {&IID_IOleCommandTarget, target}});
}

STDMETHODIMP PortalTestHandler::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    info->cbSize = sizeof *info;
    info->dwFlags |= hostFlags;
    info->dwDoubleClick = 0;
    return S_OK;
}

STDMETHODIMP PortalTestHandler::GetOptionKeyPath(LPOLESTR* key, DWORD)
{
    if (key != nullptr)
        *key = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP PortalTestHandler::GetDropTarget(IDropTarget*, IDropTarget** target)
{
    if (target != nullptr)
        *target = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP PortalTestHandler::GetExternal(IDispatch** external)
{
    if (external == nullptr)
        return E_POINTER;
    *external = m_external;
    if (m_external == nullptr)
        return E_NOTIMPL;
    m_external->AddRef();
    return S_OK;
}

STDMETHODIMP PortalTestHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* out)
{
    if (out != nullptr)
        *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP PortalTestHandler::FilterDataObject(IDataObject*, IDataObject** out)
{
    if (out != nullptr)
        *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP PortalTestHandler::Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out)
{
    Command command;
    command.docHostGroup = group != nullptr && *group == CGID_DocHostCommandHandler;
    command.id = id;
    if (in != nullptr) {
        command.inType = in->vt;
        Microsoft::WRL::ComPtr<IDispatch> document;
        command.inIsDocument = in->vt == VT_UNKNOWN && in->punkVal != nullptr &&
                               SUCCEEDED(in->punkVal->QueryInterface(IID_PPV_ARGS(&document)));
    }
    commands.push_back(command);
    if (!command.docHostGroup)
        return OLECMDERR_E_UNKNOWNGROUP;
    if (out != nullptr) {
        out->vt = VT_BOOL;
        out->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}
