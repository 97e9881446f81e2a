// Full repaints of a 960×620 window holding a few hundred small controls, against one plain
// BitBlt of the same size measured in the same run; and the cost of a hit test over that tree.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "BenchSummary.h"
#include "LauncherContent.h"
#include "controls/Control.h"
#include "core/GdiResources.h"
#include "core/WindowManager.h"

using namespace Tarvo;

namespace {

constexpr int WindowWidth = 960;
constexpr int WindowHeight = 620;
constexpr int Columns = 24;
constexpr int Rows = 16; // 384 cells

class CCellUI : public CControlUI {
public:
    CCellUI(RECT rc, COLORREF color) : m_rcCell(rc), m_brush(::CreateSolidBrush(color)) {}
    RECT Cell() const { return m_rcCell; }
    void PaintBackgroundColor(HDC hDC) override { ::FillRect(hDC, &m_rcPaint, m_brush.Get()); }

private:
    RECT m_rcCell;
    CUIBrushHandle m_brush;
};

// Stands in for a layout: places its cells at fixed rectangles and searches them top first.
class CGridUI : public CCellUI {
public:
    using CCellUI::CCellUI;
    ~CGridUI() override
    {
        for (CCellUI* pCell : m_cells) {
            delete pCell;
        }
    }
    void Add(CCellUI* pCell) { m_cells.push_back(pCell); }
    void AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize) override
    {
        for (CCellUI* pCell : m_cells) {
            pCell->AttachTo(pManager, this, bInitialize);
        }
        CCellUI::AttachTo(pManager, pParent, bInitialize);
    }
    void SetPosition(RECT rc) override
    {
        CCellUI::SetPosition(rc);
        for (CCellUI* pCell : m_cells) {
            pCell->SetPosition(pCell->Cell());
        }
    }
    CControlUI* SearchTree(FindControlProc proc, void* pData, UINT uFlags) override
    {
        if ((uFlags & FindHitTest) != 0 && !::PtInRect(&m_rcItem, *static_cast<POINT*>(pData))) {
            return nullptr;
        }
        for (auto it = m_cells.rbegin(); it != m_cells.rend(); ++it) {
            if (CControlUI* pFound = (*it)->SearchTree(proc, pData, uFlags)) {
                return pFound;
            }
        }
        return CCellUI::SearchTree(proc, pData, uFlags);
    }
    void Paint(HDC hDC, const RECT& rcPaint) override
    {
        CCellUI::Paint(hDC, rcPaint);
        for (CCellUI* pCell : m_cells) {
            pCell->Paint(hDC, rcPaint);
        }
    }

private:
    std::vector<CCellUI*> m_cells;
};

// The launcher's kind of window: skin images, text and markup text painted by the render engine.
class CLauncherUI : public CControlUI {
public:
    void PaintBackgroundImage(HDC hDC) override { bench::PaintLauncherContent(hDC, *Manager(), m_rcPaint); }
};

struct BenchWindow {
    CWindowManagerUI manager;
    HWND hWnd = nullptr;

    static LRESULT CALLBACK Proc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_NCCREATE) {
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* pSelf = reinterpret_cast<BenchWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (pSelf != nullptr) {
            if (uMsg == WM_CREATE) {
                pSelf->manager.Init(hWnd);
            }
            LRESULT lRes = 0;
            if (uMsg != WM_NCDESTROY && pSelf->manager.HandleWindowMessage(uMsg, wParam, lParam, lRes)) {
                return lRes;
            }
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }

    // The grid of cells, or the given root.
    explicit BenchWindow(bool bLayered, CControlUI* pGivenRoot = nullptr)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TarvoRepaintBench";
        ::RegisterClassW(&wc);
        manager.SetLayered(bLayered);
        hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, WindowWidth, WindowHeight,
                                 nullptr, nullptr, wc.hInstance, this);
        if (pGivenRoot != nullptr) {
            manager.AttachRoot(pGivenRoot);
            Repaint();
            return;
        }
        auto* pRoot = new CGridUI(RECT{0, 0, WindowWidth, WindowHeight}, RGB(240, 240, 240));
        const int cellWidth = WindowWidth / Columns;
        const int cellHeight = WindowHeight / Rows;
        for (int row = 0; row < Rows; ++row) {
            for (int column = 0; column < Columns; ++column) {
                const RECT rc = {column * cellWidth + 2, row * cellHeight + 2, (column + 1) * cellWidth - 2,
                                 (row + 1) * cellHeight - 2};
                pRoot->Add(new CCellUI(rc, RGB(row * 15, column * 10, 128)));
            }
        }
        manager.AttachRoot(pRoot);
        Repaint();
    }
    ~BenchWindow() { ::DestroyWindow(hWnd); }

    void Repaint()
    {
        ::InvalidateRect(hWnd, nullptr, FALSE);
        ::UpdateWindow(hWnd);
    }
};

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The median time of one call, each call timed alone (the machine is shared: a busy moment
// spoils a call, not the figure).
template <class F> double MedianPerCall(int nCalls, F call)
{
    std::vector<double> times;
    for (int i = 0; i < nCalls; ++i) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        ::QueryPerformanceCounter(&start);
        call(i);
        ::GdiFlush();
        ::QueryPerformanceCounter(&end);
        times.push_back(Seconds(start, end));
    }
    return bench::Median(times);
}

template <class F> double TimePerCall(int nCalls, F call)
{
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < nCalls; ++i) {
        call(i);
    }
    ::GdiFlush();
    ::QueryPerformanceCounter(&end);
    return Seconds(start, end) / nCalls;
}

double BitBltBaseline(HWND hWnd, int nCalls)
{
    HDC hWindowDC = ::GetDC(hWnd);
    CUIMemoryDC memoryDC(::CreateCompatibleDC(hWindowDC));
    CUIBitmapHandle bitmap(::CreateCompatibleBitmap(hWindowDC, WindowWidth, WindowHeight));
    CUISelectObject select(memoryDC.Get(), bitmap.Get());
    ::PatBlt(memoryDC.Get(), 0, 0, WindowWidth, WindowHeight, WHITENESS);
    const double seconds = MedianPerCall(
        nCalls, [&](int) { ::BitBlt(hWindowDC, 0, 0, WindowWidth, WindowHeight, memoryDC.Get(), 0, 0, SRCCOPY); });
    ::ReleaseDC(hWnd, hWindowDC);
    return seconds;
}

// Each step of the launcher-like content painted warm into a back buffer like the manager's.
void PrintSteps(BenchWindow& window, double bitblt)
{
    HDC hWindowDC = ::GetDC(window.hWnd);
    CUIMemoryDC memoryDC(::CreateCompatibleDC(hWindowDC));
    CUIBitmapHandle bitmap(::CreateCompatibleBitmap(hWindowDC, WindowWidth, WindowHeight));
    CUISelectObject select(memoryDC.Get(), bitmap.Get());
    const RECT rcAll = {0, 0, WindowWidth, WindowHeight};
    std::printf("  warm steps of the launcher-like content (median of 50 each):\n");
    for (const bench::LauncherStep& step : bench::LauncherSteps()) {
        const double seconds = MedianPerCall(50, [&](int) { step.paint(memoryDC.Get(), window.manager, rcAll); });
        std::printf("    %-28s %8.1f us = %6.2f x BitBlt\n", step.pstrWhat, seconds * 1e6, seconds / bitblt);
    }
    ::ReleaseDC(window.hWnd, hWindowDC);
}

} // namespace

int main()
{
    constexpr int Repaints = 200;
    constexpr int HitTests = 200000;
    constexpr int WarmUps = 3;
    BenchWindow ordinary(false);
    const double bitblt = BitBltBaseline(ordinary.hWnd, Repaints);
    const double repaint = MedianPerCall(Repaints, [&](int) { ordinary.Repaint(); });
    double layeredRepaint = 0;
    {
        BenchWindow layered(true);
        layeredRepaint = MedianPerCall(Repaints, [&](int) { layered.Repaint(); });
    }
    double launcherFirst = 0;
    double launcherRepaint = 0;
    double launcherLayeredRepaint = 0;
    const bool bSkin = bench::PrepareLauncherSkin();
    if (bSkin) {
        BenchWindow launcher(false);
        launcherFirst = MedianPerCall(1, [&](int) { launcher.manager.AttachRoot(new CLauncherUI); launcher.Repaint(); });
        for (int i = 0; i < WarmUps; ++i) {
            launcher.Repaint();
        }
        launcherRepaint = MedianPerCall(Repaints, [&](int) { launcher.Repaint(); });
        BenchWindow launcherLayered(true, new CLauncherUI);
        for (int i = 0; i < WarmUps; ++i) {
            launcherLayered.Repaint();
        }
        launcherLayeredRepaint = MedianPerCall(Repaints / 2, [&](int) { launcherLayered.Repaint(); });
        std::printf("baseline BitBlt %dx%d (median of %d): %.1f us\n", WindowWidth, WindowHeight, Repaints,
                    bitblt * 1e6);
        PrintSteps(launcher, bitblt);
    }
    volatile int nFound = 0;
    const double hitTest = TimePerCall(HitTests, [&](int i) {
        const POINT pt = {static_cast<LONG>(i * 7919LL % WindowWidth), static_cast<LONG>(i * 104729LL % WindowHeight)};
        nFound = nFound + (ordinary.manager.ControlAt(pt) != nullptr ? 1 : 0);
    });

    std::printf("controls: %d in a %dx%d window; repaints: median of each timed alone\n", Columns * Rows + 1,
                WindowWidth, WindowHeight);
    std::printf("baseline BitBlt %dx%d: %.1f us\n", WindowWidth, WindowHeight, bitblt * 1e6);
    std::printf("full repaint:         %.1f us = %.2f x BitBlt\n", repaint * 1e6, repaint / bitblt);
    std::printf("full layered repaint: %.1f us = %.2f x BitBlt\n", layeredRepaint * 1e6, layeredRepaint / bitblt);
    std::printf("launcher-like first paint (images decoded, nothing composed): %.1f us = %.2f x BitBlt\n",
                launcherFirst * 1e6, launcherFirst / bitblt);
    std::printf("launcher-like warm repaint (nine-grid images, text, markup text): %.1f us = %.2f x BitBlt\n",
                launcherRepaint * 1e6, launcherRepaint / bitblt);
    std::printf("launcher-like warm layered repaint: %.1f us = %.2f x BitBlt\n", launcherLayeredRepaint * 1e6,
                launcherLayeredRepaint / bitblt);
    std::printf("hit test:             %.3f us = %.4f x BitBlt\n", hitTest * 1e6, hitTest / bitblt);
    char szValue[64];
    char szBaseline[64];
    std::snprintf(szValue, sizeof szValue, "%.0f us", launcherRepaint * 1e6);
    std::snprintf(szBaseline, sizeof szBaseline, "%.0f us one 960x620 BitBlt", bitblt * 1e6);
    bench::SummaryLine("warm full repaint (launcher-like)", szValue, szBaseline, launcherRepaint / bitblt, 10.0);
    return bSkin ? 0 : 1;
}
