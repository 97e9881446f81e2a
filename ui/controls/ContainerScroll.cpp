#include "controls/Container.h"

#include "controls/ScrollBar.h"
#include "core/WindowManager.h"

#include <cstdlib>

namespace Tarvo {

bool CContainerUI::IsBarVisible(const CScrollBarUI* pBar) const
{
    return pBar != nullptr && pBar->IsVisible();
}

CScrollBarUI* CContainerUI::VerticalScrollBar() const
{
    return m_pVerticalScrollBar;
}

CScrollBarUI* CContainerUI::HorizontalScrollBar() const
{
    return m_pHorizontalScrollBar;
}

SIZE CContainerUI::ScrollPosition() const
{
    return SIZE{IsBarVisible(m_pHorizontalScrollBar) ? m_pHorizontalScrollBar->ScrollPos() : 0,
                IsBarVisible(m_pVerticalScrollBar) ? m_pVerticalScrollBar->ScrollPos() : 0};
}

SIZE CContainerUI::ScrollRange() const
{
    return SIZE{IsBarVisible(m_pHorizontalScrollBar) ? m_pHorizontalScrollBar->ScrollRange() : 0,
                IsBarVisible(m_pVerticalScrollBar) ? m_pVerticalScrollBar->ScrollRange() : 0};
}

namespace {

// Moves a visible bar to nPos (kept within its range) and answers how far it moved.
int MoveBar(CScrollBarUI* pBar, int nPos)
{
    if (pBar == nullptr || !pBar->IsVisible() || pBar->ScrollPos() == nPos) {
        return 0;
    }
    const int nOld = pBar->ScrollPos();
    pBar->SetScrollPos(nPos);
    pBar->SetPosition(pBar->Position());
    return pBar->ScrollPos() - nOld;
}

} // namespace

void CContainerUI::SetScrollPosition(SIZE szPos)
{
    const int dy = MoveBar(m_pVerticalScrollBar, szPos.cy);
    const int dx = MoveBar(m_pHorizontalScrollBar, szPos.cx);
    if (dx == 0 && dy == 0) {
        return;
    }
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pChild = ChildAt(i);
        if (!pChild->IsVisible() || pChild->IsFloating()) {
            continue;
        }
        RECT rc = pChild->Position();
        ::OffsetRect(&rc, -dx, -dy);
        pChild->SetPosition(rc);
    }
    Repaint();
}

void CContainerUI::SetScrollStepSize(int nSize)
{
    if (nSize > 0) {
        m_nScrollStepSize = nSize;
    }
}

int CContainerUI::ScrollStepSize() const
{
    return m_nScrollStepSize;
}

int CContainerUI::VerticalLineStep() const
{
    if (m_nScrollStepSize != 0) {
        return m_nScrollStepSize;
    }
    if (m_pManager == nullptr) {
        return 8;
    }
    const UIFontInfo* pFont = m_pManager->DefaultFontInfo();
    return (pFont != nullptr ? pFont->metrics.tmHeight : 0) + 8;
}

void CContainerUI::ScrollLineUp()
{
    const SIZE sz = ScrollPosition();
    SetScrollPosition(SIZE{sz.cx, sz.cy - VerticalLineStep()});
}

void CContainerUI::ScrollLineDown()
{
    const SIZE sz = ScrollPosition();
    SetScrollPosition(SIZE{sz.cx, sz.cy + VerticalLineStep()});
}

namespace {

int PageLength(int nItem, int nInsetBefore, int nInsetAfter, const CScrollBarUI* pCrossBar, bool bVertical)
{
    int n = nItem - nInsetBefore - nInsetAfter;
    if (pCrossBar != nullptr && pCrossBar->IsVisible()) {
        n -= bVertical ? pCrossBar->DeclaredHeight() : pCrossBar->DeclaredWidth();
    }
    return n;
}

} // namespace

void CContainerUI::ScrollPageUp()
{
    const SIZE sz = ScrollPosition();
    SetScrollPosition(
        SIZE{sz.cx, sz.cy - PageLength(Height(), m_rcInset.top, m_rcInset.bottom, m_pHorizontalScrollBar, true)});
}

void CContainerUI::ScrollPageDown()
{
    const SIZE sz = ScrollPosition();
    SetScrollPosition(
        SIZE{sz.cx, sz.cy + PageLength(Height(), m_rcInset.top, m_rcInset.bottom, m_pHorizontalScrollBar, true)});
}

void CContainerUI::ScrollToTop()
{
    SetScrollPosition(SIZE{ScrollPosition().cx, 0});
}

void CContainerUI::ScrollToBottom()
{
    SetScrollPosition(SIZE{ScrollPosition().cx, ScrollRange().cy});
}

void CContainerUI::ScrollLineLeft()
{
    const SIZE sz = ScrollPosition();
    SetScrollPosition(SIZE{sz.cx - (m_nScrollStepSize != 0 ? m_nScrollStepSize : 8), sz.cy});
}

void CContainerUI::ScrollLineRight()
{
    const SIZE sz = ScrollPosition();
    SetScrollPosition(SIZE{sz.cx + (m_nScrollStepSize != 0 ? m_nScrollStepSize : 8), sz.cy});
}

void CContainerUI::ScrollPageLeft()
{
    const SIZE sz = ScrollPosition();
    SetScrollPosition(
        SIZE{sz.cx - PageLength(Width(), m_rcInset.left, m_rcInset.right, m_pVerticalScrollBar, false), sz.cy});
}

void CContainerUI::ScrollPageRight()
{
    const SIZE sz = ScrollPosition();
    SetScrollPosition(
        SIZE{sz.cx + PageLength(Width(), m_rcInset.left, m_rcInset.right, m_pVerticalScrollBar, false), sz.cy});
}

void CContainerUI::ScrollToLeftEnd()
{
    SetScrollPosition(SIZE{0, ScrollPosition().cy});
}

void CContainerUI::ScrollToRightEnd()
{
    SetScrollPosition(SIZE{ScrollRange().cx, ScrollPosition().cy});
}

CScrollBarUI* CContainerUI::CreateScrollBar(bool bHorizontal, const wchar_t* pstrClass)
{
    auto* pBar = new CScrollBarUI;
    if (bHorizontal) {
        pBar->SetHorizontal(true);
    }
    pBar->SetOwner(this);
    pBar->AttachTo(m_pManager, nullptr, false);
    if (m_pManager != nullptr) {
        if (const wchar_t* pstrDefaults = m_pManager->ClassDefaults(pstrClass)) {
            pBar->ApplyAttributeString(pstrDefaults);
        }
    }
    return pBar;
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    if (bEnableVertical) {
        if (m_pVerticalScrollBar == nullptr) {
            m_pVerticalScrollBar = CreateScrollBar(false, L"VScrollBar");
        } else {
            m_pVerticalScrollBar->SetEnabled(true);
        }
    } else if (m_pVerticalScrollBar != nullptr) {
        m_pVerticalScrollBar->SetEnabled(false);
    }
    if (bEnableHorizontal) {
        if (m_pHorizontalScrollBar == nullptr) {
            m_pHorizontalScrollBar = CreateScrollBar(true, L"HScrollBar");
        }
    } else if (m_pHorizontalScrollBar != nullptr) {
        delete m_pHorizontalScrollBar;
        m_pHorizontalScrollBar = nullptr;
    }
    if (IsVisible()) {
        MarkForLayout();
    }
}

void CContainerUI::LayOutAgain()
{
    SetPosition(m_rcItem);
}

void CContainerUI::UpdateScrollBars(RECT rcClient, int /*cxRequired*/, int cyRequired)
{
    if (IsBarVisible(m_pHorizontalScrollBar)) {
        m_pHorizontalScrollBar->SetPosition(RECT{rcClient.left, rcClient.bottom, rcClient.right,
                                                 rcClient.bottom + m_pHorizontalScrollBar->DeclaredHeight()});
    }
    CScrollBarUI* pBar = m_pVerticalScrollBar;
    if (pBar == nullptr) {
        return;
    }
    const int nClientHeight = rcClient.bottom - rcClient.top;
    const int nExcess = cyRequired - nClientHeight;
    if (nClientHeight < cyRequired && !pBar->IsVisible()) {
        pBar->SetVisible(true);
        pBar->SetScrollRange(nExcess);
        m_bInScrollUpdate = true;
        LayOutAgain();
        m_bInScrollUpdate = false;
        return;
    }
    if (!pBar->IsVisible()) {
        return;
    }
    if (nExcess > 0 || m_bInScrollUpdate) {
        pBar->SetPosition(RECT{rcClient.right, rcClient.top, rcClient.right + pBar->DeclaredWidth(), rcClient.bottom});
        if (pBar->ScrollRange() == nExcess) {
            return;
        }
        const int nOldPos = pBar->ScrollPos();
        pBar->SetScrollRange(std::abs(nExcess));
        if (pBar->ScrollRange() == 0) {
            pBar->SetVisible(false);
            pBar->SetScrollPos(0);
        }
        if (pBar->ScrollPos() < nOldPos) {
            LayOutAgain();
        }
        return;
    }
    pBar->SetVisible(false);
    pBar->SetScrollPos(0);
    pBar->SetScrollRange(0);
    LayOutAgain();
}

void CContainerUI::UpdateHorizontalBar(RECT& rcClient, int cxNeeded)
{
    CScrollBarUI* pBar = m_pHorizontalScrollBar;
    if (pBar == nullptr) {
        return;
    }
    const int cxClient = rcClient.right - rcClient.left;
    if (cxNeeded > cxClient) {
        pBar->SetScrollRange(cxNeeded - cxClient);
        if (!pBar->IsVisible()) {
            pBar->SetVisible(true);
            pBar->SetScrollPos(0);
            rcClient.bottom -= pBar->DeclaredHeight();
        }
        pBar->SetPosition(pBar->Position());
    } else if (pBar->IsVisible()) {
        pBar->SetVisible(false);
        pBar->SetScrollRange(0);
        pBar->SetScrollPos(0);
        pBar->SetPosition(pBar->Position());
        rcClient.bottom += pBar->DeclaredHeight();
    }
}

} // namespace Tarvo
