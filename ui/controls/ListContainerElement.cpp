#include "controls/ListContainerElement.h"

#include "controls/ListItemLook.h"

#include <cwchar>

namespace Tarvo {

const wchar_t* CListContainerElementUI::TypeName() const
{
    return L"ListContainerElementUI";
}

void* CListContainerElementUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListContainerElement") == 0) {
        return this;
    }
    return CListRowOf::LookupInterface(pstrName);
}

void CListContainerElementUI::SetPosition(RECT rc)
{
    const ListItemLook& look = m_row.Look();
    if (look.columnCount == 0) {
        CListRowOf::SetPosition(rc);
        return;
    }
    CControlUI::SetPosition(rc);
    const RECT rcInner = InsetRect();
    int nColumn = 0;
    PlaceChildren([&](int, CControlUI* pChild) {
        RECT rcCell = {rcInner.right, rcInner.top, rcInner.right, rcInner.bottom};
        if (nColumn < look.columnCount) {
            rcCell.left = look.columns[nColumn].left;
            rcCell.right = look.columns[nColumn].right;
        }
        ++nColumn;
        pChild->SetPosition(rcCell);
    });
}

} // namespace Tarvo
