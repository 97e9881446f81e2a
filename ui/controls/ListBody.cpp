#include "controls/ListBody.h"

#include <cwchar>

namespace Tarvo {

const wchar_t* CListBodyUI::TypeName() const
{
    return L"ListBodyUI";
}

void* CListBodyUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListBody") == 0) {
        return this;
    }
    return CVerticalLayoutUI::LookupInterface(pstrName);
}

} // namespace Tarvo
