#include "controls/ListBody.h"

#include "controls/List.h"

#include <cwchar>

namespace Tarvo {

const wchar_t* CListBodyUI::TypeName() const
{
    return L"ListBodyUI";
}

void* CListBodyUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListBody") == 0) {
        return this;
    }
    return CVerticalLayoutUI::LookupInterface(pstrName);
}

// The horizontal range is settled before the rows are stacked: the stacking gives every row
// the client width plus that range.
void CListBodyUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
    RECT rcClient = ClientRect();
    UpdateHorizontalBar(rcClient, m_cxContent);
    CVerticalLayoutUI::SetPosition(rc);
}

void CListBodyUI::SetScrollPosition(SIZE szPos)
{
    const int cxBefore = ScrollPosition().cx;
    CVerticalLayoutUI::SetScrollPosition(szPos);
    if (m_pList != nullptr && ScrollPosition().cx != cxBefore) {
        m_pList->PlaceHeader();
    }
}

} // namespace Tarvo
