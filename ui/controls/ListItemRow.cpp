#include "controls/ListItemRow.h"

#include "controls/Control.h"
#include "controls/ListInterfaces.h"
#include "core/WindowManager.h"

namespace Tarvo {

const ListItemLook& CListItemRow::Look() const
{
    static const ListItemLook s_defaultLook;
    const ListItemLook* pLook = m_pOwner != nullptr ? m_pOwner->ItemLook() : nullptr;
    return pLook != nullptr ? *pLook : s_defaultLook;
}

UINT CListItemRow::State(const CControlUI& self) const
{
    UINT uState = 0;
    if (!self.IsEnabled()) {
        uState |= RowStateDisabled;
    }
    if (m_bSelected) {
        uState |= RowStateSelected;
    }
    if (m_bHot) {
        uState |= RowStateHot;
    }
    return uState;
}

void CListItemRow::Notify(CControlUI& self, const wchar_t* pstrType, WPARAM wParam, LPARAM lParam)
{
    if (CWindowManagerUI* pManager = self.Manager()) {
        pManager->SendNotification(&self, pstrType, wParam, lParam);
    }
}

void CListItemRow::SetHot(CControlUI& self, bool bHot)
{
    if (m_bHot != bHot) {
        m_bHot = bHot;
        self.Repaint();
    }
}

// The owner selects first; a handler of its "itemselect" may take the row out of the list, and
// a row without owner reports nothing more.
void CListItemRow::Press(CControlUI& self, ControlEvent& event, bool bRight, bool bContainer)
{
    if (m_pOwner != nullptr) {
        m_pOwner->ClickItem(m_nIndex, event.keyState, bRight);
    }
    if (m_pOwner == nullptr) {
        return;
    }
    if (!bRight) {
        Notify(self, L"itemclick");
    } else if (bContainer) {
        Notify(self, L"itemrclick");
    }
}

bool CListItemRow::HandleEvent(CControlUI& self, ControlEvent& event, bool bContainer)
{
    switch (event.type) {
    case EventButtonDown:
    case EventRightButtonDown:
        if (self.IsEnabled()) {
            Press(self, event, event.type == EventRightButtonDown, bContainer);
        }
        return true;
    case EventDoubleClick:
        if (self.IsEnabled()) {
            Notify(self, L"itemactivate");
        }
        return true;
    case EventKeyDown:
        if (event.wParam == VK_RETURN && self.IsEnabled()) {
            Notify(self, L"itemactivate");
            return true;
        }
        if (m_pOwner != nullptr) {
            m_pOwner->HandleItemEvent(event);
            return true;
        }
        return false;
    case EventScrollWheel:
        if (m_pOwner != nullptr) {
            m_pOwner->HandleItemEvent(event);
            return true;
        }
        return false;
    case EventMouseEnter:
        SetHot(self, self.IsEnabled());
        if (bContainer && self.IsEnabled()) {
            Notify(self, L"itemhover");
        }
        return true;
    case EventMouseLeave:
        SetHot(self, false);
        if (bContainer) {
            Notify(self, L"itemleave");
        }
        return true;
    default:
        return false;
    }
}

void CListItemRow::PaintBackground(HDC hDC, const CControlUI& self, const RECT& rcPaint) const
{
    PaintListRowBackground(hDC, self.Manager(), self.Position(), rcPaint, Look(), m_nIndex, State(self));
}

void CListItemRow::ApplySelected(bool bSelected)
{
    if (m_pOwner == nullptr) {
        m_bSelected = bSelected;
        return;
    }
    if (bSelected) {
        m_pOwner->SelectItem(m_nIndex);
    }
}

} // namespace Tarvo
