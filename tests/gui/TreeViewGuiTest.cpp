#include <gtest/gtest.h>

#include "ListGuiSupport.h"
#include "ManagerFixture.h"
#include "controls/CheckBox.h"
#include "controls/TreeNode.h"
#include "controls/TreeView.h"
#include "core/SkinBuilder.h"

using namespace guitest;

namespace {

// A tree built by the builder in a real window: a (a1, a2 (a2x)), b (b1).
class TreeViewGuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Hwnd(), nullptr);
        CSkinBuilder builder;
        CControlUI* pRoot = builder.Create(
            L"<Window><VerticalLayout><TreeView name=\"tree\" visiblecheckbtn=\"true\">"
            L"<TreeNode name=\"a\" text=\"a\" height=\"20\"><TreeNode name=\"a1\" text=\"a1\" height=\"20\"/>"
            L"<TreeNode name=\"a2\" text=\"a2\" height=\"20\"><TreeNode name=\"a2x\" text=\"a2x\" height=\"20\"/></TreeNode>"
            L"</TreeNode><TreeNode name=\"b\" text=\"b\" height=\"20\"><TreeNode name=\"b1\" text=\"b1\" height=\"20\"/>"
            L"</TreeNode></TreeView></VerticalLayout></Window>",
            nullptr, nullptr, &host.Manager(), nullptr);
        ASSERT_NE(pRoot, nullptr);
        host.Manager().AttachRoot(pRoot);
        host.Manager().AddListener(&recorder);
        host.PaintNow(true);
        view = static_cast<CTreeViewUI*>(host.Manager().ControlByName(L"tree"));
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { host.Manager().RemoveListener(&recorder); }

    CTreeNodeUI* Node(const wchar_t* pstrName)
    {
        return static_cast<CTreeNodeUI*>(host.Manager().ControlByName(pstrName));
    }
    void ClickPart(CControlUI* pPart)
    {
        host.PaintNow();
        ClickAt(host.Hwnd(), CenterOf(pPart->Position()));
        host.PaintNow();
    }

    TestHostWindow host{240, 200};
    ListNotificationRecorder recorder;
    CTreeViewUI* view = nullptr;
};

} // namespace

TEST_F(TreeViewGuiTest, TheFolderOptionCollapsesAndExpandsTheSubtree)
{
    CTreeNodeUI* pA = Node(L"a");
    ASSERT_NE(pA, nullptr);
    ASSERT_TRUE(Node(L"a2x")->IsVisible());
    const LONG nBTop = Node(L"b")->Position().top;

    ClickPart(pA->FolderButton());
    EXPECT_FALSE(pA->IsExpanded());
    for (const wchar_t* pstrName : {L"a1", L"a2", L"a2x"}) {
        EXPECT_FALSE(Node(pstrName)->IsVisible()) << pstrName;
    }
    EXPECT_LT(Node(L"b")->Position().top, nBTop) << "b moves up into the room";

    ClickPart(Node(L"a")->FolderButton());
    EXPECT_TRUE(pA->IsExpanded());
    EXPECT_TRUE(Node(L"a2x")->IsVisible());
    EXPECT_EQ(Node(L"b")->Position().top, nBTop);

    // A double click on a node with children toggles it and reports "itemdbclick".
    const POINT ptA2 = {Node(L"a2")->Position().right - 10, CenterOf(Node(L"a2")->Position()).y};
    // As Windows sends it: a click, then the double click.
    ClickAt(host.Hwnd(), ptA2);
    host.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(ptA2.x, ptA2.y));
    host.Send(WM_LBUTTONUP, 0, ClientPoint(ptA2.x, ptA2.y));
    ASSERT_NE(recorder.Last(L"itemdbclick"), nullptr);
    EXPECT_EQ(recorder.Last(L"itemdbclick")->sender, view);
    EXPECT_EQ(recorder.Last(L"itemdbclick")->wParam, static_cast<WPARAM>(view->IndexOf(Node(L"a2"))));
    EXPECT_FALSE(Node(L"a2")->IsExpanded());
    EXPECT_FALSE(Node(L"a2x")->IsVisible());

    // Keys: Right expands the current node, Left goes up to the parent.
    EXPECT_EQ(view->CurSel(), view->IndexOf(Node(L"a2")));
    ASSERT_NE(recorder.Last(L"selectchanged"), nullptr);
    KeyPress(host.Hwnd(), VK_RIGHT);
    EXPECT_TRUE(Node(L"a2")->IsExpanded());
    KeyPress(host.Hwnd(), VK_DOWN);
    EXPECT_EQ(view->CurSel(), view->IndexOf(Node(L"a2x")));
    KeyPress(host.Hwnd(), VK_LEFT);
    EXPECT_EQ(view->CurSel(), view->IndexOf(Node(L"a2")));
}

TEST_F(TreeViewGuiTest, CheckBoxesStayConsistentDownAndUpTheTree)
{
    CTreeNodeUI* pA = Node(L"a");
    ClickPart(pA->CheckBoxButton());
    for (const wchar_t* pstrName : {L"a", L"a1", L"a2", L"a2x"}) {
        EXPECT_TRUE(Node(pstrName)->IsChecked()) << pstrName;
        EXPECT_TRUE(Node(pstrName)->CheckBoxButton()->IsSelected()) << pstrName;
    }
    EXPECT_FALSE(Node(L"b")->IsChecked());

    ClickPart(Node(L"a2x")->CheckBoxButton());
    EXPECT_FALSE(Node(L"a2x")->IsChecked());
    EXPECT_FALSE(Node(L"a2")->IsChecked()) << "its only child is unchecked";
    EXPECT_FALSE(pA->IsChecked());
    EXPECT_FALSE(pA->CheckBoxButton()->IsSelected());
    EXPECT_TRUE(Node(L"a1")->IsChecked());

    ClickPart(Node(L"a2x")->CheckBoxButton());
    EXPECT_TRUE(Node(L"a2")->IsChecked());
    EXPECT_TRUE(pA->IsChecked()) << "all children checked again";
    EXPECT_TRUE(pA->CheckBoxButton()->IsSelected());
}

TEST_F(TreeViewGuiTest, WithoutMultiExpandingOpeningANodeClosesItsSiblings)
{
    EXPECT_TRUE(view->IsMultiExpanding()) << "a tree lets several nodes stay open by default";
    ClickPart(Node(L"a")->FolderButton());
    ClickPart(Node(L"a")->FolderButton());
    EXPECT_TRUE(Node(L"a")->IsExpanded());
    EXPECT_TRUE(Node(L"b")->IsExpanded());

    view->ApplyAttribute(L"multiexpanding", L"false");
    ClickPart(Node(L"b")->FolderButton());
    ClickPart(Node(L"b")->FolderButton());
    EXPECT_TRUE(Node(L"b")->IsExpanded());
    EXPECT_TRUE(Node(L"b1")->IsVisible());
    EXPECT_FALSE(Node(L"a")->IsExpanded()) << "its sibling closed";
    EXPECT_FALSE(Node(L"a2")->IsVisible());

    ClickPart(Node(L"a")->FolderButton());
    EXPECT_TRUE(Node(L"a")->IsExpanded());
    EXPECT_FALSE(Node(L"b")->IsExpanded());
    EXPECT_FALSE(Node(L"b1")->IsVisible());
    // Opening a child leaves its parent open; the child's own siblings have nothing to close.
    ClickPart(Node(L"a2")->FolderButton());
    ClickPart(Node(L"a2")->FolderButton());
    EXPECT_TRUE(Node(L"a2")->IsExpanded());
    EXPECT_TRUE(Node(L"a")->IsExpanded());
    EXPECT_TRUE(Node(L"a2x")->IsVisible());
}
