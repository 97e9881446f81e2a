#pragma once

// Small fixtures for pixel tests of the render engine: canvases and source images whose
// pixels a test can set and read directly (0xAARRGGBB, premultiplied like skin images).

#include "core/DibSection.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace rendertest {

struct BitmapDeleter {
    void operator()(HBITMAP h) const { ::DeleteObject(h); }
};
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

// A 32-bit top-down DIB section that is not selected anywhere, filled by pixel(x, y).
inline Bitmap MakeImage(int width, int height, const std::function<DWORD(int, int)>& pixel)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    Bitmap bitmap(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    auto* pixels = static_cast<DWORD*>(pBits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[y * width + x] = pixel(x, y);
        }
    }
    ::GdiFlush();
    return bitmap;
}

// A canvas filled with one value.
inline std::unique_ptr<Tarvo::CDibSectionUI> MakeCanvas(int width, int height, DWORD fill)
{
    auto canvas = std::make_unique<Tarvo::CDibSectionUI>();
    if (canvas->Create(width, height)) {
        std::fill_n(canvas->Bits(), width * height, fill);
    }
    return canvas;
}

inline DWORD PixelAt(const Tarvo::CDibSectionUI& canvas, int x, int y)
{
    ::GdiFlush();
    return canvas.At(x, y);
}

inline int ChannelOf(DWORD pixel, int shift)
{
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// Every pixel outside rc still has the fill value.
inline bool UntouchedOutside(const Tarvo::CDibSectionUI& canvas, const RECT& rc, DWORD fill)
{
    ::GdiFlush();
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const POINT pt = {x, y};
            if (!::PtInRect(&rc, pt) && canvas.At(x, y) != fill) {
                return false;
            }
        }
    }
    return true;
}

constexpr DWORD kMiddle = 0xFF405060;

// 12 × 13 with 3-pixel borders: corner pixels unique, edges varying only across their
// thickness (so stretching along them keeps the value), middle uniform.
inline DWORD BorderedPixel(int x, int y)
{
    const bool bLeft = x < 3, bRight = x >= 9, bTop = y < 3, bBottom = y >= 10;
    if ((bLeft || bRight) && (bTop || bBottom)) {
        return 0xFF100000 | static_cast<DWORD>(x << 8) | static_cast<DWORD>(y);
    }
    if (bTop || bBottom) {
        return 0xFF200000 | static_cast<DWORD>(y);
    }
    if (bLeft || bRight) {
        return 0xFF300000 | static_cast<DWORD>(x << 8);
    }
    return kMiddle;
}

// Where a destination pixel of a 3-pixel nine-grid of the 12 × 13 image must come from.
inline DWORD ExpectedNineGridPixel(int x, int y, int width, int height)
{
    const int sx = x < 3 ? x : (x >= width - 3 ? x - (width - 12) : 5);
    const int sy = y < 3 ? y : (y >= height - 3 ? y - (height - 13) : 5);
    return BorderedPixel(sx, sy);
}

} // namespace rendertest
