#include "controls/Control.h"

#include "core/WindowManager.h"

#include <algorithm>

namespace Tarvo {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    m_destroyHandlers.Invoke(this);
    if (m_pManager != nullptr) {
        m_pManager->ForgetControl(this);
    }
}

CUIString CControlUI::Name() const
{
    return m_strName;
}

void CControlUI::SetName(const wchar_t* pstrName)
{
    m_strName = pstrName;
}

const wchar_t* CControlUI::TypeName() const
{
    return L"ControlUI";
}

void* CControlUI::LookupInterface(const wchar_t* pstrName)
{
    return pstrName != nullptr && wcscmp(pstrName, L"Control") == 0 ? this : nullptr;
}

UINT CControlUI::InputFlags()
{
    return 0;
}

bool CControlUI::Invoke()
{
    return IsVisible() && IsEnabled();
}

CWindowManagerUI* CControlUI::Manager() const
{
    return m_pManager;
}

void CControlUI::AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize)
{
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInitialize && pParent != nullptr) {
        Initialize();
    }
}

CControlUI* CControlUI::Parent() const
{
    return m_pParent;
}

CUIString CControlUI::Text() const
{
    return m_strText;
}

void CControlUI::SetText(const wchar_t* pstrText)
{
    if (m_strText == pstrText) {
        return;
    }
    m_strText = pstrText;
    Repaint();
}

RECT CControlUI::Position() const
{
    return m_rcItem;
}

void CControlUI::SetPosition(RECT rc)
{
    rc.right = std::max(rc.right, rc.left);
    rc.bottom = std::max(rc.bottom, rc.top);
    RECT rcOld = m_rcItem;
    if (::IsRectEmpty(&rcOld)) {
        rcOld = rc;
    }
    m_rcItem = rc;
    if (m_pManager == nullptr) {
        return;
    }
    if (!m_bPlacingNow) {
        m_bPlacingNow = true;
        m_sizeHandlers.Invoke(this);
        m_bPlacingNow = false;
    }
    if (m_bFloating && m_pParent != nullptr) {
        const RECT rcParent = m_pParent->Position();
        m_szFixedOffset.cx = m_szFixedOffset.cx < 0 ? m_rcItem.right - rcParent.right : m_rcItem.left - rcParent.left;
        m_szFixedOffset.cy = m_szFixedOffset.cy < 0 ? m_rcItem.bottom - rcParent.bottom : m_rcItem.top - rcParent.top;
        m_szDeclared = {m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top};
    }
    m_bUpdateNeeded = false;
    const RECT rcUnion = {std::min(rcOld.left, rc.left), std::min(rcOld.top, rc.top), std::max(rcOld.right, rc.right),
                          std::max(rcOld.bottom, rc.bottom)};
    const RECT rcInvalid = ClippedByAncestors(rcUnion);
    if (!::IsRectEmpty(&rcInvalid)) {
        m_pManager->Invalidate(rcInvalid);
    }
}

int CControlUI::Width() const
{
    return m_rcItem.right - m_rcItem.left;
}

int CControlUI::Height() const
{
    return m_rcItem.bottom - m_rcItem.top;
}

int CControlUI::Left() const
{
    return m_rcItem.left;
}

int CControlUI::Top() const
{
    return m_rcItem.top;
}

RECT CControlUI::Padding() const
{
    return m_rcPadding;
}

void CControlUI::SetPadding(RECT rcPadding)
{
    m_rcPadding = rcPadding;
    MarkParentForLayout();
}

SIZE CControlUI::FixedOffset() const
{
    return m_szFixedOffset;
}

void CControlUI::SetFixedOffset(int cx, int cy)
{
    m_szFixedOffset = {cx, cy};
    ApplySizeChange();
}

int CControlUI::DeclaredWidth() const
{
    return m_szDeclared.cx;
}

void CControlUI::SetDeclaredWidth(int cx)
{
    // An unchanged size must not mark anything: measuring sets it at every layout pass.
    if (cx < 0 || m_szDeclared.cx == cx) {
        return;
    }
    m_szDeclared.cx = cx;
    ApplySizeChange();
}

int CControlUI::DeclaredHeight() const
{
    return m_szDeclared.cy;
}

void CControlUI::SetDeclaredHeight(int cy)
{
    // An unchanged size must not mark anything: measuring sets it at every layout pass.
    if (cy < 0 || m_szDeclared.cy == cy) {
        return;
    }
    m_szDeclared.cy = cy;
    ApplySizeChange();
}

namespace {

// The common rule of the four limit setters: negative or unchanged values are ignored.
bool StoreLimit(LONG& field, int value)
{
    if (value < 0 || field == value) {
        return false;
    }
    field = value;
    return true;
}

} // namespace

int CControlUI::MinWidth() const
{
    return m_szMin.cx;
}

void CControlUI::SetMinWidth(int cx)
{
    if (StoreLimit(m_szMin.cx, cx)) {
        ApplySizeChange();
    }
}

int CControlUI::MaxWidth() const
{
    return m_szMax.cx;
}

void CControlUI::SetMaxWidth(int cx)
{
    if (StoreLimit(m_szMax.cx, cx)) {
        ApplySizeChange();
    }
}

int CControlUI::MinHeight() const
{
    return m_szMin.cy;
}

void CControlUI::SetMinHeight(int cy)
{
    if (StoreLimit(m_szMin.cy, cy)) {
        ApplySizeChange();
    }
}

int CControlUI::MaxHeight() const
{
    return m_szMax.cy;
}

void CControlUI::SetMaxHeight(int cy)
{
    if (StoreLimit(m_szMax.cy, cy)) {
        ApplySizeChange();
    }
}

void CControlUI::SetRelativePosition(int moveX, int moveY, int zoomX, int zoomY)
{
    m_relativePlacement.enabled = true;
    m_relativePlacement.moveXPercent = moveX;
    m_relativePlacement.moveYPercent = moveY;
    m_relativePlacement.zoomXPercent = zoomX;
    m_relativePlacement.zoomYPercent = zoomY;
}

void CControlUI::SetRelativeParentSize(int cx, int cy)
{
    m_relativePlacement.parentSize = {cx, cy};
}

RelativePlacement CControlUI::RelativePosition() const
{
    return m_relativePlacement;
}

bool CControlUI::IsRelativePosition() const
{
    return m_relativePlacement.enabled;
}

CUIString CControlUI::ToolTip() const
{
    return m_strToolTip;
}

void CControlUI::SetToolTip(const wchar_t* pstrText)
{
    CUIString strText(pstrText != nullptr ? pstrText : L"");
    strText.Replace(L"<n>", L"\r\n");
    m_strToolTip = strText;
}

void CControlUI::SetToolTipWidth(int nWidth)
{
    m_nToolTipWidth = nWidth;
}

int CControlUI::ToolTipWidth() const
{
    return m_nToolTipWidth;
}

WCHAR CControlUI::Shortcut() const
{
    return m_chShortcut;
}

void CControlUI::SetShortcut(WCHAR ch)
{
    m_chShortcut = ch;
}

bool CControlUI::IsContextMenuEnabled() const
{
    return m_bContextMenuEnabled;
}

void CControlUI::SetContextMenuEnabled(bool bEnabled)
{
    m_bContextMenuEnabled = bEnabled;
}

CUIString CControlUI::UserData() const
{
    return m_strUserData;
}

void CControlUI::SetUserData(const wchar_t* pstrText)
{
    m_strUserData = pstrText;
}

UINT_PTR CControlUI::Tag() const
{
    return m_uTag;
}

void CControlUI::SetTag(UINT_PTR tag)
{
    m_uTag = tag;
}

bool CControlUI::IsVisible() const
{
    return m_bVisible && m_bAncestorVisible;
}

void CControlUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) {
        return;
    }
    const bool bWasVisible = IsVisible();
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible && m_pManager != nullptr && m_pManager->FocusControl() == this) {
        m_pManager->SetFocusControl(nullptr);
    }
    if (IsVisible() != bWasVisible) {
        MarkParentForLayout();
    }
}

void CControlUI::SetAncestorVisible(bool bVisible)
{
    m_bAncestorVisible = bVisible;
    if (!bVisible && m_pManager != nullptr && m_pManager->FocusControl() == this) {
        m_pManager->SetFocusControl(nullptr);
    }
}

bool CControlUI::IsEnabled() const
{
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool bEnabled)
{
    if (m_bEnabled == bEnabled) {
        return;
    }
    m_bEnabled = bEnabled;
    Repaint();
}

bool CControlUI::IsMouseEnabled() const
{
    return m_bMouseEnabled;
}

void CControlUI::SetMouseEnabled(bool bEnabled)
{
    m_bMouseEnabled = bEnabled;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_bKeyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool bEnabled)
{
    m_bKeyboardEnabled = bEnabled;
}

bool CControlUI::IsFocused() const
{
    return m_bFocused;
}

void CControlUI::RequestFocus()
{
    if (m_pManager != nullptr) {
        m_pManager->SetFocusControl(this);
    }
}

bool CControlUI::IsFloating() const
{
    return m_bFloating;
}

void CControlUI::SetFloating(bool bFloating)
{
    if (m_bFloating == bFloating) {
        return;
    }
    m_bFloating = bFloating;
    MarkParentForLayout();
}

CControlUI* CControlUI::SearchTree(FindControlProc proc, void* pData, UINT uFlags)
{
    if ((uFlags & FindVisible) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((uFlags & FindEnabled) != 0 && !IsEnabled()) {
        return nullptr;
    }
    if ((uFlags & FindHitTest) != 0 &&
        (!IsMouseEnabled() || pData == nullptr || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData)))) {
        return nullptr;
    }
    return proc(this, pData);
}

void CControlUI::Initialize()
{
    InitializeHook();
    m_initHandlers.Invoke(this);
}

void CControlUI::InitializeHook() {}

void CControlUI::DispatchEvent(ControlEvent& event)
{
    if (!m_eventHandlers.Invoke(&event)) {
        return;
    }
    HandleEvent(event);
}

void CControlUI::HandleEvent(ControlEvent& event)
{
    switch (event.type) {
    case EventSetCursor:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return;
    case EventSetFocus:
        m_bFocused = true;
        Repaint();
        return;
    case EventKillFocus:
        m_bFocused = false;
        Repaint();
        return;
    case EventTimer:
        SendNotification(L"timer", event.wParam, event.lParam);
        return;
    case EventContextMenu:
        if (m_bContextMenuEnabled) {
            SendNotification(L"menu", event.wParam, event.lParam);
            return;
        }
        break;
    case EventMouseHover:
        SendNotification(L"mouseenter", event.wParam, event.lParam);
        break;
    case EventMouseLeave:
        SendNotification(L"mouseleave", event.wParam, event.lParam);
        break;
    default:
        break;
    }
    if (m_pParent != nullptr) {
        m_pParent->HandleEvent(event);
    }
}

SIZE CControlUI::MeasureSize(SIZE)
{
    return m_szDeclared;
}

void CControlUI::PaintStateImages(HDC) {}

void CControlUI::PaintTextContent(HDC) {}

void CControlUI::PaintPost(HDC, const RECT&) {}

void CControlUI::Repaint()
{
    if (!IsVisible() || m_pManager == nullptr) {
        return;
    }
    const RECT rc = ClippedByAncestors(m_rcItem);
    if (!::IsRectEmpty(&rc)) {
        m_pManager->Invalidate(rc);
    }
}

void CControlUI::MarkForLayout()
{
    if (!IsVisible()) {
        return;
    }
    m_bUpdateNeeded = true;
    Repaint();
    if (m_pManager != nullptr) {
        m_pManager->RequestLayout();
    }
}

void CControlUI::MarkParentForLayout()
{
    if (m_pParent != nullptr) {
        m_pParent->MarkForLayout();
        m_pParent->Repaint();
    } else {
        MarkForLayout();
    }
    if (m_pManager != nullptr) {
        m_pManager->RequestLayout();
    }
}

CUIString CControlUI::VirtualWindowName() const
{
    if (!m_strVirtualWindowName.IsEmpty()) {
        return m_strVirtualWindowName;
    }
    return m_pParent != nullptr ? m_pParent->VirtualWindowName() : CUIString();
}

void CControlUI::SetVirtualWindowName(const wchar_t* pstrName)
{
    m_strVirtualWindowName = pstrName;
    if (m_pManager != nullptr) {
        m_pManager->SetUseVirtualWindow(true);
    }
}

RECT CControlUI::ClippedByAncestors(RECT rc) const
{
    for (const CControlUI* pAncestor = m_pParent; pAncestor != nullptr; pAncestor = pAncestor->Parent()) {
        const RECT rcAncestor = pAncestor->Position();
        if (!::IntersectRect(&rc, &rc, &rcAncestor)) {
            return RECT{0, 0, 0, 0};
        }
    }
    return rc;
}

void CControlUI::ApplySizeChange()
{
    if (m_bFloating) {
        MarkForLayout();
    } else {
        MarkParentForLayout();
    }
}

void CControlUI::SendNotification(const wchar_t* pstrType, WPARAM wParam, LPARAM lParam)
{
    if (m_pManager != nullptr) {
        m_pManager->SendNotification(this, pstrType, wParam, lParam);
    }
}

} // namespace Tarvo
