#pragma once

#include <set>

namespace Tarvo {

// The selected row indexes of a list with the rules of a Windows list box: a plain click
// selects one row, Ctrl toggles a row, Shift selects the range from the anchor (Ctrl+Shift adds
// it to what is selected). Without multiple selection every rule selects one row.
class CListSelection {
public:
    void Click(int nIndex, bool bCtrl, bool bShift, bool bMulti);
    void SelectOnly(int nIndex);
    void Add(int nIndex);
    bool Remove(int nIndex);
    void Clear();
    void SelectRange(int nFrom, int nTo, bool bKeepOthers);
    bool Contains(int nIndex) const { return m_selected.count(nIndex) != 0; }
    int Count() const { return static_cast<int>(m_selected.size()); }
    int First() const { return m_selected.empty() ? -1 : *m_selected.begin(); }
    int Anchor() const { return m_nAnchor; }
    void SetAnchor(int nIndex) { m_nAnchor = nIndex; }
    const std::set<int>& Items() const { return m_selected; }
    // A row was taken out at nIndex: later rows move up one.
    void RowRemoved(int nIndex);
    // A row was put in at nIndex: that row and later ones move down one.
    void RowInserted(int nIndex);

private:
    std::set<int> m_selected;
    int m_nAnchor = -1;
};

} // namespace Tarvo
