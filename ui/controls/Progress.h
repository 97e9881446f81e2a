#pragma once

#include "controls/Label.h"

namespace Tarvo {

// A value between a minimum and a maximum shown as the filled part of a foreground image.
class CProgressUI : public CLabelUI {
public:
    CProgressUI();
    ~CProgressUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStateImages(HDC hDC) override;

    // Ignored when unchanged or outside MinValue()..MaxValue().
    void SetValue(int nValue);
    int Value() const { return m_nValue; }
    int MinValue() const { return m_nMin; }
    void SetMinValue(int nMin);
    int MaxValue() const { return m_nMax; }
    void SetMaxValue(int nMax);
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal);
    bool IsStretchForeImage() const { return m_bStretchForeImage; }
    void SetStretchForeImage(bool bStretch);
    CUIString ForeImage() const { return m_strFillImage; }
    void SetForeImage(const wchar_t* pstrImage);
    CUIString FillModifier() const { return m_strFillModifier; }
    // The filled part relative to the control's top-left corner, after repairing the range.
    RECT FillRect();

protected:
    // Raises a maximum not above the minimum and clamps the value into the range (stored).
    void RepairRange();

private:
    bool m_bHorizontal = true;
    bool m_bStretchForeImage = true;
    int m_nMax = 100;
    int m_nMin = 0;
    int m_nValue = 0;
    CUIString m_strFillImage;
    CUIString m_strFillModifier;
};

} // namespace Tarvo
