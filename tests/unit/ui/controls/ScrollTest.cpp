#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/HorizontalLayout.h"
#include "controls/ScrollBar.h"
#include "controls/VerticalLayout.h"

using namespace controltest;

namespace {

// A 100-pixel-high vertical layout with a vertical scroll bar and ten 30-pixel rows: 300
// pixels of content, so a range of 200.
class ScrollTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.root->EnableScrollBar(true, false);
        for (int i = 0; i < 10; ++i) {
            rows[i] = tree.Add(L"height=\"30\"");
        }
        tree.root->SetScrollStepSize(10);
        tree.Layout(RECT{0, 0, 200, 100});
    }

    ManagedTree<CVerticalLayoutUI> tree;
    CControlUI* rows[10] = {};
};

} // namespace

TEST_F(ScrollTest, ContentTallerThanTheLayoutShowsTheBarWithTheExcessAsRange)
{
    CScrollBarUI* pBar = tree.root->VerticalScrollBar();
    ASSERT_TRUE(pBar->IsVisible());
    EXPECT_EQ(pBar->ScrollRange(), 200);
    EXPECT_EQ(tree.root->ScrollRange(), (SIZE{0, 200}));
    EXPECT_EQ(pBar->Position(), (RECT{184, 0, 200, 100}));
    EXPECT_EQ(rows[0]->Position(), (RECT{0, 0, 184, 30}));
    EXPECT_EQ(rows[9]->Position(), (RECT{0, 270, 184, 300}));
}

TEST_F(ScrollTest, ScrollingBeyondTheRangeStopsAtTheRangeAndBelowZeroAtZero)
{
    tree.root->SetScrollPosition(SIZE{0, 5000});
    EXPECT_EQ(tree.root->ScrollPosition(), (SIZE{0, 200}));
    EXPECT_EQ(rows[9]->Position(), (RECT{0, 70, 184, 100}));
    tree.root->SetScrollPosition(SIZE{0, -70});
    EXPECT_EQ(tree.root->ScrollPosition(), (SIZE{0, 0}));
    EXPECT_EQ(rows[0]->Position(), (RECT{0, 0, 184, 30}));
}

TEST_F(ScrollTest, LineAndPageStepsAndTheEnds)
{
    tree.root->ScrollLineDown();
    EXPECT_EQ(tree.root->ScrollPosition().cy, 10);
    tree.root->ScrollPageDown();
    EXPECT_EQ(tree.root->ScrollPosition().cy, 110);
    tree.root->ScrollLineUp();
    EXPECT_EQ(tree.root->ScrollPosition().cy, 100);
    tree.root->ScrollToBottom();
    EXPECT_EQ(tree.root->ScrollPosition().cy, 200);
    tree.root->ScrollPageUp();
    EXPECT_EQ(tree.root->ScrollPosition().cy, 100);
    tree.root->ScrollToTop();
    EXPECT_EQ(tree.root->ScrollPosition().cy, 0);
    EXPECT_EQ(rows[0]->Top(), 0);
}

TEST_F(ScrollTest, ARelayoutKeepsTheScrollOffset)
{
    tree.root->SetScrollPosition(SIZE{0, 45});
    tree.Layout(RECT{0, 0, 200, 100});
    EXPECT_EQ(rows[0]->Top(), -45);
}

TEST_F(ScrollTest, KeysAndWheelScrollThroughHandleEvent)
{
    struct Case {
        int type;
        WPARAM wParam;
        int expected;
    };
    const Case cases[] = {
        {EventKeyDown, VK_DOWN, 10}, {EventKeyDown, VK_NEXT, 110}, {EventKeyDown, VK_END, 200},
        {EventKeyDown, VK_UP, 190},  {EventKeyDown, VK_PRIOR, 90}, {EventKeyDown, VK_HOME, 0},
        {EventScrollWheel, 1, 10},   {EventScrollWheel, 0, 0},
    };
    for (const Case& c : cases) {
        ControlEvent event;
        event.type = c.type;
        event.wParam = c.wParam;
        tree.root->HandleEvent(event);
        EXPECT_EQ(tree.root->ScrollPosition().cy, c.expected) << c.type << " " << c.wParam;
    }
}

TEST_F(ScrollTest, WhenTheContentFitsAgainTheBarHidesAndTheOffsetGoes)
{
    tree.root->SetScrollPosition(SIZE{0, 150});
    for (int i = 3; i < 10; ++i) {
        rows[i]->SetVisible(false);
    }
    tree.Layout(RECT{0, 0, 200, 100});
    EXPECT_FALSE(tree.root->VerticalScrollBar()->IsVisible());
    EXPECT_EQ(tree.root->ScrollPosition(), (SIZE{0, 0}));
    EXPECT_EQ(rows[0]->Position(), (RECT{0, 0, 200, 30}));
}

TEST_F(ScrollTest, GrowingTheLayoutLowersTheRange)
{
    tree.root->ScrollToBottom();
    tree.Layout(RECT{0, 0, 200, 250});
    EXPECT_EQ(tree.root->ScrollRange().cy, 50);
    EXPECT_EQ(tree.root->ScrollPosition().cy, 50);
    EXPECT_EQ(rows[9]->Position().bottom, 250);
}

TEST_F(ScrollTest, TheScrollBarsLineButtonDrivesItsOwner)
{
    CScrollBarUI* pBar = tree.root->VerticalScrollBar();
    const RECT rcDown = pBar->PartRect(CScrollBarUI::PartButton2);
    ASSERT_FALSE(::IsRectEmpty(&rcDown));
    ControlEvent event;
    event.type = EventButtonDown;
    event.mousePoint = POINT{(rcDown.left + rcDown.right) / 2, (rcDown.top + rcDown.bottom) / 2};
    pBar->HandleEvent(event);
    EXPECT_EQ(tree.root->ScrollPosition().cy, 10) << "the owner's line step, not the bar's";
    // The repeat timer steps again.
    ControlEvent timer;
    timer.type = EventTimer;
    timer.wParam = CScrollBarUI::RepeatTimerId;
    pBar->HandleEvent(timer);
    EXPECT_EQ(tree.root->ScrollPosition().cy, 20);
    event.type = EventButtonUp;
    pBar->HandleEvent(event);
    pBar->HandleEvent(timer);
    EXPECT_EQ(tree.root->ScrollPosition().cy, 20) << "released: no more repeats";
    EXPECT_TRUE(tree.notifications.records.empty()) << "an owned bar sends no \"scroll\"";
}

TEST_F(ScrollTest, DraggingTheThumbScrollsInProportion)
{
    CScrollBarUI* pBar = tree.root->VerticalScrollBar();
    const RECT rcThumb = pBar->PartRect(CScrollBarUI::PartThumb);
    ASSERT_FALSE(::IsRectEmpty(&rcThumb));
    const int nTravel = (100 - 32) - (rcThumb.bottom - rcThumb.top);
    ControlEvent event;
    event.type = EventButtonDown;
    event.mousePoint = POINT{190, rcThumb.top + 2};
    pBar->HandleEvent(event);
    event.type = EventMouseMove;
    event.mousePoint.y += nTravel / 2;
    pBar->HandleEvent(event);
    EXPECT_NEAR(tree.root->ScrollPosition().cy, 100, 3);
    event.mousePoint.y += 1000;
    pBar->HandleEvent(event);
    EXPECT_EQ(tree.root->ScrollPosition().cy, 200);
    event.type = EventButtonUp;
    pBar->HandleEvent(event);
}

TEST(ScrollBarTest, WithoutAnOwnerTheBarMovesItselfAndSendsScroll)
{
    ManagedTree<CContainerUI> tree;
    auto* pBar = tree.Add<CScrollBarUI>(L"range=\"50\" linesize=\"20\" value=\"10\"");
    tree.Layout(RECT{0, 0, 16, 200});
    EXPECT_STREQ(pBar->TypeName(), L"ScrollBarUI");
    EXPECT_EQ(pBar->LookupInterface(L"ScrollBar"), pBar);
    EXPECT_EQ(pBar->ScrollPos(), 10);
    const RECT rcUp = pBar->PartRect(CScrollBarUI::PartButton1);
    ControlEvent event;
    event.type = EventButtonDown;
    event.mousePoint = POINT{8, (rcUp.top + rcUp.bottom) / 2};
    pBar->HandleEvent(event);
    EXPECT_EQ(pBar->ScrollPos(), 0);
    ASSERT_EQ(tree.notifications.records.size(), 1u);
    EXPECT_EQ(tree.notifications.records[0].type, L"scroll");
    EXPECT_EQ(tree.notifications.records[0].sender, pBar);
    // At the end nothing moves, so nothing is sent.
    pBar->HandleEvent(event);
    EXPECT_EQ(tree.notifications.records.size(), 1u);
}

TEST(ScrollBarTest, AttributesAndBadValues)
{
    CScrollBarUI bar;
    EXPECT_EQ(bar.DeclaredWidth(), 16);
    EXPECT_EQ(bar.ScrollRange(), 100);
    EXPECT_EQ(bar.LineSize(), 8);
    bar.ApplyAttribute(L"thumbhotimage", L"thumb_hot.png");
    bar.ApplyAttribute(L"bkdisabledimage", L"bk_off.png");
    bar.ApplyAttribute(L"button2pushedimage", L"down.png");
    bar.ApplyAttribute(L"thumbhotimagex", L"ignored.png");
    EXPECT_EQ(bar.PartImage(CScrollBarUI::PartThumb, CScrollBarUI::StateHot), L"thumb_hot.png");
    EXPECT_EQ(bar.PartImage(CScrollBarUI::PartBack, CScrollBarUI::StateDisabled), L"bk_off.png");
    EXPECT_EQ(bar.PartImage(CScrollBarUI::PartButton2, CScrollBarUI::StatePushed), L"down.png");
    bar.ApplyAttribute(L"range", L"-5");
    EXPECT_EQ(bar.ScrollRange(), 0);
    bar.ApplyAttribute(L"value", L"30");
    EXPECT_EQ(bar.ScrollPos(), 0);
    bar.ApplyAttribute(L"range", L"99999999999");
    bar.ApplyAttribute(L"value", L"-3");
    EXPECT_EQ(bar.ScrollPos(), 0);
    bar.ApplyAttribute(L"linesize", L"0");
    EXPECT_EQ(bar.LineSize(), 8);
    bar.ApplyAttribute(L"showbutton1", L"false");
    EXPECT_FALSE(bar.IsButtonShown(CScrollBarUI::PartButton1));
    bar.SetPosition(RECT{0, 0, 16, 100});
    const RECT rcButton1 = bar.PartRect(CScrollBarUI::PartButton1);
    EXPECT_TRUE(::IsRectEmpty(&rcButton1));
    bar.SetHorizontal(true);
    EXPECT_EQ(bar.DeclaredHeight(), 16);
    bar.SetHorizontal(false);
    EXPECT_EQ(bar.DeclaredWidth(), 16) << "kept: a declared width exists";
}

TEST(ScrollBarTest, HorizontalLayoutShowsItsBarWhenTheRowIsTooWide)
{
    ManagedTree<CHorizontalLayoutUI> tree;
    tree.root->EnableScrollBar(false, true);
    CControlUI* cells[4] = {};
    for (auto& cell : cells) {
        cell = tree.Add(L"width=\"80\"");
    }
    tree.Layout(RECT{0, 0, 200, 100});
    CScrollBarUI* pBar = tree.root->HorizontalScrollBar();
    ASSERT_TRUE(pBar->IsVisible());
    EXPECT_EQ(pBar->ScrollRange(), 120);
    EXPECT_EQ(cells[3]->Position(), (RECT{240, 0, 320, 84}));
    EXPECT_EQ(pBar->Position(), (RECT{0, 84, 200, 100}));

    tree.root->SetScrollPosition(SIZE{500, 0});
    EXPECT_EQ(tree.root->ScrollPosition().cx, 120);
    EXPECT_EQ(cells[3]->Position().right, 200);

    // Hiding the bar asks for another pass, which gives the row the height the bar had.
    tree.Layout(RECT{0, 0, 400, 100});
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_TRUE(tree.root->IsUpdateNeeded());
    tree.Layout(RECT{0, 0, 400, 100});
    EXPECT_EQ(cells[0]->Position(), (RECT{0, 0, 80, 100}));
    EXPECT_EQ(tree.root->ScrollPosition().cx, 0);

    tree.Layout(RECT{0, 0, 300, 100});
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_EQ(pBar->ScrollPos(), 0);
    EXPECT_TRUE(tree.root->IsUpdateNeeded());
    tree.Layout(RECT{0, 0, 300, 100});
    EXPECT_EQ(cells[0]->Position(), (RECT{0, 0, 80, 84}));
    EXPECT_EQ(pBar->ScrollRange(), 20);
}

namespace {

struct ThumbCase {
    const char* name;
    bool horizontal;
    const wchar_t* attributes;
    RECT bar;
    int range;
    int pos;
    int trackStart; // first pixel after button 1, along the bar
    int trackEnd;   // first pixel of button 2 (or the bar's end)
};

void PrintTo(const ThumbCase& c, std::ostream* os)
{
    *os << c.name;
}

class ScrollThumbTest : public ::testing::TestWithParam<ThumbCase> {};

int Along(const RECT& rc, bool horizontal, bool end)
{
    return horizontal ? (end ? rc.right : rc.left) : (end ? rc.bottom : rc.top);
}

} // namespace

// At 0 the thumb touches the start of its track, at the range the end, in between its start
// moves by (track − thumb) × position / range, truncated.
TEST_P(ScrollThumbTest, ThumbSitsInProportionInsideItsTrack)
{
    const ThumbCase& c = GetParam();
    CScrollBarUI bar;
    bar.SetHorizontal(c.horizontal);
    bar.ApplyAttributeString(c.attributes);
    bar.SetPosition(c.bar);
    bar.SetScrollRange(c.range);
    const RECT rcButton1 = bar.PartRect(CScrollBarUI::PartButton1);
    const RECT rcButton2 = bar.PartRect(CScrollBarUI::PartButton2);
    EXPECT_EQ(::IsRectEmpty(&rcButton1) ? Along(c.bar, c.horizontal, false) : Along(rcButton1, c.horizontal, true),
              c.trackStart);
    EXPECT_EQ(::IsRectEmpty(&rcButton2) ? Along(c.bar, c.horizontal, true) : Along(rcButton2, c.horizontal, false),
              c.trackEnd);

    bar.SetScrollPos(0);
    const RECT rcAtStart = bar.PartRect(CScrollBarUI::PartThumb);
    const int nThumb = Along(rcAtStart, c.horizontal, true) - Along(rcAtStart, c.horizontal, false);
    ASSERT_GT(nThumb, 0);
    EXPECT_EQ(Along(rcAtStart, c.horizontal, false), c.trackStart);

    bar.SetScrollPos(c.range);
    const RECT rcAtEnd = bar.PartRect(CScrollBarUI::PartThumb);
    EXPECT_EQ(Along(rcAtEnd, c.horizontal, true), c.trackEnd);
    EXPECT_EQ(Along(rcAtEnd, c.horizontal, true) - Along(rcAtEnd, c.horizontal, false), nThumb);

    bar.SetScrollPos(c.pos);
    const RECT rcThumb = bar.PartRect(CScrollBarUI::PartThumb);
    const long long nTravel = c.trackEnd - c.trackStart - nThumb;
    EXPECT_EQ(Along(rcThumb, c.horizontal, false), c.trackStart + nTravel * c.pos / c.range);
    EXPECT_EQ(Along(rcThumb, c.horizontal, true) - Along(rcThumb, c.horizontal, false), nThumb);
    // Across the bar the thumb fills its thickness.
    EXPECT_EQ(c.horizontal ? rcThumb.top : rcThumb.left, c.horizontal ? c.bar.top : c.bar.left);
    EXPECT_EQ(c.horizontal ? rcThumb.bottom : rcThumb.right, c.horizontal ? c.bar.bottom : c.bar.right);
}

INSTANTIATE_TEST_SUITE_P(
    Bars, ScrollThumbTest,
    ::testing::Values(ThumbCase{"Vertical", false, L"", RECT{0, 0, 16, 200}, 100, 50, 16, 184},
                      ThumbCase{"VerticalAwayFromTheOrigin", false, L"", RECT{30, 50, 46, 250}, 100, 33, 66, 234},
                      ThumbCase{"HorizontalAwayFromTheOrigin", true, L"", RECT{40, 90, 300, 106}, 777, 500, 56, 284},
                      ThumbCase{"WithoutFirstButton", false, L"showbutton1=\"false\"", RECT{0, 10, 16, 110}, 7, 3,
                                10, 94},
                      ThumbCase{"WithoutButtons", true, L"showbutton1=\"false\" showbutton2=\"false\"",
                                RECT{5, 0, 105, 16}, 3, 1, 5, 105},
                      ThumbCase{"HugeRange", false, L"", RECT{0, 0, 16, 300}, 2147483647, 1073741824, 16, 284}),
    [](const auto& info) { return std::string(info.param.name); });

// The thumb of a container's bar follows the container's scrolling.
TEST_F(ScrollTest, TheThumbFollowsTheContainersScrollPosition)
{
    CScrollBarUI* pBar = tree.root->VerticalScrollBar();
    const RECT rcBar = pBar->Position();
    tree.root->ScrollToBottom();
    EXPECT_EQ(pBar->PartRect(CScrollBarUI::PartThumb).bottom, pBar->PartRect(CScrollBarUI::PartButton2).top);
    tree.root->ScrollToTop();
    EXPECT_EQ(pBar->PartRect(CScrollBarUI::PartThumb).top, pBar->PartRect(CScrollBarUI::PartButton1).bottom);
    EXPECT_EQ(pBar->Position(), rcBar);
}

namespace {

// A 200-pixel-wide horizontal layout with a horizontal scroll bar and ten 80-pixel cells: 800
// pixels of content, so a range of 600; the bar takes the bottom 16 pixels.
class HorizontalScrollTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.root->EnableScrollBar(false, true);
        for (auto& cell : cells) {
            cell = tree.Add(L"width=\"80\"");
        }
        tree.Layout(RECT{0, 0, 200, 100});
    }

    void ExpectScrolledTo(int cx)
    {
        EXPECT_EQ(tree.root->ScrollPosition(), (SIZE{cx, 0}));
        EXPECT_EQ(cells[0]->Position(), (RECT{-cx, 0, 80 - cx, 84}));
        EXPECT_EQ(cells[9]->Position(), (RECT{720 - cx, 0, 800 - cx, 84}));
    }

    ManagedTree<CHorizontalLayoutUI> tree;
    CControlUI* cells[10] = {};
};

} // namespace

TEST_F(HorizontalScrollTest, LineAndPageStepsAndTheEnds)
{
    ASSERT_EQ(tree.root->ScrollRange(), (SIZE{600, 0}));
    struct Step {
        void (CContainerUI::*operation)();
        int expected;
    };
    const Step steps[] = {
        {&CContainerUI::ScrollLineRight, 8},   {&CContainerUI::ScrollPageRight, 208}, {&CContainerUI::ScrollLineLeft, 200},
        {&CContainerUI::ScrollToRightEnd, 600}, {&CContainerUI::ScrollLineRight, 600}, {&CContainerUI::ScrollPageLeft, 400},
        {&CContainerUI::ScrollToLeftEnd, 0},    {&CContainerUI::ScrollLineLeft, 0},
    };
    for (const Step& step : steps) {
        (tree.root->*step.operation)();
        ExpectScrolledTo(step.expected);
    }
    tree.root->SetScrollStepSize(5);
    tree.root->ScrollLineRight();
    ExpectScrolledTo(5);
    // The vertical operations leave the horizontal position alone.
    tree.root->ScrollLineDown();
    tree.root->ScrollToBottom();
    ExpectScrolledTo(5);
    // A relayout keeps the offset.
    tree.Layout(RECT{0, 0, 200, 100});
    ExpectScrolledTo(5);
}

TEST_F(HorizontalScrollTest, KeysAndWheelScrollSidewaysWithoutAVerticalBar)
{
    struct Case {
        int type;
        WPARAM wParam;
        int expected;
    };
    const Case cases[] = {
        {EventKeyDown, VK_DOWN, 8}, {EventKeyDown, VK_NEXT, 208}, {EventKeyDown, VK_END, 600},
        {EventKeyDown, VK_UP, 592}, {EventKeyDown, VK_PRIOR, 392}, {EventKeyDown, VK_HOME, 0},
        {EventScrollWheel, 1, 8},   {EventScrollWheel, 0, 0},
    };
    for (const Case& c : cases) {
        ControlEvent event;
        event.type = c.type;
        event.wParam = c.wParam;
        tree.root->HandleEvent(event);
        ExpectScrolledTo(c.expected);
    }
    // A key the container does not scroll with goes on to the base: nothing moves.
    ControlEvent other;
    other.type = EventKeyDown;
    other.wParam = VK_LEFT;
    tree.root->HandleEvent(other);
    ExpectScrolledTo(0);
}

TEST_F(HorizontalScrollTest, AVisibleVerticalBarTakesTheKeysAndTheWheel)
{
    // A new bar is visible with its initial range until a layout pass decides otherwise.
    tree.root->EnableScrollBar(true, true);
    CScrollBarUI* pVertical = tree.root->VerticalScrollBar();
    ASSERT_TRUE(pVertical->IsVisible());
    ControlEvent event;
    event.type = EventKeyDown;
    event.wParam = VK_END;
    tree.root->HandleEvent(event);
    EXPECT_EQ(tree.root->ScrollPosition().cx, 0);
    // Disabled, the vertical bar lets them through to the horizontal one.
    tree.root->EnableScrollBar(false, true);
    tree.root->HandleEvent(event);
    EXPECT_EQ(tree.root->ScrollPosition().cx, tree.root->ScrollRange().cx);
}

// A vertical layout whose horizontal bar shows: the children are as wide as the client area
// plus the bar's range, the bar lies below the client area, and scrolling moves them sideways.
TEST(VerticalLayoutHorizontalBarTest, ChildrenGetTheRangeAsExtraWidthAndScrollSideways)
{
    ManagedTree<CVerticalLayoutUI> tree;
    tree.root->ApplyAttributeString(L"inset=\"5,5,5,5\" hscrollbar=\"true\"");
    CControlUI* rows[3] = {};
    for (auto& row : rows) {
        row = tree.Add(L"height=\"20\"");
    }
    auto* pNarrow = tree.Add(L"height=\"20\" width=\"50\"");
    CScrollBarUI* pBar = tree.root->HorizontalScrollBar();
    ASSERT_NE(pBar, nullptr);
    ASSERT_TRUE(pBar->IsVisible());
    ASSERT_EQ(pBar->ScrollRange(), 100);
    tree.Layout(RECT{0, 0, 200, 120});
    // Client area: (5, 5, 195, 99), 16 pixels above the inset for the bar.
    EXPECT_EQ(pBar->Position(), (RECT{5, 99, 195, 115}));
    EXPECT_EQ(rows[0]->Position(), (RECT{5, 5, 295, 25}));
    EXPECT_EQ(rows[2]->Position(), (RECT{5, 45, 295, 65}));
    EXPECT_EQ(pNarrow->Position(), (RECT{5, 65, 55, 85}));

    tree.root->SetScrollPosition(SIZE{40, 0});
    EXPECT_EQ(tree.root->ScrollPosition(), (SIZE{40, 0}));
    EXPECT_EQ(rows[0]->Position(), (RECT{-35, 5, 255, 25}));
    tree.Layout(RECT{0, 0, 200, 120});
    EXPECT_EQ(rows[0]->Position(), (RECT{-35, 5, 255, 25})) << "a relayout keeps the offset";
    tree.root->ScrollToRightEnd();
    EXPECT_EQ(rows[0]->Position().right, 195) << "at the range the rows end at the client's right edge";
    ControlEvent event;
    event.type = EventKeyDown;
    event.wParam = VK_HOME;
    tree.root->HandleEvent(event);
    EXPECT_EQ(rows[0]->Position(), (RECT{5, 5, 295, 25}));
    // Without the bar the rows fit the client area again.
    tree.root->EnableScrollBar(false, false);
    tree.Layout(RECT{0, 0, 200, 120});
    EXPECT_EQ(tree.root->HorizontalScrollBar(), nullptr);
    EXPECT_EQ(rows[0]->Position(), (RECT{5, 5, 195, 25}));
}
