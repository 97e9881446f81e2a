#pragma once

#include "controls/Progress.h"

namespace Tarvo {

// A progress bar with a thumb the user drags, clicks towards or moves with the keyboard. The
// value moves in whole steps from the minimum (the maximum is always reachable). "valuechanged"
// follows a change the user made once it is complete (release, click, key); while dragging,
// "movevaluechanged" follows each change when "sendmove" is set.
class CSliderUI : public CProgressUI {
public:
    CSliderUI();
    ~CSliderUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    UINT InputFlags() override;
    void SetEnabled(bool bEnabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStateImages(HDC hDC) override;

    int Step() const { return m_nStep; }
    // Steps below 1 are taken as 1.
    void SetStep(int nStep);
    SIZE ThumbSize() const { return m_szThumb; }
    // Negative sides are taken as 0.
    void SetThumbSize(SIZE szThumb);
    bool IsSendMove() const { return m_bSendMove; }
    void SetSendMove(bool bSendMove) { m_bSendMove = bSendMove; }
    CUIString ThumbImage() const { return m_strThumbImage; }
    CUIString ThumbHotImage() const { return m_strThumbHotImage; }
    CUIString ThumbPushedImage() const { return m_strThumbPushedImage; }
    void SetThumbImage(const wchar_t* pstrImage);
    void SetThumbHotImage(const wchar_t* pstrImage);
    void SetThumbPushedImage(const wchar_t* pstrImage);
    // The thumb in window coordinates, after repairing the range.
    RECT ThumbRect();
    bool IsDragging() const { return m_bCaptured; }

private:
    bool OnButtonDown(POINT pt);
    void OnMouseMove(POINT pt);
    void OnButtonUp(POINT pt);
    bool OnKeyDown(WPARAM vk);
    // The value the point stands for: thumb centre on the point, snapped to a step.
    int ValueAtPoint(POINT pt);
    int Snap(long long nValue) const;
    int Offset(int nBy) const;
    // Sets the value the user chose; true when it changed.
    bool ChangeValue(int nValue);
    const CUIString& ThumbImageForState() const;

    SIZE m_szThumb = {10, 10};
    int m_nStep = 1;
    bool m_bSendMove = false;
    bool m_bHot = false;
    bool m_bCaptured = false;
    int m_nValueAtPress = 0;
    CUIString m_strThumbImage;
    CUIString m_strThumbHotImage;
    CUIString m_strThumbPushedImage;
};

} // namespace Tarvo
