#include "controls/Control.h"
#include "core/GdiResources.h"
#include "core/SkinRender.h"
#include "core/UIClip.h"

namespace Tarvo {

namespace {

COLORREF ToGdiColor(DWORD dwColor)
{
    return RGB((dwColor >> 16) & 0xFF, (dwColor >> 8) & 0xFF, dwColor & 0xFF);
}

enum class Outline { Rectangle, RoundRect };

void DrawOutline(HDC hDC, const RECT& rc, int nWidth, DWORD dwColor, Outline shape, SIZE szRound)
{
    CUIGdiHandle<HPEN> pen(::CreatePen(PS_INSIDEFRAME, nWidth, ToGdiColor(dwColor)));
    if (!pen) {
        return;
    }
    CUISelectObject selectPen(hDC, pen.Get());
    CUISelectObject selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
    if (shape == Outline::RoundRect) {
        ::RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, szRound.cx, szRound.cy);
    } else {
        ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
    }
}

} // namespace

void CControlUI::Paint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) {
        return;
    }
    UIClip roundClip;
    if (m_szBorderRound.cx > 0 || m_szBorderRound.cy > 0) {
        roundClip.ClipToRoundRect(hDC, m_rcItem, m_rcPaint, m_szBorderRound.cx, m_szBorderRound.cy);
    }
    PaintBackgroundColor(hDC);
    PaintBackgroundImage(hDC);
    PaintStateImages(hDC);
    PaintTextContent(hDC);
    PaintBorderLines(hDC);
}

void CControlUI::PaintBackgroundColor(HDC hDC)
{
    if (m_dwBackColor == 0) {
        return;
    }
    if (m_dwBackColor2 == 0) {
        const bool bOpaque = m_dwBackColor >= 0xFF000000;
        CSkinRender::FillColor(hDC, bOpaque ? m_rcPaint : m_rcItem, m_dwBackColor);
        return;
    }
    if (m_dwBackColor3 != 0) {
        const LONG nMid = (m_rcItem.top + m_rcItem.bottom) / 2;
        CSkinRender::FillGradient(hDC, RECT{m_rcItem.left, m_rcItem.top, m_rcItem.right, nMid}, m_dwBackColor,
                                  m_dwBackColor2, true, 8);
        CSkinRender::FillGradient(hDC, RECT{m_rcItem.left, nMid, m_rcItem.right, m_rcItem.bottom}, m_dwBackColor2,
                                  m_dwBackColor3, true, 8);
        return;
    }
    CSkinRender::FillGradient(hDC, m_rcItem, m_dwBackColor, m_dwBackColor2, true, 16);
}

void CControlUI::PaintBackgroundImage(HDC hDC)
{
    if (m_strBkImage.IsEmpty()) {
        return;
    }
    if (!CSkinRender::PaintImageSpec(hDC, m_pManager, m_rcItem, m_rcPaint, m_strBkImage)) {
        m_strBkImage.Empty();
    }
}

void CControlUI::PaintBorderLines(HDC hDC)
{
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) {
        return;
    }
    const bool bFocusColor = m_bFocused && m_dwFocusBorderColor != 0;
    if (m_nBorderSize > 0 && (m_szBorderRound.cx > 0 || m_szBorderRound.cy > 0)) {
        DrawOutline(hDC, m_rcItem, m_nBorderSize, bFocusColor ? m_dwFocusBorderColor : m_dwBorderColor,
                    Outline::RoundRect, m_szBorderRound);
        return;
    }
    if (bFocusColor && m_nBorderSize > 0) {
        DrawOutline(hDC, m_rcItem, m_nBorderSize, m_dwFocusBorderColor, Outline::Rectangle, m_szBorderRound);
        return;
    }
    const RECT& rc = m_rcItem;
    const struct {
        LONG width;
        RECT line;
    } sides[] = {
        {m_rcSideBorderSize.left, RECT{rc.left, rc.top, rc.left, rc.bottom}},
        {m_rcSideBorderSize.top, RECT{rc.left, rc.top, rc.right, rc.top}},
        {m_rcSideBorderSize.right, RECT{rc.right, rc.top, rc.right, rc.bottom}},
        {m_rcSideBorderSize.bottom, RECT{rc.left, rc.bottom, rc.right, rc.bottom}},
    };
    bool bAnySide = false;
    for (const auto& side : sides) {
        if (side.width > 0) {
            CSkinRender::StrokeLine(hDC, side.line, side.width, m_dwBorderColor, m_nBorderStyle);
            bAnySide = true;
        }
    }
    if (!bAnySide && m_nBorderSize > 0) {
        DrawOutline(hDC, m_rcItem, m_nBorderSize, m_dwBorderColor, Outline::Rectangle, m_szBorderRound);
    }
}

} // namespace Tarvo
