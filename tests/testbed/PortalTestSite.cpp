#include "PortalTestSite.h"

STDMETHODIMP PortalTestSite::QueryInterface(REFIID riid, void** ppv)
{
    IUnknown* site = static_cast<IOleClientSite*>(this);
    IUnknown* inPlace = static_cast<IOleInPlaceSite*>(this);
    IUnknown* frame = static_cast<IOleInPlaceFrame*>(this);
    return Answer(riid, ppv,
                  {{&IID_IUnknown, site},
                   {&IID_IOleClientSite, site},
                   {&IID_IOleWindow, inPlace},
                   {&IID_IOleInPlaceSite, inPlace},
                   {&IID_IOleInPlaceUIWindow, frame},
                   {&IID_IOleInPlaceFrame, frame}});
}

STDMETHODIMP PortalTestSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker != nullptr)
        *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP PortalTestSite::GetContainer(IOleContainer** container)
{
    if (container != nullptr)
        *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP PortalTestSite::GetWindow(HWND* hwnd)
{
    if (hwnd == nullptr)
        return E_POINTER;
    *hwnd = m_window;
    return S_OK;
}

STDMETHODIMP PortalTestSite::OnInPlaceActivate()
{
    calls.push_back("OnInPlaceActivate");
    return S_OK;
}

STDMETHODIMP PortalTestSite::OnUIActivate()
{
    calls.push_back("OnUIActivate");
    return S_OK;
}

STDMETHODIMP PortalTestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT position,
                                              LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (frame == nullptr || doc == nullptr || position == nullptr || clip == nullptr || info == nullptr)
        return E_POINTER;
    calls.push_back("GetWindowContext");
    *frame = this;
    AddRef();
    *doc = nullptr;
    *position = m_position;
    *clip = m_position;
    info->fMDIApp = FALSE;
    info->hwndFrame = m_window;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP PortalTestSite::OnUIDeactivate(BOOL)
{
    calls.push_back("OnUIDeactivate");
    return S_OK;
}

STDMETHODIMP PortalTestSite::OnInPlaceDeactivate()
{
    calls.push_back("OnInPlaceDeactivate");
    return S_OK;
}

STDMETHODIMP PortalTestSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    calls.push_back(object != nullptr ? "SetActiveObject" : "SetActiveObject(null)");
    m_activeObject = object;
    return S_OK;
}
