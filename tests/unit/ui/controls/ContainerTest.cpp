#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/ScrollBar.h"
#include "controls/VerticalLayout.h"

#include <vector>

using namespace controltest;

namespace {

// Counts its own deletions so that a test can see who deleted what.
class CCountedControlUI : public CFixedControlUI {
public:
    explicit CCountedControlUI(int* pDeleted) : m_pDeleted(pDeleted) {}
    ~CCountedControlUI() override { ++*m_pDeleted; }

private:
    int* m_pDeleted;
};

class CListItemUI : public CFixedControlUI {
public:
    void* LookupInterface(const wchar_t* pstrName) override
    {
        return std::wcscmp(pstrName, L"ListItem") == 0 ? this : CFixedControlUI::LookupInterface(pstrName);
    }
};

CControlUI* HitVisitor(CControlUI* pControl, void*)
{
    return pControl;
}

CControlUI* Hit(CControlUI* pRoot, POINT pt, UINT uFlags = FindVisible | FindHitTest | FindTopFirst)
{
    return pRoot->SearchTree(HitVisitor, &pt, uFlags);
}

std::vector<CControlUI*> Visited(CControlUI* pRoot, UINT uFlags)
{
    static std::vector<CControlUI*>* s_pList = nullptr;
    std::vector<CControlUI*> visited;
    s_pList = &visited;
    pRoot->SearchTree(
        [](CControlUI* pControl, void*) -> CControlUI* {
            s_pList->push_back(pControl);
            return nullptr;
        },
        nullptr, uFlags);
    return visited;
}

} // namespace

TEST(ContainerTest, IdentityAndInterfaces)
{
    CContainerUI container;
    EXPECT_STREQ(container.TypeName(), L"ContainerUI");
    EXPECT_EQ(container.LookupInterface(L"Container"), &container);
    EXPECT_EQ(container.LookupInterface(L"IContainer"), static_cast<IContainerUI*>(&container));
    EXPECT_EQ(container.LookupInterface(L"Control"), &container);
    EXPECT_EQ(container.LookupInterface(L"Other"), nullptr);
}

TEST(ContainerTest, AddInsertMoveAndIndex)
{
    ManagedTree<CContainerUI> tree;
    auto* a = tree.Add();
    auto* b = tree.Add();
    auto* c = new CFixedControlUI;
    ASSERT_TRUE(tree.root->InsertItem(c, 0));
    EXPECT_EQ(tree.root->ItemCount(), 3);
    EXPECT_EQ(tree.root->ItemAt(0), c);
    EXPECT_EQ(tree.root->IndexOf(b), 2);
    EXPECT_EQ(c->Parent(), tree.root);
    EXPECT_EQ(c->Manager(), &tree.manager);

    EXPECT_TRUE(tree.root->MoveItem(c, 2));
    EXPECT_EQ(tree.root->ItemAt(2), c);
    EXPECT_EQ(tree.root->ItemAt(0), a);
    EXPECT_EQ(tree.root->ItemAt(-1), nullptr);
    EXPECT_EQ(tree.root->ItemAt(3), nullptr);
}

TEST(ContainerTest, BadChildrenAndIndexesChangeNothing)
{
    ManagedTree<CContainerUI> tree;
    auto* a = tree.Add();
    EXPECT_FALSE(tree.root->AddItem(nullptr));
    EXPECT_FALSE(tree.root->AddItem(a)) << "a child held twice would be deleted twice";
    EXPECT_FALSE(tree.root->AddItem(tree.root));

    // An index beyond the end is refused before the control is attached anywhere.
    CFixedControlUI stranger;
    EXPECT_FALSE(tree.root->InsertItem(&stranger, 5));
    EXPECT_FALSE(tree.root->InsertItem(&stranger, -1));
    EXPECT_EQ(stranger.Parent(), nullptr);
    EXPECT_EQ(stranger.Manager(), nullptr);

    EXPECT_FALSE(tree.root->RemoveItem(&stranger));
    EXPECT_FALSE(tree.root->RemoveItem(nullptr));
    EXPECT_FALSE(tree.root->RemoveItemAt(1));
    EXPECT_FALSE(tree.root->RemoveItemAt(-1));
    EXPECT_FALSE(tree.root->MoveItem(&stranger, 0));
    EXPECT_FALSE(tree.root->MoveItem(a, 1)) << "the child must not leave its place for a bad index";
    EXPECT_EQ(tree.root->ItemCount(), 1);
    EXPECT_EQ(tree.root->ItemAt(0), a);
    EXPECT_EQ(tree.root->FindSelectable(0), -1);
}

TEST(ContainerTest, RemovingDeletesAtOnceWithoutDelayOrLaterThroughTheManager)
{
    int deleted = 0;
    ManagedTree<CContainerUI> tree;
    auto* a = tree.Add<CCountedControlUI>(L"", &deleted);
    auto* b = tree.Add<CCountedControlUI>(L"", &deleted);
    ASSERT_TRUE(tree.root->RemoveItem(a));
    EXPECT_EQ(deleted, 0) << "delayed: the manager deletes it later";
    EXPECT_EQ(a->Parent(), nullptr);

    tree.root->SetDelayedDestroy(false);
    ASSERT_TRUE(tree.root->RemoveItemAt(0));
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(tree.root->IndexOf(b), -1);
}

TEST(ContainerTest, WithoutAutoDestroyRemovedChildrenStayAlive)
{
    int deleted = 0;
    CCountedControlUI kept(&deleted);
    {
        ManagedTree<CContainerUI> tree;
        tree.root->SetAutoDestroy(false);
        ASSERT_TRUE(tree.root->AddItem(&kept));
        ASSERT_TRUE(tree.root->RemoveItem(&kept));
        ASSERT_TRUE(tree.root->AddItem(&kept));
        tree.root->RemoveAllItems();
        EXPECT_EQ(tree.root->ItemCount(), 0);
    }
    EXPECT_EQ(deleted, 0);
}

TEST(ContainerTest, DestroyingAContainerDeletesItsChildrenAtOnce)
{
    int deleted = 0;
    {
        CWindowManagerUI manager;
        auto* pRoot = new CContainerUI;
        manager.AttachRoot(pRoot);
        auto* pInner = new CContainerUI;
        pRoot->AddItem(pInner);
        pInner->AddItem(new CCountedControlUI(&deleted));
        pInner->AddItem(new CCountedControlUI(&deleted));
        pInner->EnableScrollBar(true, true);
        pRoot->RemoveItem(pInner); // delayed: the manager deletes it when it goes
        EXPECT_EQ(deleted, 0);
    }
    EXPECT_EQ(deleted, 2);
}

TEST(ContainerTest, DisablingDisablesAllChildrenAndEnablingEnablesAll)
{
    ManagedTree<CContainerUI> tree;
    auto* pInner = tree.Add<CContainerUI>();
    auto* a = tree.Add(pInner);
    auto* b = tree.Add(pInner, L"enabled=\"false\"");
    auto* c = tree.Add();
    tree.root->SetEnabled(false);
    for (CControlUI* p : {static_cast<CControlUI*>(pInner), static_cast<CControlUI*>(a), static_cast<CControlUI*>(b),
                          static_cast<CControlUI*>(c)}) {
        EXPECT_FALSE(p->IsEnabled());
    }
    tree.root->SetEnabled(true);
    for (CControlUI* p : {static_cast<CControlUI*>(pInner), static_cast<CControlUI*>(a), static_cast<CControlUI*>(b),
                          static_cast<CControlUI*>(c)}) {
        EXPECT_TRUE(p->IsEnabled());
    }
}

TEST(ContainerTest, VisibilityPropagatesAsAncestorVisibility)
{
    ManagedTree<CContainerUI> tree;
    auto* pInner = tree.Add<CContainerUI>();
    auto* a = tree.Add(pInner);
    auto* hidden = tree.Add(pInner, L"visible=\"false\"");
    a->RequestFocus();
    pInner->SetVisible(false);
    EXPECT_FALSE(a->IsVisible());
    EXPECT_EQ(tree.manager.FocusControl(), nullptr);
    // A child added to a hidden container starts hidden by its ancestors.
    auto* late = tree.Add(pInner);
    EXPECT_FALSE(late->IsVisible());

    tree.root->SetVisible(false);
    tree.root->SetVisible(true);
    EXPECT_FALSE(a->IsVisible()) << "the inner container is still hidden itself";
    pInner->SetVisible(true);
    EXPECT_TRUE(a->IsVisible());
    EXPECT_TRUE(late->IsVisible());
    EXPECT_FALSE(hidden->IsVisible());
}

TEST(ContainerTest, MouseEnabledGoesToTheScrollBarsButNotTheChildren)
{
    ManagedTree<CContainerUI> tree;
    auto* a = tree.Add();
    tree.root->EnableScrollBar(true, true);
    tree.root->SetMouseEnabled(false);
    EXPECT_TRUE(a->IsMouseEnabled());
    EXPECT_FALSE(tree.root->VerticalScrollBar()->IsMouseEnabled());
    EXPECT_FALSE(tree.root->HorizontalScrollBar()->IsMouseEnabled());
}

TEST(ContainerTest, PlainContainerGivesEveryChildItsClientArea)
{
    ManagedTree<CContainerUI> tree;
    tree.root->ApplyAttribute(L"inset", L"1,2,3,4");
    auto* a = tree.Add(L"width=\"10\"");
    auto* b = tree.Add();
    tree.Layout(RECT{10, 10, 110, 60});
    EXPECT_EQ(a->Position(), (RECT{11, 12, 107, 56}));
    EXPECT_EQ(b->Position(), (RECT{11, 12, 107, 56}));
}

TEST(ContainerTest, FloatingChildrenFromTheLeftAndFromTheRight)
{
    ManagedTree<CContainerUI> tree;
    auto* pLeft = tree.Add(L"float=\"true\" pos=\"902,6,926,30\"");
    auto* pRight = tree.Add(L"float=\"true\" pos=\"-58,6,-34,30\"");
    EXPECT_EQ(pRight->FixedOffset(), (SIZE{-34, 6}));
    tree.Layout(RECT{0, 0, 960, 620});
    EXPECT_EQ(pLeft->Position(), (RECT{902, 6, 926, 30}));
    EXPECT_EQ(pRight->Position(), (RECT{902, 6, 926, 30}));

    tree.Layout(RECT{0, 0, 1060, 620});
    EXPECT_EQ(pLeft->Position(), (RECT{902, 6, 926, 30}));
    EXPECT_EQ(pRight->Position(), (RECT{1002, 6, 1026, 30}));
}

TEST(ContainerTest, FloatingChildFromTheBottom)
{
    ManagedTree<CContainerUI> tree;
    auto* p = tree.Add(L"float=\"true\" pos=\"10,-40,30,-10\"");
    tree.Layout(RECT{0, 0, 200, 100});
    EXPECT_EQ(p->Position(), (RECT{10, 60, 30, 90}));
    tree.Layout(RECT{0, 0, 200, 150});
    EXPECT_EQ(p->Position(), (RECT{10, 110, 30, 140}));
}

TEST(ContainerTest, RelativeFloatingChildMovesByItsShareOfTheGrowth)
{
    ManagedTree<CContainerUI> tree;
    auto* p = tree.Add(L"float=\"true\" pos=\"100,10,140,30\" relativepos=\"50,0,0,0\"");
    tree.Layout(RECT{0, 0, 400, 300});
    EXPECT_EQ(p->Position(), (RECT{100, 10, 140, 30}));
    EXPECT_EQ(p->RelativePosition().parentSize, (SIZE{400, 300}));

    tree.Layout(RECT{0, 0, 500, 300});
    EXPECT_EQ(p->Position(), (RECT{150, 10, 190, 30}));
    // The moves accumulate from one size to the next.
    tree.Layout(RECT{0, 0, 700, 300});
    EXPECT_EQ(p->Position(), (RECT{250, 10, 290, 30}));
}

TEST(ContainerTest, RelativeZoomStretchesAndNegativeGrowthShrinks)
{
    ManagedTree<CContainerUI> tree;
    auto* p = tree.Add(L"float=\"true\" pos=\"10,10,50,30\" relativepos=\"0,0,50,100\"");
    tree.Layout(RECT{0, 0, 200, 100});
    tree.Layout(RECT{0, 0, 300, 150});
    EXPECT_EQ(p->Position(), (RECT{10, 10, 100, 80}));
    tree.Layout(RECT{0, 0, 100, 50});
    EXPECT_EQ(p->Position(), (RECT{10, 10, 0 + 10, 10})) << "shrunk to nothing, never reversed";
}

TEST(ContainerTest, FloatingChildFarOutsideItsParentIsPlacedThereAndClippedFromRepaint)
{
    ManagedTree<CContainerUI> tree;
    auto* p = tree.Add(L"float=\"true\" pos=\"5000,5000,5100,5100\"");
    auto* q = tree.Add(L"float=\"true\" pos=\"-999999,10,-999990,20\"");
    tree.Layout(RECT{0, 0, 200, 100});
    EXPECT_EQ(p->Position(), (RECT{5000, 5000, 5100, 5100}));
    EXPECT_EQ(q->Position().right, 200 - 999990);
    EXPECT_EQ(Hit(tree.root, POINT{5050, 5050}), nullptr);
}

TEST(ContainerTest, HitSearchWithTopFirstFindsTheLaterOfTwoOverlappingFloats)
{
    ManagedTree<CContainerUI> tree;
    auto* first = tree.Add(L"float=\"true\" pos=\"10,10,60,60\"");
    auto* second = tree.Add(L"float=\"true\" pos=\"40,40,90,90\"");
    tree.Layout(RECT{0, 0, 200, 200});
    EXPECT_EQ(Hit(tree.root, POINT{50, 50}), second);
    EXPECT_EQ(Hit(tree.root, POINT{50, 50}, FindVisible | FindHitTest), first);
    EXPECT_EQ(Hit(tree.root, POINT{20, 20}), first);
    EXPECT_EQ(Hit(tree.root, POINT{150, 150}), tree.root);
    EXPECT_EQ(Hit(tree.root, POINT{250, 150}), nullptr);
}

TEST(ContainerTest, WithoutMouseChildTheHitIsTheContainerItself)
{
    ManagedTree<CContainerUI> tree;
    auto* pInner = tree.Add<CContainerUI>(L"float=\"true\" pos=\"0,0,100,100\" mousechild=\"false\"");
    tree.Add(pInner, L"float=\"true\" pos=\"10,10,50,50\"");
    tree.Layout(RECT{0, 0, 200, 200});
    EXPECT_EQ(Hit(tree.root, POINT{20, 20}), pInner);
    pInner->SetMouseEnabled(false);
    EXPECT_EQ(Hit(tree.root, POINT{20, 20}), tree.root) << "a container that takes no mouse is passed";
}

TEST(ContainerTest, HitTestSkipsDisabledOnlyWhenAsked)
{
    ManagedTree<CContainerUI> tree;
    auto* a = tree.Add(L"float=\"true\" pos=\"10,10,50,50\" enabled=\"false\"");
    tree.Layout(RECT{0, 0, 200, 200});
    EXPECT_EQ(Hit(tree.root, POINT{20, 20}), a);
    EXPECT_EQ(Hit(tree.root, POINT{20, 20}, FindVisible | FindHitTest | FindEnabled), tree.root);
    a->SetVisible(false);
    EXPECT_EQ(Hit(tree.root, POINT{20, 20}), tree.root);
    EXPECT_EQ(Hit(tree.root, POINT{20, 20}, FindHitTest), a);
}

TEST(ContainerTest, NonFloatingHitsCountOnlyInsideTheClientArea)
{
    ManagedTree<CContainerUI> tree;
    tree.root->ApplyAttribute(L"inset", L"20,20,20,20");
    auto* a = tree.Add();
    tree.Layout(RECT{0, 0, 100, 100});
    // Push the child over the inset, as a scrolled child would be.
    a->SetPosition(RECT{0, 0, 100, 100});
    EXPECT_EQ(Hit(tree.root, POINT{5, 5}), tree.root);
    EXPECT_EQ(Hit(tree.root, POINT{50, 50}), a);
}

TEST(ContainerTest, SearchOrderWithAndWithoutMeFirst)
{
    ManagedTree<CContainerUI> tree;
    auto* pInner = tree.Add<CContainerUI>();
    auto* a = tree.Add(pInner);
    auto* b = tree.Add();
    EXPECT_EQ(Visited(tree.root, 0), (std::vector<CControlUI*>{a, pInner, b, tree.root}));
    EXPECT_EQ(Visited(tree.root, FindMeFirst), (std::vector<CControlUI*>{tree.root, pInner, a, b}));
    EXPECT_EQ(Visited(tree.root, FindTopFirst), (std::vector<CControlUI*>{b, a, pInner, tree.root}));
    b->SetVisible(false);
    EXPECT_EQ(Visited(tree.root, FindVisible), (std::vector<CControlUI*>{a, pInner, tree.root}));
}

TEST(ContainerTest, FindSelectableLooksForVisibleEnabledListItems)
{
    ManagedTree<CContainerUI> tree;
    tree.Add();                                  // 0: not a list item
    tree.Add<CListItemUI>();                     // 1
    tree.Add<CListItemUI>(L"enabled=\"false\""); // 2
    tree.Add<CListItemUI>(L"visible=\"false\""); // 3
    tree.Add<CListItemUI>();                     // 4
    tree.Add();                                  // 5
    EXPECT_EQ(tree.root->FindSelectable(0, true), 1);
    EXPECT_EQ(tree.root->FindSelectable(2, true), 4);
    EXPECT_EQ(tree.root->FindSelectable(5, true), -1);
    EXPECT_EQ(tree.root->FindSelectable(3, false), 1);
    EXPECT_EQ(tree.root->FindSelectable(99, false), 4);
    EXPECT_EQ(tree.root->FindSelectable(-5, true), 1);
    EXPECT_EQ(tree.root->FindSelectable(0, false), 1) << "nothing backwards: the first one forwards";
}

TEST(ContainerTest, ContainerAttributes)
{
    ManagedTree<CContainerUI> tree;
    CContainerUI& c = *tree.root;
    c.ApplyAttribute(L"inset", L"1,2,3,4");
    c.ApplyAttribute(L"childpadding", L"6");
    c.ApplyAttribute(L"scrollstepsize", L"12");
    c.ApplyAttribute(L"mousechild", L"false");
    c.ApplyAttribute(L"width", L"77");
    EXPECT_EQ(c.Inset(), (RECT{1, 2, 3, 4}));
    EXPECT_EQ(c.ChildPadding(), 6);
    EXPECT_EQ(c.ScrollStepSize(), 12);
    EXPECT_FALSE(c.IsMouseChildEnabled());
    EXPECT_EQ(c.DeclaredWidth(), 77);
    c.ApplyAttribute(L"scrollstepsize", L"-3");
    c.ApplyAttribute(L"scrollstepsize", L"zero");
    EXPECT_EQ(c.ScrollStepSize(), 12) << "only positive steps are stored";
}

TEST(ContainerTest, ScrollBarAttributesCreateConfigureAndDropTheBars)
{
    ManagedTree<CContainerUI> tree;
    tree.manager.SetClassDefaults(L"VScrollBar", L"linesize=\"5\" width=\"12\"");
    CContainerUI& c = *tree.root;
    c.ApplyAttribute(L"vscrollbar", L"true");
    ASSERT_NE(c.VerticalScrollBar(), nullptr);
    EXPECT_EQ(c.VerticalScrollBar()->LineSize(), 5);
    EXPECT_EQ(c.VerticalScrollBar()->DeclaredWidth(), 12);
    EXPECT_EQ(c.VerticalScrollBar()->Owner(), &c);
    EXPECT_EQ(c.HorizontalScrollBar(), nullptr);

    c.ApplyAttribute(L"hscrollbarstyle", L"height=\"9\" range=\"40\"");
    ASSERT_NE(c.HorizontalScrollBar(), nullptr);
    EXPECT_TRUE(c.HorizontalScrollBar()->IsHorizontal());
    EXPECT_EQ(c.HorizontalScrollBar()->DeclaredHeight(), 9);
    EXPECT_EQ(c.HorizontalScrollBar()->DeclaredWidth(), 0);

    c.ApplyAttribute(L"vscrollbar", L"false");
    ASSERT_NE(c.VerticalScrollBar(), nullptr) << "a vertical bar is only disabled";
    EXPECT_FALSE(c.VerticalScrollBar()->IsEnabled());
    c.ApplyAttribute(L"hscrollbar", L"false");
    EXPECT_EQ(c.HorizontalScrollBar(), nullptr) << "a horizontal bar is deleted";
    c.ApplyAttribute(L"vscrollbarstyle", L"broken=\"");
    EXPECT_TRUE(c.VerticalScrollBar()->IsEnabled());
}
