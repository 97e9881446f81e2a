#pragma once

#include "controls/Container.h"

namespace Tarvo {

// The shared algorithm of the vertical and horizontal layouts, written on a primary axis (the
// direction children are stacked in) and a secondary one, plus the separator band that lets
// the user resize the layout itself.
class CLinearLayoutUI : public CContainerUI {
public:
    explicit CLinearLayoutUI(bool bVertical);

    UINT InputFlags() override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintPost(HDC hDC, const RECT& rcPaint) override;

    int SeparatorSize() const { return m_iSeparatorSize; }
    void SetSeparatorSize(int nSize) { m_iSeparatorSize = nSize; }
    bool IsImmediate() const { return m_bImmediate; }
    void SetImmediate(bool bImmediate);
    bool IsDragging() const { return (m_uDragState & DragActive) != 0; }
    RECT DragRect() const { return m_rcDrag; }
    // The band of rc along the edge the separator sits on; empty without a separator.
    virtual RECT SeparatorBand(const RECT& rc) const = 0;

protected:
    static constexpr UINT DragActive = 0x40;

    // Axis helpers: "main" is the stacking direction.
    int Main(const SIZE& sz) const { return m_bVertical ? sz.cy : sz.cx; }
    int Cross(const SIZE& sz) const { return m_bVertical ? sz.cx : sz.cy; }
    int MainLength(const RECT& rc) const { return m_bVertical ? rc.bottom - rc.top : rc.right - rc.left; }
    int MainMin(const CControlUI* pControl) const;
    int MainMax(const CControlUI* pControl) const;
    int CrossMin(const CControlUI* pControl) const;
    int CrossMax(const CControlUI* pControl) const;
    SIZE MakeSize(int nMain, int nCross) const;
    RECT MakeRect(int nMainStart, int nCrossStart, int nMain, int nCross) const;
    int MainPointOf(const POINT& pt) const { return m_bVertical ? pt.y : pt.x; }

    // The two passes over the children; returns the extent they need along the main axis,
    // child padding included. nCrossExtent is what a child without a declared cross size gets.
    int PlaceLine(const SIZE& szAvailable, int nMainOrigin, int nCrossOrigin, int nCrossExtent);

private:
    struct FirstPass {
        int fixedTotal = 0;
        int stretchableCount = 0;
        int placedCount = 0;
    };
    FirstPass MeasureFixedChildren(const SIZE& szAvailable) const;
    int StretchShare(const FirstPass& pass, int nAvailableMain) const;
    int ClampMain(const CControlUI* pControl, int n) const;
    int ClampCross(const CControlUI* pControl, int n) const;

    bool OnSeparatorEvent(ControlEvent& event);
    void StartDrag(const POINT& pt);
    void DragTo(const POINT& pt);
    void EndDrag();
    bool MoveDragEdge(int nDelta, int nPoint);
    void InvalidateDragBands(const RECT& rcOldDrag);

    bool m_bVertical;

protected:
    int m_iSeparatorSize = 0;
    UINT m_uDragState = 0;
    POINT m_ptLastMouse = {0, 0};
    RECT m_rcDrag = {0, 0, 0, 0};
    bool m_bImmediate = false;
};

} // namespace Tarvo
