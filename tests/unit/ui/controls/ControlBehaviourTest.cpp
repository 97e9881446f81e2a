#include <gtest/gtest.h>

#include "ControlTestSupport.h"

#include <string>
#include <vector>

using namespace controltest;

namespace {

// Records the events reaching HandleEvent, then lets the base handle them.
class CRecordingControlUI : public CFixedControlUI {
public:
    void HandleEvent(ControlEvent& event) override
    {
        seen.push_back(event.type);
        CFixedControlUI::HandleEvent(event);
    }
    std::vector<int> seen;
};

class CRecordingContainerUI : public CContainerUI {
public:
    void HandleEvent(ControlEvent& event) override
    {
        seen.push_back(event.type);
        senders.push_back(event.sender);
        CContainerUI::HandleEvent(event);
    }
    std::vector<int> seen;
    std::vector<CControlUI*> senders;
};

// A handler object whose member functions the delegates bind.
struct HandlerTarget {
    bool Record(void* p)
    {
        calls.push_back(p);
        return answer;
    }
    bool Other(void* p)
    {
        calls.push_back(p);
        return true;
    }
    std::vector<void*> calls;
    bool answer = true;
    std::vector<std::wstring>* order = nullptr;
};

ControlEvent MakeEvent(int type, CControlUI* pSender, WPARAM wParam = 0, LPARAM lParam = 0)
{
    ControlEvent event;
    event.type = type;
    event.sender = pSender;
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

} // namespace

TEST(ControlBehaviourTest, SetPositionNormalisesAReversedRectangle)
{
    ManagedTree<CContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pChild = tree.Add();
    pChild->SetPosition(RECT{50, 40, 20, 10});
    EXPECT_EQ(pChild->Position(), (RECT{50, 40, 50, 40}));
    EXPECT_EQ(pChild->Width(), 0);
    EXPECT_FALSE(pChild->IsUpdateNeeded());
}

TEST(ControlBehaviourTest, FloatingControlRederivesItsOffsetFromWhereItStands)
{
    ManagedTree<CContainerUI> tree(RECT{0, 0, 200, 100});
    auto* pRight = tree.Add(L"float=\"true\" pos=\"-50,10,-20,30\"");
    auto* pLeft = tree.Add(L"float=\"true\" pos=\"5,10,25,30\"");
    pRight->SetPosition(RECT{140, 20, 180, 50});
    pLeft->SetPosition(RECT{15, 12, 45, 52});
    EXPECT_EQ(pRight->FixedOffset(), (SIZE{-20, 20}));
    EXPECT_EQ(pRight->DeclaredWidth(), 40);
    EXPECT_EQ(pRight->DeclaredHeight(), 30);
    EXPECT_EQ(pLeft->FixedOffset(), (SIZE{15, 12}));
    EXPECT_EQ(pLeft->DeclaredWidth(), 30);
    EXPECT_EQ(pLeft->DeclaredHeight(), 40);
}

TEST(ControlBehaviourTest, SizeHandlersRunOnPlacementWithoutReentering)
{
    ManagedTree<CContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pChild = tree.Add();
    struct Reentrant {
        bool OnSize(void* p)
        {
            ++count;
            static_cast<CControlUI*>(p)->SetPosition(RECT{1, 1, 2, 2});
            return true;
        }
        int count = 0;
    } target;
    pChild->SizeHandlers().Add(MakeDelegate(&target, &Reentrant::OnSize));
    pChild->SetPosition(RECT{0, 0, 10, 10});
    EXPECT_EQ(target.count, 1);
}

TEST(ControlBehaviourTest, MouseHoverSendsMouseEnterAndBubblesTheSameRecord)
{
    ManagedTree<CRecordingContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pChild = tree.Add<CRecordingControlUI>();
    ControlEvent event = MakeEvent(EventMouseHover, pChild, 7, 9);
    pChild->DispatchEvent(event);

    // The parent's own base handling sends it once more, as the parent.
    ASSERT_EQ(tree.notifications.records.size(), 2u);
    EXPECT_EQ(tree.notifications.records[1].sender, tree.root);
    EXPECT_EQ(tree.notifications.records[0].type, L"mouseenter");
    EXPECT_EQ(tree.notifications.records[0].sender, pChild);
    EXPECT_EQ(tree.notifications.records[0].wParam, 7u);
    EXPECT_EQ(tree.notifications.records[0].lParam, 9);
    EXPECT_EQ(tree.root->seen, (std::vector<int>{EventMouseHover}));
    EXPECT_EQ(tree.root->senders, (std::vector<CControlUI*>{pChild}));
}

TEST(ControlBehaviourTest, EventsTheBaseHandlesDoNotBubble)
{
    ManagedTree<CRecordingContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pChild = tree.Add<CRecordingControlUI>(L"menu=\"true\"");
    for (int type : {EventSetCursor, EventSetFocus, EventKillFocus, EventTimer, EventContextMenu}) {
        ControlEvent event = MakeEvent(type, pChild, 3);
        pChild->DispatchEvent(event);
    }
    EXPECT_TRUE(tree.root->seen.empty());
    EXPECT_EQ(tree.notifications.Types(), (std::vector<std::wstring>{L"timer", L"menu"}));
    EXPECT_FALSE(pChild->IsFocused());

    ControlEvent leave = MakeEvent(EventMouseLeave, pChild);
    pChild->DispatchEvent(leave);
    ControlEvent key = MakeEvent(EventKeyDown, pChild, 'A');
    pChild->DispatchEvent(key);
    EXPECT_EQ(tree.root->seen, (std::vector<int>{EventMouseLeave, EventKeyDown}));
    EXPECT_EQ(tree.notifications.Types(), (std::vector<std::wstring>{L"timer", L"menu", L"mouseleave", L"mouseleave"}));
}

TEST(ControlBehaviourTest, ContextMenuWithoutMenuBubbles)
{
    ManagedTree<CRecordingContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pChild = tree.Add<CRecordingControlUI>();
    ControlEvent event = MakeEvent(EventContextMenu, pChild);
    pChild->DispatchEvent(event);
    EXPECT_EQ(tree.root->seen, (std::vector<int>{EventContextMenu}));
    EXPECT_TRUE(tree.notifications.records.empty());
}

TEST(ControlBehaviourTest, AnEventHandlerAnsweringFalseConsumesTheEvent)
{
    ManagedTree<CContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pChild = tree.Add<CRecordingControlUI>();
    HandlerTarget first;
    HandlerTarget second;
    pChild->EventHandlers().Add(MakeDelegate(&first, &HandlerTarget::Record));
    pChild->EventHandlers().Add(MakeDelegate(&second, &HandlerTarget::Record));
    ControlEvent event = MakeEvent(EventKeyDown, pChild);
    pChild->DispatchEvent(event);
    EXPECT_EQ(pChild->seen.size(), 1u);
    EXPECT_EQ(second.calls.size(), 1u);

    first.answer = false;
    pChild->DispatchEvent(event);
    EXPECT_EQ(pChild->seen.size(), 1u);
    EXPECT_EQ(first.calls.size(), 2u);
    EXPECT_EQ(second.calls.size(), 1u) << "the list stops at the first false";
}

TEST(ControlBehaviourTest, InitializeRunsTheHookThenTheInitHandlers)
{
    CWindowManagerUI manager;
    auto* pRoot = new CContainerUI;
    auto* pChild = new CFixedControlUI;
    HandlerTarget target;
    pChild->InitHandlers().Add(MakeDelegate(&target, &HandlerTarget::Record));
    pRoot->AddItem(pChild);
    EXPECT_TRUE(target.calls.empty()) << "without a manager nothing is initialised yet";
    manager.AttachRoot(pRoot);
    ASSERT_EQ(target.calls.size(), 1u);
    EXPECT_EQ(target.calls[0], pChild);
    EXPECT_EQ(pChild->Parent(), pRoot);
    EXPECT_EQ(pChild->Manager(), &manager);
}

TEST(ControlBehaviourTest, DestructionCallsTheDestroyHandlersAndForgetsTheControl)
{
    ManagedTree<CContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pChild = tree.Add(L"name=\"victim\"");
    HandlerTarget first;
    HandlerTarget second;
    first.answer = false;
    pChild->DestroyHandlers().Add(MakeDelegate(&first, &HandlerTarget::Record));
    pChild->DestroyHandlers().Add(MakeDelegate(&second, &HandlerTarget::Record));
    pChild->RequestFocus();
    ASSERT_EQ(tree.manager.FocusControl(), pChild);
    ASSERT_EQ(tree.manager.ControlByName(L"victim"), pChild);

    tree.root->SetDelayedDestroy(false);
    ASSERT_TRUE(tree.root->RemoveItem(pChild));
    EXPECT_EQ(first.calls, (std::vector<void*>{pChild}));
    EXPECT_TRUE(second.calls.empty());
    EXPECT_EQ(tree.manager.FocusControl(), nullptr);
    EXPECT_EQ(tree.manager.ControlByName(L"victim"), nullptr);
}

TEST(ControlBehaviourTest, HandlerListsRemoveByObjectAndFunction)
{
    CControlUI control;
    HandlerTarget target;
    control.NotifyHandlers().Add(MakeDelegate(&target, &HandlerTarget::Record));
    EXPECT_FALSE(control.NotifyHandlers().Remove(MakeDelegate(&target, &HandlerTarget::Other)));
    EXPECT_TRUE(control.NotifyHandlers().Remove(MakeDelegate(&target, &HandlerTarget::Record)));
    EXPECT_TRUE(control.NotifyHandlers().IsEmpty());
}

TEST(ControlBehaviourTest, HidingTheFocusedControlClearsTheFocusAndMarksTheParent)
{
    ManagedTree<CContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pChild = tree.Add();
    tree.Layout(RECT{0, 0, 100, 100});
    pChild->RequestFocus();
    ASSERT_EQ(tree.manager.FocusControl(), pChild);
    ASSERT_FALSE(tree.root->IsUpdateNeeded());

    pChild->SetVisible(false);
    EXPECT_EQ(tree.manager.FocusControl(), nullptr);
    EXPECT_TRUE(tree.root->IsUpdateNeeded());
    EXPECT_TRUE(tree.manager.IsLayoutNeeded());

    tree.Layout(RECT{0, 0, 100, 100});
    pChild->SetVisible(false);
    EXPECT_FALSE(tree.root->IsUpdateNeeded()) << "hiding a hidden control does nothing";
}

TEST(ControlBehaviourTest, SizeChangesMarkTheParentOrAFloatingControlItself)
{
    ManagedTree<CContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pFlow = tree.Add();
    auto* pFloat = tree.Add(L"float=\"true\"");
    tree.Layout(RECT{0, 0, 100, 100});

    pFloat->SetDeclaredWidth(30);
    EXPECT_TRUE(pFloat->IsUpdateNeeded());
    EXPECT_FALSE(tree.root->IsUpdateNeeded());

    pFlow->SetDeclaredWidth(30);
    EXPECT_TRUE(tree.root->IsUpdateNeeded());
}

TEST(ControlBehaviourTest, SettingAnUnchangedWidthOrHeightMarksNothing)
{
    ManagedTree<CContainerUI> tree(RECT{0, 0, 100, 100});
    auto* pFlow = tree.Add(L"width=\"30\" height=\"20\"");
    auto* pFloat = tree.Add(L"float=\"true\" pos=\"1,2,31,22\"");
    tree.Layout(RECT{0, 0, 100, 100});
    ASSERT_FALSE(tree.root->IsUpdateNeeded());
    ASSERT_FALSE(pFloat->IsUpdateNeeded());

    for (CControlUI* pControl : {static_cast<CControlUI*>(pFlow), static_cast<CControlUI*>(pFloat)}) {
        pControl->SetDeclaredWidth(30);
        pControl->SetDeclaredHeight(20);
    }
    EXPECT_FALSE(tree.root->IsUpdateNeeded());
    EXPECT_FALSE(pFloat->IsUpdateNeeded());

    pFlow->SetDeclaredHeight(21);
    EXPECT_TRUE(tree.root->IsUpdateNeeded()) << "a changed height still marks the parent";
}

TEST(ControlBehaviourTest, VirtualWindowNameComesFromTheNearestAncestor)
{
    ManagedTree<CContainerUI> tree(RECT{0, 0, 100, 100});
    tree.root->ApplyAttribute(L"virtualwnd", L"page");
    auto* pInner = tree.Add<CContainerUI>();
    auto* pLeaf = tree.Add(pInner);
    EXPECT_EQ(pLeaf->VirtualWindowName(), L"page");
    pInner->ApplyAttribute(L"virtualwnd", L"inner");
    EXPECT_EQ(pLeaf->VirtualWindowName(), L"inner");
    EXPECT_TRUE(tree.manager.UsesVirtualWindow());
    CControlUI orphan;
    EXPECT_EQ(orphan.VirtualWindowName(), L"");
}

TEST(ControlBehaviourTest, BaseIdentityAndInvoke)
{
    CControlUI control;
    EXPECT_STREQ(control.TypeName(), L"ControlUI");
    EXPECT_EQ(control.LookupInterface(L"Control"), &control);
    EXPECT_EQ(control.LookupInterface(L"Container"), nullptr);
    EXPECT_EQ(control.InputFlags(), 0u);
    EXPECT_TRUE(control.Invoke());
    control.SetEnabled(false);
    EXPECT_FALSE(control.Invoke());
    EXPECT_EQ(control.MeasureSize(SIZE{500, 500}), (SIZE{0, 0}));
}
