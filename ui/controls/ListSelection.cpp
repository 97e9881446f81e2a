#include "controls/ListSelection.h"

#include <algorithm>

namespace Tarvo {

void CListSelection::Click(int nIndex, bool bCtrl, bool bShift, bool bMulti)
{
    if (nIndex < 0) {
        return;
    }
    if (!bMulti || (!bCtrl && !bShift)) {
        SelectOnly(nIndex);
        return;
    }
    if (bShift) {
        SelectRange(m_nAnchor >= 0 ? m_nAnchor : nIndex, nIndex, bCtrl);
        return;
    }
    if (!Remove(nIndex)) {
        m_selected.insert(nIndex);
    }
    m_nAnchor = nIndex;
}

void CListSelection::SelectOnly(int nIndex)
{
    m_selected.clear();
    if (nIndex >= 0) {
        m_selected.insert(nIndex);
    }
    m_nAnchor = nIndex;
}

void CListSelection::Add(int nIndex)
{
    if (nIndex >= 0) {
        m_selected.insert(nIndex);
        m_nAnchor = nIndex;
    }
}

bool CListSelection::Remove(int nIndex)
{
    return m_selected.erase(nIndex) != 0;
}

void CListSelection::Clear()
{
    m_selected.clear();
    m_nAnchor = -1;
}

// The anchor stays where the range started, so a further Shift click reshapes the same range.
void CListSelection::SelectRange(int nFrom, int nTo, bool bKeepOthers)
{
    if (nFrom < 0 || nTo < 0) {
        return;
    }
    if (!bKeepOthers) {
        m_selected.clear();
    }
    for (int i = std::min(nFrom, nTo); i <= std::max(nFrom, nTo); ++i) {
        m_selected.insert(i);
    }
    m_nAnchor = nFrom;
}

void CListSelection::RowRemoved(int nIndex)
{
    std::set<int> moved;
    for (int i : m_selected) {
        if (i != nIndex) {
            moved.insert(i > nIndex ? i - 1 : i);
        }
    }
    m_selected.swap(moved);
    if (m_nAnchor == nIndex) {
        m_nAnchor = -1;
    } else if (m_nAnchor > nIndex) {
        --m_nAnchor;
    }
}

void CListSelection::RowInserted(int nIndex)
{
    std::set<int> moved;
    for (int i : m_selected) {
        moved.insert(i >= nIndex ? i + 1 : i);
    }
    m_selected.swap(moved);
    if (m_nAnchor >= nIndex) {
        ++m_nAnchor;
    }
}

} // namespace Tarvo
