#include "controls/VerticalLayout.h"

#include "controls/AttributeValue.h"
#include "controls/ScrollBar.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

CVerticalLayoutUI::CVerticalLayoutUI() : CLinearLayoutUI(true) {}

const wchar_t* CVerticalLayoutUI::TypeName() const
{
    return L"VerticalLayoutUI";
}

void* CVerticalLayoutUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"VerticalLayout") == 0) {
        return this;
    }
    return CContainerUI::LookupInterface(pstrName);
}

void CVerticalLayoutUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"sepheight") == 0) {
        SetSeparatorSize(ParseAttributeInt(pstrValue));
        return;
    }
    CLinearLayoutUI::ApplyAttribute(pstrName, pstrValue);
}

RECT CVerticalLayoutUI::SeparatorBand(const RECT& rc) const
{
    const int s = m_iSeparatorSize;
    if (s > 0) {
        return RECT{rc.left, std::max<LONG>(rc.bottom - s, rc.top), rc.right, rc.bottom};
    }
    if (s < 0) {
        return RECT{rc.left, rc.top, rc.right, std::min<LONG>(rc.top - s, rc.bottom)};
    }
    return RECT{0, 0, 0, 0};
}

void CVerticalLayoutUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
    const RECT rcClient = ClientRect();
    if (m_items.IsEmpty()) {
        UpdateScrollBars(rcClient, 0, 0);
        return;
    }
    SIZE szAvailable = {rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};
    if (IsBarVisible(m_pHorizontalScrollBar)) {
        szAvailable.cx += m_pHorizontalScrollBar->ScrollRange();
    }
    const int y = rcClient.top - ScrollPosition().cy;
    const int x = rcClient.left - ScrollPosition().cx;
    const int nNeeded = PlaceLine(szAvailable, y, x, szAvailable.cx);
    UpdateScrollBars(rcClient, 0, nNeeded);
}

} // namespace Tarvo
