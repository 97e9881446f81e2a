#include "controls/Container.h"

#include "controls/AttributeValue.h"
#include "controls/ScrollBar.h"
#include "core/UIClip.h"
#include "core/WindowManager.h"

#include <cwchar>

namespace Tarvo {

namespace {

bool RectsMeet(const RECT& a, const RECT& b)
{
    RECT rc;
    return ::IntersectRect(&rc, &a, &b) != FALSE;
}

RECT Deflated(RECT rc, const RECT& rcInset)
{
    rc.left += rcInset.left;
    rc.top += rcInset.top;
    rc.right -= rcInset.right;
    rc.bottom -= rcInset.bottom;
    return rc;
}

} // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    m_bDelayedDestroy = false;
    CUIPtrList items(std::move(m_items));
    m_items.Empty();
    if (m_bAutoDestroy) {
        for (int i = 0; i < items.GetSize(); ++i) {
            delete static_cast<CControlUI*>(items.GetAt(i));
        }
    }
    delete m_pVerticalScrollBar;
    delete m_pHorizontalScrollBar;
}

const wchar_t* CContainerUI::TypeName() const
{
    return L"ContainerUI";
}

void* CContainerUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"IContainer") == 0) {
        return static_cast<IContainerUI*>(this);
    }
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Container") == 0) {
        return static_cast<CContainerUI*>(this);
    }
    return CControlUI::LookupInterface(pstrName);
}

void CContainerUI::AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize)
{
    for (int i = 0; i < m_items.GetSize(); ++i) {
        ChildAt(i)->AttachTo(pManager, this, bInitialize);
    }
    for (CScrollBarUI* pBar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (pBar != nullptr) {
            pBar->AttachTo(pManager, this, bInitialize);
        }
    }
    CControlUI::AttachTo(pManager, pParent, bInitialize);
}

// ---- children ------------------------------------------------------------------------------

CControlUI* CContainerUI::ItemAt(int nIndex) const
{
    return static_cast<CControlUI*>(m_items.GetAt(nIndex));
}

int CContainerUI::IndexOf(CControlUI* pControl) const
{
    return pControl != nullptr ? m_items.Find(pControl) : -1;
}

bool CContainerUI::MoveItem(CControlUI* pControl, int nNewIndex)
{
    const int nIndex = IndexOf(pControl);
    // Checked first: the array would refuse a bad index only after the child left its place.
    if (nIndex < 0 || nNewIndex < 0 || nNewIndex >= m_items.GetSize()) {
        return false;
    }
    if (IsVisible()) {
        MarkForLayout();
    }
    m_items.Remove(nIndex);
    return m_items.InsertAt(nNewIndex, pControl);
}

int CContainerUI::ItemCount() const
{
    return m_items.GetSize();
}

bool CContainerUI::AddItem(CControlUI* pControl)
{
    return InsertChild(pControl, m_items.GetSize());
}

bool CContainerUI::InsertItem(CControlUI* pControl, int nIndex)
{
    return InsertChild(pControl, nIndex);
}

bool CContainerUI::InsertChild(CControlUI* pControl, int nIndex)
{
    // A child held twice would be deleted twice; a refused index must not leave the child
    // attached to a container that does not hold it.
    if (pControl == nullptr || pControl == this || nIndex < 0 || nIndex > m_items.GetSize() ||
        m_items.Find(pControl) >= 0) {
        return false;
    }
    if (m_pManager != nullptr) {
        pControl->AttachTo(m_pManager, this, true);
        m_pManager->IndexNames(pControl);
    }
    if (!IsVisible()) {
        pControl->SetAncestorVisible(false);
    } else {
        MarkForLayout();
    }
    return m_items.InsertAt(nIndex, pControl);
}

bool CContainerUI::RemoveItem(CControlUI* pControl)
{
    const int nIndex = IndexOf(pControl);
    if (nIndex < 0) {
        return false;
    }
    if (IsVisible()) {
        MarkForLayout();
    }
    m_items.Remove(nIndex);
    if (m_bAutoDestroy) {
        DestroyChild(pControl);
    }
    return true;
}

bool CContainerUI::RemoveItemAt(int nIndex)
{
    CControlUI* pControl = ItemAt(nIndex);
    return pControl != nullptr && RemoveItem(pControl);
}

void CContainerUI::RemoveAllItems()
{
    CUIPtrList items(std::move(m_items));
    m_items.Empty();
    if (m_bAutoDestroy) {
        for (int i = 0; i < items.GetSize(); ++i) {
            DestroyChild(static_cast<CControlUI*>(items.GetAt(i)));
        }
    }
    if (IsVisible()) {
        MarkForLayout();
    }
}

void CContainerUI::DestroyChild(CControlUI* pControl)
{
    if (!m_bDelayedDestroy || m_pManager == nullptr) {
        delete pControl;
        return;
    }
    // The child may be inside its own event or notification handling right now.
    pControl->AttachTo(m_pManager, nullptr, false);
    m_pManager->DeleteLater(pControl);
    if (m_pManager->WindowHandle() != nullptr) {
        ::PostMessageW(m_pManager->WindowHandle(), WM_UI_DELETE_LATER, 0, 0);
    }
}

int CContainerUI::FindSelectable(int nStart, bool bForward) const
{
    const int nCount = m_items.GetSize();
    if (nCount == 0) {
        return -1;
    }
    nStart = nStart < 0 ? 0 : (nStart >= nCount ? nCount - 1 : nStart);
    auto selectable = [this](int i) {
        CControlUI* pControl = ChildAt(i);
        return pControl->LookupInterface(L"ListItem") != nullptr && pControl->IsVisible() && pControl->IsEnabled();
    };
    if (!bForward) {
        for (int i = nStart; i >= 0; --i) {
            if (selectable(i)) {
                return i;
            }
        }
        return FindSelectable(0, true);
    }
    for (int i = nStart; i < nCount; ++i) {
        if (selectable(i)) {
            return i;
        }
    }
    return -1;
}

// ---- fields ---------------------------------------------------------------------------------

RECT CContainerUI::Inset() const
{
    return m_rcInset;
}

void CContainerUI::SetInset(RECT rcInset)
{
    m_rcInset = rcInset;
    MarkForLayout();
}

int CContainerUI::ChildPadding() const
{
    return m_iChildPadding;
}

void CContainerUI::SetChildPadding(int nPadding)
{
    m_iChildPadding = nPadding;
    MarkForLayout();
}

bool CContainerUI::IsAutoDestroy() const
{
    return m_bAutoDestroy;
}

void CContainerUI::SetAutoDestroy(bool bAuto)
{
    m_bAutoDestroy = bAuto;
}

bool CContainerUI::IsDelayedDestroy() const
{
    return m_bDelayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool bDelayed)
{
    m_bDelayedDestroy = bDelayed;
}

bool CContainerUI::IsMouseChildEnabled() const
{
    return m_bMouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool bEnable)
{
    m_bMouseChildEnabled = bEnable;
}

// ---- state propagation ----------------------------------------------------------------------

void CContainerUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) {
        return;
    }
    CControlUI::SetVisible(bVisible);
    PropagateAncestorVisibility();
}

void CContainerUI::SetAncestorVisible(bool bVisible)
{
    m_bAncestorVisible = bVisible;
    if (!bVisible && m_pManager != nullptr && m_pManager->FocusControl() == this) {
        m_pManager->SetFocusControl(nullptr);
    }
    PropagateAncestorVisibility();
}

void CContainerUI::PropagateAncestorVisibility()
{
    const bool bVisible = IsVisible();
    for (int i = 0; i < m_items.GetSize(); ++i) {
        ChildAt(i)->SetAncestorVisible(bVisible);
    }
}

void CContainerUI::SetEnabled(bool bEnabled)
{
    if (m_bEnabled == bEnabled) {
        return;
    }
    m_bEnabled = bEnabled;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        ChildAt(i)->SetEnabled(bEnabled);
    }
    Repaint();
}

void CContainerUI::SetMouseEnabled(bool bEnabled)
{
    for (CScrollBarUI* pBar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (pBar != nullptr) {
            pBar->SetMouseEnabled(bEnabled);
        }
    }
    m_bMouseEnabled = bEnabled;
}

// ---- placement ------------------------------------------------------------------------------

RECT CContainerUI::ClientRect() const
{
    RECT rc = Deflated(m_rcItem, m_rcInset);
    if (IsBarVisible(m_pVerticalScrollBar)) {
        rc.right -= m_pVerticalScrollBar->DeclaredWidth();
    }
    if (IsBarVisible(m_pHorizontalScrollBar)) {
        rc.bottom -= m_pHorizontalScrollBar->DeclaredHeight();
    }
    return rc;
}

RECT CContainerUI::InsetRect() const
{
    return Deflated(m_rcItem, m_rcInset);
}

void CContainerUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
    const RECT rcClient = InsetRect();
    PlaceChildren([&](int, CControlUI* pChild) { pChild->SetPosition(rcClient); });
}

void CContainerUI::PlaceFloatingChild(int nIndex)
{
    CControlUI* pChild = ChildAt(nIndex);
    if (pChild == nullptr || !pChild->IsVisible() || !pChild->IsFloating()) {
        return;
    }
    const RECT& rcParent = m_rcItem;
    const SIZE szOffset = pChild->FixedOffset();
    const int w = pChild->DeclaredWidth();
    const int h = pChild->DeclaredHeight();
    RECT rc;
    if (szOffset.cx >= 0) {
        rc.left = rcParent.left + szOffset.cx;
        rc.right = rc.left + w;
    } else {
        rc.right = rcParent.right + szOffset.cx;
        rc.left = rc.right - w;
    }
    if (szOffset.cy >= 0) {
        rc.top = rcParent.top + szOffset.cy;
        rc.bottom = rc.top + h;
    } else {
        rc.bottom = rcParent.bottom + szOffset.cy;
        rc.top = rc.bottom - h;
    }
    if (pChild->IsRelativePosition()) {
        const RelativePlacement rel = pChild->RelativePosition();
        const int W = rcParent.right - rcParent.left;
        const int H = rcParent.bottom - rcParent.top;
        const SIZE szWas = rel.parentSize;
        if (szWas.cx != 0) {
            rc.left += rel.moveXPercent * (W - szWas.cx) / 100;
            rc.top += (H - szWas.cy) * rel.moveYPercent / 100;
            rc.right = rc.left + w + (W - szWas.cx) * rel.zoomXPercent / 100;
            rc.bottom = rc.top + h + (H - szWas.cy) * rel.zoomYPercent / 100;
        }
        pChild->SetRelativeParentSize(W, H);
    }
    pChild->SetPosition(rc);
}

// ---- search ---------------------------------------------------------------------------------

CControlUI* CContainerUI::SearchTree(FindControlProc proc, void* pData, UINT uFlags)
{
    if (((uFlags & FindVisible) != 0 && !IsVisible()) || ((uFlags & FindEnabled) != 0 && !IsEnabled())) {
        return nullptr;
    }
    auto searchBars = [&]() -> CControlUI* {
        for (CScrollBarUI* pBar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
            if (pBar != nullptr) {
                if (CControlUI* pFound = pBar->SearchTree(proc, pData, uFlags)) {
                    return pFound;
                }
            }
        }
        return nullptr;
    };
    if ((uFlags & FindHitTest) != 0) {
        if (pData == nullptr || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData))) {
            return nullptr;
        }
        if (!m_bMouseChildEnabled) {
            CControlUI* pFound = searchBars();
            return pFound != nullptr ? pFound : CControlUI::SearchTree(proc, pData, uFlags);
        }
    }
    if (CControlUI* pFound = searchBars()) {
        return pFound;
    }
    if ((uFlags & FindMeFirst) != 0) {
        if (CControlUI* pFound = CControlUI::SearchTree(proc, pData, uFlags)) {
            return pFound;
        }
    }
    if (CControlUI* pFound = SearchChildren(proc, pData, uFlags)) {
        return pFound;
    }
    return (uFlags & FindMeFirst) != 0 ? nullptr : CControlUI::SearchTree(proc, pData, uFlags);
}

CControlUI* CContainerUI::SearchChildren(FindControlProc proc, void* pData, UINT uFlags)
{
    const int nCount = m_items.GetSize();
    const bool bTopFirst = (uFlags & FindTopFirst) != 0;
    const bool bHitTest = (uFlags & FindHitTest) != 0;
    const RECT rcClient = bHitTest ? ClientRect() : RECT{0, 0, 0, 0};
    for (int n = 0; n < nCount; ++n) {
        CControlUI* pFound = ChildAt(bTopFirst ? nCount - 1 - n : n)->SearchTree(proc, pData, uFlags);
        if (pFound == nullptr) {
            continue;
        }
        if (!bHitTest || pFound->IsFloating() || ::PtInRect(&rcClient, *static_cast<const POINT*>(pData))) {
            return pFound;
        }
    }
    return nullptr;
}

// ---- events ---------------------------------------------------------------------------------

namespace {

using ScrollStep = void (CContainerUI::*)();

struct ScrollKey {
    WPARAM key;
    ScrollStep vertical;
    ScrollStep horizontal;
};

const ScrollKey ScrollKeys[] = {
    {VK_PRIOR, &CContainerUI::ScrollPageUp, &CContainerUI::ScrollPageLeft},
    {VK_NEXT, &CContainerUI::ScrollPageDown, &CContainerUI::ScrollPageRight},
    {VK_END, &CContainerUI::ScrollToBottom, &CContainerUI::ScrollToRightEnd},
    {VK_HOME, &CContainerUI::ScrollToTop, &CContainerUI::ScrollToLeftEnd},
    {VK_UP, &CContainerUI::ScrollLineUp, &CContainerUI::ScrollLineLeft},
    {VK_DOWN, &CContainerUI::ScrollLineDown, &CContainerUI::ScrollLineRight},
};

// The scroll step an event asks for on one axis, null when it asks for none.
ScrollStep StepFor(const ControlEvent& event, bool bVertical)
{
    if (event.type == EventKeyDown) {
        for (const ScrollKey& entry : ScrollKeys) {
            if (entry.key == event.wParam) {
                return bVertical ? entry.vertical : entry.horizontal;
            }
        }
    }
    if (event.type == EventScrollWheel) {
        switch (LOWORD(event.wParam)) {
        case 0:
            return bVertical ? &CContainerUI::ScrollLineUp : &CContainerUI::ScrollLineLeft;
        case 1:
            return bVertical ? &CContainerUI::ScrollLineDown : &CContainerUI::ScrollLineRight;
        default:
            break;
        }
    }
    return nullptr;
}

} // namespace

void CContainerUI::HandleEvent(ControlEvent& event)
{
    if (!m_bMouseEnabled && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr) {
            m_pParent->HandleEvent(event);
        } else {
            CControlUI::HandleEvent(event);
        }
        return;
    }
    if (event.type == EventSetFocus || event.type == EventKillFocus) {
        m_bFocused = event.type == EventSetFocus;
        return;
    }
    for (CScrollBarUI* pBar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (pBar == nullptr || !pBar->IsVisible() || !pBar->IsEnabled()) {
            continue;
        }
        if (ScrollStep step = StepFor(event, pBar == m_pVerticalScrollBar)) {
            (this->*step)();
            return;
        }
    }
    CControlUI::HandleEvent(event);
}

// ---- attributes -----------------------------------------------------------------------------

void CContainerUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    if (pstrValue == nullptr) {
        pstrValue = L"";
    }
    auto is = [pstrName](const wchar_t* pstr) { return std::wcscmp(pstrName, pstr) == 0; };
    if (is(L"inset")) {
        SetInset(ParseAttributeRect(pstrValue));
    } else if (is(L"mousechild")) {
        SetMouseChildEnabled(ParseAttributeBool(pstrValue));
    } else if (is(L"vscrollbar")) {
        EnableScrollBar(ParseAttributeBool(pstrValue), m_pHorizontalScrollBar != nullptr);
    } else if (is(L"vscrollbarstyle")) {
        EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
        if (m_pVerticalScrollBar != nullptr) {
            m_pVerticalScrollBar->ApplyAttributeString(pstrValue);
        }
    } else if (is(L"hscrollbar")) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, ParseAttributeBool(pstrValue));
    } else if (is(L"hscrollbarstyle")) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, true);
        if (m_pHorizontalScrollBar != nullptr) {
            m_pHorizontalScrollBar->ApplyAttributeString(pstrValue);
        }
    } else if (is(L"childpadding")) {
        SetChildPadding(ParseAttributeInt(pstrValue));
    } else if (is(L"scrollstepsize")) {
        SetScrollStepSize(ParseAttributeInt(pstrValue));
    } else {
        CControlUI::ApplyAttribute(pstrName, pstrValue);
    }
}

// ---- painting -------------------------------------------------------------------------------

void CContainerUI::Paint(HDC hDC, const RECT& rcPaint)
{
    RECT rcVisible;
    if (!::IntersectRect(&rcVisible, &rcPaint, &m_rcItem)) {
        return;
    }
    UIClip clip;
    clip.ClipToRect(hDC, rcVisible);
    CControlUI::Paint(hDC, rcPaint);
    if (m_items.GetSize() > 0) {
        PaintChildren(hDC, rcPaint);
    }
    PaintScrollBars(hDC, rcPaint);
}

void CContainerUI::PaintChildren(HDC hDC, const RECT& rcPaint)
{
    const RECT rcClient = ClientRect();
    RECT rcInner;
    const bool bClientMeets = ::IntersectRect(&rcInner, &rcPaint, &rcClient) != FALSE;
    UIClip childClip;
    if (bClientMeets) {
        childClip.ClipToRect(hDC, rcInner);
    }
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pChild = ChildAt(i);
        const RECT rcChild = pChild->Position();
        if (!pChild->IsVisible() || !RectsMeet(rcChild, rcPaint)) {
            continue;
        }
        if (pChild->IsFloating()) {
            if (!RectsMeet(rcChild, m_rcItem)) {
                continue;
            }
            // A floating child may cover the inset and the scroll bars.
            childClip.Restore();
            pChild->Paint(hDC, rcPaint);
            if (bClientMeets) {
                childClip.ClipToRect(hDC, rcInner);
            }
        } else if (bClientMeets && RectsMeet(rcChild, rcClient)) {
            pChild->Paint(hDC, rcPaint);
        }
    }
}

void CContainerUI::PaintScrollBars(HDC hDC, const RECT& rcPaint)
{
    for (CScrollBarUI* pBar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (IsBarVisible(pBar) && RectsMeet(pBar->Position(), rcPaint)) {
            pBar->Paint(hDC, rcPaint);
        }
    }
}

} // namespace Tarvo
