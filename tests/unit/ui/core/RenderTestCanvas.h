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

}  // namespace rendertest
