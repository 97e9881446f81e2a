#include "controls/ListTextElement.h"

#include "controls/TextLinks.h"

#include <cwchar>

namespace Tarvo {

namespace {

constexpr wchar_t ColumnSeparator = L'|';

} // namespace

const wchar_t* CListTextElementUI::TypeName() const
{
    return L"ListTextElementUI";
}

void* CListTextElementUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListTextElement") == 0) {
        return this;
    }
    return CListLabelElementUI::LookupInterface(pstrName);
}

UINT CListTextElementUI::InputFlags()
{
    return IsEnabled() && m_nLinks > 0 ? static_cast<UINT>(InputSetCursor) : 0U;
}

CUIString CListTextElementUI::ColumnText(int nColumn) const
{
    if (nColumn < 0) {
        return CUIString();
    }
    int nStart = 0;
    for (int i = 0; i < nColumn; ++i) {
        const int nBar = m_strText.Find(ColumnSeparator, nStart);
        if (nBar < 0) {
            return CUIString();
        }
        nStart = nBar + 1;
    }
    const int nEnd = m_strText.Find(ColumnSeparator, nStart);
    return m_strText.Mid(nStart, nEnd < 0 ? -1 : nEnd - nStart);
}

void CListTextElementUI::SetColumnText(int nColumn, const wchar_t* pstrText)
{
    if (nColumn < 0 || nColumn >= ListItemLook::MaxColumns) {
        return;
    }
    CUIString strText;
    int nColumns = 1;
    for (int i = 0; i < m_strText.GetLength(); ++i) {
        nColumns += m_strText[i] == ColumnSeparator ? 1 : 0;
    }
    if (nColumn + 1 > nColumns) {
        nColumns = nColumn + 1;
    }
    for (int i = 0; i < nColumns; ++i) {
        if (i > 0) {
            strText += ColumnSeparator;
        }
        strText += i == nColumn ? CUIString(pstrText != nullptr ? pstrText : L"") : ColumnText(i);
    }
    SetText(strText);
}

RECT CListTextElementUI::LinkRect(int nIndex) const
{
    return LinkEntry(m_rcLinks, m_nLinks, nIndex);
}

CUIString CListTextElementUI::LinkText(int nIndex) const
{
    return LinkEntry(m_sLinks, m_nLinks, nIndex);
}

int CListTextElementUI::LinkAt(POINT pt) const
{
    return LinkIndexAt(m_rcLinks, m_nLinks, pt);
}

// A link fires when the button goes up over the link it went down on.
bool CListTextElementUI::HandleLinkEvent(ControlEvent& event)
{
    switch (event.type) {
    case EventSetCursor: {
        const bool bLink = LinkAt(event.mousePoint) >= 0;
        ::SetCursor(::LoadCursorW(nullptr, bLink ? IDC_HAND : IDC_ARROW));
        return true;
    }
    case EventButtonDown:
        m_nPressedLink = IsEnabled() ? LinkAt(event.mousePoint) : -1;
        return false;
    case EventButtonUp: {
        const int nLink = LinkAt(event.mousePoint);
        const bool bFire = nLink >= 0 && nLink == m_nPressedLink && IsEnabled();
        m_nPressedLink = -1;
        if (bFire) {
            SendNotification(L"link", static_cast<WPARAM>(nLink));
        }
        return bFire;
    }
    default:
        return false;
    }
}

void CListTextElementUI::HandleEvent(ControlEvent& event)
{
    if (HandleLinkEvent(event)) {
        return;
    }
    CListLabelElementUI::HandleEvent(event);
}

void CListTextElementUI::PaintTextContent(HDC hDC)
{
    const ListItemLook& look = m_row.Look();
    if (look.columnCount == 0) {
        m_nLinks = MaxLinks;
        PaintListText(hDC, m_pManager, CellRect(m_rcItem), ColumnText(0), ListRowTextColor(look, m_row.State(*this)),
                      look.font, look.textStyle | DT_SINGLELINE, look.showHtml, m_rcLinks, m_sLinks, &m_nLinks);
        return;
    }
    const DWORD dwColor = ListRowTextColor(look, m_row.State(*this));
    int nLinks = 0;
    for (int i = 0; i < look.columnCount && i < ListItemLook::MaxColumns; ++i) {
        const RECT rcCell = CellRect(RECT{look.columns[i].left, m_rcItem.top, look.columns[i].right, m_rcItem.bottom});
        int nCellLinks = MaxLinks - nLinks;
        PaintListText(hDC, m_pManager, rcCell, ColumnText(i), dwColor, look.font, look.textStyle | DT_SINGLELINE,
                      look.showHtml, m_rcLinks + nLinks, m_sLinks + nLinks, &nCellLinks);
        if (nCellLinks > 0 && nCellLinks <= MaxLinks - nLinks) {
            nLinks += nCellLinks;
        }
    }
    m_nLinks = nLinks;
}

} // namespace Tarvo
