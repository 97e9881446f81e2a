#include "core/NineGrid.h"

#include <algorithm>
#include <climits>

namespace Tarvo {

namespace {

// Coordinates of the three columns (or rows) of one axis: outer start, inner start, inner end,
// outer end.
struct Axis {
    LONG a, b, c, d;
};

// Skin numbers can be anything up to the range of LONG; the sums must not wrap.
LONG AddClamped(LONG value, long long delta)
{
    const long long sum = std::clamp<long long>(value + delta, LONG_MIN, LONG_MAX);
    return static_cast<LONG>(sum);
}

Axis SplitAxis(LONG start, LONG end, LONG first, LONG last)
{
    return {start, AddClamped(start, first), AddClamped(end, -static_cast<long long>(last)), end};
}

RECT Cell(const Axis& x, const Axis& y, int column, int row)
{
    const LONG xs[] = {x.a, x.b, x.c, x.d};
    const LONG ys[] = {y.a, y.b, y.c, y.d};
    return {xs[column], ys[row], xs[column + 1], ys[row + 1]};
}

bool IsInside(const RECT& rcInner, const RECT& rcOuter)
{
    return rcInner.left >= rcOuter.left && rcInner.top >= rcOuter.top && rcInner.right <= rcOuter.right &&
           rcInner.bottom <= rcOuter.bottom;
}

bool IsEmptyRect(const RECT& rc)
{
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

} // namespace

UINineGrid SplitNineGrid(const RECT& rcDest, const RECT& rcSource, const RECT& rcCorner, bool bHole)
{
    const LONG left = std::max<LONG>(rcCorner.left, 0);
    const LONG top = std::max<LONG>(rcCorner.top, 0);
    const LONG right = std::max<LONG>(rcCorner.right, 0);
    const LONG bottom = std::max<LONG>(rcCorner.bottom, 0);
    const Axis destX = SplitAxis(rcDest.left, rcDest.right, left, right);
    const Axis destY = SplitAxis(rcDest.top, rcDest.bottom, top, bottom);
    const Axis sourceX = SplitAxis(rcSource.left, rcSource.right, left, right);
    const Axis sourceY = SplitAxis(rcSource.top, rcSource.bottom, top, bottom);

    struct Candidate {
        UINinePart part;
        int column, row;
        bool wanted;
    };
    const Candidate candidates[] = {
        {UINinePart::Middle, 1, 1, !bHole},
        {UINinePart::TopLeft, 0, 0, left > 0 && top > 0},
        {UINinePart::Top, 1, 0, top > 0},
        {UINinePart::TopRight, 2, 0, right > 0 && top > 0},
        {UINinePart::Left, 0, 1, left > 0},
        {UINinePart::Right, 2, 1, right > 0},
        {UINinePart::BottomLeft, 0, 2, left > 0 && bottom > 0},
        {UINinePart::Bottom, 1, 2, bottom > 0},
        {UINinePart::BottomRight, 2, 2, right > 0 && bottom > 0},
    };
    UINineGrid grid;
    for (const Candidate& candidate : candidates) {
        if (!candidate.wanted) {
            continue;
        }
        UINinePiece piece{candidate.part, Cell(destX, destY, candidate.column, candidate.row),
                          Cell(sourceX, sourceY, candidate.column, candidate.row)};
        if (IsEmptyRect(piece.dest) || IsEmptyRect(piece.source) || !IsInside(piece.source, rcSource)) {
            continue;
        }
        grid.pieces[grid.count++] = piece;
    }
    return grid;
}

} // namespace Tarvo
