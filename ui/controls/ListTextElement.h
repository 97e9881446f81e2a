#pragma once

#include "controls/ListLabelElement.h"

namespace Tarvo {

// A list row with one text per header column. Its text holds the column texts separated by
// "|"; with the owner's "itemshowhtml" the texts may carry links, which send "link".
class CListTextElementUI : public CListLabelElementUI {
public:
    static constexpr int MaxLinks = 8;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    UINT InputFlags() override;
    void HandleEvent(ControlEvent& event) override;
    void PaintTextContent(HDC hDC) override;

    CUIString ColumnText(int nColumn) const;
    void SetColumnText(int nColumn, const wchar_t* pstrText);
    int LinkCount() const { return m_nLinks; }
    RECT LinkRect(int nIndex) const;
    CUIString LinkText(int nIndex) const;

private:
    int LinkAt(POINT pt) const;
    bool HandleLinkEvent(ControlEvent& event);

    RECT m_rcLinks[MaxLinks] = {};
    CUIString m_sLinks[MaxLinks];
    int m_nLinks = 0;
    int m_nPressedLink = -1;
};

} // namespace Tarvo
