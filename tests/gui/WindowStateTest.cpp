// Minimising, restoring and maximising a skinned window through the system commands, the way its
// own buttons and the task bar do it: the window base sees WM_SYSCOMMAND before the paint manager.

#include "SkinnedTestWindow.h"

#include "core/ResourceSettings.h"

#include <gtest/gtest.h>

#include <memory>

using namespace guitest;
using namespace Tarvo;

namespace {

constexpr DWORD Blue = 0xFF2040C0;

// A per-pixel-alpha window filled with one opaque colour, so that every pixel of a complete paint
// is known.
constexpr wchar_t kLayeredSkin[] =
    L"<Window size=\"200,120\" bktrans=\"true\"><VerticalLayout bkcolor=\"#FF2040C0\"/></Window>";

constexpr wchar_t kPlainSkin[] =
    L"<Window size=\"400,300\" sizebox=\"6,6,6,6\" caption=\"0,0,0,40\"><VerticalLayout name=\"root\"/></Window>";

class WindowStateTest : public testing::Test {
protected:
    WindowStateTest() { CResourceSettingsUI::SetResourcePath(L""); }

    std::unique_ptr<CSkinnedTestWindow> MakeWindow(const wchar_t* pstrSkin, int x, int y,
                                                   DWORD dwStyle = WS_POPUP | WS_VISIBLE)
    {
        auto pWindow = std::make_unique<CSkinnedTestWindow>(pstrSkin);
        EXPECT_NE(pWindow->CreateAt(nullptr, x, y, dwStyle), nullptr);
        return pWindow;
    }

    static void SysCommand(CSkinnedTestWindow& window, WPARAM wCommand)
    {
        ::SendMessageW(window.WindowHandle(), WM_SYSCOMMAND, wCommand, 0);
    }

    // Pixels of the layered back buffer (what the window shows) that are not the given colour.
    static int PixelsOtherThan(CSkinnedTestWindow& window, DWORD value)
    {
        const DWORD* pBits = window.Manager().OffscreenBits();
        RECT rc = {};
        ::GetClientRect(window.WindowHandle(), &rc);
        if (pBits == nullptr || rc.right <= 0 || rc.bottom <= 0) {
            return -1;
        }
        int nOther = 0;
        for (int i = 0; i < rc.right * rc.bottom; ++i) {
            nOther += pBits[i] != value ? 1 : 0;
        }
        return nOther;
    }

    static RECT WorkAreaOf(HWND hWnd)
    {
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
        return info.rcWork;
    }

    static RECT ClientRectOnScreen(HWND hWnd)
    {
        RECT rc = {};
        ::GetClientRect(hWnd, &rc);
        ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
};

TEST_F(WindowStateTest, LayeredWindowIsFullyPaintedAfterMinimiseAndRestoreCommands)
{
    auto pWindow = MakeWindow(kLayeredSkin, 140, 160);
    const HWND hWnd = pWindow->WindowHandle();
    ASSERT_TRUE(PumpUntil([&] { return PixelsOtherThan(*pWindow, Blue) == 0; }));
    EXPECT_NE(::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);

    SysCommand(*pWindow, SC_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(hWnd) != FALSE; }));
    SysCommand(*pWindow, SC_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(hWnd) == FALSE; }));
    EXPECT_TRUE(PumpUntil([&] { return PixelsOtherThan(*pWindow, Blue) == 0; }))
        << PixelsOtherThan(*pWindow, Blue) << " pixels are not painted";
    EXPECT_EQ(RectText(WindowRectOf(hWnd)), L"140,160,340,280");
}

// The window base answers WM_SYSCOMMAND itself; the paint manager must still learn of a restore.
TEST_F(WindowStateTest, RestoreCommandThroughTheWindowMakesTheNextLayeredPaintCoverEverything)
{
    auto pWindow = MakeWindow(kLayeredSkin, 140, 160);
    const HWND hWnd = pWindow->WindowHandle();
    ASSERT_TRUE(PumpUntil([&] { return PixelsOtherThan(*pWindow, Blue) == 0; }));
    PumpMessages(); // nothing left to paint

    // Blank the back buffer, so that only a paint of the whole client area brings every pixel back.
    ASSERT_TRUE(::PatBlt(pWindow->Manager().OffscreenDC(), 0, 0, 200, 120, BLACKNESS));
    ::GdiFlush();
    ASSERT_EQ(PixelsOtherThan(*pWindow, 0), 0);
    // The window is neither minimised nor maximised: the system leaves it as it is.
    SysCommand(*pWindow, SC_RESTORE);
    const RECT rcSmall = {10, 10, 20, 20};
    ::InvalidateRect(hWnd, &rcSmall, FALSE);
    ::UpdateWindow(hWnd);
    EXPECT_EQ(PixelsOtherThan(*pWindow, Blue), 0);

    // Only the next paint.
    ASSERT_TRUE(::PatBlt(pWindow->Manager().OffscreenDC(), 0, 0, 200, 120, BLACKNESS));
    ::GdiFlush();
    ::InvalidateRect(hWnd, &rcSmall, FALSE);
    ::UpdateWindow(hWnd);
    EXPECT_EQ(PixelsOtherThan(*pWindow, Blue), 200 * 120 - 10 * 10);
}

TEST_F(WindowStateTest, MaximisedWindowsClientAreaIsTheWorkAreaAndRestoringGivesItsSizeBack)
{
    // A sizing frame: maximised, the system places such a window's frame off the screen, so only
    // the window's own frame calculation keeps the client area on the work area.
    auto pWindow = MakeWindow(kPlainSkin, 120, 90, WS_POPUP | WS_THICKFRAME | WS_VISIBLE);
    const HWND hWnd = pWindow->WindowHandle();
    CControlUI* pRoot = pWindow->Manager().Root();
    ASSERT_NE(pRoot, nullptr);
    const RECT rcWork = WorkAreaOf(hWnd);
    const std::wstring workSize =
        L"0,0," + std::to_wstring(rcWork.right - rcWork.left) + L"," + std::to_wstring(rcWork.bottom - rcWork.top);

    SysCommand(*pWindow, SC_MAXIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return ::IsZoomed(hWnd) != FALSE; }));
    EXPECT_EQ(RectText(ClientRectOnScreen(hWnd)), RectText(rcWork));
    EXPECT_TRUE(PumpUntil([&] { return RectText(pRoot->Position()) == workSize; })) << RectText(pRoot->Position());

    // What the window answers the system when its frame is recalculated while maximised.
    RECT rcProposed = {-8, -8, 5000, 4000};
    EXPECT_EQ(::SendMessageW(hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rcProposed)), WVR_REDRAW);
    EXPECT_EQ(RectText(rcProposed), RectText(rcWork));

    SysCommand(*pWindow, SC_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return ::IsZoomed(hWnd) == FALSE; }));
    EXPECT_EQ(RectText(WindowRectOf(hWnd)), L"120,90,520,390");
    EXPECT_EQ(RectText(ClientRectOnScreen(hWnd)), L"120,90,520,390");
    EXPECT_TRUE(PumpUntil([&] { return RectText(pRoot->Position()) == L"0,0,400,300"; }))
        << RectText(pRoot->Position());
    rcProposed = {120, 90, 520, 390};
    EXPECT_EQ(::SendMessageW(hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rcProposed)), 0);
    EXPECT_EQ(RectText(rcProposed), L"120,90,520,390");
}

} // namespace
