#include <gtest/gtest.h>

#include "ManagerFixture.h"
#include "TestFiles.h"

#include <algorithm>

using namespace guitest;

namespace {

class ManagerMouseTest : public ::testing::Test {
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

    POINT ScreenPoint(int x, int y)
    {
        POINT pt = {x, y};
        ::ClientToScreen(host.Hwnd(), &pt);
        return pt;
    }

    EventLog log;
    TestHostWindow host;
    CTestContainerUI* root = nullptr;
    CTestControlUI* a = nullptr;
    CTestControlUI* b = nullptr;
};

const std::vector<int> HoverTypes = {EventMouseMove, EventMouseLeave, EventMouseEnter};

} // namespace

TEST_F(ManagerMouseTest, MovingToAnotherControlSendsLeaveThenEnterThenMove)
{
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(20, 20));
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(110, 20));
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(120, 30));

    const std::vector<std::wstring> expected = {L"a:11", L"a:9", L"a:10", L"b:11", L"b:9", L"b:9"};
    EXPECT_EQ(log.Sequence(HoverTypes), expected);
    EXPECT_EQ(host.Manager().HoverControl(), b);
}

TEST_F(ManagerMouseTest, CapturedControlGetsTheMovesOverOtherControls)
{
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(20, 20));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
    EXPECT_EQ(::GetCapture(), host.Hwnd());
    log.Clear();

    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(110, 20));

    const std::vector<std::wstring> expected = {L"a:10", L"b:11", L"a:9"};
    EXPECT_EQ(log.Sequence(HoverTypes), expected);
}

TEST_F(ManagerMouseTest, ButtonUpOutsideTheWindowReachesThePressedControl)
{
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
    ASSERT_EQ(host.Manager().ClickControl(), a);

    host.Send(WM_LBUTTONUP, 0, ClientPoint(-300, 900));

    const std::vector<std::wstring> expected = {L"a:13", L"a:14"};
    EXPECT_EQ(log.Sequence({EventButtonDown, EventButtonUp}), expected);
    EXPECT_EQ(host.Manager().ClickControl(), nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
    // A second release has nobody to go to.
    host.Send(WM_LBUTTONUP, 0, ClientPoint(20, 20));
    EXPECT_EQ(log.Sequence({EventButtonUp}).size(), 1u);
}

TEST_F(ManagerMouseTest, ButtonDownFocusesAndCarriesTheButtonState)
{
    a->SetInputFlags(InputTabStop);
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, ClientPoint(20, 20));
    EXPECT_EQ(host.Manager().FocusControl(), a);
    ASSERT_FALSE(log.events.empty());
    const EventRecord& down = log.events.back();
    EXPECT_EQ(down.type, EventButtonDown);
    EXPECT_EQ(down.keyState, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(down.lParam, ClientPoint(20, 20));
}

TEST_F(ManagerMouseTest, WheelDirectionBecomesWParam)
{
    struct Case {
        short delta;
        WPARAM expected;
    };
    for (const Case& c : {Case{-120, 1}, Case{120, 0}, Case{-1, 1}, Case{0, 0}}) {
        log.Clear();
        const POINT pt = ScreenPoint(20, 20);
        const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
        host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.delta)), lParam);
        const auto wheel = std::find_if(log.events.begin(), log.events.end(),
                                        [](const EventRecord& r) { return r.type == EventScrollWheel; });
        ASSERT_NE(wheel, log.events.end()) << c.delta;
        EXPECT_EQ(wheel->wParam, c.expected) << c.delta;
        EXPECT_EQ(wheel->lParam, lParam);
        EXPECT_EQ(wheel->control, L"a");
    }
    // The wheel is followed by a move at its point, so hover follows the wheel.
    EXPECT_EQ(host.Manager().HoverControl(), a);
}

TEST_F(ManagerMouseTest, SetCursorWhileCapturedIsHandledWithoutAskingControls)
{
    a->SetInputFlags(InputSetCursor);
    b->SetInputFlags(InputSetCursor);
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
    log.Clear();

    EXPECT_EQ(host.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_TRUE(log.Sequence({EventSetCursor}).empty());
    EXPECT_EQ(std::count(host.Unhandled().begin(), host.Unhandled().end(), WM_SETCURSOR), 0);
}

TEST_F(ManagerMouseTest, SetCursorGoesOnlyToControlsThatAskForIt)
{
    b->SetInputFlags(InputSetCursor);
    const LPARAM lParam = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    struct Case {
        int x;
        bool handled;
    };
    CursorLock cursor;
    for (const Case& c : {Case{120, true}, Case{20, false}}) {
        log.Clear();
        ASSERT_TRUE(cursor.MoveTo(host.Hwnd(), c.x, 20));
        const size_t before = std::count(host.Unhandled().begin(), host.Unhandled().end(), WM_SETCURSOR);
        host.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Hwnd()), lParam);
        const size_t after = std::count(host.Unhandled().begin(), host.Unhandled().end(), WM_SETCURSOR);
        EXPECT_EQ(after == before, c.handled) << c.x;
        EXPECT_EQ(log.Sequence({EventSetCursor}).size(), c.handled ? 1u : 0u) << c.x;
    }
    // Outside the client area the manager never answers.
    const size_t before = std::count(host.Unhandled().begin(), host.Unhandled().end(), WM_SETCURSOR);
    host.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Hwnd()), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_EQ(std::count(host.Unhandled().begin(), host.Unhandled().end(), WM_SETCURSOR), before + 1);
}

TEST_F(ManagerMouseTest, HitTestFindsTheTopmostVisibleMouseEnabledControl)
{
    auto* over = root->AddChild(L"over", RECT{40, 40, 120, 120});
    auto* ghost = root->AddChild(L"ghost", RECT{0, 0, 200, 200});
    ghost->SetMouseEnabled(false);
    auto* hidden = root->AddChild(L"hidden", RECT{0, 0, 200, 200});
    hidden->SetVisible(false);
    host.PaintNow(true);

    struct Case {
        POINT pt;
        CControlUI* expected;
    };
    for (const Case& c : {Case{{20, 20}, a}, Case{{50, 50}, over}, Case{{110, 50}, over}, Case{{130, 20}, b},
                          Case{{250, 150}, root}, Case{{-5, 5}, nullptr}, Case{{5000, 5000}, nullptr}}) {
        EXPECT_EQ(host.Manager().ControlAt(c.pt), c.expected) << c.pt.x << "," << c.pt.y;
    }
}

TEST_F(ManagerMouseTest, HoverSendsHoverAndShowsOneToolPerWindow)
{
    a->SetToolTip(L"first<n>line");
    b->SetToolTip(L"second");
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(20, 20));
    EXPECT_EQ(host.Send(WM_MOUSEHOVER, 0, ClientPoint(20, 20)), 0);
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(110, 20));
    host.Send(WM_MOUSEHOVER, 0, ClientPoint(110, 20));

    const std::vector<std::wstring> expected = {L"a:12", L"b:12"};
    EXPECT_EQ(log.Sequence({EventMouseHover}), expected);
    HWND hTip = nullptr;
    for (HWND h = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); h != nullptr;
         h = ::FindWindowExW(nullptr, h, TOOLTIPS_CLASSW, nullptr)) {
        if (::GetWindow(h, GW_OWNER) == host.Hwnd()) {
            hTip = h;
        }
    }
    ASSERT_NE(hTip, nullptr);
    EXPECT_EQ(::SendMessageW(hTip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[64] = {};
    TOOLINFOW ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = host.Hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(host.Hwnd());
    ti.lpszText = text;
    ::SendMessageW(hTip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(text, L"second");
    EXPECT_EQ(a->ToolTip(), CUIString(L"first\r\nline"));
}

TEST_F(ManagerMouseTest, HoverOverNothingIsNotHandled)
{
    host.Send(WM_MOUSEHOVER, 0, ClientPoint(-40, -40));
    EXPECT_EQ(std::count(host.Unhandled().begin(), host.Unhandled().end(), WM_MOUSEHOVER), 1);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(ManagerMouseTest, DoubleClickAndContextMenuGoToTheControlUnderTheMouse)
{
    host.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(20, 20));
    host.Send(WM_LBUTTONUP, 0, ClientPoint(20, 20));
    host.Send(WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(110, 20));
    const POINT pt = ScreenPoint(110, 20);
    host.Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.Hwnd()), MAKELPARAM(pt.x, pt.y));

    const std::vector<std::wstring> expected = {L"a:16", L"a:14", L"b:15", L"b:17"};
    EXPECT_EQ(log.Sequence({EventDoubleClick, EventButtonUp, EventRightButtonDown, EventContextMenu}), expected);
    EXPECT_EQ(log.events.back().lParam, reinterpret_cast<LPARAM>(b));
    EXPECT_EQ(host.Manager().ClickControl(), nullptr);
}

TEST_F(ManagerMouseTest, MouseLeavingTheWindowLeavesTheHoveredControl)
{
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(20, 20));
    host.Send(WM_MOUSELEAVE);
    EXPECT_EQ(log.Sequence(HoverTypes).back(), L"a:10");
    EXPECT_EQ(host.Manager().HoverControl(), nullptr);
}

TEST_F(ManagerMouseTest, CloseEndsHoverAndCapture)
{
    a->SetInputFlags(InputTabStop);
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(20, 20));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
    log.Clear();
    LRESULT lRes = 0;
    EXPECT_FALSE(host.Manager().HandleWindowMessage(WM_CLOSE, 0, 0, lRes));
    const std::vector<std::wstring> expected = {L"a:10", L"a:14", L"a:20"};
    EXPECT_EQ(log.Sequence(), expected);
    EXPECT_EQ(host.Manager().FocusControl(), nullptr);
}

TEST_F(ManagerMouseTest, ControlOfAnotherManagerUnderTheMouseIsIgnored)
{
    CWindowManagerUI other;
    auto* stranger = root->AddChild(L"stranger", RECT{200, 100, 260, 160});
    host.PaintNow(true);
    stranger->AttachTo(&other, root, false);
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(20, 20));
    log.Clear();

    host.Send(WM_MOUSEMOVE, 0, ClientPoint(210, 110));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(210, 110));
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(host.Manager().HoverControl(), a);
    EXPECT_EQ(host.Manager().ClickControl(), nullptr);
    stranger->AttachTo(&host.Manager(), root, false);
}

TEST_F(ManagerMouseTest, SizeEventGoesToTheFocusAndRelaysTheRootOut)
{
    host.Manager().SetFocusControl(b);
    log.Clear();
    ::SetWindowPos(host.Hwnd(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(log.Sequence({EventWindowSize}), std::vector<std::wstring>{L"b:22"});
    EXPECT_TRUE(host.Manager().IsLayoutNeeded());
    EXPECT_TRUE(root->IsUpdateNeeded());
}

TEST_F(ManagerMouseTest, RichEditLosingTheWindowFocusHandsItToTheBrowserUnderTheCursor)
{
    a->SetTypeName(L"RichEditUI");
    b->SetTypeName(L"WebBrowserUI");
    host.Manager().SetFocusControl(a);
    CursorLock cursor;
    ASSERT_TRUE(cursor.MoveTo(host.Hwnd(), 120, 20));
    LRESULT lRes = 0;
    // Without a window getting the focus nothing changes.
    host.Manager().HandleWindowMessage(WM_KILLFOCUS, 0, 0, lRes);
    EXPECT_EQ(host.Manager().FocusControl(), a);
    host.Manager().HandleWindowMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(::GetDesktopWindow()), 0, lRes);
    EXPECT_EQ(host.Manager().FocusControl(), b);
}
