#pragma once

#include "controls/Button.h"

namespace Tarvo {

// A button with a selected state, exclusive among the options of one named group of the manager.
class COptionUI : public CButtonUI {
public:
    COptionUI();
    ~COptionUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    bool Invoke() override;
    void AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize = true) override;
    void SetEnabled(bool bEnabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    SIZE MeasureSize(SIZE szAvailable) override;
    void PaintStateImages(HDC hDC) override;
    void PaintTextContent(HDC hDC) override;

    virtual void SetSelected(bool bSelected); // 79

    bool IsSelected() const { return m_bSelected; }
    void SetGroup(const wchar_t* pstrGroupName);
    CUIString Group() const { return m_strGroupName; }
    CUIString SelectedImage() const { return m_strSelectedImage; }
    CUIString SelectedHotImage() const { return m_strSelectedHotImage; }
    CUIString SelectedPushedImage() const { return m_strSelectedPushedImage; }
    CUIString OptionForeImage() const { return m_strOptionForeImage; }
    CUIString SelectedForeImage() const { return m_strSelectedForeImage; }
    DWORD SelectedBkColor() const { return m_dwSelectedBkColor; }
    DWORD SelectedTextColor() const { return m_dwSelectedTextColor; }

private:
    void JoinGroup();
    void LeaveGroup();
    void DeselectOthers();
    // False when the selected look left nothing else to draw (the selected colour fill).
    bool PaintSelectedBody(HDC hDC);
    void PaintOrFallBack(HDC hDC, CUIString& strImage);

    bool m_bSelected = false;
    CUIString m_strGroupName;
    // The manager whose group list holds this option, so a move to another one leaves no trace.
    CWindowManagerUI* m_pGroupManager = nullptr;
    DWORD m_dwSelectedBkColor = 0;
    DWORD m_dwSelectedTextColor = 0;
    CUIString m_strSelectedImage;
    CUIString m_strSelectedHotImage;
    CUIString m_strSelectedPushedImage;
    CUIString m_strOptionForeImage;
    CUIString m_strSelectedForeImage;
};

} // namespace Tarvo
