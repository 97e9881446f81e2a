#pragma once

#include <windows.h>
#include <richedit.h>

#include <wrl/client.h>

#include "controls/Container.h"
#include "controls/TextEntryLook.h"
#include "core/MessageFilter.h"

struct ITextServices;

namespace Tarvo {

class CTxtWinHost;

// A windowless rich-text editor: the system's text services keep, draw and edit the text through
// a text host (CTxtWinHost) on the control's window. The container's scroll bars follow the
// services' scroll state. The control asks for the Tab key ahead of the focus movement when it
// wants tabs (a pre-filter of its manager).
class CRichEditUI : public CContainerUI, public IMessageFilterUI {
public:
    CRichEditUI();
    ~CRichEditUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    UINT InputFlags() override;
    void AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize = true) override;
    CUIString Text() const override;
    void SetText(const wchar_t* pstrText) override;
    void SetPosition(RECT rc) override;
    void SetEnabled(bool bEnabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStateImages(HDC hDC) override;
    void PaintTextContent(HDC hDC) override;
    void SetScrollPosition(SIZE szPos) override;

    // IMessageFilterUI (pre-filter: Tab for a focused control that wants it)
    LRESULT FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    bool IsRich() const { return m_bRich; }
    void SetRich(bool bRich);
    bool IsMultiLine() const { return m_bMultiLine; }
    void SetMultiLine(bool bMultiLine);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool bReadOnly);
    bool IsPasswordMode() const { return m_bPassword; }
    void SetPasswordMode(bool bPassword);
    bool IsWantTab() const { return m_bWantTab; }
    void SetWantTab(bool bWant) { m_bWantTab = bWant; }
    bool IsWantReturn() const { return m_bWantReturn; }
    void SetWantReturn(bool bWant) { m_bWantReturn = bWant; }
    bool IsWantCtrlReturn() const { return m_bWantCtrlReturn; }
    void SetWantCtrlReturn(bool bWant) { m_bWantCtrlReturn = bWant; }
    // 0: no limit of our own.
    int MaxChar() const { return m_nMaxChar; }
    void SetMaxChar(int nMax);
    // PFA_LEFT, PFA_CENTER or PFA_RIGHT.
    WORD Alignment() const { return m_wAlignment; }
    void SetAlignment(WORD wAlignment);
    int FontIndex() const { return m_iFont; }
    void SetFont(int iFont);
    DWORD TextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD dwColor);
    RECT TextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    CUIString TipValue() const { return m_look.tipValue; }

    // Sends a message to the text services; 0 without them.
    LRESULT SendTextMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The text services, null before the control meets a manager or when the system has none.
    ITextServices* TextServices() const;

    // Asked by the text host.
    RECT TextRect() const;
    DWORD TextPropertyBits() const;
    DWORD ScrollBarBits() const;
    DWORD TextLimit() const;
    DWORD CaretColor() const;
    void OnTxTextChanged();
    void OnTxScrollChanged() { m_bScrollStateChanged = true; }
    void OnTxInvalidate(const RECT* prc);

private:
    void CreateHost();
    void DestroyHost();
    void ChangeProperty(DWORD dwBit, bool bOn);
    CHARFORMAT2W CharFormat() const;
    void UpdateCharFormat();
    void SyncScrollBars();
    bool SyncBar(CScrollBarUI* pBar, bool bVertical);
    void PlaceBars();
    bool HandleKeyDown(const ControlEvent& event);
    bool TakesLineKey(WORD wKeyState) const;
    void ForwardMouse(UINT uMsg, const ControlEvent& event);
    void ApplyFlagAttribute(const wchar_t* pstrName, bool bValue);

    Microsoft::WRL::ComPtr<CTxtWinHost> m_host;
    TextEntryLook m_look;
    bool m_bRich = true;
    bool m_bMultiLine = true;
    bool m_bReadOnly = false;
    bool m_bPassword = false;
    bool m_bWantTab = true;
    bool m_bWantReturn = true;
    bool m_bWantCtrlReturn = true;
    bool m_bVScrollBar = false;
    bool m_bAutoVScroll = false;
    bool m_bHScrollBar = false;
    bool m_bAutoHScroll = false;
    int m_nMaxChar = 0;
    WORD m_wAlignment = 1; // PFA_LEFT
    int m_iFont = -1;
    DWORD m_dwTextColor = 0;
    RECT m_rcTextPadding = {2, 2, 2, 2};
    bool m_bInPlaceActive = false;
    bool m_bSettingText = false;
    bool m_bScrollStateChanged = false;
    bool m_bLineKeyTaken = true;
    bool m_bMouseDown = false;
    CWindowManagerUI* m_pFilterManager = nullptr;
};

} // namespace Tarvo
