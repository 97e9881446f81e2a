#include "controls/ActiveXWnd.h"

#include "controls/ActiveXCtrl.h"
#include "core/GdiResources.h"

namespace Tarvo {

CActiveXWnd* CActiveXWnd::Create(CActiveXCtrl* pSite, HWND hWndParent)
{
    auto* pWindow = new CActiveXWnd(pSite);
    constexpr DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (pWindow->CWindowWnd::Create(hWndParent, L"UIActiveX", dwStyle, 0, 0, 0, 0, 0) == nullptr) {
        delete pWindow;
        return nullptr;
    }
    pWindow->m_bOwnsItself = true;
    return pWindow;
}

LPCWSTR CActiveXWnd::WindowClassName() const
{
    return L"ActiveXWnd";
}

void CActiveXWnd::OnFinalWindowMessage(HWND hWnd)
{
    if (!m_bOwnsItself) {
        return;
    }
    m_pSite->HostWindowDestroyed(this, hWnd);
    delete this;
}

LRESULT CActiveXWnd::ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_SETFOCUS:
        return OnSetFocus(uMsg, wParam, lParam);
    case WM_KILLFOCUS:
        return OnKillFocus(uMsg, wParam, lParam);
    case WM_PAINT:
        return OnPaint();
    case WM_ERASEBKGND:
        return OnEraseBackground(uMsg, wParam, lParam);
    case WM_MOUSEACTIVATE:
        return OnMouseActivate(uMsg, wParam, lParam);
    case WM_MOUSEWHEEL:
        return 0;
    default:
        return ::DefWindowProcW(WindowHandle(), uMsg, wParam, lParam);
    }
}

LRESULT CActiveXWnd::OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    m_pSite->SetFocused(true);
    if (!m_pSite->IsUIActive()) {
        m_pSite->DoVerb(OLEIVERB_UIACTIVATE);
    }
    return ::DefWindowProcW(WindowHandle(), uMsg, wParam, lParam);
}

LRESULT CActiveXWnd::OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    m_pSite->SetFocused(false);
    return ::DefWindowProcW(WindowHandle(), uMsg, wParam, lParam);
}

LRESULT CActiveXWnd::OnPaint()
{
    const CUIPaintScope paint(WindowHandle());
    return 0;
}

LRESULT CActiveXWnd::OnEraseBackground(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pSite->ViewObject() != nullptr) {
        return 1;
    }
    return ::DefWindowProcW(WindowHandle(), uMsg, wParam, lParam);
}

LRESULT CActiveXWnd::OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if ((m_pSite->ObjectMiscStatus() & OLEMISC_NOUIACTIVATE) != 0) {
        return 0;
    }
    if (!m_pSite->IsInPlaceActive()) {
        m_pSite->DoVerb(OLEIVERB_INPLACEACTIVATE);
    }
    return ::DefWindowProcW(WindowHandle(), uMsg, wParam, lParam);
}

} // namespace Tarvo
