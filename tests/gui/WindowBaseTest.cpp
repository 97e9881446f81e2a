#include "SkinnedTestWindow.h"

#include "core/ResourceSettings.h"

#include "TestFiles.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <memory>

using namespace guitest;
using namespace Tarvo;

namespace {

// 400 x 300 with a 100-pixel caption, 6-pixel borders, a label and a button inside the caption.
constexpr wchar_t kHitTestSkin[] =
    L"<Window size=\"400,300\" sizebox=\"6,6,6,6\" caption=\"0,0,0,100\" mininfo=\"300,200\" maxinfo=\"500,400\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<FakeLabel name=\"label\" float=\"true\" pos=\"20,20,120,50\"/>"
    L"<FakeButton name=\"closebtn\" float=\"true\" pos=\"200,20,260,50\"/>"
    L"</VerticalLayout></Window>";

class ResourceSettingsReset {
public:
    ResourceSettingsReset() { Reset(); }
    ~ResourceSettingsReset() { Reset(); }

private:
    static void Reset()
    {
        CResourceSettingsUI::ReleaseZip();
        CResourceSettingsUI::SetResourcePath(L"");
    }
};

class WindowBaseTest : public testing::Test {
protected:
    std::unique_ptr<CSkinnedTestWindow> MakeWindow(const wchar_t* pstrSkin = kHitTestSkin, HWND hOwner = nullptr,
                                                   int x = 100, int y = 100)
    {
        auto pWindow = std::make_unique<CSkinnedTestWindow>(pstrSkin);
        EXPECT_NE(pWindow->CreateAt(hOwner, x, y), nullptr);
        PumpMessages();
        return pWindow;
    }

    LRESULT HitTest(CSkinnedTestWindow& window, int x, int y)
    {
        const POINT pt = window.ScreenPoint(x, y);
        return ::SendMessageW(window.WindowHandle(), WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }

    ResourceSettingsReset m_reset;
};

TEST_F(WindowBaseTest, CreateBuildsTheSkinSizesTheWindowAndDropsTheCaptionStyle)
{
    auto pWindow = std::make_unique<CSkinnedTestWindow>(kHitTestSkin);
    const HWND hWnd = pWindow->CreateAt(nullptr, 120, 80, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(pWindow->initCount, 1);
    ASSERT_NE(pWindow->Manager().Root(), nullptr);
    EXPECT_NE(pWindow->Manager().ControlByName(L"label"), nullptr);
    const RECT rc = WindowRectOf(hWnd);
    EXPECT_EQ(RectText(rc), L"120,80,520,380");
    RECT rcClient = {};
    ::GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(RectText(rcClient), L"0,0,400,300"); // no frame: the whole window is client area
    const LONG_PTR style = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_CLIPCHILDREN, 0);
    EXPECT_NE(style & WS_CLIPSIBLINGS, 0);
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    WNDCLASSW wc = {};
    ASSERT_TRUE(::GetClassInfoW(::GetModuleHandleW(nullptr), szClass, &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
}

TEST_F(WindowBaseTest, HitTestGivesCaptionBordersAndClientArea)
{
    auto pWindow = MakeWindow();
    ASSERT_TRUE(PumpUntil([&] { return pWindow->Manager().Root()->Position().right == 400; }));
    const struct {
        int x, y;
        LRESULT expected;
    } cases[] = {
        {30, 30, HTCAPTION},  // label
        {150, 70, HTCAPTION}, // empty layout inside the caption
        {210, 30, HTCLIENT},  // button
        {150, 150, HTCLIENT}, // below the caption
        {2, 150, HTLEFT},     {397, 150, HTRIGHT},  {150, 2, HTTOP},        {150, 297, HTBOTTOM},
        {2, 2, HTTOPLEFT},    {397, 2, HTTOPRIGHT}, {2, 297, HTBOTTOMLEFT}, {397, 297, HTBOTTOMRIGHT},
        {6, 150, HTCLIENT},   {393, 150, HTCLIENT}, // just inside the borders
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HitTest(*pWindow, c.x, c.y), c.expected) << c.x << "," << c.y;
    }
}

TEST_F(WindowBaseTest, MaximisedWindowHasNoResizeBorders)
{
    auto pWindow =
        std::make_unique<CSkinnedTestWindow>(L"<Window size=\"400,300\" sizebox=\"6,6,6,6\" caption=\"0,0,0,100\">"
                                             L"<VerticalLayout/></Window>");
    ASSERT_NE(pWindow->CreateAt(nullptr, 100, 100), nullptr);
    EXPECT_EQ(HitTest(*pWindow, 2, 50), HTLEFT);
    ::ShowWindow(pWindow->WindowHandle(), SW_MAXIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return ::IsZoomed(pWindow->WindowHandle()) != FALSE; }));
    EXPECT_EQ(HitTest(*pWindow, 2, 50), HTCAPTION);
    EXPECT_EQ(HitTest(*pWindow, 2, 150), HTCLIENT);
}

TEST_F(WindowBaseTest, TrackingSizesComeFromTheSkin)
{
    auto pWindow = MakeWindow();
    MINMAXINFO info = {};
    info.ptMaxTrackSize = {9999, 9999};
    ::SendMessageW(pWindow->WindowHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 300);
    EXPECT_EQ(info.ptMinTrackSize.y, 200);
    EXPECT_EQ(info.ptMaxTrackSize.x, 500);
    EXPECT_EQ(info.ptMaxTrackSize.y, 400);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(pWindow->WindowHandle(), MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(info.ptMaxPosition.x, monitor.rcWork.left - monitor.rcMonitor.left);
    EXPECT_EQ(info.ptMaxPosition.y, monitor.rcWork.top - monitor.rcMonitor.top);
}

TEST_F(WindowBaseTest, EqualMinAndMaxInfoKeepTheSizeWhenResized)
{
    auto pWindow =
        std::make_unique<CSkinnedTestWindow>(L"<Window size=\"400,300\" sizebox=\"6,6,6,6\" mininfo=\"400,300\" "
                                             L"maxinfo=\"400,300\"><VerticalLayout/></Window>");
    ASSERT_NE(pWindow->CreateAt(nullptr, 100, 100, WS_POPUP | WS_THICKFRAME | WS_VISIBLE), nullptr);
    // Only windows with a sizing frame have their tracking sizes enforced by the system.
    ::SetWindowPos(pWindow->WindowHandle(), nullptr, 0, 0, 600, 450, SWP_NOMOVE | SWP_NOZORDER);
    const RECT rc = WindowRectOf(pWindow->WindowHandle());
    EXPECT_EQ(rc.right - rc.left, 400);
    EXPECT_EQ(rc.bottom - rc.top, 300);
}

TEST_F(WindowBaseTest, SizeSetsARoundedRegionOneLargerThanTheWindow)
{
    auto pWindow = std::make_unique<CSkinnedTestWindow>(
        L"<Window size=\"200,100\" roundcorner=\"20,20\"><VerticalLayout/></Window>");
    ASSERT_NE(pWindow->CreateAt(nullptr, 100, 100), nullptr);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(pWindow->WindowHandle(), hRgn), ERROR);
    EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));
    EXPECT_TRUE(::PtInRegion(hRgn, 100, 50));
    EXPECT_TRUE(::PtInRegion(hRgn, 10, 0));
    RECT rcBox = {};
    ::GetRgnBox(hRgn, &rcBox);
    // A round rectangle region leaves out its right and bottom edge: hence the one added.
    EXPECT_EQ(rcBox.right, 200);
    EXPECT_EQ(rcBox.bottom, 100);
    ::DeleteObject(hRgn);
}

TEST_F(WindowBaseTest, WithoutRoundCornerTheRegionIsAPlainRectangle)
{
    auto pWindow = MakeWindow();
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(pWindow->WindowHandle(), hRgn), SIMPLEREGION);
    EXPECT_TRUE(::PtInRegion(hRgn, 0, 0));
    EXPECT_TRUE(::PtInRegion(hRgn, 400, 300));
    ::DeleteObject(hRgn);
}

TEST_F(WindowBaseTest, SysCommandCloseBecomesClose)
{
    auto pWindow = MakeWindow();
    ::SendMessageW(pWindow->WindowHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(pWindow->closes, std::vector<WPARAM>{0});
    EXPECT_FALSE(::IsWindow(pWindow->WindowHandle()));
}

// A program class whose procedure records the commands it sees, for a window superclassing it.
std::vector<WPARAM> g_baseCommands;
std::vector<UINT> g_baseMessages;

LRESULT CALLBACK RecordingBaseProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    g_baseMessages.push_back(uMsg);
    if (uMsg == WM_SYSCOMMAND) {
        g_baseCommands.push_back(wParam);
        return 0x5C; // not passed on: the window must stay
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

class SuperclassTest : public WindowBaseTest {
protected:
    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &RecordingBaseProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TarvoRecordingBase";
        ::RegisterClassW(&wc);
        g_baseCommands.clear();
        g_baseMessages.clear();
        m_window.Superclass(L"TarvoRecordingBase");
        ASSERT_NE(m_window.CreateAt(nullptr, 100, 100), nullptr) << ::GetLastError();
    }

    CSkinnedTestWindow m_window{kHitTestSkin};
};

TEST_F(SuperclassTest, OtherCommandsReachThePreviousProcedureUnchanged)
{
    const LRESULT lRes = ::SendMessageW(m_window.WindowHandle(), WM_SYSCOMMAND, SC_CLOSE | 0x2, 0);
    EXPECT_EQ(lRes, 0x5C);
    EXPECT_EQ(g_baseCommands, std::vector<WPARAM>{SC_CLOSE | 0x2});
    EXPECT_TRUE(m_window.closes.empty());
    EXPECT_TRUE(::IsWindow(m_window.WindowHandle()));
    ::SendMessageW(m_window.WindowHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(g_baseCommands.back(), static_cast<WPARAM>(SC_MINIMIZE));
}

TEST_F(SuperclassTest, ExactCloseIsHandledHereAndTheCloseEndsInThePreviousProcedure)
{
    ::SendMessageW(m_window.WindowHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(g_baseCommands.empty());
    EXPECT_EQ(m_window.closes, std::vector<WPARAM>{0});
    EXPECT_NE(std::find(g_baseMessages.begin(), g_baseMessages.end(), static_cast<UINT>(WM_CLOSE)),
              g_baseMessages.end());
    EXPECT_FALSE(::IsWindow(m_window.WindowHandle()));
    EXPECT_EQ(m_window.WindowHandle(), nullptr);
}

TEST_F(SuperclassTest, ObjectLivesInTheWindowPropertyNotTheUserData)
{
    EXPECT_EQ(::GetPropW(m_window.WindowHandle(), L"WndX"), static_cast<CWindowWnd*>(&m_window));
    EXPECT_EQ(::GetWindowLongPtrW(m_window.WindowHandle(), GWLP_USERDATA), 0);
}

TEST_F(WindowBaseTest, CloseButtonClickPostsCloseWithOne)
{
    auto pWindow = MakeWindow();
    UINotification click;
    click.type = L"click";
    click.sender = pWindow->Manager().ControlByName(L"closebtn");
    ASSERT_NE(click.sender, nullptr);
    pWindow->OnNotification(click);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(pWindow->WindowHandle()); }));
    EXPECT_EQ(pWindow->closes, std::vector<WPARAM>{1});
}

TEST_F(WindowBaseTest, ShowModalReturnsTheCloseWParamAndReenablesTheOwner)
{
    auto pOwner = MakeWindow();
    auto pBox = MakeWindow(kHitTestSkin, pOwner->WindowHandle(), 150, 150);
    UINotification click;
    click.type = L"click";
    click.sender = pBox->Manager().ControlByName(L"closebtn");
    pBox->OnClickNotification(click); // posts WM_CLOSE with 1 to the box
    EXPECT_EQ(pBox->ShowModal(), 1u);
    EXPECT_FALSE(::IsWindow(pBox->WindowHandle()));
    EXPECT_TRUE(::IsWindowEnabled(pOwner->WindowHandle()));
}

BOOL g_bOwnerEnabledInLoop = TRUE;

// Runs inside the modal loop: looks at the owner, then closes the box with 42.
void CALLBACK LookAtOwnerAndClose(HWND hWnd, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(hWnd, id);
    g_bOwnerEnabledInLoop = ::IsWindowEnabled(::GetWindow(hWnd, GW_OWNER));
    ::PostMessageW(hWnd, WM_CLOSE, 42, 0);
}

TEST_F(WindowBaseTest, ShowModalDisablesTheOwnerWhileRunning)
{
    auto pOwner = MakeWindow();
    auto pBox = MakeWindow(kHitTestSkin, pOwner->WindowHandle(), 150, 150);
    const HWND hBox = pBox->WindowHandle();
    const HWND hOwner = pOwner->WindowHandle();
    g_bOwnerEnabledInLoop = TRUE;
    ::SetTimer(hBox, 77, 10, &LookAtOwnerAndClose);
    EXPECT_EQ(pBox->ShowModal(), 42u);
    EXPECT_FALSE(g_bOwnerEnabledInLoop);
    EXPECT_TRUE(::IsWindowEnabled(hOwner));
    EXPECT_FALSE(::IsWindow(hBox));
}

TEST_F(WindowBaseTest, QuitDuringShowModalEndsItAndIsPostedAgain)
{
    auto pOwner = MakeWindow();
    auto pBox = MakeWindow(kHitTestSkin, pOwner->WindowHandle(), 150, 150);
    ::PostQuitMessage(5);
    EXPECT_EQ(pBox->ShowModal(), 0u);
    EXPECT_TRUE(::IsWindow(pBox->WindowHandle()));
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

// CenterWindow: over the owner (600 x 400), or over the work area without one, and always inside
// the work area. Positions are relative to the work area (L, T, R, B).

struct CentreCase {
    const char* name;
    bool bOwner;
    POINT (*ownerAt)(const RECT& work);
    POINT (*expected)(const RECT& work); // the 400 x 300 window's top-left
};

constexpr wchar_t kOwnerSkin[] = L"<Window size=\"600,400\"><VerticalLayout/></Window>";

class CenterWindowTest : public WindowBaseTest, public testing::WithParamInterface<CentreCase> {};

TEST_P(CenterWindowTest, CentresOverTheOwnerOrTheWorkAreaAndStaysInsideTheWorkArea)
{
    RECT rcWork = {};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0));
    const CentreCase& c = GetParam();
    std::unique_ptr<CSkinnedTestWindow> pOwner;
    if (c.bOwner) {
        const POINT pt = c.ownerAt(rcWork);
        pOwner = MakeWindow(kOwnerSkin, nullptr, pt.x, pt.y);
        ASSERT_EQ(RectText(WindowRectOf(pOwner->WindowHandle())), RectText({pt.x, pt.y, pt.x + 600, pt.y + 400}));
    }
    auto pWindow = MakeWindow(kHitTestSkin, pOwner ? pOwner->WindowHandle() : nullptr, 10, 10);
    pWindow->CenterWindow();
    const POINT pt = c.expected(rcWork);
    EXPECT_EQ(RectText(WindowRectOf(pWindow->WindowHandle())), RectText({pt.x, pt.y, pt.x + 400, pt.y + 300}));
}

INSTANTIATE_TEST_SUITE_P(
    Places, CenterWindowTest,
    testing::Values(
        CentreCase{"OverTheOwner", true, [](const RECT& w) { return POINT{w.left + 301, w.top + 203}; },
                   // centre (301 + 300, 203 + 200) less half the window
                   [](const RECT& w) { return POINT{w.left + 401, w.top + 253}; }},
        CentreCase{"OwnerNearTheRightAndBottomEdges", true,
                   [](const RECT& w) { return POINT{w.right - 200, w.bottom - 100}; },
                   [](const RECT& w) { return POINT{w.right - 400, w.bottom - 300}; }},
        CentreCase{"OwnerPastTheTopLeftCorner", true, [](const RECT& w) { return POINT{w.left - 500, w.top - 350}; },
                   [](const RECT& w) { return POINT{w.left, w.top}; }},
        CentreCase{"OwnerPastTheTopEdgeOnly", true, [](const RECT& w) { return POINT{w.left + 500, w.top - 300}; },
                   [](const RECT& w) { return POINT{w.left + 600, w.top}; }},
        CentreCase{"WithoutOwnerInTheWorkArea", false, nullptr,
                   [](const RECT& w) { return POINT{(w.left + w.right) / 2 - 200, (w.top + w.bottom) / 2 - 150}; }}),
    [](const testing::TestParamInfo<CentreCase>& info) { return std::string(info.param.name); });

// The attention jitter: clicks on a disabled owner move its modal box.

class AttentionTest : public WindowBaseTest {
protected:
    void SetUp() override
    {
        m_pOwner = MakeWindow();
        m_pBox = MakeWindow(kHitTestSkin, m_pOwner->WindowHandle(), 150, 150);
        ::SendMessageW(m_pOwner->WindowHandle(), WM_UI_MODAL_OPENED, 0,
                       reinterpret_cast<LPARAM>(m_pBox->WindowHandle()));
        m_rcStart = WindowRectOf(m_pBox->WindowHandle());
    }

    void ClickOwner()
    {
        ::SendMessageW(m_pOwner->WindowHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(m_pOwner->WindowHandle()),
                       MAKELPARAM(HTERROR, WM_LBUTTONDOWN));
    }

    // Offsets of the box from its start after each attention tick, until n ticks were seen.
    std::vector<int> Ticks(size_t n)
    {
        std::vector<int> offsets;
        wxlmtest::WaitUntil([&] {
            MSG msg;
            while (offsets.size() < n && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::DispatchMessageW(&msg);
                if (msg.message == WM_TIMER && msg.hwnd == m_pBox->WindowHandle() &&
                    msg.wParam == ModalAttentionTimerId) {
                    const RECT rc = WindowRectOf(m_pBox->WindowHandle());
                    EXPECT_EQ(rc.left - m_rcStart.left, rc.top - m_rcStart.top);
                    offsets.push_back(rc.left - m_rcStart.left);
                }
            }
            return offsets.size() >= n;
        });
        return offsets;
    }

    std::unique_ptr<CSkinnedTestWindow> m_pOwner;
    std::unique_ptr<CSkinnedTestWindow> m_pBox;
    RECT m_rcStart = {};
};

TEST_F(AttentionTest, ClickOnTheOwnerJittersTheBoxEightTimesAndItEndsWhereItBegan)
{
    ClickOwner();
    EXPECT_EQ(Ticks(8), (std::vector<int>{-1, 0, -1, 0, -1, 0, -1, 0}));
    EXPECT_EQ(RectText(WindowRectOf(m_pBox->WindowHandle())), RectText(m_rcStart));
    // The timer stopped itself after the eighth step.
    EXPECT_FALSE(::KillTimer(m_pBox->WindowHandle(), ModalAttentionTimerId));
}

TEST_F(AttentionTest, SecondClickDuringTheMovementMovesBackAndRestarts)
{
    ClickOwner();
    EXPECT_EQ(Ticks(1), std::vector<int>{-1});
    ClickOwner();
    EXPECT_EQ(RectText(WindowRectOf(m_pBox->WindowHandle())), RectText(m_rcStart));
    EXPECT_EQ(Ticks(8), (std::vector<int>{-1, 0, -1, 0, -1, 0, -1, 0}));
}

TEST_F(AttentionTest, ClickOnAWindowThatOwnsNoBoxDoesNothing)
{
    ::SendMessageW(m_pBox->WindowHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(m_pBox->WindowHandle()),
                   MAKELPARAM(HTERROR, WM_LBUTTONDOWN));
    PumpMessages();
    EXPECT_FALSE(::KillTimer(m_pBox->WindowHandle(), ModalAttentionTimerId));
}

TEST_F(AttentionTest, AnEarlierBoxBecomesThePreviousModalAndClicksStillReachTheCurrentOne)
{
    auto pSecond = MakeWindow(kHitTestSkin, m_pOwner->WindowHandle(), 300, 300);
    ::SendMessageW(m_pOwner->WindowHandle(), WM_UI_MODAL_OPENED, 0, reinterpret_cast<LPARAM>(pSecond->WindowHandle()));
    ClickOwner();
    EXPECT_TRUE(::KillTimer(pSecond->WindowHandle(), ModalAttentionTimerId));
    EXPECT_FALSE(::KillTimer(m_pBox->WindowHandle(), ModalAttentionTimerId));
}

// Bad skins: clean failures, never a crash.

TEST_F(WindowBaseTest, MissingZipResourceLeavesTheWindowWithoutSkinAndWithoutMessage)
{
    CSkinnedTestWindow window(L"GameLoader.xml", SkinFromZipResource, L"4711");
    ASSERT_NE(window.CreateAt(nullptr, 100, 100), nullptr);
    EXPECT_EQ(window.Manager().Root(), nullptr);
    EXPECT_EQ(window.initCount, 0);
}

TEST_F(WindowBaseTest, SkinFromAZipFileBelowTheResourcePath)
{
    std::wstring build = wxlmtest::MainExePath();
    // The program lies in the build folder's "bin", the packed skin.zip in the build folder.
    build.resize(build.find_last_of(L'\\') + 1);
    CResourceSettingsUI::SetResourcePath((build + L"..\\").c_str());
    CSkinnedTestWindow window(L"CustomMsgBox.xml", SkinFromZipFile, L"skin.zip");
    ASSERT_NE(window.CreateAt(nullptr, 100, 100), nullptr);
    ASSERT_NE(window.Manager().Root(), nullptr);
    EXPECT_NE(window.Manager().ControlByName(L"verOnlyTip"), nullptr);
    EXPECT_EQ(CResourceSettingsUI::ResourceZip(), L"skin.zip");
    EXPECT_TRUE(CResourceSettingsUI::IsZipCached());
}

TEST_F(WindowBaseTest, SkinFromALooseFileInTheSkinFolder)
{
    wxlmtest::TempDir dir;
    ASSERT_TRUE(wxlmtest::WriteFileBytes(dir / L"Loose.xml", "<Window size=\"123,45\"><VerticalLayout name=\"loose\"/>"
                                                             "</Window>"));
    CResourceSettingsUI::SetResourcePath(dir.Path().c_str());
    CSkinnedTestWindow window(L"Loose.xml");
    ASSERT_NE(window.CreateAt(nullptr, 100, 100), nullptr);
    EXPECT_NE(window.Manager().ControlByName(L"loose"), nullptr);
    EXPECT_EQ(RectText(WindowRectOf(window.WindowHandle())), L"100,100,223,145");
}

TEST_F(WindowBaseTest, UnknownElementsAndAttributesAreIgnored)
{
    auto pWindow = MakeWindow(
        L"<Window size=\"300,200\" bogus=\"1\"><Gadget><VerticalLayout name=\"lost\"/></Gadget>"
        L"<VerticalLayout name=\"root\" whatever=\"x\"><Widget/><Control name=\"kept\"/></VerticalLayout></Window>");
    EXPECT_EQ(pWindow->Manager().ControlByName(L"lost"), nullptr);
    EXPECT_NE(pWindow->Manager().ControlByName(L"kept"), nullptr);
    EXPECT_NE(pWindow->Manager().ControlByName(L"root"), nullptr);
}

} // namespace
