#include "controls/TabLayout.h"

#include "controls/AttributeValue.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

CTabLayoutUI::CTabLayoutUI() = default;

const wchar_t* CTabLayoutUI::TypeName() const
{
    return L"TabLayoutUI";
}

void* CTabLayoutUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"TabLayout") == 0) {
        return this;
    }
    return CContainerUI::LookupInterface(pstrName);
}

bool CTabLayoutUI::AddItem(CControlUI* pControl)
{
    if (!InsertChild(pControl, m_items.GetSize())) {
        return false;
    }
    if (m_iCurrentIndex == -1 && pControl->IsVisible()) {
        m_iCurrentIndex = IndexOf(pControl);
    } else {
        pControl->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::InsertItem(CControlUI* pControl, int nIndex)
{
    if (!InsertChild(pControl, nIndex)) {
        return false;
    }
    if (m_iCurrentIndex == -1 && pControl->IsVisible()) {
        m_iCurrentIndex = IndexOf(pControl);
    } else if (m_iCurrentIndex == -1 || m_iCurrentIndex < nIndex) {
        pControl->SetVisible(false);
    } else {
        ++m_iCurrentIndex;
    }
    return true;
}

bool CTabLayoutUI::RemoveItem(CControlUI* pControl)
{
    const int nIndex = IndexOf(pControl);
    if (!CContainerUI::RemoveItem(pControl)) {
        return false;
    }
    if (nIndex == m_iCurrentIndex) {
        if (m_items.GetSize() > 0) {
            m_iCurrentIndex = 0;
            ItemAt(0)->SetVisible(true);
        } else {
            m_iCurrentIndex = -1;
        }
        MarkParentForLayout();
    } else if (nIndex < m_iCurrentIndex) {
        --m_iCurrentIndex;
    }
    return true;
}

void CTabLayoutUI::RemoveAllItems()
{
    m_iCurrentIndex = -1;
    CContainerUI::RemoveAllItems();
    MarkParentForLayout();
}

bool CTabLayoutUI::SelectItemControl(CControlUI* pControl)
{
    const int nIndex = IndexOf(pControl);
    return nIndex >= 0 && SelectItem(nIndex);
}

bool CTabLayoutUI::SelectItem(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_items.GetSize()) {
        return false;
    }
    if (nIndex == m_iCurrentIndex) {
        return true;
    }
    const int nOld = m_iCurrentIndex;
    m_iCurrentIndex = nIndex;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pPage = ItemAt(i);
        if (i == nIndex) {
            pPage->SetVisible(true);
            pPage->RequestFocus();
            SetPosition(m_rcItem);
        } else {
            pPage->SetVisible(false);
        }
    }
    MarkParentForLayout();
    if (m_pManager != nullptr) {
        m_pManager->MoveFocus(true);
        m_pManager->SendNotification(this, L"tabselect", static_cast<WPARAM>(nIndex), static_cast<LPARAM>(nOld));
    }
    return true;
}

void CTabLayoutUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"selectedid") == 0) {
        SelectItem(ParseAttributeInt(pstrValue));
    }
    CContainerUI::ApplyAttribute(pstrName, pstrValue);
}

void CTabLayoutUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
    const RECT rcClient = InsetRect();
    PlaceChildren([&](int i, CControlUI* pChild) {
        if (i == m_iCurrentIndex) {
            PlaceCurrentPage(rcClient, pChild);
        }
    });
}

void CTabLayoutUI::PlaceCurrentPage(const RECT& rcClient, CControlUI* pPage)
{
    const RECT rcPadding = pPage->Padding();
    RECT rcArea = rcClient;
    rcArea.left += rcPadding.left;
    rcArea.top += rcPadding.top;
    rcArea.right -= rcPadding.right;
    rcArea.bottom -= rcPadding.bottom;
    const SIZE szArea = {rcArea.right - rcArea.left, rcArea.bottom - rcArea.top};
    SIZE sz = pPage->MeasureSize(szArea);
    if (sz.cx == 0) {
        sz.cx = std::max<LONG>(szArea.cx, 0);
    }
    sz.cx = std::min<LONG>(std::max<LONG>(sz.cx, pPage->MinWidth()), pPage->MaxWidth());
    if (sz.cy == 0) {
        sz.cy = std::max<LONG>(szArea.cy, 0);
    }
    sz.cy = std::min<LONG>(std::max<LONG>(sz.cy, pPage->MinHeight()), pPage->MaxHeight());
    pPage->SetPosition(RECT{rcArea.left, rcArea.top, rcArea.left + sz.cx, rcArea.top + sz.cy});
}

} // namespace Tarvo
