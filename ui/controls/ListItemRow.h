#pragma once

#include <windows.h>

#include "controls/ListItemLook.h"
#include "core/ControlEvent.h"

namespace Tarvo {

class CControlUI;
class IListOwnerUI;

// The state and input rules every kind of list row shares (label, text and container rows):
// its index and owner, the selected and hot looks, pressing, double-clicking and keys.
class CListItemRow {
public:
    int Index() const { return m_nIndex; }
    void SetIndex(int nIndex) { m_nIndex = nIndex; }
    IListOwnerUI* Owner() const { return m_pOwner; }
    void SetOwner(IListOwnerUI* pOwner) { m_pOwner = pOwner; }
    bool IsSelected() const { return m_bSelected; }
    void SetSelected(bool bSelected) { m_bSelected = bSelected; }
    bool IsHot() const { return m_bHot; }

    // The owner's look, or the default one for a row without owner.
    const ListItemLook& Look() const;
    UINT State(const CControlUI& self) const;
    // True when the event was the row's to handle. bContainer rows also report right clicks,
    // hovering and leaving.
    bool HandleEvent(CControlUI& self, ControlEvent& event, bool bContainer);
    void PaintBackground(HDC hDC, const CControlUI& self, const RECT& rcPaint) const;
    // The "selected" attribute: through the owner when there is one.
    void ApplySelected(bool bSelected);

private:
    void Press(CControlUI& self, ControlEvent& event, bool bRight, bool bContainer);
    void SetHot(CControlUI& self, bool bHot);
    static void Notify(CControlUI& self, const wchar_t* pstrType, WPARAM wParam = 0, LPARAM lParam = 0);

    int m_nIndex = -1;
    IListOwnerUI* m_pOwner = nullptr;
    bool m_bSelected = false;
    bool m_bHot = false;
};

} // namespace Tarvo
