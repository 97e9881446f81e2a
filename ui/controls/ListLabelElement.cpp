#include "controls/ListLabelElement.h"

#include <cwchar>

namespace Tarvo {

const wchar_t* CListLabelElementUI::TypeName() const
{
    return L"ListLabelElementUI";
}

void* CListLabelElementUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListLabelElement") == 0) {
        return this;
    }
    return CListElementUI::LookupInterface(pstrName);
}

RECT CListLabelElementUI::CellRect(RECT rc) const
{
    const RECT& rcPad = m_row.Look().textPadding;
    rc.left += rcPad.left;
    rc.top += rcPad.top;
    rc.right -= rcPad.right;
    rc.bottom -= rcPad.bottom;
    return rc;
}

void CListLabelElementUI::PaintTextContent(HDC hDC)
{
    if (m_strText.IsEmpty()) {
        return;
    }
    const ListItemLook& look = m_row.Look();
    PaintListText(hDC, m_pManager, CellRect(m_rcItem), m_strText, ListRowTextColor(look, m_row.State(*this)),
                  look.font, look.textStyle | DT_SINGLELINE, look.showHtml);
}

} // namespace Tarvo
