#pragma once

#include "controls/Container.h"
#include "controls/StateImages.h"

namespace Tarvo {

// One column header: its text and state images, "headerclick" when clicked, and a separator band
// at its right edge that the user drags to resize the column.
class CListHeaderItemUI : public CContainerUI {
public:
    CListHeaderItemUI();

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    UINT InputFlags() override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    SIZE MeasureSize(SIZE szAvailable) override;
    void PaintStateImages(HDC hDC) override;
    void PaintTextContent(HDC hDC) override;

    bool IsDragable() const { return m_bDragable; }
    void SetDragable(bool bDragable) { m_bDragable = bDragable; }
    int SeparatorWidth() const { return m_nSepWidth; }
    void SetSeparatorWidth(int nWidth) { m_nSepWidth = nWidth < 0 ? 0 : nWidth; }
    int Scale() const { return m_nScale; }
    bool IsDragging() const { return m_bDragging; }
    // The band at the right edge where a press starts a resize; empty when not dragable.
    RECT SeparatorRect() const;

private:
    struct Field;
    static const Field kFields[];

    bool HandleDrag(ControlEvent& event);
    bool HandlePress(ControlEvent& event);
    void SetPressed(bool bPressed);
    void SetHot(bool bHot);

    bool m_bDragable = true;
    int m_nSepWidth = 4;
    UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE | DT_CENTER;
    int m_iFont = -1;
    DWORD m_dwTextColor = 0;
    RECT m_rcTextPadding = {2, 0, 2, 0};
    bool m_bShowHtml = false;
    StateImages m_images;
    CUIString m_strSepImage;
    int m_nScale = 0;
    bool m_bHot = false;
    bool m_bPressed = false;
    bool m_bDragging = false;
    int m_nDragStartX = 0;
    int m_nDragStartWidth = 0;
};

} // namespace Tarvo
