#include "controls/Text.h"

#include "core/WindowManager.h"

#include "controls/TextLinks.h"

#include <cwchar>

namespace Tarvo {

namespace {

constexpr int kUnboundedExtent = 9999;

} // namespace

CTextUI::CTextUI() = default;

CTextUI::~CTextUI() = default;

const wchar_t* CTextUI::TypeName() const
{
    return L"TextUI";
}

void* CTextUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Text") == 0) {
        return this;
    }
    return CLabelUI::LookupInterface(pstrName);
}

UINT CTextUI::InputFlags()
{
    return IsEnabled() && m_nLinks > 0 ? static_cast<UINT>(InputSetCursor) : 0U;
}

RECT CTextUI::LinkRect(int nIndex) const
{
    return LinkEntry(m_rcLinks, m_nLinks, nIndex);
}

CUIString CTextUI::LinkText(int nIndex) const
{
    return LinkEntry(m_sLinks, m_nLinks, nIndex);
}

int CTextUI::LinkAt(POINT pt) const
{
    return LinkIndexAt(m_rcLinks, m_nLinks, pt);
}

void CTextUI::SetHoverLink(int nLink)
{
    if (m_nHoverLink != nLink) {
        m_nHoverLink = nLink;
        Repaint();
    }
}

// True when the event is done with.
bool CTextUI::HandleLinkEvent(ControlEvent& event)
{
    const int nLink = LinkAt(event.mousePoint);
    switch (event.type) {
    case EventSetCursor:
        if (nLink < 0) {
            return false;
        }
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return true;
    case EventButtonDown:
    case EventDoubleClick:
        if (nLink < 0 || !IsEnabled()) {
            return false;
        }
        Repaint();
        return true;
    case EventButtonUp:
        if (nLink < 0 || !IsEnabled()) {
            return false;
        }
        SendNotification(L"link", static_cast<WPARAM>(nLink));
        return true;
    case EventMouseMove:
        SetHoverLink(nLink);
        return m_nLinks > 0;
    case EventMouseLeave:
        SetHoverLink(-1);
        return false;
    default:
        return false;
    }
}

void CTextUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr) {
            m_pParent->HandleEvent(event);
        } else {
            CControlUI::HandleEvent(event);
        }
        return;
    }
    if (HandleLinkEvent(event)) {
        return;
    }
    switch (event.type) {
    case EventContextMenu:
        return;
    case EventSetFocus:
    case EventKillFocus:
        m_bFocused = event.type == EventSetFocus;
        return;
    default:
        CControlUI::HandleEvent(event);
        return;
    }
}

SIZE CTextUI::MeasureSize(SIZE)
{
    const int nRight = (m_bAutoCalcWidth ? kUnboundedExtent : m_szDeclared.cx) - m_rcTextPadding.right;
    const RECT rc = {m_rcTextPadding.left, 0, nRight, kUnboundedExtent};
    const int nWidth = MeasureTextWidth(rc, m_uTextStyle, m_bShowHtml);
    if (m_bAutoCalcWidth) {
        StoreMeasuredWidth(nWidth);
    }
    return m_szDeclared;
}

void CTextUI::PaintTextContent(HDC hDC)
{
    FillDefaultColors();
    if (m_bEffectMode || m_strText.IsEmpty()) {
        m_nLinks = 0;
        return;
    }
    const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    m_nLinks = MaxLinks;
    PaintLabelText(hDC, TextRect(), dwColor, m_uTextStyle, m_rcLinks, m_sLinks, &m_nLinks);
    if (m_nLinks < 0 || m_nLinks > MaxLinks) {
        m_nLinks = 0;
    }
    if (m_nHoverLink >= m_nLinks) {
        m_nHoverLink = -1;
    }
}

} // namespace Tarvo
