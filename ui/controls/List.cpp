#include "controls/List.h"

#include "controls/AttributeValue.h"
#include "controls/ListBody.h"
#include "controls/ListHeader.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

namespace {

bool Is(const wchar_t* pstrName, const wchar_t* pstr)
{
    return std::wcscmp(pstrName, pstr) == 0;
}

// Attributes of the list that belong to its body, where the rows scroll.
bool IsBodyAttribute(const wchar_t* pstrName)
{
    return Is(pstrName, L"vscrollbar") || Is(pstrName, L"hscrollbar") || Is(pstrName, L"vscrollbarstyle") ||
           Is(pstrName, L"hscrollbarstyle") || Is(pstrName, L"scrollstepsize") || Is(pstrName, L"childpadding");
}

} // namespace

CListUI::CListUI()
{
    m_pHeader = new CListHeaderUI;
    m_pBody = new CListBodyUI(this);
    InsertChild(m_pHeader, 0);
    InsertChild(m_pBody, 1);
}

const wchar_t* CListUI::TypeName() const
{
    return L"ListUI";
}

void* CListUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && Is(pstrName, L"List")) {
        return static_cast<CListUI*>(this);
    }
    if (pstrName != nullptr && Is(pstrName, L"IList")) {
        return static_cast<IListUI*>(this);
    }
    if (pstrName != nullptr && Is(pstrName, L"IListOwner")) {
        return static_cast<IListOwnerUI*>(this);
    }
    return CVerticalLayoutUI::LookupInterface(pstrName);
}

// The header takes the height it measures, the body the rest. The header goes first, so that
// rows placed into columns find them; a body whose sideways position had to change moves it again.
void CListUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
    const RECT rcClient = InsetRect();
    const SIZE szClient = {std::max<LONG>(rcClient.right - rcClient.left, 0),
                           std::max<LONG>(rcClient.bottom - rcClient.top, 0)};
    const int nHeader = m_pHeader->IsVisible() ? std::clamp<int>(m_pHeader->MeasureSize(szClient).cy, 0, szClient.cy) : 0;
    m_pBody->SetContentWidth(m_pHeader->IsVisible() ? m_pHeader->RequiredWidth() : 0);
    m_bPlacing = true;
    PlaceHeader(nHeader);
    m_bPlacing = false;
    const int cxScroll = m_pBody->ScrollPosition().cx;
    m_pBody->SetPosition(RECT{rcClient.left, rcClient.top + nHeader, rcClient.left + szClient.cx, rcClient.top + szClient.cy});
    if (m_pBody->ScrollPosition().cx != cxScroll) {
        PlaceHeader(nHeader);
    }
}

void CListUI::PlaceHeader()
{
    PlaceHeader(m_pHeader->Height());
    Repaint();
}

// The header lies over the body's columns: as wide as they are, and moved sideways with them.
void CListUI::PlaceHeader(int nHeight)
{
    const RECT rcClient = InsetRect();
    const int x = rcClient.left - m_pBody->ScrollPosition().cx;
    const int cx = std::max<int>(rcClient.right - rcClient.left, m_pBody->ContentWidth());
    m_pHeader->SetPosition(RECT{x, rcClient.top, x + std::max(cx, 0), rcClient.top + nHeight});
    UpdateColumns();
}

// Text rows paint into the columns; container rows are placed into them, so a change of the
// columns (a dragged separator, a sideways scroll) places the rows again. A header that now
// needs another width (a dragged separator) changes the body's range: the whole list goes again.
void CListUI::UpdateColumns()
{
    if (!m_bPlacing && m_pHeader->IsVisible() && m_pHeader->RequiredWidth() != m_pBody->ContentWidth()) {
        SetPosition(m_rcItem);
        return;
    }
    ListItemLook::Columns columns{};
    int nColumns = 0;
    if (m_pHeader->IsVisible()) {
        for (int i = 0; i < m_pHeader->ItemCount() && nColumns < ListItemLook::MaxColumns; ++i) {
            CControlUI* pItem = m_pHeader->ItemAt(i);
            if (pItem->IsVisible() && !pItem->IsFloating()) {
                columns[nColumns++] = pItem->Position();
            }
        }
    }
    const bool bChanged = nColumns != m_look.columnCount ||
                          !std::equal(columns.begin(), columns.begin() + nColumns, m_look.columns.begin(),
                                      [](const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; });
    m_look.columns = columns;
    m_look.columnCount = nColumns;
    if (bChanged && !m_bPlacing) {
        m_pBody->SetPosition(m_pBody->Position());
    }
    m_pBody->Repaint();
}

// ---- rows ------------------------------------------------------------------------------------

CControlUI* CListUI::ItemAt(int nIndex) const
{
    return m_pBody->ItemAt(nIndex);
}

int CListUI::IndexOf(CControlUI* pControl) const
{
    return m_pBody->IndexOf(pControl);
}

int CListUI::ItemCount() const
{
    return m_pBody->ItemCount();
}

IListItemUI* CListUI::RowAt(int nIndex) const
{
    CControlUI* pControl = ItemAt(nIndex);
    return pControl != nullptr ? static_cast<IListItemUI*>(pControl->LookupInterface(L"ListItem")) : nullptr;
}

bool CListUI::IsSelectable(int nIndex) const
{
    CControlUI* pControl = ItemAt(nIndex);
    return RowAt(nIndex) != nullptr && pControl->IsVisible() && pControl->IsEnabled();
}

void CListUI::RenumberFrom(int nIndex)
{
    for (int i = std::max(nIndex, 0); i < ItemCount(); ++i) {
        if (IListItemUI* pRow = RowAt(i)) {
            pRow->SetIndex(i);
        }
    }
}

bool CListUI::AddItem(CControlUI* pControl)
{
    return InsertItem(pControl, ItemCount());
}

bool CListUI::InsertItem(CControlUI* pControl, int nIndex)
{
    if (pControl == nullptr) {
        return false;
    }
    if (auto* pHeader = static_cast<CListHeaderUI*>(pControl->LookupInterface(L"ListHeader"))) {
        ReplaceHeader(pHeader);
        return true;
    }
    if (pControl->LookupInterface(L"ListHeaderItem") != nullptr) {
        return m_pHeader->AddItem(pControl);
    }
    if (!m_pBody->InsertItem(pControl, nIndex)) {
        return false;
    }
    m_selection.RowInserted(nIndex);
    if (m_iCurSel >= nIndex) {
        ++m_iCurSel;
    }
    RenumberFrom(nIndex);
    IListItemUI* pRow = RowAt(nIndex);
    if (pRow == nullptr) {
        return true;
    }
    pRow->SetOwner(this);
    // A row that arrives selected ("selected" before it had an owner) becomes the selection.
    if (pRow->IsSelected()) {
        pRow->SetSelectedLook(false);
        if (m_bMultiSelect) {
            SelectMultiItem(nIndex);
        } else {
            SelectItem(nIndex);
        }
    }
    return true;
}

void CListUI::ReplaceHeader(CListHeaderUI* pHeader)
{
    if (pHeader == m_pHeader) {
        return;
    }
    const int nOld = m_items.Find(m_pHeader);
    if (nOld >= 0) {
        m_items.Remove(nOld);
        DestroyChild(m_pHeader);
    }
    m_pHeader = pHeader;
    InsertChild(m_pHeader, 0);
}

void CListUI::NoteRowRemoved(int nIndex, CControlUI* pControl)
{
    if (auto* pRow = static_cast<IListItemUI*>(pControl->LookupInterface(L"ListItem"))) {
        pRow->SetOwner(nullptr);
    }
    m_selection.RowRemoved(nIndex);
    if (m_iCurSel == nIndex) {
        m_iCurSel = -1;
    } else if (m_iCurSel > nIndex) {
        --m_iCurSel;
    }
}

bool CListUI::RemoveItem(CControlUI* pControl)
{
    const int nIndex = IndexOf(pControl);
    if (nIndex < 0) {
        return false;
    }
    NoteRowRemoved(nIndex, pControl);
    m_pBody->RemoveItem(pControl);
    RenumberFrom(nIndex);
    return true;
}

bool CListUI::RemoveItemAt(int nIndex)
{
    CControlUI* pControl = ItemAt(nIndex);
    return pControl != nullptr && RemoveItem(pControl);
}

void CListUI::RemoveAllItems()
{
    for (int i = 0; i < ItemCount(); ++i) {
        if (IListItemUI* pRow = RowAt(i)) {
            pRow->SetOwner(nullptr);
        }
    }
    m_selection.Clear();
    m_iCurSel = -1;
    m_pBody->RemoveAllItems();
}

bool CListUI::MoveItem(CControlUI* pControl, int nNewIndex)
{
    const int nOld = IndexOf(pControl);
    if (nOld < 0 || nNewIndex < 0 || nNewIndex >= ItemCount()) {
        return false;
    }
    // The selection follows rows by index, so it is dropped rather than shuffled.
    const std::set<int> before = m_selection.Items();
    m_selection.Clear();
    m_iCurSel = -1;
    ShowSelectionChange(before);
    if (!m_pBody->MoveItem(pControl, nNewIndex)) {
        return false;
    }
    RenumberFrom(std::min(nOld, nNewIndex));
    return true;
}

// ---- scrolling --------------------------------------------------------------------------------

int CListUI::FindSelectable(int nStart, bool bForward) const
{
    return m_pBody->FindSelectable(nStart, bForward);
}

SIZE CListUI::ScrollPosition() const
{
    return m_pBody->ScrollPosition();
}

SIZE CListUI::ScrollRange() const
{
    return m_pBody->ScrollRange();
}

void CListUI::SetScrollPosition(SIZE szPos)
{
    m_pBody->SetScrollPosition(szPos);
}

void CListUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    m_pBody->EnableScrollBar(bEnableVertical, bEnableHorizontal);
}

CScrollBarUI* CListUI::VerticalScrollBar() const
{
    return m_pBody->VerticalScrollBar();
}

CScrollBarUI* CListUI::HorizontalScrollBar() const
{
    return m_pBody->HorizontalScrollBar();
}

void CListUI::EnsureVisible(int nIndex)
{
    if (CControlUI* pControl = ItemAt(nIndex)) {
        ScrollRowIntoView(*m_pBody, *pControl);
    }
}

int CListUI::PageRowCount() const
{
    const CControlUI* pRow = ItemAt(m_iCurSel >= 0 ? m_iCurSel : 0);
    const int nRowHeight = pRow != nullptr ? pRow->Height() : 0;
    const RECT rcClient = m_pBody->ClientRect();
    return nRowHeight > 0 ? std::max(1, static_cast<int>((rcClient.bottom - rcClient.top) / nRowHeight)) : 1;
}

// ---- selection --------------------------------------------------------------------------------

ListItemLook* CListUI::ItemLook()
{
    return &m_look;
}

int CListUI::CurSel() const
{
    return m_iCurSel;
}

CListHeaderUI* CListUI::Header() const
{
    return m_pHeader;
}

CContainerUI* CListUI::Body() const
{
    return m_pBody;
}

bool CListUI::IsMultiSelect() const
{
    return m_bMultiSelect;
}

void CListUI::SetMultiSelect(bool bMulti)
{
    m_bMultiSelect = bMulti;
    if (!bMulti && m_selection.Count() > 1) {
        SelectItem(m_iCurSel);
    }
}

int CListUI::SelectedCount() const
{
    return m_selection.Count();
}

bool CListUI::IsItemSelected(int nIndex) const
{
    return m_selection.Contains(nIndex);
}

void CListUI::ShowSelectionChange(const std::set<int>& before)
{
    for (int i : before) {
        if (!m_selection.Contains(i)) {
            if (IListItemUI* pRow = RowAt(i)) {
                pRow->SetSelectedLook(false);
            }
        }
    }
    for (int i : m_selection.Items()) {
        if (before.count(i) == 0) {
            if (IListItemUI* pRow = RowAt(i)) {
                pRow->SetSelectedLook(true);
            }
        }
    }
}

// The current row becomes nCurrent, shows, may take the focus and "itemselect" tells the old and
// new current rows. The notification comes last: its handler may remove rows.
void CListUI::FinishSelection(int nCurrent, bool bTakeFocus)
{
    const int nOld = m_iCurSel;
    m_iCurSel = nCurrent;
    if (CControlUI* pControl = ItemAt(nCurrent)) {
        if (bTakeFocus) {
            pControl->RequestFocus();
        }
        EnsureVisible(nCurrent);
    }
    SendNotification(L"itemselect", static_cast<WPARAM>(nCurrent), static_cast<LPARAM>(nOld));
}

bool CListUI::SelectItem(int nIndex, bool bTakeFocus)
{
    if (nIndex < 0) {
        UnSelectAllItems();
        return true;
    }
    if (!IsSelectable(nIndex)) {
        return false;
    }
    if (nIndex == m_iCurSel && m_selection.Count() == 1 && m_selection.Contains(nIndex)) {
        if (bTakeFocus) {
            ItemAt(nIndex)->RequestFocus();
        }
        return true;
    }
    const std::set<int> before = m_selection.Items();
    m_selection.SelectOnly(nIndex);
    ShowSelectionChange(before);
    FinishSelection(nIndex, bTakeFocus);
    return true;
}

bool CListUI::SelectMultiItem(int nIndex, bool bTakeFocus)
{
    if (!m_bMultiSelect) {
        return SelectItem(nIndex, bTakeFocus);
    }
    if (!IsSelectable(nIndex)) {
        return false;
    }
    const std::set<int> before = m_selection.Items();
    m_selection.Add(nIndex);
    ShowSelectionChange(before);
    FinishSelection(nIndex, bTakeFocus);
    return true;
}

bool CListUI::UnSelectItem(int nIndex)
{
    if (!m_selection.Contains(nIndex)) {
        return false;
    }
    const std::set<int> before = m_selection.Items();
    m_selection.Remove(nIndex);
    ShowSelectionChange(before);
    if (m_iCurSel == nIndex) {
        m_iCurSel = m_selection.First();
    }
    return true;
}

void CListUI::SelectAllItems()
{
    if (!m_bMultiSelect) {
        return;
    }
    const std::set<int> before = m_selection.Items();
    for (int i = 0; i < ItemCount(); ++i) {
        if (IsSelectable(i)) {
            m_selection.Add(i);
        }
    }
    ShowSelectionChange(before);
    if (m_iCurSel < 0) {
        m_iCurSel = m_selection.First();
    }
}

void CListUI::UnSelectAllItems()
{
    const std::set<int> before = m_selection.Items();
    m_selection.Clear();
    ShowSelectionChange(before);
    m_iCurSel = -1;
}

bool CListUI::ClickItem(int nIndex, WORD keyState, bool bRightButton)
{
    if (!IsSelectable(nIndex)) {
        return false;
    }
    if (bRightButton) {
        if (!m_selection.Contains(nIndex)) {
            SelectItem(nIndex);
        }
        SendNotification(L"itemrselect", static_cast<WPARAM>(nIndex));
        return true;
    }
    if (!m_bMultiSelect) {
        return SelectItem(nIndex);
    }
    const std::set<int> before = m_selection.Items();
    m_selection.Click(nIndex, (keyState & KeyStateControl) != 0, (keyState & KeyStateShift) != 0, true);
    ShowSelectionChange(before);
    FinishSelection(nIndex, false);
    return true;
}

// ---- keys and wheel ----------------------------------------------------------------------------

int CListUI::TargetForKey(WPARAM vk) const
{
    return FindRowForKey(*m_pBody, m_iCurSel, vk, PageRowCount());
}

bool CListUI::MoveSelectionByKey(WPARAM vk, WORD keyState)
{
    const int nTarget = TargetForKey(vk);
    if (nTarget == -2) {
        return false;
    }
    if (nTarget < 0) {
        return true;
    }
    if (m_bMultiSelect && (keyState & KeyStateShift) != 0) {
        const std::set<int> before = m_selection.Items();
        const int nAnchor = m_selection.Anchor() >= 0 ? m_selection.Anchor() : nTarget;
        m_selection.SelectRange(nAnchor, nTarget, false);
        ShowSelectionChange(before);
        FinishSelection(nTarget, true);
        return true;
    }
    SelectItem(nTarget, true);
    return true;
}

void CListUI::HandleItemEvent(ControlEvent& event)
{
    if (event.type == EventKeyDown) {
        if (!MoveSelectionByKey(event.wParam, event.keyState)) {
            CVerticalLayoutUI::HandleEvent(event);
        }
        return;
    }
    if (event.type == EventScrollWheel) {
        const bool bDown = LOWORD(event.wParam) == 1;
        if (m_bScrollSelect) {
            MoveSelectionByKey(bDown ? VK_DOWN : VK_UP, 0);
        } else if (bDown) {
            m_pBody->ScrollLineDown();
        } else {
            m_pBody->ScrollLineUp();
        }
        return;
    }
    CVerticalLayoutUI::HandleEvent(event);
}

void CListUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        CVerticalLayoutUI::HandleEvent(event);
        return;
    }
    if (event.type == EventKeyDown || event.type == EventScrollWheel) {
        HandleItemEvent(event);
        return;
    }
    CVerticalLayoutUI::HandleEvent(event);
}

// ---- attributes ---------------------------------------------------------------------------------

void CListUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    if (pstrValue == nullptr) {
        pstrValue = L"";
    }
    if (ApplyListItemAttribute(m_look, pstrName, pstrValue)) {
        m_pBody->Repaint();
    } else if (IsBodyAttribute(pstrName)) {
        m_pBody->ApplyAttribute(pstrName, pstrValue);
    } else if (Is(pstrName, L"header")) {
        m_pHeader->SetVisible(!Is(pstrValue, L"hidden"));
    } else if (Is(pstrName, L"headerbkimage")) {
        m_pHeader->ApplyAttribute(L"bkimage", pstrValue);
    } else if (Is(pstrName, L"scrollselect")) {
        m_bScrollSelect = ParseAttributeBool(pstrValue);
    } else if (Is(pstrName, L"multiexpanding")) {
        m_bMultiExpanding = ParseAttributeBool(pstrValue);
    } else if (Is(pstrName, L"multiselect")) {
        SetMultiSelect(ParseAttributeBool(pstrValue));
    } else {
        CVerticalLayoutUI::ApplyAttribute(pstrName, pstrValue);
    }
}

} // namespace Tarvo
