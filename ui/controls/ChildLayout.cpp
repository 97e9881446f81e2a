#include "controls/ChildLayout.h"

#include "core/SkinBuilder.h"

#include <cwchar>

namespace Tarvo {

CChildLayoutUI::CChildLayoutUI() = default;

const wchar_t* CChildLayoutUI::TypeName() const
{
    return L"ChildLayoutUI";
}

void* CChildLayoutUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ChildLayout") == 0) {
        return this;
    }
    return CContainerUI::LookupInterface(pstrName);
}

void CChildLayoutUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"xmlfile") == 0) {
        SetSkinFile(pstrValue);
        return;
    }
    CContainerUI::ApplyAttribute(pstrName, pstrValue);
}

void CChildLayoutUI::Initialize()
{
    if (m_strSkinFile.IsEmpty()) {
        return;
    }
    CSkinBuilder builder;
    CControlUI* pContent = builder.Create(m_strSkinFile, nullptr, nullptr, m_pManager);
    if (pContent != nullptr) {
        AddItem(pContent);
    } else {
        RemoveAllItems();
    }
}

} // namespace Tarvo
