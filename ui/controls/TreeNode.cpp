#include "controls/TreeNode.h"

#include "controls/AttributeValue.h"
#include "controls/CheckBox.h"
#include "controls/HorizontalLayout.h"
#include "controls/Label.h"
#include "controls/TreeView.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

namespace {

constexpr int ButtonWidth = 16;

bool Is(const wchar_t* pstrName, const wchar_t* pstr)
{
    return std::wcscmp(pstrName, pstr) == 0;
}

} // namespace

// The row's parts ignore the mouse, so a press on the indent or the text reaches the node; the
// folder and the check box keep their own clicks.
CTreeNodeUI::CTreeNodeUI()
{
    m_pHoriz = new CHorizontalLayoutUI;
    m_pDotLine = new CLabelUI;
    m_pFolder = new CCheckBoxUI;
    m_pCheck = new CCheckBoxUI;
    m_pItem = new CLabelUI;
    m_pHoriz->SetMouseEnabled(false);
    m_pDotLine->SetMouseEnabled(false);
    m_pItem->SetMouseEnabled(false);
    m_pFolder->SetDeclaredWidth(ButtonWidth);
    m_pCheck->ApplyAttributeString(L"width=\"14\" padding=\"1,5,1,5\" bordersize=\"1\" bordercolor=\"#FF808080\" "
                                   L"selectedbkcolor=\"#FF3C78D8\"");
    m_pCheck->SetVisible(false);
    m_pItem->ApplyAttribute(L"textpadding", L"2,0,2,0");
    m_pHoriz->AddItem(m_pDotLine);
    m_pHoriz->AddItem(m_pFolder);
    m_pHoriz->AddItem(m_pCheck);
    m_pHoriz->AddItem(m_pItem);
    AddItem(m_pHoriz);
    m_pFolder->SetSelected(true);
    ShowFolder();
}

CTreeNodeUI::~CTreeNodeUI()
{
    if (m_pView != nullptr) {
        return; // the view's rows: each one is deleted by the view
    }
    if (m_pParentNode != nullptr) {
        m_pParentNode->m_children.erase(std::remove(m_pParentNode->m_children.begin(), m_pParentNode->m_children.end(), this),
                                        m_pParentNode->m_children.end());
    }
    std::vector<CTreeNodeUI*> children;
    children.swap(m_children);
    for (CTreeNodeUI* pChild : children) {
        pChild->m_pParentNode = nullptr;
        delete pChild;
    }
}

const wchar_t* CTreeNodeUI::TypeName() const
{
    return L"TreeNodeUI";
}

void* CTreeNodeUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && Is(pstrName, L"TreeNode")) {
        return this;
    }
    return CListContainerElementUI::LookupInterface(pstrName);
}

CTreeNodeUI* CTreeNodeUI::NodeAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < NodeCount() ? m_children[static_cast<size_t>(nIndex)] : nullptr;
}

CTreeNodeUI* CTreeNodeUI::LastDescendant()
{
    CTreeNodeUI* pNode = this;
    while (!pNode->m_children.empty()) {
        pNode = pNode->m_children.back();
    }
    return pNode;
}

void CTreeNodeUI::CollectSubtree(std::vector<CTreeNodeUI*>& nodes)
{
    nodes.push_back(this);
    for (CTreeNodeUI* pChild : m_children) {
        pChild->CollectSubtree(nodes);
    }
}

bool CTreeNodeUI::AddChildNode(CTreeNodeUI* pNode)
{
    if (pNode == nullptr || pNode == this || pNode->m_pParentNode != nullptr || pNode->m_pView != nullptr) {
        return false;
    }
    for (CTreeNodeUI* pAncestor = this; pAncestor != nullptr; pAncestor = pAncestor->m_pParentNode) {
        if (pAncestor == pNode) {
            return false;
        }
    }
    CTreeNodeUI* pLast = LastDescendant();
    m_children.push_back(pNode);
    pNode->m_pParentNode = this;
    pNode->SetDepth(m_nDepth + 1);
    pNode->SetVisible(IsShownInTree() && m_bExpanded);
    pNode->UpdateChildVisibility();
    if (m_bChecked) {
        pNode->SetCheckedDown(true);
    }
    ShowFolder();
    if (m_pView != nullptr) {
        m_pView->InsertSubtree(pNode, m_pView->IndexOf(pLast) + 1);
    }
    return true;
}

void CTreeNodeUI::DetachChildNode(CTreeNodeUI* pNode)
{
    m_children.erase(std::remove(m_children.begin(), m_children.end(), pNode), m_children.end());
    pNode->m_pParentNode = nullptr;
    ShowFolder();
    if (!m_children.empty()) {
        RecheckFromChildren();
    }
}

bool CTreeNodeUI::RemoveChildNode(CTreeNodeUI* pNode)
{
    if (pNode == nullptr || pNode->m_pParentNode != this) {
        return false;
    }
    DetachChildNode(pNode);
    if (m_pView != nullptr) {
        m_pView->TakeOutSubtree(pNode, false);
    }
    pNode->SetDepth(0);
    return true;
}

void CTreeNodeUI::ForgetSubtreeLinks()
{
    m_children.clear();
    m_pParentNode = nullptr;
    m_pView = nullptr;
}

void CTreeNodeUI::SetDepth(int nDepth)
{
    m_nDepth = nDepth;
    ShowFolder();
    for (CTreeNodeUI* pChild : m_children) {
        pChild->SetDepth(nDepth + 1);
    }
}

// A leaf hides its folder button but keeps its room, so texts of one level line up.
void CTreeNodeUI::ShowFolder()
{
    const bool bShow = m_bFolderWanted && !m_children.empty();
    m_pFolder->SetVisible(bShow);
    // Without images the folder shows the expanded state as text.
    if (m_pFolder->NormalImage().IsEmpty() && m_pFolder->SelectedImage().IsEmpty()) {
        m_pFolder->SetText(m_bExpanded ? L"-" : L"+");
    }
    const int nKeep = m_bFolderWanted && !bShow ? m_pFolder->DeclaredWidth() : 0;
    // Deep trees stop indenting at the largest size a control may have.
    const int nIndent = std::min(std::min(m_nDepth, 9999 / IndentWidth) * IndentWidth + nKeep, 9999);
    m_pDotLine->SetDeclaredWidth(nIndent);
    // A line of width 0 would stretch in the row like the text.
    m_pDotLine->SetVisible(nIndent > 0);
}

void CTreeNodeUI::SetText(const wchar_t* pstrText)
{
    m_pItem->SetText(pstrText);
    CListContainerElementUI::SetText(pstrText);
}

void CTreeNodeUI::SetFolderVisible(bool bVisible)
{
    m_bFolderWanted = bVisible;
    ShowFolder();
}

void CTreeNodeUI::SetCheckBoxVisible(bool bVisible)
{
    m_pCheck->SetVisible(bVisible);
}

void CTreeNodeUI::SetItemMinWidth(int nWidth)
{
    m_pItem->SetMinWidth(nWidth);
}

void CTreeNodeUI::SetExpanded(bool bExpanded)
{
    if (m_bExpanded == bExpanded) {
        return;
    }
    m_bExpanded = bExpanded;
    if (m_pFolder->IsSelected() != bExpanded) {
        m_pFolder->SetSelected(bExpanded);
    }
    ShowFolder();
    UpdateChildVisibility();
    if (bExpanded && m_pView != nullptr) {
        m_pView->NodeExpanded(this);
    }
}

void CTreeNodeUI::UpdateChildVisibility()
{
    for (CTreeNodeUI* pChild : m_children) {
        pChild->SetVisible(IsShownInTree() && m_bExpanded);
        pChild->UpdateChildVisibility();
    }
}

void CTreeNodeUI::ShowChecked(bool bChecked)
{
    m_bChecked = bChecked;
    // Set first: the check box's "selectchanged" reaches the view, which must find nothing to do.
    if (m_pCheck->IsSelected() != bChecked) {
        m_pCheck->SetSelected(bChecked);
    }
}

void CTreeNodeUI::SetCheckedDown(bool bChecked)
{
    ShowChecked(bChecked);
    for (CTreeNodeUI* pChild : m_children) {
        pChild->SetCheckedDown(bChecked);
    }
}

void CTreeNodeUI::RecheckFromChildren()
{
    for (CTreeNodeUI* pNode = this; pNode != nullptr && !pNode->m_children.empty(); pNode = pNode->m_pParentNode) {
        const bool bAll = std::all_of(pNode->m_children.begin(), pNode->m_children.end(),
                                      [](const CTreeNodeUI* pChild) { return pChild->m_bChecked; });
        if (bAll == pNode->m_bChecked) {
            return;
        }
        pNode->ShowChecked(bAll);
    }
}

void CTreeNodeUI::SetChecked(bool bChecked)
{
    SetCheckedDown(bChecked);
    if (m_pParentNode != nullptr) {
        m_pParentNode->RecheckFromChildren();
    }
}

DWORD CTreeNodeUI::ItemTextColor() const
{
    const bool bHot = m_row.IsHot();
    if (m_row.IsSelected()) {
        return bHot && m_dwSelItemHotTextColor != 0 ? m_dwSelItemHotTextColor : m_dwSelItemTextColor;
    }
    return bHot && m_dwItemHotTextColor != 0 ? m_dwItemHotTextColor : m_dwItemTextColor;
}

void CTreeNodeUI::Paint(HDC hDC, const RECT& rcPaint)
{
    const DWORD dwColor = ItemTextColor();
    if (dwColor != 0 && m_pItem->TextColor() != dwColor) {
        m_pItem->SetTextColor(dwColor);
    }
    CListContainerElementUI::Paint(hDC, rcPaint);
}

void CTreeNodeUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    if (pstrValue == nullptr) {
        pstrValue = L"";
    }
    const struct {
        const wchar_t* name;
        CControlUI* part;
    } parts[] = {
        {L"horizattr", m_pHoriz}, {L"dotlineattr", m_pDotLine}, {L"folderattr", m_pFolder},
        {L"checkboxattr", m_pCheck}, {L"itemattr", m_pItem},
    };
    for (const auto& part : parts) {
        if (Is(pstrName, part.name)) {
            part.part->ApplyAttributeString(pstrValue);
            if (part.part == m_pFolder || part.part == m_pDotLine) {
                ShowFolder();
            }
            return;
        }
    }
    const struct {
        const wchar_t* name;
        DWORD* field;
    } colors[] = {
        {L"itemtextcolor", &m_dwItemTextColor},
        {L"itemhottextcolor", &m_dwItemHotTextColor},
        {L"selitemtextcolor", &m_dwSelItemTextColor},
        {L"selitemhottextcolor", &m_dwSelItemHotTextColor},
    };
    for (const auto& color : colors) {
        if (Is(pstrName, color.name)) {
            *color.field = ParseAttributeColor(pstrValue, true);
            Repaint();
            return;
        }
    }
    if (Is(pstrName, L"text")) {
        SetText(pstrValue);
    } else if (Is(pstrName, L"defaultexpand")) {
        SetExpanded(ParseAttributeBool(pstrValue));
    } else {
        CListContainerElementUI::ApplyAttribute(pstrName, pstrValue);
    }
}

} // namespace Tarvo
