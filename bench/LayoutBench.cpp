// Layout passes and hit tests over trees of nested vertical and horizontal layouts, at 1,000
// and at 10,000 controls. The smaller tree is the baseline: a cost that grows linearly with
// the number of controls shows a ratio near 10 for the layout pass.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "BenchSummary.h"

#include "controls/HorizontalLayout.h"
#include "controls/VerticalLayout.h"
#include "core/WindowManager.h"

using namespace Tarvo;

namespace {

constexpr int ColumnsPerRow = 10;
constexpr int LeavesPerColumn = 9;
constexpr int ControlsPerRow = 1 + ColumnsPerRow * (1 + LeavesPerColumn);
constexpr int RowHeight = 90;
constexpr int Width = 1000;

// A vertical root of horizontal rows; each row holds vertical columns of plain leaves, every
// second leaf with a height of its own and the others sharing what is left.
struct Tree {
    CWindowManagerUI manager;
    CVerticalLayoutUI* root = new CVerticalLayoutUI;
    int controls = 1;
    int rows = 0;

    explicit Tree(int nControls)
    {
        rows = (nControls + ControlsPerRow / 2) / ControlsPerRow;
        for (int r = 0; r < rows; ++r) {
            auto* pRow = new CHorizontalLayoutUI;
            pRow->ApplyAttribute(L"height", L"90");
            root->AddItem(pRow);
            for (int c = 0; c < ColumnsPerRow; ++c) {
                auto* pColumn = new CVerticalLayoutUI;
                pColumn->ApplyAttribute(L"childpadding", L"1");
                pRow->AddItem(pColumn);
                for (int l = 0; l < LeavesPerColumn; ++l) {
                    auto* pLeaf = new CControlUI;
                    if (l % 2 == 0) {
                        pLeaf->ApplyAttribute(L"height", L"8");
                    }
                    pColumn->AddItem(pLeaf);
                }
            }
            controls += ControlsPerRow;
        }
        manager.AttachRoot(root);
        Layout();
    }

    void Layout() { root->SetPosition(RECT{0, 0, Width, rows * RowHeight}); }
};

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class F> double TimePerCall(int nCalls, F call)
{
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < nCalls; ++i) {
        call(i);
    }
    ::QueryPerformanceCounter(&end);
    return Seconds(start, end) / nCalls;
}

struct Measured {
    int controls;
    double layout; // median of the rounds, per pass
    double hitTest;
};

double HitTest(Tree& tree, int nHitTests)
{
    volatile int nFound = 0;
    const int nHeight = tree.rows * RowHeight;
    return TimePerCall(nHitTests, [&](int i) {
        const POINT pt = {static_cast<LONG>(i * 7919LL % Width), static_cast<LONG>(i * 104729LL % nHeight)};
        nFound = nFound + (tree.manager.ControlAt(pt) != nullptr ? 1 : 0);
    });
}

} // namespace

int main()
{
    constexpr int Rounds = 31;
    Tree small(1000);
    Tree large(10000);
    // Rounds alternate between the trees, each round laying out about 10,000 controls, so that a
    // busy moment of the shared machine spoils a round of each rather than one tree's figure.
    std::vector<double> smallTimes;
    std::vector<double> largeTimes;
    for (int round = 0; round < Rounds; ++round) {
        smallTimes.push_back(TimePerCall(10, [&](int) { small.Layout(); }));
        largeTimes.push_back(TimePerCall(1, [&](int) { large.Layout(); }));
    }
    const Measured results[] = {
        {small.controls, bench::Median(smallTimes), HitTest(small, 100000)},
        {large.controls, bench::Median(largeTimes), HitTest(large, 100000)},
    };
    std::printf("tree: vertical root, horizontal rows, vertical columns, leaves (%d controls per row); median of "
                "%d alternating rounds\n",
                ControlsPerRow, Rounds);
    for (const Measured& m : results) {
        std::printf("%6d controls: layout pass %9.1f us (%.3f us per control), hit test %.3f us\n", m.controls,
                    m.layout * 1e6, m.layout * 1e6 / m.controls, m.hitTest * 1e6);
    }
    const Measured& a = results[0];
    const Measured& b = results[1];
    const double controlRatio = static_cast<double>(b.controls) / a.controls;
    std::printf("controls x%.2f: layout pass x%.2f, hit test x%.2f (linear: x%.2f)\n", controlRatio,
                b.layout / a.layout, b.hitTest / a.hitTest, controlRatio);
    const double perA = a.layout * 1e6 / a.controls;
    const double perB = b.layout * 1e6 / b.controls;
    char szValue[64];
    char szBaseline[64];
    std::snprintf(szValue, sizeof szValue, "%.3f us/control at %d", perB, b.controls);
    std::snprintf(szBaseline, sizeof szBaseline, "%.3f us/control at %d", perA, a.controls);
    bench::SummaryLine("layout cost per control", szValue, szBaseline, perB / perA, 1.3);
    return 0;
}
