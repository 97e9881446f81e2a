#pragma once

#include "core/SkinXml.h"

#include <windows.h>

namespace Tarvo {

class CControlUI;
class CWindowManagerUI;

// Asked by the builder for element names its table does not know.
class IDialogBuilderCallback {
public:
    // A new control for the element, or null when the name is not this callback's either.
    virtual CControlUI* CreateCustomControl(const wchar_t* pstrClass) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// Turns a skin document into a control tree and the window-level settings of a paint manager.
class CSkinBuilder {
public:
    // Includes nest at most this deep; a deeper one (a document including itself) builds nothing.
    static constexpr int MaxIncludeDepth = 8;
    // Includes expanded by one top-level build, counting every copy of every nesting level.
    static constexpr int MaxIncludeExpansions = 1000;
    // Elements nested deeper than this are skipped with their subtree: every later pass (layout,
    // painting, searching) recurses along the tree too.
    static constexpr int MaxControlDepth = 256;

    CSkinBuilder();
    CSkinBuilder(const CSkinBuilder&) = delete;
    CSkinBuilder& operator=(const CSkinBuilder&) = delete;

    // pstrSource: a resource id (MAKEINTRESOURCEW) of type pstrType, a document text starting
    // with '<', or a document name for CSkinXml::LoadFromFile. The root control or null.
    CControlUI* Create(LPCWSTR pstrSource, LPCWSTR pstrType, IDialogBuilderCallback* pCallback,
                       CWindowManagerUI* pManager, CControlUI* pParent = nullptr);
    CControlUI* BuildDocument(IDialogBuilderCallback* pCallback, CWindowManagerUI* pManager,
                              CControlUI* pParent = nullptr);
    // The first control created among the node's children.
    CControlUI* BuildChildren(const CSkinXmlNode& node, CControlUI* pParent, CWindowManagerUI* pManager);

    CSkinXml& Document() { return m_xml; }
    IDialogBuilderCallback* Callback() const { return m_pCallback; }

private:
    CSkinBuilder(const CSkinBuilder& outer, int nDepth);

    bool LoadDocument(LPCWSTR pstrSource, LPCWSTR pstrType);
    void ApplyDeclarations(CWindowManagerUI& manager) const;
    void ApplyWindowAttributes(CWindowManagerUI& manager) const;
    void BuildInclude(const CSkinXmlNode& node, CControlUI* pParent, CWindowManagerUI* pManager);
    // A tree node joins its parent node at once, gets its attributes, then its children; a node
    // under anything but a node goes into the parent's tree view. Null (node deleted) with
    // bStop set when there is no view to take it.
    CControlUI* BuildTreeNode(const CSkinXmlNode& node, CControlUI* pParent, CWindowManagerUI* pManager, bool& bStop);
    CControlUI* CreateControl(const wchar_t* pstrClass) const;
    void ApplyControlAttributes(const CSkinXmlNode& node, CControlUI& control, CWindowManagerUI* pManager) const;

    CSkinXml m_xml;
    IDialogBuilderCallback* m_pCallback = nullptr;
    LPCWSTR m_pstrType = nullptr; // resource type of this document; null for files and texts
    int m_nIncludeDepth = 0;
    int m_nControlDepth = 0;
    int m_nOwnExpansions = 0;
    int* m_pExpansions; // the count of the outermost builder, shared by its includes
};

} // namespace Tarvo
