#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/HorizontalLayout.h"
#include "controls/VerticalLayout.h"

#include <vector>

using namespace controltest;

TEST(LinearLayoutTest, MessageBoxLayout)
{
    ManagedTree<CVerticalLayoutUI> tree;
    auto* pTop = tree.Add(L"height=\"134\"");
    auto* pRow = tree.Add<CHorizontalLayoutUI>(L"height=\"28\"");
    auto* pLeftGap = tree.Add(pRow, L"width=\"10\"");
    auto* pLabel = tree.Add(pRow);
    auto* pRightGap = tree.Add(pRow, L"width=\"10\"");
    auto* pBottom = tree.Add<CVerticalLayoutUI>();
    tree.Layout(RECT{0, 0, 440, 260});

    EXPECT_EQ(pTop->Position(), (RECT{0, 0, 440, 134}));
    EXPECT_EQ(pRow->Position(), (RECT{0, 134, 440, 162}));
    EXPECT_EQ(pBottom->Position(), (RECT{0, 162, 440, 260}));
    EXPECT_EQ(pLeftGap->Position(), (RECT{0, 134, 10, 162}));
    EXPECT_EQ(pLabel->Position(), (RECT{10, 134, 430, 162}));
    EXPECT_EQ(pRightGap->Position(), (RECT{430, 134, 440, 162}));
    EXPECT_FALSE(pRow->IsUpdateNeeded());
}

TEST(LinearLayoutTest, TwoStretchableChildrenShare101PixelsAs50Each)
{
    for (bool bVertical : {true, false}) {
        std::unique_ptr<ManagedTree<CVerticalLayoutUI>> vertical;
        std::unique_ptr<ManagedTree<CHorizontalLayoutUI>> horizontal;
        CControlUI* a = nullptr;
        CControlUI* b = nullptr;
        if (bVertical) {
            vertical = std::make_unique<ManagedTree<CVerticalLayoutUI>>();
            a = vertical->Add();
            b = vertical->Add();
            vertical->Layout(RECT{0, 0, 40, 101});
            EXPECT_EQ(a->Position(), (RECT{0, 0, 40, 50}));
            EXPECT_EQ(b->Position(), (RECT{0, 50, 40, 100}));
        } else {
            horizontal = std::make_unique<ManagedTree<CHorizontalLayoutUI>>();
            a = horizontal->Add();
            b = horizontal->Add();
            horizontal->Layout(RECT{0, 0, 101, 40});
            EXPECT_EQ(a->Position(), (RECT{0, 0, 50, 40}));
            EXPECT_EQ(b->Position(), (RECT{50, 0, 100, 40}));
        }
    }
}

TEST(LinearLayoutTest, MinHeightAboveTheSharePushesLaterChildrenDown)
{
    ManagedTree<CVerticalLayoutUI> tree;
    auto* a = tree.Add(L"minheight=\"80\"");
    auto* b = tree.Add();
    auto* c = tree.Add(L"height=\"20\"");
    tree.Layout(RECT{0, 0, 50, 100});
    // share = (100 - 20) / 2 = 40; a is raised to 80.
    EXPECT_EQ(a->Position(), (RECT{0, 0, 50, 80}));
    EXPECT_EQ(b->Position(), (RECT{0, 80, 50, 120}));
    EXPECT_EQ(c->Position(), (RECT{0, 120, 50, 140}));
}

TEST(LinearLayoutTest, MaxHeightLowersAChildAndTheRestStaysEmpty)
{
    ManagedTree<CVerticalLayoutUI> tree;
    auto* a = tree.Add(L"maxheight=\"10\"");
    auto* b = tree.Add();
    tree.Layout(RECT{0, 0, 50, 100});
    EXPECT_EQ(a->Position(), (RECT{0, 0, 50, 10}));
    EXPECT_EQ(b->Position(), (RECT{0, 10, 50, 60}));
}

TEST(LinearLayoutTest, VerticalLayoutNeverGivesTheMeasuredWidth)
{
    ManagedTree<CVerticalLayoutUI> tree;
    auto* pLabel = tree.Add<CFixedControlUI>(L"", SIZE{200, 20});
    auto* pNarrow = tree.Add<CFixedControlUI>(L"width=\"100\"", SIZE{200, 20});
    tree.Layout(RECT{0, 0, 440, 100});
    EXPECT_EQ(pLabel->Position(), (RECT{0, 0, 440, 20}));
    EXPECT_EQ(pNarrow->Position(), (RECT{0, 20, 100, 40}));
    // Each child is measured with the whole width and the height still left.
    ASSERT_EQ(pNarrow->Offered().size(), 2u);
    EXPECT_EQ(pNarrow->Offered()[0], (SIZE{440, 100}));
    EXPECT_EQ(pNarrow->Offered()[1], (SIZE{440, 80}));
}

TEST(LinearLayoutTest, PaddingInsetAndChildPadding)
{
    ManagedTree<CVerticalLayoutUI> tree;
    tree.root->ApplyAttributeString(L"inset=\"5,6,7,8\" childpadding=\"4\"");
    auto* a = tree.Add(L"height=\"20\" padding=\"1,2,3,4\"");
    auto* b = tree.Add();
    auto* c = tree.Add(L"height=\"10\" width=\"30\"");
    tree.Layout(RECT{0, 0, 100, 100});
    // client 5..93 x 6..92 (86 high); fixed 2+20+4 + 10 = 36, gaps 2*4: share 86-36-8 = 42.
    EXPECT_EQ(a->Position(), (RECT{6, 8, 90, 28}));
    EXPECT_EQ(b->Position(), (RECT{5, 36, 93, 78}));
    EXPECT_EQ(c->Position(), (RECT{5, 82, 35, 92}));
}

TEST(LinearLayoutTest, HorizontalRowWithPaddingAndDeclaredHeight)
{
    ManagedTree<CHorizontalLayoutUI> tree;
    tree.root->ApplyAttribute(L"childpadding", L"2");
    auto* a = tree.Add(L"width=\"30\" height=\"10\" padding=\"1,2,3,4\"");
    auto* b = tree.Add(L"padding=\"0,5,0,5\"");
    tree.Layout(RECT{10, 20, 110, 60});
    EXPECT_EQ(a->Position(), (RECT{11, 22, 41, 32}));
    // 100 - (1+30+3) - 2 = 64
    EXPECT_EQ(b->Position(), (RECT{46, 25, 110, 55}));
}

TEST(LinearLayoutTest, InvisibleChildrenTakeNoSpaceAndFloatingOnesArePlacedApart)
{
    ManagedTree<CVerticalLayoutUI> tree;
    auto* a = tree.Add(L"height=\"30\"");
    auto* hidden = tree.Add(L"height=\"30\" visible=\"false\"");
    auto* floating = tree.Add(L"float=\"true\" pos=\"10,-20,30,-10\"");
    auto* b = tree.Add();
    tree.Layout(RECT{0, 0, 100, 100});
    EXPECT_EQ(a->Position(), (RECT{0, 0, 100, 30}));
    EXPECT_EQ(b->Position(), (RECT{0, 30, 100, 100}));
    EXPECT_EQ(floating->Position(), (RECT{10, 80, 30, 90}));
    EXPECT_EQ(hidden->Position(), (RECT{0, 0, 0, 0}));
}

TEST(LinearLayoutTest, EmptyLayoutAndLayoutsThatAreTooSmall)
{
    ManagedTree<CVerticalLayoutUI> tree;
    tree.Layout(RECT{0, 0, 10, 10});
    EXPECT_EQ(tree.root->Position(), (RECT{0, 0, 10, 10}));
    auto* a = tree.Add(L"height=\"30\"");
    auto* b = tree.Add();
    auto* c = tree.Add(L"padding=\"50,0,50,0\"");
    tree.Layout(RECT{0, 0, 10, 10});
    EXPECT_EQ(a->Position(), (RECT{0, 0, 10, 30}));
    EXPECT_EQ(b->Position(), (RECT{0, 30, 10, 30})) << "a negative share becomes 0";
    EXPECT_EQ(c->Position(), (RECT{50, 30, 50, 30})) << "a negative width becomes 0";
}

TEST(LinearLayoutTest, AbsurdAttributeValuesNeverBreakTheLayout)
{
    ManagedTree<CVerticalLayoutUI> tree;
    tree.root->ApplyAttributeString(L"inset=\"-5,x,99999999999,\" childpadding=\"-20\"");
    auto* a = tree.Add(L"height=\"-30\" minheight=\"abc\" maxheight=\"\"");
    auto* b = tree.Add(L"height=\"99999999999\" padding=\"-1,-1,-1,-1\"");
    auto* c = tree.Add(L"minheight=\"50\" maxheight=\"20\"");
    tree.Layout(RECT{0, 0, 100, 100});
    for (CControlUI* p : {a, b, c}) {
        const RECT rc = p->Position();
        EXPECT_LE(rc.left, rc.right);
        EXPECT_LE(rc.top, rc.bottom);
    }
    EXPECT_EQ(a->Height(), 0) << "an empty maxheight reads as 0";
    EXPECT_EQ(c->Height(), 20) << "the maximum is applied after the minimum";
}

TEST(LinearLayoutTest, TenThousandChildren)
{
    ManagedTree<CVerticalLayoutUI> tree;
    std::vector<CControlUI*> children;
    for (int i = 0; i < 10000; ++i) {
        children.push_back(tree.Add(i % 2 == 0 ? L"height=\"3\"" : L""));
    }
    tree.Layout(RECT{0, 0, 100, 20000});
    // 5000 fixed rows of 3 pixels leave 5000 pixels for 5000 stretchable ones.
    EXPECT_EQ(children[1]->Position(), (RECT{0, 3, 100, 4}));
    EXPECT_EQ(children[9999]->Position(), (RECT{0, 19999, 100, 20000}));
    tree.root->RemoveAllItems();
    EXPECT_EQ(tree.root->ItemCount(), 0);
}

TEST(LinearLayoutTest, SeparatorAttributesAndInputFlags)
{
    CVerticalLayoutUI vertical;
    CHorizontalLayoutUI horizontal;
    EXPECT_EQ(vertical.InputFlags(), 0u);
    vertical.ApplyAttribute(L"sepheight", L"4");
    horizontal.ApplyAttribute(L"sepwidth", L"-6");
    vertical.ApplyAttribute(L"sepimm", L"true");
    EXPECT_EQ(vertical.SeparatorSize(), 4);
    EXPECT_EQ(horizontal.SeparatorSize(), -6);
    EXPECT_TRUE(vertical.IsImmediate());
    EXPECT_EQ(vertical.InputFlags(), static_cast<UINT>(InputSetCursor));
    vertical.SetEnabled(false);
    EXPECT_EQ(vertical.InputFlags(), 0u);
    // sepwidth is not the vertical layout's and the other way round.
    vertical.ApplyAttribute(L"sepwidth", L"9");
    EXPECT_EQ(vertical.SeparatorSize(), 4);

    const RECT rc = {10, 20, 110, 70};
    EXPECT_EQ(vertical.SeparatorBand(rc), (RECT{10, 66, 110, 70}));
    EXPECT_EQ(horizontal.SeparatorBand(rc), (RECT{10, 20, 16, 70}));
    vertical.SetSeparatorSize(-100);
    EXPECT_EQ(vertical.SeparatorBand(rc), (RECT{10, 20, 110, 70})) << "clamped to the rectangle";
    vertical.SetSeparatorSize(100);
    EXPECT_EQ(vertical.SeparatorBand(rc), (RECT{10, 20, 110, 70}));
    horizontal.SetSeparatorSize(8);
    EXPECT_EQ(horizontal.SeparatorBand(rc), (RECT{102, 20, 110, 70}));
}

TEST(LinearLayoutTest, SeparatorDragWithoutAWindowResizesOnRelease)
{
    ManagedTree<CVerticalLayoutUI> tree;
    auto* pPanel = tree.Add<CVerticalLayoutUI>(L"height=\"50\" sepheight=\"4\" minheight=\"20\" maxheight=\"80\"");
    auto* pRest = tree.Add();
    tree.Layout(RECT{0, 0, 100, 200});
    ASSERT_EQ(pPanel->Position(), (RECT{0, 0, 100, 50}));

    auto send = [&](int type, int y) {
        ControlEvent event;
        event.type = type;
        event.sender = pPanel;
        event.mousePoint = POINT{50, y};
        pPanel->DispatchEvent(event);
    };
    send(EventButtonDown, 48);
    ASSERT_TRUE(pPanel->IsDragging());
    send(EventMouseMove, 60); // past bottom + 4: the edge follows by 12
    EXPECT_EQ(pPanel->DragRect().bottom, 62);
    EXPECT_EQ(pPanel->Position().bottom, 50) << "not immediate: applied on release";
    send(EventMouseMove, 200); // limited by maxheight
    EXPECT_EQ(pPanel->DragRect().bottom, 80);
    send(EventButtonUp, 200);
    EXPECT_FALSE(pPanel->IsDragging());
    EXPECT_EQ(pPanel->DeclaredHeight(), 80);
    tree.Layout(RECT{0, 0, 100, 200});
    EXPECT_EQ(pPanel->Position(), (RECT{0, 0, 100, 80}));
    EXPECT_EQ(pRest->Position(), (RECT{0, 80, 100, 200}));

    send(EventButtonDown, 10); // outside the band: no drag
    EXPECT_FALSE(pPanel->IsDragging());
}

TEST(LinearLayoutTest, ImmediateSeparatorDragOnATopBand)
{
    ManagedTree<CVerticalLayoutUI> tree;
    auto* pTop = tree.Add();
    auto* pPanel = tree.Add<CVerticalLayoutUI>(L"height=\"60\" sepheight=\"-5\" sepimm=\"true\" minheight=\"30\"");
    tree.Layout(RECT{0, 0, 100, 200});
    ASSERT_EQ(pPanel->Position(), (RECT{0, 140, 100, 200}));

    auto send = [&](int type, int y) {
        ControlEvent event;
        event.type = type;
        event.mousePoint = POINT{50, y};
        pPanel->DispatchEvent(event);
    };
    send(EventButtonDown, 142);
    send(EventMouseMove, 120); // up 22, above top - 5: the top edge follows
    EXPECT_EQ(pPanel->Position().top, 118);
    EXPECT_EQ(pPanel->DeclaredHeight(), 82);
    send(EventMouseMove, 190); // down: the height stops at minheight
    EXPECT_EQ(pPanel->Position().top, 170);
    send(EventMouseMove, 195); // already at the limit: ignored
    EXPECT_EQ(pPanel->Position().top, 170);
    send(EventButtonUp, 195);
    tree.Layout(RECT{0, 0, 100, 200});
    EXPECT_EQ(pTop->Position(), (RECT{0, 0, 100, 170}));
}

// The horizontal layout drags its right or left edge along x, within its width limits.
TEST(LinearLayoutTest, HorizontalSeparatorDragOnBothBands)
{
    ManagedTree<CHorizontalLayoutUI> tree;
    auto* pPanel = tree.Add<CHorizontalLayoutUI>(L"width=\"80\" sepwidth=\"4\" maxwidth=\"150\"");
    auto* pMiddle = tree.Add();
    auto* pRight = tree.Add<CHorizontalLayoutUI>(L"width=\"60\" sepwidth=\"-5\" sepimm=\"true\" minwidth=\"30\"");
    tree.Layout(RECT{0, 0, 300, 100});
    ASSERT_EQ(pPanel->Position(), (RECT{0, 0, 80, 100}));
    ASSERT_EQ(pRight->Position(), (RECT{240, 0, 300, 100}));

    auto send = [](CControlUI* pTarget, int type, int x) {
        ControlEvent event;
        event.type = type;
        event.mousePoint = POINT{x, 50};
        pTarget->DispatchEvent(event);
    };
    send(pPanel, EventButtonDown, 75); // left of the band: no drag
    EXPECT_FALSE(pPanel->IsDragging());
    send(pPanel, EventButtonDown, 78);
    ASSERT_TRUE(pPanel->IsDragging());
    send(pPanel, EventMouseMove, 82); // not yet past right + 4
    EXPECT_EQ(pPanel->DragRect().right, 80);
    send(pPanel, EventMouseMove, 100); // past it: the edge follows by 18
    EXPECT_EQ(pPanel->DragRect().right, 98);
    EXPECT_EQ(pPanel->Position().right, 80) << "not immediate: applied on release";
    send(pPanel, EventMouseMove, 290); // limited by maxwidth
    EXPECT_EQ(pPanel->DragRect(), (RECT{0, 0, 150, 100}));
    send(pPanel, EventButtonUp, 290);
    EXPECT_EQ(pPanel->DeclaredWidth(), 150);

    send(pRight, EventButtonDown, 242);
    ASSERT_TRUE(pRight->IsDragging());
    send(pRight, EventMouseMove, 220); // left 22, past left - 5: the left edge follows at once
    EXPECT_EQ(pRight->Position().left, 218);
    EXPECT_EQ(pRight->DeclaredWidth(), 82);
    send(pRight, EventMouseMove, 295); // the width stops at minwidth
    EXPECT_EQ(pRight->Position().left, 270);
    send(pRight, EventButtonUp, 295);
    tree.Layout(RECT{0, 0, 300, 100});
    EXPECT_EQ(pPanel->Position(), (RECT{0, 0, 150, 100}));
    EXPECT_EQ(pMiddle->Position(), (RECT{150, 0, 270, 100}));
    EXPECT_EQ(pRight->Position(), (RECT{270, 0, 300, 100}));
}

TEST(LinearLayoutTest, IdentityOfTheTwoLayouts)
{
    CVerticalLayoutUI vertical;
    CHorizontalLayoutUI horizontal;
    EXPECT_STREQ(vertical.TypeName(), L"VerticalLayoutUI");
    EXPECT_STREQ(horizontal.TypeName(), L"HorizontalLayoutUI");
    EXPECT_EQ(vertical.LookupInterface(L"VerticalLayout"), &vertical);
    EXPECT_EQ(vertical.LookupInterface(L"HorizontalLayout"), nullptr);
    EXPECT_EQ(horizontal.LookupInterface(L"HorizontalLayout"), &horizontal);
    EXPECT_EQ(horizontal.LookupInterface(L"Container"), &horizontal);
}
