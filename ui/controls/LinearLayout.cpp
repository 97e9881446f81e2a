#include "controls/LinearLayout.h"

#include "controls/AttributeValue.h"
#include "controls/ScrollBar.h"
#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

CLinearLayoutUI::CLinearLayoutUI(bool bVertical) : m_bVertical(bVertical) {}

int CLinearLayoutUI::MainMin(const CControlUI* pControl) const
{
    return m_bVertical ? pControl->MinHeight() : pControl->MinWidth();
}

int CLinearLayoutUI::MainMax(const CControlUI* pControl) const
{
    return m_bVertical ? pControl->MaxHeight() : pControl->MaxWidth();
}

int CLinearLayoutUI::CrossMin(const CControlUI* pControl) const
{
    return m_bVertical ? pControl->MinWidth() : pControl->MinHeight();
}

int CLinearLayoutUI::CrossMax(const CControlUI* pControl) const
{
    return m_bVertical ? pControl->MaxWidth() : pControl->MaxHeight();
}

SIZE CLinearLayoutUI::MakeSize(int nMain, int nCross) const
{
    return m_bVertical ? SIZE{nCross, nMain} : SIZE{nMain, nCross};
}

RECT CLinearLayoutUI::MakeRect(int nMainStart, int nCrossStart, int nMain, int nCross) const
{
    return m_bVertical ? RECT{nCrossStart, nMainStart, nCrossStart + nCross, nMainStart + nMain}
                       : RECT{nMainStart, nCrossStart, nMainStart + nMain, nCrossStart + nCross};
}

// Raised to the minimum first, then lowered to the maximum: a maximum below the minimum wins.
int CLinearLayoutUI::ClampMain(const CControlUI* pControl, int n) const
{
    return std::min(std::max(n, MainMin(pControl)), MainMax(pControl));
}

int CLinearLayoutUI::ClampCross(const CControlUI* pControl, int n) const
{
    return std::min(std::max(n, CrossMin(pControl)), CrossMax(pControl));
}

namespace {

struct AxisPadding {
    int before;
    int after;
    int crossBefore;
    int crossAfter;
};

AxisPadding PaddingOf(const CControlUI* pControl, bool bVertical)
{
    const RECT rc = pControl->Padding();
    return bVertical ? AxisPadding{rc.top, rc.bottom, rc.left, rc.right}
                     : AxisPadding{rc.left, rc.right, rc.top, rc.bottom};
}

} // namespace

CLinearLayoutUI::FirstPass CLinearLayoutUI::MeasureFixedChildren(const SIZE& szAvailable) const
{
    FirstPass pass;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pChild = ChildAt(i);
        if (!pChild->IsVisible() || pChild->IsFloating()) {
            continue;
        }
        int nMain = Main(pChild->MeasureSize(szAvailable));
        if (nMain == 0) {
            ++pass.stretchableCount;
        } else {
            nMain = ClampMain(pChild, nMain);
        }
        const AxisPadding pad = PaddingOf(pChild, m_bVertical);
        pass.fixedTotal += nMain + pad.before + pad.after;
        ++pass.placedCount;
    }
    return pass;
}

int CLinearLayoutUI::StretchShare(const FirstPass& pass, int nAvailableMain) const
{
    if (pass.stretchableCount == 0) {
        return 0;
    }
    const int nGaps = std::max(pass.placedCount - 1, 0);
    // The remainder of the division stays empty.
    const int nShare = (nAvailableMain - pass.fixedTotal - m_iChildPadding * nGaps) / pass.stretchableCount;
    return std::max(nShare, 0);
}

int CLinearLayoutUI::PlaceLine(const SIZE& szAvailable, int nMainOrigin, int nCrossOrigin, int nCrossExtent)
{
    // First pass: measure the children with a size of their own, count the stretchable ones.
    const FirstPass pass = MeasureFixedChildren(szAvailable);
    const int nShare = StretchShare(pass, Main(szAvailable));
    // Second pass: place every child; floating ones keep their own placement.
    int nPos = nMainOrigin;
    int nRemaining = Main(szAvailable);
    int nNeeded = 0;
    PlaceChildren([&](int, CControlUI* pChild) {
        const AxisPadding pad = PaddingOf(pChild, m_bVertical);
        nRemaining -= pad.before;
        int nMain = Main(pChild->MeasureSize(MakeSize(nRemaining, Cross(szAvailable))));
        nMain = ClampMain(pChild, nMain == 0 ? nShare : nMain);
        // The measured cross size is never used: a child fills the line unless it declares one.
        const int nDeclaredCross = m_bVertical ? pChild->DeclaredWidth() : pChild->DeclaredHeight();
        const int nCross =
            ClampCross(pChild, nDeclaredCross != 0 ? nDeclaredCross
                                                   : std::max(nCrossExtent - pad.crossBefore - pad.crossAfter, 0));
        pChild->SetPosition(MakeRect(nPos + pad.before, nCrossOrigin + pad.crossBefore, nMain, nCross));
        nPos += pad.before + nMain + pad.after + m_iChildPadding;
        nNeeded += pad.before + nMain + pad.after;
        nRemaining -= nMain + pad.after + m_iChildPadding;
    });
    return nNeeded + m_iChildPadding * std::max(pass.placedCount - 1, 0);
}

// ---- separator ------------------------------------------------------------------------------

UINT CLinearLayoutUI::InputFlags()
{
    return IsEnabled() && m_iSeparatorSize != 0 ? static_cast<UINT>(InputSetCursor) : 0u;
}

void CLinearLayoutUI::SetImmediate(bool bImmediate)
{
    if (bImmediate && !m_bImmediate && IsDragging() && m_pManager != nullptr) {
        m_pManager->RemovePostPainter(this);
    }
    m_bImmediate = bImmediate;
}

void CLinearLayoutUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"sepimm") == 0) {
        SetImmediate(ParseAttributeBool(pstrValue));
        return;
    }
    CContainerUI::ApplyAttribute(pstrName, pstrValue);
}

void CLinearLayoutUI::HandleEvent(ControlEvent& event)
{
    if (m_iSeparatorSize != 0 && OnSeparatorEvent(event)) {
        return;
    }
    CContainerUI::HandleEvent(event);
}

bool CLinearLayoutUI::OnSeparatorEvent(ControlEvent& event)
{
    const RECT rcBand = SeparatorBand(m_rcItem);
    const bool bInBand = IsEnabled() && ::PtInRect(&rcBand, event.mousePoint);
    switch (event.type) {
    case EventButtonDown:
        if (bInBand) {
            StartDrag(event.mousePoint);
        }
        return bInBand;
    case EventMouseMove:
        if (IsDragging()) {
            DragTo(event.mousePoint);
        }
        return IsDragging();
    case EventButtonUp:
        if (IsDragging()) {
            EndDrag();
            return true;
        }
        return false;
    case EventSetCursor:
        if (bInBand) {
            ::SetCursor(::LoadCursorW(nullptr, m_bVertical ? IDC_SIZENS : IDC_SIZEWE));
        }
        return bInBand;
    default:
        return false;
    }
}

void CLinearLayoutUI::StartDrag(const POINT& pt)
{
    m_uDragState |= DragActive;
    m_ptLastMouse = pt;
    m_rcDrag = m_rcItem;
    if (!m_bImmediate && m_pManager != nullptr) {
        m_pManager->AddPostPainter(this);
    }
}

bool CLinearLayoutUI::MoveDragEdge(int nDelta, int nPoint)
{
    const int s = m_iSeparatorSize;
    const bool bFarEdge = s > 0;
    LONG& nEdge =
        bFarEdge ? (m_bVertical ? m_rcDrag.bottom : m_rcDrag.right) : (m_bVertical ? m_rcDrag.top : m_rcDrag.left);
    // The pointer has to pass the band's far side before the edge follows it.
    if (bFarEdge) {
        if ((nDelta > 0 && nPoint < nEdge + s) || (nDelta < 0 && nPoint > nEdge)) {
            return false;
        }
    } else if ((nDelta > 0 && nPoint < nEdge) || (nDelta < 0 && nPoint > nEdge + s)) {
        return false;
    }
    const RECT rcBefore = m_rcDrag;
    const int nLengthBefore = MainLength(rcBefore);
    nEdge += nDelta;
    const int nLength = MainLength(m_rcDrag);
    const int nLimit = nLength < MainMin(this) ? MainMin(this) : (nLength > MainMax(this) ? MainMax(this) : nLength);
    if (nLimit != nLength) {
        if (nLengthBefore == nLimit) {
            m_rcDrag = rcBefore;
            return false;
        }
        nEdge += bFarEdge ? nLimit - nLength : nLength - nLimit;
    }
    return nDelta != 0;
}

void CLinearLayoutUI::DragTo(const POINT& pt)
{
    const int nDelta = MainPointOf(pt) - MainPointOf(m_ptLastMouse);
    m_ptLastMouse = pt;
    const RECT rcOld = m_rcDrag;
    if (!MoveDragEdge(nDelta, MainPointOf(pt))) {
        return;
    }
    (m_bVertical ? m_szDeclared.cy : m_szDeclared.cx) = MainLength(m_rcDrag);
    if (m_bImmediate) {
        m_rcItem = m_rcDrag;
        MarkParentForLayout();
    } else {
        InvalidateDragBands(rcOld);
    }
}

void CLinearLayoutUI::InvalidateDragBands(const RECT& rcOldDrag)
{
    if (m_pManager == nullptr) {
        return;
    }
    RECT rc = SeparatorBand(rcOldDrag);
    const RECT rcNew = SeparatorBand(m_rcDrag);
    const RECT rcOwn = SeparatorBand(m_rcItem);
    ::UnionRect(&rc, &rc, &rcNew);
    ::UnionRect(&rc, &rc, &rcOwn);
    m_pManager->Invalidate(rc);
}

void CLinearLayoutUI::EndDrag()
{
    m_uDragState &= ~DragActive;
    m_rcItem = m_rcDrag;
    if (!m_bImmediate && m_pManager != nullptr) {
        m_pManager->RemovePostPainter(this);
    }
    MarkParentForLayout();
}

void CLinearLayoutUI::PaintPost(HDC hDC, const RECT& /*rcPaint*/)
{
    if (IsDragging() && !m_bImmediate) {
        CSkinRender::FillColor(hDC, SeparatorBand(m_rcDrag), 0xAA000000);
    }
}

} // namespace Tarvo
