#include "core/MsImg.h"
#include "core/SkinRender.h"
#include "core/UIClip.h"

#include "RenderTestCanvas.h"

#include <gtest/gtest.h>

using namespace Tarvo;
using namespace rendertest;

namespace {

constexpr DWORD kBackground = 0xFF0A0B0C;

class ForcedSoftwareBlend {
public:
    ForcedSoftwareBlend() { CMsImgUI::ForceMissing(true); }
    ~ForcedSoftwareBlend() { CMsImgUI::ForceMissing(false); }
};

const RECT kNoCorner = {0, 0, 0, 0};

} // namespace

TEST(PaintBitmapTest, NineGridKeepsBordersUnscaledAndStretchesTheRest)
{
    const Bitmap image = MakeImage(12, 13, BorderedPixel);
    const auto canvas = MakeCanvas(530, 13, kBackground);
    const RECT rcDest = {0, 0, 530, 13};
    CSkinRender::PaintBitmap(canvas->DC(), image.get(), rcDest, rcDest, {0, 0, 12, 13}, {3, 3, 3, 3}, false);
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 530; ++x) {
            ASSERT_EQ(PixelAt(*canvas, x, y) & 0xFFFFFF, ExpectedNineGridPixel(x, y, 530, 13) & 0xFFFFFF)
                << x << "," << y;
        }
    }
}

TEST(PaintBitmapTest, OnlyPiecesMeetingThePaintRectangleAreDrawnButThoseWhole)
{
    const Bitmap image = MakeImage(12, 13, BorderedPixel);
    const auto canvas = MakeCanvas(60, 40, kBackground);
    const RECT rcDest = {0, 0, 60, 40};
    // Meets the top-left corner piece and the left edge piece only.
    CSkinRender::PaintBitmap(canvas->DC(), image.get(), rcDest, {1, 1, 2, 5}, {0, 0, 12, 13}, {3, 3, 3, 3}, false);
    EXPECT_EQ(PixelAt(*canvas, 2, 2) & 0xFFFFFF, BorderedPixel(2, 2) & 0xFFFFFF);
    EXPECT_EQ(PixelAt(*canvas, 0, 36) & 0xFFFFFF, BorderedPixel(0, 5) & 0xFFFFFF);
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 3, 37}, kBackground));
}

TEST(PaintBitmapTest, UnscaledOpaqueImageCopiesOnlyTheVisiblePart)
{
    const Bitmap image = MakeImage(20, 20, [](int x, int y) { return 0xFF000000 | DWORD(x << 8) | DWORD(y); });
    const auto canvas = MakeCanvas(40, 40, kBackground);
    CSkinRender::PaintBitmap(canvas->DC(), image.get(), {10, 10, 30, 30}, {15, 12, 25, 40}, {0, 0, 20, 20}, kNoCorner,
                             false);
    EXPECT_EQ(PixelAt(*canvas, 15, 12), 0xFF000000 | (5 << 8) | 2);
    EXPECT_EQ(PixelAt(*canvas, 24, 29), 0xFF000000 | (14 << 8) | 19);
    EXPECT_TRUE(UntouchedOutside(*canvas, {15, 12, 25, 30}, kBackground));
}

TEST(PaintBitmapTest, TiledMiddleRepeatsTheSourceAndCutsTheLastCopy)
{
    const Bitmap image = MakeImage(4, 3, [](int x, int y) { return 0xFF000000 | DWORD(x << 16) | DWORD(y); });
    const auto canvas = MakeCanvas(10, 7, kBackground);
    const RECT rcDest = {0, 0, 10, 7};
    CSkinRender::PaintBitmap(canvas->DC(), image.get(), rcDest, rcDest, {0, 0, 4, 3}, kNoCorner, false, 255, false,
                             true, true);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 10; ++x) {
            ASSERT_EQ(PixelAt(*canvas, x, y), 0xFF000000 | DWORD((x % 4) << 16) | DWORD(y % 3)) << x << "," << y;
        }
    }
}

TEST(PaintBitmapTest, XTiledOnlyStretchesEachCopyToTheHeight)
{
    const Bitmap image = MakeImage(4, 1, [](int x, int) { return 0xFF000000 | DWORD(x << 16); });
    const auto canvas = MakeCanvas(10, 5, kBackground);
    const RECT rcDest = {0, 0, 10, 5};
    CSkinRender::PaintBitmap(canvas->DC(), image.get(), rcDest, rcDest, {0, 0, 4, 1}, kNoCorner, false, 255, false,
                             true, false);
    for (int x = 0; x < 10; ++x) {
        // StretchBlt keeps no alpha byte: only the colour is compared.
        EXPECT_EQ(PixelAt(*canvas, x, 4) & 0xFFFFFF, DWORD((x % 4) << 16)) << x;
    }
}

TEST(PaintBitmapTest, HoleLeavesTheMiddleUntouched)
{
    const Bitmap image = MakeImage(12, 13, BorderedPixel);
    const auto canvas = MakeCanvas(40, 40, kBackground);
    const RECT rcDest = {0, 0, 40, 40};
    CSkinRender::PaintBitmap(canvas->DC(), image.get(), rcDest, rcDest, {0, 0, 12, 13}, {3, 3, 3, 3}, false, 255, true);
    EXPECT_EQ(PixelAt(*canvas, 20, 20), kBackground);
    EXPECT_EQ(PixelAt(*canvas, 3, 37) & 0xFFFFFF, BorderedPixel(3, 10) & 0xFFFFFF);
}

TEST(PaintBitmapTest, FadeOnAnOpaqueImageGivesHalfTransparentPixels)
{
    const Bitmap image = MakeImage(8, 8, [](int, int) { return 0xFFFF8040; });
    const auto canvas = MakeCanvas(8, 8, 0);
    const RECT rcDest = {0, 0, 8, 8};
    CSkinRender::PaintBitmap(canvas->DC(), image.get(), rcDest, rcDest, {0, 0, 8, 8}, kNoCorner, false, 128);
    const DWORD pixel = PixelAt(*canvas, 4, 4);
    EXPECT_NEAR(ChannelOf(pixel, 24), 128, 1);
    EXPECT_NEAR(ChannelOf(pixel, 16), 128, 1);
    EXPECT_NEAR(ChannelOf(pixel, 8), 64, 1);
    EXPECT_NEAR(ChannelOf(pixel, 0), 32, 1);
}

TEST(PaintBitmapTest, SoftwareBlendDrawsAnOpaqueImageExactlyAsAlphaBlend)
{
    ASSERT_NE(CMsImgUI::AlphaBlend(), nullptr);
    const Bitmap image =
        MakeImage(16, 16, [](int x, int y) { return 0xFF000000 | DWORD(x * 15 << 16) | DWORD(y * 9); });
    const RECT rcDest = {2, 3, 34, 19};
    for (BYTE fade : {BYTE(255), BYTE(128), BYTE(1)}) {
        const auto hardware = MakeCanvas(40, 24, 0xFF336699);
        const auto software = MakeCanvas(40, 24, 0xFF336699);
        CSkinRender::PaintBitmap(hardware->DC(), image.get(), rcDest, rcDest, {0, 0, 16, 16}, kNoCorner, true, fade);
        {
            ForcedSoftwareBlend forced;
            CSkinRender::PaintBitmap(software->DC(), image.get(), rcDest, rcDest, {0, 0, 16, 16}, kNoCorner, true,
                                     fade);
        }
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 40; ++x) {
                const DWORD h = PixelAt(*hardware, x, y);
                const DWORD s = PixelAt(*software, x, y);
                for (int shift = 0; shift < 32; shift += 8) {
                    // AlphaBlend rounds its fixed-point products its own way; fade 255 must match exactly.
                    ASSERT_NEAR(ChannelOf(h, shift), ChannelOf(s, shift), fade == 255 ? 0 : 1)
                        << "fade " << int(fade) << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(PaintBitmapTest, SoftwareBlendFollowsItsFormulaForTranslucentPixels)
{
    // Premultiplied: alpha 0x80, colour channels already scaled.
    const DWORD source = 0x80402010;
    const DWORD dest = 0xFFC0A080;
    const Bitmap image = MakeImage(4, 4, [&](int, int) { return source; });
    const auto canvas = MakeCanvas(4, 4, dest);
    const RECT rcDest = {0, 0, 4, 4};
    {
        ForcedSoftwareBlend forced;
        CSkinRender::PaintBitmap(canvas->DC(), image.get(), rcDest, rcDest, {0, 0, 4, 4}, kNoCorner, true, 200);
    }
    const double x = 200.0 * 0x80 / 255.0 / 255.0;
    const DWORD pixel = PixelAt(*canvas, 1, 1);
    for (int shift = 0; shift < 32; shift += 8) {
        const double expected = ChannelOf(dest, shift) * (1.0 - x) + ChannelOf(source, shift) * x;
        EXPECT_NEAR(ChannelOf(pixel, shift), expected, 0.51) << shift;
    }
}

TEST(PaintBitmapTest, MalformedGeometryNeverDrawsOutsideTheDestinationOrCrashes)
{
    const Bitmap image = MakeImage(12, 13, BorderedPixel);
    const RECT rcDest = {10, 10, 30, 30};
    const RECT corners[] = {{-100, -100, -100, -100}, {40, 40, 40, 40}, {0, 2147483647, 0, 2147483647}};
    for (const RECT& corner : corners) {
        for (bool bAlpha : {false, true}) {
            const auto canvas = MakeCanvas(40, 40, kBackground);
            CSkinRender::PaintBitmap(canvas->DC(), image.get(), rcDest, {0, 0, 40, 40}, {0, 0, 12, 13}, corner, bAlpha);
            EXPECT_TRUE(UntouchedOutside(*canvas, rcDest, kBackground)) << corner.left << "," << corner.top;
        }
    }
    const auto canvas = MakeCanvas(40, 40, kBackground);
    CSkinRender::PaintBitmap(canvas->DC(), image.get(), {30, 30, 10, 10}, {0, 0, 40, 40}, {0, 0, 12, 13}, kNoCorner,
                             false);
    CSkinRender::PaintBitmap(canvas->DC(), image.get(), {10, 10, 10, 30}, {0, 0, 40, 40}, {0, 0, 12, 13}, kNoCorner,
                             true);
    CSkinRender::PaintBitmap(canvas->DC(), nullptr, rcDest, rcDest, {0, 0, 12, 13}, kNoCorner, true);
    CSkinRender::PaintBitmap(nullptr, image.get(), rcDest, rcDest, {0, 0, 12, 13}, kNoCorner, true);
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, kBackground));
}

TEST(PaintBitmapTest, ClipKeepsDrawingInside)
{
    const Bitmap image = MakeImage(12, 13, BorderedPixel);
    const auto canvas = MakeCanvas(40, 40, kBackground);
    UIClip clip;
    clip.ClipToRect(canvas->DC(), {5, 5, 20, 20});
    CSkinRender::PaintBitmap(canvas->DC(), image.get(), {0, 0, 40, 40}, {0, 0, 40, 40}, {0, 0, 12, 13}, {3, 3, 3, 3},
                             true);
    clip.Restore();
    EXPECT_EQ(PixelAt(*canvas, 10, 10) & 0xFFFFFF, kMiddle & 0xFFFFFF);
    EXPECT_TRUE(UntouchedOutside(*canvas, {5, 5, 20, 20}, kBackground));
}
