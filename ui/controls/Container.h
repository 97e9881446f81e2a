#pragma once

#include "controls/Control.h"
#include "core/UIPtrList.h"

namespace Tarvo {

class CScrollBarUI;

// The children of a container as the builder, the layouts and the application see them.
// Slot order matters (ItemAt is slot 0), so the interface has no virtual destructor.
class IContainerUI {
public:
    virtual CControlUI* ItemAt(int nIndex) const = 0;               // 0
    virtual int IndexOf(CControlUI* pControl) const = 0;            // 1
    virtual bool MoveItem(CControlUI* pControl, int nNewIndex) = 0; // 2
    virtual int ItemCount() const = 0;                              // 3
    virtual bool AddItem(CControlUI* pControl) = 0;                 // 4
    virtual bool InsertItem(CControlUI* pControl, int nIndex) = 0;  // 5
    virtual bool RemoveItem(CControlUI* pControl) = 0;              // 6
    virtual bool RemoveItemAt(int nIndex) = 0;                      // 7
    virtual void RemoveAllItems() = 0;                              // 8

protected:
    ~IContainerUI() = default;
};

// A control owning an ordered list of children: placement, painting clipped to itself,
// searching, scrolling with optional scroll bars.
class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize = true) override;
    void SetPosition(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetAncestorVisible(bool bVisible) override;
    void SetEnabled(bool bEnabled = true) override;
    void SetMouseEnabled(bool bEnabled = true) override;
    CControlUI* SearchTree(FindControlProc proc, void* pData, UINT uFlags) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void Paint(HDC hDC, const RECT& rcPaint) override;

    // IContainerUI
    CControlUI* ItemAt(int nIndex) const override;
    int IndexOf(CControlUI* pControl) const override;
    bool MoveItem(CControlUI* pControl, int nNewIndex) override;
    int ItemCount() const override;
    bool AddItem(CControlUI* pControl) override;
    // An index outside 0..ItemCount() gives false before anything is attached.
    bool InsertItem(CControlUI* pControl, int nIndex) override;
    bool RemoveItem(CControlUI* pControl) override;
    bool RemoveItemAt(int nIndex) override;
    void RemoveAllItems() override;

    virtual RECT Inset() const;                                                                // 77
    virtual void SetInset(RECT rcInset);                                                       // 78
    virtual int ChildPadding() const;                                                          // 79
    virtual void SetChildPadding(int nPadding);                                                // 80
    virtual bool IsAutoDestroy() const;                                                        // 81
    virtual void SetAutoDestroy(bool bAuto);                                                   // 82
    virtual bool IsDelayedDestroy() const;                                                     // 83
    virtual void SetDelayedDestroy(bool bDelayed);                                             // 84
    virtual bool IsMouseChildEnabled() const;                                                  // 85
    virtual void SetMouseChildEnabled(bool bEnable = true);                                    // 86
    virtual int FindSelectable(int nStart, bool bForward = true) const;                        // 87
    virtual SIZE ScrollPosition() const;                                                       // 88
    virtual SIZE ScrollRange() const;                                                          // 89
    virtual void SetScrollPosition(SIZE szPos);                                                // 90
    virtual void SetScrollStepSize(int nSize);                                                 // 91
    virtual int ScrollStepSize() const;                                                        // 92
    virtual void ScrollLineUp();                                                               // 93
    virtual void ScrollLineDown();                                                             // 94
    virtual void ScrollPageUp();                                                               // 95
    virtual void ScrollPageDown();                                                             // 96
    virtual void ScrollToTop();                                                                // 97
    virtual void ScrollToBottom();                                                             // 98
    virtual void ScrollLineLeft();                                                             // 99
    virtual void ScrollLineRight();                                                            // 100
    virtual void ScrollPageLeft();                                                             // 101
    virtual void ScrollPageRight();                                                            // 102
    virtual void ScrollToLeftEnd();                                                            // 103
    virtual void ScrollToRightEnd();                                                           // 104
    virtual void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false); // 105
    virtual CScrollBarUI* VerticalScrollBar() const;                                           // 106
    virtual CScrollBarUI* HorizontalScrollBar() const;                                         // 107
    virtual void PlaceFloatingChild(int nIndex);                                               // 108
    virtual void UpdateScrollBars(RECT rcClient, int cxRequired, int cyRequired);              // 109

    // itemRect reduced by the inset and by the visible scroll bars.
    RECT ClientRect() const;
    // itemRect reduced by the inset only.
    RECT InsetRect() const;

protected:
    // Visits the visible children in order: floating ones are placed by their own rules, the
    // others are handed to placeInFlow(index, child), the layout's own step.
    template <class PlaceInFlow> void PlaceChildren(PlaceInFlow placeInFlow)
    {
        for (int i = 0; i < m_items.GetSize(); ++i) {
            CControlUI* pChild = ChildAt(i);
            if (!pChild->IsVisible()) {
                continue;
            }
            if (pChild->IsFloating()) {
                PlaceFloatingChild(i);
            } else {
                placeInFlow(i, pChild);
            }
        }
    }

    // The own children, whatever the IContainerUI face shows (a list shows its rows there).
    CControlUI* ChildAt(int nIndex) const { return static_cast<CControlUI*>(m_items.GetAt(nIndex)); }
    bool InsertChild(CControlUI* pControl, int nIndex);
    bool IsBarVisible(const CScrollBarUI* pBar) const;
    void LayOutAgain();
    // Shows the horizontal bar (when there is one) with the range cxNeeded asks for, or hides it,
    // and moves rcClient's bottom edge by the bar's height accordingly.
    void UpdateHorizontalBar(RECT& rcClient, int cxNeeded);
    int VerticalLineStep() const;
    void DestroyChild(CControlUI* pControl);
    void PropagateAncestorVisibility();
    CScrollBarUI* CreateScrollBar(bool bHorizontal, const wchar_t* pstrClass);
    CControlUI* SearchChildren(FindControlProc proc, void* pData, UINT uFlags);
    void PaintChildren(HDC hDC, const RECT& rcPaint);
    void PaintScrollBars(HDC hDC, const RECT& rcPaint);

    CUIPtrList m_items;
    RECT m_rcInset = {0, 0, 0, 0};
    int m_iChildPadding = 0;
    bool m_bAutoDestroy = true;
    bool m_bDelayedDestroy = true;
    bool m_bMouseChildEnabled = true;
    bool m_bInScrollUpdate = false;
    int m_nScrollStepSize = 0;
    CScrollBarUI* m_pVerticalScrollBar = nullptr;
    CScrollBarUI* m_pHorizontalScrollBar = nullptr;
};

} // namespace Tarvo
