#include <gtest/gtest.h>

#include "controls/Control.h"

#include <vector>

using namespace Tarvo;

namespace {

// Records the events that reach HandleEvent, per control.
class CProbeUI : public CControlUI {
public:
    explicit CProbeUI(std::vector<std::pair<CControlUI*, int>>* pSeen) : m_pSeen(pSeen) {}
    void HandleEvent(ControlEvent& event) override
    {
        m_pSeen->emplace_back(this, event.type);
        CControlUI::HandleEvent(event);
    }

private:
    std::vector<std::pair<CControlUI*, int>>* m_pSeen;
};

struct Gate {
    bool bPass;
    int nCalls = 0;
    bool Check(void*)
    {
        ++nCalls;
        return bPass;
    }
};

CControlUI* AcceptAll(CControlUI* pControl, void*)
{
    return pControl;
}

} // namespace

TEST(ControlContract, MouseEventsAreExactlyTypes9To18)
{
    for (int type = 0; type <= 30; ++type) {
        EXPECT_EQ(IsMouseEvent(type), type >= 9 && type <= 18) << type;
    }
    EXPECT_FALSE(IsMouseEvent(EventKillFocus));
    EXPECT_FALSE(IsMouseEvent(EventTimer));
    EXPECT_EQ(FindVisible | FindHitTest | FindTopFirst, 13u);
    EXPECT_EQ(FindMeFirst, 0x80000000u);
}

TEST(ControlContract, BaseAnswersForItselfOnly)
{
    CControlUI control;
    EXPECT_STREQ(control.TypeName(), L"ControlUI");
    EXPECT_EQ(control.LookupInterface(L"Control"), &control);
    EXPECT_EQ(control.LookupInterface(L"control"), nullptr);
    EXPECT_EQ(control.LookupInterface(L"Button"), nullptr);
    EXPECT_EQ(control.InputFlags(), 0u);
    EXPECT_EQ(control.Manager(), nullptr);
    EXPECT_EQ(control.Parent(), nullptr);
    EXPECT_EQ(control.ToolTipWidth(), 300);
    EXPECT_TRUE(control.Invoke());
    control.SetEnabled(false);
    EXPECT_FALSE(control.Invoke());
    control.SetEnabled(true);
    control.SetVisible(false);
    EXPECT_FALSE(control.Invoke());
}

TEST(ControlContract, SearchFlagsSkipWhatTheyName)
{
    CControlUI control;
    control.SetPosition(RECT{10, 10, 20, 20});
    POINT inside = {15, 15};
    POINT outside = {25, 15};
    EXPECT_EQ(control.SearchTree(AcceptAll, &inside, FindVisible | FindEnabled | FindHitTest), &control);
    EXPECT_EQ(control.SearchTree(AcceptAll, &outside, FindHitTest), nullptr);
    EXPECT_EQ(control.SearchTree(AcceptAll, &outside, FindVisible), &control);
    EXPECT_EQ(control.SearchTree(AcceptAll, nullptr, FindHitTest), nullptr);
    control.SetMouseEnabled(false);
    EXPECT_EQ(control.SearchTree(AcceptAll, &inside, FindHitTest), nullptr);
    control.SetEnabled(false);
    EXPECT_EQ(control.SearchTree(AcceptAll, &inside, FindEnabled), nullptr);
    control.SetVisible(false);
    EXPECT_EQ(control.SearchTree(AcceptAll, &inside, FindVisible), nullptr);
    EXPECT_EQ(control.SearchTree(AcceptAll, &inside, 0), &control);
}

TEST(ControlContract, EventHandlersCanConsumeAndUnhandledEventsBubbleUp)
{
    std::vector<std::pair<CControlUI*, int>> seen;
    CProbeUI parent(&seen);
    CProbeUI child(&seen);
    child.AttachTo(nullptr, &parent, false);
    Gate pass = {true};
    Gate stop = {false};
    child.EventHandlers().Add(MakeDelegate(&pass, &Gate::Check));

    ControlEvent move;
    move.type = EventMouseMove;
    child.DispatchEvent(move);
    EXPECT_EQ(seen, (std::vector<std::pair<CControlUI*, int>>{{&child, EventMouseMove}, {&parent, EventMouseMove}}));

    // Focus events are the control's own; they do not bubble.
    seen.clear();
    ControlEvent focus;
    focus.type = EventSetFocus;
    child.DispatchEvent(focus);
    EXPECT_TRUE(child.IsFocused());
    EXPECT_EQ(seen.size(), 1u);

    seen.clear();
    child.EventHandlers().Add(MakeDelegate(&stop, &Gate::Check));
    child.DispatchEvent(move);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(pass.nCalls, 3);
    EXPECT_EQ(stop.nCalls, 1);
}

TEST(ControlContract, SetPositionNormalisesTheRectangle)
{
    CControlUI control;
    control.SetPosition(RECT{50, 40, 10, 5});
    const RECT rc = control.Position();
    EXPECT_EQ(rc.left, 50);
    EXPECT_EQ(rc.right, 50);
    EXPECT_EQ(rc.top, 40);
    EXPECT_EQ(rc.bottom, 40);
    EXPECT_EQ(control.Width(), 0);
}

TEST(ControlContract, DelegatesCompareByObjectAndFunction)
{
    Gate one = {true};
    Gate two = {true};
    CEventSource handlers;
    handlers.Add(MakeDelegate(&one, &Gate::Check));
    EXPECT_FALSE(handlers.Remove(MakeDelegate(&two, &Gate::Check)));
    EXPECT_TRUE(handlers.Remove(MakeDelegate(&one, &Gate::Check)));
    EXPECT_TRUE(handlers.IsEmpty());
    EXPECT_TRUE(handlers.Invoke(nullptr));
}

TEST(ControlContract, VirtualWindowNameComesFromTheNearestAncestorThatHasOne)
{
    CControlUI top;
    CControlUI middle;
    CControlUI leaf;
    middle.AttachTo(nullptr, &top, false);
    leaf.AttachTo(nullptr, &middle, false);
    EXPECT_TRUE(leaf.VirtualWindowName().IsEmpty());
    top.SetVirtualWindowName(L"outer");
    EXPECT_EQ(leaf.VirtualWindowName(), CUIString(L"outer"));
    middle.SetVirtualWindowName(L"inner");
    EXPECT_EQ(leaf.VirtualWindowName(), CUIString(L"inner"));
}
