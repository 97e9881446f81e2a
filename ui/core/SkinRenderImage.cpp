#include "core/SkinRender.h"

#include "core/GdiResources.h"
#include "core/ImageComposites.h"
#include "core/ImageSpec.h"
#include "core/MsImg.h"
#include "core/NineGrid.h"
#include "core/SoftwareBlend.h"
#include "core/WindowManager.h"

#include <algorithm>

namespace Tarvo {

namespace {

LONG Width(const RECT& rc)
{
    return rc.right - rc.left;
}

LONG Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

bool Meets(const RECT& rcA, const RECT& rcB)
{
    RECT rcDummy;
    return ::IntersectRect(&rcDummy, &rcA, &rcB) != FALSE;
}

// Copies one piece of the selected bitmap, stretched, onto the target.
class CPieceBlitter {
public:
    CPieceBlitter(HDC hTarget, HDC hSource, bool bAlpha, BYTE uFade)
        : m_hTarget(hTarget), m_hSource(hSource), m_bAlpha(bAlpha), m_uFade(uFade),
          m_pAlphaBlend(CMsImgUI::AlphaBlend())
    {
    }

    void Blit(const RECT& rcDest, const RECT& rcSource) const
    {
        if (!m_bAlpha) {
            ::StretchBlt(m_hTarget, rcDest.left, rcDest.top, Width(rcDest), Height(rcDest), m_hSource, rcSource.left,
                         rcSource.top, Width(rcSource), Height(rcSource), SRCCOPY);
        } else if (m_pAlphaBlend != nullptr) {
            const BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_uFade, AC_SRC_ALPHA};
            m_pAlphaBlend(m_hTarget, rcDest.left, rcDest.top, Width(rcDest), Height(rcDest), m_hSource, rcSource.left,
                          rcSource.top, Width(rcSource), Height(rcSource), blend);
        } else {
            SoftwareAlphaBlend(m_hTarget, rcDest, m_hSource, rcSource, m_uFade, true);
        }
    }

private:
    HDC m_hTarget;
    HDC m_hSource;
    bool m_bAlpha;
    BYTE m_uFade;
    CMsImgUI::AlphaBlendProc m_pAlphaBlend;
};

// Tiles of the middle piece: along a tiled axis copies of the source's extent, the last one
// cut; along a stretched axis one span.
template <typename Visit> void ForEachTile(const UINinePiece& piece, bool bXTiled, bool bYTiled, Visit visit)
{
    const LONG tileWidth = bXTiled ? Width(piece.source) : Width(piece.dest);
    const LONG tileHeight = bYTiled ? Height(piece.source) : Height(piece.dest);
    for (LONG y = piece.dest.top; y < piece.dest.bottom; y += tileHeight) {
        const LONG height = std::min(tileHeight, piece.dest.bottom - y);
        for (LONG x = piece.dest.left; x < piece.dest.right; x += tileWidth) {
            const LONG width = std::min(tileWidth, piece.dest.right - x);
            const RECT rcDest = {x, y, x + width, y + height};
            RECT rcSource = piece.source;
            if (bXTiled) {
                rcSource.right = rcSource.left + width;
            }
            if (bYTiled) {
                rcSource.bottom = rcSource.top + height;
            }
            visit(rcDest, rcSource);
        }
    }
}

// How a bitmap is laid into its destination: which part of it, the nine-grid corners, the middle
// left out or tiled.
struct UIScaling {
    RECT source;
    RECT corner;
    bool bHole;
    bool bXTiled;
    bool bYTiled;
};

// Each piece of the nine-grid, or tile of a tiled middle, whose destination meets rcPaint:
// visit(destination, source).
template <typename Visit>
void ForEachVisiblePiece(const RECT& rcDest, const RECT& rcPaint, const UIScaling& scaling, Visit visit)
{
    const UINineGrid grid = SplitNineGrid(rcDest, scaling.source, scaling.corner, scaling.bHole);
    for (int i = 0; i < grid.count; ++i) {
        const UINinePiece& piece = grid.pieces[i];
        if (!Meets(piece.dest, rcPaint)) {
            continue;
        }
        if (piece.part == UINinePart::Middle && (scaling.bXTiled || scaling.bYTiled)) {
            ForEachTile(piece, scaling.bXTiled, scaling.bYTiled, [&](const RECT& rcTile, const RECT& rcTileSource) {
                if (Meets(rcTile, rcPaint)) {
                    visit(rcTile, rcTileSource);
                }
            });
        } else {
            visit(piece.dest, piece.source);
        }
    }
}

bool IsUnscaledPlain(const RECT& rcDest, const RECT& rcSource, const RECT& rcCorner)
{
    return Width(rcDest) == Width(rcSource) && Height(rcDest) == Height(rcSource) && rcCorner.left == 0 &&
           rcCorner.top == 0 && rcCorner.right == 0 && rcCorner.bottom == 0;
}

void BlitVisiblePart(HDC hTarget, HDC hSource, const RECT& rcDest, const RECT& rcPaint, const RECT& rcSource)
{
    RECT rcVisible;
    if (!::IntersectRect(&rcVisible, &rcDest, &rcPaint)) {
        return;
    }
    ::BitBlt(hTarget, rcVisible.left, rcVisible.top, Width(rcVisible), Height(rcVisible), hSource,
             rcSource.left + rcVisible.left - rcDest.left, rcSource.top + rcVisible.top - rcDest.top, SRCCOPY);
}

bool Contains(const RECT& rcOuter, const RECT& rcInner)
{
    return rcInner.left >= rcOuter.left && rcInner.top >= rcOuter.top && rcInner.right <= rcOuter.right &&
           rcInner.bottom <= rcOuter.bottom;
}

// The part of a memory DC's bitmap that drawing reaches: the bitmap, cut by a rectangular clip.
// Empty for other DCs and for clips of several rectangles.
RECT DrawableArea(HDC hDC)
{
    BITMAP bitmap = {};
    if (::GetObjectType(hDC) != OBJ_MEMDC ||
        ::GetObjectW(::GetCurrentObject(hDC, OBJ_BITMAP), sizeof bitmap, &bitmap) == 0) {
        return {0, 0, 0, 0};
    }
    RECT rcArea = {0, 0, bitmap.bmWidth, bitmap.bmHeight};
    const CUIGdiHandle<HRGN> clip(::CreateRectRgn(0, 0, 0, 0));
    const int nClip = clip ? ::GetClipRgn(hDC, clip.Get()) : -1;
    RECT rcClip = {0, 0, 0, 0};
    if (nClip < 0 || (nClip == 1 && ::GetRgnBox(clip.Get(), &rcClip) != SIMPLEREGION)) {
        return {0, 0, 0, 0};
    }
    if (nClip == 1 && !::IntersectRect(&rcArea, &rcArea, &rcClip)) {
        return {0, 0, 0, 0};
    }
    return rcArea;
}

// Scaling a piece that the clip or the bitmap's edge cuts does not give the pixels of the whole
// piece at those places (Wine's HALFTONE StretchBlt samples from the cut rectangle), so the
// composite serves only when every piece to draw lies wholly inside the drawable area.
bool EveryPieceWhole(HDC hDC, const RECT& rcDest, const RECT& rcPaint, const UIScaling& scaling)
{
    const RECT rcArea = DrawableArea(hDC);
    bool bWhole = !::IsRectEmpty(&rcArea);
    if (bWhole) {
        ForEachVisiblePiece(rcDest, rcPaint, scaling, [&](const RECT& rc, const RECT&) {
            bWhole = bWhole && Contains(rcArea, rc);
        });
    }
    return bWhole;
}

// Draws the pieces that meet rcPaint from the image's composite, 1:1, when there is one: the same
// pixels land where the scaled pieces would, without scaling them again. False when the image is
// to be drawn directly (a plain unscaled copy, no AlphaBlend, a cut piece, no composite yet).
bool PaintComposite(HDC hDC, HBITMAP hBitmap, const RECT& rcDest, const RECT& rcPaint, const UIScaling& scaling,
                    bool bAlphaBlend, BYTE uFade)
{
    const bool bAlpha = bAlphaBlend || uFade < 255;
    if (bAlpha ? CMsImgUI::AlphaBlend() == nullptr : IsUnscaledPlain(rcDest, scaling.source, scaling.corner)) {
        return false;
    }
    if (!EveryPieceWhole(hDC, rcDest, rcPaint, scaling)) {
        return false;
    }
    const UICompositeKey key = {hBitmap,       {Width(rcDest), Height(rcDest)}, scaling.source, scaling.corner,
                                scaling.bHole, scaling.bXTiled,                 scaling.bYTiled, bAlpha};
    const HDC hComposite = CImageCompositesUI::Find(key, hDC, [&](HDC hTarget) {
        const RECT rcAll = {0, 0, key.size.cx, key.size.cy};
        CSkinRender::PaintBitmap(hTarget, hBitmap, rcAll, rcAll, scaling.source, scaling.corner, bAlpha, 255,
                                 scaling.bHole, scaling.bXTiled, scaling.bYTiled);
    });
    if (hComposite == nullptr) {
        return false;
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, uFade, AC_SRC_ALPHA};
    ForEachVisiblePiece(rcDest, rcPaint, scaling, [&](const RECT& rc, const RECT&) {
        const int x = rc.left - rcDest.left;
        const int y = rc.top - rcDest.top;
        if (bAlpha) {
            CMsImgUI::AlphaBlend()(hDC, rc.left, rc.top, Width(rc), Height(rc), hComposite, x, y, Width(rc),
                                   Height(rc), blend);
        } else {
            ::BitBlt(hDC, rc.left, rc.top, Width(rc), Height(rc), hComposite, x, y, SRCCOPY);
        }
    });
    return true;
}

} // namespace

void CSkinRender::PaintBitmap(HDC hDC, HBITMAP hBitmap, const RECT& rcDest, const RECT& rcPaint, const RECT& rcSource,
                              const RECT& rcCorner, bool bAlphaBlend, BYTE uFade, bool bHole, bool bXTiled,
                              bool bYTiled)
{
    if (hDC == nullptr || hBitmap == nullptr) {
        return;
    }
    const CUIMemoryDC sourceDC(::CreateCompatibleDC(hDC));
    if (!sourceDC) {
        return;
    }
    const CUISelectObject select(sourceDC.Get(), hBitmap);
    const int nOldMode = ::SetStretchBltMode(hDC, HALFTONE);
    const bool bAlpha = bAlphaBlend || uFade < 255;
    if (!bAlpha && IsUnscaledPlain(rcDest, rcSource, rcCorner)) {
        BlitVisiblePart(hDC, sourceDC.Get(), rcDest, rcPaint, rcSource);
    } else {
        const CPieceBlitter blitter(hDC, sourceDC.Get(), bAlpha, uFade);
        ForEachVisiblePiece(rcDest, rcPaint, {rcSource, rcCorner, bHole, bXTiled, bYTiled},
                            [&](const RECT& rcPiece, const RECT& rcFrom) { blitter.Blit(rcPiece, rcFrom); });
    }
    if (nOldMode != 0) {
        ::SetStretchBltMode(hDC, nOldMode);
    }
}

bool CSkinRender::PaintImage(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                             const wchar_t* pstrName, const wchar_t* pstrResourceType, RECT rcDest, RECT rcSource,
                             const RECT& rcCorner, UIColor dwMask, BYTE uFade, bool bHole, bool bXTiled, bool bYTiled)
{
    if (pstrName == nullptr || *pstrName == L'\0' || pManager == nullptr) {
        return false;
    }
    const wchar_t* pstrType = pstrResourceType != nullptr && *pstrResourceType != L'\0' ? pstrResourceType : nullptr;
    const UIImageInfo* pImage = pManager->FindOrAddImage(pstrName, pstrType, dwMask);
    if (pImage == nullptr) {
        return false;
    }
    if (rcSource.left == 0 && rcSource.top == 0 && rcSource.right == 0 && rcSource.bottom == 0) {
        rcSource = {0, 0, pImage->nWidth, pImage->nHeight};
    }
    rcSource.right = std::min<LONG>(rcSource.right, pImage->nWidth);
    rcSource.bottom = std::min<LONG>(rcSource.bottom, pImage->nHeight);
    RECT rcVisible;
    if (::IntersectRect(&rcVisible, &rcDest, &rcItem) && ::IntersectRect(&rcVisible, &rcVisible, &rcPaint)) {
        const bool bAlpha = pManager->IsLayered() || pImage->bAlphaChannel;
        if (!PaintComposite(hDC, pImage->hBitmap, rcDest, rcPaint, {rcSource, rcCorner, bHole, bXTiled, bYTiled},
                            bAlpha, uFade)) {
            PaintBitmap(hDC, pImage->hBitmap, rcDest, rcPaint, rcSource, rcCorner, bAlpha, uFade, bHole, bXTiled,
                        bYTiled);
        }
    }
    return true;
}

bool CSkinRender::PaintImageSpec(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                 const wchar_t* pstrDescription, const wchar_t* pstrModifier)
{
    if (hDC == nullptr || pManager == nullptr) {
        return false;
    }
    for (const UIImageSpec& image : ParseImageSpec(pstrDescription, pstrModifier, rcItem)) {
        PaintImage(hDC, pManager, rcItem, rcPaint, image.name.c_str(), image.resourceType.c_str(), image.dest,
                   image.source, image.corner, image.mask, image.fade, image.hole, image.xTiled, image.yTiled);
    }
    return true;
}

} // namespace Tarvo
