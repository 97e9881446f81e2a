#pragma once

#include "core/UIString.h"

#include <windows.h>

namespace Tarvo {

// 0xAARRGGBB.
using UIColor = DWORD;

constexpr BYTE UIColorAlpha(UIColor clr)
{
    return static_cast<BYTE>(clr >> 24);
}
constexpr BYTE UIColorRed(UIColor clr)
{
    return static_cast<BYTE>(clr >> 16);
}
constexpr BYTE UIColorGreen(UIColor clr)
{
    return static_cast<BYTE>(clr >> 8);
}
constexpr BYTE UIColorBlue(UIColor clr)
{
    return static_cast<BYTE>(clr);
}
constexpr UIColor MakeUIColor(BYTE a, BYTE r, BYTE g, BYTE b)
{
    return (static_cast<UIColor>(a) << 24) | (static_cast<UIColor>(r) << 16) | (static_cast<UIColor>(g) << 8) | b;
}
// GDI wants 0x00BBGGRR.
constexpr COLORREF UIColorToColorRef(UIColor clr)
{
    return RGB(UIColorRed(clr), UIColorGreen(clr), UIColorBlue(clr));
}

// One decoded skin image. Owns its bitmap: deleting the record deletes the bitmap.
struct UIImageInfo {
    UIImageInfo() = default;
    UIImageInfo(const UIImageInfo&) = delete;
    UIImageInfo& operator=(const UIImageInfo&) = delete;
    ~UIImageInfo()
    {
        if (hBitmap != nullptr) {
            ::DeleteObject(hBitmap);
        }
    }

    HBITMAP hBitmap = nullptr; // 32-bit top-down DIB section, premultiplied alpha
    int nWidth = 0;
    int nHeight = 0;
    bool bAlphaChannel = false; // some pixel is not fully opaque or was masked
    CUIString sResourceType;    // empty for images read from files
    UIColor dwMask = 0;         // the colour that was made transparent
};

} // namespace Tarvo
