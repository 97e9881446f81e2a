#pragma once

#include "controls/Label.h"

namespace Tarvo {

// Wrapped text whose markup links ("link" with the link's index) can be clicked.
class CTextUI : public CLabelUI {
public:
    static constexpr int MaxLinks = 8;

    CTextUI();
    ~CTextUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    UINT InputFlags() override;
    void HandleEvent(ControlEvent& event) override;
    SIZE MeasureSize(SIZE szAvailable) override;
    void PaintTextContent(HDC hDC) override;

    int LinkCount() const { return m_nLinks; }
    RECT LinkRect(int nIndex) const;
    CUIString LinkText(int nIndex) const;
    int HoverLink() const { return m_nHoverLink; }

private:
    int LinkAt(POINT pt) const;
    bool HandleLinkEvent(ControlEvent& event);
    void SetHoverLink(int nLink);

    RECT m_rcLinks[MaxLinks] = {};
    CUIString m_sLinks[MaxLinks];
    int m_nLinks = 0;
    int m_nHoverLink = -1;
};

} // namespace Tarvo
