#include "core/SkinBuilder.h"

#include "controls/AttributeValue.h"
#include "controls/Container.h"
#include "controls/Control.h"
#include "controls/ControlTable.h"
#include "controls/TreeNode.h"
#include "controls/TreeView.h"
#include "core/ResourceSettings.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

namespace {

bool Is(LPCWSTR pstrA, LPCWSTR pstrB)
{
    return std::wcscmp(pstrA, pstrB) == 0;
}

bool IsDeclaration(LPCWSTR pstrName)
{
    return Is(pstrName, L"Image") || Is(pstrName, L"Font") || Is(pstrName, L"Default");
}

// The window-level attributes of the root "Window" element, one line each.
struct WindowAttribute {
    const wchar_t* name;
    void (*apply)(CWindowManagerUI& manager, LPCWSTR pstrValue);
};

void ApplySize(CWindowManagerUI& manager, LPCWSTR pstrValue)
{
    const SIZE sz = ParseAttributeSize(pstrValue);
    manager.SetInitialSize(sz.cx, sz.cy);
    // A rebuilt skin keeps the size the user gave the window.
    if (manager.Root() == nullptr && manager.WindowHandle() != nullptr) {
        ::SetWindowPos(manager.WindowHandle(), nullptr, 0, 0, sz.cx, sz.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ApplyAlpha(CWindowManagerUI& manager, LPCWSTR pstrValue)
{
    const int nValue = ParseAttributeInt(pstrValue);
    const BYTE nOpacity = static_cast<BYTE>(std::clamp(nValue, 0, 255));
    manager.SetOpacity(nOpacity);
    const HWND hWnd = manager.WindowHandle();
    if (hWnd == nullptr) {
        return;
    }
    LONG_PTR exStyle = ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
    exStyle = (nValue >= 0 && nValue <= 255) ? (exStyle | WS_EX_LAYERED) : (exStyle & ~WS_EX_LAYERED);
    ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE, exStyle);
    using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    const HMODULE hUser = ::GetModuleHandleW(L"User32.dll");
    const auto pfn = hUser != nullptr ? reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(
                                            ::GetProcAddress(hUser, "SetLayeredWindowAttributes")))
                                      : nullptr;
    if (pfn != nullptr) {
        pfn(hWnd, 0, nOpacity, LWA_ALPHA);
    }
}

void ApplyShadowCorner(CWindowManagerUI& manager, LPCWSTR pstrValue)
{
    const RECT rc = ParseAttributeRect(pstrValue);
    if (rc.left >= 0 && rc.top >= 0 && rc.right >= 0 && rc.bottom >= 0) {
        manager.Shadow().SetCorner(rc);
    }
}

void ApplyShadowSharpness(CWindowManagerUI& manager, LPCWSTR pstrValue)
{
    const int nValue = ParseAttributeInt(pstrValue);
    if (nValue >= 0) {
        manager.Shadow().SetSharpness(static_cast<unsigned>(nValue));
    }
}

void ApplyShadowDarkness(CWindowManagerUI& manager, LPCWSTR pstrValue)
{
    const int nValue = ParseAttributeInt(pstrValue);
    if (nValue >= 0) {
        manager.Shadow().SetDarkness(static_cast<unsigned>(nValue));
    }
}

DWORD Color(LPCWSTR pstrValue)
{
    return ParseAttributeColor(pstrValue, false);
}

const WindowAttribute kWindowAttributes[] = {
    {L"size", &ApplySize},
    {L"sizebox", [](CWindowManagerUI& m, LPCWSTR v) { m.SetSizeBox(ParseAttributeRect(v)); }},
    {L"caption", [](CWindowManagerUI& m, LPCWSTR v) { m.SetCaptionRect(ParseAttributeRect(v)); }},
    {L"roundcorner",
     [](CWindowManagerUI& m, LPCWSTR v) {
         const SIZE sz = ParseAttributeSize(v);
         m.SetRoundCorner(sz.cx, sz.cy);
     }},
    {L"mininfo",
     [](CWindowManagerUI& m, LPCWSTR v) {
         const SIZE sz = ParseAttributeSize(v);
         m.SetMinTrackSize(sz.cx, sz.cy);
     }},
    {L"maxinfo",
     [](CWindowManagerUI& m, LPCWSTR v) {
         const SIZE sz = ParseAttributeSize(v);
         m.SetMaxTrackSize(sz.cx, sz.cy);
     }},
    {L"alpha", &ApplyAlpha},
    {L"bktrans", [](CWindowManagerUI& m, LPCWSTR v) { m.SetLayered(ParseAttributeBool(v)); }},
    {L"disabledfontcolor", [](CWindowManagerUI& m, LPCWSTR v) { m.SetDefaultDisabledColor(Color(v)); }},
    {L"defaultfontcolor", [](CWindowManagerUI& m, LPCWSTR v) { m.SetDefaultFontColor(Color(v)); }},
    {L"linkfontcolor", [](CWindowManagerUI& m, LPCWSTR v) { m.SetDefaultLinkFontColor(Color(v)); }},
    {L"linkhoverfontcolor", [](CWindowManagerUI& m, LPCWSTR v) { m.SetDefaultLinkHoverFontColor(Color(v)); }},
    {L"selectedcolor", [](CWindowManagerUI& m, LPCWSTR v) { m.SetDefaultSelectedColor(Color(v)); }},
    {L"shadowsize", [](CWindowManagerUI& m, LPCWSTR v) { m.Shadow().SetSize(ParseAttributeInt(v)); }},
    {L"shadowsharpness", &ApplyShadowSharpness},
    {L"shadowdarkness", &ApplyShadowDarkness},
    {L"shadowposition",
     [](CWindowManagerUI& m, LPCWSTR v) {
         const SIZE sz = ParseAttributeSize(v);
         m.Shadow().SetPosition(sz.cx, sz.cy);
     }},
    {L"shadowcolor", [](CWindowManagerUI& m, LPCWSTR v) { m.Shadow().SetColor(Color(v)); }},
    {L"shadowcorner", &ApplyShadowCorner},
    {L"shadowimage", [](CWindowManagerUI& m, LPCWSTR v) { m.Shadow().SetImage(v); }},
    {L"showshadow", [](CWindowManagerUI& m, LPCWSTR v) { m.Shadow().SetShowShadow(ParseAttributeBool(v)); }},
    {L"gdiplustext", [](CWindowManagerUI& m, LPCWSTR v) { m.SetUseGdiplusText(ParseAttributeBool(v)); }},
};

void ApplyWindowAttribute(CWindowManagerUI& manager, LPCWSTR pstrName, LPCWSTR pstrValue)
{
    for (const WindowAttribute& attribute : kWindowAttributes) {
        if (Is(attribute.name, pstrName)) {
            attribute.apply(manager, pstrValue);
            return;
        }
    }
}

void DeclareFont(CWindowManagerUI& manager, const CSkinXmlNode& node)
{
    LPCWSTR pstrFace = nullptr;
    int nSize = 12;
    bool bBold = false;
    bool bUnderline = false;
    bool bItalic = false;
    bool bDefault = false;
    for (int i = 0; i < node.AttributeCount(); ++i) {
        const LPCWSTR pstrName = node.AttributeName(i);
        const LPCWSTR pstrValue = node.AttributeValue(i);
        if (Is(pstrName, L"name")) {
            pstrFace = pstrValue;
        } else if (Is(pstrName, L"size")) {
            nSize = ParseAttributeInt(pstrValue);
        } else if (Is(pstrName, L"bold")) {
            bBold = ParseAttributeBool(pstrValue);
        } else if (Is(pstrName, L"underline")) {
            bUnderline = ParseAttributeBool(pstrValue);
        } else if (Is(pstrName, L"italic")) {
            bItalic = ParseAttributeBool(pstrValue);
        } else if (Is(pstrName, L"default")) {
            bDefault = ParseAttributeBool(pstrValue);
        }
    }
    if (pstrFace == nullptr || *pstrFace == L'\0') {
        return;
    }
    manager.AddFont(pstrFace, nSize, bBold, bUnderline, bItalic);
    if (bDefault) {
        manager.SetDefaultFont(pstrFace, nSize, bBold, bUnderline, bItalic);
    }
}

void DeclareImage(CWindowManagerUI& manager, const CSkinXmlNode& node)
{
    LPCWSTR pstrName = nullptr;
    LPCWSTR pstrType = nullptr;
    DWORD dwMask = 0;
    for (int i = 0; i < node.AttributeCount(); ++i) {
        const LPCWSTR pstrAttribute = node.AttributeName(i);
        const LPCWSTR pstrValue = node.AttributeValue(i);
        if (Is(pstrAttribute, L"name")) {
            pstrName = pstrValue;
        } else if (Is(pstrAttribute, L"restype")) {
            pstrType = pstrValue;
        } else if (Is(pstrAttribute, L"mask")) {
            dwMask = Color(pstrValue);
        }
    }
    if (pstrName != nullptr && *pstrName != L'\0') {
        manager.AddImage(pstrName, pstrType, dwMask);
    }
}

void DeclareDefault(CWindowManagerUI& manager, const CSkinXmlNode& node)
{
    LPCWSTR pstrName = nullptr;
    LPCWSTR pstrValue = L"";
    for (int i = 0; i < node.AttributeCount(); ++i) {
        if (Is(node.AttributeName(i), L"name")) {
            pstrName = node.AttributeValue(i);
        } else if (Is(node.AttributeName(i), L"value")) {
            pstrValue = node.AttributeValue(i);
        }
    }
    if (pstrName != nullptr && *pstrName != L'\0') {
        manager.SetClassDefaults(pstrName, pstrValue);
    }
}

} // namespace

CSkinBuilder::CSkinBuilder() : m_xml(true), m_pExpansions(&m_nOwnExpansions) {}

CSkinBuilder::CSkinBuilder(const CSkinBuilder& outer, int nDepth)
    : m_xml(true), m_pCallback(outer.m_pCallback), m_nIncludeDepth(nDepth), m_nControlDepth(outer.m_nControlDepth),
      m_pExpansions(outer.m_pExpansions)
{
}

CControlUI* CSkinBuilder::Create(LPCWSTR pstrSource, LPCWSTR pstrType, IDialogBuilderCallback* pCallback,
                                 CWindowManagerUI* pManager, CControlUI* pParent)
{
    if (!LoadDocument(pstrSource, pstrType)) {
        return nullptr;
    }
    return BuildDocument(pCallback, pManager, pParent);
}

bool CSkinBuilder::LoadDocument(LPCWSTR pstrSource, LPCWSTR pstrType)
{
    if (pstrSource == nullptr) {
        return false;
    }
    if (IS_INTRESOURCE(pstrSource)) {
        if (pstrType == nullptr) {
            return false;
        }
        const HINSTANCE hModule = CResourceSettingsUI::ResourceModule();
        const HRSRC hInfo = ::FindResourceW(hModule, pstrSource, pstrType);
        const HGLOBAL hData = hInfo != nullptr ? ::LoadResource(hModule, hInfo) : nullptr;
        const void* pBytes = hData != nullptr ? ::LockResource(hData) : nullptr;
        if (pBytes == nullptr) {
            return false;
        }
        m_pstrType = pstrType;
        return m_xml.LoadFromBytes(static_cast<const BYTE*>(pBytes), ::SizeofResource(hModule, hInfo));
    }
    if (*pstrSource == L'<') {
        return m_xml.LoadFromString(pstrSource);
    }
    return m_xml.LoadFromFile(pstrSource);
}

CControlUI* CSkinBuilder::BuildDocument(IDialogBuilderCallback* pCallback, CWindowManagerUI* pManager,
                                        CControlUI* pParent)
{
    m_pCallback = pCallback;
    const CSkinXmlNode root = m_xml.Root();
    if (!root.IsValid()) {
        return nullptr;
    }
    if (pManager != nullptr) {
        ApplyDeclarations(*pManager);
        if (pManager->WindowHandle() != nullptr && Is(root.Name(), L"Window")) {
            ApplyWindowAttributes(*pManager);
        }
    }
    return BuildChildren(root, pParent, pManager);
}

void CSkinBuilder::ApplyDeclarations(CWindowManagerUI& manager) const
{
    for (CSkinXmlNode node = m_xml.Root().FirstChild(); node.IsValid(); node = node.NextSibling()) {
        const LPCWSTR pstrName = node.Name();
        if (Is(pstrName, L"Image")) {
            DeclareImage(manager, node);
        } else if (Is(pstrName, L"Font")) {
            DeclareFont(manager, node);
        } else if (Is(pstrName, L"Default")) {
            DeclareDefault(manager, node);
        }
    }
}

void CSkinBuilder::ApplyWindowAttributes(CWindowManagerUI& manager) const
{
    const CSkinXmlNode root = m_xml.Root();
    for (int i = 0; i < root.AttributeCount(); ++i) {
        ApplyWindowAttribute(manager, root.AttributeName(i), root.AttributeValue(i));
    }
}

CControlUI* CSkinBuilder::BuildChildren(const CSkinXmlNode& node, CControlUI* pParent, CWindowManagerUI* pManager)
{
    if (m_nControlDepth >= MaxControlDepth) {
        return nullptr;
    }
    ++m_nControlDepth;
    IContainerUI* pContainer = nullptr;
    bool bContainerAsked = false;
    CControlUI* pFirst = nullptr;
    for (CSkinXmlNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        const LPCWSTR pstrClass = child.Name();
        if (IsDeclaration(pstrClass)) {
            continue;
        }
        if (Is(pstrClass, L"Include")) {
            BuildInclude(child, pParent, pManager);
            continue;
        }
        if (Is(pstrClass, L"TreeNode")) {
            bool bStop = false;
            CControlUI* pNode = BuildTreeNode(child, pParent, pManager, bStop);
            if (bStop) {
                break;
            }
            if (pFirst == nullptr) {
                pFirst = pNode;
            }
            continue;
        }
        CControlUI* pControl = CreateControl(pstrClass);
        if (pControl == nullptr) {
            continue; // unknown to the table and the callback: the subtree goes with it
        }
        if (child.HasChildren()) {
            BuildChildren(child, pControl, pManager);
        }
        if (pParent != nullptr) {
            if (!bContainerAsked) {
                pContainer = static_cast<IContainerUI*>(pParent->LookupInterface(L"IContainer"));
                bContainerAsked = true;
            }
            if (pContainer == nullptr) {
                delete pControl;
                break;
            }
            if (!pContainer->AddItem(pControl)) {
                delete pControl;
                continue;
            }
        }
        ApplyControlAttributes(child, *pControl, pManager);
        if (pFirst == nullptr) {
            pFirst = pControl;
        } else if (pParent == nullptr) {
            delete pControl; // only the first goes back to the caller: nothing else could own it
        }
    }
    --m_nControlDepth;
    return pFirst;
}

void CSkinBuilder::BuildInclude(const CSkinXmlNode& node, CControlUI* pParent, CWindowManagerUI* pManager)
{
    WCHAR szSource[CSkinXmlNode::MAX_VALUE_LENGTH + 1] = {};
    WCHAR szCount[CSkinXmlNode::MAX_VALUE_LENGTH + 1] = {};
    int nCount = 1;
    if (node.AttributeValue(L"count", szCount)) {
        nCount = ParseAttributeInt(szCount);
    }
    if (!node.AttributeValue(L"source", szSource) || nCount <= 0 || m_nIncludeDepth >= MaxIncludeDepth) {
        return;
    }
    const LPCWSTR pstrSource =
        m_pstrType != nullptr ? MAKEINTRESOURCEW(static_cast<WORD>(ParseAttributeInt(szSource))) : szSource;
    for (int i = 0; i < nCount && *m_pExpansions < MaxIncludeExpansions; ++i) {
        ++*m_pExpansions;
        CSkinBuilder included(*this, m_nIncludeDepth + 1);
        CControlUI* pFirst = included.Create(pstrSource, m_pstrType, m_pCallback, pManager, pParent);
        if (pParent == nullptr) {
            delete pFirst; // built into no parent: nothing would own it
        }
    }
}

CControlUI* CSkinBuilder::BuildTreeNode(const CSkinXmlNode& node, CControlUI* pParent, CWindowManagerUI* pManager,
                                        bool& bStop)
{
    auto* pNode = new CTreeNodeUI;
    auto* pParentNode = pParent != nullptr ? static_cast<CTreeNodeUI*>(pParent->LookupInterface(L"TreeNode")) : nullptr;
    if (pParentNode != nullptr) {
        pParentNode->AddChildNode(pNode);
    }
    ApplyControlAttributes(node, *pNode, pManager);
    if (node.HasChildren()) {
        BuildChildren(node, pNode, pManager);
    }
    if (pParentNode != nullptr) {
        return pNode;
    }
    auto* pView = pParent != nullptr ? static_cast<CTreeViewUI*>(pParent->LookupInterface(L"TreeView")) : nullptr;
    if (pView == nullptr || !pView->AddItem(pNode)) {
        bStop = pView == nullptr;
        delete pNode;
        return nullptr;
    }
    return pNode;
}

CControlUI* CSkinBuilder::CreateControl(const wchar_t* pstrClass) const
{
    CControlUI* pControl = CreateControlByElement(pstrClass);
    if (pControl == nullptr && m_pCallback != nullptr) {
        pControl = m_pCallback->CreateCustomControl(pstrClass);
    }
    return pControl;
}

void CSkinBuilder::ApplyControlAttributes(const CSkinXmlNode& node, CControlUI& control,
                                          CWindowManagerUI* pManager) const
{
    if (pManager != nullptr) {
        control.AttachTo(pManager, nullptr, false);
        if (const wchar_t* pstrDefaults = pManager->ClassDefaults(node.Name())) {
            control.ApplyAttributeString(pstrDefaults);
        }
    }
    for (int i = 0; i < node.AttributeCount(); ++i) {
        control.ApplyAttribute(node.AttributeName(i), node.AttributeValue(i));
    }
    if (pManager != nullptr) {
        control.AttachTo(nullptr, nullptr, false);
    }
}

} // namespace Tarvo
