#pragma once

#include "controls/Control.h"

namespace Tarvo {

class CContainerUI;

// A scroll bar with two buttons, a rail and a thumb. With an owning container it drives the
// owner's scroll operations; without one it moves itself and sends "scroll".
class CScrollBarUI : public CControlUI {
public:
    enum Part { PartButton1, PartButton2, PartThumb, PartRail, PartBack, PartCount };
    enum PartState { StateNormal, StateHot, StatePushed, StateDisabled, StateCount };

    static constexpr UINT RepeatTimerId = 10;
    static constexpr UINT RepeatIntervalMs = 50;
    static constexpr int DefaultThickness = 16;

    CScrollBarUI();
    ~CScrollBarUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetEnabled(bool bEnabled = true) override;
    void SetVisible(bool bVisible = true) override;
    void SetPosition(RECT rc) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintBackgroundImage(HDC hDC) override;
    void PaintStateImages(HDC hDC) override;

    CContainerUI* Owner() const { return m_pOwner; }
    void SetOwner(CContainerUI* pOwner) { m_pOwner = pOwner; }
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);
    int ScrollRange() const { return m_nRange; }
    // Negative ranges read as 0; the position is lowered to the new range.
    void SetScrollRange(int nRange);
    int ScrollPos() const { return m_nScrollPos; }
    // Kept within 0..range.
    void SetScrollPos(int nPos);
    int LineSize() const { return m_nLineSize; }
    void SetLineSize(int nSize);
    bool IsButtonShown(Part part) const;
    void SetButtonShown(Part part, bool bShow);
    const CUIString& PartImage(Part part, PartState state) const { return m_images[part][state]; }
    void SetPartImage(Part part, PartState state, const wchar_t* pstrImage);
    // Rectangles of the two buttons and the thumb from the last placement (empty when absent).
    RECT PartRect(Part part) const;

private:
    enum PressTarget { PressNone, PressButton1, PressButton2, PressRailBefore, PressRailAfter, PressThumb };

    bool IsVertical() const { return !m_bHorizontal; }
    int MainOf(const POINT& pt) const { return IsVertical() ? pt.y : pt.x; }
    int TrackLength() const;
    int ThumbTravel() const;
    void OnButtonDown(const POINT& pt);
    void OnButtonUp();
    void OnMouseMove(const POINT& pt);
    void RepeatPress();
    // One step with or without an owner; sign −1 moves towards 0.
    void StepLine(int nSign);
    void StepPage(int nSign);
    void MoveTo(int nPos);
    bool ThumbPassed(const POINT& pt) const;
    PartState StateOf(Part part) const;
    void PaintPart(HDC hDC, Part part, const RECT& rc);

    CContainerUI* m_pOwner = nullptr;
    bool m_bHorizontal = false;
    int m_nRange = 100;
    int m_nScrollPos = 0;
    int m_nLineSize = 8;
    bool m_bShowButton1 = true;
    bool m_bShowButton2 = true;
    RECT m_rcButton1 = {0, 0, 0, 0};
    RECT m_rcButton2 = {0, 0, 0, 0};
    RECT m_rcThumb = {0, 0, 0, 0};
    PressTarget m_press = PressNone;
    Part m_hotPart = PartCount;
    POINT m_ptLastMouse = {0, 0};
    POINT m_ptPress = {0, 0};
    int m_nPressScrollPos = 0;
    bool m_bHot = false;
    CUIString m_images[PartCount][StateCount];
};

} // namespace Tarvo
