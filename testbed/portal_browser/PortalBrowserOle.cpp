// The embedding side of the stand-in browser: OLE object, in-place activation, view and persistence.
#include "PortalBrowser.h"

#include "RecordFile.h"

#include <exdisp.h>

namespace wxlmportal {

namespace {

void Trace(const wchar_t* method, const std::wstring& detail = {})
{
    if (detail.empty()) {
        CRecordFile::Append({L"method", method});
    } else {
        CRecordFile::Append({L"method", method, detail});
    }
}

std::wstring RectText(const RECT& r)
{
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
           std::to_wstring(r.bottom);
}

const wchar_t* PresentOrNull(const void* pointer)
{
    return pointer != nullptr ? L"site" : L"null";
}

} // namespace

STDMETHODIMP CPortalBrowser::SetClientSite(IOleClientSite* site)
{
    Trace(L"IOleObject::SetClientSite", PresentOrNull(site));
    m_clientSite = site;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::GetClientSite(IOleClientSite** site)
{
    if (site == nullptr) {
        return E_POINTER;
    }
    *site = nullptr;
    return m_clientSite ? m_clientSite.CopyTo(site) : S_OK;
}

STDMETHODIMP CPortalBrowser::SetHostNames(LPCOLESTR app, LPCOLESTR)
{
    Trace(L"IOleObject::SetHostNames", app != nullptr ? app : L"");
    return S_OK;
}

STDMETHODIMP CPortalBrowser::Close(DWORD saveOption)
{
    Trace(L"IOleObject::Close", std::to_wstring(saveOption));
    const ComPtr<CPortalBrowser> keepAlive(this);
    m_player.Clear();
    InPlaceDeactivate();
    m_viewSink.Reset();
    // The document lets go of the host's UI handler with it.
    m_document.Reset();
    m_loaded = false;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker != nullptr) {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CPortalBrowser::GetClipboardData(DWORD, IDataObject** data)
{
    if (data != nullptr) {
        *data = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CPortalBrowser::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND, LPCRECT)
{
    Trace(L"IOleObject::DoVerb", std::to_wstring(verb));
    IOleClientSite* site = activeSite != nullptr ? activeSite : m_clientSite.Get();
    switch (verb) {
    case OLEIVERB_INPLACEACTIVATE:
        return InPlaceActivate(site, false);
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
        return InPlaceActivate(site, true);
    case OLEIVERB_HIDE:
        m_window.Show(false);
        return S_OK;
    default:
        break;
    }
    return OLEOBJ_S_INVALIDVERB;
}

HRESULT CPortalBrowser::InPlaceActivate(IOleClientSite* site, bool uiActivate)
{
    const ComPtr<CPortalBrowser> keepAlive(this);
    if (!m_inPlaceSite) {
        ComPtr<IOleInPlaceSite> inPlaceSite;
        if (site == nullptr || FAILED(site->QueryInterface(IID_PPV_ARGS(&inPlaceSite)))) {
            return E_NOINTERFACE;
        }
        if (inPlaceSite->CanInPlaceActivate() != S_OK) {
            return E_FAIL;
        }
        const HRESULT hr = CreateInPlaceWindow(inPlaceSite.Get());
        if (FAILED(hr)) {
            return hr;
        }
    }
    if (uiActivate && !m_uiActive && m_inPlaceSite) {
        m_uiActive = true;
        m_inPlaceSite->OnUIActivate();
        if (m_frame) {
            m_frame->SetActiveObject(this, L"Portal");
        }
        if (m_uiWindow) {
            m_uiWindow->SetActiveObject(this, L"Portal");
        }
    }
    return S_OK;
}

// The site learns of the activation first (a host creates its window there), then hands out
// the window and the context the control lives in.
HRESULT CPortalBrowser::CreateInPlaceWindow(IOleInPlaceSite* site)
{
    HRESULT hr = site->OnInPlaceActivate();
    if (FAILED(hr)) {
        return hr;
    }
    HWND parent = nullptr;
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> uiWindow;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    hr = site->GetWindow(&parent);
    if (SUCCEEDED(hr)) {
        hr = site->GetWindowContext(frame.GetAddressOf(), uiWindow.GetAddressOf(), &position, &clip, &frameInfo);
    }
    if (SUCCEEDED(hr) && !m_window.Create(parent, position)) {
        hr = E_FAIL;
    }
    if (FAILED(hr)) {
        site->OnInPlaceDeactivate();
        return hr;
    }
    Trace(L"IOleInPlaceSite::GetWindowContext", RectText(position));
    m_inPlaceSite = site;
    m_frame = frame;
    m_uiWindow = uiWindow;
    m_window.Show(m_visible != VARIANT_FALSE);
    return S_OK;
}

STDMETHODIMP CPortalBrowser::InPlaceDeactivate()
{
    Trace(L"IOleInPlaceObject::InPlaceDeactivate");
    if (!m_inPlaceSite) {
        return S_OK;
    }
    const ComPtr<CPortalBrowser> keepAlive(this);
    UIDeactivate();
    m_window.Destroy();
    const ComPtr<IOleInPlaceSite> site = std::move(m_inPlaceSite);
    m_frame.Reset();
    m_uiWindow.Reset();
    site->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP CPortalBrowser::UIDeactivate()
{
    if (!m_uiActive) {
        return S_OK;
    }
    Trace(L"IOleInPlaceObject::UIDeactivate");
    m_uiActive = false;
    if (m_frame) {
        m_frame->SetActiveObject(nullptr, nullptr);
    }
    if (m_uiWindow) {
        m_uiWindow->SetActiveObject(nullptr, nullptr);
    }
    if (m_inPlaceSite) {
        m_inPlaceSite->OnUIDeactivate(FALSE);
    }
    return S_OK;
}

STDMETHODIMP CPortalBrowser::GetWindow(HWND* hwnd)
{
    if (hwnd == nullptr) {
        return E_POINTER;
    }
    *hwnd = m_window.Handle();
    return *hwnd != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CPortalBrowser::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (position == nullptr) {
        return E_POINTER;
    }
    Trace(L"IOleInPlaceObject::SetObjectRects", RectText(*position));
    m_window.Move(*position);
    return S_OK;
}

STDMETHODIMP CPortalBrowser::TranslateAccelerator(LPMSG msg)
{
    if (msg == nullptr) {
        return E_POINTER;
    }
    wchar_t detail[48];
    swprintf(detail, ARRAYSIZE(detail), L"message=0x%04X key=0x%02X", msg->message, static_cast<unsigned>(msg->wParam));
    Trace(L"IOleInPlaceActiveObject::TranslateAccelerator", detail);
    return S_FALSE;
}

STDMETHODIMP CPortalBrowser::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                                  BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (dc == nullptr || bounds == nullptr) {
        return E_INVALIDARG;
    }
    if (aspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    Trace(L"IViewObject::Draw");
    const RECT area{bounds->left, bounds->top, bounds->right, bounds->bottom};
    CPortalPage::Paint(dc, area, View());
    return S_OK;
}

STDMETHODIMP CPortalBrowser::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    m_viewAspects = aspects;
    m_viewFlags = flags;
    m_viewSink = sink;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects != nullptr) {
        *aspects = m_viewAspects;
    }
    if (flags != nullptr) {
        *flags = m_viewFlags;
    }
    if (sink != nullptr) {
        *sink = nullptr;
        if (m_viewSink) {
            m_viewSink.CopyTo(sink);
        }
    }
    return S_OK;
}

STDMETHODIMP CPortalBrowser::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    return static_cast<IOleObject*>(this)->GetExtent(aspect, size);
}

STDMETHODIMP CPortalBrowser::EnumVerbs(IEnumOLEVERB** verbs)
{
    if (verbs != nullptr) {
        *verbs = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CPortalBrowser::GetUserClassID(CLSID* clsid)
{
    return GetClassID(clsid);
}

STDMETHODIMP CPortalBrowser::GetUserType(DWORD, LPOLESTR* type)
{
    if (type != nullptr) {
        *type = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CPortalBrowser::SetExtent(DWORD aspect, SIZEL* size)
{
    if (size == nullptr) {
        return E_POINTER;
    }
    Trace(L"IOleObject::SetExtent", std::to_wstring(size->cx) + L"," + std::to_wstring(size->cy));
    if (aspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    m_extent = *size;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::GetExtent(DWORD aspect, SIZEL* size)
{
    if (size == nullptr) {
        return E_POINTER;
    }
    if (aspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    *size = m_extent;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::Advise(IAdviseSink*, DWORD* connection)
{
    if (connection != nullptr) {
        *connection = 0;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CPortalBrowser::EnumAdvise(IEnumSTATDATA** advise)
{
    if (advise != nullptr) {
        *advise = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CPortalBrowser::GetMiscStatus(DWORD aspect, DWORD* status)
{
    if (status == nullptr) {
        return E_POINTER;
    }
    Trace(L"IOleObject::GetMiscStatus", std::to_wstring(aspect));
    *status = m_scenario.MiscStatus();
    return S_OK;
}

STDMETHODIMP CPortalBrowser::GetClassID(CLSID* clsid)
{
    if (clsid == nullptr) {
        return E_POINTER;
    }
    *clsid = CLSID_WebBrowser;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::InitNew()
{
    Trace(L"IPersistStreamInit::InitNew");
    return m_scenario.InitNewResult();
}

STDMETHODIMP CPortalBrowser::SetSite(IUnknown* site)
{
    Trace(L"IObjectWithSite::SetSite", PresentOrNull(site));
    m_site = site;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::GetSite(REFIID riid, void** site)
{
    if (site == nullptr) {
        return E_POINTER;
    }
    *site = nullptr;
    return m_site ? m_site->QueryInterface(riid, site) : E_FAIL;
}

STDMETHODIMP CPortalBrowser::FreezeEvents(BOOL freeze)
{
    Trace(L"IOleControl::FreezeEvents", std::to_wstring(freeze));
    return S_OK;
}

} // namespace wxlmportal
