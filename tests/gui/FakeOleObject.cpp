#include "FakeOleObject.h"

#include "controls/ComRefCount.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace activextest {

// {6E1F0C52-3B7A-4C1D-9A55-2F40D1E3A901}
const CLSID CLSID_FakeOleObject = {0x6e1f0c52, 0x3b7a, 0x4c1d, {0x9a, 0x55, 0x2f, 0x40, 0xd1, 0xe3, 0xa9, 0x01}};

namespace {

constexpr wchar_t kFakeWindowClass[] = L"FakeOleObjectWindow";

void RegisterFakeWindowClass()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kFakeWindowClass;
    ::RegisterClassW(&wc);
}

struct NamedIid {
    const IID* iid;
    const char* name;
};

const NamedIid kIidNames[] = {
    {&IID_IOleObject, "IOleObject"},
    {&IID_IOleInPlaceObject, "IOleInPlaceObject"},
    {&IID_IOleInPlaceObjectWindowless, "IOleInPlaceObjectWindowless"},
    {&IID_IOleInPlaceActiveObject, "IOleInPlaceActiveObject"},
    {&IID_IViewObject, "IViewObject"},
    {&IID_IViewObject2, "IViewObject2"},
    {&IID_IViewObjectEx, "IViewObjectEx"},
    {&IID_IPersistStreamInit, "IPersistStreamInit"},
    {&IID_IObjectWithSite, "IObjectWithSite"},
    {&IID_IOleControl, "IOleControl"},
    {&IID_IRunnableObject, "IRunnableObject"},
    {&IID_IDispatch, "IDispatch"},
};

} // namespace

std::string RectText(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

CFakeOleObject::CFakeOleObject(FakeOptions options) : m_options(options) {}

CFakeOleObject::~CFakeOleObject()
{
    if (m_hWnd != nullptr) {
        ::DestroyWindow(m_hWnd);
    }
}

std::vector<std::string> CFakeOleObject::CallsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> result;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(result),
                 [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    return result;
}

bool CFakeOleObject::Called(const std::string& call) const
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

IUnknown* CFakeOleObject::FindInterface(REFIID riid)
{
    if (riid == IID_IUnknown) {
        return static_cast<IOleObject*>(this);
    }
    if (riid == IID_IOleObject) {
        return m_options.hasOleObject ? static_cast<IOleObject*>(this) : nullptr;
    }
    if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject) {
        return static_cast<IOleInPlaceObjectWindowless*>(this);
    }
    if (riid == IID_IOleInPlaceObjectWindowless) {
        return m_options.windowless ? static_cast<IOleInPlaceObjectWindowless*>(this) : nullptr;
    }
    if (riid == IID_IOleInPlaceActiveObject) {
        return static_cast<IOleInPlaceActiveObject*>(this);
    }
    if (riid == IID_IViewObject || riid == IID_IViewObject2 || riid == IID_IViewObjectEx) {
        return m_options.hasView ? static_cast<IViewObjectEx*>(this) : nullptr;
    }
    if (riid == IID_IPersistStreamInit) {
        return m_options.hasPersist ? static_cast<IPersistStreamInit*>(this) : nullptr;
    }
    if (riid == IID_IObjectWithSite) {
        return m_options.hasObjectWithSite ? static_cast<IObjectWithSite*>(this) : nullptr;
    }
    if (riid == IID_IOleControl) {
        return static_cast<IOleControl*>(this);
    }
    if (riid == IID_IRunnableObject) {
        return m_options.runnable ? static_cast<IRunnableObject*>(this) : nullptr;
    }
    return nullptr;
}

STDMETHODIMP CFakeOleObject::QueryInterface(REFIID riid, void** ppv)
{
    for (const NamedIid& entry : kIidNames) {
        if (*entry.iid == riid) {
            queried.push_back(entry.name);
        }
    }
    *ppv = FindInterface(riid);
    if (*ppv == nullptr) {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CFakeOleObject::AddRef()
{
    return static_cast<ULONG>(++m_ref);
}

STDMETHODIMP_(ULONG) CFakeOleObject::Release()
{
    const LONG nRef = --m_ref;
    if (nRef == 0) {
        delete this;
    }
    return static_cast<ULONG>(nRef);
}

STDMETHODIMP CFakeOleObject::SetClientSite(IOleClientSite* pClientSite)
{
    Record(pClientSite != nullptr ? "SetClientSite(site)" : "SetClientSite(null)");
    m_pClientSite = pClientSite;
    return S_OK;
}

STDMETHODIMP CFakeOleObject::GetClientSite(IOleClientSite** ppClientSite)
{
    return m_pClientSite.CopyTo(ppClientSite);
}

STDMETHODIMP CFakeOleObject::SetHostNames(LPCOLESTR szContainerApp, LPCOLESTR szContainerObj)
{
    std::string app;
    for (const wchar_t* p = szContainerApp; p != nullptr && *p != 0; ++p) {
        app += static_cast<char>(*p);
    }
    Record("SetHostNames(" + app + (szContainerObj == nullptr ? ",null)" : ",obj)"));
    return S_OK;
}

STDMETHODIMP CFakeOleObject::Close(DWORD dwSaveOption)
{
    Record("Close(" + std::to_string(dwSaveOption) + ")");
    InPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP CFakeOleObject::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                                    LPCRECT lprcPosRect)
{
    Record("DoVerb(" + std::to_string(iVerb) + ")");
    if (lprcPosRect != nullptr) {
        Record("DoVerbRect(" + RectText(*lprcPosRect) + ")");
    }
    const HRESULT hr = ActivateInPlace(pActiveSite, hwndParent);
    if (FAILED(hr) || iVerb != OLEIVERB_UIACTIVATE || m_bUIActive) {
        return hr;
    }
    m_bUIActive = true;
    m_pInPlaceSite->OnUIActivate();
    if (m_pFrame) {
        m_pFrame->SetActiveObject(this, nullptr);
    }
    return S_OK;
}

HRESULT CFakeOleObject::ActivateInPlace(IOleClientSite* pActiveSite, HWND hwndParent)
{
    if (m_bInPlace) {
        return S_OK;
    }
    if (pActiveSite == nullptr || FAILED(pActiveSite->QueryInterface(IID_PPV_ARGS(m_pInPlaceSite.ReleaseAndGetAddressOf())))) {
        return E_INVALIDARG;
    }
    if (m_pInPlaceSite->CanInPlaceActivate() != S_OK) {
        m_pInPlaceSite.Reset();
        return E_FAIL;
    }
    const HRESULT hr = m_options.windowless ? ActivateWindowless() : ActivateWindowed(hwndParent);
    if (FAILED(hr)) {
        m_pInPlaceSite.Reset();
        return hr;
    }
    m_bInPlace = true;
    RECT rcPos = {};
    RECT rcClip = {};
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof(info);
    m_pInPlaceSite->GetWindowContext(m_pFrame.ReleaseAndGetAddressOf(), m_pDoc.ReleaseAndGetAddressOf(), &rcPos,
                                     &rcClip, &info);
    Record("WindowContext(" + RectText(rcPos) + " cb=" + std::to_string(info.cb) +
           " accel=" + std::to_string(info.cAccelEntries) + (info.hwndFrame == hwndParent ? " frame=parent" : "") +
           ")");
    return S_OK;
}

HRESULT CFakeOleObject::ActivateWindowed(HWND hwndParent)
{
    HWND hwndSite = nullptr;
    if (FAILED(m_pInPlaceSite->GetWindow(&hwndSite)) || hwndSite == nullptr) {
        return E_FAIL;
    }
    Record(hwndSite == hwndParent ? "SiteWindow(parent)" : "SiteWindow(own)");
    m_pInPlaceSite->OnInPlaceActivate();
    RegisterFakeWindowClass();
    m_hWnd = ::CreateWindowExW(0, kFakeWindowClass, L"fake", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwndSite, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    return m_hWnd != nullptr ? S_OK : E_FAIL;
}

HRESULT CFakeOleObject::ActivateWindowless()
{
    ComPtr<IOleInPlaceSiteWindowless> pWindowless;
    if (FAILED(m_pInPlaceSite.As(&pWindowless)) || pWindowless->CanWindowlessActivate() != S_OK) {
        return E_FAIL;
    }
    BOOL bNoRedraw = FALSE;
    return pWindowless->OnInPlaceActivateEx(&bNoRedraw, ACTIVATE_WINDOWLESS);
}

STDMETHODIMP CFakeOleObject::InPlaceDeactivate()
{
    if (!m_bInPlace) {
        return S_OK;
    }
    UIDeactivate();
    m_bInPlace = false;
    if (m_hWnd != nullptr) {
        ::DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
    m_pInPlaceSite->OnInPlaceDeactivate();
    m_pInPlaceSite.Reset();
    m_pFrame.Reset();
    m_pDoc.Reset();
    return S_OK;
}

STDMETHODIMP CFakeOleObject::UIDeactivate()
{
    if (!m_bUIActive) {
        return S_OK;
    }
    m_bUIActive = false;
    if (m_pFrame) {
        m_pFrame->SetActiveObject(nullptr, nullptr);
    }
    m_pInPlaceSite->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP CFakeOleObject::SetExtent(DWORD dwDrawAspect, SIZEL* psizel)
{
    Record("SetExtent(" + std::to_string(dwDrawAspect) + "," + std::to_string(psizel->cx) + "," +
           std::to_string(psizel->cy) + ")");
    return S_OK;
}

STDMETHODIMP CFakeOleObject::GetMiscStatus(DWORD, DWORD* pdwStatus)
{
    *pdwStatus = m_options.miscStatus;
    return S_OK;
}

STDMETHODIMP CFakeOleObject::GetWindow(HWND* phwnd)
{
    *phwnd = m_hWnd;
    return m_hWnd != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CFakeOleObject::SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect)
{
    Record("SetObjectRects(" + RectText(*lprcPosRect) + (::EqualRect(lprcPosRect, lprcClipRect) ? ")" : " clip)"));
    if (m_hWnd != nullptr) {
        ::MoveWindow(m_hWnd, lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                     lprcPosRect->bottom - lprcPosRect->top, FALSE);
    }
    return S_OK;
}

STDMETHODIMP CFakeOleObject::OnWindowMessage(UINT msg, WPARAM, LPARAM, LRESULT* plResult)
{
    char text[32];
    std::snprintf(text, sizeof text, "OnWindowMessage(0x%X)", msg);
    Record(text);
    *plResult = 77;
    return S_OK;
}

STDMETHODIMP CFakeOleObject::TranslateAccelerator(LPMSG lpmsg)
{
    char text[40];
    std::snprintf(text, sizeof text, "TranslateAccelerator(0x%X)", lpmsg != nullptr ? lpmsg->message : 0);
    Record(text);
    return S_OK;
}

STDMETHODIMP CFakeOleObject::Draw(DWORD dwDrawAspect, LONG lindex, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw,
                                  LPCRECTL lprcBounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    const RECT rc = {lprcBounds->left, lprcBounds->top, lprcBounds->right, lprcBounds->bottom};
    Record("Draw(" + std::to_string(dwDrawAspect) + "," + std::to_string(lindex) + "," + RectText(rc) + ")");
    // A visible mark for the pixel checks: the object's rectangle in pure blue.
    const HBRUSH hBrush = ::CreateSolidBrush(RGB(0, 0, 255));
    ::FillRect(hdcDraw, &rc, hBrush);
    ::DeleteObject(hBrush);
    return S_OK;
}

STDMETHODIMP CFakeOleObject::QueryHitPoint(DWORD, LPCRECT pRectBounds, POINT ptlLoc, LONG, DWORD* pHitResult)
{
    *pHitResult = ::PtInRect(pRectBounds, ptlLoc) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP CFakeOleObject::InitNew()
{
    Record("InitNew");
    return m_options.initNewResult;
}

STDMETHODIMP CFakeOleObject::SetSite(IUnknown* pUnkSite)
{
    Record(pUnkSite != nullptr ? "SetSite(site)" : "SetSite(null)");
    m_pSite = pUnkSite;
    return S_OK;
}

STDMETHODIMP CFakeOleObject::LockRunning(BOOL fLock, BOOL)
{
    Record(fLock ? "LockRunning(1)" : "LockRunning(0)");
    m_nLocks += fLock ? 1 : -1;
    return S_OK;
}

// ---- factory and registration ----------------------------------------------------------------------

CFakeClassFactory::CFakeClassFactory(FakeOptions options, Maker maker) : m_options(options), m_maker(maker) {}

STDMETHODIMP CFakeClassFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CFakeClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (pUnkOuter != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    ComPtr<CFakeOleObject> pObject =
        Tarvo::UIAdoptNew(m_maker != nullptr ? m_maker(m_options) : new CFakeOleObject(m_options));
    const HRESULT hr = pObject->QueryInterface(riid, ppv);
    if (SUCCEEDED(hr)) {
        last = pObject;
        ++created;
    }
    return hr;
}

ScopedClassRegistration::ScopedClassRegistration(REFCLSID clsid, IClassFactory* pFactory)
{
    if (FAILED(::CoRegisterClassObject(clsid, pFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_dwCookie))) {
        m_dwCookie = 0;
    }
}

ScopedClassRegistration::~ScopedClassRegistration()
{
    if (m_dwCookie != 0) {
        ::CoRevokeClassObject(m_dwCookie);
    }
}

} // namespace activextest
