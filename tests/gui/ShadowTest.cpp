#include "core/Shadow.h"
#include "core/WindowManager.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

using namespace Tarvo;
using namespace wxlmtest;

namespace {

constexpr wchar_t kHostClass[] = L"TarvoShadowTestHost";

// Where the watched shadow window stood while the host painted last.
HWND g_hWatchedShadow = nullptr;
RECT g_rcShadowAtHostPaint = {0, 0, 0, 0};

LRESULT CALLBACK HostWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_PAINT && g_hWatchedShadow != nullptr) {
        ::GetWindowRect(g_hWatchedShadow, &g_rcShadowAtHostPaint);
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void RegisterHostClass()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &HostWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    ::RegisterClassExW(&wc);
}

// A 24-bit bottom-up BMP of one colour: enough for the image cache's decoder.
std::string SolidBmp(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    const int size = 54 + stride * height;
    std::string bytes(static_cast<size_t>(size), '\0');
    auto put32 = [&](int offset, int value) { std::memcpy(&bytes[offset], &value, 4); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    bytes[26] = 1;
    bytes[28] = 24;
    for (int i = 54; i < size; ++i) {
        bytes[static_cast<size_t>(i)] = '\x40';
    }
    return bytes;
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& condition)
{
    return WaitUntil([&] {
        Pump();
        return condition();
    });
}

BOOL CALLBACK FindShadowWindow(HWND hWnd, LPARAM lParam)
{
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    *reinterpret_cast<bool*>(lParam) |= std::wstring(szClass) == L"TarvoShadowWnd";
    return TRUE;
}

RECT WindowRect(HWND hWnd)
{
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

std::string Text(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

RECT Inflated(const RECT& rc, int left, int top, int right, int bottom)
{
    return {rc.left - left, rc.top - top, rc.right + right, rc.bottom + bottom};
}

class ShadowTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterHostClass();
        ASSERT_TRUE(CShadowUI::Initialize(::GetModuleHandleW(nullptr)));
        ASSERT_TRUE(WriteFileBytes(m_dir / L"shadow.bmp", SolidBmp(24, 24)));
        m_strImage = m_dir / L"shadow.bmp";
    }

    void TearDown() override
    {
        g_hWatchedShadow = nullptr;
        m_shadow.reset();
        if (m_hHost != nullptr && ::IsWindow(m_hHost)) {
            ::DestroyWindow(m_hHost);
        }
        m_manager.reset();
    }

    // A borderless host at 100,100 of 200 × 120, hidden unless bVisible.
    void CreateHost(bool bVisible)
    {
        m_hHost = ::CreateWindowExW(0, kHostClass, L"host", WS_POPUP | (bVisible ? WS_VISIBLE : 0), 100, 100, 200, 120,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_hHost, nullptr);
        m_manager = std::make_unique<CWindowManagerUI>();
        m_manager->Init(m_hHost);
        Pump();
    }

    void UseImage(const std::wstring& image = L"")
    {
        m_shadow->SetShowShadow(true);
        m_shadow->SetImage(image.empty() ? m_strImage.c_str() : image.c_str());
        m_shadow->SetCorner({9, 9, 9, 9});
    }

    bool ShadowAt(const RECT& rcExpected)
    {
        return PumpUntil([&] {
            const RECT rcShadow = WindowRect(m_shadow->ShadowWindow());
            return ::EqualRect(&rcExpected, &rcShadow) != FALSE;
        });
    }

    TempDir m_dir;
    std::wstring m_strImage;
    HWND m_hHost = nullptr;
    std::unique_ptr<CWindowManagerUI> m_manager;
    std::unique_ptr<CShadowUI> m_shadow = std::make_unique<CShadowUI>();
};

} // namespace

TEST_F(ShadowTest, ImageShadowIsCornerWiderAndStartsCornerLeftAndAbove)
{
    CreateHost(true);
    UseImage();
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    const HWND hShadow = m_shadow->ShadowWindow();
    ASSERT_NE(hShadow, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hShadow));
    const RECT rcHost = WindowRect(m_hHost);
    const RECT rcShadow = WindowRect(hShadow);
    EXPECT_EQ(Text(rcShadow), Text(Inflated(rcHost, 9, 9, 9, 9)));
    EXPECT_EQ(rcShadow.right - rcShadow.left, rcHost.right - rcHost.left + 18);
    wchar_t szClass[64] = {};
    ::GetClassNameW(hShadow, szClass, 64);
    EXPECT_STREQ(szClass, L"TarvoShadowWnd");
    EXPECT_EQ(::GetWindow(hShadow, GW_OWNER), m_hHost);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(hShadow, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT), WS_EX_LAYERED | WS_EX_TRANSPARENT);
}

TEST_F(ShadowTest, HiddenHostGetsItsShadowWhenFirstShown)
{
    CreateHost(false);
    UseImage();
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    const HWND hShadow = m_shadow->ShadowWindow();
    EXPECT_FALSE(::IsWindowVisible(hShadow));
    ::ShowWindow(m_hHost, SW_SHOWNA);
    EXPECT_TRUE(::IsWindowVisible(hShadow));
    EXPECT_TRUE(ShadowAt(Inflated(WindowRect(m_hHost), 9, 9, 9, 9))) << Text(WindowRect(hShadow));
    ::ShowWindow(m_hHost, SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(hShadow));
}

TEST_F(ShadowTest, FollowsTheHostWhenItMoves)
{
    CreateHost(true);
    UseImage();
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    ::SetWindowPos(m_hHost, nullptr, 250, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Text(WindowRect(m_shadow->ShadowWindow())), Text({241, 31, 459, 169}));
}

TEST_F(ShadowTest, MinimiseHidesAndRestoreShowsAtTheRightPlace)
{
    CreateHost(true);
    UseImage();
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    const RECT rcExpected = Inflated(WindowRect(m_hHost), 9, 9, 9, 9);
    ::ShowWindow(m_hHost, SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(m_shadow->ShadowWindow()); }));
    ::ShowWindow(m_hHost, SW_RESTORE);
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(m_shadow->ShadowWindow()) != FALSE; }));
    EXPECT_TRUE(ShadowAt(rcExpected)) << Text(WindowRect(m_shadow->ShadowWindow()));
}

// The host's own content comes first: the shadow is redrawn when the host has painted.
TEST_F(ShadowTest, GrowingWaitsForThePaintAndShrinkingRedrawsAtOnce)
{
    CreateHost(true);
    UseImage();
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    const HWND hShadow = m_shadow->ShadowWindow();
    // WM_SIZE records the size the shadow compares against.
    ::SetWindowPos(m_hHost, nullptr, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::UpdateWindow(m_hHost);
    const RECT rcBefore = WindowRect(hShadow);

    ::SetWindowPos(m_hHost, nullptr, 0, 0, 260, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Text(WindowRect(hShadow)), Text(rcBefore)) << "grown: nothing before the paint";
    g_hWatchedShadow = hShadow;
    ::InvalidateRect(m_hHost, nullptr, FALSE);
    ::UpdateWindow(m_hHost);
    EXPECT_EQ(Text(g_rcShadowAtHostPaint), Text(rcBefore)) << "the host painted first";
    EXPECT_EQ(Text(WindowRect(hShadow)), Text({91, 91, 369, 259}));

    ::SetWindowPos(m_hHost, nullptr, 0, 0, 150, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Text(WindowRect(hShadow)), Text({91, 91, 259, 209})) << "shrunk: at once";
}

TEST_F(ShadowTest, ComputedShadowIsPlacedBySizeAndOffset)
{
    CreateHost(true);
    m_shadow->SetShowShadow(true);
    ASSERT_TRUE(m_shadow->SetSize(6));
    ASSERT_TRUE(m_shadow->SetPosition(3, -2));
    EXPECT_FALSE(m_shadow->SetSize(21));
    EXPECT_FALSE(m_shadow->SetPosition(0, -21));
    EXPECT_FALSE(m_shadow->SetSharpness(21));
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    EXPECT_FALSE(m_shadow->IsImageMode());
    // host 100,100 200×120; origin = host + offset - size; size + 2 × size.
    EXPECT_EQ(Text(WindowRect(m_shadow->ShadowWindow())), Text({97, 92, 97 + 212, 92 + 132}));
    ASSERT_TRUE(m_shadow->SetSize(2));
    EXPECT_EQ(Text(WindowRect(m_shadow->ShadowWindow())), Text({101, 96, 101 + 204, 96 + 124}));
}

TEST_F(ShadowTest, WithoutShowShadowNothingIsCreatedAndTheHostKeepsItsProcedure)
{
    CreateHost(true);
    const LONG_PTR procBefore = ::GetWindowLongPtrW(m_hHost, GWLP_WNDPROC);
    m_shadow->SetImage(m_strImage.c_str());
    EXPECT_FALSE(m_shadow->Create(m_manager.get()));
    EXPECT_EQ(m_shadow->ShadowWindow(), nullptr);
    EXPECT_EQ(::GetWindowLongPtrW(m_hHost, GWLP_WNDPROC), procBefore);
    EXPECT_EQ(::FindWindowExW(HWND_MESSAGE, nullptr, L"TarvoShadowWnd", nullptr), nullptr);
    bool bOwnedShadow = false;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindShadowWindow, reinterpret_cast<LPARAM>(&bOwnedShadow));
    EXPECT_FALSE(bOwnedShadow);
}

TEST_F(ShadowTest, HostDestructionTakesTheShadowAlong)
{
    CreateHost(true);
    UseImage();
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    const HWND hShadow = m_shadow->ShadowWindow();
    ::DestroyWindow(m_hHost);
    EXPECT_FALSE(::IsWindow(hShadow));
    EXPECT_EQ(m_shadow->ShadowWindow(), nullptr);
}

TEST_F(ShadowTest, ShadowDestroyedFirstGivesTheHostItsProcedureBack)
{
    CreateHost(true);
    const LONG_PTR procBefore = ::GetWindowLongPtrW(m_hHost, GWLP_WNDPROC);
    UseImage();
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    EXPECT_NE(::GetWindowLongPtrW(m_hHost, GWLP_WNDPROC), procBefore);
    const HWND hShadow = m_shadow->ShadowWindow();
    m_shadow.reset();
    EXPECT_FALSE(::IsWindow(hShadow));
    EXPECT_EQ(::GetWindowLongPtrW(m_hHost, GWLP_WNDPROC), procBefore);
    ::SetWindowPos(m_hHost, nullptr, 10, 10, 50, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(m_hHost, SW_HIDE);
}

TEST_F(ShadowTest, MissingImageLeavesTheShadowEmpty)
{
    CreateHost(true);
    UseImage(m_dir / L"nothing.png");
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    const RECT rcShadow = WindowRect(m_shadow->ShadowWindow());
    EXPECT_EQ(rcShadow.right - rcShadow.left, 0);
    ::SetWindowPos(m_hHost, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(m_hHost);
}

TEST_F(ShadowTest, EndOfASizeMoveRedrawsAtOnce)
{
    CreateHost(true);
    UseImage();
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    ::SendMessageW(m_hHost, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 120));
    // Growing leaves the redraw for the paint; the end of the drag does not wait for it.
    ::SetWindowPos(m_hHost, nullptr, 0, 0, 230, 130, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Text(WindowRect(m_shadow->ShadowWindow())), Text({91, 91, 309, 229}));
    ::SendMessageW(m_hHost, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(Text(WindowRect(m_shadow->ShadowWindow())), Text({91, 91, 339, 239}));
}

TEST_F(ShadowTest, MaximiseHidesTheShadow)
{
    CreateHost(true);
    UseImage();
    ASSERT_TRUE(m_shadow->Create(m_manager.get()));
    ::SendMessageW(m_hHost, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(800, 600));
    EXPECT_FALSE(::IsWindowVisible(m_shadow->ShadowWindow()));
    ::SendMessageW(m_hHost, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 120));
    EXPECT_TRUE(::IsWindowVisible(m_shadow->ShadowWindow()));
}
