#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "core/DibSection.h"

#include <algorithm>

using namespace controltest;

namespace {

constexpr DWORD Black = 0x000000;
constexpr DWORD White = 0xFFFFFF;
constexpr DWORD Red = 0xFF0000;
constexpr DWORD Blue = 0x0000FF;

// A 100 × 100 black canvas and one control, both without a window.
class ControlPaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(canvas.Create(100, 100));
        std::fill_n(canvas.Bits(), 100 * 100, 0xFF000000);
    }

    DWORD Rgb(int x, int y)
    {
        ::GdiFlush();
        return canvas.At(x, y) & 0xFFFFFF;
    }

    void Paint(CControlUI& control, RECT rcPaint = RECT{0, 0, 100, 100}) { control.Paint(canvas.DC(), rcPaint); }

    CDibSectionUI canvas;
};

} // namespace

TEST_F(ControlPaintTest, SixDigitBackgroundHasNoAlphaAndDrawsNothing)
{
    CControlUI control;
    control.SetPosition(RECT{10, 10, 60, 60});
    control.ApplyAttribute(L"bkcolor", L"#FFFFFF");
    Paint(control);
    EXPECT_EQ(Rgb(30, 30), Black);
}

TEST_F(ControlPaintTest, OpaqueBackgroundFillsOnlyThePaintRectangle)
{
    CControlUI control;
    control.SetPosition(RECT{10, 10, 60, 60});
    control.ApplyAttribute(L"bkcolor", L"#FFFFFFFF");
    Paint(control, RECT{0, 0, 30, 30});
    EXPECT_EQ(Rgb(20, 20), White);
    EXPECT_EQ(Rgb(29, 29), White);
    EXPECT_EQ(Rgb(40, 40), Black);
    EXPECT_EQ(Rgb(5, 5), Black);
}

TEST_F(ControlPaintTest, TranslucentBackgroundCoversTheWholeItem)
{
    CControlUI control;
    control.SetPosition(RECT{10, 10, 60, 60});
    control.ApplyAttribute(L"bkcolor", L"#80FF0000");
    Paint(control, RECT{0, 0, 30, 30});
    EXPECT_NE(Rgb(40, 40), Black);
    EXPECT_EQ(Rgb(5, 5), Black);
}

TEST_F(ControlPaintTest, NothingIsPaintedOutsideThePaintRequest)
{
    CControlUI control;
    control.SetPosition(RECT{10, 10, 60, 60});
    control.ApplyAttributeString(L"bkcolor=\"#FFFFFFFF\" bordercolor=\"#FFFF0000\" bordersize=\"1\"");
    Paint(control, RECT{70, 70, 90, 90});
    EXPECT_EQ(Rgb(10, 10), Black);
    EXPECT_EQ(Rgb(30, 30), Black);
}

TEST_F(ControlPaintTest, VerticalGradientRunsFromTheFirstToTheSecondColour)
{
    CControlUI control;
    control.SetPosition(RECT{0, 0, 100, 100});
    control.ApplyAttributeString(L"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF0000FF\"");
    Paint(control);
    EXPECT_GT((Rgb(50, 1) >> 16) & 0xFF, 0xC0u);
    EXPECT_LT(Rgb(50, 1) & 0xFF, 0x40u);
    EXPECT_GT(Rgb(50, 98) & 0xFF, 0xC0u);
    EXPECT_LT((Rgb(50, 98) >> 16) & 0xFF, 0x40u);
}

TEST_F(ControlPaintTest, UniformSizeAfterSideSizesDrawsTheWholeRectangle)
{
    CControlUI control;
    control.SetPosition(RECT{10, 10, 60, 60});
    control.ApplyAttributeString(L"bordercolor=\"#FFFF0000\" bordersize=\"0,0,0,2\" bordersize=\"1\"");
    Paint(control);
    EXPECT_EQ(Rgb(10, 30), Red);
    EXPECT_EQ(Rgb(59, 30), Red);
    EXPECT_EQ(Rgb(30, 10), Red);
    EXPECT_EQ(Rgb(30, 59), Red);
    EXPECT_EQ(Rgb(30, 30), Black);
}

TEST_F(ControlPaintTest, SideSizesAfterUniformSizeDrawOnlyThoseSides)
{
    CControlUI control;
    control.SetPosition(RECT{10, 10, 60, 60});
    control.ApplyAttributeString(L"bordercolor=\"#FFFF0000\" bordersize=\"1\" bordersize=\"0,0,0,2\"");
    Paint(control);
    EXPECT_EQ(Rgb(10, 30), Black);
    EXPECT_EQ(Rgb(30, 10), Black);
    EXPECT_EQ(Rgb(59, 30), Black);
    EXPECT_TRUE(Rgb(30, 59) == Red || Rgb(30, 60) == Red) << "the bottom line";
}

TEST_F(ControlPaintTest, FocusedControlUsesTheFocusColour)
{
    ManagedTree<CContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pChild = tree.Add(L"bordercolor=\"#FFFF0000\" focusbordercolor=\"#FF0000FF\" bordersize=\"1\"");
    pChild->SetPosition(RECT{10, 10, 60, 60});
    pChild->RequestFocus();
    ASSERT_TRUE(pChild->IsFocused());
    Paint(*pChild);
    EXPECT_EQ(Rgb(10, 30), Blue);
}

TEST_F(ControlPaintTest, RoundedCornersClipTheBackground)
{
    CControlUI control;
    control.SetPosition(RECT{10, 10, 60, 60});
    control.ApplyAttributeString(
        L"bkcolor=\"#FFFFFFFF\" bordercolor=\"#FFFF0000\" borderround=\"20,20\" bordersize=\"1\"");
    Paint(control);
    EXPECT_EQ(Rgb(10, 10), Black) << "the corner lies outside the rounded shape";
    EXPECT_EQ(Rgb(35, 35), White);
    EXPECT_EQ(Rgb(35, 10), Red);
    // The clip is lifted afterwards.
    CControlUI other;
    other.SetPosition(RECT{0, 0, 100, 100});
    other.ApplyAttribute(L"bkcolor", L"#FF0000FF");
    Paint(other);
    EXPECT_EQ(Rgb(1, 1), Blue);
}

TEST_F(ControlPaintTest, ContainerClipsChildrenToItsClientAreaButNotFloatingOnes)
{
    ManagedTree<CContainerUI> tree;
    tree.root->ApplyAttribute(L"inset", L"10,10,10,10");
    auto* pFlow = tree.Add(L"bkcolor=\"#FFFFFFFF\"");
    auto* pFloat = tree.Add(L"float=\"true\" pos=\"0,0,8,8\" bkcolor=\"#FFFF0000\"");
    tree.Layout(RECT{0, 0, 100, 100});
    // A child pushed over the inset is cut at the client area.
    pFlow->SetPosition(RECT{0, 0, 100, 100});
    Paint(*tree.root);
    EXPECT_EQ(Rgb(5, 50), Black);
    EXPECT_EQ(Rgb(50, 50), White);
    EXPECT_EQ(Rgb(3, 3), Red) << "a floating child may cover the inset";
    EXPECT_EQ(pFloat->Position(), (RECT{0, 0, 8, 8}));
}

TEST_F(ControlPaintTest, LaterChildrenCoverEarlierOnes)
{
    ManagedTree<CContainerUI> tree;
    tree.Add(L"float=\"true\" pos=\"10,10,50,50\" bkcolor=\"#FFFF0000\"");
    tree.Add(L"float=\"true\" pos=\"30,30,70,70\" bkcolor=\"#FF0000FF\"");
    tree.Layout(RECT{0, 0, 100, 100});
    Paint(*tree.root);
    EXPECT_EQ(Rgb(20, 20), Red);
    EXPECT_EQ(Rgb(40, 40), Blue);
}
