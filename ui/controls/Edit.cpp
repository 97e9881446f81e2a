#include "controls/Edit.h"

#include "controls/AttributeValue.h"
#include "controls/EditWnd.h"
#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include <cwchar>
#include <string>
#include <utility>

namespace Tarvo {

namespace {

using EditSetter = void (*)(CEditUI& edit, const wchar_t* pstrValue);

struct EditAttribute {
    const wchar_t* name;
    EditSetter setter;
};

const EditAttribute kEditAttributes[] = {
    {L"readonly", [](CEditUI& e, const wchar_t* v) { e.SetReadOnly(ParseAttributeBool(v)); }},
    {L"numberonly", [](CEditUI& e, const wchar_t* v) { e.SetNumberOnly(ParseAttributeBool(v)); }},
    {L"password", [](CEditUI& e, const wchar_t* v) { e.SetPasswordMode(ParseAttributeBool(v)); }},
    {L"passwordchar", [](CEditUI& e, const wchar_t* v) { e.SetPasswordChar(v[0]); }},
    {L"maxchar", [](CEditUI& e, const wchar_t* v) { e.SetMaxChar(ParseAttributeInt(v)); }},
};

} // namespace

CEditUI::CEditUI()
{
    m_rcTextPadding = {4, 3, 4, 3};
}

CEditUI::~CEditUI()
{
    if (m_pWindow != nullptr) {
        std::exchange(m_pWindow, nullptr)->Abandon();
    }
}

const wchar_t* CEditUI::TypeName() const
{
    return L"EditUI";
}

void* CEditUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Edit") == 0) {
        return this;
    }
    return CLabelUI::LookupInterface(pstrName);
}

UINT CEditUI::InputFlags()
{
    return IsEnabled() ? InputTabStop | InputSetCursor : 0;
}

void CEditUI::SetText(const wchar_t* pstrText)
{
    CLabelUI::SetText(pstrText);
    if (m_pWindow != nullptr) {
        m_pWindow->SetText(m_strText);
    }
}

void CEditUI::SetPosition(RECT rc)
{
    CLabelUI::SetPosition(rc);
    if (m_pWindow != nullptr) {
        m_pWindow->Place();
    }
}

void CEditUI::SetVisible(bool bVisible)
{
    if (!bVisible) {
        CloseWindow();
    }
    CLabelUI::SetVisible(bVisible);
}

void CEditUI::SetAncestorVisible(bool bVisible)
{
    if (!bVisible) {
        CloseWindow();
    }
    CLabelUI::SetAncestorVisible(bVisible);
}

void CEditUI::SetEnabled(bool bEnabled)
{
    if (!bEnabled) {
        CloseWindow();
    }
    CLabelUI::SetEnabled(bEnabled);
}

void CEditUI::SetReadOnly(bool bReadOnly)
{
    m_bReadOnly = bReadOnly;
    ReopenWindow();
}

void CEditUI::SetNumberOnly(bool bNumberOnly)
{
    m_bNumberOnly = bNumberOnly;
    ReopenWindow();
}

void CEditUI::SetPasswordMode(bool bPassword)
{
    m_bPassword = bPassword;
    ReopenWindow();
    Repaint();
}

void CEditUI::SetPasswordChar(WCHAR ch)
{
    // An empty value would hide the text for good: the mask keeps its character then.
    if (ch != 0) {
        m_chPassword = ch;
        ReopenWindow();
        Repaint();
    }
}

void CEditUI::SetMaxChar(int nMax)
{
    // The system's edit knows no negative limit; 0 and below mean none of our own.
    m_nMaxChar = nMax > 0 ? nMax : 0;
    ReopenWindow();
}

void CEditUI::SetTipValue(const wchar_t* pstrTip)
{
    m_look.tipValue = pstrTip != nullptr ? pstrTip : L"";
    Repaint();
}

DWORD CEditUI::NativeTextColor() const
{
    if (m_dwNativeTextColor != 0) {
        return m_dwNativeTextColor;
    }
    if (m_dwTextColor != 0) {
        return m_dwTextColor;
    }
    return m_pManager != nullptr ? m_pManager->DefaultFontColor() : 0xFF000000;
}

DWORD CEditUI::NativeBkColor() const
{
    if (m_dwNativeBkColor != 0) {
        return m_dwNativeBkColor;
    }
    return m_dwBackColor != 0 ? m_dwBackColor : 0xFFFFFFFF;
}

HFONT CEditUI::Font() const
{
    if (m_pManager == nullptr) {
        return nullptr;
    }
    const UIFontInfo* pFont = m_pManager->FontInfoAt(m_iFont);
    return pFont != nullptr ? pFont->hFont : nullptr;
}

RECT CEditUI::EditRect() const
{
    RECT rc = TextRect();
    const int nLine = FontHeight();
    const int nRoom = rc.bottom - rc.top;
    if (nLine > 0 && nRoom > nLine) {
        rc.top += (nRoom - nLine) / 2;
        rc.bottom = rc.top + nLine;
    }
    return rc;
}

void CEditUI::OpenWindow()
{
    if (m_pWindow != nullptr || !IsEnabled() || !IsVisible() || m_pManager == nullptr ||
        m_pManager->WindowHandle() == nullptr) {
        return;
    }
    m_pWindow = CEditWnd::Open(this);
    Repaint();
}

void CEditUI::CloseWindow()
{
    if (m_pWindow != nullptr) {
        m_pWindow->Close(); // calls OnWindowClosing, which forgets it
    }
}

// Style changes reach a native edit only when it is created: an open one is made again.
void CEditUI::ReopenWindow()
{
    if (m_pWindow == nullptr) {
        return;
    }
    CloseWindow();
    OpenWindow();
}

void CEditUI::OnWindowTextChanged(const CUIString& strText)
{
    m_strText = strText;
    SendNotification(L"textchanged");
}

void CEditUI::OnWindowReturn()
{
    SendNotification(L"return");
}

void CEditUI::OnWindowClosing(CEditWnd* pWindow, const CUIString& strText)
{
    if (pWindow != m_pWindow) {
        return;
    }
    m_pWindow = nullptr;
    m_strText = strText;
    Repaint();
}

void CEditUI::HandleEvent(ControlEvent& event)
{
    if (!m_bMouseEnabled && IsMouseEvent(event.type)) {
        CLabelUI::HandleEvent(event);
        return;
    }
    if (m_look.TrackHot(event.type)) {
        Repaint();
    }
    switch (event.type) {
    case EventSetCursor:
        ::SetCursor(::LoadCursorW(nullptr, IsEnabled() ? IDC_IBEAM : IDC_ARROW));
        return;
    case EventSetFocus:
        m_bFocused = true;
        OpenWindow();
        Repaint();
        return;
    case EventKillFocus:
        m_bFocused = false;
        CloseWindow();
        Repaint();
        return;
    case EventButtonDown:
    case EventDoubleClick:
        if (m_bFocused) {
            OpenWindow();
        }
        return;
    case EventChar:
        // The focus came back to the window after the edit window went: typing brings it back.
        if (m_bFocused && m_pWindow == nullptr) {
            OpenWindow();
            if (m_pWindow != nullptr) {
                ::SendMessageW(m_pWindow->WindowHandle(), WM_CHAR, event.keyChar, event.lParam);
            }
        }
        return;
    case EventWindowSize:
        if (m_pWindow != nullptr) {
            m_pWindow->Place();
        }
        return;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

void CEditUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    if (m_look.Apply(pstrName, v)) {
        Repaint();
        return;
    }
    if (std::wcscmp(pstrName, L"nativetextcolor") == 0) {
        m_dwNativeTextColor = ParseAttributeColor(v, true);
        return;
    }
    if (std::wcscmp(pstrName, L"nativebkcolor") == 0) {
        m_dwNativeBkColor = ParseAttributeColor(v, true);
        return;
    }
    for (const EditAttribute& entry : kEditAttributes) {
        if (std::wcscmp(entry.name, pstrName) == 0) {
            entry.setter(*this, v);
            return;
        }
    }
    CLabelUI::ApplyAttribute(pstrName, pstrValue);
}

void CEditUI::PaintStateImages(HDC hDC)
{
    m_look.PaintImages(hDC, m_pManager, m_rcItem, m_rcPaint, IsEnabled(), m_bFocused);
}

CUIString CEditUI::ShownText() const
{
    if (!m_bPassword) {
        return m_strText;
    }
    const std::wstring strMask(static_cast<size_t>(m_strText.GetLength()), m_chPassword);
    return CUIString(strMask.c_str(), static_cast<int>(strMask.size()));
}

void CEditUI::PaintTextContent(HDC hDC)
{
    FillDefaultColors();
    // The open edit window shows the text itself.
    if (m_pWindow != nullptr) {
        return;
    }
    const UINT uStyle = (m_uTextStyle & (DT_CENTER | DT_RIGHT)) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (m_strText.IsEmpty()) {
        m_look.PaintTip(hDC, m_pManager, TextRect(), m_iFont, uStyle);
        return;
    }
    RECT rc = TextRect();
    const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    CSkinRender::PaintText(hDC, m_pManager, rc, ShownText(), dwColor, m_iFont, uStyle);
}

} // namespace Tarvo
