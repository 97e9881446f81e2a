#pragma once

#include <windows.h>

namespace Tarvo {

class CWindowManagerUI;

// Stateless drawing functions used by the controls' paint steps.
class CSkinRender {
public:
    // Image description language: "name" or key='value' pairs (file, res, restype, dest,
    // source, corner, mask, fade, hole, xtiled, ytiled). False only without a DC or manager.
    static bool PaintImageSpec(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                               const wchar_t* pstrDescription, const wchar_t* pstrModifier = nullptr);
    static bool PaintImage(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                           const wchar_t* pstrName, const wchar_t* pstrResourceType, RECT rcDest, RECT rcSource,
                           const RECT& rcCorner, DWORD dwMask, BYTE uFade, bool bHole, bool bXTiled, bool bYTiled);
    // Nine-grid drawing of hBitmap (premultiplied alpha) into rcDest; only the pieces that
    // meet rcPaint are drawn.
    static void PaintBitmap(HDC hDC, HBITMAP hBitmap, const RECT& rcDest, const RECT& rcPaint, const RECT& rcSource,
                            const RECT& rcCorner, bool bAlphaBlend, BYTE uFade = 255, bool bHole = false,
                            bool bXTiled = false, bool bYTiled = false);

    // Colours are 0xAARRGGBB.
    static void FillColor(HDC hDC, const RECT& rc, DWORD dwColor);
    // Always top (dwFirst) to bottom (dwSecond); bVertical is accepted for the callers' sake.
    static void FillGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps);
    static void StrokeLine(HDC hDC, const RECT& rc, int nWidth, DWORD dwColor, int nPenStyle = PS_SOLID);
};

}  // namespace Tarvo
