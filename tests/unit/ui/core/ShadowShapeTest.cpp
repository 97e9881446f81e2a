#include "core/ShadowShape.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Tarvo;

namespace {

struct Shadow {
    int width, height;
    std::vector<DWORD> pixels;
    int Alpha(int x, int y) const { return static_cast<int>(pixels[y * width + x] >> 24); }
};

Shadow Draw(int hostWidth, int hostHeight, const UIShadowParams& params, HRGN hRegion = nullptr)
{
    Shadow shadow{hostWidth + 2 * params.size, hostHeight + 2 * params.size, {}};
    shadow.pixels.assign(static_cast<size_t>(shadow.width) * shadow.height, 0);
    DrawComputedShadow(shadow.pixels.data(), shadow.width, shadow.height, ScanOutline(hRegion, hostWidth, hostHeight),
                       params);
    return shadow;
}

} // namespace

TEST(ShadowShapeTest, OutlineOfARectangleAndOfARoundedRegion)
{
    const std::vector<UIShadowSpan> plain = ScanOutline(nullptr, 30, 4);
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[3].first, 0);
    EXPECT_EQ(plain[3].last, 29);

    HRGN hRound = ::CreateRoundRectRgn(0, 0, 41, 41, 20, 20);
    const std::vector<UIShadowSpan> round = ScanOutline(hRound, 40, 40);
    ::DeleteObject(hRound);
    EXPECT_GT(round[0].first, 0);
    EXPECT_LT(round[0].last, 39);
    EXPECT_EQ(round[20].first, 0);
    EXPECT_EQ(round[20].last, 39);
}

TEST(ShadowShapeTest, ShadowSurroundsTheHostAndFadesOutwards)
{
    UIShadowParams params;
    params.size = 6;
    params.sharpness = 4;
    params.darkness = 200;
    params.color = 0x102030;
    const Shadow shadow = Draw(40, 30, params);
    // The host's own pixels stay clear.
    EXPECT_EQ(shadow.pixels[(6 + 15) * shadow.width + 6 + 20], 0u);
    // Right next to the host: full darkness, colour premultiplied.
    EXPECT_EQ(shadow.Alpha(5, 20), 200);
    EXPECT_EQ(shadow.pixels[20 * shadow.width + 5] & 0xFFFFFF,
              DWORD((0x10 * 200 / 255) << 16 | (0x20 * 200 / 255) << 8 | (0x30 * 200 / 255)));
    // Fading out towards the border of the bitmap.
    int previous = 256;
    for (int x = 5; x >= 0; --x) {
        EXPECT_LE(shadow.Alpha(x, 20), previous) << x;
        previous = shadow.Alpha(x, 20);
    }
    EXPECT_LT(shadow.Alpha(0, 20), 200);
    EXPECT_LT(shadow.Alpha(0, 0), shadow.Alpha(0, 20));
}

TEST(ShadowShapeTest, OffsetMovesTheClearedHostArea)
{
    UIShadowParams params;
    params.size = 5;
    params.sharpness = 2;
    params.offsetX = 3;
    params.offsetY = 3;
    const Shadow shadow = Draw(20, 20, params);
    // Host pixel (0,0) sits at (size - offset) in the shadow bitmap.
    EXPECT_EQ(shadow.Alpha(2, 2), 0);
    EXPECT_GT(shadow.Alpha(shadow.width - 3, shadow.height - 3), 0);
}

TEST(ShadowShapeTest, ExtremeParametersStayInsideTheBitmap)
{
    for (int size : {-20, -5, 0, 20}) {
        for (int sharpness : {0, 20}) {
            for (int offset : {-20, 20}) {
                UIShadowParams params;
                params.size = size;
                params.sharpness = sharpness;
                params.darkness = 255;
                params.offsetX = offset;
                params.offsetY = -offset;
                const int width = 30 + 2 * size;
                const int height = 25 + 2 * size;
                if (width <= 0 || height <= 0) {
                    continue;
                }
                // Guard pixels after the bitmap catch any write past its end.
                std::vector<DWORD> pixels(static_cast<size_t>(width) * height + 64, 0xDEADBEEF);
                std::fill_n(pixels.begin(), static_cast<size_t>(width) * height, 0u);
                DrawComputedShadow(pixels.data(), width, height, ScanOutline(nullptr, 30, 25), params);
                for (size_t i = static_cast<size_t>(width) * height; i < pixels.size(); ++i) {
                    ASSERT_EQ(pixels[i], 0xDEADBEEFu) << size << " " << sharpness << " " << offset;
                }
            }
        }
    }
}
