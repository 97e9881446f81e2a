#pragma once

#include <windows.h>

namespace Tarvo {

enum class UINinePart { Middle, TopLeft, Top, TopRight, Left, Right, BottomLeft, Bottom, BottomRight };

struct UINinePiece {
    UINinePart part = UINinePart::Middle;
    RECT dest = {0, 0, 0, 0};
    RECT source = {0, 0, 0, 0};
};

// The pieces of a nine-grid in drawing order: middle (unless bHole), top-left, top, top-right,
// left, right, bottom-left, bottom, bottom-right. Corners need both of their widths > 0, edges
// their one width; a negative corner width counts as 0, since it would push the middle out of
// the destination. Pieces with an empty destination, or a source that is empty or leaves
// rcSource, are left out.
struct UINineGrid {
    UINinePiece pieces[9];
    int count = 0;
};

UINineGrid SplitNineGrid(const RECT& rcDest, const RECT& rcSource, const RECT& rcCorner, bool bHole);

} // namespace Tarvo
