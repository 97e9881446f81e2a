#include "controls/ComboBox.h"

#include "core/GdiResources.h"
#include "core/SkinRender.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

const wchar_t* CComboBoxUI::TypeName() const
{
    return L"ComboBoxUI";
}

void* CComboBoxUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ComboBox") == 0) {
        return this;
    }
    return CComboUI::LookupInterface(pstrName);
}

void CComboBoxUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"arrowimage") == 0) {
        m_strArrowImage = pstrValue != nullptr ? pstrValue : L"";
        Repaint();
        return;
    }
    CComboUI::ApplyAttribute(pstrName, pstrValue);
}

RECT CComboBoxUI::ArrowRect() const
{
    const int nSide = std::min(Height(), Width());
    return RECT{m_rcItem.right - nSide, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
}

void CComboBoxUI::PaintArrowTriangle(HDC hDC, const RECT& rc) const
{
    const int cx = (rc.left + rc.right) / 2;
    const int cy = (rc.top + rc.bottom) / 2;
    const int r = std::max<int>(2, (rc.right - rc.left) / 6);
    const POINT points[] = {{cx - r, cy - r / 2}, {cx + r + 1, cy - r / 2}, {cx, cy + r / 2 + 1}};
    const COLORREF color = IsEnabled() ? RGB(0x40, 0x40, 0x40) : RGB(0xA0, 0xA0, 0xA0);
    CUIGdiHandle<HBRUSH> brush(::CreateSolidBrush(color));
    CUIGdiHandle<HPEN> pen(::CreatePen(PS_SOLID, 1, color));
    if (!brush || !pen) {
        return;
    }
    CUISelectObject selectBrush(hDC, brush.Get());
    CUISelectObject selectPen(hDC, pen.Get());
    ::Polygon(hDC, points, 3);
}

void CComboBoxUI::PaintStateImages(HDC hDC)
{
    CComboUI::PaintStateImages(hDC);
    const RECT rcArrow = ArrowRect();
    if (m_strArrowImage.IsEmpty()) {
        PaintArrowTriangle(hDC, rcArrow);
    } else if (m_pManager != nullptr) {
        CSkinRender::PaintImageSpec(hDC, m_pManager, rcArrow, m_rcPaint, m_strArrowImage);
    }
}

// The text keeps clear of the arrow.
void CComboBoxUI::PaintTextContent(HDC hDC)
{
    const RECT rcPadding = m_rcTextPadding;
    m_rcTextPadding.right += ArrowRect().right - ArrowRect().left;
    CComboUI::PaintTextContent(hDC);
    m_rcTextPadding = rcPadding;
}

} // namespace Tarvo
