#pragma once

#include "controls/ListInterfaces.h"
#include "controls/ListItemLook.h"
#include "controls/ListSelection.h"
#include "controls/VerticalLayout.h"

#include <set>

namespace Tarvo {

class CListBodyUI;
class CListHeaderUI;

// A list: an optional header over a scrolled body of rows. Its IContainerUI face is the rows;
// a "ListHeader" child replaces the header and "ListHeaderItem" children go into it. The list
// keeps the selection, moves it with the keyboard and keeps the selected row in view.
class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetPosition(RECT rc) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    // IContainerUI: the rows.
    CControlUI* ItemAt(int nIndex) const override;
    int IndexOf(CControlUI* pControl) const override;
    bool MoveItem(CControlUI* pControl, int nNewIndex) override;
    int ItemCount() const override;
    bool AddItem(CControlUI* pControl) override;
    bool InsertItem(CControlUI* pControl, int nIndex) override;
    bool RemoveItem(CControlUI* pControl) override;
    bool RemoveItemAt(int nIndex) override;
    void RemoveAllItems() override;

    // Scrolling is the body's.
    int FindSelectable(int nStart, bool bForward = true) const override;
    SIZE ScrollPosition() const override;
    SIZE ScrollRange() const override;
    void SetScrollPosition(SIZE szPos) override;
    void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false) override;
    CScrollBarUI* VerticalScrollBar() const override;
    CScrollBarUI* HorizontalScrollBar() const override;

    // IListOwnerUI
    ListItemLook* ItemLook() override;
    int CurSel() const override;
    bool SelectItem(int nIndex, bool bTakeFocus = false) override;
    void HandleItemEvent(ControlEvent& event) override;
    bool ClickItem(int nIndex, WORD keyState, bool bRightButton) override;

    // IListUI
    CListHeaderUI* Header() const override;
    CContainerUI* Body() const override;
    bool IsMultiSelect() const override;
    void SetMultiSelect(bool bMulti) override;
    bool SelectMultiItem(int nIndex, bool bTakeFocus = false) override;
    bool UnSelectItem(int nIndex) override;
    void SelectAllItems() override;
    void UnSelectAllItems() override;
    int SelectedCount() const override;
    bool IsItemSelected(int nIndex) const override;
    void EnsureVisible(int nIndex) override;
    void UpdateColumns() override;

    bool IsScrollSelect() const { return m_bScrollSelect; }
    bool IsMultiExpanding() const { return m_bMultiExpanding; }
    // Puts the header back over the body's columns after the body scrolled sideways.
    void PlaceHeader();
    // Rows a page key moves over: those of the current row's height that fit the body.
    int PageRowCount() const;

protected:
    IListItemUI* RowAt(int nIndex) const;
    bool IsSelectable(int nIndex) const;
    // Brings the rows' looks in line with the selection after it changed from before.
    void ShowSelectionChange(const std::set<int>& before);
    void FinishSelection(int nCurrent, bool bTakeFocus);
    bool MoveSelectionByKey(WPARAM vk, WORD keyState);
    int TargetForKey(WPARAM vk) const;
    void ReplaceHeader(CListHeaderUI* pHeader);
    void PlaceHeader(int nHeight);
    void RenumberFrom(int nIndex);
    void NoteRowRemoved(int nIndex, CControlUI* pControl);

    CListHeaderUI* m_pHeader = nullptr;
    CListBodyUI* m_pBody = nullptr;
    ListItemLook m_look;
    CListSelection m_selection;
    int m_iCurSel = -1;
    bool m_bMultiSelect = false;
    bool m_bScrollSelect = false;
    bool m_bMultiExpanding = false;
    // Inside SetPosition: the body is placed after the header anyway.
    bool m_bPlacing = false;
};

} // namespace Tarvo
