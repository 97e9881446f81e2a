#pragma once

#include "controls/Label.h"

namespace Tarvo {

// Bits of CButtonUI::ButtonState.
enum : UINT {
    ButtonStateFocused = 0x01,
    ButtonStateSelected = 0x02,
    ButtonStateDisabled = 0x04,
    ButtonStateHot = 0x08,
    ButtonStatePushed = 0x10,
    ButtonStateCaptured = 0x40,
};

// A label with hot, pushed, focused and disabled looks that sends "click" and can switch a tab
// layout. The state-image order and the text colour by state live here for the option too.
class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    ~CButtonUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    UINT InputFlags() override;
    bool Invoke() override;
    void SetEnabled(bool bEnabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    SIZE MeasureSize(SIZE szAvailable) override;
    void PaintStateImages(HDC hDC) override;
    void PaintTextContent(HDC hDC) override;

    UINT ButtonState() const { return m_uButtonState; }
    CUIString NormalImage() const { return m_strNormalImage; }
    CUIString HotImage() const { return m_strHotImage; }
    CUIString HotForeImage() const { return m_strHotForeImage; }
    CUIString PushedImage() const { return m_strPushedImage; }
    CUIString PushedForeImage() const { return m_strPushedForeImage; }
    CUIString FocusedImage() const { return m_strFocusedImage; }
    CUIString DisabledImage() const { return m_strDisabledImage; }
    DWORD HotBkColor() const { return m_dwHotBkColor; }
    DWORD HotTextColor() const { return m_dwHotTextColor; }
    DWORD PushedTextColor() const { return m_dwPushedTextColor; }
    DWORD FocusedTextColor() const { return m_dwFocusedTextColor; }
    int BindTabIndex() const { return m_iBindTabIndex; }
    CUIString BindTabLayoutName() const { return m_strBindTabLayoutName; }

protected:
    // Focused and disabled bits follow the control before every paint step.
    void RefreshStateBits();
    // Draws a description; one the render engine cannot draw at all is forgotten. False when
    // empty or forgotten.
    bool DrawStateImage(HDC hDC, CUIString& strImage);
    void SendClickAndSwitchTab();
    DWORD StateTextColor() const;
    void PaintTextInColor(HDC hDC, DWORD dwColor);
    static void StoreImage(CControlUI& control, CUIString& field, const wchar_t* pstrValue);

    UINT m_uButtonState = 0;
    DWORD m_dwHotBkColor = 0;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    DWORD m_dwFocusedTextColor = 0;
    CUIString m_strNormalImage;
    CUIString m_strHotImage;
    CUIString m_strHotForeImage;
    CUIString m_strPushedImage;
    CUIString m_strPushedForeImage;
    CUIString m_strFocusedImage;
    CUIString m_strDisabledImage;
    int m_iBindTabIndex = -1;
    CUIString m_strBindTabLayoutName;

private:
    enum class StateImageStep { Normal, Foreground, Stop };

    bool HandleMouseButton(ControlEvent& event);
    StateImageStep PaintStateBody(HDC hDC);
    StateImageStep PaintStateWithFore(HDC hDC, CUIString& strImage, CUIString& strForeImage);
};

} // namespace Tarvo
