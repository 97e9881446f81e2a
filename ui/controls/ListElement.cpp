#include "controls/ListElement.h"

#include <cwchar>

namespace Tarvo {

const wchar_t* CListElementUI::TypeName() const
{
    return L"ListElementUI";
}

void* CListElementUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListElement") == 0) {
        return this;
    }
    return CListRowOf::LookupInterface(pstrName);
}

} // namespace Tarvo
