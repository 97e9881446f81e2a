#include "controls/ChildLayout.h"

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
    // Building the skin file needs the skin builder, which this library does not have yet:
    // until it does, a child layout stays empty, as one whose file cannot be built.
}

} // namespace Tarvo
