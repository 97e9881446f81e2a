#pragma once

#include "controls/VerticalLayout.h"

namespace Tarvo {

class CListUI;

// The rows of a list, stacked and scrolled under its header. The rows are as wide as the
// header's columns need; when that is wider than the body, its horizontal bar (if it has one)
// scrolls the rows sideways and the list moves the header with them.
class CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* pList = nullptr) : m_pList(pList) {}

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetPosition(RECT rc) override;
    void SetScrollPosition(SIZE szPos) override;

    int ContentWidth() const { return m_cxContent; }
    void SetContentWidth(int cxContent) { m_cxContent = cxContent; }

private:
    CListUI* m_pList;
    int m_cxContent = 0;
};

} // namespace Tarvo
