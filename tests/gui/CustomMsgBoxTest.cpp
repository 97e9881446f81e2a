// The launcher's skinned message box, shown modally over a real owner window and driven by a
// scripted person that acts from the owner's timer while the box's loop runs.

#include "CustomMsgBox.h"

#include "LauncherResources.h"
#include "ManagerFixture.h"
#include "SkinnedTestWindow.h"

#include "controls/Container.h"
#include "core/ResourceSettings.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace guitest;
using namespace Tarvo;

namespace {

constexpr wchar_t kOwnerSkin[] = L"<Window size=\"400,300\"><VerticalLayout name=\"ownerRoot\" bkcolor=\"#FFF0F0F0\"/>"
                                 L"</Window>";
constexpr UINT_PTR kPersonTimer = 900;
constexpr WPARAM kGaveUp = 99; // the person closes a box that never became ready with this

// Client points of the box's controls, from its skin.
constexpr POINT kOkButton = {220, 224};
constexpr POINT kCloseButton = {420, 20};
constexpr POINT kCaption = {100, 70};

// Counts every box made and deleted, and keeps the latest for the person to look at.
class CountingBox : public CustomMsgBox {
public:
    CountingBox()
    {
        ++constructed;
        latest = this;
    }
    ~CountingBox() override
    {
        ++destroyed;
        if (latest == this) {
            latest = nullptr;
        }
    }

    static inline int constructed = 0;
    static inline int destroyed = 0;
    static inline CountingBox* latest = nullptr;
};

// The owner: a skinned window that remembers the boxes it was told about and runs the person's
// steps from its timer. A step returns false to be asked again at the next tick.
class OwnerWindow : public CSkinnedTestWindow {
public:
    using Step = std::function<bool()>;

    OwnerWindow() : CSkinnedTestWindow(kOwnerSkin) {}

    LRESULT ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_UI_MODAL_OPENED) {
            modalOpened.push_back(reinterpret_cast<HWND>(lParam));
        }
        return CSkinnedTestWindow::ProcessWindowMessage(uMsg, wParam, lParam);
    }

    LRESULT OnCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override
    {
        if (uMsg != WM_TIMER || wParam != kPersonTimer) {
            return CSkinnedTestWindow::OnCustomMessage(uMsg, wParam, lParam, bHandled);
        }
        RunSteps();
        bHandled = true;
        return 0;
    }

    // The person starts acting once the loop runs; a person that waits too long closes the box.
    void Act(std::deque<Step> steps)
    {
        m_steps = std::move(steps);
        m_deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        ::SetTimer(WindowHandle(), kPersonTimer, 10, nullptr);
    }
    HWND Box() const { return modalOpened.empty() ? nullptr : modalOpened.back(); }

    std::vector<HWND> modalOpened;
    bool gaveUp = false;

private:
    void RunSteps()
    {
        while (!m_steps.empty() && m_steps.front()()) {
            m_steps.pop_front();
        }
        if (!m_steps.empty() && std::chrono::steady_clock::now() > m_deadline) {
            gaveUp = true;
            m_steps.clear();
            ::PostMessageW(Box(), WM_CLOSE, kGaveUp, 0);
        }
        if (m_steps.empty()) {
            ::KillTimer(WindowHandle(), kPersonTimer);
        }
    }

    std::deque<Step> m_steps;
    std::chrono::steady_clock::time_point m_deadline;
};

void PostClick(HWND hWnd, POINT pt)
{
    const LPARAM lParam = ClientPoint(pt.x, pt.y);
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, lParam);
}

IContainerUI* AsContainer(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<IContainerUI*>(pControl->LookupInterface(L"IContainer")) : nullptr;
}

// Pixels of the box's back buffer in a rectangle whose colour is dark like the skin's #444444 text.
int DarkPixels(HDC hDC, RECT rc)
{
    int nDark = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const COLORREF c = ::GetPixel(hDC, x, y);
            nDark += (c != CLR_INVALID && GetRValue(c) < 0xA0 && GetGValue(c) < 0xA0 && GetBValue(c) < 0xA0) ? 1 : 0;
        }
    }
    return nDark;
}

RECT WorkArea()
{
    RECT rc = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

class CustomMsgBoxTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_resources.Module(), nullptr);
        CountingBox::constructed = 0;
        CountingBox::destroyed = 0;
        ASSERT_NE(m_owner.CreateAt(nullptr, 300, 200), nullptr);
        PumpMessages();
    }
    void TearDown() override
    {
        EXPECT_FALSE(m_owner.gaveUp) << "the box never became ready";
        EXPECT_EQ(CountingBox::constructed, CountingBox::destroyed);
    }

    int Show(const std::wstring& text) { return ShowCustomMsgBox(std::make_unique<CountingBox>(), Owner(), text); }
    HWND Owner() const { return m_owner.WindowHandle(); }

    // Ready: the box is shown and painted, so its controls are laid out.
    OwnerWindow::Step WaitUntilPainted()
    {
        return [this] {
            const HWND hBox = m_owner.Box();
            CountingBox* pBox = CountingBox::latest;
            return hBox != nullptr && ::IsWindowVisible(hBox) && !::GetUpdateRect(hBox, nullptr, FALSE) &&
                   (pBox == nullptr ||
                    (pBox->Manager().OffscreenDC() != nullptr && !pBox->Manager().IsLayoutNeeded()));
        };
    }
    OwnerWindow::Step Do(std::function<void()> action)
    {
        return [action = std::move(action)] {
            action();
            return true;
        };
    }
    OwnerWindow::Step Click(POINT pt)
    {
        return Do([this, pt] { PostClick(m_owner.Box(), pt); });
    }

    LauncherResources m_resources;
    OwnerWindow m_owner;
};

TEST_F(CustomMsgBoxTest, TextLandsOnTheCentredMessageLineAndTheTitleKeepsItsText)
{
    CControlUI* pLine = nullptr;
    std::wstring lineText, lineParent, titleText;
    int nDarkLeft = -1, nDarkMiddle = -1, nDarkRight = -1;
    m_owner.Act({WaitUntilPainted(), Do([&] {
                     CWindowManagerUI& manager = CountingBox::latest->Manager();
                     pLine = manager.ControlByName(L"labelTip");
                     lineText = pLine->Text().GetData();
                     lineParent = pLine->Parent()->Name().GetData();
                     CControlUI* pTop = AsContainer(manager.Root())->ItemAt(0);
                     titleText = AsContainer(pTop)->ItemAt(0)->Text().GetData();
                     // Six characters of a 14-pixel font, centred on x = 220.
                     const HDC hDC = manager.OffscreenDC();
                     nDarkLeft = DarkPixels(hDC, {12, 136, 150, 160});
                     nDarkMiddle = DarkPixels(hDC, {150, 136, 290, 160});
                     nDarkRight = DarkPixels(hDC, {290, 136, 428, 160});
                 }),
                 Click(kOkButton)});
    EXPECT_EQ(Show(L"释放文件出错"), 1);
    EXPECT_EQ(lineText, L"释放文件出错");
    EXPECT_EQ(lineParent, L"verOnlyTip");
    EXPECT_EQ(titleText, L"提示");
    EXPECT_GT(nDarkMiddle, 40);
    EXPECT_EQ(nDarkLeft, 0);
    EXPECT_EQ(nDarkRight, 0);
}

TEST_F(CustomMsgBoxTest, EmptyTextLeavesTheMessageLineEmptyWithTitleAndIconPainted)
{
    std::wstring lineText = L"unread";
    int nDarkLine = -1, nDarkTitle = -1;
    COLORREF iconCentre = CLR_INVALID, besideIcon = CLR_INVALID;
    m_owner.Act({WaitUntilPainted(), Do([&] {
                     CWindowManagerUI& manager = CountingBox::latest->Manager();
                     lineText = manager.ControlByName(L"labelTip")->Text().GetData();
                     const HDC hDC = manager.OffscreenDC();
                     nDarkLine = DarkPixels(hDC, {0, 134, 440, 162});
                     nDarkTitle = DarkPixels(hDC, {14, 11, 114, 39});
                     iconCentre = ::GetPixel(hDC, 205, 80);
                     besideIcon = ::GetPixel(hDC, 180, 80);
                 }),
                 Click(kOkButton)});
    EXPECT_EQ(Show(L""), 1);
    EXPECT_TRUE(lineText.empty());
    EXPECT_EQ(nDarkLine, 0);
    EXPECT_GT(nDarkTitle, 20);
    EXPECT_GT(GetRValue(iconCentre), 200); // the orange disc of the warning icon
    EXPECT_LT(GetBValue(iconCentre), 100);
    EXPECT_EQ(besideIcon, RGB(255, 255, 255));
}

struct ButtonCase {
    const char* name;
    POINT point;
    int result;
};

class CustomMsgBoxButtonTest : public CustomMsgBoxTest, public testing::WithParamInterface<ButtonCase> {};

TEST_P(CustomMsgBoxButtonTest, ClickReturnsTheButtonsCodeAndClosesTheOwnerWithZero)
{
    BOOL bOwnerEnabledWhileOpen = TRUE;
    m_owner.Act({WaitUntilPainted(), Do([&] { bOwnerEnabledWhileOpen = ::IsWindowEnabled(Owner()); }),
                 Click(GetParam().point)});
    EXPECT_EQ(Show(L"网络异常"), GetParam().result);
    ASSERT_EQ(m_owner.modalOpened.size(), 1u);
    const HWND hBox = m_owner.modalOpened.front();
    EXPECT_FALSE(::IsWindow(hBox));
    EXPECT_FALSE(bOwnerEnabledWhileOpen);
    EXPECT_TRUE(::IsWindowEnabled(Owner()));
    EXPECT_EQ(::GetFocus(), Owner());
    EXPECT_EQ(CountingBox::destroyed, 1);
    // The owner's WM_CLOSE was posted after the box's and is handled by the outer loop.
    EXPECT_TRUE(m_owner.closes.empty());
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(Owner()); }));
    EXPECT_EQ(m_owner.closes, std::vector<WPARAM>{0});
}

INSTANTIATE_TEST_SUITE_P(Buttons, CustomMsgBoxButtonTest,
                         testing::Values(ButtonCase{"Ok", kOkButton, 1}, ButtonCase{"Close", kCloseButton, 8}),
                         [](const testing::TestParamInfo<ButtonCase>& info) { return std::string(info.param.name); });

TEST_F(CustomMsgBoxTest, DoubleClickOnTheCaptionDoesNothing)
{
    RECT rcBefore = {}, rcAfter = {};
    LRESULT hit = HTNOWHERE;
    BOOL bZoomed = TRUE;
    m_owner.Act({WaitUntilPainted(), Do([&] {
                     const HWND hBox = m_owner.Box();
                     rcBefore = WindowRectOf(hBox);
                     POINT pt = kCaption;
                     ::ClientToScreen(hBox, &pt);
                     hit = ::SendMessageW(hBox, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
                     ::PostMessageW(hBox, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(pt.x, pt.y));
                 }),
                 // Posted messages come before timer ticks: the double click has been handled here.
                 Do([&] {
                     bZoomed = ::IsZoomed(m_owner.Box());
                     rcAfter = WindowRectOf(m_owner.Box());
                 }),
                 Click(kCloseButton)});
    EXPECT_EQ(Show(L"网络异常"), 8);
    EXPECT_EQ(hit, HTCAPTION);
    EXPECT_FALSE(bZoomed);
    EXPECT_EQ(RectText(rcAfter), RectText(rcBefore));
}

struct QuitCase {
    const char* name;
    bool destroyOwner;
};

class CustomMsgBoxQuitTest : public CustomMsgBoxTest, public testing::WithParamInterface<QuitCase> {};

TEST_P(CustomMsgBoxQuitTest, QuitEndsTheLoopIsPostedAgainAndTheBoxIsDeleted)
{
    m_owner.Act({WaitUntilPainted(), Do([&] {
                     if (GetParam().destroyOwner) {
                         ::DestroyWindow(Owner());
                     }
                     ::PostQuitMessage(7);
                 })});
    EXPECT_EQ(Show(L"网络异常"), 0);
    EXPECT_EQ(CountingBox::constructed, 1);
    EXPECT_EQ(CountingBox::destroyed, 1);
    ASSERT_EQ(m_owner.modalOpened.size(), 1u);
    EXPECT_FALSE(::IsWindow(m_owner.modalOpened.front()));
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    if (!GetParam().destroyOwner) {
        EXPECT_TRUE(::IsWindowEnabled(Owner()));
        EXPECT_TRUE(m_owner.closes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Quit, CustomMsgBoxQuitTest,
                         testing::Values(QuitCase{"OwnerAlive", false}, QuitCase{"OwnerDestroyed", true}),
                         [](const testing::TestParamInfo<QuitCase>& info) { return std::string(info.param.name); });

// Where the box lands for an owner at a place: centred over it, inside the work area.
struct PlaceCase {
    const char* name;
    // Owner's top-left relative to the work area's corner named by the flags.
    int dx, dy;
    bool fromRight, fromBottom;
    // Expected box top-left: centred over the owner (400 x 300) or pressed against an edge.
    enum Edge { Centred, Low, High } xEdge, yEdge;
};

class CustomMsgBoxPlaceTest : public CustomMsgBoxTest, public testing::WithParamInterface<PlaceCase> {};

TEST_P(CustomMsgBoxPlaceTest, BoxIsCentredOverItsOwnerInsideTheWorkArea)
{
    const PlaceCase& c = GetParam();
    const RECT rcWork = WorkArea();
    const int ownerX = (c.fromRight ? rcWork.right : rcWork.left) + c.dx;
    const int ownerY = (c.fromBottom ? rcWork.bottom : rcWork.top) + c.dy;
    ::SetWindowPos(Owner(), nullptr, ownerX, ownerY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rcBox = {};
    m_owner.Act({WaitUntilPainted(), Do([&] { rcBox = WindowRectOf(m_owner.Box()); }), Click(kCloseButton)});
    EXPECT_EQ(Show(L"网络异常"), 8);
    const auto expected = [](PlaceCase::Edge edge, int ownerStart, int low, int high, int ownerSize, int size) {
        switch (edge) {
        case PlaceCase::Low:
            return low;
        case PlaceCase::High:
            return high - size;
        default:
            return ownerStart + ownerSize / 2 - size / 2;
        }
    };
    const int x = expected(c.xEdge, ownerX, rcWork.left, rcWork.right, 400, 440);
    const int y = expected(c.yEdge, ownerY, rcWork.top, rcWork.bottom, 300, 260);
    EXPECT_EQ(RectText(rcBox), RectText({x, y, x + 440, y + 260}));
}

INSTANTIATE_TEST_SUITE_P(
    Places, CustomMsgBoxPlaceTest,
    testing::Values(PlaceCase{"OwnerInTheMiddle", 300, 200, false, false, PlaceCase::Centred, PlaceCase::Centred},
                    PlaceCase{"OwnerNearTheRightAndBottomEdges", -150, -60, true, true, PlaceCase::High,
                              PlaceCase::High},
                    PlaceCase{"OwnerPastTheTopLeftCorner", -250, -200, false, false, PlaceCase::Low, PlaceCase::Low}),
    [](const testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

// Refuses the creation of the box's window (a CBT hook of this thread), as a failing system would.
class RefuseBoxWindow {
public:
    RefuseBoxWindow()
        : m_hHook(::SetWindowsHookExW(WH_CBT, &RefuseBoxWindow::Hook, nullptr, ::GetCurrentThreadId()))
    {
    }
    ~RefuseBoxWindow()
    {
        if (m_hHook != nullptr) {
            ::UnhookWindowsHookEx(m_hHook);
        }
    }
    RefuseBoxWindow(const RefuseBoxWindow&) = delete;
    RefuseBoxWindow& operator=(const RefuseBoxWindow&) = delete;
    bool Active() const { return m_hHook != nullptr; }

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode == HCBT_CREATEWND) {
            wchar_t szClass[64] = {};
            ::GetClassNameW(reinterpret_cast<HWND>(wParam), szClass, 64);
            if (std::wstring(szClass) == L"CustomMsgBoxClass") {
                return 1;
            }
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    HHOOK m_hHook;
};

TEST_F(CustomMsgBoxTest, BoxWindowThatCannotBeCreatedSkipsTheLoopAndEnablesTheOwner)
{
    RefuseBoxWindow refuse;
    ASSERT_TRUE(refuse.Active());
    ::EnableWindow(Owner(), FALSE);
    EXPECT_EQ(Show(L"网络异常"), 0);
    EXPECT_TRUE(m_owner.modalOpened.empty());
    EXPECT_TRUE(::IsWindowEnabled(Owner()));
    EXPECT_EQ(::GetFocus(), Owner());
    EXPECT_EQ(CountingBox::constructed, 1);
    EXPECT_EQ(CountingBox::destroyed, 1);
}

TEST_F(CustomMsgBoxTest, BoxWithoutControlsDropsTheTextAndStillEndsOnItsClose)
{
    // A resource module without "ZIPRES" 130: the box's window has no skin.
    CResourceSettingsUI::SetResourceInstance(::GetModuleHandleW(nullptr));
    bool bRootless = false;
    m_owner.Act({[&] { return ::IsWindow(m_owner.Box()) != FALSE; },
                 Do([&] {
                     bRootless = CountingBox::latest->Manager().Root() == nullptr;
                     ::PostMessageW(m_owner.Box(), WM_CLOSE, 3, 0);
                 })});
    EXPECT_EQ(Show(L"网络异常"), 3);
    EXPECT_TRUE(bRootless);
    EXPECT_TRUE(::IsWindowEnabled(Owner()));
}

TEST_F(CustomMsgBoxTest, ShowCustomMsgBoxMakesTheLaunchersBoxAndOkClosesBoth)
{
    m_owner.Act({WaitUntilPainted(), Click(kOkButton)});
    EXPECT_EQ(ShowCustomMsgBox(Owner(), L"释放文件出错"), 1);
    EXPECT_EQ(CountingBox::constructed, 0);
    ASSERT_EQ(m_owner.modalOpened.size(), 1u);
    EXPECT_FALSE(::IsWindow(m_owner.modalOpened.front()));
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(Owner()); }));
    EXPECT_EQ(m_owner.closes, std::vector<WPARAM>{0});
}

} // namespace
