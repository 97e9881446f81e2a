#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/CheckBox.h"
#include "controls/HorizontalLayout.h"
#include "controls/Label.h"
#include "controls/TreeNode.h"
#include "controls/TreeView.h"
#include "core/SkinBuilder.h"

#include <memory>
#include <string>
#include <vector>

using namespace controltest;

namespace {

std::vector<std::wstring> RowTexts(CListUI& view)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < view.ItemCount(); ++i) {
        texts.push_back(view.ItemAt(i)->Text().GetData());
    }
    return texts;
}

std::vector<std::wstring> VisibleTexts(CListUI& view)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < view.ItemCount(); ++i) {
        if (view.ItemAt(i)->IsVisible()) {
            texts.push_back(view.ItemAt(i)->Text().GetData());
        }
    }
    return texts;
}

CTreeNodeUI* Node(const wchar_t* pstrText)
{
    auto* pNode = new CTreeNodeUI;
    pNode->SetText(pstrText);
    return pNode;
}

} // namespace

TEST(TreeViewTest, BuilderNestsTreeNodesAndPutsThemIntoTheView)
{
    CWindowManagerUI manager;
    CSkinBuilder builder;
    CControlUI* pRoot = builder.Create(
        L"<Window><TreeView visiblecheckbtn=\"true\">"
        L"<TreeNode text=\"a\"><TreeNode text=\"a1\"/><TreeNode text=\"a2\" defaultexpand=\"false\">"
        L"<TreeNode text=\"a2x\"/></TreeNode></TreeNode>"
        L"<TreeNode text=\"b\" itemtextcolor=\"#FF112233\"/></TreeView></Window>",
        nullptr, nullptr, &manager, nullptr);
    std::unique_ptr<CControlUI> owner(pRoot);
    ASSERT_NE(pRoot, nullptr);
    auto* pView = static_cast<CTreeViewUI*>(pRoot->LookupInterface(L"TreeView"));
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(RowTexts(*pView), (std::vector<std::wstring>{L"a", L"a1", L"a2", L"a2x", L"b"}));
    auto* pA = static_cast<CTreeNodeUI*>(pView->ItemAt(0));
    auto* pA2 = static_cast<CTreeNodeUI*>(pView->ItemAt(2));
    auto* pA2x = static_cast<CTreeNodeUI*>(pView->ItemAt(3));
    EXPECT_EQ(pA->NodeCount(), 2);
    EXPECT_EQ(pA2x->ParentNode(), pA2);
    EXPECT_EQ(pA2x->Depth(), 2);
    EXPECT_FALSE(pA2->IsExpanded());
    EXPECT_FALSE(pA2->FolderButton()->IsSelected());
    EXPECT_FALSE(pA2x->IsShownInTree()) << "under a collapsed node";
    EXPECT_TRUE(pA2x->CheckBoxButton()->IsVisible() || !pA2x->IsVisible());
    EXPECT_EQ(pA->TreeView(), pView);
    EXPECT_EQ(pA2x->Owner(), static_cast<IListOwnerUI*>(pView));
    EXPECT_EQ(pA2x->ItemLabel()->Text(), L"a2x");
    EXPECT_GT(pA2x->DotLine()->DeclaredWidth(), pA->DotLine()->DeclaredWidth());
    for (const wchar_t* pstrName : {L"TreeNode", L"ListItem", L"ListContainerElement"}) {
        EXPECT_NE(pA->LookupInterface(pstrName), nullptr) << pstrName;
    }
    for (const wchar_t* pstrName : {L"TreeView", L"List", L"IList", L"IListOwner"}) {
        EXPECT_NE(pView->LookupInterface(pstrName), nullptr) << pstrName;
    }

    // A node outside a tree view ends the building of its sibling list.
    CSkinBuilder second;
    CControlUI* pLayout = second.Create(L"<Window><VerticalLayout><Label text=\"x\"/><TreeNode text=\"lost\">"
                                        L"<TreeNode text=\"child\"/></TreeNode><Label text=\"y\"/></VerticalLayout></Window>",
                                        nullptr, nullptr, &manager, nullptr);
    std::unique_ptr<CControlUI> layoutOwner(pLayout);
    ASSERT_NE(pLayout, nullptr);
    auto* pContainer = static_cast<IContainerUI*>(pLayout->LookupInterface(L"IContainer"));
    ASSERT_EQ(pContainer->ItemCount(), 1);
    EXPECT_EQ(pContainer->ItemAt(0)->Text(), L"x");
}

TEST(TreeViewTest, CollapsingHidesDescendantsAndChecksStayConsistentBothWays)
{
    ManagedTree<CTreeViewUI> tree;
    CTreeViewUI& view = *tree.root;
    CTreeNodeUI* pA = Node(L"a");
    CTreeNodeUI* pA1 = Node(L"a1");
    CTreeNodeUI* pA2 = Node(L"a2");
    CTreeNodeUI* pA2x = Node(L"a2x");
    CTreeNodeUI* pA2y = Node(L"a2y");
    ASSERT_TRUE(view.AddItem(pA));
    ASSERT_TRUE(pA->AddChildNode(pA1));
    ASSERT_TRUE(pA->AddChildNode(pA2));
    ASSERT_TRUE(pA2->AddChildNode(pA2x));
    ASSERT_TRUE(pA2->AddChildNode(pA2y));
    ASSERT_TRUE(view.AddItem(Node(L"b")));
    EXPECT_EQ(RowTexts(view), (std::vector<std::wstring>{L"a", L"a1", L"a2", L"a2x", L"a2y", L"b"}));
    EXPECT_FALSE(pA->AddChildNode(pA2x)) << "a node has one parent";
    EXPECT_FALSE(pA2x->AddChildNode(pA)) << "no cycles";
    EXPECT_FALSE(view.AddItem(pA2)) << "a child node goes in through its parent";

    pA2->SetExpanded(false);
    EXPECT_EQ(VisibleTexts(view), (std::vector<std::wstring>{L"a", L"a1", L"a2", L"b"}));
    pA->SetExpanded(false);
    EXPECT_EQ(VisibleTexts(view), (std::vector<std::wstring>{L"a", L"b"}));
    pA->SetExpanded(true);
    EXPECT_EQ(VisibleTexts(view), (std::vector<std::wstring>{L"a", L"a1", L"a2", L"b"})) << "a2 stays collapsed";
    EXPECT_EQ(pA->FolderButton()->Text(), L"-");
    EXPECT_EQ(pA2->FolderButton()->Text(), L"+");
    EXPECT_FALSE(pA1->FolderButton()->IsVisible()) << "a leaf has no folder button";

    pA->SetChecked(true);
    for (CTreeNodeUI* pNode : {pA, pA1, pA2, pA2x, pA2y}) {
        EXPECT_TRUE(pNode->IsChecked()) << pNode->Text().GetData();
        EXPECT_TRUE(pNode->CheckBoxButton()->IsSelected());
    }
    pA2y->SetChecked(false);
    EXPECT_FALSE(pA2->IsChecked()) << "not all of its children are checked";
    EXPECT_FALSE(pA->IsChecked());
    EXPECT_TRUE(pA1->IsChecked());
    pA2y->SetChecked(true);
    EXPECT_TRUE(pA2->IsChecked()) << "all children checked again";
    EXPECT_TRUE(pA->IsChecked());

    CTreeNodeUI* pLate = Node(L"a2z");
    ASSERT_TRUE(pA2->AddChildNode(pLate));
    EXPECT_TRUE(pLate->IsChecked()) << "a checked parent checks a new child";
    EXPECT_EQ(view.IndexOf(pLate), 5) << "after a2's last descendant";

    EXPECT_FALSE(view.SelectItem(view.IndexOf(pA2y))) << "hidden under collapsed a2";
    pA2->SetExpanded(true);
    ASSERT_TRUE(view.SelectItem(view.IndexOf(pA2y)));
    ASSERT_TRUE(view.RemoveItem(pA2));
    EXPECT_EQ(RowTexts(view), (std::vector<std::wstring>{L"a", L"a1", L"b"}));
    EXPECT_EQ(view.CurSel(), -1);
    EXPECT_EQ(pA->NodeCount(), 1);

    ASSERT_TRUE(pA->RemoveChildNode(pA1));
    std::unique_ptr<CTreeNodeUI> detached(pA1);
    EXPECT_EQ(RowTexts(view), (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(pA1->TreeView(), nullptr);
    EXPECT_FALSE(pA->FolderButton()->IsVisible());
}

TEST(TreeViewTest, ATreeAThousandLevelsDeepStaysWorkable)
{
    ManagedTree<CTreeViewUI> tree;
    CTreeNodeUI* pTop = Node(L"0");
    CTreeNodeUI* pDeepest = pTop;
    for (int i = 1; i < 1000; ++i) {
        CTreeNodeUI* pChild = Node(std::to_wstring(i).c_str());
        ASSERT_TRUE(pDeepest->AddChildNode(pChild));
        pDeepest = pChild;
    }
    ASSERT_TRUE(tree.root->AddItem(pTop));
    ASSERT_EQ(tree.root->ItemCount(), 1000);
    EXPECT_EQ(pDeepest->Depth(), 999);
    EXPECT_LE(pDeepest->DotLine()->DeclaredWidth(), 9999);
    pTop->SetChecked(true);
    EXPECT_TRUE(pDeepest->IsChecked());
    pDeepest->SetChecked(false);
    EXPECT_FALSE(pTop->IsChecked());
    pTop->SetExpanded(false);
    EXPECT_FALSE(pDeepest->IsVisible());
    tree.root->SetPosition(RECT{0, 0, 200, 300});
    EXPECT_EQ(tree.root->ItemAt(1)->Position().bottom, tree.root->ItemAt(1)->Position().top) << "hidden rows take no room";

    // Outside a view a node owns its subtree; deleting it takes all 1,000 levels.
    CTreeNodeUI* pLoose = Node(L"loose");
    CTreeNodeUI* pLast = pLoose;
    for (int i = 0; i < 1000; ++i) {
        CTreeNodeUI* pChild = Node(L"x");
        ASSERT_TRUE(pLast->AddChildNode(pChild));
        pLast = pChild;
    }
    delete pLoose;
}
