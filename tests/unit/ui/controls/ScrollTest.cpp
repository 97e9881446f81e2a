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
