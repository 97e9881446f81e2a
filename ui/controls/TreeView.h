#pragma once

#include "controls/List.h"

#include <vector>

namespace Tarvo {

class CTreeNodeUI;

// A list whose rows are tree nodes in display order. It installs its handlers on every node's
// notify list and on the node's folder option and check box, and keeps expanding and checking
// consistent through them. Left and Right collapse and expand the current node.
// With "multiexpanding" off, expanding a node collapses its expanded siblings; a tree view
// allows several expanded nodes by default, as a Windows tree does.
class CTreeViewUI : public CListUI {
public:
    CTreeViewUI();
    ~CTreeViewUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    bool AddItem(CControlUI* pControl) override;
    bool InsertItem(CControlUI* pControl, int nIndex) override;
    bool RemoveItem(CControlUI* pControl) override;
    void RemoveAllItems() override;
    bool SelectItem(int nIndex, bool bTakeFocus = false) override;
    void HandleItemEvent(ControlEvent& event) override;

    // Puts a top node with its subtree in at nIndex (nodes that are children already go in
    // through their parent's AddChildNode).
    bool InsertSubtree(CTreeNodeUI* pNode, int nIndex);
    // Takes the node's rows out; bDestroy deletes them, else the node keeps its subtree.
    void TakeOutSubtree(CTreeNodeUI* pNode, bool bDestroy);
    // The node was expanded: without "multiexpanding" its siblings collapse.
    void NodeExpanded(CTreeNodeUI* pNode);

    bool IsFolderVisible() const { return m_bFolderVisible; }
    bool IsCheckBoxVisible() const { return m_bCheckVisible; }
    int ItemMinWidth() const { return m_nItemMinWidth; }

private:
    bool OnNodeNotify(void* pParam);
    bool OnFolderNotify(void* pParam);
    bool OnCheckNotify(void* pParam);
    bool SyncNodeWithPart(void* pParam, bool bFolder);
    void InstallHandlers(CTreeNodeUI* pNode);
    void RemoveHandlers(CTreeNodeUI* pNode);
    CTreeNodeUI* NodeAt(int nIndex) const;
    template <class Visit> void ForEachNode(Visit visit) const;
    CTreeNodeUI* NodeOfPart(const CControlUI* pPart, bool bFolder) const;
    bool StepIntoTree(WPARAM vk);

    bool m_bFolderVisible = true;
    bool m_bCheckVisible = false;
    int m_nItemMinWidth = 0;
};

} // namespace Tarvo
