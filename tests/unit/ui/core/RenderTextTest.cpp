#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include "RenderTestCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace Tarvo;
using namespace rendertest;

namespace {

constexpr DWORD kWhite = 0xFFFFFFFF;

// Bounding box of the pixels that differ from the fill; empty when none.
RECT Inked(const CDibSectionUI& canvas, DWORD fill)
{
    ::GdiFlush();
    RECT rc = {canvas.Width(), canvas.Height(), 0, 0};
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.At(x, y) != fill) {
                rc = {std::min<LONG>(rc.left, x), std::min<LONG>(rc.top, y), std::max<LONG>(rc.right, x + 1),
                      std::max<LONG>(rc.bottom, y + 1)};
            }
        }
    }
    return rc.right > rc.left ? rc : RECT{0, 0, 0, 0};
}

int DarkestChannel(const CDibSectionUI& canvas)
{
    ::GdiFlush();
    int darkest = 255;
    for (int i = 0; i < canvas.Width() * canvas.Height(); ++i) {
        darkest = std::min(
            {darkest, ChannelOf(canvas.Bits()[i], 0), ChannelOf(canvas.Bits()[i], 8), ChannelOf(canvas.Bits()[i], 16)});
    }
    return darkest;
}

class RenderTextTest : public testing::Test {
protected:
    std::unique_ptr<CDibSectionUI> Paint(const wchar_t* text, DWORD color, int font, UINT style,
                                         RECT rc = {4, 4, 196, 36})
    {
        auto canvas = MakeCanvas(200, 40, kWhite);
        CSkinRender::PaintText(canvas->DC(), &m_manager, rc, text, color, font, style);
        return canvas;
    }

    CWindowManagerUI m_manager;
};

} // namespace

TEST_F(RenderTextTest, GdiDrawsTheColourWithoutItsAlpha)
{
    const auto canvas = Paint(L"Hello world", 0x00444444, -1, DT_SINGLELINE);
    EXPECT_EQ(DarkestChannel(*canvas), 0x44);
    const RECT rcInk = Inked(*canvas, kWhite);
    EXPECT_GE(rcInk.left, 4);
    EXPECT_LE(rcInk.right, 196);
}

TEST_F(RenderTextTest, GdiplusDrawsWhenTheWindowIsLayeredOrAsksForIt)
{
    for (bool bLayered : {true, false}) {
        m_manager.SetLayered(bLayered);
        m_manager.SetUseGdiplusText(!bLayered);
        const auto canvas = Paint(L"Hello world", 0x00444444, -1, DT_SINGLELINE);
        // Alpha 0xFE over white can never reach the pure colour.
        EXPECT_GT(DarkestChannel(*canvas), 0x44) << bLayered;
        EXPECT_LT(DarkestChannel(*canvas), 0x60) << bLayered;
    }
}

TEST_F(RenderTextTest, CalcRectMeasuresWithoutDrawingOnBothPaths)
{
    for (bool bGdiplus : {false, true}) {
        m_manager.SetUseGdiplusText(bGdiplus);
        auto canvas = MakeCanvas(200, 40, kWhite);
        RECT rc = {4, 4, 196, 36};
        CSkinRender::PaintText(canvas->DC(), &m_manager, rc, L"Hello", 0xFF000000, -1, DT_SINGLELINE | DT_CALCRECT);
        EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, kWhite)) << bGdiplus;
        EXPECT_EQ(rc.left, 4);
        EXPECT_GT(rc.right, 4 + 10) << bGdiplus;
        EXPECT_LT(rc.right, 4 + 120) << bGdiplus;
        EXPECT_GT(rc.bottom, 4 + 5) << bGdiplus;
    }
}

TEST_F(RenderTextTest, AlignmentFlagsMoveTheText)
{
    for (bool bGdiplus : {false, true}) {
        m_manager.SetUseGdiplusText(bGdiplus);
        const RECT rcLeft = Inked(*Paint(L"ab", 0xFF000000, -1, DT_SINGLELINE), kWhite);
        const RECT rcRight = Inked(*Paint(L"ab", 0xFF000000, -1, DT_SINGLELINE | DT_RIGHT), kWhite);
        const RECT rcCenter = Inked(*Paint(L"ab", 0xFF000000, -1, DT_SINGLELINE | DT_CENTER | DT_VCENTER), kWhite);
        EXPECT_LT(rcLeft.right, 60) << bGdiplus;
        EXPECT_GT(rcRight.left, 150) << bGdiplus;
        EXPECT_GT(rcCenter.left, rcLeft.right) << bGdiplus;
        EXPECT_LT(rcCenter.right, rcRight.left) << bGdiplus;
        EXPECT_GT(rcCenter.top, rcLeft.top) << bGdiplus;
    }
}

TEST_F(RenderTextTest, FontIndexOutOfRangeUsesTheDefaultFont)
{
    const HFONT hBig = m_manager.AddFont(L"Tahoma", 24, true, false, false);
    ASSERT_NE(hBig, nullptr);
    const auto byDefault = Paint(L"Wide", 0xFF000000, -1, DT_SINGLELINE);
    const auto outOfRange = Paint(L"Wide", 0xFF000000, 57, DT_SINGLELINE);
    const auto big = Paint(L"Wide", 0xFF000000, 0, DT_SINGLELINE);
    EXPECT_EQ(std::memcmp(byDefault->Bits(), outOfRange->Bits(), 200 * 40 * 4), 0);
    EXPECT_NE(std::memcmp(byDefault->Bits(), big->Bits(), 200 * 40 * 4), 0);
}

TEST_F(RenderTextTest, NothingWithoutTextOrManager)
{
    auto canvas = MakeCanvas(50, 20, kWhite);
    RECT rc = {0, 0, 50, 20};
    CSkinRender::PaintText(canvas->DC(), nullptr, rc, L"x", 0xFF000000, -1, 0);
    CSkinRender::PaintText(canvas->DC(), &m_manager, rc, nullptr, 0xFF000000, -1, 0);
    CSkinRender::PaintText(canvas->DC(), &m_manager, rc, L"", 0xFF000000, -1, DT_CALCRECT);
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, kWhite));
    EXPECT_EQ(rc.right, 50);
}
