#include "core/SoftwareBlend.h"

#include "core/DibSection.h"

namespace Tarvo {

namespace {

DWORD BlendPixel(DWORD dwDest, DWORD dwSource, double x)
{
    DWORD dwResult = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const double dest = static_cast<double>((dwDest >> shift) & 0xFF);
        const double source = static_cast<double>((dwSource >> shift) & 0xFF);
        const double value = dest * (1.0 - x) + source * x + 0.5;
        dwResult |= static_cast<DWORD>(value > 255.0 ? 255.0 : value) << shift;
    }
    return dwResult;
}

void BlendBuffers(const CDibSectionUI& dest, const CDibSectionUI& source, BYTE fade, bool bSourceAlpha)
{
    const int count = dest.Width() * dest.Height();
    for (int i = 0; i < count; ++i) {
        const DWORD dwSource = source.Bits()[i];
        const double sourceAlpha = bSourceAlpha ? static_cast<double>(dwSource >> 24) : 255.0;
        const double x = fade * sourceAlpha / 255.0 / 255.0;
        if (x >= 1.0) {
            dest.Bits()[i] = dwSource;
        } else if (x > 0.0) {
            dest.Bits()[i] = BlendPixel(dest.Bits()[i], dwSource, x);
        }
    }
}

} // namespace

bool SoftwareAlphaBlend(HDC hDest, const RECT& rcDest, HDC hSource, const RECT& rcSource, BYTE fade, bool bSourceAlpha)
{
    const int width = rcDest.right - rcDest.left;
    const int height = rcDest.bottom - rcDest.top;
    const int sourceWidth = rcSource.right - rcSource.left;
    const int sourceHeight = rcSource.bottom - rcSource.top;
    if (sourceWidth <= 0 || sourceHeight <= 0 || hDest == nullptr || hSource == nullptr) {
        return false;
    }
    CDibSectionUI dest;
    CDibSectionUI source;
    if (!dest.Create(width, height, hDest) || !source.Create(width, height, hDest)) {
        return false;
    }
    ::BitBlt(dest.DC(), 0, 0, width, height, hDest, rcDest.left, rcDest.top, SRCCOPY);
    ::SetStretchBltMode(source.DC(), COLORONCOLOR);
    ::StretchBlt(source.DC(), 0, 0, width, height, hSource, rcSource.left, rcSource.top, sourceWidth, sourceHeight,
                 SRCCOPY);
    BlendBuffers(dest, source, fade, bSourceAlpha);
    return ::BitBlt(hDest, rcDest.left, rcDest.top, width, height, dest.DC(), 0, 0, SRCCOPY) != FALSE;
}

} // namespace Tarvo
