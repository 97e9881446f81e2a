#include "controls/ListContainerElement.h"

#include <cwchar>

namespace Tarvo {

const wchar_t* CListContainerElementUI::TypeName() const
{
    return L"ListContainerElementUI";
}

void* CListContainerElementUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListContainerElement") == 0) {
        return this;
    }
    return CListRowOf::LookupInterface(pstrName);
}

} // namespace Tarvo
