#include "PageWindow.h"

#include "ModuleWindowClass.h"
#include "../../ui/core/GdiResources.h"

#include <windowsx.h>

namespace wxlmportal {

namespace {
constexpr const wchar_t* kClassName = L"WxlmPortalPage";
}

bool CPageWindow::Create(HWND parent, const RECT& position)
{
    if (m_hwnd != nullptr || !EnsureWindowClass(kClassName, &CPageWindow::Proc)) {
        return m_hwnd != nullptr;
    }
    ::CreateWindowExW(0, kClassName, L"Portal", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, position.left, position.top,
                      position.right - position.left, position.bottom - position.top, parent, nullptr, ModuleInstance(),
                      this);
    return m_hwnd != nullptr;
}

void CPageWindow::Destroy()
{
    if (m_hwnd != nullptr) {
        ::DestroyWindow(m_hwnd);
    }
}

void CPageWindow::Move(const RECT& position)
{
    if (m_hwnd != nullptr) {
        ::MoveWindow(m_hwnd, position.left, position.top, position.right - position.left,
                     position.bottom - position.top, TRUE);
    }
}

void CPageWindow::Show(bool show)
{
    if (m_hwnd != nullptr) {
        ::ShowWindow(m_hwnd, show ? SW_SHOW : SW_HIDE);
    }
}

void CPageWindow::Invalidate()
{
    if (m_hwnd != nullptr) {
        ::InvalidateRect(m_hwnd, nullptr, TRUE);
    }
}

LRESULT CALLBACK CPageWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CPageWindow* self = WindowOwner<CPageWindow>(hwnd, message, lParam);
    if (message == WM_NCCREATE && self != nullptr) {
        self->m_hwnd = hwnd;
    }
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CPageWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        OnClick(lParam, true);
        return 0;
    case WM_LBUTTONUP:
        OnClick(lParam, false);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void CPageWindow::OnPaint()
{
    const Tarvo::CUIPaintScope paint(m_hwnd);
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    CPortalPage::Paint(paint.DC(), client, m_owner.View());
}

// The drag strip reacts to the press, like the page's mousedown handler; the rest to the release.
void CPageWindow::OnClick(LPARAM lParam, bool down)
{
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    const PageHit hit =
        CPortalPage::HitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, {client.right, client.bottom});
    if (hit != PageHit::None && (hit == PageHit::Drag) == down && m_owner.View().loaded) {
        m_owner.OnPageClick(hit);
    }
}

} // namespace wxlmportal
