#pragma once

#include "controls/Control.h"

namespace Tarvo {

// One line of text (plain or markup) inside the control's rectangle.
class CLabelUI : public CControlUI {
public:
    CLabelUI();
    ~CLabelUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    CUIString Text() const override;
    void SetText(const wchar_t* pstrText) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    SIZE MeasureSize(SIZE szAvailable) override;
    void PaintTextContent(HDC hDC) override;

    virtual bool IsAutoCalcWidth() const;          // 77
    virtual void SetAutoCalcWidth(bool bAutoCalc); // 78

    DWORD TextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD dwColor);
    DWORD DisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetDisabledTextColor(DWORD dwColor);
    int FontIndex() const { return m_iFont; }
    void SetFont(int iFont);
    UINT TextStyle() const { return m_uTextStyle; }
    void SetTextStyle(UINT uStyle);
    RECT TextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const { return m_bShowHtml; }
    void SetShowHtml(bool bShowHtml);
    bool IsEffectMode() const { return m_bEffectMode; }

protected:
    // Copies the manager's default colours into the fields still 0, once for good.
    void FillDefaultColors();
    RECT TextRect() const;
    // Markup (links collected up to nLinks) or plain text with the label's font.
    void PaintLabelText(HDC hDC, RECT rc, DWORD dwColor, UINT uStyle, RECT* prcLinks = nullptr,
                        CUIString* pLinkTexts = nullptr, int* pnLinks = nullptr);
    // Width of the text measured with uStyle | DT_CALCRECT in rc; 0 without a manager.
    int MeasureTextWidth(RECT rc, UINT uStyle, bool bMarkup);
    int FontHeight() const;
    void RecalculateWidth();
    // Declared width found by measuring: the text width plus both paddings; a negative sum is
    // ignored like the setter's.
    void StoreMeasuredWidth(int nTextWidth);

    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    UINT m_uTextStyle = DT_VCENTER;
    RECT m_rcTextPadding = {0, 0, 0, 0};
    bool m_bShowHtml = false;
    bool m_bAutoCalcWidth = false;
    bool m_bEffectMode = false;
    CUIString m_strEffectText;
};

} // namespace Tarvo
