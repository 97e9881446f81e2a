#include "core/SkinRender.h"
#include "core/UIClip.h"
#include "core/WindowManager.h"

#include "PngWriter.h"
#include "RenderTestCanvas.h"
#include "ScopedResourceSettings.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace Tarvo;
using namespace rendertest;
using namespace wxlmtest;

namespace {

constexpr DWORD kBackground = 0xFF0A0B0C;

std::vector<uint32_t> Pixels(int width, int height, const std::function<DWORD(int, int)>& pixel)
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(pixel(x, y));
        }
    }
    return pixels;
}

DWORD Gradient100(int x, int y)
{
    return 0xFF000000 | static_cast<DWORD>(x << 16) | static_cast<DWORD>(y << 8) | 0x33;
}

class RenderImageTest : public testing::Test {
protected:
    void SetUp() override
    {
        CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
        WriteImage(L"bordered.png", 12, 13, BorderedPixel);
        WriteImage(L"gradient.png", 100, 100, Gradient100);
        WriteImage(L"red.png", 50, 50, [](int, int) { return 0xFFFF0000; });
        WriteImage(L"blue.png", 10, 10, [](int, int) { return 0xFF0000FF; });
    }

    void WriteImage(const wchar_t* name, int width, int height, const std::function<DWORD(int, int)>& pixel)
    {
        ASSERT_TRUE(WriteFileBytes(m_dir / name, EncodePng(width, height, Pixels(width, height, pixel))));
    }

    // Draws the description into an item of a fresh canvas, clipped to the item.
    std::unique_ptr<CDibSectionUI> Paint(const wchar_t* description, const RECT& rcItem, int width = 60,
                                         int height = 60, bool* pResult = nullptr)
    {
        auto canvas = MakeCanvas(width, height, kBackground);
        UIClip clip;
        clip.ClipToRect(canvas->DC(), rcItem);
        const bool bResult = CSkinRender::PaintImageSpec(canvas->DC(), &m_manager, rcItem, rcItem, description);
        if (pResult != nullptr) {
            *pResult = bResult;
        }
        return canvas;
    }

    ScopedResourceSettings m_settings;
    TempDir m_dir;
    CWindowManagerUI m_manager;
};

} // namespace

TEST_F(RenderImageTest, CornerDescriptionKeepsBordersUnscaled)
{
    const auto canvas = Paint(L"file='bordered.png' corner='3,3,3,3'", {0, 0, 530, 13}, 530, 13);
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 530; ++x) {
            ASSERT_EQ(PixelAt(*canvas, x, y) & 0xFFFFFF, ExpectedNineGridPixel(x, y, 530, 13) & 0xFFFFFF)
                << x << "," << y;
        }
    }
}

TEST_F(RenderImageTest, UnknownKeyStillDraws)
{
    const auto canvas = Paint(L"file='blue.png' glitter='9' dest='0,0,10,10'", {5, 5, 35, 35});
    EXPECT_EQ(PixelAt(*canvas, 9, 9) & 0xFFFFFF, 0x0000FFu);
    EXPECT_TRUE(UntouchedOutside(*canvas, {5, 5, 15, 15}, kBackground));
}

TEST_F(RenderImageTest, DestinationBeyondTheItemIsCutToIt)
{
    const RECT rcItem = {10, 10, 40, 40};
    const auto canvas = Paint(L"file='red.png' dest='0,0,50,50'", rcItem);
    EXPECT_EQ(PixelAt(*canvas, 10, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(PixelAt(*canvas, 39, 39) & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(UntouchedOutside(*canvas, rcItem, kBackground));
}

TEST_F(RenderImageTest, SourceBeyondTheBitmapUsesTheWholeBitmap)
{
    const auto canvas = Paint(L"file='gradient.png' source='0,0,500,500'", {0, 0, 100, 100}, 100, 100);
    for (int i = 0; i < 100; i += 11) {
        ASSERT_EQ(PixelAt(*canvas, i, 99 - i), Gradient100(i, 99 - i)) << i;
    }
}

TEST_F(RenderImageTest, FadeMakesAnOpaqueImageHalfTransparent)
{
    auto canvas = MakeCanvas(20, 20, 0);
    CSkinRender::PaintImageSpec(canvas->DC(), &m_manager, {0, 0, 20, 20}, {0, 0, 20, 20}, L"file='red.png' fade='128'");
    const DWORD pixel = PixelAt(*canvas, 10, 10);
    EXPECT_NEAR(ChannelOf(pixel, 24), 128, 1);
    EXPECT_NEAR(ChannelOf(pixel, 16), 128, 1);
}

TEST_F(RenderImageTest, SeveralFilesDrawSeveralImages)
{
    const auto canvas = Paint(L"file='red.png' dest='0,0,10,10' file='blue.png' dest='10,0,20,10'", {0, 0, 30, 30});
    EXPECT_EQ(PixelAt(*canvas, 5, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(PixelAt(*canvas, 15, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 20, 10}, kBackground));
}

TEST_F(RenderImageTest, PlainNameDrawsOverTheWholeItemAndTheModifierApplies)
{
    auto canvas = MakeCanvas(40, 40, kBackground);
    CSkinRender::PaintImageSpec(canvas->DC(), &m_manager, {0, 0, 40, 40}, {0, 0, 40, 40}, L"blue.png",
                                L"dest='20,20,30,30'");
    EXPECT_EQ(PixelAt(*canvas, 25, 25) & 0xFFFFFF, 0x0000FFu);
    EXPECT_TRUE(UntouchedOutside(*canvas, {20, 20, 30, 30}, kBackground));
    canvas = Paint(L"blue.png", {0, 0, 40, 40});
    EXPECT_EQ(PixelAt(*canvas, 39, 39) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(RenderImageTest, MissingImageDrawsNothingYetIsRetriedAtTheNextPaint)
{
    bool bResult = false;
    auto canvas = Paint(L"file='later.png'", {0, 0, 20, 20}, 20, 20, &bResult);
    EXPECT_TRUE(bResult) << "the description is kept";
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, kBackground));
    EXPECT_FALSE(CSkinRender::PaintImage(canvas->DC(), &m_manager, {0, 0, 20, 20}, {0, 0, 20, 20}, L"later.png",
                                         nullptr, {0, 0, 20, 20}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0, 255, false, false,
                                         false));
    WriteImage(L"later.png", 4, 4, [](int, int) { return 0xFF00FF00; });
    canvas = Paint(L"file='later.png'", {0, 0, 20, 20}, 20, 20);
    EXPECT_EQ(PixelAt(*canvas, 10, 10) & 0xFFFFFF, 0x00FF00u);
}

TEST_F(RenderImageTest, EmptyFirstValueLeavesTheWholeDescriptionAsName)
{
    bool bResult = false;
    const auto canvas = Paint(L"file='' corner='1,1,1,1'", {0, 0, 20, 20}, 20, 20, &bResult);
    EXPECT_TRUE(bResult);
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, kBackground));
}

TEST_F(RenderImageTest, MalformedDescriptionsNeverDrawOutsideTheClip)
{
    const wchar_t* descriptions[] = {
        L"file='red.png",
        L"file='red.png' dest='1,2,3",
        L"file 'red.png'",
        L"file='red.png' dest=''",
        L"file='red.png' dest='-100,-100,100,100'",
        L"file='red.png' dest='99999999999,99999999999,99999999999,99999999999'",
        L"file='red.png' dest='-99999999999,-99999999999,99999999999,99999999999'",
        L"file='red.png' dest='10,10,10,10'",
        L"file='red.png' dest='20,20,5,5'",
        L"file='bordered.png' corner='-40,-40,-40,-40'",
        L"file='bordered.png' corner='99999999999,5,99999999999,5'",
        L"file='red.png' source='-50,-50,-10,-10'",
        L"file='red.png' source='40,40,10,10' fade='99999'",
        L"file='red.png' xtiled='true' ytiled='true' source='0,0,1,1'",
        L"file='red.png' mask='zz' fade='x' hole='true' corner='25,25,25,25'",
        L"file='red.png' res='7' restype='PNG'",
        L"=",
        L"''''''",
    };
    const RECT rcItem = {10, 10, 40, 40};
    for (const wchar_t* description : descriptions) {
        bool bResult = false;
        const auto canvas = Paint(description, rcItem, 60, 60, &bResult);
        EXPECT_TRUE(bResult) << testing::PrintToString(std::wstring(description));
        EXPECT_TRUE(UntouchedOutside(*canvas, rcItem, kBackground))
            << testing::PrintToString(std::wstring(description));
    }
}

TEST_F(RenderImageTest, ZeroOrNegativeDestinationDrawsNothing)
{
    for (const wchar_t* description : {L"file='red.png' dest='10,10,10,30'", L"file='red.png' dest='20,20,5,5'"}) {
        const auto canvas = Paint(description, {0, 0, 40, 40}, 40, 40);
        EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, kBackground));
    }
}

TEST_F(RenderImageTest, NoDeviceContextOrManagerGivesFalse)
{
    const auto canvas = MakeCanvas(10, 10, kBackground);
    EXPECT_FALSE(CSkinRender::PaintImageSpec(nullptr, &m_manager, {0, 0, 10, 10}, {0, 0, 10, 10}, L"red.png"));
    EXPECT_FALSE(CSkinRender::PaintImageSpec(canvas->DC(), nullptr, {0, 0, 10, 10}, {0, 0, 10, 10}, L"red.png"));
    EXPECT_FALSE(CSkinRender::PaintImage(canvas->DC(), &m_manager, {0, 0, 10, 10}, {0, 0, 10, 10}, L"", nullptr,
                                         {0, 0, 10, 10}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0, 255, false, false, false));
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, kBackground));
}

TEST_F(RenderImageTest, PaintRectangleOutsideTheDestinationDrawsNothingButSucceeds)
{
    auto canvas = MakeCanvas(40, 40, kBackground);
    EXPECT_TRUE(CSkinRender::PaintImage(canvas->DC(), &m_manager, {0, 0, 40, 40}, {30, 30, 40, 40}, L"blue.png",
                                        nullptr, {0, 0, 20, 20}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0, 255, false, false,
                                        false));
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, kBackground));
}
