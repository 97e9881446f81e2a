#pragma once

#include "controls/ListContainerElement.h"

#include <vector>

namespace Tarvo {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class CTreeViewUI;

// One node of a tree view: a row made of a horizontal layout holding the dot line (the indent),
// the folder option (selected = expanded), the check box and the text, plus its child nodes.
// In a view every node is a row of the view's list, placed after its parent's earlier
// descendants; the view owns the rows. A node outside a view owns its child nodes.
class CTreeNodeUI : public CListContainerElementUI {
public:
    // Indent of one level, in pixels.
    static constexpr int IndentWidth = 16;

    CTreeNodeUI();
    ~CTreeNodeUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetText(const wchar_t* pstrText) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void Paint(HDC hDC, const RECT& rcPaint) override;

    CTreeNodeUI* ParentNode() const { return m_pParentNode; }
    int NodeCount() const { return static_cast<int>(m_children.size()); }
    CTreeNodeUI* NodeAt(int nIndex) const;
    // Appends a child node (with its subtree); a node that has a parent already is refused.
    bool AddChildNode(CTreeNodeUI* pNode);
    // Takes the child node (with its subtree) out of this node and of the view; the caller owns it.
    bool RemoveChildNode(CTreeNodeUI* pNode);
    // Only unlinks a child from this node (the view takes care of its rows).
    void DetachChildNode(CTreeNodeUI* pNode);
    int Depth() const { return m_nDepth; }
    // This node and every node under it, in display order.
    void CollectSubtree(std::vector<CTreeNodeUI*>& nodes);
    CTreeNodeUI* LastDescendant();

    bool IsExpanded() const { return m_bExpanded; }
    void SetExpanded(bool bExpanded);
    bool IsChecked() const { return m_bChecked; }
    // Checks or unchecks the whole subtree; the ancestors then show checked exactly when all of
    // their children are.
    void SetChecked(bool bChecked);
    // Own row shown, as far as the tree decides it (collapsed ancestors hide it).
    bool IsShownInTree() const { return m_bVisible; }

    CTreeViewUI* TreeView() const { return m_pView; }
    void SetTreeView(CTreeViewUI* pView) { m_pView = pView; }
    void SetFolderVisible(bool bVisible);
    void SetCheckBoxVisible(bool bVisible);
    void SetItemMinWidth(int nWidth);

    CHorizontalLayoutUI* RowLayout() const { return m_pHoriz; }
    CLabelUI* DotLine() const { return m_pDotLine; }
    CCheckBoxUI* FolderButton() const { return m_pFolder; }
    CCheckBoxUI* CheckBoxButton() const { return m_pCheck; }
    CLabelUI* ItemLabel() const { return m_pItem; }

    // The tree-view side of the node list: the view clears it when it gives the rows up.
    void ForgetSubtreeLinks();

private:
    void SetDepth(int nDepth);
    void UpdateChildVisibility();
    void SetCheckedDown(bool bChecked);
    void RecheckFromChildren();
    void ShowChecked(bool bChecked);
    void ShowFolder();
    DWORD ItemTextColor() const;

    CHorizontalLayoutUI* m_pHoriz = nullptr;
    CLabelUI* m_pDotLine = nullptr;
    CCheckBoxUI* m_pFolder = nullptr;
    CCheckBoxUI* m_pCheck = nullptr;
    CLabelUI* m_pItem = nullptr;
    CTreeNodeUI* m_pParentNode = nullptr;
    CTreeViewUI* m_pView = nullptr;
    std::vector<CTreeNodeUI*> m_children;
    int m_nDepth = 0;
    bool m_bExpanded = true;
    bool m_bChecked = false;
    bool m_bFolderWanted = true;
    DWORD m_dwItemTextColor = 0;
    DWORD m_dwItemHotTextColor = 0;
    DWORD m_dwSelItemTextColor = 0;
    DWORD m_dwSelItemHotTextColor = 0;
};

} // namespace Tarvo
