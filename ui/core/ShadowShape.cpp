#include "core/ShadowShape.h"

#include <algorithm>
#include <cmath>

namespace Tarvo {

namespace {

using Spans = std::vector<UIShadowSpan>;

// The outline in the shadow bitmap's coordinates: moved by `size` and padded with as many
// empty rows above and below, where the soft edge of the top and bottom goes.
Spans PadOutline(const Spans& outline, int size)
{
    Spans padded;
    const int rows = static_cast<int>(outline.size());
    for (int y = -size; y < rows + size; ++y) {
        const bool bInside = y >= 0 && y < rows && !outline[y].IsEmpty();
        padded.push_back(bInside ? UIShadowSpan{outline[y].first + size, outline[y].last + size} : UIShadowSpan{});
    }
    return padded;
}

// One step of erosion: every row keeps only what it shares with its neighbours, one pixel in.
Spans Shrink(const Spans& spans)
{
    Spans shrunk(spans.size());
    for (size_t y = 0; y < spans.size(); ++y) {
        if (y == 0 || y + 1 == spans.size()) {
            continue;
        }
        const UIShadowSpan& above = spans[y - 1];
        const UIShadowSpan& here = spans[y];
        const UIShadowSpan& below = spans[y + 1];
        if (above.IsEmpty() || here.IsEmpty() || below.IsEmpty()) {
            continue;
        }
        shrunk[y].first = std::max({above.first, here.first, below.first}) + 1;
        shrunk[y].last = std::min({above.last, here.last, below.last}) - 1;
    }
    return shrunk;
}

bool Inside(const Spans& spans, int x, int y)
{
    return y >= 0 && y < static_cast<int>(spans.size()) && x >= spans[y].first && x <= spans[y].last;
}

DWORD ShadowPixel(DWORD color, int alpha)
{
    const auto scale = [&](int shift) { return static_cast<DWORD>(((color >> shift) & 0xFF) * alpha / 255); };
    return (static_cast<DWORD>(alpha) << 24) | (scale(16) << 16) | (scale(8) << 8) | scale(0);
}

class CShadowCanvas {
public:
    CShadowCanvas(DWORD* pPixels, int width, int height, const UIShadowParams& params)
        : m_pPixels(pPixels), m_nWidth(width), m_nHeight(height), m_nRadius(std::max(params.sharpness, params.size))
    {
        const int side = 2 * m_nRadius + 1;
        const double solid = std::max(params.size - params.sharpness, 0);
        m_kernel.resize(static_cast<size_t>(side) * side);
        for (int dy = -m_nRadius; dy <= m_nRadius; ++dy) {
            for (int dx = -m_nRadius; dx <= m_nRadius; ++dx) {
                const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
                int alpha = 0;
                if (d < solid) {
                    alpha = params.darkness;
                } else if (d <= m_nRadius) {
                    alpha = static_cast<int>(params.darkness * (1.0 - (d - solid) / (params.sharpness + 1)));
                }
                m_kernel[(dy + m_nRadius) * side + dx + m_nRadius] = ShadowPixel(params.color, std::max(alpha, 0));
            }
        }
        m_dwSolid = ShadowPixel(params.color, params.darkness);
    }

    void Stamp(int cx, int cy)
    {
        const int side = 2 * m_nRadius + 1;
        for (int dy = -m_nRadius; dy <= m_nRadius; ++dy) {
            for (int dx = -m_nRadius; dx <= m_nRadius; ++dx) {
                DWORD* pTarget = At(cx + dx, cy + dy);
                const DWORD dwKernel = m_kernel[(dy + m_nRadius) * side + dx + m_nRadius];
                if (pTarget != nullptr && (dwKernel >> 24) > (*pTarget >> 24)) {
                    *pTarget = dwKernel;
                }
            }
        }
    }

    void FillRow(int y, LONG first, LONG last, DWORD value)
    {
        for (LONG x = first; x <= last; ++x) {
            if (DWORD* pTarget = At(x, y)) {
                *pTarget = value;
            }
        }
    }

    DWORD Solid() const { return m_dwSolid; }

private:
    DWORD* At(LONG x, LONG y)
    {
        if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) {
            return nullptr;
        }
        return &m_pPixels[y * m_nWidth + x];
    }

    DWORD* m_pPixels;
    int m_nWidth;
    int m_nHeight;
    int m_nRadius;
    std::vector<DWORD> m_kernel;
    DWORD m_dwSolid = 0;
};

void StampEdges(CShadowCanvas& canvas, const Spans& spans)
{
    for (int y = 0; y < static_cast<int>(spans.size()); ++y) {
        for (LONG x = spans[y].first; x <= spans[y].last; ++x) {
            const bool bEdge =
                x == spans[y].first || x == spans[y].last || !Inside(spans, x, y - 1) || !Inside(spans, x, y + 1);
            if (bEdge) {
                canvas.Stamp(x, y);
            }
        }
    }
}

} // namespace

std::vector<UIShadowSpan> ScanOutline(HRGN hRegion, int width, int height)
{
    std::vector<UIShadowSpan> outline(std::max(height, 0));
    if (hRegion == nullptr) {
        std::fill(outline.begin(), outline.end(), UIShadowSpan{0, width - 1});
        return outline;
    }
    const DWORD dwSize = ::GetRegionData(hRegion, 0, nullptr);
    std::vector<BYTE> buffer(std::max<DWORD>(dwSize, sizeof(RGNDATAHEADER)));
    auto* pData = reinterpret_cast<RGNDATA*>(buffer.data());
    if (dwSize == 0 || ::GetRegionData(hRegion, dwSize, pData) == 0) {
        return outline;
    }
    const RECT* pRects = reinterpret_cast<const RECT*>(pData->Buffer);
    for (DWORD i = 0; i < pData->rdh.nCount; ++i) {
        const RECT rc = pRects[i];
        const LONG left = std::max<LONG>(rc.left, 0);
        const LONG right = std::min<LONG>(rc.right, width) - 1;
        for (LONG y = std::max<LONG>(rc.top, 0); y < std::min<LONG>(rc.bottom, height) && left <= right; ++y) {
            UIShadowSpan& span = outline[y];
            span = span.IsEmpty() ? UIShadowSpan{left, right}
                                  : UIShadowSpan{std::min(span.first, left), std::max(span.last, right)};
        }
    }
    return outline;
}

void DrawComputedShadow(DWORD* pPixels, int width, int height, const std::vector<UIShadowSpan>& outline,
                        const UIShadowParams& params)
{
    if (pPixels == nullptr || width <= 0 || height <= 0 || outline.empty()) {
        return;
    }
    Spans spans = PadOutline(outline, params.size);
    for (int i = params.size; i < params.sharpness; ++i) {
        spans = Shrink(spans);
    }
    CShadowCanvas canvas(pPixels, width, height, params);
    StampEdges(canvas, spans);
    for (int y = 0; y < static_cast<int>(spans.size()); ++y) {
        canvas.FillRow(y, spans[y].first, spans[y].last, canvas.Solid());
    }
    for (int y = 0; y < static_cast<int>(outline.size()); ++y) {
        if (!outline[y].IsEmpty()) {
            canvas.FillRow(y + params.size - params.offsetY, outline[y].first + params.size - params.offsetX,
                           outline[y].last + params.size - params.offsetX, 0);
        }
    }
}

} // namespace Tarvo
