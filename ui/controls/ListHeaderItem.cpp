#include "controls/ListHeaderItem.h"

#include "controls/AttributeValue.h"
#include "controls/ListItemLook.h"
#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

struct CListHeaderItemUI::Field {
    const wchar_t* name;
    void (*apply)(CListHeaderItemUI& item, const wchar_t* pstrValue);
};

const CListHeaderItemUI::Field CListHeaderItemUI::kFields[] = {
    {L"dragable", [](CListHeaderItemUI& i, const wchar_t* v) { i.m_bDragable = ParseAttributeBool(v); }},
    {L"sepwidth", [](CListHeaderItemUI& i, const wchar_t* v) { i.SetSeparatorWidth(ParseAttributeInt(v)); }},
    {L"align", [](CListHeaderItemUI& i, const wchar_t* v) { i.m_uTextStyle = ApplyAlignment(i.m_uTextStyle, v); }},
    {L"endellipsis",
     [](CListHeaderItemUI& i, const wchar_t* v) {
         i.m_uTextStyle = ParseAttributeBool(v) ? i.m_uTextStyle | DT_END_ELLIPSIS : i.m_uTextStyle & ~DT_END_ELLIPSIS;
     }},
    {L"font", [](CListHeaderItemUI& i, const wchar_t* v) { i.m_iFont = ParseAttributeInt(v); }},
    {L"textcolor", [](CListHeaderItemUI& i, const wchar_t* v) { i.m_dwTextColor = ParseAttributeColor(v, true); }},
    {L"textpadding", [](CListHeaderItemUI& i, const wchar_t* v) { i.m_rcTextPadding = ParseAttributeRect(v); }},
    {L"showhtml", [](CListHeaderItemUI& i, const wchar_t* v) { i.m_bShowHtml = ParseAttributeBool(v); }},
    {L"sepimage", [](CListHeaderItemUI& i, const wchar_t* v) { i.m_strSepImage = v; }},
    {L"scale", [](CListHeaderItemUI& i, const wchar_t* v) { i.m_nScale = std::clamp(ParseAttributeInt(v), 0, 100); }},
};

CListHeaderItemUI::CListHeaderItemUI() = default;

const wchar_t* CListHeaderItemUI::TypeName() const
{
    return L"ListHeaderItemUI";
}

void* CListHeaderItemUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListHeaderItem") == 0) {
        return this;
    }
    return CContainerUI::LookupInterface(pstrName);
}

UINT CListHeaderItemUI::InputFlags()
{
    return IsEnabled() && m_bDragable && m_nSepWidth > 0 ? static_cast<UINT>(InputSetCursor) : 0U;
}

RECT CListHeaderItemUI::SeparatorRect() const
{
    if (!m_bDragable || m_nSepWidth <= 0) {
        return RECT{0, 0, 0, 0};
    }
    return RECT{std::max(m_rcItem.right - m_nSepWidth, m_rcItem.left), m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
}

void CListHeaderItemUI::SetPressed(bool bPressed)
{
    if (m_bPressed != bPressed) {
        m_bPressed = bPressed;
        Repaint();
    }
}

void CListHeaderItemUI::SetHot(bool bHot)
{
    if (m_bHot != bHot) {
        m_bHot = bHot;
        Repaint();
    }
}

// The width follows the pointer from where the press was; it never gets narrower than the
// separator itself or the column's minimum.
bool CListHeaderItemUI::HandleDrag(ControlEvent& event)
{
    const RECT rcSep = SeparatorRect();
    switch (event.type) {
    case EventSetCursor:
        ::SetCursor(::LoadCursorW(nullptr, ::PtInRect(&rcSep, event.mousePoint) || m_bDragging ? IDC_SIZEWE : IDC_ARROW));
        return true;
    case EventButtonDown:
        if (!IsEnabled() || !::PtInRect(&rcSep, event.mousePoint)) {
            return false;
        }
        m_bDragging = true;
        m_nDragStartX = event.mousePoint.x;
        m_nDragStartWidth = Width();
        return true;
    case EventMouseMove:
        if (!m_bDragging) {
            return false;
        }
        SetDeclaredWidth(std::max({m_nDragStartWidth + static_cast<int>(event.mousePoint.x) - m_nDragStartX, m_nSepWidth, MinWidth()}));
        return true;
    case EventButtonUp:
        if (!m_bDragging) {
            return false;
        }
        m_bDragging = false;
        return true;
    default:
        return false;
    }
}

bool CListHeaderItemUI::HandlePress(ControlEvent& event)
{
    const bool bInside = ::PtInRect(&m_rcItem, event.mousePoint) != FALSE;
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        SetPressed(IsEnabled() && bInside);
        return true;
    case EventButtonUp:
        if (m_bPressed) {
            SetPressed(false);
            if (bInside) {
                SendNotification(L"headerclick");
            }
        }
        return true;
    case EventMouseEnter:
        SetHot(IsEnabled());
        return true;
    case EventMouseLeave:
        SetHot(false);
        return true;
    default:
        return false;
    }
}

void CListHeaderItemUI::HandleEvent(ControlEvent& event)
{
    if (HandleDrag(event) || HandlePress(event)) {
        return;
    }
    CContainerUI::HandleEvent(event);
}

void CListHeaderItemUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    if (pstrName != nullptr && std::wcscmp(pstrName, L"disabledimage") != 0 && m_images.Apply(pstrName, pstrValue)) {
        Repaint();
        return;
    }
    for (const Field& field : kFields) {
        if (std::wcscmp(field.name, pstrName) == 0) {
            field.apply(*this, pstrValue != nullptr ? pstrValue : L"");
            Repaint();
            return;
        }
    }
    CContainerUI::ApplyAttribute(pstrName, pstrValue);
}

SIZE CListHeaderItemUI::MeasureSize(SIZE szAvailable)
{
    return CControlUI::MeasureSize(szAvailable);
}

void CListHeaderItemUI::PaintStateImages(HDC hDC)
{
    if (m_pManager == nullptr) {
        return;
    }
    m_images.Paint(hDC, m_pManager, m_rcItem, m_rcPaint, IsEnabled(), m_bPressed, m_bHot, m_bFocused);
    if (!m_strSepImage.IsEmpty()) {
        const RECT rcSep = {m_rcItem.right - std::max(m_nSepWidth, 1), m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
        CSkinRender::PaintImageSpec(hDC, m_pManager, rcSep, m_rcPaint, m_strSepImage);
    }
}

void CListHeaderItemUI::PaintTextContent(HDC hDC)
{
    if (m_strText.IsEmpty() || m_pManager == nullptr) {
        return;
    }
    const DWORD dwColor = m_dwTextColor != 0 ? m_dwTextColor : m_pManager->DefaultFontColor();
    const RECT rc = {m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                     m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
    PaintListText(hDC, m_pManager, rc, m_strText, dwColor, m_iFont, m_uTextStyle | DT_SINGLELINE, m_bShowHtml);
}

} // namespace Tarvo
