#pragma once

#include "controls/Combo.h"

namespace Tarvo {

// A combo whose face also shows an arrow at its right end: the "arrowimage" drawn into a square
// of the face's height, or a plain triangle when there is none.
class CComboBoxUI : public CComboUI {
public:
    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStateImages(HDC hDC) override;
    void PaintTextContent(HDC hDC) override;

    CUIString ArrowImage() const { return m_strArrowImage; }
    RECT ArrowRect() const;

private:
    void PaintArrowTriangle(HDC hDC, const RECT& rc) const;

    CUIString m_strArrowImage;
};

} // namespace Tarvo
