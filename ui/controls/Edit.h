#pragma once

#include "controls/Label.h"
#include "controls/TextEntryLook.h"

namespace Tarvo {

class CEditWnd;

// A single-line text entry. The control paints its text (or the tip, or the password mask); while
// it holds the focus a native edit window lies over it and does the editing.
class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    UINT InputFlags() override;
    void SetText(const wchar_t* pstrText) override;
    void SetPosition(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetAncestorVisible(bool bVisible) override;
    void SetEnabled(bool bEnabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStateImages(HDC hDC) override;
    void PaintTextContent(HDC hDC) override;

    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool bReadOnly);
    bool IsNumberOnly() const { return m_bNumberOnly; }
    void SetNumberOnly(bool bNumberOnly);
    bool IsPasswordMode() const { return m_bPassword; }
    void SetPasswordMode(bool bPassword);
    WCHAR PasswordChar() const { return m_chPassword; }
    void SetPasswordChar(WCHAR ch);
    // 0: no limit of our own (the system's largest).
    int MaxChar() const { return m_nMaxChar; }
    void SetMaxChar(int nMax);
    CUIString TipValue() const { return m_look.tipValue; }
    void SetTipValue(const wchar_t* pstrTip);
    DWORD TipValueColor() const { return m_look.tipValueColor; }
    DWORD NativeTextColor() const;
    DWORD NativeBkColor() const;
    // The open edit window, or null.
    CEditWnd* EditWindow() const { return m_pWindow; }
    // Where the edit window lies: the text rectangle, one font line high and centred in it.
    RECT EditRect() const;
    HFONT Font() const;

    // Called by the edit window.
    void OnWindowTextChanged(const CUIString& strText);
    void OnWindowReturn();
    void OnWindowClosing(CEditWnd* pWindow, const CUIString& strText);

private:
    void OpenWindow();
    void CloseWindow();
    void ReopenWindow();
    CUIString ShownText() const;

    CEditWnd* m_pWindow = nullptr;
    TextEntryLook m_look;
    bool m_bReadOnly = false;
    bool m_bNumberOnly = false;
    bool m_bPassword = false;
    WCHAR m_chPassword = L'*';
    int m_nMaxChar = 0;
    DWORD m_dwNativeTextColor = 0;
    DWORD m_dwNativeBkColor = 0;
};

} // namespace Tarvo
