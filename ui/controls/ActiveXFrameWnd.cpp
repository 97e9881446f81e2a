#include "controls/ActiveXFrameWnd.h"

namespace Tarvo {

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    const bool bKnown = riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow ||
                        riid == IID_IOleInPlaceFrame;
    return UIHandOutInterface(bKnown ? static_cast<IOleInPlaceFrame*>(this) : nullptr, ppvObject);
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef()
{
    return AddReference();
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    return ReleaseReference();
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr) {
        return E_POINTER;
    }
    *phwnd = m_hWndFrame;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL /*fEnterMode*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT /*lprectBorder*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR /*pszObjName*/)
{
    m_pActiveObject = pActiveObject;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU /*hmenuShared*/, LPOLEMENUGROUPWIDTHS /*lpMenuWidths*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU /*hmenuShared*/, HOLEMENU /*holemenu*/, HWND /*hwndActiveObject*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU /*hmenuShared*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR /*pszStatusText*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL /*fEnable*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG /*lpmsg*/, WORD /*wID*/)
{
    return S_FALSE;
}

} // namespace Tarvo
