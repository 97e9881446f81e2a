#pragma once

#include <windows.h>

#include "core/ControlEvent.h"

namespace Tarvo {

class CContainerUI;
class CControlUI;
class CListHeaderUI;
struct ListItemLook;

// What a row needs of the control that shows it: a list, a tree view or a combo. Slot order
// matters, so the interfaces have no virtual destructors.
class IListOwnerUI {
public:
    virtual ListItemLook* ItemLook() = 0;                               // 0
    virtual int CurSel() const = 0;                                     // 1
    virtual bool SelectItem(int nIndex, bool bTakeFocus = false) = 0;   // 2
    // A row's keys and wheel turns, acted on by the owner.
    virtual void HandleItemEvent(ControlEvent& event) = 0;              // 3
    // A row was pressed with the given key state (Ctrl and Shift matter to a multiple selection).
    virtual bool ClickItem(int nIndex, WORD keyState, bool bRightButton) = 0; // 4

protected:
    ~IListOwnerUI() = default;
};

class IListUI : public IListOwnerUI {
public:
    virtual CListHeaderUI* Header() const = 0;                        // 5
    virtual CContainerUI* Body() const = 0;                           // 6
    virtual bool IsMultiSelect() const = 0;                           // 7
    virtual void SetMultiSelect(bool bMulti) = 0;                     // 8
    virtual bool SelectMultiItem(int nIndex, bool bTakeFocus = false) = 0; // 9
    virtual bool UnSelectItem(int nIndex) = 0;                        // 10
    virtual void SelectAllItems() = 0;                                // 11
    virtual void UnSelectAllItems() = 0;                              // 12
    virtual int SelectedCount() const = 0;                            // 13
    virtual bool IsItemSelected(int nIndex) const = 0;                // 14
    virtual void EnsureVisible(int nIndex) = 0;                       // 15
    // The header was placed: the rows take their column edges from its items.
    virtual void UpdateColumns() = 0;                                 // 16

protected:
    ~IListUI() = default;
};

class IListItemUI {
public:
    virtual int Index() const = 0;                      // 0
    virtual void SetIndex(int nIndex) = 0;              // 1
    virtual IListOwnerUI* Owner() const = 0;            // 2
    virtual void SetOwner(IListOwnerUI* pOwner) = 0;    // 3
    virtual bool IsSelected() const = 0;                // 4
    // The look only: the owner keeps the selection and calls this.
    virtual void SetSelectedLook(bool bSelected) = 0;   // 5
    virtual bool IsHot() const = 0;                     // 6

protected:
    ~IListItemUI() = default;
};

} // namespace Tarvo
