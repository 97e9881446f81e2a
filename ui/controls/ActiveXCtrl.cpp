#include "controls/ActiveXCtrl.h"

#include "controls/ActiveX.h"
#include "controls/ActiveXEnum.h"
#include "controls/ActiveXFrameWnd.h"
#include "controls/ActiveXWnd.h"
#include "core/GdiResources.h"
#include "core/WindowManager.h"

using Microsoft::WRL::ComPtr;

namespace Tarvo {

CActiveXCtrl::CActiveXCtrl(CActiveXUI* pOwner) : m_pOwner(pOwner) {}

CActiveXCtrl::~CActiveXCtrl()
{
    DestroyHostWindow();
    if (m_hAccel != nullptr) {
        ::DestroyAcceleratorTable(m_hAccel);
    }
}

void CActiveXCtrl::DetachOwner()
{
    DestroyHostWindow();
    // Without its owner the site serves nothing more. An object that still holds the site would
    // otherwise keep itself alive through the site's references to it.
    m_pViewObject.Reset();
    m_pInPlaceObject.Reset();
    m_pOwner = nullptr;
}

// ---- IUnknown -----------------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    IUnknown* pInterface = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
        pInterface = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite || riid == IID_IOleInPlaceSiteEx ||
               riid == IID_IOleInPlaceSiteWindowless) {
        pInterface = static_cast<IOleInPlaceSiteWindowless*>(this);
    } else if (riid == IID_IOleControlSite) {
        pInterface = static_cast<IOleControlSite*>(this);
    } else if (riid == IID_IObjectWithSite) {
        pInterface = static_cast<IObjectWithSite*>(this);
    } else if (riid == IID_IOleContainer || riid == IID_IParseDisplayName) {
        pInterface = static_cast<IOleContainer*>(this);
    }
    return UIHandOutInterface(pInterface, ppvObject);
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef()
{
    return AddReference();
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    return ReleaseReference();
}

// ---- IOleClientSite ----------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::SaveObject()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD /*dwAssign*/, DWORD /*dwWhichMoniker*/, IMoniker** ppmk)
{
    if (ppmk != nullptr) {
        *ppmk = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer == nullptr) {
        return E_POINTER;
    }
    *ppContainer = nullptr;
    if (m_pSite && SUCCEEDED(m_pSite->QueryInterface(IID_PPV_ARGS(ppContainer)))) {
        return S_OK;
    }
    return QueryInterface(IID_PPV_ARGS(ppContainer));
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    const CUIWindowDC dc(m_pOwner->HostWindow());
    if (dc.DC() == nullptr) {
        return E_FAIL;
    }
    if (m_pViewObject) {
        const RECT rc = m_pOwner->Position();
        const RECTL rcl = {rc.left, rc.top, rc.right, rc.bottom};
        m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc.DC(), &rcl, &rcl, nullptr, 0);
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL /*fShow*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

// ---- IOleWindow ----------------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr) {
        return E_POINTER;
    }
    *phwnd = nullptr;
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    if (m_pOwner->HostWindow() == nullptr) {
        CreateHostWindow();
    }
    *phwnd = m_pOwner->HostWindow();
    return *phwnd != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL /*fEnterMode*/)
{
    return S_OK;
}

// ---- IOleInPlaceSite -----------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivate()
{
    return OnInPlaceActivateEx(nullptr, 0);
}

STDMETHODIMP CActiveXCtrl::OnUIActivate()
{
    m_bUIActive = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                            LPRECT lprcPosRect, LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (ppFrame == nullptr || ppDoc == nullptr || lprcPosRect == nullptr || lprcClipRect == nullptr ||
        lpFrameInfo == nullptr) {
        return E_POINTER;
    }
    *ppFrame = nullptr;
    *ppDoc = nullptr;
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    RECT rc = m_pOwner->Position();
    if (m_pWindow != nullptr) {
        ::GetClientRect(m_pWindow->WindowHandle(), &rc);
    }
    *lprcPosRect = rc;
    *lprcClipRect = rc;
    const HWND hWndFrame = m_pOwner->ManagerWindow();
    *ppFrame = new CActiveXFrameWnd(hWndFrame);
    lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = hWndFrame;
    lpFrameInfo->haccel = EmptyAcceleratorTable();
    lpFrameInfo->cAccelEntries = 1;
    return S_OK;
}

// One table per site, destroyed with it: the object may keep the handle while it is active.
HACCEL CActiveXCtrl::EmptyAcceleratorTable()
{
    if (m_hAccel == nullptr) {
        ACCEL accel = {};
        m_hAccel = ::CreateAcceleratorTableW(&accel, 1);
    }
    return m_hAccel;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE /*scrollExtant*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL /*fUndoable*/)
{
    m_bUIActive = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate()
{
    return OnInPlaceDeactivateEx(TRUE);
}

STDMETHODIMP CActiveXCtrl::DiscardUndoState()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT /*lprcPosRect*/)
{
    return E_NOTIMPL;
}

// ---- IOleInPlaceSiteEx ---------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL* /*pfNoRedraw*/, DWORD dwFlags)
{
    if (m_pOwner == nullptr || !m_pOwner->m_pUnk) {
        return E_UNEXPECTED;
    }
    if (!m_bRunningLocked) {
        m_bRunningLocked = SUCCEEDED(::OleLockRunning(m_pOwner->m_pUnk.Get(), TRUE, FALSE));
    }
    HRESULT hr = E_FAIL;
    if ((dwFlags & ACTIVATE_WINDOWLESS) != 0) {
        hr = ActivateWindowless();
    }
    if (FAILED(hr)) {
        hr = ActivateWindowed();
    }
    if (SUCCEEDED(hr)) {
        m_pOwner->PlaceObject();
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

HRESULT CActiveXCtrl::ActivateWindowless()
{
    ComPtr<IOleInPlaceObjectWindowless> pWindowless;
    const HRESULT hr = m_pOwner->m_pUnk.As(&pWindowless);
    if (FAILED(hr)) {
        return hr;
    }
    // A host window made for an earlier GetWindow has no use for a windowless object.
    DestroyHostWindow();
    m_bWindowless = true;
    m_pInPlaceObject = pWindowless;
    m_pOwner->m_hwndHost = m_pOwner->ManagerWindow();
    m_pOwner->InstallMessageFilter();
    return S_OK;
}

HRESULT CActiveXCtrl::ActivateWindowed()
{
    m_bWindowless = false;
    const HRESULT hr = CreateHostWindow();
    if (FAILED(hr)) {
        return hr;
    }
    return m_pOwner->m_pUnk.As(&m_pInPlaceObject);
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL /*fNoRedraw*/)
{
    m_bInPlaceActive = false;
    m_pInPlaceObject.Reset();
    DestroyHostWindow();
    if (m_bRunningLocked && m_pOwner != nullptr && m_pOwner->m_pUnk) {
        ::OleLockRunning(m_pOwner->m_pUnk.Get(), FALSE, FALSE);
    }
    m_bRunningLocked = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate()
{
    return S_OK;
}

// ---- IOleInPlaceSiteWindowless -------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetCapture()
{
    return m_bCaptured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL fCapture)
{
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    m_bCaptured = fCapture != FALSE;
    if (m_bCaptured) {
        ::SetCapture(m_pOwner->HostWindow());
    } else {
        ::ReleaseCapture();
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus()
{
    return m_bFocused ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL fFocus)
{
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    if (fFocus) {
        m_pOwner->RequestFocus();
    }
    m_bFocused = fFocus != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT /*pRect*/, DWORD grfFlags, HDC* phDC)
{
    if (phDC == nullptr) {
        return E_POINTER;
    }
    *phDC = nullptr;
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    *phDC = ::GetDC(m_pOwner->HostWindow());
    if (*phDC == nullptr) {
        return E_FAIL;
    }
    if ((grfFlags & OLEDC_PAINTBKGND) != 0) {
        const RECT rc = m_pOwner->ObjectRect();
        ::FillRect(*phDC, &rc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC hDC)
{
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    ::ReleaseDC(m_pOwner->HostWindow(), hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT pRect, BOOL fErase)
{
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    return ::InvalidateRect(m_pOwner->HostWindow(), pRect, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN hRGN, BOOL fErase)
{
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    return ::InvalidateRgn(m_pOwner->HostWindow(), hRGN, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT /*dx*/, INT /*dy*/, LPCRECT /*pRectScroll*/, LPCRECT /*pRectClip*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT /*prc*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    if (plResult == nullptr) {
        return E_POINTER;
    }
    *plResult = 0;
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    *plResult = ::DefWindowProcW(m_pOwner->HostWindow(), msg, wParam, lParam);
    return S_OK;
}

// ---- IOleControlSite -----------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL /*fLock*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** ppDisp)
{
    if (ppDisp == nullptr) {
        return E_POINTER;
    }
    *ppDisp = nullptr;
    if (m_pOwner == nullptr || !m_pOwner->m_pUnk) {
        return E_UNEXPECTED;
    }
    return m_pOwner->m_pUnk->QueryInterface(IID_PPV_ARGS(ppDisp));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL* /*pPtlHimetric*/, POINTF* /*pPtfContainer*/, DWORD /*dwFlags*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG* /*pMsg*/, DWORD /*grfModifiers*/)
{
    return S_FALSE;
}

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL fGotFocus)
{
    m_bFocused = fGotFocus != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

// ---- IObjectWithSite -----------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* pUnkSite)
{
    m_pSite = pUnkSite;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID riid, void** ppvSite)
{
    if (ppvSite == nullptr) {
        return E_POINTER;
    }
    *ppvSite = nullptr;
    if (!m_pSite) {
        return E_FAIL;
    }
    return m_pSite->QueryInterface(riid, ppvSite);
}

// ---- IOleContainer -------------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx* /*pbc*/, LPOLESTR /*pszDisplayName*/, ULONG* pchEaten,
                                            IMoniker** ppmkOut)
{
    if (pchEaten != nullptr) {
        *pchEaten = 0;
    }
    if (ppmkOut != nullptr) {
        *ppmkOut = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD /*grfFlags*/, IEnumUnknown** ppenum)
{
    if (ppenum == nullptr) {
        return E_POINTER;
    }
    *ppenum = nullptr;
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    *ppenum = new CActiveXEnum(m_pOwner->m_pUnk.Get());
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL fLock)
{
    m_bLocked = fLock != FALSE;
    return S_OK;
}

// ---- the owner's side ----------------------------------------------------------------------------

HRESULT CActiveXCtrl::DoVerb(LONG iVerb)
{
    if (m_pOwner == nullptr || !m_pOwner->m_pUnk || m_pOwner->m_bClosing) {
        return E_UNEXPECTED;
    }
    const RECT rc = m_pOwner->Position();
    return m_pOwner->m_pUnk->DoVerb(iVerb, nullptr, this, 0, m_pOwner->HostWindow(), &rc);
}

DWORD CActiveXCtrl::ObjectMiscStatus() const
{
    DWORD dwStatus = 0;
    if (m_pOwner != nullptr && m_pOwner->m_pUnk) {
        m_pOwner->m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwStatus);
    }
    return dwStatus;
}

HRESULT CActiveXCtrl::CreateHostWindow()
{
    if (m_pWindow != nullptr) {
        return S_OK;
    }
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    m_pWindow = CActiveXWnd::Create(this, m_pOwner->ManagerWindow());
    if (m_pWindow == nullptr) {
        return E_FAIL;
    }
    m_pOwner->m_hwndHost = m_pWindow->WindowHandle();
    return S_OK;
}

void CActiveXCtrl::DestroyHostWindow()
{
    if (m_pWindow != nullptr) {
        // The window object deletes itself and reports back through HostWindowDestroyed.
        ::DestroyWindow(m_pWindow->WindowHandle());
    }
}

void CActiveXCtrl::HostWindowDestroyed(CActiveXWnd* pWindow, HWND hWnd)
{
    if (pWindow != m_pWindow) {
        return;
    }
    if (m_pOwner != nullptr && m_pOwner->m_hwndHost == hWnd) {
        m_pOwner->m_hwndHost = nullptr;
    }
    m_pWindow = nullptr;
}

} // namespace Tarvo
