#pragma once

#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

#include "controls/ComRefCount.h"

namespace Tarvo {

// The in-place frame handed to an object: it has no tools and no menus of its own.
class CActiveXFrameWnd final : public IOleInPlaceFrame, private CUIComRefCount<CActiveXFrameWnd> {
public:
    // The frame answers with this window; it keeps the handle, not the control, so that an object
    // holding the frame longer than the control stays harmless.
    explicit CActiveXFrameWnd(HWND hWndFrame) : m_hWndFrame(hWndFrame) {}
    CActiveXFrameWnd(const CActiveXFrameWnd&) = delete;
    CActiveXFrameWnd& operator=(const CActiveXFrameWnd&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL fEnterMode) override;

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT lprectBorder) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS pborderwidths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS pborderwidths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR pszObjName) override;

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS lpMenuWidths) override;
    STDMETHODIMP SetMenu(HMENU hmenuShared, HOLEMENU holemenu, HWND hwndActiveObject) override;
    STDMETHODIMP RemoveMenus(HMENU hmenuShared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR pszStatusText) override;
    STDMETHODIMP EnableModeless(BOOL fEnable) override;
    STDMETHODIMP TranslateAccelerator(LPMSG lpmsg, WORD wID) override;

    IOleInPlaceActiveObject* ActiveObject() const { return m_pActiveObject.Get(); }

private:
    friend class CUIComRefCount<CActiveXFrameWnd>;
    ~CActiveXFrameWnd() = default;

    HWND m_hWndFrame;
    Microsoft::WRL::ComPtr<IOleInPlaceActiveObject> m_pActiveObject;
};

} // namespace Tarvo
