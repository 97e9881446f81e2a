#include <gtest/gtest.h>

#include "ManagerFixture.h"

#include <algorithm>

using namespace guitest;

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);

::testing::AssertionResult SameRect(const RECT& a, const RECT& b)
{
    if (::EqualRect(&a, &b)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << a.left << "," << a.top << "," << a.right << "," << a.bottom << " is not "
                                         << b.left << "," << b.top << "," << b.right << "," << b.bottom;
}

std::vector<RECT> PaintedRectsOf(const EventLog& log, const std::wstring& name)
{
    std::vector<RECT> result;
    for (const auto& [control, rc] : log.painted) {
        if (control == name) {
            result.push_back(rc);
        }
    }
    return result;
}

SIZE BitmapSizeOf(HDC hDC)
{
    BITMAP bm = {};
    ::GetObjectW(::GetCurrentObject(hDC, OBJ_BITMAP), sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

struct Listener : INotifyUI {
    std::vector<std::pair<std::wstring, CControlUI*>> seen;
    RECT rcRootAtInit = {};
    void OnNotification(UINotification& n) override
    {
        seen.emplace_back(n.type.GetData(), n.sender);
        if (n.type == L"windowinit") {
            rcRootAtInit = n.sender->Position();
        }
    }
};

} // namespace

TEST(ManagerPaint, OrdinaryWindowPaintsOnlyTheUpdateAreaThroughAKeptBackBuffer)
{
    EventLog log;
    TestHostWindow host(200, 120);
    CTestContainerUI* root = host.AttachNewRoot(&log);
    root->AddChild(L"red", RECT{10, 10, 50, 50}, Red);
    host.PaintNow(true);
    const HDC hBackDC = host.Manager().OffscreenDC();
    ASSERT_NE(hBackDC, nullptr);
    EXPECT_EQ(host.Manager().OffscreenBits(), nullptr);
    EXPECT_EQ(::GetPixel(hBackDC, 20, 20), Red);
    log.Clear();

    const RECT rcSmall = {150, 90, 170, 100};
    ::InvalidateRect(host.Hwnd(), &rcSmall, FALSE);
    host.PaintNow();

    const std::vector<RECT> rootRects = PaintedRectsOf(log, L"root");
    ASSERT_EQ(rootRects.size(), 1u);
    EXPECT_TRUE(SameRect(rootRects[0], rcSmall));
    EXPECT_TRUE(PaintedRectsOf(log, L"red").empty()); // outside the update area
    EXPECT_EQ(host.Manager().OffscreenDC(), hBackDC);
    EXPECT_EQ(::GetPixel(hBackDC, 20, 20), Red);

    HDC hWindowDC = ::GetDC(host.Hwnd());
    EXPECT_EQ(::GetPixel(hWindowDC, 20, 20), Red);
    ::ReleaseDC(host.Hwnd(), hWindowDC);
}

TEST(ManagerPaint, ResizingLaysTheRootOutAgainAndRebuildsTheBackBuffer)
{
    EventLog log;
    TestHostWindow host(200, 120);
    CTestContainerUI* root = host.AttachNewRoot(&log);
    host.PaintNow(true);
    ASSERT_EQ(BitmapSizeOf(host.Manager().OffscreenDC()).cx, 200);

    ::SetWindowPos(host.Hwnd(), nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(host.Manager().IsLayoutNeeded());
    host.PaintNow();

    EXPECT_TRUE(SameRect(root->Position(), RECT{0, 0, 300, 150}));
    const SIZE size = BitmapSizeOf(host.Manager().OffscreenDC());
    EXPECT_EQ(size.cx, 300);
    EXPECT_EQ(size.cy, 150);
}

TEST(ManagerPaint, FirstPaintSendsWindowInitOnceAfterTheLayout)
{
    EventLog log;
    TestHostWindow host(200, 120);
    Listener listener;
    ASSERT_TRUE(host.Manager().AddListener(&listener));
    EXPECT_FALSE(host.Manager().AddListener(&listener));
    auto* root = new CTestContainerUI(&log, L"root", RECT{0, 0, 200, 120});
    host.Manager().AttachRoot(root);

    host.PaintNow(true);
    host.PaintNow(true);

    const auto inits = std::count_if(listener.seen.begin(), listener.seen.end(),
                                     [](const auto& seen) { return seen.first == L"windowinit"; });
    EXPECT_EQ(inits, 1);
    EXPECT_EQ(listener.seen.front().second, root);
    EXPECT_TRUE(SameRect(listener.rcRootAtInit, RECT{0, 0, 200, 120}));
    EXPECT_TRUE(host.Manager().RemoveListener(&listener));
}

TEST(ManagerPaint, PostPaintersPaintAfterTheWholeTreeInTheirOrder)
{
    EventLog log;
    TestHostWindow host(200, 120);
    CTestContainerUI* root = host.AttachNewRoot(&log);
    auto* first = root->AddChild(L"first", RECT{10, 10, 20, 20});
    auto* second = root->AddChild(L"second", RECT{30, 10, 40, 20});
    ASSERT_TRUE(host.Manager().AddPostPainter(second));
    ASSERT_TRUE(host.Manager().AddPostPainter(first));
    host.PaintNow(true);
    log.Clear();
    host.PaintNow(true);

    std::vector<std::wstring> order;
    for (const auto& entry : log.painted) {
        order.push_back(entry.first);
    }
    const std::vector<std::wstring> expected = {L"root", L"first", L"second", L"post:second", L"post:first"};
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(host.Manager().RemovePostPainter(second));
    EXPECT_FALSE(host.Manager().RemovePostPainter(second));
}

TEST(ManagerPaint, LayeredWindowGetsOpaqueAlphaWhereGdiDrewAndTransparencyElsewhere)
{
    EventLog log;
    TestHostWindow host(200, 120, true);
    CTestContainerUI* root = host.AttachNewRoot(&log);
    root->AddChild(L"red", RECT{10, 10, 50, 50}, Red);
    root->AddChild(L"white", RECT{60, 10, 70, 20}, RGB(255, 255, 255));
    host.PaintNow(true);

    EXPECT_NE(::GetWindowLongW(host.Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    const DWORD* pBits = host.Manager().OffscreenBits();
    ASSERT_NE(pBits, nullptr);
    const auto pixel = [&](int x, int y) { return pBits[y * 200 + x]; };
    EXPECT_EQ(pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(pixel(49, 49), 0xFFFF0000u);
    EXPECT_EQ(pixel(65, 15), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(50, 50), 0u);
    EXPECT_EQ(pixel(150, 100), 0u);
    EXPECT_EQ(pixel(0, 0), 0u);
}

TEST(ManagerPaint, LayeredWindowRepaintsEverythingAfterARestore)
{
    EventLog log;
    TestHostWindow host(200, 120, true);
    CTestContainerUI* root = host.AttachNewRoot(&log);
    root->AddChild(L"red", RECT{10, 10, 50, 50}, Red);
    host.PaintNow(true);
    const RECT rcSmall = {150, 90, 170, 100};

    // An ordinary paint covers the update area and the last invalidated rectangle only...
    log.Clear();
    host.Manager().Invalidate(RECT{120, 20, 130, 30});
    ::InvalidateRect(host.Hwnd(), &rcSmall, FALSE);
    host.PaintNow();
    std::vector<RECT> rootRects = PaintedRectsOf(log, L"root");
    ASSERT_EQ(rootRects.size(), 1u);
    EXPECT_TRUE(SameRect(rootRects[0], RECT{120, 20, 170, 100}));
    EXPECT_EQ(host.Manager().OffscreenBits()[20 * 200 + 20], 0xFFFF0000u); // kept from the first paint

    // ...after a restore command the next one covers the whole client area.
    LRESULT lRes = 0;
    EXPECT_FALSE(host.Manager().HandleWindowMessage(WM_SYSCOMMAND, SC_RESTORE, 0, lRes));
    log.Clear();
    ::InvalidateRect(host.Hwnd(), &rcSmall, FALSE);
    host.PaintNow();
    rootRects = PaintedRectsOf(log, L"root");
    ASSERT_EQ(rootRects.size(), 1u);
    EXPECT_TRUE(SameRect(rootRects[0], RECT{0, 0, 200, 120}));
    EXPECT_EQ(PaintedRectsOf(log, L"red").size(), 1u);

    // Only once.
    log.Clear();
    ::InvalidateRect(host.Hwnd(), &rcSmall, FALSE);
    host.PaintNow();
    rootRects = PaintedRectsOf(log, L"root");
    ASSERT_EQ(rootRects.size(), 1u);
    EXPECT_TRUE(SameRect(rootRects[0], rcSmall));
}

TEST(ManagerPaint, RootReplacedDuringAMessageIsDeletedOnlyByTheDeleteLaterMessage)
{
    EventLog log;
    TestHostWindow host(200, 120);
    CTestContainerUI* oldRoot = host.AttachNewRoot(&log);
    auto* a = oldRoot->AddChild(L"a", RECT{10, 10, 50, 50});
    host.PaintNow(true);
    ASSERT_TRUE(host.Manager().StartTimer(a, 1, 10000));
    auto* newRoot = new CTestContainerUI(&log, L"newroot", RECT{0, 0, 200, 120});
    a->OnNextEvent(EventButtonUp, [&] { host.Manager().AttachRoot(newRoot); });

    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
    host.Send(WM_LBUTTONUP, 0, ClientPoint(20, 20));

    EXPECT_EQ(host.Manager().Root(), newRoot);
    EXPECT_TRUE(log.destroyed.empty());
    EXPECT_EQ(a->Manager(), nullptr);
    EXPECT_EQ(oldRoot->Manager(), nullptr);
    // Nothing of the manager points into the old tree any more.
    EXPECT_EQ(host.Manager().ControlByName(L"a"), nullptr);
    EXPECT_EQ(host.Manager().TimerSystemId(a, 1), 0u);
    EXPECT_EQ(host.Manager().FocusControl(), nullptr);

    host.PumpRange(WM_UI_DELETE_LATER, WM_UI_DELETE_LATER);
    std::sort(log.destroyed.begin(), log.destroyed.end());
    EXPECT_EQ(log.destroyed, (std::vector<std::wstring>{L"a", L"root"}));
}

TEST(ManagerPaint, WithoutARootPaintingOnlyValidates)
{
    TestHostWindow host(200, 120);
    EXPECT_FALSE(host.Manager().AttachRoot(nullptr));
    host.PaintNow(true);
    RECT rcUpdate = {};
    EXPECT_FALSE(::GetUpdateRect(host.Hwnd(), &rcUpdate, FALSE));
    EXPECT_EQ(host.Manager().OffscreenDC(), nullptr);
}

TEST(ManagerPaint, AttachingTheCurrentRootAgainKeepsIt)
{
    EventLog log;
    TestHostWindow host(200, 120);
    CTestContainerUI* root = host.AttachNewRoot(&log);
    root->AddChild(L"a", RECT{10, 10, 50, 50});
    host.PaintNow(true);
    EXPECT_TRUE(host.Manager().AttachRoot(root));
    host.PumpRange(WM_UI_DELETE_LATER, WM_UI_DELETE_LATER);
    EXPECT_TRUE(log.destroyed.empty());
    EXPECT_EQ(host.Manager().Root(), root);
    EXPECT_NE(host.Manager().ControlByName(L"a"), nullptr);
    host.PaintNow(true);
}
