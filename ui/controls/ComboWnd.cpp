#include "controls/ComboWnd.h"

#include "controls/Combo.h"
#include "controls/ScrollBar.h"

#include <algorithm>

namespace Tarvo {

namespace {

constexpr int BorderWidth = 1;

RECT WorkAreaOf(HWND hWnd)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info)) {
        return info.rcWork;
    }
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

} // namespace

CComboWnd::CComboWnd(CComboUI* pOwner) : m_pOwner(pOwner) {}

LPCWSTR CComboWnd::WindowClassName() const
{
    return L"ComboWnd";
}

UINT CComboWnd::WindowClassStyle() const
{
    return CS_DBLCLKS;
}

RECT CComboWnd::DropRect(const RECT& rcOwner, SIZE szDropBox, int nContentHeight, const RECT& rcWork)
{
    const int cx = szDropBox.cx > 0 ? szDropBox.cx : rcOwner.right - rcOwner.left;
    const int cy = std::max(std::min<int>(szDropBox.cy, nContentHeight), 2 * BorderWidth + 1);
    RECT rc = {rcOwner.left, rcOwner.bottom, rcOwner.left + cx, rcOwner.bottom + cy};
    // Not enough room below: the box opens upwards, as a system combo box does.
    if (rc.bottom > rcWork.bottom && rcOwner.top - cy >= rcWork.top) {
        rc.top = rcOwner.top - cy;
        rc.bottom = rcOwner.top;
    }
    return rc;
}

CComboWnd* CComboWnd::Open(CComboUI* pOwner)
{
    CWindowManagerUI* pOwnerManager = pOwner->Manager();
    const HWND hOwner = pOwnerManager->WindowHandle();
    auto* pWnd = new CComboWnd(pOwner);
    const int nContent = pWnd->ContentHeight();
    RECT rcOwner = pOwner->Position();
    ::MapWindowPoints(hOwner, nullptr, reinterpret_cast<POINT*>(&rcOwner), 2);
    const RECT rc = DropRect(rcOwner, pOwner->DropBoxSize(), nContent, WorkAreaOf(hOwner));
    if (pWnd->Create(hOwner, L"", WS_POPUP, WS_EX_TOOLWINDOW, rc.left, rc.top, rc.right - rc.left,
                     rc.bottom - rc.top) == nullptr) {
        pWnd->m_bGivenBack = true;
        delete pWnd;
        return nullptr;
    }
    ::ShowWindow(pWnd->WindowHandle(), SW_SHOW);
    ::SetFocus(pWnd->WindowHandle());
    return pWnd;
}

int CComboWnd::ContentHeight()
{
    int nHeight = 2 * BorderWidth;
    for (int i = 0; i < m_pOwner->ItemCount(); ++i) {
        CControlUI* pItem = m_pOwner->ItemAt(i);
        if (pItem->IsVisible()) {
            nHeight += pItem->MeasureSize(SIZE{0, 0}).cy;
        }
    }
    return nHeight;
}

// The layout takes the owner's items without owning them; the owner's fonts serve this window.
void CComboWnd::BuildContent()
{
    m_pm.Init(WindowHandle());
    m_pm.SetParentManager(m_pOwner->Manager());
    m_pLayout = new CVerticalLayoutUI;
    m_pLayout->SetAutoDestroy(false);
    m_pLayout->ApplyAttributeString(L"bkcolor=\"#FFFFFFFF\" bordersize=\"1\" bordercolor=\"#FF808080\" inset=\"1,1,1,1\"");
    m_pLayout->EnableScrollBar(true, false);
    m_pLayout->ApplyAttributeString(m_pOwner->DropBoxAttributes());
    for (int i = 0; i < m_pOwner->ItemCount(); ++i) {
        m_pLayout->AddItem(m_pOwner->ItemAt(i));
    }
    m_pm.AttachRoot(m_pLayout);
    RECT rcClient = {0, 0, 0, 0};
    ::GetClientRect(WindowHandle(), &rcClient);
    m_pLayout->SetPosition(rcClient);
    if (CControlUI* pSelected = m_pOwner->ItemAt(m_pOwner->CurSel())) {
        ScrollRowIntoView(*m_pLayout, *pSelected);
    }
}

void CComboWnd::GiveItemsBack()
{
    if (m_bGivenBack) {
        return;
    }
    m_bGivenBack = true;
    if (m_pLayout != nullptr) {
        m_pOwner->TakeBackItems(*m_pLayout, m_pm);
    }
}

void CComboWnd::Close()
{
    if (WindowHandle() != nullptr) {
        ::PostMessageW(WindowHandle(), WM_CLOSE, 0, 0);
    }
}

void CComboWnd::CloseNow()
{
    GiveItemsBack();
    if (WindowHandle() != nullptr) {
        ::DestroyWindow(WindowHandle());
    }
}

bool CComboWnd::HandleKey(WPARAM vk)
{
    if (vk == VK_ESCAPE || vk == VK_RETURN) {
        Close();
        return true;
    }
    return m_pOwner->SelectByKey(vk);
}

LRESULT CComboWnd::ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        BuildContent();
        return 0;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != WindowHandle()) {
            Close();
        }
        break;
    case WM_KEYDOWN:
        if (!m_bGivenBack && HandleKey(wParam)) {
            return 0;
        }
        break;
    case WM_CLOSE:
        GiveItemsBack();
        ::DestroyWindow(WindowHandle());
        return 0;
    case WM_DESTROY:
        GiveItemsBack();
        break;
    default:
        break;
    }
    LRESULT lRes = 0;
    if (!m_bGivenBack && m_pm.HandleWindowMessage(uMsg, wParam, lParam, lRes)) {
        return lRes;
    }
    return CallPreviousProc(uMsg, wParam, lParam);
}

void CComboWnd::OnFinalWindowMessage(HWND)
{
    delete this;
}

} // namespace Tarvo
