#include "controls/RichEdit.h"

#include "controls/AttributeValue.h"
#include "controls/ScrollBar.h"
#include "controls/TxtWinHost.h"
#include "core/GdiResources.h"
#include "core/UIClip.h"
#include "core/UITypes.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

namespace Tarvo {

namespace {

// The largest limit the services take; "no limit" of the skin becomes this.
constexpr DWORD UnlimitedText = 0x7FFFFFFF;

struct FlagAttribute {
    const wchar_t* name;
    void (*setter)(CRichEditUI& edit, bool bValue);
};

const FlagAttribute kFlagAttributes[] = {
    {L"wanttab", [](CRichEditUI& e, bool b) { e.SetWantTab(b); }},
    {L"wantreturn", [](CRichEditUI& e, bool b) { e.SetWantReturn(b); }},
    {L"wantctrlreturn", [](CRichEditUI& e, bool b) { e.SetWantCtrlReturn(b); }},
    {L"rich", [](CRichEditUI& e, bool b) { e.SetRich(b); }},
    {L"multiline", [](CRichEditUI& e, bool b) { e.SetMultiLine(b); }},
    {L"readonly", [](CRichEditUI& e, bool b) { e.SetReadOnly(b); }},
    {L"password", [](CRichEditUI& e, bool b) { e.SetPasswordMode(b); }},
};

WORD ParseAlignment(const wchar_t* pstrValue)
{
    if (std::wcsstr(pstrValue, L"center") != nullptr) {
        return PFA_CENTER;
    }
    if (std::wcsstr(pstrValue, L"right") != nullptr) {
        return PFA_RIGHT;
    }
    return PFA_LEFT;
}

RECT Deflate(RECT rc, const RECT& rcBy)
{
    rc.left += rcBy.left;
    rc.top += rcBy.top;
    rc.right = std::max(rc.left, rc.right - rcBy.right);
    rc.bottom = std::max(rc.top, rc.bottom - rcBy.bottom);
    return rc;
}

} // namespace

CRichEditUI::CRichEditUI() = default;

CRichEditUI::~CRichEditUI()
{
    DestroyHost();
    if (m_pFilterManager != nullptr) {
        m_pFilterManager->RemovePreFilter(this);
    }
}

const wchar_t* CRichEditUI::TypeName() const
{
    return L"RichEditUI";
}

void* CRichEditUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"RichEdit") == 0) {
        return this;
    }
    return CContainerUI::LookupInterface(pstrName);
}

UINT CRichEditUI::InputFlags()
{
    return IsEnabled() ? InputTabStop | InputSetCursor : 0;
}

void CRichEditUI::AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize)
{
    if (pManager != m_pFilterManager) {
        if (m_pFilterManager != nullptr) {
            m_pFilterManager->RemovePreFilter(this);
        }
        m_pFilterManager = pManager;
        if (pManager != nullptr) {
            pManager->AddPreFilter(this);
        }
    }
    CContainerUI::AttachTo(pManager, pParent, bInitialize);
    if (pManager != nullptr) {
        CreateHost();
    }
}

ITextServices* CRichEditUI::TextServices() const
{
    return m_host != nullptr ? m_host->Services() : nullptr;
}

LRESULT CRichEditUI::SendTextMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    ITextServices* pServices = TextServices();
    if (pServices == nullptr) {
        return 0;
    }
    LRESULT lResult = 0;
    pServices->TxSendMessage(uMsg, wParam, lParam, &lResult);
    SyncScrollBars();
    return lResult;
}

void CRichEditUI::CreateHost()
{
    if (m_host != nullptr) {
        return;
    }
    m_host = CTxtWinHost::Create(this, CharFormat(), m_wAlignment);
    if (m_host == nullptr) {
        return;
    }
    SendTextMessage(EM_EXLIMITTEXT, 0, static_cast<LPARAM>(TextLimit()));
    SendTextMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
    m_bSettingText = true;
    TextServices()->TxSetText(m_strText);
    m_bSettingText = false;
    m_strText.Empty(); // the services hold the text from now on
    if (!::IsRectEmpty(&m_rcItem)) {
        SetPosition(m_rcItem);
    }
}

void CRichEditUI::DestroyHost()
{
    if (m_host == nullptr) {
        return;
    }
    m_strText = Text();
    if (m_pManager != nullptr && m_bFocused) {
        m_pManager->ShowCaret(false); // the caret is this control's
    }
    m_host->Shutdown();
    m_host.Reset();
    m_bInPlaceActive = false;
}

CUIString CRichEditUI::Text() const
{
    ITextServices* pServices = TextServices();
    if (pServices == nullptr) {
        return m_strText;
    }
    BSTR bstrText = nullptr;
    if (FAILED(pServices->TxGetText(&bstrText)) || bstrText == nullptr) {
        return CUIString();
    }
    CUIString strText(bstrText, static_cast<int>(::SysStringLen(bstrText)));
    ::SysFreeString(bstrText);
    return strText;
}

void CRichEditUI::SetText(const wchar_t* pstrText)
{
    ITextServices* pServices = TextServices();
    if (pServices == nullptr) {
        m_strText = pstrText;
        Repaint();
        return;
    }
    // Text put in by the program is no edit of the user's: no "textchanged" for it.
    m_bSettingText = true;
    pServices->TxSetText(pstrText != nullptr ? pstrText : L"");
    m_bSettingText = false;
    SyncScrollBars();
    Repaint();
}

RECT CRichEditUI::TextRect() const
{
    return Deflate(ClientRect(), m_rcTextPadding);
}

DWORD CRichEditUI::TextPropertyBits() const
{
    DWORD dwBits = 0;
    const struct {
        bool on;
        DWORD bit;
    } bits[] = {
        {m_bRich, TXTBIT_RICHTEXT},
        {m_bMultiLine, TXTBIT_MULTILINE},
        {m_bReadOnly, TXTBIT_READONLY},
        {m_bPassword, TXTBIT_USEPASSWORD},
        // A multi-line text without horizontal scrolling wraps at the right edge.
        {m_bMultiLine && !m_bHScrollBar && !m_bAutoHScroll, TXTBIT_WORDWRAP},
    };
    for (const auto& bit : bits) {
        dwBits |= bit.on ? bit.bit : 0;
    }
    return dwBits;
}

DWORD CRichEditUI::ScrollBarBits() const
{
    DWORD dwBits = 0;
    dwBits |= m_bVScrollBar ? WS_VSCROLL : 0;
    dwBits |= m_bAutoVScroll ? ES_AUTOVSCROLL : 0;
    dwBits |= m_bHScrollBar ? WS_HSCROLL : 0;
    // A single line scrolls sideways under the caret, or nothing past its width could be typed.
    dwBits |= m_bAutoHScroll || !m_bMultiLine ? ES_AUTOHSCROLL : 0;
    return dwBits;
}

DWORD CRichEditUI::TextLimit() const
{
    return m_nMaxChar > 0 ? static_cast<DWORD>(m_nMaxChar) : UnlimitedText;
}

DWORD CRichEditUI::CaretColor() const
{
    return m_dwTextColor;
}

void CRichEditUI::OnTxTextChanged()
{
    if (!m_bSettingText) {
        SendNotification(L"textchanged");
    }
}

void CRichEditUI::OnTxInvalidate(const RECT* prc)
{
    if (m_pManager == nullptr || !IsVisible()) {
        return;
    }
    RECT rc = m_rcItem;
    if (prc != nullptr && !::IntersectRect(&rc, prc, &m_rcItem)) {
        return;
    }
    rc = ClippedByAncestors(rc);
    if (!::IsRectEmpty(&rc)) {
        m_pManager->Invalidate(rc);
    }
}

void CRichEditUI::ChangeProperty(DWORD dwBit, bool bOn)
{
    if (ITextServices* pServices = TextServices()) {
        pServices->OnTxPropertyBitsChange(dwBit, bOn ? dwBit : 0);
        SyncScrollBars();
    }
    Repaint();
}

void CRichEditUI::SetRich(bool bRich)
{
    m_bRich = bRich;
    ChangeProperty(TXTBIT_RICHTEXT, bRich);
}

void CRichEditUI::SetMultiLine(bool bMultiLine)
{
    m_bMultiLine = bMultiLine;
    ChangeProperty(TXTBIT_MULTILINE, bMultiLine);
    ChangeProperty(TXTBIT_WORDWRAP, (TextPropertyBits() & TXTBIT_WORDWRAP) != 0);
    ChangeProperty(TXTBIT_SCROLLBARCHANGE, true);
}

void CRichEditUI::SetReadOnly(bool bReadOnly)
{
    m_bReadOnly = bReadOnly;
    ChangeProperty(TXTBIT_READONLY, bReadOnly);
}

void CRichEditUI::SetPasswordMode(bool bPassword)
{
    m_bPassword = bPassword;
    ChangeProperty(TXTBIT_USEPASSWORD, bPassword);
}

void CRichEditUI::SetMaxChar(int nMax)
{
    // A limit of 0 or below means none of our own, as the system's edit reads 0.
    m_nMaxChar = nMax > 0 ? nMax : 0;
    SendTextMessage(EM_EXLIMITTEXT, 0, static_cast<LPARAM>(TextLimit()));
}

void CRichEditUI::SetAlignment(WORD wAlignment)
{
    m_wAlignment = wAlignment;
    if (m_host != nullptr) {
        m_host->SetParaAlignment(wAlignment);
    }
    Repaint();
}

void CRichEditUI::SetFont(int iFont)
{
    m_iFont = iFont;
    UpdateCharFormat();
}

void CRichEditUI::SetTextColor(DWORD dwColor)
{
    m_dwTextColor = dwColor;
    UpdateCharFormat();
}

void CRichEditUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    if (!::IsRectEmpty(&m_rcItem)) {
        SetPosition(m_rcItem);
    }
}

// The default character format: the control's font and text colour.
CHARFORMAT2W CRichEditUI::CharFormat() const
{
    LOGFONTW lf = {};
    const UIFontInfo* pFont = m_pManager != nullptr ? m_pManager->FontInfoAt(m_iFont) : nullptr;
    if (pFont == nullptr || pFont->hFont == nullptr || ::GetObjectW(pFont->hFont, sizeof(lf), &lf) == 0) {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    }
    CHARFORMAT2W cf = {};
    cf.cbSize = sizeof(cf);
    cf.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    const DWORD dwDefaultColor = m_pManager != nullptr ? m_pManager->DefaultFontColor() : 0xFF000000;
    cf.crTextColor = UIColorToColorRef(m_dwTextColor != 0 ? m_dwTextColor : dwDefaultColor);
    const CUIWindowDC screen(nullptr);
    const int nDpi = screen.DC() != nullptr ? ::GetDeviceCaps(screen.DC(), LOGPIXELSY) : 96;
    // Twips of the character height (a positive LOGFONT height is a cell height; near enough).
    cf.yHeight = ::MulDiv(std::abs(lf.lfHeight), 1440, nDpi > 0 ? nDpi : 96);
    cf.dwEffects = (lf.lfWeight >= FW_BOLD ? CFE_BOLD : 0) | (lf.lfItalic ? CFE_ITALIC : 0) |
                   (lf.lfUnderline ? CFE_UNDERLINE : 0);
    cf.bCharSet = lf.lfCharSet;
    cf.bPitchAndFamily = lf.lfPitchAndFamily;
    std::wcsncpy(cf.szFaceName, lf.lfFaceName, LF_FACESIZE - 1);
    return cf;
}

// A font or colour set once the services run applies to the whole text (and its formatting).
void CRichEditUI::UpdateCharFormat()
{
    if (m_host == nullptr) {
        return;
    }
    CHARFORMAT2W cf = CharFormat();
    m_host->SetCharFormat(cf);
    SendTextMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    Repaint();
}

void CRichEditUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
    PlaceBars();
    ITextServices* pServices = TextServices();
    if (pServices == nullptr) {
        return;
    }
    const RECT rcText = TextRect();
    if (!m_bInPlaceActive) {
        m_bInPlaceActive = SUCCEEDED(pServices->OnTxInPlaceActivate(&rcText));
    }
    pServices->OnTxPropertyBitsChange(TXTBIT_CLIENTRECTCHANGE, TXTBIT_CLIENTRECTCHANGE);
    m_bScrollStateChanged = true;
    SyncScrollBars();
}

void CRichEditUI::PlaceBars()
{
    const RECT rcInset = InsetRect();
    const bool bVertical = IsBarVisible(m_pVerticalScrollBar);
    const bool bHorizontal = IsBarVisible(m_pHorizontalScrollBar);
    const int cxBar = bVertical ? m_pVerticalScrollBar->DeclaredWidth() : 0;
    const int cyBar = bHorizontal ? m_pHorizontalScrollBar->DeclaredHeight() : 0;
    if (bVertical) {
        m_pVerticalScrollBar->SetPosition(RECT{rcInset.right - cxBar, rcInset.top, rcInset.right, rcInset.bottom - cyBar});
    }
    if (bHorizontal) {
        m_pHorizontalScrollBar->SetPosition(
            RECT{rcInset.left, rcInset.bottom - cyBar, rcInset.right - cxBar, rcInset.bottom});
    }
}

// The services report their scroll state through the host; the bars follow it here, outside the
// services' own calls. A bar that appears or goes changes the text rectangle once more.
void CRichEditUI::SyncScrollBars()
{
    if (!m_bScrollStateChanged || m_bInScrollUpdate || TextServices() == nullptr) {
        return;
    }
    m_bScrollStateChanged = false;
    const bool bVerticalChanged = SyncBar(m_pVerticalScrollBar, true);
    const bool bHorizontalChanged = SyncBar(m_pHorizontalScrollBar, false);
    if (bVerticalChanged || bHorizontalChanged) {
        m_bInScrollUpdate = true;
        SetPosition(m_rcItem);
        m_bInScrollUpdate = false;
        m_bScrollStateChanged = false;
        SyncBar(m_pVerticalScrollBar, true);
        SyncBar(m_pHorizontalScrollBar, false);
    }
    Repaint();
}

bool CRichEditUI::SyncBar(CScrollBarUI* pBar, bool bVertical)
{
    if (pBar == nullptr || !pBar->IsEnabled()) {
        return false;
    }
    LONG nMin = 0;
    LONG nMax = 0;
    LONG nPos = 0;
    LONG nPage = 0;
    WINBOOL bEnabled = FALSE;
    ITextServices* pServices = TextServices();
    const HRESULT hr = bVertical ? pServices->TxGetVScroll(&nMin, &nMax, &nPos, &nPage, &bEnabled)
                                 : pServices->TxGetHScroll(&nMin, &nMax, &nPos, &nPage, &bEnabled);
    if (FAILED(hr)) {
        return false;
    }
    // The furthest the services scroll is nMax - nPage: their maximum counts the last page in.
    const LONG nRange = std::max<LONG>(0, nMax - nMin - std::max<LONG>(0, nPage));
    const bool bShow = nRange > 0;
    pBar->SetScrollRange(static_cast<int>(nRange));
    pBar->SetScrollPos(static_cast<int>(nPos - nMin));
    if (bShow != pBar->IsVisible()) {
        pBar->SetVisible(bShow);
        return true;
    }
    if (bShow) {
        pBar->SetPosition(pBar->Position());
    }
    return false;
}

void CRichEditUI::SetScrollPosition(SIZE szPos)
{
    if (TextServices() == nullptr) {
        CContainerUI::SetScrollPosition(szPos);
        return;
    }
    const SIZE szRange = ScrollRange();
    POINT pt = {std::clamp<LONG>(szPos.cx, 0, szRange.cx), std::clamp<LONG>(szPos.cy, 0, szRange.cy)};
    m_bScrollStateChanged = true;
    SendTextMessage(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&pt));
    Repaint();
}

void CRichEditUI::SetEnabled(bool bEnabled)
{
    CContainerUI::SetEnabled(bEnabled);
    if (!bEnabled && m_pManager != nullptr && m_pManager->FocusControl() == this) {
        m_pManager->SetFocusControl(nullptr);
    }
}

bool CRichEditUI::TakesLineKey(WORD wKeyState) const
{
    const bool bControl = (wKeyState & KeyStateControl) != 0;
    return m_bMultiLine && (bControl ? m_bWantCtrlReturn : m_bWantReturn);
}

bool CRichEditUI::HandleKeyDown(const ControlEvent& event)
{
    const WPARAM vk = event.keyChar;
    if (vk == VK_RETURN) {
        m_bLineKeyTaken = TakesLineKey(event.keyState);
        if (!m_bLineKeyTaken) {
            SendNotification(L"return");
            return true;
        }
    }
    if (vk == VK_TAB && !m_bWantTab) {
        return true;
    }
    SendTextMessage(WM_KEYDOWN, vk, event.lParam);
    return true;
}

void CRichEditUI::ForwardMouse(UINT uMsg, const ControlEvent& event)
{
    const WPARAM wKeys = (event.keyState & (MK_SHIFT | MK_CONTROL)) | (m_bMouseDown ? MK_LBUTTON : 0);
    SendTextMessage(uMsg, wKeys, MAKELPARAM(event.mousePoint.x, event.mousePoint.y));
}

void CRichEditUI::HandleEvent(ControlEvent& event)
{
    ITextServices* pServices = TextServices();
    if (pServices == nullptr || (!m_bMouseEnabled && IsMouseEvent(event.type))) {
        CContainerUI::HandleEvent(event);
        return;
    }
    if (m_look.TrackHot(event.type)) {
        Repaint();
    }
    const RECT rcText = TextRect();
    const bool bInText = ::PtInRect(&rcText, event.mousePoint) != FALSE;
    switch (event.type) {
    case EventSetCursor:
        ::SetCursor(::LoadCursorW(nullptr, bInText && IsEnabled() ? IDC_IBEAM : IDC_ARROW));
        return;
    case EventSetFocus:
        m_bFocused = true;
        pServices->OnTxUIActivate();
        SendTextMessage(WM_SETFOCUS);
        Repaint();
        return;
    case EventKillFocus:
        m_bFocused = false;
        SendTextMessage(WM_KILLFOCUS);
        pServices->OnTxUIDeactivate();
        Repaint();
        return;
    case EventButtonDown:
    case EventDoubleClick:
        if (bInText) {
            m_bMouseDown = true;
            ForwardMouse(event.type == EventButtonDown ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK, event);
        }
        return;
    case EventButtonUp:
        if (m_bMouseDown) {
            m_bMouseDown = false;
            ForwardMouse(WM_LBUTTONUP, event);
        }
        return;
    case EventMouseMove:
        if (bInText || m_bMouseDown) {
            ForwardMouse(WM_MOUSEMOVE, event);
        }
        return;
    case EventKeyDown:
        HandleKeyDown(event);
        return;
    case EventKeyUp:
        SendTextMessage(WM_KEYUP, event.keyChar, event.lParam);
        return;
    case EventChar:
        if ((event.keyChar == L'\r' || event.keyChar == L'\n') && !m_bLineKeyTaken) {
            return;
        }
        if (event.keyChar == L'\t' && !m_bWantTab) {
            return;
        }
        SendTextMessage(WM_CHAR, event.keyChar, event.lParam);
        return;
    case EventTimer:
        SendTextMessage(WM_TIMER, event.wParam, 0);
        return;
    default:
        break;
    }
    CContainerUI::HandleEvent(event);
}

// Tab never reaches a focused control through the message loop: the manager moves the focus with
// it first. A control that wants tabs takes the key here (Ctrl+Tab still moves the focus).
LRESULT CRichEditUI::FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (uMsg != WM_KEYDOWN || wParam != VK_TAB || !m_bWantTab || m_bReadOnly || !IsFocused() || !IsEnabled() ||
        TextServices() == nullptr || ::GetKeyState(VK_CONTROL) < 0) {
        return 0;
    }
    bHandled = true;
    SendTextMessage(WM_KEYDOWN, VK_TAB, lParam);
    SendTextMessage(WM_CHAR, L'\t', lParam);
    return 0;
}

void CRichEditUI::ApplyFlagAttribute(const wchar_t* pstrName, bool bValue)
{
    for (const FlagAttribute& entry : kFlagAttributes) {
        if (std::wcscmp(entry.name, pstrName) == 0) {
            entry.setter(*this, bValue);
            return;
        }
    }
}

void CRichEditUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    auto is = [pstrName](const wchar_t* pstr) { return std::wcscmp(pstrName, pstr) == 0; };
    if (m_look.Apply(pstrName, v)) {
        Repaint();
    } else if (std::any_of(std::begin(kFlagAttributes), std::end(kFlagAttributes),
                           [&](const FlagAttribute& entry) { return is(entry.name); })) {
        ApplyFlagAttribute(pstrName, ParseAttributeBool(v));
    } else if (is(L"vscrollbar") || is(L"hscrollbar")) {
        (is(L"vscrollbar") ? m_bVScrollBar : m_bHScrollBar) = ParseAttributeBool(v);
        EnableScrollBar(m_bVScrollBar, m_bHScrollBar);
        // The bars show only while the services have something to scroll.
        for (CScrollBarUI* pBar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
            if (pBar != nullptr) {
                pBar->SetVisible(false);
            }
        }
        ChangeProperty(TXTBIT_SCROLLBARCHANGE, true);
    } else if (is(L"autovscroll") || is(L"autohscroll")) {
        (is(L"autovscroll") ? m_bAutoVScroll : m_bAutoHScroll) = ParseAttributeBool(v);
        ChangeProperty(TXTBIT_SCROLLBARCHANGE, true);
    } else if (is(L"align")) {
        SetAlignment(ParseAlignment(v));
    } else if (is(L"font")) {
        SetFont(ParseAttributeInt(v));
    } else if (is(L"textcolor")) {
        SetTextColor(ParseAttributeColor(v, true));
    } else if (is(L"maxchar")) {
        SetMaxChar(ParseAttributeInt(v));
    } else if (is(L"textpadding")) {
        SetTextPadding(ParseAttributeRect(v));
    } else {
        CContainerUI::ApplyAttribute(pstrName, pstrValue);
    }
}

void CRichEditUI::PaintStateImages(HDC hDC)
{
    m_look.PaintImages(hDC, m_pManager, m_rcItem, m_rcPaint, IsEnabled(), m_bFocused);
}

void CRichEditUI::PaintTextContent(HDC hDC)
{
    ITextServices* pServices = TextServices();
    RECT rcText = TextRect();
    const bool bEmpty = pServices != nullptr ? SendTextMessage(WM_GETTEXTLENGTH) == 0 : m_strText.IsEmpty();
    if (bEmpty && !m_bFocused) {
        m_look.PaintTip(hDC, m_pManager, rcText, m_iFont, m_wAlignment == PFA_CENTER   ? DT_CENTER
                                                          : m_wAlignment == PFA_RIGHT ? DT_RIGHT
                                                                                      : DT_LEFT);
        return;
    }
    RECT rcUpdate;
    if (pServices == nullptr || !::IntersectRect(&rcUpdate, &rcText, &m_rcPaint)) {
        return;
    }
    UIClip clip;
    clip.ClipToRect(hDC, rcUpdate);
    pServices->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, hDC, nullptr, reinterpret_cast<LPCRECTL>(&rcText),
                      nullptr, &rcUpdate, nullptr, 0, TXTVIEW_ACTIVE);
}

} // namespace Tarvo
