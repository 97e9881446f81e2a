#include <gtest/gtest.h>

#include "ManagerFixture.h"
#include "TestFiles.h"

#include <algorithm>

using namespace guitest;

namespace {

class ManagerTimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Hwnd(), nullptr);
        root = host.AttachNewRoot(&log);
        a = root->AddChild(L"a", RECT{10, 10, 60, 60});
        b = root->AddChild(L"b", RECT{100, 10, 160, 60});
        host.PaintNow(true);
        log.Clear();
    }

    size_t TimerEventsOf(const std::wstring& name, WPARAM localId) const
    {
        return std::count_if(log.events.begin(), log.events.end(), [&](const EventRecord& r) {
            return r.type == EventTimer && r.control == name && r.wParam == localId;
        });
    }

    EventLog log;
    TestHostWindow host;
    CTestContainerUI* root = nullptr;
    CTestControlUI* a = nullptr;
    CTestControlUI* b = nullptr;
};

} // namespace

TEST_F(ManagerTimerTest, SystemIdsStartAt17AndWrapAroundBelow240)
{
    CWindowManagerUI& manager = host.Manager();
    for (UINT localId = 0; localId < ControlTimerIdLimit; ++localId) {
        ASSERT_TRUE(manager.StartTimer(a, localId, 100000)) << localId;
        EXPECT_EQ(manager.TimerSystemId(a, localId), (17 + localId) % 240) << localId;
    }
    // Every id below 240 is taken: a further timer must not steal one.
    EXPECT_FALSE(manager.StartTimer(b, 1, 100000));
    // A stopped record keeps its id for a restart; a removed control frees its ids.
    ASSERT_TRUE(manager.StopTimer(a, 5));
    EXPECT_FALSE(manager.StartTimer(b, 1, 100000));
    root->RemoveChild(a);
    ASSERT_TRUE(manager.StartTimer(b, 1, 100000));
    EXPECT_LT(manager.TimerSystemId(b, 1), 240u);
}

TEST_F(ManagerTimerTest, ElapsedTimerReachesItsControlWithTheLocalId)
{
    ASSERT_TRUE(host.Manager().StartTimer(a, 7, 10));
    EXPECT_TRUE(wxlmtest::WaitUntil([&] {
        host.PumpRange(WM_TIMER, WM_TIMER);
        return TimerEventsOf(L"a", 7) > 0;
    }));
    EXPECT_EQ(TimerEventsOf(L"b", 7), 0u);
}

TEST_F(ManagerTimerTest, StopAndRestartReuseTheRecord)
{
    CWindowManagerUI& manager = host.Manager();
    ASSERT_TRUE(manager.StartTimer(a, 3, 100000));
    const UINT systemId = manager.TimerSystemId(a, 3);
    EXPECT_FALSE(manager.StartTimer(a, 3, 100000)); // already running
    EXPECT_TRUE(manager.StopTimer(a, 3));
    EXPECT_FALSE(manager.StopTimer(a, 3));
    host.Send(WM_TIMER, systemId);
    EXPECT_EQ(TimerEventsOf(L"a", 3), 0u); // a stopped timer delivers nothing

    EXPECT_TRUE(manager.StartTimer(a, 3, 100000));
    EXPECT_EQ(manager.TimerSystemId(a, 3), systemId);
    host.Send(WM_TIMER, systemId);
    EXPECT_EQ(TimerEventsOf(L"a", 3), 1u);
}

TEST_F(ManagerTimerTest, UnknownTimerIdsAreIgnored)
{
    ASSERT_TRUE(host.Manager().StartTimer(a, 1, 100000));
    for (WPARAM id : {WPARAM{0}, WPARAM{239}, CaretTimerId, WPARAM{4096}, ~WPARAM{0}}) {
        if (id == host.Manager().TimerSystemId(a, 1)) {
            continue;
        }
        host.Send(WM_TIMER, id);
    }
    EXPECT_TRUE(log.Sequence({EventTimer}).empty());
    EXPECT_EQ(std::count(host.Unhandled().begin(), host.Unhandled().end(), WM_TIMER), 5);
}

TEST_F(ManagerTimerTest, TimerOfARemovedControlIsDroppedWithIt)
{
    CWindowManagerUI& manager = host.Manager();
    ASSERT_TRUE(manager.StartTimer(b, 2, 10));
    const UINT systemId = manager.TimerSystemId(b, 2);
    root->RemoveChild(b);
    EXPECT_EQ(manager.TimerSystemId(b, 2), 0u);

    host.Send(WM_TIMER, systemId);
    ASSERT_TRUE(manager.StartTimer(a, 9, 10));
    EXPECT_TRUE(wxlmtest::WaitUntil([&] {
        host.PumpRange(WM_TIMER, WM_TIMER);
        return TimerEventsOf(L"a", 9) > 0;
    }));
    EXPECT_EQ(log.Sequence({EventTimer}).size(), TimerEventsOf(L"a", 9));
}

TEST(ManagerCaret, CaretBlinksOnlyWhileItsOwnerHasTheFocus)
{
    EventLog log;
    TestHostWindow host;
    CTestContainerUI* root = host.AttachNewRoot(&log, RGB(255, 255, 255));
    auto* a = root->AddChild(L"a", RECT{10, 10, 60, 60});
    auto* b = root->AddChild(L"b", RECT{100, 10, 160, 60});
    host.PaintNow(true);
    CWindowManagerUI& manager = host.Manager();
    a->SetInputFlags(InputTabStop);
    ::SetFocus(host.Hwnd());
    manager.SetFocusControl(a);
    manager.SetCaret(a, RECT{20, 20, 22, 40}, 0xFF00FF00);
    manager.ShowCaret(true);
    host.PaintNow(true);
    EXPECT_EQ(::GetPixel(manager.OffscreenDC(), 21, 30), RGB(0, 255, 0));

    host.Send(WM_TIMER, CaretTimerId); // blink phase: hidden
    host.PaintNow();
    EXPECT_NE(::GetPixel(manager.OffscreenDC(), 21, 30), RGB(0, 255, 0));
    host.Send(WM_TIMER, CaretTimerId);
    host.PaintNow();
    EXPECT_EQ(::GetPixel(manager.OffscreenDC(), 21, 30), RGB(0, 255, 0));

    // Losing the focus hides the caret once; later paints stay quiet.
    manager.SetFocusControl(b);
    host.PaintNow(true);
    EXPECT_NE(::GetPixel(manager.OffscreenDC(), 21, 30), RGB(0, 255, 0));
    host.PaintNow();
    RECT rcUpdate = {};
    EXPECT_FALSE(::GetUpdateRect(host.Hwnd(), &rcUpdate, FALSE));
}

// The caret goes through the render engine's colour fill: alpha 0 draws nothing, a translucent
// colour blends with what lies below, an opaque one covers it.
TEST(ManagerCaret, CaretColourIsBlendedByItsAlpha)
{
    struct CaretCase {
        DWORD color;
        COLORREF expected;
    };
    const CaretCase cases[] = {
        {0x00FF0000, RGB(255, 255, 255)}, // red at alpha 0: nothing
        {0x80000000, RGB(127, 127, 127)}, // black at half strength over white
        {0xFF0000FF, RGB(0, 0, 255)},
    };
    for (const CaretCase& c : cases) {
        EventLog log;
        TestHostWindow host;
        CTestContainerUI* root = host.AttachNewRoot(&log, RGB(255, 255, 255));
        auto* a = root->AddChild(L"a", RECT{10, 10, 60, 60}, RGB(255, 255, 255));
        a->SetInputFlags(InputTabStop);
        CWindowManagerUI& manager = host.Manager();
        ::SetFocus(host.Hwnd());
        manager.SetFocusControl(a);
        manager.SetCaret(a, RECT{20, 20, 24, 40}, c.color);
        manager.ShowCaret(true);
        host.PaintNow(true);
        const COLORREF pixel = ::GetPixel(manager.OffscreenDC(), 21, 30);
        EXPECT_NEAR(GetRValue(pixel), GetRValue(c.expected), 2) << std::hex << c.color;
        EXPECT_NEAR(GetGValue(pixel), GetGValue(c.expected), 2) << std::hex << c.color;
        EXPECT_NEAR(GetBValue(pixel), GetBValue(c.expected), 2) << std::hex << c.color;
        EXPECT_EQ(::GetPixel(manager.OffscreenDC(), 30, 30), RGB(255, 255, 255)) << std::hex << c.color;
    }
}

TEST_F(ManagerTimerTest, TheIntervalOfARunningTimerCanBeRead)
{
    CWindowManagerUI& manager = host.Manager();
    EXPECT_EQ(manager.TimerElapse(a, 3), 0u) << "no such timer";
    ASSERT_TRUE(manager.StartTimer(a, 3, 250));
    EXPECT_EQ(manager.TimerElapse(a, 3), 250u);
    EXPECT_FALSE(manager.StartTimer(a, 3, 40)) << "a running timer is not set again";
    EXPECT_EQ(manager.TimerElapse(a, 3), 250u);
    ASSERT_TRUE(manager.StopTimer(a, 3));
    EXPECT_EQ(manager.TimerElapse(a, 3), 0u) << "stopped";
    ASSERT_TRUE(manager.StartTimer(a, 3, 40));
    EXPECT_EQ(manager.TimerElapse(a, 3), 40u) << "restarted with a new interval";
    EXPECT_EQ(manager.TimerElapse(b, 3), 0u);
}
