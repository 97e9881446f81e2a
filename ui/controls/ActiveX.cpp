#include "controls/ActiveX.h"

#include "controls/ActiveXCtrl.h"
#include "controls/ActiveXWnd.h"
#include "controls/ComRefCount.h"
#include "controls/AttributeValue.h"
#include "core/GdiResources.h"
#include "core/WindowManager.h"

#include <cwchar>

using Microsoft::WRL::ComPtr;

namespace Tarvo {

namespace {

constexpr CLSCTX kCreateContext = static_cast<CLSCTX>(CLSCTX_ALL);

// A class id in braces or a ProgID; GUID_NULL when the text names nothing.
CLSID ParseClassId(const wchar_t* pstrValue)
{
    wchar_t szValue[100] = {};
    std::wcsncpy(szValue, pstrValue, 99);
    CLSID clsid = GUID_NULL;
    const HRESULT hr = szValue[0] == L'{' ? ::CLSIDFromString(szValue, &clsid) : ::CLSIDFromProgID(szValue, &clsid);
    return SUCCEEDED(hr) ? clsid : GUID_NULL;
}

// The mouse messages from WM_MOUSEMOVE to WM_XBUTTONDBLCLK.
constexpr UINT kMouseFirst = 0x200;
constexpr UINT kMouseLast = 0x20D;

int HimetricFromPixels(int nPixels, int nPixelsPerInch)
{
    return nPixelsPerInch > 0 ? ::MulDiv(nPixels, 2540, nPixelsPerInch) : 0;
}

} // namespace

CActiveXUI::CActiveXUI() = default;

CActiveXUI::~CActiveXUI()
{
    CActiveXUI::ReleaseHostedObject();
}

const wchar_t* CActiveXUI::TypeName() const
{
    return L"ActiveXUI";
}

void* CActiveXUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ActiveX") == 0) {
        return this;
    }
    return CControlUI::LookupInterface(pstrName);
}

void CActiveXUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    if (std::wcscmp(pstrName, L"clsid") == 0) {
        SetClassId(ParseClassId(v));
    } else if (std::wcscmp(pstrName, L"modulename") == 0) {
        SetModuleName(v);
    } else if (std::wcscmp(pstrName, L"delaycreate") == 0) {
        SetDelayCreate(ParseAttributeBool(v));
    } else {
        CControlUI::ApplyAttribute(pstrName, pstrValue);
    }
}

void CActiveXUI::SetClassId(REFCLSID clsid)
{
    if (clsid == GUID_NULL) {
        return;
    }
    m_bCreated = false;
    m_clsid = clsid;
    if (!m_bDelayCreate) {
        CreateHostedObject();
    }
}

void CActiveXUI::SetDelayCreate(bool bDelayCreate)
{
    if (m_bDelayCreate == bDelayCreate) {
        return;
    }
    if (!bDelayCreate && !m_pUnk && m_clsid != GUID_NULL) {
        CreateHostedObject();
    }
    m_bDelayCreate = bDelayCreate;
}

HRESULT CActiveXUI::QueryHostedObject(REFIID iid, void** ppv) const
{
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    return m_pUnk ? m_pUnk->QueryInterface(iid, ppv) : E_NOINTERFACE;
}

HRESULT CActiveXUI::ConnectHostedEvents(REFIID iidEvents, IUnknown* pSink, DWORD& dwCookie, bool bConnect) const
{
    if (!m_pUnk) {
        return E_PENDING;
    }
    if (bConnect && dwCookie != 0) {
        return S_FALSE;
    }
    ComPtr<IConnectionPointContainer> pContainer;
    HRESULT hr = m_pUnk.As(&pContainer);
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<IConnectionPoint> pPoint;
    hr = pContainer->FindConnectionPoint(iidEvents, pPoint.GetAddressOf());
    if (FAILED(hr)) {
        return hr;
    }
    if (bConnect) {
        hr = pPoint->Advise(pSink, &dwCookie);
        if (FAILED(hr)) {
            dwCookie = 0;
        }
        return hr;
    }
    hr = pPoint->Unadvise(dwCookie);
    if (SUCCEEDED(hr)) {
        dwCookie = 0;
    }
    return hr;
}

HWND CActiveXUI::ManagerWindow() const
{
    return m_pManager != nullptr ? m_pManager->WindowHandle() : nullptr;
}

// ---- creation --------------------------------------------------------------------------------------

bool CActiveXUI::CreateHostedObject()
{
    ReleaseHostedObject();
    // An override may keep the object through its own release; a new one must not leak it.
    CActiveXUI::ReleaseHostedObject();
    m_bCreated = true;
    m_pUnk = InstantiateObject();
    if (!m_pUnk) {
        return false;
    }
    m_pControl = UIAdoptNew(new CActiveXCtrl(this));
    DWORD dwMiscStatus = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
    if (!InitializeObject(dwMiscStatus)) {
        AbandonObject();
        return false;
    }
    return ActivateObject(dwMiscStatus);
}

ComPtr<IOleObject> CActiveXUI::InstantiateObject() const
{
    ComPtr<IUnknown> pCreated = InstantiateFromModule();
    if (!pCreated) {
        ComPtr<IOleControl> pControl;
        if (FAILED(::CoCreateInstance(m_clsid, nullptr, kCreateContext, IID_PPV_ARGS(pControl.GetAddressOf())))) {
            return nullptr;
        }
        pCreated = pControl;
    }
    ComPtr<IOleObject> pObject;
    pCreated.As(&pObject);
    return pObject;
}

// The module stays loaded: objects from it may live as long as the process.
ComPtr<IUnknown> CActiveXUI::InstantiateFromModule() const
{
    if (m_strModuleName.IsEmpty()) {
        return nullptr;
    }
    const HMODULE hModule = ::LoadLibraryW(m_strModuleName);
    if (hModule == nullptr) {
        return nullptr;
    }
    using GetClassObjectProc = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const auto pfnGetClassObject =
        reinterpret_cast<GetClassObjectProc>(reinterpret_cast<void*>(::GetProcAddress(hModule, "DllGetClassObject")));
    if (pfnGetClassObject == nullptr) {
        return nullptr;
    }
    ComPtr<IClassFactory> pFactory;
    if (FAILED(pfnGetClassObject(m_clsid, IID_IClassFactory, reinterpret_cast<void**>(pFactory.GetAddressOf()))) ||
        !pFactory) {
        return nullptr;
    }
    ComPtr<IOleObject> pObject;
    if (FAILED(pFactory->CreateInstance(nullptr, IID_PPV_ARGS(pObject.GetAddressOf())))) {
        return nullptr;
    }
    return pObject;
}

// The client site before or after InitNew, as the object asks.
bool CActiveXUI::InitializeObject(DWORD dwMiscStatus)
{
    const bool bSiteFirst = (dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (bSiteFirst) {
        m_pUnk->SetClientSite(m_pControl.Get());
    }
    ComPtr<IPersistStreamInit> pPersist;
    if (SUCCEEDED(m_pUnk.As(&pPersist)) && FAILED(pPersist->InitNew())) {
        return false;
    }
    if (!bSiteFirst) {
        m_pUnk->SetClientSite(m_pControl.Get());
    }
    return true;
}

bool CActiveXUI::ActivateObject(DWORD dwMiscStatus)
{
    ComPtr<IViewObject> pView;
    ComPtr<IViewObjectEx> pViewEx;
    ComPtr<IViewObject2> pView2;
    if (SUCCEEDED(m_pUnk.As(&pViewEx))) {
        pView = pViewEx;
    } else if (SUCCEEDED(m_pUnk.As(&pView2))) {
        pView = pView2;
    } else {
        m_pUnk.As(&pView);
    }
    m_pControl->SetViewObject(pView.Get());
    m_pUnk->SetHostNames(L"UIActiveX", nullptr);
    if (m_pManager != nullptr) {
        m_pManager->SendNotification(this, L"showactivex", 0, 0);
    }
    bool bResult = pView != nullptr;
    if ((dwMiscStatus & OLEMISC_INVISIBLEATRUNTIME) == 0) {
        bResult = SUCCEEDED(m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_pControl.Get(), 0, ManagerWindow(),
                                           &m_rcItem));
    }
    ComPtr<IObjectWithSite> pWithSite;
    if (m_pUnk && SUCCEEDED(m_pUnk.As(&pWithSite))) {
        pWithSite->SetSite(static_cast<IOleClientSite*>(m_pControl.Get()));
    }
    return bResult;
}

// An object that could not be initialised: its client site is taken back and nothing stays.
void CActiveXUI::AbandonObject()
{
    m_pUnk->SetClientSite(nullptr);
    m_pUnk.Reset();
    DetachSite();
}

void CActiveXUI::DetachSite()
{
    if (m_pControl) {
        m_pControl->DetachOwner();
        m_pControl.Reset();
    }
}

void CActiveXUI::ReleaseHostedObject()
{
    m_hwndHost = nullptr;
    if (m_pUnk) {
        ComPtr<IObjectWithSite> pWithSite;
        if (SUCCEEDED(m_pUnk.As(&pWithSite))) {
            pWithSite->SetSite(nullptr);
        }
        m_bClosing = true;
        m_pUnk->Close(OLECLOSE_NOSAVE);
        m_bClosing = false;
        m_pUnk->SetClientSite(nullptr);
        m_pUnk.Reset();
    }
    DetachSite();
    RemoveMessageFilter();
}

// ---- placement and visibility ----------------------------------------------------------------------

void CActiveXUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
    if (!m_bCreated) {
        CreateHostedObject();
    }
    if (!m_pUnk || !m_pControl) {
        return;
    }
    ApplyExtent();
    PlaceObject();
}

void CActiveXUI::ApplyExtent()
{
    const CUIWindowDC screen(nullptr);
    SIZEL szHimetric = {
        HimetricFromPixels(m_rcItem.right - m_rcItem.left, ::GetDeviceCaps(screen.DC(), LOGPIXELSX)),
        HimetricFromPixels(m_rcItem.bottom - m_rcItem.top, ::GetDeviceCaps(screen.DC(), LOGPIXELSY)),
    };
    m_pUnk->SetExtent(DVASPECT_CONTENT, &szHimetric);
}

RECT CActiveXUI::ObjectRect() const
{
    RECT rc = m_rcItem;
    if (m_pControl && !m_pControl->IsWindowless()) {
        ::OffsetRect(&rc, -rc.left, -rc.top);
    }
    return rc;
}

void CActiveXUI::PlaceObject()
{
    if (!m_pControl) {
        return;
    }
    if (IOleInPlaceObject* pInPlace = m_pControl->InPlaceObject()) {
        const RECT rc = ObjectRect();
        pInPlace->SetObjectRects(&rc, &rc);
    }
    if (CActiveXWnd* pWindow = m_pControl->HostWindowObject()) {
        MoveHostWindow(pWindow->WindowHandle());
    }
}

// Moved without repainting, as layout moves it often. A new size is repainted though: the object
// resized its own window while the host window still had its old size, so the part it gains was
// never invalidated (an object placed first at an empty rectangle would never paint).
void CActiveXUI::MoveHostWindow(HWND hwndHost) const
{
    RECT rcOld = {0, 0, 0, 0};
    ::GetClientRect(hwndHost, &rcOld);
    const int cx = m_rcItem.right - m_rcItem.left;
    const int cy = m_rcItem.bottom - m_rcItem.top;
    ::MoveWindow(hwndHost, m_rcItem.left, m_rcItem.top, cx, cy, FALSE);
    if (rcOld.right != cx || rcOld.bottom != cy) {
        ::RedrawWindow(hwndHost, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}

void CActiveXUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    ShowHostWindow();
}

void CActiveXUI::SetAncestorVisible(bool bVisible)
{
    CControlUI::SetAncestorVisible(bVisible);
    ShowHostWindow();
}

void CActiveXUI::ShowHostWindow()
{
    if (!m_pControl || m_pControl->IsWindowless()) {
        return;
    }
    if (CActiveXWnd* pWindow = m_pControl->HostWindowObject()) {
        ::ShowWindow(pWindow->WindowHandle(), IsVisible() ? SW_SHOW : SW_HIDE);
    }
}

// ---- windowless objects ----------------------------------------------------------------------------

void CActiveXUI::Paint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) {
        return;
    }
    if (!m_pControl || !m_pControl->IsWindowless() || m_pControl->ViewObject() == nullptr) {
        return;
    }
    const RECTL rcl = {m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    m_pControl->ViewObject()->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &rcl, &rcl, nullptr, 0);
}

void CActiveXUI::InstallMessageFilter()
{
    if (m_pFilterManager == nullptr && m_pManager != nullptr) {
        m_pFilterManager = m_pManager;
        m_pFilterManager->AddMessageFilter(this);
    }
}

void CActiveXUI::RemoveMessageFilter()
{
    if (m_pFilterManager != nullptr) {
        m_pFilterManager->RemoveMessageFilter(this);
        m_pFilterManager = nullptr;
    }
}

LRESULT CActiveXUI::FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (!m_pControl || !m_pControl->IsInPlaceActive() || m_pControl->InPlaceObject() == nullptr ||
        !m_pControl->IsWindowless() || !WantsMessage(uMsg, lParam)) {
        return 0;
    }
    ComPtr<IOleInPlaceObjectWindowless> pWindowless;
    if (FAILED(m_pControl->InPlaceObject()->QueryInterface(IID_PPV_ARGS(pWindowless.GetAddressOf())))) {
        return 0;
    }
    LRESULT lResult = 0;
    const HRESULT hr = pWindowless->OnWindowMessage(uMsg, wParam, lParam, &lResult);
    // The cursor, help and context menu go on to the window whatever the object did with them.
    if (hr == S_OK && uMsg != WM_SETCURSOR && uMsg != WM_HELP && uMsg != WM_CONTEXTMENU) {
        bHandled = true;
    }
    return lResult;
}

bool CActiveXUI::WantsMessage(UINT uMsg, LPARAM lParam) const
{
    const bool bMouse = uMsg >= kMouseFirst && uMsg <= kMouseLast;
    if (bMouse && !IsMouseEnabled()) {
        return false;
    }
    if (bMouse || uMsg == WM_SETCURSOR) {
        return m_pControl->HasCapture() || HitsObject(uMsg, lParam);
    }
    if (uMsg == WM_HELP || uMsg == WM_CONTEXTMENU) {
        return true;
    }
    return IsUIKeyMessage(uMsg) && IsFocused();
}

bool CActiveXUI::HitsObject(UINT uMsg, LPARAM lParam) const
{
    ComPtr<IViewObjectEx> pViewEx;
    IViewObject* pView = m_pControl->ViewObject();
    if (pView == nullptr || FAILED(pView->QueryInterface(IID_PPV_ARGS(pViewEx.GetAddressOf())))) {
        return false;
    }
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (uMsg == WM_SETCURSOR) {
        ::GetCursorPos(&pt);
        ::ScreenToClient(ManagerWindow(), &pt);
    }
    DWORD dwHit = HITRESULT_OUTSIDE;
    pViewEx->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, pt, 0, &dwHit);
    return dwHit == HITRESULT_HIT;
}

} // namespace Tarvo
