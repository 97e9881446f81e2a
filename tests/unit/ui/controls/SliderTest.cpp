#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/ControlTable.h"
#include "controls/Slider.h"

#include <climits>
#include <memory>

using namespace controltest;

namespace {

ControlEvent MouseEvent(int type, LONG x, LONG y)
{
    ControlEvent event;
    event.type = type;
    event.mousePoint = {x, y};
    return event;
}

ControlEvent KeyEvent(WPARAM vk)
{
    ControlEvent event;
    event.type = EventKeyDown;
    event.wParam = vk;
    return event;
}

// A 0–100 slider 110 wide with a 10 × 10 thumb: each pixel of the 100-pixel track is one unit.
class SliderTest : public ::testing::Test {
protected:
    SliderTest() { tree.Layout(RECT{0, 0, 110, 20}); }
    CSliderUI& slider() { return *tree.root; }
    void Send(ControlEvent event) { slider().HandleEvent(event); }
    ManagedTree<CSliderUI> tree;
};

} // namespace

TEST(SliderNamesTest, ElementTypeNameAndInterfaces)
{
    std::unique_ptr<CControlUI> pControl(CreateControlByElement(L"Slider"));
    ASSERT_NE(pControl, nullptr);
    EXPECT_STREQ(pControl->TypeName(), L"SliderUI");
    EXPECT_EQ(pControl->LookupInterface(L"Slider"), pControl.get());
    EXPECT_EQ(pControl->LookupInterface(L"Progress"), pControl.get());
    EXPECT_EQ(pControl->LookupInterface(L"Label"), pControl.get());
    EXPECT_EQ(pControl->LookupInterface(L"Button"), nullptr);
    auto* pSlider = static_cast<CSliderUI*>(pControl.get());
    EXPECT_EQ(pSlider->Step(), 1);
    EXPECT_EQ(pSlider->ThumbSize(), (SIZE{10, 10}));
    EXPECT_FALSE(pSlider->IsSendMove());
}

TEST_F(SliderTest, ThumbFollowsTheValueOnBothAxes)
{
    EXPECT_EQ(slider().ThumbRect(), (RECT{0, 5, 10, 15}));
    slider().SetValue(50);
    EXPECT_EQ(slider().ThumbRect(), (RECT{50, 5, 60, 15}));
    slider().SetValue(100);
    EXPECT_EQ(slider().ThumbRect(), (RECT{100, 5, 110, 15}));
    // Vertical: the maximum is at the top, like the fill.
    slider().ApplyAttribute(L"hor", L"false");
    slider().ApplyAttribute(L"thumbsize", L"20,4");
    tree.Layout(RECT{0, 0, 30, 104});
    EXPECT_EQ(slider().ThumbRect(), (RECT{5, 0, 25, 4}));
    slider().SetValue(25);
    EXPECT_EQ(slider().ThumbRect(), (RECT{5, 75, 25, 79}));
}

TEST_F(SliderTest, DraggingSnapsToStepsAndNotifiesOnRelease)
{
    slider().ApplyAttribute(L"step", L"5");
    Send(MouseEvent(EventButtonDown, 5, 10));
    EXPECT_TRUE(slider().IsDragging());
    Send(MouseEvent(EventMouseMove, 5 + 32, 10));
    EXPECT_EQ(slider().Value(), 30) << "32 units snap to the nearest step";
    Send(MouseEvent(EventMouseMove, 5 + 33, 10));
    EXPECT_EQ(slider().Value(), 35);
    EXPECT_TRUE(tree.notifications.Types().empty()) << "no sendmove: nothing while dragging";
    Send(MouseEvent(EventMouseMove, 500, 10));
    EXPECT_EQ(slider().Value(), 100) << "past the end: the maximum";
    Send(MouseEvent(EventButtonUp, 500, 10));
    EXPECT_FALSE(slider().IsDragging());
    EXPECT_EQ(tree.notifications.Types(), (std::vector<std::wstring>{L"valuechanged"}));
}

TEST_F(SliderTest, SendMoveReportsEveryChangeWhileDragging)
{
    slider().ApplyAttribute(L"sendmove", L"true");
    Send(MouseEvent(EventButtonDown, 5, 10));
    Send(MouseEvent(EventMouseMove, 15, 10));
    Send(MouseEvent(EventMouseMove, 15, 12)); // same value: nothing
    Send(MouseEvent(EventMouseMove, 25, 10));
    Send(MouseEvent(EventButtonUp, 25, 10));
    EXPECT_EQ(tree.notifications.Types(),
              (std::vector<std::wstring>{L"movevaluechanged", L"movevaluechanged", L"valuechanged"}));
    EXPECT_EQ(slider().Value(), 20);
}

TEST_F(SliderTest, ReleaseWhereItStartedIsNoChange)
{
    slider().SetValue(40);
    Send(MouseEvent(EventButtonDown, 45, 10));
    Send(MouseEvent(EventMouseMove, 60, 10));
    Send(MouseEvent(EventButtonUp, 45, 10));
    EXPECT_EQ(slider().Value(), 40);
    EXPECT_TRUE(tree.notifications.Types().empty());
}

TEST_F(SliderTest, ClickOnTheTrackMovesOneStepTowardsIt)
{
    slider().ApplyAttribute(L"step", L"10");
    slider().SetValue(50);
    Send(MouseEvent(EventButtonDown, 100, 10));
    Send(MouseEvent(EventButtonUp, 100, 10));
    EXPECT_EQ(slider().Value(), 60);
    Send(MouseEvent(EventButtonDown, 2, 10));
    EXPECT_EQ(slider().Value(), 50);
    EXPECT_FALSE(slider().IsDragging());
    EXPECT_EQ(tree.notifications.Types(), (std::vector<std::wstring>{L"valuechanged", L"valuechanged"}));
}

TEST_F(SliderTest, KeysMoveByStepPageAndToTheEnds)
{
    slider().ApplyAttribute(L"step", L"3");
    struct KeyCase {
        WPARAM vk;
        int expected;
    };
    // Right/Up raise, Left/Down lower; a page is a tenth of the range; the maximum is always
    // reachable even when it is not on a step, and a step back from it lands on the nearest step.
    const KeyCase cases[] = {{VK_RIGHT, 3}, {VK_UP, 6},    {VK_LEFT, 3}, {VK_DOWN, 0},  {VK_DOWN, 0}, {VK_PRIOR, 9},
                             {VK_NEXT, 0},  {VK_END, 100}, {VK_UP, 100}, {VK_LEFT, 96}, {VK_HOME, 0}};
    for (const KeyCase& c : cases) {
        Send(KeyEvent(c.vk));
        EXPECT_EQ(slider().Value(), c.expected) << c.vk;
    }
    EXPECT_EQ(tree.notifications.Types().size(), 9u) << "one valuechanged per change, none at the ends";
}

TEST_F(SliderTest, DisabledSliderIgnoresMouseAndKeys)
{
    slider().SetEnabled(false);
    Send(MouseEvent(EventButtonDown, 5, 10));
    Send(MouseEvent(EventMouseMove, 80, 10));
    Send(MouseEvent(EventButtonUp, 80, 10));
    Send(KeyEvent(VK_RIGHT));
    EXPECT_EQ(slider().Value(), 0);
    EXPECT_TRUE(tree.notifications.Types().empty());
    EXPECT_EQ(slider().InputFlags(), 0u);
}

TEST_F(SliderTest, RangeInTheWrongOrderIsRepairedAndStillDrags)
{
    slider().ApplyAttribute(L"min", L"50");
    slider().ApplyAttribute(L"max", L"10");
    slider().ApplyAttribute(L"value", L"30");
    EXPECT_EQ(slider().ThumbRect(), (RECT{0, 5, 10, 15}));
    EXPECT_EQ(slider().MaxValue(), 51);
    EXPECT_EQ(slider().Value(), 50);
    Send(KeyEvent(VK_RIGHT));
    EXPECT_EQ(slider().Value(), 51);
    Send(MouseEvent(EventButtonDown, 105, 10));
    Send(MouseEvent(EventMouseMove, 0, 10));
    Send(MouseEvent(EventButtonUp, 0, 10));
    EXPECT_EQ(slider().Value(), 50);
}

TEST_F(SliderTest, ExtremeRangesAndStepsStayInside)
{
    // Attributes stop at a million; code may set the whole int range.
    slider().SetMinValue(INT_MIN);
    slider().SetMaxValue(INT_MAX);
    slider().SetStep(INT_MAX);
    // The steps from the minimum are INT_MIN, -1 and 2147483646; the maximum is reachable too.
    const std::pair<WPARAM, int> keys[] = {
        {VK_LEFT, INT_MIN}, {VK_RIGHT, -1}, {VK_RIGHT, 2147483646}, {VK_PRIOR, INT_MAX}};
    for (const auto& [vk, expected] : keys) {
        Send(KeyEvent(vk));
        EXPECT_EQ(slider().Value(), expected) << vk;
    }
    Send(MouseEvent(EventButtonDown, 105, 10));
    Send(MouseEvent(EventMouseMove, 55, 10));
    Send(MouseEvent(EventButtonUp, 55, 10));
    EXPECT_GE(slider().Value(), slider().MinValue());
    EXPECT_LE(slider().Value(), slider().MaxValue());
    for (const wchar_t* step : {L"0", L"-5", L"x"}) {
        slider().ApplyAttribute(L"step", step);
        EXPECT_EQ(slider().Step(), 1) << step;
    }
    slider().ApplyAttribute(L"thumbsize", L"-4,-9");
    EXPECT_EQ(slider().ThumbSize(), (SIZE{0, 0}));
}
