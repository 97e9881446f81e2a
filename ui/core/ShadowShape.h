#pragma once

#include <windows.h>

#include <vector>

namespace Tarvo {

// The first and last pixel of one row of a window's outline; empty when last < first.
struct UIShadowSpan {
    LONG first = 0;
    LONG last = -1;
    bool IsEmpty() const { return last < first; }
};

struct UIShadowParams {
    int size = 0;       // how far the shadow extends beyond the host
    int sharpness = 5;  // width of the soft edge
    int darkness = 150; // alpha of the darkest pixels
    int offsetX = 0;
    int offsetY = 0;
    DWORD color = 0; // 0x00RRGGBB
};

// The outline of a window of width × height whose window region is hRegion (null: the whole
// rectangle), one span per row.
std::vector<UIShadowSpan> ScanOutline(HRGN hRegion, int width, int height);

// Draws the computed shadow of the outline into pixels of (outline width + 2 × size) ×
// (rows + 2 × size), premultiplied, and clears the pixels the host itself covers.
void DrawComputedShadow(DWORD* pPixels, int width, int height, const std::vector<UIShadowSpan>& outline,
                        const UIShadowParams& params);

} // namespace Tarvo
