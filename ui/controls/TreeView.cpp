#include "controls/TreeView.h"

#include "controls/AttributeValue.h"
#include "controls/CheckBox.h"
#include "controls/ListBody.h"
#include "controls/TreeNode.h"
#include "core/NotifyPump.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

namespace {

bool Is(const wchar_t* pstrName, const wchar_t* pstr)
{
    return std::wcscmp(pstrName, pstr) == 0;
}

CTreeNodeUI* AsNode(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<CTreeNodeUI*>(pControl->LookupInterface(L"TreeNode")) : nullptr;
}

} // namespace

CTreeViewUI::CTreeViewUI()
{
    m_bMultiExpanding = true;
}

CTreeViewUI::~CTreeViewUI() = default;

const wchar_t* CTreeViewUI::TypeName() const
{
    return L"TreeViewUI";
}

void* CTreeViewUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && Is(pstrName, L"TreeView")) {
        return this;
    }
    return CListUI::LookupInterface(pstrName);
}

CTreeNodeUI* CTreeViewUI::NodeAt(int nIndex) const
{
    return AsNode(ItemAt(nIndex));
}

template <class Visit> void CTreeViewUI::ForEachNode(Visit visit) const
{
    for (int i = 0; i < ItemCount(); ++i) {
        if (CTreeNodeUI* pNode = NodeAt(i)) {
            visit(pNode);
        }
    }
}

void CTreeViewUI::NodeExpanded(CTreeNodeUI* pNode)
{
    if (m_bMultiExpanding) {
        return;
    }
    ForEachNode([pNode](CTreeNodeUI* pOther) {
        if (pOther != pNode && pOther->ParentNode() == pNode->ParentNode() && pOther->IsExpanded()) {
            pOther->SetExpanded(false);
        }
    });
}

void CTreeViewUI::InstallHandlers(CTreeNodeUI* pNode)
{
    pNode->NotifyHandlers().Add(MakeDelegate(this, &CTreeViewUI::OnNodeNotify));
    pNode->FolderButton()->NotifyHandlers().Add(MakeDelegate(this, &CTreeViewUI::OnFolderNotify));
    pNode->CheckBoxButton()->NotifyHandlers().Add(MakeDelegate(this, &CTreeViewUI::OnCheckNotify));
}

void CTreeViewUI::RemoveHandlers(CTreeNodeUI* pNode)
{
    pNode->NotifyHandlers().Remove(MakeDelegate(this, &CTreeViewUI::OnNodeNotify));
    pNode->FolderButton()->NotifyHandlers().Remove(MakeDelegate(this, &CTreeViewUI::OnFolderNotify));
    pNode->CheckBoxButton()->NotifyHandlers().Remove(MakeDelegate(this, &CTreeViewUI::OnCheckNotify));
}

bool CTreeViewUI::InsertSubtree(CTreeNodeUI* pNode, int nIndex)
{
    if (pNode == nullptr || nIndex < 0 || nIndex > ItemCount() || pNode->TreeView() != nullptr) {
        return false;
    }
    std::vector<CTreeNodeUI*> nodes;
    pNode->CollectSubtree(nodes);
    for (CTreeNodeUI* pEach : nodes) {
        if (!CListUI::InsertItem(pEach, nIndex++)) {
            return false;
        }
        pEach->SetTreeView(this);
        pEach->SetFolderVisible(m_bFolderVisible);
        pEach->SetCheckBoxVisible(m_bCheckVisible);
        pEach->SetItemMinWidth(m_nItemMinWidth);
        InstallHandlers(pEach);
    }
    return true;
}

void CTreeViewUI::TakeOutSubtree(CTreeNodeUI* pNode, bool bDestroy)
{
    std::vector<CTreeNodeUI*> nodes;
    pNode->CollectSubtree(nodes);
    const bool bAutoDestroy = m_pBody->IsAutoDestroy();
    m_pBody->SetAutoDestroy(bDestroy && bAutoDestroy);
    for (CTreeNodeUI* pEach : nodes) {
        RemoveHandlers(pEach);
        if (bDestroy) {
            pEach->ForgetSubtreeLinks();
        } else {
            pEach->SetTreeView(nullptr);
        }
        CListUI::RemoveItem(pEach);
    }
    m_pBody->SetAutoDestroy(bAutoDestroy);
}

bool CTreeViewUI::AddItem(CControlUI* pControl)
{
    return InsertItem(pControl, ItemCount());
}

bool CTreeViewUI::InsertItem(CControlUI* pControl, int nIndex)
{
    CTreeNodeUI* pNode = AsNode(pControl);
    if (pNode == nullptr) {
        return CListUI::InsertItem(pControl, nIndex);
    }
    return pNode->ParentNode() == nullptr && InsertSubtree(pNode, nIndex);
}

bool CTreeViewUI::RemoveItem(CControlUI* pControl)
{
    CTreeNodeUI* pNode = AsNode(pControl);
    if (pNode == nullptr || pNode->TreeView() != this) {
        return CListUI::RemoveItem(pControl);
    }
    if (CTreeNodeUI* pParent = pNode->ParentNode()) {
        pParent->DetachChildNode(pNode);
    }
    TakeOutSubtree(pNode, true);
    return true;
}

void CTreeViewUI::RemoveAllItems()
{
    ForEachNode([this](CTreeNodeUI* pNode) {
        RemoveHandlers(pNode);
        pNode->ForgetSubtreeLinks();
    });
    CListUI::RemoveAllItems();
}

bool CTreeViewUI::SelectItem(int nIndex, bool bTakeFocus)
{
    const int nOld = m_iCurSel;
    if (!CListUI::SelectItem(nIndex, bTakeFocus)) {
        return false;
    }
    if (m_iCurSel != nOld) {
        SendNotification(L"selectchanged", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(nOld));
    }
    return true;
}

// Left collapses the current node or goes to its parent; Right expands it.
bool CTreeViewUI::StepIntoTree(WPARAM vk)
{
    CTreeNodeUI* pNode = NodeAt(m_iCurSel);
    if (pNode == nullptr || (vk != VK_LEFT && vk != VK_RIGHT)) {
        return false;
    }
    const bool bHasChildren = pNode->NodeCount() > 0;
    if (vk == VK_RIGHT) {
        if (bHasChildren && !pNode->IsExpanded()) {
            pNode->SetExpanded(true);
        }
        return true;
    }
    if (bHasChildren && pNode->IsExpanded()) {
        pNode->SetExpanded(false);
    } else if (pNode->ParentNode() != nullptr) {
        SelectItem(IndexOf(pNode->ParentNode()), true);
    }
    return true;
}

void CTreeViewUI::HandleItemEvent(ControlEvent& event)
{
    if (event.type == EventKeyDown && StepIntoTree(event.wParam)) {
        return;
    }
    CListUI::HandleItemEvent(event);
}

CTreeNodeUI* CTreeViewUI::NodeOfPart(const CControlUI* pPart, bool bFolder) const
{
    for (int i = 0; i < ItemCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode != nullptr && (bFolder ? pNode->FolderButton() : pNode->CheckBoxButton()) == pPart) {
            return pNode;
        }
    }
    return nullptr;
}

// Handlers answer true so that the listeners still hear every notification.
bool CTreeViewUI::OnNodeNotify(void* pParam)
{
    auto* pNotification = static_cast<UINotification*>(pParam);
    CTreeNodeUI* pNode = AsNode(pNotification->sender);
    if (pNode == nullptr || pNotification->type != L"itemactivate") {
        return true;
    }
    if (pNode->NodeCount() > 0) {
        pNode->SetExpanded(!pNode->IsExpanded());
    }
    SendNotification(L"itemdbclick", static_cast<WPARAM>(IndexOf(pNode)));
    return true;
}

// The folder option is the node's expanded state, the check box its checked state; a change the
// node made itself finds both equal and does nothing.
bool CTreeViewUI::SyncNodeWithPart(void* pParam, bool bFolder)
{
    auto* pNotification = static_cast<UINotification*>(pParam);
    if (pNotification->type != L"selectchanged") {
        return true;
    }
    CTreeNodeUI* pNode = NodeOfPart(pNotification->sender, bFolder);
    if (pNode == nullptr) {
        return true;
    }
    if (bFolder && pNode->IsExpanded() != pNode->FolderButton()->IsSelected()) {
        pNode->SetExpanded(pNode->FolderButton()->IsSelected());
    } else if (!bFolder && pNode->IsChecked() != pNode->CheckBoxButton()->IsSelected()) {
        pNode->SetChecked(pNode->CheckBoxButton()->IsSelected());
    }
    return true;
}

bool CTreeViewUI::OnFolderNotify(void* pParam)
{
    return SyncNodeWithPart(pParam, true);
}

bool CTreeViewUI::OnCheckNotify(void* pParam)
{
    return SyncNodeWithPart(pParam, false);
}

void CTreeViewUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    if (pstrValue == nullptr) {
        pstrValue = L"";
    }
    if (Is(pstrName, L"visiblefolderbtn")) {
        m_bFolderVisible = ParseAttributeBool(pstrValue);
        ForEachNode([this](CTreeNodeUI* pNode) { pNode->SetFolderVisible(m_bFolderVisible); });
    } else if (Is(pstrName, L"visiblecheckbtn")) {
        m_bCheckVisible = ParseAttributeBool(pstrValue);
        ForEachNode([this](CTreeNodeUI* pNode) { pNode->SetCheckBoxVisible(m_bCheckVisible); });
    } else if (Is(pstrName, L"itemminwidth")) {
        m_nItemMinWidth = std::max(ParseAttributeInt(pstrValue), 0);
        ForEachNode([this](CTreeNodeUI* pNode) { pNode->SetItemMinWidth(m_nItemMinWidth); });
    } else {
        CListUI::ApplyAttribute(pstrName, pstrValue);
    }
}

} // namespace Tarvo
