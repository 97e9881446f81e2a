// Layout passes and hit tests over trees of nested vertical and horizontal layouts, at 1,000
// and at 10,000 controls. The smaller tree is the baseline: a cost that grows linearly with
// the number of controls shows a ratio near 10 for the layout pass.
#include <windows.h>

#include <cstdio>

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
    double layout;
    double hitTest;
};

Measured Measure(int nControls, int nPasses, int nHitTests)
{
    Tree tree(nControls);
    Measured result = {tree.controls, 0, 0};
    result.layout = TimePerCall(nPasses, [&](int) { tree.Layout(); });
    volatile int nFound = 0;
    const int nHeight = tree.rows * RowHeight;
    result.hitTest = TimePerCall(nHitTests, [&](int i) {
        const POINT pt = {(i * 7919) % Width, (i * 104729) % nHeight};
        nFound = nFound + (tree.manager.ControlAt(pt) != nullptr ? 1 : 0);
    });
    return result;
}

} // namespace

int main()
{
    const Measured small = Measure(1000, 400, 100000);
    const Measured large = Measure(10000, 40, 100000);
    std::printf("tree: vertical root, horizontal rows, vertical columns, leaves (%d controls per row)\n",
                ControlsPerRow);
    for (const Measured& m : {small, large}) {
        std::printf("%6d controls: layout pass %9.1f us (%.3f us per control), hit test %.3f us\n", m.controls,
                    m.layout * 1e6, m.layout * 1e6 / m.controls, m.hitTest * 1e6);
    }
    const double controlRatio = static_cast<double>(large.controls) / small.controls;
    std::printf("controls x%.2f: layout pass x%.2f, hit test x%.2f (linear: x%.2f)\n", controlRatio,
                large.layout / small.layout, large.hitTest / small.hitTest, controlRatio);
    return 0;
}
