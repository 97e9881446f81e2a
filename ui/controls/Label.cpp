#include "controls/Label.h"

#include "controls/AttributeValue.h"
#include "core/GdiResources.h"
#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include <cwchar>

namespace Tarvo {

namespace {

using LabelSetter = void (*)(CLabelUI& label, const wchar_t* pstrValue);

struct LabelAttribute {
    const wchar_t* name;
    LabelSetter setter;
};

bool Contains(const wchar_t* pstrValue, const wchar_t* pstrWord)
{
    return std::wcsstr(pstrValue, pstrWord) != nullptr;
}

UINT AlignedStyle(UINT uStyle, const wchar_t* v)
{
    if (Contains(v, L"left")) {
        uStyle &= ~(DT_CENTER | DT_RIGHT | DT_SINGLELINE);
    }
    if (Contains(v, L"center")) {
        uStyle = (uStyle & ~DT_RIGHT) | DT_CENTER;
    }
    if (Contains(v, L"right")) {
        uStyle = (uStyle & ~(DT_CENTER | DT_SINGLELINE)) | DT_RIGHT;
    }
    return uStyle;
}

UINT VerticallyAlignedStyle(UINT uStyle, const wchar_t* v)
{
    if (Contains(v, L"top")) {
        uStyle = (uStyle & ~(DT_VCENTER | DT_BOTTOM)) | DT_SINGLELINE;
    }
    if (Contains(v, L"vcenter")) {
        uStyle = (uStyle & ~DT_BOTTOM) | DT_VCENTER | DT_SINGLELINE;
    }
    if (Contains(v, L"bottom")) {
        uStyle = (uStyle & ~DT_VCENTER) | DT_BOTTOM | DT_SINGLELINE;
    }
    return uStyle;
}

const LabelAttribute kLabelAttributes[] = {
    {L"align", [](CLabelUI& l, const wchar_t* v) { l.SetTextStyle(AlignedStyle(l.TextStyle(), v)); }},
    {L"valign", [](CLabelUI& l, const wchar_t* v) { l.SetTextStyle(VerticallyAlignedStyle(l.TextStyle(), v)); }},
    {L"endellipsis",
     [](CLabelUI& l, const wchar_t* v) {
         const UINT uStyle = l.TextStyle() & ~static_cast<UINT>(DT_END_ELLIPSIS);
         l.SetTextStyle(ParseAttributeBool(v) ? uStyle | DT_END_ELLIPSIS : uStyle);
     }},
    {L"font", [](CLabelUI& l, const wchar_t* v) { l.SetFont(ParseAttributeInt(v)); }},
    {L"textcolor", [](CLabelUI& l, const wchar_t* v) { l.SetTextColor(ParseAttributeColor(v, true)); }},
    {L"disabledtextcolor", [](CLabelUI& l, const wchar_t* v) { l.SetDisabledTextColor(ParseAttributeColor(v, true)); }},
    {L"textpadding", [](CLabelUI& l, const wchar_t* v) { l.SetTextPadding(ParseAttributeRect(v)); }},
    {L"showhtml", [](CLabelUI& l, const wchar_t* v) { l.SetShowHtml(ParseAttributeBool(v)); }},
    {L"autocalcwidth", [](CLabelUI& l, const wchar_t* v) { l.SetAutoCalcWidth(ParseAttributeBool(v)); }},
};

} // namespace

CLabelUI::CLabelUI() = default;

CLabelUI::~CLabelUI() = default;

const wchar_t* CLabelUI::TypeName() const
{
    return L"LabelUI";
}

void* CLabelUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Label") == 0) {
        return this;
    }
    return CControlUI::LookupInterface(pstrName);
}

CUIString CLabelUI::Text() const
{
    return m_bEffectMode ? m_strEffectText : m_strText;
}

void CLabelUI::SetText(const wchar_t* pstrText)
{
    if (m_bEffectMode) {
        m_strEffectText = pstrText;
        return;
    }
    CControlUI::SetText(pstrText);
}

void CLabelUI::HandleEvent(ControlEvent& event)
{
    if (event.type == EventSetFocus || event.type == EventKillFocus) {
        m_bFocused = event.type == EventSetFocus;
        return;
    }
    CControlUI::HandleEvent(event);
}

void CLabelUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    if (std::wcscmp(pstrName, L"enabledeffect") == 0) {
        m_bEffectMode = ParseAttributeBool(v);
        return;
    }
    for (const LabelAttribute& entry : kLabelAttributes) {
        if (std::wcscmp(entry.name, pstrName) == 0) {
            entry.setter(*this, v);
            return;
        }
    }
    CControlUI::ApplyAttribute(pstrName, pstrValue);
}

bool CLabelUI::IsAutoCalcWidth() const
{
    return m_bAutoCalcWidth;
}

void CLabelUI::SetAutoCalcWidth(bool bAutoCalc)
{
    m_bAutoCalcWidth = bAutoCalc;
}

void CLabelUI::SetTextColor(DWORD dwColor)
{
    m_dwTextColor = dwColor;
    Repaint();
}

void CLabelUI::SetDisabledTextColor(DWORD dwColor)
{
    m_dwDisabledTextColor = dwColor;
    Repaint();
}

void CLabelUI::SetFont(int iFont)
{
    m_iFont = iFont;
    Repaint();
}

void CLabelUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Repaint();
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Repaint();
}

void CLabelUI::SetShowHtml(bool bShowHtml)
{
    if (m_bShowHtml != bShowHtml) {
        m_bShowHtml = bShowHtml;
        Repaint();
    }
}

int CLabelUI::FontHeight() const
{
    if (m_pManager == nullptr) {
        return 0;
    }
    const UIFontInfo* pFont = m_pManager->FontInfoAt(m_iFont);
    return pFont != nullptr ? pFont->metrics.tmHeight : 0;
}

int CLabelUI::MeasureTextWidth(RECT rc, UINT uStyle, bool bMarkup)
{
    if (m_pManager == nullptr) {
        return 0;
    }
    // Measuring needs no window: a memory DC stands in before the manager has one.
    CUIMemoryDC memoryDC;
    HDC hDC = m_pManager->PaintDC();
    if (hDC == nullptr) {
        memoryDC.Reset(::CreateCompatibleDC(nullptr));
        hDC = memoryDC.Get();
    }
    const CUIString strText = m_strText;
    if (bMarkup) {
        int nLinks = 0;
        CSkinRender::PaintHtmlText(hDC, m_pManager, rc, strText, 0, nullptr, nullptr, nLinks, uStyle | DT_CALCRECT);
    } else {
        CSkinRender::PaintText(hDC, m_pManager, rc, strText, 0, m_iFont, uStyle | DT_CALCRECT);
    }
    return rc.right - rc.left;
}

void CLabelUI::RecalculateWidth()
{
    const int nWidth = MeasureTextWidth(RECT{0, 0, 0, 0}, m_uTextStyle, false);
    StoreMeasuredWidth(nWidth);
}

void CLabelUI::StoreMeasuredWidth(int nTextWidth)
{
    const int cx = nTextWidth + m_rcTextPadding.left + m_rcTextPadding.right;
    // Only the parent's layout measures, and it places this control with the new width in the
    // same pass: asking it for another layout would only repeat the pass.
    if (cx >= 0) {
        m_szDeclared.cx = cx;
    }
}

SIZE CLabelUI::MeasureSize(SIZE)
{
    if (m_bAutoCalcWidth) {
        RecalculateWidth();
    }
    if (m_szDeclared.cy != 0) {
        return m_szDeclared;
    }
    return SIZE{m_szDeclared.cx, FontHeight() + 4};
}

void CLabelUI::FillDefaultColors()
{
    if (m_pManager == nullptr) {
        return;
    }
    if (m_dwTextColor == 0) {
        m_dwTextColor = m_pManager->DefaultFontColor();
    }
    if (m_dwDisabledTextColor == 0) {
        m_dwDisabledTextColor = m_pManager->DefaultDisabledColor();
    }
}

RECT CLabelUI::TextRect() const
{
    return RECT{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
}

void CLabelUI::PaintLabelText(HDC hDC, RECT rc, DWORD dwColor, UINT uStyle, RECT* prcLinks, CUIString* pLinkTexts,
                              int* pnLinks)
{
    if (m_bShowHtml) {
        int nLinks = pnLinks != nullptr ? *pnLinks : 0;
        CSkinRender::PaintHtmlText(hDC, m_pManager, rc, m_strText, dwColor, prcLinks, pLinkTexts, nLinks, uStyle);
        if (pnLinks != nullptr) {
            *pnLinks = nLinks;
        }
        return;
    }
    if (pnLinks != nullptr) {
        *pnLinks = 0;
    }
    CSkinRender::PaintText(hDC, m_pManager, rc, m_strText, dwColor, m_iFont, uStyle);
}

void CLabelUI::PaintTextContent(HDC hDC)
{
    FillDefaultColors();
    if (m_bEffectMode || m_strText.IsEmpty()) {
        return;
    }
    const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    PaintLabelText(hDC, TextRect(), dwColor, m_uTextStyle | DT_SINGLELINE);
}

} // namespace Tarvo
