#include "core/WindowManager.h"

#include "controls/Control.h"
#include "core/CommonControls.h"

#include <windowsx.h>

namespace Tarvo {

namespace {

// The tooltip class is registered when the first tooltip is shown: a program whose windows show
// none (the launcher) does not load comctl32 at start-up.
bool RegisterCommonControlsOnce()
{
    static const bool s_bReady = UIInitCommonControls(ICC_WIN95_CLASSES);
    return s_bReady;
}

constexpr UINT ReflectionOffset = 0x2000;
constexpr DWORD DefaultHoverTimeMs = 400;

WORD KeyStateWord()
{
    WORD wState = 0;
    const auto down = [](int vk) { return (::GetKeyState(vk) & 0x8000) != 0; };
    if (down(VK_LBUTTON)) {
        wState |= KeyStateLeftButton;
    }
    if (down(VK_RBUTTON)) {
        wState |= KeyStateRightButton;
    }
    if (down(VK_SHIFT)) {
        wState |= KeyStateShift;
    }
    if (down(VK_CONTROL)) {
        wState |= KeyStateControl;
    }
    if (down(VK_MENU)) {
        wState |= KeyStateAlt;
    }
    return wState;
}

POINT PointOf(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

WCHAR UpperChar(WCHAR ch)
{
    return static_cast<WCHAR>(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(ch))));
}

struct ShortcutSearch {
    WCHAR ch;
    bool bPicked;
};

CControlUI* ShortcutVisitor(CControlUI* pControl, void* pData)
{
    auto* pSearch = static_cast<ShortcutSearch*>(pData);
    if (!pControl->IsVisible()) {
        return nullptr;
    }
    if (UpperChar(pControl->Shortcut()) == pSearch->ch) {
        pSearch->bPicked = true;
    }
    // A label only names the control that comes after it.
    if (pSearch->bPicked && wcsstr(pControl->TypeName(), L"LabelUI") == nullptr) {
        return pControl;
    }
    return nullptr;
}

} // namespace

void CWindowManagerUI::SendEvent(CControlUI* pControl, int type, WPARAM wParam, LPARAM lParam, WORD keyState,
                                 WCHAR keyChar, CControlUI* pSender)
{
    if (pControl == nullptr) {
        return;
    }
    ControlEvent event;
    event.type = type;
    event.sender = pSender != nullptr ? pSender : pControl;
    event.timestamp = ::GetTickCount();
    event.mousePoint = m_ptLastMouse;
    event.keyChar = keyChar;
    event.keyState = keyState;
    event.wParam = wParam;
    event.lParam = lParam;
    pControl->DispatchEvent(event);
}

bool CWindowManagerUI::FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    for (int i = 0; i < m_messageFilters.GetSize(); ++i) {
        bool bHandled = false;
        const LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_messageFilters.GetAt(i))->FilterMessage(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }
    return false;
}

bool CWindowManagerUI::HandleWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    lRes = 0;
    if (m_hWnd == nullptr) {
        return false;
    }
    if (FilterMessage(uMsg, wParam, lParam, lRes)) {
        return true;
    }
    switch (uMsg) {
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_ERASEBKGND:
        lRes = 1;
        return true;
    case WM_SIZE:
        return OnSize();
    case WM_CLOSE:
        OnClose();
        return false;
    case WM_SYSCOMMAND:
        // Only noted: the command itself must still reach the default procedure.
        NoteSystemCommand(wParam);
        return false;
    case WM_TIMER:
        OnTimer(wParam);
        return false;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return false;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;
    case WM_MOUSEHOVER:
        return OnMouseHover(lParam);
    case WM_LBUTTONDOWN:
        OnButtonDown(EventButtonDown, wParam, lParam);
        return false;
    case WM_LBUTTONUP:
        OnButtonUp(wParam, lParam);
        return false;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(wParam, lParam);
        return false;
    case WM_RBUTTONDOWN:
        OnButtonDown(EventRightButtonDown, wParam, lParam);
        return false;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        return false;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        return false;
    case WM_SETCURSOR:
        if (OnSetCursor(wParam, lParam)) {
            lRes = TRUE;
            return true;
        }
        return false;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(lParam);
        return false;
    case WM_KEYDOWN:
        if (m_pFocus != nullptr) {
            m_pKeyControl = m_pFocus;
            SendEvent(m_pFocus, EventKeyDown, wParam, lParam, KeyStateWord(), static_cast<WCHAR>(wParam));
        }
        return false;
    case WM_KEYUP:
        if (CControlUI* pKeyControl = m_pKeyControl) {
            m_pKeyControl = nullptr;
            SendEvent(pKeyControl, EventKeyUp, wParam, lParam, KeyStateWord(), static_cast<WCHAR>(wParam));
        }
        return false;
    case WM_CHAR:
        SendEvent(m_pFocus, EventChar, wParam, lParam, KeyStateWord(), static_cast<WCHAR>(wParam));
        return false;
    case WM_KILLFOCUS:
        OnKillFocus(wParam);
        return false;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return ReflectToChild(uMsg, wParam, lParam, lRes);
    case WM_UI_DELETE_LATER:
        DeletePendingObjects();
        return false;
    default:
        return false;
    }
}

void CWindowManagerUI::NoteSystemCommand(WPARAM wCommand)
{
    if ((wCommand & 0xFFF0) == SC_RESTORE) {
        m_bRestorePending = true;
    }
}

bool CWindowManagerUI::OnSize()
{
    SendEvent(m_pFocus, EventWindowSize);
    if (m_pRoot != nullptr && m_pRoot->IsVisible()) {
        m_pRoot->MarkForLayout();
    }
    return true;
}

void CWindowManagerUI::OnClose()
{
    if (CControlUI* pHover = m_pHoverControl) {
        SendEvent(pHover, EventMouseLeave);
    }
    if (CControlUI* pClick = m_pClickControl) {
        SendEvent(pClick, EventButtonUp);
    }
    SetFocusControl(nullptr);
    if (HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER)) {
        ::SetFocus(hOwner);
    }
}

void CWindowManagerUI::OnTimer(WPARAM wParam)
{
    if (wParam == CaretTimerId) {
        m_bCaretVisible = !m_bCaretVisible;
        Invalidate(m_rcCaret);
        return;
    }
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        const auto* pTimer = static_cast<const UITimerInfo*>(m_timers.GetAt(i));
        if (pTimer->window == m_hWnd && pTimer->systemId == wParam && !pTimer->stopped) {
            SendEvent(pTimer->sender, EventTimer, pTimer->localId);
            return;
        }
    }
}

void CWindowManagerUI::StartMouseTracking()
{
    DWORD dwHoverTime = DefaultHoverTimeMs;
    if (m_hToolTipWnd != nullptr) {
        dwHoverTime = static_cast<DWORD>(::SendMessageW(m_hToolTipWnd, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    }
    TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, m_hWnd, dwHoverTime};
    ::TrackMouseEvent(&tme);
    m_bMouseTracking = true;
}

void CWindowManagerUI::OnMouseMove(LPARAM lParam)
{
    if (!m_bMouseTracking) {
        StartMouseTracking();
    }
    m_ptLastMouse = PointOf(lParam);
    CControlUI* pFound = ControlAt(m_ptLastMouse);
    if (pFound != nullptr && pFound->Manager() != this) {
        return;
    }
    if (pFound != m_pHoverControl) {
        if (CControlUI* pOld = m_pHoverControl) {
            m_pHoverControl = nullptr;
            SendEvent(pOld, EventMouseLeave);
        }
        HideToolTip();
        m_pHoverControl = pFound;
        SendEvent(pFound, EventMouseEnter);
        // The enter event may have removed the control.
        if (m_pHoverControl != pFound) {
            return;
        }
    }
    SendEvent(m_pClickControl != nullptr ? m_pClickControl : pFound, EventMouseMove);
}

void CWindowManagerUI::OnMouseLeave()
{
    HideToolTip();
    if (m_bMouseTracking) {
        ::SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
    }
    m_bMouseTracking = false;
}

bool CWindowManagerUI::OnMouseHover(LPARAM lParam)
{
    m_bMouseTracking = false;
    CControlUI* pFound = ControlAt(PointOf(lParam));
    if (pFound == nullptr) {
        return false;
    }
    SendEvent(m_pHoverControl, EventMouseHover);
    // The hover event may have removed the control under the mouse.
    pFound = ControlAt(PointOf(lParam));
    if (pFound != nullptr && !pFound->ToolTip().IsEmpty()) {
        ShowToolTip(pFound);
    }
    return true;
}

void CWindowManagerUI::OnButtonDown(int type, WPARAM wParam, LPARAM lParam)
{
    ::SetFocus(m_hWnd);
    m_ptLastMouse = PointOf(lParam);
    CControlUI* pFound = ControlAt(m_ptLastMouse);
    if (pFound == nullptr || pFound->Manager() != this) {
        return;
    }
    m_pClickControl = pFound;
    pFound->RequestFocus();
    if (m_pClickControl != pFound) {
        return; // removed by a focus handler
    }
    ::SetCapture(m_hWnd);
    m_bMouseCaptured = true;
    SendEvent(pFound, type, wParam, lParam, LOWORD(wParam));
}

void CWindowManagerUI::OnButtonUp(WPARAM wParam, LPARAM lParam)
{
    m_ptLastMouse = PointOf(lParam);
    CControlUI* pClick = m_pClickControl;
    if (pClick == nullptr) {
        return;
    }
    m_pClickControl = nullptr;
    m_bMouseCaptured = false;
    ::ReleaseCapture();
    SendEvent(pClick, EventButtonUp, wParam, lParam, LOWORD(wParam));
}

void CWindowManagerUI::OnDoubleClick(WPARAM wParam, LPARAM lParam)
{
    ::SetFocus(m_hWnd);
    m_ptLastMouse = PointOf(lParam);
    CControlUI* pFound = ControlAt(m_ptLastMouse);
    if (pFound == nullptr || pFound->Manager() != this) {
        return;
    }
    ::SetCapture(m_hWnd);
    m_bMouseCaptured = true;
    m_pClickControl = pFound;
    SendEvent(pFound, EventDoubleClick, 0, 0, LOWORD(wParam));
}

void CWindowManagerUI::OnContextMenu(LPARAM lParam)
{
    POINT pt = PointOf(lParam);
    ::ScreenToClient(m_hWnd, &pt);
    m_ptLastMouse = pt;
    CControlUI* pClick = m_pClickControl;
    if (pClick == nullptr) {
        return;
    }
    m_pClickControl = nullptr;
    m_bMouseCaptured = false;
    ::ReleaseCapture();
    SendEvent(pClick, EventContextMenu, 0, reinterpret_cast<LPARAM>(pClick));
}

void CWindowManagerUI::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointOf(lParam);
    ::ScreenToClient(m_hWnd, &pt);
    m_ptLastMouse = pt;
    CControlUI* pFound = ControlAt(pt);
    if (pFound == nullptr || pFound->Manager() != this) {
        return;
    }
    const bool bTowardsUser = GET_WHEEL_DELTA_WPARAM(wParam) < 0;
    SendEvent(pFound, EventScrollWheel, bTowardsUser ? 1 : 0, lParam, KeyStateWord());
    ::SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

bool CWindowManagerUI::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT) {
        return false;
    }
    if (m_bMouseCaptured) {
        return true;
    }
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    CControlUI* pFound = ControlAt(pt);
    if (pFound == nullptr || (pFound->InputFlags() & InputSetCursor) == 0) {
        return false;
    }
    SendEvent(pFound, EventSetCursor, wParam, lParam, KeyStateWord());
    return true;
}

void CWindowManagerUI::OnGetMinMaxInfo(LPARAM lParam)
{
    auto* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
    if (pInfo == nullptr) {
        return;
    }
    if (m_szMinTrack.cx > 0) {
        pInfo->ptMinTrackSize.x = m_szMinTrack.cx;
    }
    if (m_szMinTrack.cy > 0) {
        pInfo->ptMinTrackSize.y = m_szMinTrack.cy;
    }
    if (m_szMaxTrack.cx > 0) {
        pInfo->ptMaxTrackSize.x = m_szMaxTrack.cx;
    }
    if (m_szMaxTrack.cy > 0) {
        pInfo->ptMaxTrackSize.y = m_szMaxTrack.cy;
    }
}

void CWindowManagerUI::OnKillFocus(WPARAM wParam)
{
    if (wParam == 0 || m_pFocus == nullptr || wcscmp(m_pFocus->TypeName(), L"RichEditUI") != 0) {
        return;
    }
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    CControlUI* pFound = ControlAt(pt);
    if (pFound != nullptr && !pFound->IsFocused() && wcscmp(pFound->TypeName(), L"WebBrowserUI") == 0) {
        SetFocusControl(pFound);
    }
}

bool CWindowManagerUI::ReflectToChild(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    HWND hChild = nullptr;
    if (uMsg == WM_NOTIFY) {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        hChild = pHeader != nullptr ? pHeader->hwndFrom : nullptr;
    } else {
        hChild = reinterpret_cast<HWND>(lParam);
    }
    if (hChild == nullptr || !::IsWindow(hChild)) {
        return false;
    }
    lRes = ::SendMessageW(hChild, uMsg + ReflectionOffset, wParam, lParam);
    return true;
}

bool CWindowManagerUI::PreHandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    for (int i = 0; i < m_preFilters.GetSize(); ++i) {
        bool bHandled = false;
        const LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_preFilters.GetAt(i))->FilterMessage(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }
    switch (uMsg) {
    case WM_KEYDOWN:
        if (wParam != VK_TAB) {
            return false;
        }
        MoveFocus((::GetKeyState(VK_SHIFT) & 0x8000) == 0);
        return true;
    case WM_SYSKEYDOWN:
        SendEvent(m_pFocus, EventSysKey, wParam, lParam, KeyStateWord(), static_cast<WCHAR>(wParam));
        return false;
    case WM_SYSCHAR: {
        CControlUI* pTarget = FindShortcutTarget(static_cast<WCHAR>(wParam));
        if (pTarget == nullptr) {
            return false;
        }
        pTarget->RequestFocus();
        pTarget->Invoke();
        return true;
    }
    default:
        return false;
    }
}

CControlUI* CWindowManagerUI::FindShortcutTarget(WCHAR ch) const
{
    // A nul character would match every control without a shortcut.
    if (m_pRoot == nullptr || ch == 0) {
        return nullptr;
    }
    ShortcutSearch search = {UpperChar(ch), false};
    return m_pRoot->SearchTree(ShortcutVisitor, &search, FindEnabled | FindTopFirst | FindMeFirst);
}

void CWindowManagerUI::ShowToolTip(CControlUI* pControl)
{
    m_strToolTipText = pControl->ToolTip();
    if (m_hToolTipWnd == nullptr) {
        RegisterCommonControlsOnce();
        m_hToolTipWnd =
            ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, Instance(), nullptr);
        if (m_hToolTipWnd == nullptr) {
            return;
        }
        m_toolInfo = {};
        m_toolInfo.cbSize = sizeof m_toolInfo;
        m_toolInfo.uFlags = TTF_IDISHWND;
        m_toolInfo.hwnd = m_hWnd;
        m_toolInfo.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
        m_toolInfo.hinst = Instance();
        m_toolInfo.lpszText = const_cast<LPWSTR>(m_strToolTipText.GetData());
        m_toolInfo.rect = pControl->Position();
        ::SendMessageW(m_hToolTipWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
    }
    m_toolInfo.lpszText = const_cast<LPWSTR>(m_strToolTipText.GetData());
    m_toolInfo.rect = pControl->Position();
    ::SendMessageW(m_hToolTipWnd, TTM_SETMAXTIPWIDTH, 0, pControl->ToolTipWidth());
    ::SendMessageW(m_hToolTipWnd, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
    ::SendMessageW(m_hToolTipWnd, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_toolInfo));
}

void CWindowManagerUI::HideToolTip()
{
    if (m_hToolTipWnd != nullptr) {
        ::SendMessageW(m_hToolTipWnd, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_toolInfo));
    }
}

} // namespace Tarvo
