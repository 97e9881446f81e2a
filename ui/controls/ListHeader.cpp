#include "controls/ListHeader.h"

#include "controls/AttributeValue.h"
#include "controls/ListHeaderItem.h"
#include "controls/ListInterfaces.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

namespace {

// Used when neither the header nor any of its items declares a height.
constexpr int DefaultHeaderHeight = 24;

} // namespace

const wchar_t* CListHeaderUI::TypeName() const
{
    return L"ListHeaderUI";
}

void* CListHeaderUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListHeader") == 0) {
        return this;
    }
    return CHorizontalLayoutUI::LookupInterface(pstrName);
}

void CListHeaderUI::SetScaleHeader(bool bScale)
{
    m_bScaleHeader = bScale;
    MarkForLayout();
}

void CListHeaderUI::ApplyScales(int nWidth)
{
    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* pItem = static_cast<CListHeaderItemUI*>(ChildAt(i)->LookupInterface(L"ListHeaderItem"));
        if (pItem != nullptr && pItem->Scale() > 0) {
            pItem->SetDeclaredWidth(nWidth * pItem->Scale() / 100);
        }
    }
}

void CListHeaderUI::SetPosition(RECT rc)
{
    if (m_bScaleHeader) {
        ApplyScales(rc.right - rc.left);
    }
    CHorizontalLayoutUI::SetPosition(rc);
    auto* pList = m_pParent != nullptr ? static_cast<IListUI*>(m_pParent->LookupInterface(L"IList")) : nullptr;
    if (pList != nullptr) {
        pList->UpdateColumns();
    }
}

void CListHeaderUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"scaleheader") == 0) {
        SetScaleHeader(ParseAttributeBool(pstrValue != nullptr ? pstrValue : L""));
        return;
    }
    CHorizontalLayoutUI::ApplyAttribute(pstrName, pstrValue);
}

int CListHeaderUI::RequiredWidth() const
{
    int nWidth = m_rcInset.left + m_rcInset.right;
    int nPlaced = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        const CControlUI* pItem = ChildAt(i);
        if (!pItem->IsVisible() || pItem->IsFloating()) {
            continue;
        }
        const RECT rcPad = pItem->Padding();
        nWidth += std::max(pItem->DeclaredWidth(), pItem->MinWidth()) + rcPad.left + rcPad.right;
        ++nPlaced;
    }
    return nWidth + m_iChildPadding * std::max(nPlaced - 1, 0);
}

// A header without items takes no room; one with items is as high as its tallest item.
SIZE CListHeaderUI::MeasureSize(SIZE szAvailable)
{
    SIZE sz = CHorizontalLayoutUI::MeasureSize(szAvailable);
    if (sz.cy != 0 || m_items.GetSize() == 0) {
        return sz;
    }
    for (int i = 0; i < m_items.GetSize(); ++i) {
        sz.cy = std::max<LONG>(sz.cy, ChildAt(i)->DeclaredHeight());
    }
    if (sz.cy == 0) {
        sz.cy = DefaultHeaderHeight;
    }
    return sz;
}

} // namespace Tarvo
