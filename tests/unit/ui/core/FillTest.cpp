#include "core/MsImg.h"
#include "core/SkinRender.h"
#include "core/UIClip.h"

#include "RenderTestCanvas.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

using namespace Tarvo;
using namespace rendertest;

namespace {

class FillTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&s_token, &input, nullptr);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_token); }
    static ULONG_PTR s_token;
};
ULONG_PTR FillTest::s_token = 0;

class ForcedMissingMsImg {
public:
    ForcedMissingMsImg() { CMsImgUI::ForceMissing(true); }
    ~ForcedMissingMsImg() { CMsImgUI::ForceMissing(false); }
};

} // namespace

TEST_F(FillTest, ColorWithAlphaZeroDrawsNothing)
{
    const auto canvas = MakeCanvas(10, 10, 0xFF000000);
    CSkinRender::FillColor(canvas->DC(), {0, 0, 10, 10}, 0x00FFFFFF);
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, 0xFF000000));
}

TEST_F(FillTest, TranslucentColorBlendsAtItsStrength)
{
    const auto canvas = MakeCanvas(10, 10, 0xFF000000);
    CSkinRender::FillColor(canvas->DC(), {2, 2, 8, 8}, 0x80FFFFFF);
    const DWORD pixel = PixelAt(*canvas, 5, 5);
    for (int shift = 0; shift < 24; shift += 8) {
        EXPECT_NEAR(ChannelOf(pixel, shift), 0x80, 2) << shift;
    }
    EXPECT_TRUE(UntouchedOutside(*canvas, {2, 2, 8, 8}, 0xFF000000));
}

TEST_F(FillTest, OpaqueColorFillsExactly)
{
    const auto canvas = MakeCanvas(10, 10, 0xFF000000);
    CSkinRender::FillColor(canvas->DC(), {0, 0, 10, 10}, 0xFF123456);
    EXPECT_EQ(PixelAt(*canvas, 9, 9) & 0xFFFFFF, 0x123456u);
}

TEST_F(FillTest, GradientRunsTopToBottomWhateverTheDirectionSays)
{
    for (bool bMissing : {false, true}) {
        ForcedMissingMsImg* forced = bMissing ? new ForcedMissingMsImg : nullptr;
        for (bool bVertical : {true, false}) {
            const auto canvas = MakeCanvas(20, 64, 0xFF777777);
            CSkinRender::FillGradient(canvas->DC(), {0, 0, 20, 64}, 0xFFFF0000, 0xFF0000FF, bVertical, 16);
            const DWORD top = PixelAt(*canvas, 19, 0);
            const DWORD bottom = PixelAt(*canvas, 0, 63);
            const DWORD middle = PixelAt(*canvas, 10, 32);
            const char* how = bMissing ? "bands" : "GradientFill";
            EXPECT_GT(ChannelOf(top, 16), 0xE0) << how;
            EXPECT_LT(ChannelOf(top, 0), 0x20) << how;
            EXPECT_GT(ChannelOf(bottom, 0), 0xE0) << how;
            EXPECT_LT(ChannelOf(bottom, 16), 0x20) << how;
            EXPECT_NEAR(ChannelOf(middle, 16), 0x80, 0x12) << how;
            EXPECT_EQ(PixelAt(*canvas, 0, 10), PixelAt(*canvas, 19, 10)) << how << ": rows are uniform";
        }
        delete forced;
    }
}

TEST_F(FillTest, BandsWithoutGradientFillAreEightOrSixteen)
{
    ForcedMissingMsImg forced;
    for (int steps : {4, 16}) {
        const auto canvas = MakeCanvas(1, 64, 0);
        CSkinRender::FillGradient(canvas->DC(), {0, 0, 1, 64}, 0xFF000000, 0xFFFFFFFF, true, steps);
        int changes = 0;
        for (int y = 1; y < 64; ++y) {
            changes += PixelAt(*canvas, 0, y) != PixelAt(*canvas, 0, y - 1) ? 1 : 0;
        }
        EXPECT_EQ(changes + 1, steps < 16 ? 8 : 16) << steps;
        EXPECT_EQ(PixelAt(*canvas, 0, 0) & 0xFFFFFF, 0u);
        EXPECT_EQ(PixelAt(*canvas, 0, 63) & 0xFFFFFF, 0xFFFFFFu);
    }
}

TEST_F(FillTest, TranslucentGradientBlendsWithTheMeanAlpha)
{
    for (bool bMissing : {false, true}) {
        const auto canvas = MakeCanvas(4, 32, 0xFF000000);
        if (bMissing) {
            ForcedMissingMsImg forced;
            CSkinRender::FillGradient(canvas->DC(), {0, 0, 4, 32}, 0x60FFFFFF, 0xA0FFFFFF, true, 16);
        } else {
            CSkinRender::FillGradient(canvas->DC(), {0, 0, 4, 32}, 0x60FFFFFF, 0xA0FFFFFF, true, 16);
        }
        EXPECT_NEAR(ChannelOf(PixelAt(*canvas, 2, 16), 8), 0x80, 2) << bMissing;
    }
    const auto canvas = MakeCanvas(4, 32, 0xFF000000);
    CSkinRender::FillGradient(canvas->DC(), {0, 0, 4, 32}, 0x00FFFFFF, 0x01FFFFFF, true, 16);
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, 0xFF000000));
}

TEST_F(FillTest, StrokeLineDrawsFromTheFirstPointToTheSecond)
{
    const auto canvas = MakeCanvas(20, 10, 0xFF000000);
    CSkinRender::StrokeLine(canvas->DC(), {2, 5, 18, 5}, 1, 0xFF00FF00, PS_SOLID);
    EXPECT_EQ(PixelAt(*canvas, 2, 5) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(PixelAt(*canvas, 17, 5) & 0xFFFFFF, 0x00FF00u);
    EXPECT_TRUE(UntouchedOutside(*canvas, {2, 5, 18, 6}, 0xFF000000));
}

TEST_F(FillTest, RectClipLimitsAFillAndRestoreLiftsIt)
{
    const auto canvas = MakeCanvas(20, 20, 0xFF000000);
    {
        UIClip clip;
        clip.ClipToRect(canvas->DC(), {5, 5, 10, 10});
        CSkinRender::FillColor(canvas->DC(), {0, 0, 20, 20}, 0xFFFFFFFF);
        EXPECT_TRUE(UntouchedOutside(*canvas, {5, 5, 10, 10}, 0xFF000000));
        UIClip inner;
        inner.ClipToRect(canvas->DC(), {0, 0, 7, 7});
        CSkinRender::FillColor(canvas->DC(), {0, 0, 20, 20}, 0xFF00FF00);
        EXPECT_EQ(PixelAt(*canvas, 6, 6) & 0xFFFFFF, 0x00FF00u);
        EXPECT_EQ(PixelAt(*canvas, 8, 8) & 0xFFFFFF, 0xFFFFFFu);
    }
    CSkinRender::FillColor(canvas->DC(), {0, 0, 20, 20}, 0xFF0000FF);
    EXPECT_EQ(PixelAt(*canvas, 0, 0) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(FillTest, RoundClipCutsTheCorners)
{
    const auto canvas = MakeCanvas(40, 40, 0xFF000000);
    UIClip clip;
    clip.ClipToRoundRect(canvas->DC(), {0, 0, 39, 39}, {0, 0, 30, 40}, 20, 20);
    CSkinRender::FillColor(canvas->DC(), {0, 0, 40, 40}, 0xFFFFFFFF);
    clip.Restore();
    EXPECT_EQ(PixelAt(*canvas, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(*canvas, 20, 20) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(PixelAt(*canvas, 35, 20), 0xFF000000u);
}
