#include "core/SkinRender.h"

#include "core/DibSection.h"
#include "core/GdiResources.h"
#include "core/GdiplusPtr.h"
#include "core/MsImg.h"
#include "core/SoftwareBlend.h"

namespace Tarvo {

namespace {

namespace Flat = Gdiplus::DllExports;

TRIVERTEX Vertex(LONG x, LONG y, DWORD dwColor)
{
    TRIVERTEX vertex = {};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(((dwColor >> 16) & 0xFF) << 8);
    vertex.Green = static_cast<COLOR16>(((dwColor >> 8) & 0xFF) << 8);
    vertex.Blue = static_cast<COLOR16>((dwColor & 0xFF) << 8);
    vertex.Alpha = 0xFF00;
    return vertex;
}

BYTE Channel(DWORD dwColor, int shift)
{
    return static_cast<BYTE>((dwColor >> shift) & 0xFF);
}

// The colour a fraction t of the way from dwFrom to dwTo.
COLORREF Interpolate(DWORD dwFrom, DWORD dwTo, int step, int steps)
{
    auto mix = [&](int shift) {
        const int from = Channel(dwFrom, shift);
        const int to = Channel(dwTo, shift);
        return static_cast<BYTE>(from + (to - from) * step / steps);
    };
    return RGB(mix(16), mix(8), mix(0));
}

void FillSolid(HDC hDC, const RECT& rc, COLORREF color)
{
    const COLORREF oldColor = ::SetBkColor(hDC, color);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(hDC, oldColor);
}

// Bands from the bottom (dwSecond) upwards to the top (dwFirst).
void FillBands(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, int nSteps)
{
    const int bands = nSteps < 16 ? 8 : 16;
    const LONG height = rc.bottom - rc.top;
    for (int band = 0; band < bands; ++band) {
        const RECT rcBand = {rc.left, rc.bottom - height * (band + 1) / bands, rc.right,
                             rc.bottom - height * band / bands};
        FillSolid(hDC, rcBand, Interpolate(dwSecond, dwFirst, band, bands - 1));
    }
}

void DrawOpaqueGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, int nSteps)
{
    if (CMsImgUI::GradientFillProc pGradientFill = CMsImgUI::GradientFill()) {
        TRIVERTEX vertices[2] = {Vertex(rc.left, rc.top, dwFirst), Vertex(rc.right, rc.bottom, dwSecond)};
        GRADIENT_RECT gradient = {0, 1};
        pGradientFill(hDC, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_V);
    } else {
        FillBands(hDC, rc, dwFirst, dwSecond, nSteps);
    }
}

// Constant-alpha blend of a whole opaque buffer onto the target.
void BlendConstant(HDC hDC, const RECT& rc, const CDibSectionUI& buffer, BYTE alpha)
{
    const RECT rcBuffer = {0, 0, buffer.Width(), buffer.Height()};
    if (CMsImgUI::AlphaBlendProc pAlphaBlend = CMsImgUI::AlphaBlend()) {
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, 0};
        pAlphaBlend(hDC, rc.left, rc.top, buffer.Width(), buffer.Height(), buffer.DC(), 0, 0, buffer.Width(),
                    buffer.Height(), blend);
    } else {
        SoftwareAlphaBlend(hDC, rc, buffer.DC(), rcBuffer, alpha, false);
    }
}

} // namespace

void CSkinRender::FillColor(HDC hDC, const RECT& rc, UIColor dwColor)
{
    if (hDC == nullptr || (dwColor >> 24) == 0) {
        return;
    }
    Gdiplus::GpGraphics* pGraphics = nullptr;
    if (Flat::GdipCreateFromHDC(hDC, &pGraphics) != Gdiplus::Ok) {
        return;
    }
    const CUIGdiplusGraphics graphics(pGraphics);
    Gdiplus::GpSolidFill* pBrush = nullptr;
    if (Flat::GdipCreateSolidFill(dwColor, &pBrush) != Gdiplus::Ok) {
        return;
    }
    const CUIGdiplusBrush brush(pBrush);
    Flat::GdipFillRectangleI(graphics.get(), brush.get(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

void CSkinRender::FillGradient(HDC hDC, const RECT& rc, UIColor dwFirst, UIColor dwSecond, bool /*bVertical*/,
                               int nSteps)
{
    const BYTE alpha = static_cast<BYTE>((Channel(dwFirst, 24) + Channel(dwSecond, 24)) / 2);
    if (hDC == nullptr || alpha == 0 || rc.right <= rc.left || rc.bottom <= rc.top) {
        return;
    }
    if (alpha == 255) {
        DrawOpaqueGradient(hDC, rc, dwFirst, dwSecond, nSteps);
        return;
    }
    CDibSectionUI buffer;
    if (!buffer.Create(rc.right - rc.left, rc.bottom - rc.top, hDC)) {
        return;
    }
    DrawOpaqueGradient(buffer.DC(), {0, 0, buffer.Width(), buffer.Height()}, dwFirst, dwSecond, nSteps);
    BlendConstant(hDC, rc, buffer, alpha);
}

void CSkinRender::StrokeLine(HDC hDC, const RECT& rc, int nWidth, UIColor dwColor, int nPenStyle)
{
    if (hDC == nullptr) {
        return;
    }
    const CUIGdiHandle<HPEN> pen(::CreatePen(nPenStyle, nWidth, UIColorToColorRef(dwColor)));
    if (!pen) {
        return;
    }
    const CUISelectObject select(hDC, pen.Get());
    ::MoveToEx(hDC, rc.left, rc.top, nullptr);
    ::LineTo(hDC, rc.right, rc.bottom);
}

} // namespace Tarvo
