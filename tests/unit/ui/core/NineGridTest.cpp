#include "core/NineGrid.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Tarvo;

namespace {

std::vector<UINinePart> Parts(const UINineGrid& grid)
{
    std::vector<UINinePart> parts;
    for (int i = 0; i < grid.count; ++i) {
        parts.push_back(grid.pieces[i].part);
    }
    return parts;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

} // namespace

TEST(NineGridTest, AllNinePiecesComeInDrawingOrderWithFixedCorners)
{
    const UINineGrid grid = SplitNineGrid({10, 20, 540, 33}, {0, 0, 12, 13}, {3, 3, 3, 3}, false);
    using P = UINinePart;
    EXPECT_EQ(Parts(grid), (std::vector<P>{P::Middle, P::TopLeft, P::Top, P::TopRight, P::Left, P::Right, P::BottomLeft,
                                           P::Bottom, P::BottomRight}));
    EXPECT_TRUE(SameRect(grid.pieces[0].dest, {13, 23, 537, 30}));
    EXPECT_TRUE(SameRect(grid.pieces[0].source, {3, 3, 9, 10}));
    EXPECT_TRUE(SameRect(grid.pieces[3].dest, {537, 20, 540, 23}));
    EXPECT_TRUE(SameRect(grid.pieces[3].source, {9, 0, 12, 3}));
    EXPECT_TRUE(SameRect(grid.pieces[8].dest, {537, 30, 540, 33}));
    EXPECT_TRUE(SameRect(grid.pieces[8].source, {9, 10, 12, 13}));
}

TEST(NineGridTest, CornersNeedBothWidthsAndEdgesTheirOwn)
{
    using P = UINinePart;
    struct Case {
        RECT corner;
        bool hole;
        std::vector<P> parts;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, false, {P::Middle}},
        {{0, 0, 0, 0}, true, {}},
        {{4, 0, 0, 0}, false, {P::Middle, P::Left}},
        {{4, 5, 0, 0}, true, {P::TopLeft, P::Top, P::Left}},
        {{0, 0, 2, 2}, false, {P::Middle, P::Right, P::Bottom, P::BottomRight}},
        // Negative widths count as 0: the middle stays inside the destination.
        {{-50, -50, -50, -50}, false, {P::Middle}},
    };
    for (const Case& c : cases) {
        const RECT rcDest = {0, 0, 40, 40};
        const UINineGrid grid = SplitNineGrid(rcDest, {0, 0, 20, 20}, c.corner, c.hole);
        EXPECT_EQ(Parts(grid), c.parts) << c.corner.left << "," << c.corner.top;
        for (int i = 0; i < grid.count; ++i) {
            RECT rcUnion;
            ::UnionRect(&rcUnion, &grid.pieces[i].dest, &rcDest);
            EXPECT_TRUE(SameRect(rcUnion, {0, 0, 40, 40}));
        }
    }
}

TEST(NineGridTest, CornersLargerThanTheImageLeaveNoPieceReadingOutsideIt)
{
    const RECT rcSource = {0, 0, 20, 20};
    const RECT corners[] = {{30, 30, 30, 30}, {15, 15, 15, 15}, {2147483647, 0, 2147483647, 0}, {0, 25, 0, 0}};
    for (const RECT& corner : corners) {
        const UINineGrid grid = SplitNineGrid({0, 0, 100, 100}, rcSource, corner, false);
        for (int i = 0; i < grid.count; ++i) {
            const UINinePiece& piece = grid.pieces[i];
            RECT rcCheck;
            ::UnionRect(&rcCheck, &piece.source, &rcSource);
            EXPECT_TRUE(SameRect(rcCheck, rcSource)) << "corner " << corner.left << "," << corner.top;
            EXPECT_GT(piece.dest.right, piece.dest.left);
            EXPECT_GT(piece.dest.bottom, piece.dest.top);
        }
    }
}
