#include "core/SkinRender.h"

#include "core/GdiResources.h"
#include "core/GdiplusPtr.h"
#include "core/WindowManager.h"

namespace Tarvo {

namespace {

namespace Flat = Gdiplus::DllExports;

using GraphicsPtr = CUIGdiplusGraphics;
using FontPtr = CUIGdiplusFont;
using BrushPtr = CUIGdiplusBrush;
using FormatPtr = CUIGdiplusStringFormat;

HFONT FontFor(HDC hDC, CWindowManagerUI* pManager, int iFont)
{
    const UIFontInfo* pInfo = pManager->FontInfoAt(iFont);
    if (pInfo != nullptr && pInfo->hFont != nullptr) {
        return pInfo->hFont;
    }
    return static_cast<HFONT>(::GetCurrentObject(hDC, OBJ_FONT));
}

FormatPtr MakeFormat(UINT uStyle)
{
    Gdiplus::GpStringFormat* pGeneric = nullptr;
    Gdiplus::GpStringFormat* pFormat = nullptr;
    if (Flat::GdipStringFormatGetGenericTypographic(&pGeneric) != Gdiplus::Ok ||
        Flat::GdipCloneStringFormat(pGeneric, &pFormat) != Gdiplus::Ok) {
        return nullptr;
    }
    FormatPtr format(pFormat);
    if ((uStyle & DT_END_ELLIPSIS) != 0) {
        Flat::GdipSetStringFormatTrimming(pFormat, Gdiplus::StringTrimmingEllipsisCharacter);
    }
    INT flags = 0;
    Flat::GdipGetStringFormatFlags(pFormat, &flags);
    if ((uStyle & DT_NOCLIP) != 0) {
        flags |= Gdiplus::StringFormatFlagsNoClip;
    }
    if ((uStyle & DT_SINGLELINE) != 0) {
        flags |= Gdiplus::StringFormatFlagsNoWrap;
    }
    Flat::GdipSetStringFormatFlags(pFormat, flags);
    const auto align = [](bool bCenter, bool bFar) {
        return bCenter ? Gdiplus::StringAlignmentCenter
                       : (bFar ? Gdiplus::StringAlignmentFar : Gdiplus::StringAlignmentNear);
    };
    Flat::GdipSetStringFormatAlign(pFormat, align((uStyle & DT_CENTER) != 0, (uStyle & DT_RIGHT) != 0));
    Flat::GdipSetStringFormatLineAlign(pFormat, align((uStyle & DT_VCENTER) != 0, (uStyle & DT_BOTTOM) != 0));
    return format;
}

void PaintTextGdiplus(HDC hDC, HFONT hFont, RECT& rc, const wchar_t* pstrText, UIColor dwTextColor, UINT uStyle)
{
    Gdiplus::GpGraphics* pGraphics = nullptr;
    if (Flat::GdipCreateFromHDC(hDC, &pGraphics) != Gdiplus::Ok) {
        return;
    }
    const GraphicsPtr graphics(pGraphics);
    Flat::GdipSetTextRenderingHint(pGraphics, Gdiplus::TextRenderingHintAntiAlias);
    LOGFONTW lf = {};
    Gdiplus::GpFont* pFont = nullptr;
    if (::GetObjectW(hFont, sizeof(lf), &lf) == 0 ||
        Flat::GdipCreateFontFromLogfontW(hDC, &lf, &pFont) != Gdiplus::Ok) {
        return;
    }
    const FontPtr font(pFont);
    const FormatPtr format = MakeFormat(uStyle);
    Gdiplus::GpSolidFill* pBrush = nullptr;
    if (!format || Flat::GdipCreateSolidFill(0xFE000000 | (dwTextColor & 0xFFFFFF), &pBrush) != Gdiplus::Ok) {
        return;
    }
    const BrushPtr brush(pBrush);
    Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                          static_cast<Gdiplus::REAL>(rc.right - rc.left),
                          static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
    if ((uStyle & DT_CALCRECT) != 0) {
        Gdiplus::RectF bounds;
        Flat::GdipMeasureString(pGraphics, pstrText, -1, pFont, &layout, format.get(), &bounds, nullptr, nullptr);
        rc.right = rc.left + static_cast<LONG>(bounds.Width) + 1;
        rc.bottom = rc.top + static_cast<LONG>(bounds.Height) + 1;
        return;
    }
    Flat::GdipDrawString(pGraphics, pstrText, -1, pFont, &layout, format.get(), pBrush);
}

void PaintTextGdi(HDC hDC, HFONT hFont, RECT& rc, const wchar_t* pstrText, UIColor dwTextColor, UINT uStyle)
{
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(hDC, UIColorToColorRef(dwTextColor));
    {
        CUISelectObject select(hDC, hFont);
        ::DrawTextW(hDC, pstrText, -1, &rc, uStyle | DT_NOPREFIX);
    }
    ::SetTextColor(hDC, oldColor);
    ::SetBkMode(hDC, nOldMode);
}

} // namespace

void CSkinRender::PaintText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, const wchar_t* pstrText, UIColor dwTextColor,
                            int iFont, UINT uStyle)
{
    if (hDC == nullptr || pManager == nullptr || pstrText == nullptr || *pstrText == L'\0') {
        return;
    }
    const HFONT hFont = FontFor(hDC, pManager, iFont);
    if (pManager->IsLayered() || pManager->UsesGdiplusText()) {
        PaintTextGdiplus(hDC, hFont, rc, pstrText, dwTextColor, uStyle);
    } else {
        PaintTextGdi(hDC, hFont, rc, pstrText, dwTextColor, uStyle);
    }
}

} // namespace Tarvo
