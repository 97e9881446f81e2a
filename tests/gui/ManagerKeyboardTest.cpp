#include <gtest/gtest.h>

#include "ManagerFixture.h"

#include <algorithm>

using namespace guitest;

namespace {

class ManagerKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Hwnd(), nullptr);
        root = host.AttachNewRoot(&log);
        t1 = root->AddChild(L"t1", RECT{10, 10, 40, 40});
        plain = root->AddChild(L"plain", RECT{50, 10, 80, 40});
        t2 = root->AddChild(L"t2", RECT{90, 10, 120, 40});
        t3 = root->AddChild(L"t3", RECT{130, 10, 160, 40});
        for (CTestControlUI* p : {t1, t2, t3}) {
            p->SetInputFlags(InputTabStop);
        }
        host.PaintNow(true);
        log.Clear();
    }

    void TearDown() override { SetKeyDown(VK_SHIFT, false); }

    bool Tab(bool bShift = false)
    {
        SetKeyDown(VK_SHIFT, bShift);
        MSG msg = MakeMsg(host.Hwnd(), WM_KEYDOWN, VK_TAB, 0);
        const bool bConsumed = CWindowManagerUI::PreDispatch(&msg);
        SetKeyDown(VK_SHIFT, false);
        return bConsumed;
    }

    bool AltChar(wchar_t ch)
    {
        MSG msg = MakeMsg(host.Hwnd(), WM_SYSCHAR, ch, 0);
        return CWindowManagerUI::PreDispatch(&msg);
    }

    EventLog log;
    TestHostWindow host;
    CTestContainerUI* root = nullptr;
    CTestControlUI* t1 = nullptr;
    CTestControlUI* plain = nullptr;
    CTestControlUI* t2 = nullptr;
    CTestControlUI* t3 = nullptr;
};

} // namespace

TEST_F(ManagerKeyboardTest, FirstPaintAfterAttachFocusesTheFirstTabStop)
{
    EXPECT_EQ(host.Manager().FocusControl(), t1);
    EXPECT_TRUE(t1->IsFocused());
}

TEST_F(ManagerKeyboardTest, TabWalksTheTabStopsAndWrapsAround)
{
    host.Manager().SetFocusControl(nullptr);
    struct Step {
        bool shift;
        CControlUI* expected;
    };
    const Step steps[] = {{false, t1}, {false, t2}, {false, t3}, {false, t1},
                          {true, t3},  {true, t2},  {true, t1},  {true, t3}};
    for (const Step& step : steps) {
        EXPECT_TRUE(Tab(step.shift));
        EXPECT_EQ(host.Manager().FocusControl(), step.expected);
    }
}

TEST_F(ManagerKeyboardTest, FocusChangeSendsKillBeforeSetWithTheNewFocusAsSender)
{
    host.Manager().SetFocusControl(t2);
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.Sequence(), (std::vector<std::wstring>{L"t1:20", L"t2:21"}));
    EXPECT_EQ(log.events[0].sender, t2);
    EXPECT_FALSE(t1->IsFocused());
    EXPECT_TRUE(t2->IsFocused());
}

TEST_F(ManagerKeyboardTest, InvisibleOrDisabledControlsTakeNoFocus)
{
    t2->SetEnabled(false);
    t3->SetVisible(false);
    host.PaintNow();
    for (CControlUI* p : {static_cast<CControlUI*>(t2), static_cast<CControlUI*>(t3)}) {
        host.Manager().SetFocusControl(p);
        EXPECT_EQ(host.Manager().FocusControl(), nullptr);
    }
    // Tab skips them as well.
    Tab();
    EXPECT_EQ(host.Manager().FocusControl(), t1);
    Tab();
    EXPECT_EQ(host.Manager().FocusControl(), t1);
}

TEST_F(ManagerKeyboardTest, TabWhileALayoutIsPendingMovesOnlyAfterThePaint)
{
    root->MarkForLayout();
    ASSERT_TRUE(host.Manager().IsLayoutNeeded());
    EXPECT_TRUE(Tab());
    EXPECT_EQ(host.Manager().FocusControl(), t1);

    host.PaintNow();
    EXPECT_EQ(host.Manager().FocusControl(), t2);
}

TEST_F(ManagerKeyboardTest, AltWithALabelShortcutFocusesAndInvokesTheControlAfterTheLabel)
{
    // The shortcut search visits the children from the last to the first, so the control
    // after a label in that order is the one placed before it.
    auto* target = root->AddChild(L"target", RECT{10, 60, 40, 90});
    auto* label = root->AddChild(L"label", RECT{50, 60, 80, 90});
    label->SetTypeName(L"LabelUI");
    label->SetShortcut(L'N');

    EXPECT_TRUE(AltChar(L'n'));
    EXPECT_EQ(host.Manager().FocusControl(), target);
    EXPECT_EQ(log.invoked, std::vector<std::wstring>{L"target"});
}

TEST_F(ManagerKeyboardTest, AltWithAControlShortcutInvokesThatControl)
{
    t3->SetShortcut(L'q');
    EXPECT_TRUE(AltChar(L'Q'));
    EXPECT_EQ(host.Manager().FocusControl(), t3);
    EXPECT_EQ(log.invoked, std::vector<std::wstring>{L"t3"});

    // No match, a hidden match and a nul character are left to the window.
    log.Clear();
    t2->SetShortcut(L'h');
    t2->SetVisible(false);
    for (wchar_t ch : {L'z', L'h', L'\0'}) {
        EXPECT_FALSE(AltChar(ch)) << static_cast<int>(ch);
    }
    EXPECT_TRUE(log.invoked.empty());
}

TEST_F(ManagerKeyboardTest, KeysGoToTheFocusAndKeyUpToWhoGotTheKeyDown)
{
    host.Send(WM_KEYDOWN, 'A', 0);
    host.Manager().SetFocusControl(t2);
    host.Send(WM_CHAR, 'a', 0);
    host.Send(WM_KEYUP, 'A', 0);

    const std::vector<std::wstring> expected = {L"t1:3", L"t2:5", L"t1:4"};
    EXPECT_EQ(log.Sequence({EventKeyDown, EventChar, EventKeyUp}), expected);
}

TEST_F(ManagerKeyboardTest, SysKeyDownGoesToTheFocusAndIsNotConsumed)
{
    MSG msg = MakeMsg(host.Hwnd(), WM_SYSKEYDOWN, VK_F10, 0);
    EXPECT_FALSE(CWindowManagerUI::PreDispatch(&msg));
    EXPECT_EQ(log.Sequence({EventSysKey}), std::vector<std::wstring>{L"t1:6"});
}

TEST_F(ManagerKeyboardTest, PreFiltersAndTranslatorsComeFirst)
{
    struct Filter : IMessageFilterUI {
        bool bHandle = false;
        int nCalls = 0;
        LRESULT FilterMessage(UINT, WPARAM, LPARAM, bool& bHandled) override
        {
            ++nCalls;
            bHandled = bHandle;
            return 7;
        }
    } filter;
    struct Translator : ITranslateAccelerator {
        LRESULT answer = 1;
        LRESULT TranslateKey(MSG*) override { return answer; }
    } translator;
    CWindowManagerUI& manager = host.Manager();
    ASSERT_TRUE(manager.AddPreFilter(&filter));
    ASSERT_TRUE(manager.AddTranslator(&translator));

    filter.bHandle = true;
    EXPECT_TRUE(Tab());
    EXPECT_EQ(manager.FocusControl(), t1); // the filter took the Tab
    translator.answer = 0;
    EXPECT_TRUE(Tab());
    EXPECT_EQ(filter.nCalls, 1); // the translator consumed it before the filters

    EXPECT_TRUE(manager.RemoveTranslator(&translator));
    EXPECT_FALSE(manager.RemoveTranslator(&translator));
    EXPECT_TRUE(manager.RemovePreFilter(&filter));
    EXPECT_TRUE(Tab());
    EXPECT_EQ(manager.FocusControl(), t2);
}

TEST_F(ManagerKeyboardTest, MessagesOfOtherWindowsAreNotPreDispatched)
{
    HWND hOther = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hOther, nullptr);
    MSG msg = MakeMsg(hOther, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_FALSE(CWindowManagerUI::PreDispatch(&msg));
    EXPECT_EQ(host.Manager().FocusControl(), t1);
    ::DestroyWindow(hOther);

    // A child window's keys reach the manager of its ancestor, without being consumed.
    HWND hChild = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, host.Hwnd(), nullptr, nullptr, nullptr);
    ASSERT_NE(hChild, nullptr);
    msg = MakeMsg(hChild, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_FALSE(CWindowManagerUI::PreDispatch(&msg));
    EXPECT_EQ(host.Manager().FocusControl(), t2);
    ::DestroyWindow(hChild);
}

TEST_F(ManagerKeyboardTest, FocusNearestTabStopFocusesAfterTheNextPaint)
{
    host.Manager().FocusNearestTabStop(t3);
    host.PaintNow();
    EXPECT_EQ(host.Manager().FocusControl(), t3);
}

TEST_F(ManagerKeyboardTest, MessageLoopPreDispatchesUntilQuit)
{
    ::PostMessageW(host.Hwnd(), WM_KEYDOWN, VK_TAB, 0);
    ::PostMessageW(host.Hwnd(), WM_KEYDOWN, 'X', 0);
    ::PostQuitMessage(0);
    CWindowManagerUI::RunMessageLoop();

    EXPECT_EQ(host.Manager().FocusControl(), t2);
    // The Tab was consumed before dispatch; the other key reached the window and the focus.
    EXPECT_EQ(std::count(host.Unhandled().begin(), host.Unhandled().end(), WM_KEYDOWN), 1);
    EXPECT_EQ(log.Sequence({EventKeyDown}), std::vector<std::wstring>{L"t2:3"});
}
