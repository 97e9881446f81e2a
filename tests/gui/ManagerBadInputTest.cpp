#include <gtest/gtest.h>

#include "ManagerFixture.h"

#include <algorithm>

using namespace guitest;

namespace {

constexpr UINT ReflectedNotify = WM_NOTIFY + 0x2000;
constexpr UINT ReflectedCommand = WM_COMMAND + 0x2000;

// A child window that answers reflected messages with a recognisable result.
LRESULT CALLBACK ReflectTargetProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == ReflectedNotify || uMsg == ReflectedCommand) {
        return 4242;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

HWND CreateReflectTarget(HWND hParent)
{
    static const bool s_bRegistered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ReflectTargetProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TarvoReflectTarget";
        return ::RegisterClassW(&wc) != 0;
    }();
    if (!s_bRegistered) {
        return nullptr;
    }
    return ::CreateWindowExW(0, L"TarvoReflectTarget", L"", WS_CHILD, 0, 0, 10, 10, hParent, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

class ManagerBadInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Hwnd(), nullptr);
        root = host.AttachNewRoot(&log);
        a = root->AddChild(L"a", RECT{10, 10, 60, 60});
        b = root->AddChild(L"b", RECT{100, 10, 160, 60});
        a->SetInputFlags(InputTabStop);
        host.PaintNow(true);
        log.Clear();
    }

    size_t UnhandledCount(UINT uMsg) const
    {
        return std::count(host.Unhandled().begin(), host.Unhandled().end(), uMsg);
    }

    bool EventsMention(const std::wstring& name) const
    {
        return std::any_of(log.events.begin(), log.events.end(),
                           [&](const EventRecord& r) { return r.control == name; });
    }

    EventLog log;
    TestHostWindow host;
    CTestContainerUI* root = nullptr;
    CTestControlUI* a = nullptr;
    CTestControlUI* b = nullptr;
};

} // namespace

TEST_F(ManagerBadInputTest, ReflectionNeedsARealChildWindow)
{
    NMHDR noSender = {nullptr, 0, 0};
    NMHDR deadSender = {reinterpret_cast<HWND>(0x7FFF0), 0, 0};
    host.Send(WM_NOTIFY, 0, 0);
    host.Send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&noSender));
    host.Send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&deadSender));
    host.Send(WM_COMMAND, 0, 0);
    host.Send(WM_COMMAND, 0, 0x7FFF0);
    EXPECT_EQ(UnhandledCount(WM_NOTIFY), 3u);
    EXPECT_EQ(UnhandledCount(WM_COMMAND), 2u);

    HWND hChild = CreateReflectTarget(host.Hwnd());
    ASSERT_NE(hChild, nullptr);
    NMHDR fromChild = {hChild, 1, 2};
    EXPECT_EQ(host.Send(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&fromChild)), 4242);
    EXPECT_EQ(host.Send(WM_COMMAND, 1, reinterpret_cast<LPARAM>(hChild)), 4242);
    EXPECT_EQ(UnhandledCount(WM_NOTIFY), 3u);
    ::DestroyWindow(hChild);
}

TEST_F(ManagerBadInputTest, MousePointsFarOutsideLeaveHoverAndHitNothing)
{
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(20, 20));
    log.Clear();
    for (LPARAM lParam : {ClientPoint(30000, -30000), ClientPoint(-32768, 32767), static_cast<LPARAM>(-1)}) {
        host.Send(WM_MOUSEMOVE, 0, lParam);
        host.Send(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
        host.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, lParam);
        host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), lParam);
        host.Send(WM_CONTEXTMENU, 0, lParam);
        host.Send(WM_MOUSEHOVER, 0, lParam);
    }
    EXPECT_EQ(log.Sequence(), std::vector<std::wstring>{L"a:10"});
    EXPECT_EQ(host.Manager().HoverControl(), nullptr);
    EXPECT_EQ(host.Manager().ClickControl(), nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ManagerBadInputTest, ControlRemovedWhileHoldingFocusCaptureAndHoverIsForgotten)
{
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(20, 20));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
    host.Send(WM_KEYDOWN, 'K', 0);
    CWindowManagerUI& manager = host.Manager();
    ASSERT_EQ(manager.FocusControl(), a);
    ASSERT_EQ(manager.HoverControl(), a);
    ASSERT_EQ(manager.ClickControl(), a);
    ASSERT_TRUE(manager.AddPostPainter(a));

    root->RemoveChild(a);
    EXPECT_EQ(manager.FocusControl(), nullptr);
    EXPECT_EQ(manager.HoverControl(), nullptr);
    EXPECT_EQ(manager.ClickControl(), nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(manager.ControlByName(L"a"), nullptr);
    EXPECT_FALSE(manager.RemovePostPainter(a));
    log.Clear();

    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(110, 20));
    host.Send(WM_LBUTTONUP, 0, ClientPoint(110, 20));
    host.Send(WM_KEYUP, 'K', 0);
    host.Send(WM_CHAR, 'k', 0);
    host.Send(WM_CLOSE);
    host.PaintNow(true);
    EXPECT_FALSE(EventsMention(L"a"));
    // A new press captures and releases as usual.
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(110, 20));
    EXPECT_EQ(::GetCapture(), host.Hwnd());
    host.Send(WM_LBUTTONUP, 0, ClientPoint(110, 20));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(log.Sequence({EventMouseEnter}), std::vector<std::wstring>{L"b:11"});
}

TEST_F(ManagerBadInputTest, ControlRemovedByAFocusListenerStopsTheClick)
{
    struct Remover : INotifyUI {
        CTestContainerUI* root;
        CControlUI* victim;
        void OnNotification(UINotification& n) override
        {
            if (n.type == L"setfocus" && n.sender == victim) {
                root->RemoveChild(victim);
            }
        }
    } remover;
    remover.root = root;
    remover.victim = b;
    ASSERT_TRUE(host.Manager().AddListener(&remover));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(110, 20));
    host.Manager().RemoveListener(&remover);
    EXPECT_EQ(host.Manager().ClickControl(), nullptr);
    EXPECT_EQ(host.Manager().FocusControl(), nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(log.Sequence({EventButtonDown}).empty());
}

TEST_F(ManagerBadInputTest, NonsenseParametersAreHarmless)
{
    CWindowManagerUI& manager = host.Manager();
    LRESULT lRes = 0;
    EXPECT_FALSE(manager.HandleWindowMessage(WM_GETMINMAXINFO, 0, 0, lRes));
    EXPECT_FALSE(manager.HandleWindowMessage(WM_UI_DELETE_LATER, 0, 0, lRes));
    EXPECT_FALSE(manager.HandleWindowMessage(WM_KILLFOCUS, 0x7FFF0, 0, lRes));
    EXPECT_FALSE(manager.HandleWindowMessage(WM_SETCURSOR, 0, 0xFFFFFFFF, lRes));
    EXPECT_FALSE(manager.HandleWindowMessage(0xBFFF, ~WPARAM{0}, -1, lRes));
    MSG msg = MakeMsg(nullptr, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_FALSE(CWindowManagerUI::PreDispatch(&msg));
    EXPECT_FALSE(manager.StartTimer(nullptr, 1, 10));
    EXPECT_FALSE(manager.StopTimer(nullptr, 1));
    manager.ForgetControl(nullptr);
    EXPECT_FALSE(manager.RemoveMessageFilter(nullptr));
    EXPECT_EQ(manager.FocusControl(), a);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(ManagerBadInputTest, ControlsOfAnotherManagerAreNeitherFocusedNorClicked)
{
    TestHostWindow other;
    EventLog otherLog;
    CTestContainerUI* otherRoot = other.AttachNewRoot(&otherLog);
    auto* stranger = otherRoot->AddChild(L"stranger", RECT{10, 10, 60, 60});
    host.Manager().SetFocusControl(stranger);
    EXPECT_EQ(host.Manager().FocusControl(), nullptr);
    EXPECT_TRUE(otherLog.events.empty() || otherLog.Sequence({EventSetFocus}).empty());
}

TEST_F(ManagerBadInputTest, MessageFiltersComeFirstAndCanEndProcessing)
{
    struct Filter : IMessageFilterUI {
        UINT uSwallow = 0;
        std::vector<UINT> seen;
        LRESULT FilterMessage(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
        {
            seen.push_back(uMsg);
            bHandled = uMsg == uSwallow;
            return 99;
        }
    } first, second;
    first.uSwallow = WM_MOUSEMOVE;
    ASSERT_TRUE(host.Manager().AddMessageFilter(&first));
    ASSERT_TRUE(host.Manager().AddMessageFilter(&second));
    EXPECT_EQ(host.Send(WM_MOUSEMOVE, 0, ClientPoint(20, 20)), 99);
    EXPECT_TRUE(log.events.empty());
    EXPECT_TRUE(second.seen.empty());
    host.Send(WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(second.seen, std::vector<UINT>{WM_KEYDOWN});
    EXPECT_EQ(log.Sequence(), std::vector<std::wstring>{L"a:3"});
    EXPECT_TRUE(host.Manager().RemoveMessageFilter(&first));
    EXPECT_TRUE(host.Manager().RemoveMessageFilter(&second));
}
