#include "controls/HorizontalLayout.h"

#include "controls/AttributeValue.h"
#include "controls/ScrollBar.h"

#include <cwchar>

namespace Tarvo {

CHorizontalLayoutUI::CHorizontalLayoutUI() : CLinearLayoutUI(false) {}

const wchar_t* CHorizontalLayoutUI::TypeName() const
{
    return L"HorizontalLayoutUI";
}

void* CHorizontalLayoutUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"HorizontalLayout") == 0) {
        return this;
    }
    return CContainerUI::LookupInterface(pstrName);
}

void CHorizontalLayoutUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"sepwidth") == 0) {
        SetSeparatorSize(ParseAttributeInt(pstrValue));
        return;
    }
    CLinearLayoutUI::ApplyAttribute(pstrName, pstrValue);
}

RECT CHorizontalLayoutUI::SeparatorBand(const RECT& rc) const
{
    const int s = m_iSeparatorSize;
    if (s > 0) {
        return RECT{rc.right - s, rc.top, rc.right, rc.bottom};
    }
    if (s < 0) {
        return RECT{rc.left, rc.top, rc.left - s, rc.bottom};
    }
    return RECT{0, 0, 0, 0};
}

void CHorizontalLayoutUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
    if (m_items.IsEmpty()) {
        UpdateScrollBars(InsetRect(), 0, 0);
        return;
    }
    RECT rcClient = ClientRect();
    SIZE szAvailable = {rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};
    if (IsBarVisible(m_pVerticalScrollBar)) {
        szAvailable.cy += m_pVerticalScrollBar->ScrollRange();
    }
    const int x = rcClient.left - ScrollPosition().cx;
    const int nNeeded = PlaceLine(szAvailable, x, rcClient.top, rcClient.bottom - rcClient.top);
    UpdateHorizontalBar(rcClient, nNeeded);
    UpdateScrollBars(rcClient, nNeeded, 0);
}

} // namespace Tarvo
