#pragma once

#include "core/UITypes.h"

#include <windows.h>

#include <memory>

namespace Tarvo {

class CWindowManagerUI;
class CUIString;

// Image loading and the stateless drawing functions used by the controls' paint steps.
class CSkinRender {
public:
    // nameOrId is a resource name or id when resourceType is given, else a skin file name (zip or
    // resource folder, then the name itself as a path). Null when nothing decodes. The caller
    // fills sResourceType and dwMask.
    static std::unique_ptr<UIImageInfo> LoadSkinImage(LPCWSTR nameOrId, LPCWSTR resourceType, UIColor mask);

    // Image description language: "name" or key='value' pairs (file, res, restype, dest,
    // source, corner, mask, fade, hole, xtiled, ytiled). False only without a DC or manager.
    static bool PaintImageSpec(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                               const wchar_t* pstrDescription, const wchar_t* pstrModifier = nullptr);
    static bool PaintImage(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                           const wchar_t* pstrName, const wchar_t* pstrResourceType, RECT rcDest, RECT rcSource,
                           const RECT& rcCorner, UIColor dwMask, BYTE uFade, bool bHole, bool bXTiled, bool bYTiled);
    // Nine-grid drawing of hBitmap (premultiplied alpha) into rcDest; only the pieces that
    // meet rcPaint are drawn.
    static void PaintBitmap(HDC hDC, HBITMAP hBitmap, const RECT& rcDest, const RECT& rcPaint, const RECT& rcSource,
                            const RECT& rcCorner, bool bAlphaBlend, BYTE uFade = 255, bool bHole = false,
                            bool bXTiled = false, bool bYTiled = false);

    static void FillColor(HDC hDC, const RECT& rc, UIColor dwColor);
    // Always top (dwFirst) to bottom (dwSecond); bVertical is accepted for the callers' sake.
    static void FillGradient(HDC hDC, const RECT& rc, UIColor dwFirst, UIColor dwSecond, bool bVertical, int nSteps);
    static void StrokeLine(HDC hDC, const RECT& rc, int nWidth, UIColor dwColor, int nPenStyle = PS_SOLID);

    // uStyle holds DrawText flags; with DT_CALCRECT rc is measured instead of drawn into. GDI+
    // draws when the manager's window is layered or asks for GDI+ text.
    static void PaintText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, const wchar_t* pstrText, UIColor dwTextColor,
                          int iFont, UINT uStyle);
    // Markup text (tags a b c f i n p r s u x y in <x> or {x} form). nLinkRects: capacity of
    // prcLinks/sLinks in, link rectangles found out.
    static void PaintHtmlText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, const wchar_t* pstrText,
                              UIColor dwTextColor, RECT* prcLinks, CUIString* sLinks, int& nLinkRects, UINT uStyle);
};

}  // namespace Tarvo
