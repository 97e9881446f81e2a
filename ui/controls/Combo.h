#pragma once

#include "controls/Container.h"
#include "controls/ListInterfaces.h"
#include "controls/ListItemLook.h"
#include "controls/StateImages.h"

namespace Tarvo {

class CComboWnd;

// A drop-down list: the face shows the selected item's text over its state images; a click
// opens the items in a popup window (CComboWnd) below it. Items are list elements owned by the
// combo; while the drop box is open they live in its layout. The keyboard moves the selection
// while it is closed too.
class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    CComboUI();
    ~CComboUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    UINT InputFlags() override;
    bool Invoke() override;
    CUIString Text() const override;
    void SetPosition(RECT rc) override;
    void SetEnabled(bool bEnabled = true) override;
    CControlUI* SearchTree(FindControlProc proc, void* pData, UINT uFlags) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void Paint(HDC hDC, const RECT& rcPaint) override;
    void PaintStateImages(HDC hDC) override;
    void PaintTextContent(HDC hDC) override;

    // IContainerUI: list elements get this combo as their owner and their index.
    bool AddItem(CControlUI* pControl) override;
    bool InsertItem(CControlUI* pControl, int nIndex) override;
    bool RemoveItem(CControlUI* pControl) override;
    bool RemoveItemAt(int nIndex) override;
    void RemoveAllItems() override;

    // IListOwnerUI
    ListItemLook* ItemLook() override;
    int CurSel() const override;
    bool SelectItem(int nIndex, bool bTakeFocus = false) override;
    void HandleItemEvent(ControlEvent& event) override;
    bool ClickItem(int nIndex, WORD keyState, bool bRightButton) override;

    // Opens the drop box ("dropdown"); false when disabled, open already or the window failed.
    bool OpenDropBox();
    // Asks the open drop box to close (it closes on its next message).
    void CloseDropBox();
    bool IsDropped() const { return m_pWindow != nullptr; }
    CComboWnd* DropWindow() const { return m_pWindow; }
    // Up, Down, Home, End, Page Up and Page Down move the selection; false for other keys.
    bool SelectByKey(WPARAM vk);
    SIZE DropBoxSize() const { return m_szDropBox; }
    CUIString DropBoxAttributes() const { return m_strDropBoxAttributes; }
    RECT TextPadding() const { return m_rcTextPadding; }
    const StateImages& Images() const { return m_images; }

    // The drop box window is closing: its items come back to this combo.
    void TakeBackItems(CContainerUI& box, CWindowManagerUI& boxManager);

protected:
    IListItemUI* RowAt(int nIndex) const;
    void Renumber();
    RECT FaceTextRect() const;

    ListItemLook m_look;
    StateImages m_images;
    RECT m_rcTextPadding = {4, 0, 4, 0};
    SIZE m_szDropBox = {0, 150};
    CUIString m_strDropBoxAttributes;
    int m_iCurSel = -1;
    bool m_bHot = false;
    bool m_bPushed = false;
    CComboWnd* m_pWindow = nullptr;
};

} // namespace Tarvo
