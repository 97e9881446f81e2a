#include "controls/Combo.h"

#include "controls/AttributeValue.h"
#include "controls/ComboWnd.h"
#include "core/WindowManager.h"

#include <cwchar>

namespace Tarvo {

namespace {

bool Is(const wchar_t* pstrName, const wchar_t* pstr)
{
    return std::wcscmp(pstrName, pstr) == 0;
}

} // namespace

CComboUI::CComboUI() = default;

CComboUI::~CComboUI()
{
    if (m_pWindow != nullptr) {
        m_pWindow->CloseNow();
    }
}

const wchar_t* CComboUI::TypeName() const
{
    return L"ComboUI";
}

void* CComboUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && Is(pstrName, L"Combo")) {
        return static_cast<CComboUI*>(this);
    }
    if (pstrName != nullptr && Is(pstrName, L"IListOwner")) {
        return static_cast<IListOwnerUI*>(this);
    }
    return CContainerUI::LookupInterface(pstrName);
}

UINT CComboUI::InputFlags()
{
    return IsKeyboardEnabled() ? static_cast<UINT>(InputTabStop) : 0U;
}

bool CComboUI::Invoke()
{
    return CControlUI::Invoke() && OpenDropBox();
}

CUIString CComboUI::Text() const
{
    const CControlUI* pItem = ItemAt(m_iCurSel);
    return pItem != nullptr ? pItem->Text() : m_strText;
}

// The items are not laid out in the face; the drop box places them.
void CComboUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
}

void CComboUI::SetEnabled(bool bEnabled)
{
    CContainerUI::SetEnabled(bEnabled);
    if (!bEnabled) {
        m_bPushed = false;
        m_bHot = false;
        CloseDropBox();
    }
}

// The face is one control to the mouse: the items are never hit in it.
CControlUI* CComboUI::SearchTree(FindControlProc proc, void* pData, UINT uFlags)
{
    return CControlUI::SearchTree(proc, pData, uFlags);
}

void CComboUI::Paint(HDC hDC, const RECT& rcPaint)
{
    CControlUI::Paint(hDC, rcPaint);
}

// ---- items ------------------------------------------------------------------------------------

IListItemUI* CComboUI::RowAt(int nIndex) const
{
    CControlUI* pControl = ItemAt(nIndex);
    return pControl != nullptr ? static_cast<IListItemUI*>(pControl->LookupInterface(L"ListItem")) : nullptr;
}

void CComboUI::Renumber()
{
    for (int i = 0; i < ItemCount(); ++i) {
        if (IListItemUI* pRow = RowAt(i)) {
            pRow->SetOwner(this);
            pRow->SetIndex(i);
        }
    }
}

bool CComboUI::AddItem(CControlUI* pControl)
{
    return InsertItem(pControl, ItemCount());
}

bool CComboUI::InsertItem(CControlUI* pControl, int nIndex)
{
    if (m_pWindow != nullptr || !CContainerUI::InsertItem(pControl, nIndex)) {
        return false;
    }
    if (m_iCurSel >= nIndex) {
        ++m_iCurSel;
    }
    Renumber();
    IListItemUI* pRow = RowAt(nIndex);
    if (pRow != nullptr && pRow->IsSelected()) {
        pRow->SetSelectedLook(false);
        SelectItem(nIndex);
    }
    return true;
}

bool CComboUI::RemoveItem(CControlUI* pControl)
{
    const int nIndex = IndexOf(pControl);
    if (nIndex < 0 || m_pWindow != nullptr) {
        return false;
    }
    if (auto* pRow = static_cast<IListItemUI*>(pControl->LookupInterface(L"ListItem"))) {
        pRow->SetOwner(nullptr);
    }
    if (m_iCurSel == nIndex) {
        m_iCurSel = -1;
    } else if (m_iCurSel > nIndex) {
        --m_iCurSel;
    }
    CContainerUI::RemoveItem(pControl);
    Renumber();
    Repaint();
    return true;
}

bool CComboUI::RemoveItemAt(int nIndex)
{
    CControlUI* pControl = ItemAt(nIndex);
    return pControl != nullptr && RemoveItem(pControl);
}

void CComboUI::RemoveAllItems()
{
    if (m_pWindow != nullptr) {
        return;
    }
    for (int i = 0; i < ItemCount(); ++i) {
        if (IListItemUI* pRow = RowAt(i)) {
            pRow->SetOwner(nullptr);
        }
    }
    m_iCurSel = -1;
    CContainerUI::RemoveAllItems();
    Repaint();
}

// ---- selection ----------------------------------------------------------------------------------

ListItemLook* CComboUI::ItemLook()
{
    return &m_look;
}

int CComboUI::CurSel() const
{
    return m_iCurSel;
}

bool CComboUI::SelectItem(int nIndex, bool bTakeFocus)
{
    if (nIndex == m_iCurSel) {
        return nIndex >= -1;
    }
    IListItemUI* pNew = nullptr;
    if (nIndex >= 0) {
        pNew = RowAt(nIndex);
        if (pNew == nullptr || !ItemAt(nIndex)->IsEnabled()) {
            return false;
        }
    } else if (nIndex != -1) {
        return false;
    }
    if (IListItemUI* pOld = RowAt(m_iCurSel)) {
        pOld->SetSelectedLook(false);
    }
    const int nOld = m_iCurSel;
    m_iCurSel = nIndex;
    if (pNew != nullptr) {
        pNew->SetSelectedLook(true);
        if (m_pWindow != nullptr && m_pWindow->Layout() != nullptr) {
            ScrollRowIntoView(*m_pWindow->Layout(), *ItemAt(nIndex));
            if (bTakeFocus) {
                ItemAt(nIndex)->RequestFocus();
            }
        }
    }
    Repaint();
    SendNotification(L"itemselect", static_cast<WPARAM>(nIndex), static_cast<LPARAM>(nOld));
    return true;
}

bool CComboUI::SelectByKey(WPARAM vk)
{
    const int nPage = m_pWindow != nullptr && m_iCurSel >= 0 && ItemAt(m_iCurSel)->Height() > 0
                          ? (m_szDropBox.cy / ItemAt(m_iCurSel)->Height())
                          : 1;
    const int nTarget = FindRowForKey(*this, m_iCurSel, vk, nPage);
    if (nTarget == -2) {
        return false;
    }
    if (nTarget >= 0) {
        SelectItem(nTarget, true);
    }
    return true;
}

bool CComboUI::ClickItem(int nIndex, WORD, bool bRightButton)
{
    if (bRightButton) {
        return false;
    }
    const bool bSelected = SelectItem(nIndex);
    CloseDropBox();
    return bSelected;
}

void CComboUI::HandleItemEvent(ControlEvent& event)
{
    if (event.type == EventKeyDown) {
        if (event.wParam == VK_ESCAPE || event.wParam == VK_RETURN) {
            CloseDropBox();
        } else {
            SelectByKey(event.wParam);
        }
        return;
    }
    if (event.type == EventScrollWheel && m_pWindow != nullptr && m_pWindow->Layout() != nullptr) {
        if (LOWORD(event.wParam) == 1) {
            m_pWindow->Layout()->ScrollLineDown();
        } else {
            m_pWindow->Layout()->ScrollLineUp();
        }
    }
}

// ---- the drop box --------------------------------------------------------------------------------

bool CComboUI::OpenDropBox()
{
    if (m_pWindow != nullptr || !IsEnabled() || m_pManager == nullptr || m_pManager->WindowHandle() == nullptr) {
        return false;
    }
    m_pWindow = CComboWnd::Open(this);
    if (m_pWindow == nullptr) {
        return false;
    }
    SendNotification(L"dropdown");
    Repaint();
    return true;
}

void CComboUI::CloseDropBox()
{
    if (m_pWindow != nullptr) {
        m_pWindow->Close();
    }
}

void CComboUI::TakeBackItems(CContainerUI& box, CWindowManagerUI& boxManager)
{
    const bool bAutoDestroy = box.IsAutoDestroy();
    box.SetAutoDestroy(false);
    box.RemoveAllItems();
    box.SetAutoDestroy(bAutoDestroy);
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pItem = ChildAt(i);
        boxManager.ForgetControl(pItem);
        pItem->AttachTo(m_pManager, this, false);
    }
    m_pWindow = nullptr;
    m_bPushed = false;
    Repaint();
}

// ---- input ----------------------------------------------------------------------------------------

void CComboUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        CContainerUI::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        if (IsEnabled() && ::PtInRect(&m_rcItem, event.mousePoint)) {
            m_bPushed = true;
            OpenDropBox();
        }
        return;
    case EventButtonUp:
        m_bPushed = IsDropped();
        Repaint();
        return;
    case EventMouseEnter:
        m_bHot = IsEnabled();
        Repaint();
        return;
    case EventMouseLeave:
        m_bHot = false;
        Repaint();
        return;
    case EventKeyDown:
        if (event.wParam == VK_F4) {
            OpenDropBox();
        } else {
            SelectByKey(event.wParam);
        }
        return;
    case EventSysKey:
        if (event.wParam == VK_DOWN) {
            OpenDropBox();
        }
        return;
    case EventScrollWheel:
        SelectByKey(LOWORD(event.wParam) == 1 ? VK_DOWN : VK_UP);
        return;
    case EventSetFocus:
    case EventKillFocus:
        m_bFocused = event.type == EventSetFocus;
        Repaint();
        return;
    default:
        CControlUI::HandleEvent(event);
        return;
    }
}

void CComboUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    if (pstrValue == nullptr) {
        pstrValue = L"";
    }
    if (m_images.Apply(pstrName, pstrValue) || ApplyListItemAttribute(m_look, pstrName, pstrValue)) {
        Repaint();
    } else if (Is(pstrName, L"textpadding")) {
        m_rcTextPadding = ParseAttributeRect(pstrValue);
        Repaint();
    } else if (Is(pstrName, L"dropbox")) {
        m_strDropBoxAttributes = pstrValue;
    } else if (Is(pstrName, L"dropboxsize")) {
        const SIZE sz = ParseAttributeSize(pstrValue);
        m_szDropBox = {sz.cx < 0 ? 0 : sz.cx, sz.cy <= 0 ? 150 : sz.cy};
    } else {
        CContainerUI::ApplyAttribute(pstrName, pstrValue);
    }
}

// ---- painting -------------------------------------------------------------------------------------

void CComboUI::PaintStateImages(HDC hDC)
{
    m_images.Paint(hDC, m_pManager, m_rcItem, m_rcPaint, IsEnabled(), m_bPushed, m_bHot, m_bFocused);
}

RECT CComboUI::FaceTextRect() const
{
    return RECT{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
}

// The face shows the selected item's text as a plain (or disabled) row shows it: item colours,
// font and alignment, on one line.
void CComboUI::PaintTextContent(HDC hDC)
{
    const CUIString strText = Text();
    if (strText.IsEmpty()) {
        return;
    }
    const DWORD dwColor = ListRowTextColor(m_look, IsEnabled() ? 0U : static_cast<UINT>(RowStateDisabled));
    PaintListText(hDC, m_pManager, FaceTextRect(), strText, dwColor, m_look.font,
                  m_look.textStyle | DT_SINGLELINE | DT_VCENTER, m_look.showHtml);
}

} // namespace Tarvo
