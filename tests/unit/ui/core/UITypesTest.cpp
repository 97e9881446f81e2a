#include "core/UITypes.h"

#include <gtest/gtest.h>

namespace {

TEST(UITypesTest, ColourIsArgb)
{
    constexpr Tarvo::UIColor clr = 0x80FF2010;
    EXPECT_EQ(Tarvo::UIColorAlpha(clr), 0x80);
    EXPECT_EQ(Tarvo::UIColorRed(clr), 0xFF);
    EXPECT_EQ(Tarvo::UIColorGreen(clr), 0x20);
    EXPECT_EQ(Tarvo::UIColorBlue(clr), 0x10);
    EXPECT_EQ(Tarvo::MakeUIColor(0x80, 0xFF, 0x20, 0x10), clr);
    EXPECT_EQ(Tarvo::UIColorToColorRef(clr), RGB(0xFF, 0x20, 0x10));
}

TEST(UITypesTest, ImageInfoDeletesItsBitmap)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = 4;
    bmi.bmiHeader.biHeight = -4;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    ASSERT_NE(hBitmap, nullptr);
    {
        Tarvo::UIImageInfo info;
        info.hBitmap = hBitmap;
        EXPECT_EQ(::GetObjectType(hBitmap), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(::GetObjectType(hBitmap), 0u);
}

} // namespace
