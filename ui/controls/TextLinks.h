#pragma once

#include <windows.h>

namespace Tarvo {

// The links a text control found while painting its markup: their rectangles and targets are
// kept in parallel arrays of the control, the first nCount of them valid.
inline int LinkIndexAt(const RECT* pRects, int nCount, POINT pt)
{
    for (int i = 0; i < nCount; ++i) {
        if (::PtInRect(&pRects[i], pt)) {
            return i;
        }
    }
    return -1;
}

template <class T> T LinkEntry(const T* pEntries, int nCount, int nIndex)
{
    return nIndex >= 0 && nIndex < nCount ? pEntries[nIndex] : T{};
}

} // namespace Tarvo
