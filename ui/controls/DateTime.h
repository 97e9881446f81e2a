#pragma once

#include "controls/Label.h"

namespace Tarvo {

class CDateTimeWnd;

// A date shown as "yyyy-mm-dd" text. A click (or Space, Return or F4 while focused) opens a
// native date picker (CDateTimeWnd) over the control; the date chosen there is copied back when
// the picker closes. The text is always a valid date: text that is not one is ignored.
class CDateTimeUI : public CLabelUI {
public:
    CDateTimeUI();
    ~CDateTimeUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    UINT InputFlags() override;
    void SetText(const wchar_t* pstrText) override;
    void SetPosition(RECT rc) override;
    void SetEnabled(bool bEnabled = true) override;
    void SetVisible(bool bVisible = true) override;
    void HandleEvent(ControlEvent& event) override;

    // Year, month and day of the value; the time of day is always 0.
    SYSTEMTIME Time() const { return m_sysTime; }
    // False (nothing changes) for a date the system calendar does not have.
    bool SetTime(const SYSTEMTIME& sysTime);
    // Opens the picker; false when disabled, invisible, without a window, or open already.
    bool OpenPicker();
    void ClosePicker();
    CDateTimeWnd* PickerWindow() const { return m_pWindow; }

    // "yyyy-mm-dd" into a valid date (from 1601 on); false for anything else.
    static bool ParseDate(const wchar_t* pstrText, SYSTEMTIME& sysTime);
    static CUIString FormatDate(const SYSTEMTIME& sysTime);

    // The picker is gone.
    void PickerClosed(CDateTimeWnd* pWindow);

private:
    SYSTEMTIME m_sysTime = {};
    CDateTimeWnd* m_pWindow = nullptr;
};

} // namespace Tarvo
