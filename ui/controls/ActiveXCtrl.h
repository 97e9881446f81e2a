#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <wrl/client.h>

#include "controls/ComRefCount.h"

namespace Tarvo {

class CActiveXUI;
class CActiveXWnd;

// The client site and in-place site of one hosted object. It outlives its owner control for as
// long as the object holds on to it; once the owner has let go every call that needs the owner
// answers E_UNEXPECTED.
class CActiveXCtrl final : public IOleClientSite,
                     public IOleInPlaceSiteWindowless,
                     public IOleControlSite,
                     public IObjectWithSite,
                     public IOleContainer,
                     private CUIComRefCount<CActiveXCtrl> {
public:
    explicit CActiveXCtrl(CActiveXUI* pOwner);
    CActiveXCtrl(const CActiveXCtrl&) = delete;
    CActiveXCtrl& operator=(const CActiveXCtrl&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) override;
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL fShow) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL fEnterMode) override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                  LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    STDMETHODIMP Scroll(SIZE scrollExtant) override;
    STDMETHODIMP OnUIDeactivate(BOOL fUndoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT lprcPosRect) override;

    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* pfNoRedraw, DWORD dwFlags) override;
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL fNoRedraw) override;
    STDMETHODIMP RequestUIActivate() override;

    // IOleInPlaceSiteWindowless
    STDMETHODIMP CanWindowlessActivate() override;
    STDMETHODIMP GetCapture() override;
    STDMETHODIMP SetCapture(BOOL fCapture) override;
    STDMETHODIMP GetFocus() override;
    STDMETHODIMP SetFocus(BOOL fFocus) override;
    STDMETHODIMP GetDC(LPCRECT pRect, DWORD grfFlags, HDC* phDC) override;
    STDMETHODIMP ReleaseDC(HDC hDC) override;
    STDMETHODIMP InvalidateRect(LPCRECT pRect, BOOL fErase) override;
    STDMETHODIMP InvalidateRgn(HRGN hRGN, BOOL fErase) override;
    STDMETHODIMP ScrollRect(INT dx, INT dy, LPCRECT pRectScroll, LPCRECT pRectClip) override;
    STDMETHODIMP AdjustRect(LPRECT prc) override;
    STDMETHODIMP OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) override;

    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override;
    STDMETHODIMP LockInPlaceActive(BOOL fLock) override;
    STDMETHODIMP GetExtendedControl(IDispatch** ppDisp) override;
    STDMETHODIMP TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags) override;
    STDMETHODIMP TranslateAccelerator(MSG* pMsg, DWORD grfModifiers) override;
    STDMETHODIMP OnFocus(BOOL fGotFocus) override;
    STDMETHODIMP ShowPropertyFrame() override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* pUnkSite) override;
    STDMETHODIMP GetSite(REFIID riid, void** ppvSite) override;

    // IOleContainer
    STDMETHODIMP ParseDisplayName(IBindCtx* pbc, LPOLESTR pszDisplayName, ULONG* pchEaten,
                                  IMoniker** ppmkOut) override;
    STDMETHODIMP EnumObjects(DWORD grfFlags, IEnumUnknown** ppenum) override;
    STDMETHODIMP LockContainer(BOOL fLock) override;

    // The owner's side.
    CActiveXUI* Owner() const { return m_pOwner; }
    // The owner lets go: the host window goes with it.
    void DetachOwner();
    void SetViewObject(IViewObject* pViewObject) { m_pViewObject = pViewObject; }
    IViewObject* ViewObject() const { return m_pViewObject.Get(); }
    IOleInPlaceObject* InPlaceObject() const { return m_pInPlaceObject.Get(); }
    bool IsWindowless() const { return m_bWindowless; }
    bool IsInPlaceActive() const { return m_bInPlaceActive; }
    bool IsUIActive() const { return m_bUIActive; }
    bool HasFocus() const { return m_bFocused; }
    void SetFocused(bool bFocused) { m_bFocused = bFocused; }
    bool HasCapture() const { return m_bCaptured; }
    bool IsContainerLocked() const { return m_bLocked; }
    // Null without a host window.
    CActiveXWnd* HostWindowObject() const { return m_pWindow; }
    // Runs a verb on the object with this site, the host window and the item rectangle.
    HRESULT DoVerb(LONG iVerb);
    DWORD ObjectMiscStatus() const;

    // The host window tells the site that it is gone.
    void HostWindowDestroyed(CActiveXWnd* pWindow, HWND hWnd);

private:
    friend class CUIComRefCount<CActiveXCtrl>;
    ~CActiveXCtrl();

    HRESULT CreateHostWindow();
    void DestroyHostWindow();
    HRESULT ActivateWindowless();
    HRESULT ActivateWindowed();
    HACCEL EmptyAcceleratorTable();

    CActiveXUI* m_pOwner;
    CActiveXWnd* m_pWindow = nullptr;
    Microsoft::WRL::ComPtr<IUnknown> m_pSite;
    Microsoft::WRL::ComPtr<IViewObject> m_pViewObject;
    Microsoft::WRL::ComPtr<IOleInPlaceObject> m_pInPlaceObject;
    bool m_bLocked = false;
    bool m_bFocused = false;
    bool m_bCaptured = false;
    bool m_bUIActive = false;
    bool m_bInPlaceActive = false;
    bool m_bWindowless = true;
    // OleLockRunning on activation; undone on deactivation so that the object can close.
    bool m_bRunningLocked = false;
    HACCEL m_hAccel = nullptr;
};

} // namespace Tarvo
