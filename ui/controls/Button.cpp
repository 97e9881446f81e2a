#include "controls/Button.h"

#include "controls/AttributeValue.h"
#include "controls/TabLayout.h"
#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include <cwchar>

namespace Tarvo {

namespace {

using ButtonSetter = void (*)(CButtonUI& button, const wchar_t* pstrValue);

struct ButtonAttribute {
    const wchar_t* name;
    ButtonSetter setter;
};

UINT MultilineStyle(UINT uStyle, bool bMultiline)
{
    return bMultiline ? (uStyle & ~static_cast<UINT>(DT_SINGLELINE)) | DT_WORDBREAK
                      : (uStyle & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE;
}

} // namespace

CButtonUI::CButtonUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

CButtonUI::~CButtonUI() = default;

const wchar_t* CButtonUI::TypeName() const
{
    return L"ButtonUI";
}

void* CButtonUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Button") == 0) {
        return this;
    }
    return CLabelUI::LookupInterface(pstrName);
}

UINT CButtonUI::InputFlags()
{
    return (IsKeyboardEnabled() ? static_cast<UINT>(InputTabStop) : 0U) |
           (IsEnabled() ? static_cast<UINT>(InputSetCursor) : 0U);
}

void CButtonUI::SendClickAndSwitchTab()
{
    if (m_pManager == nullptr) {
        return;
    }
    SendNotification(L"click");
    if (m_strBindTabLayoutName.IsEmpty() || m_iBindTabIndex < 0) {
        return;
    }
    // A name that belongs to something other than a tab layout switches nothing.
    CControlUI* pControl = m_pManager->ControlByName(m_strBindTabLayoutName);
    auto* pTab = pControl != nullptr ? static_cast<CTabLayoutUI*>(pControl->LookupInterface(L"TabLayout")) : nullptr;
    if (pTab != nullptr) {
        pTab->SelectItem(m_iBindTabIndex);
    }
}

bool CButtonUI::Invoke()
{
    if (!IsVisible() || !IsEnabled()) {
        return false;
    }
    SendClickAndSwitchTab();
    return true;
}

void CButtonUI::SetEnabled(bool bEnabled)
{
    if (m_bEnabled != bEnabled) {
        m_bEnabled = bEnabled;
        Repaint();
    }
    if (!m_bEnabled) {
        m_uButtonState = 0;
    }
}

// Pressing, dragging and releasing: true when the event is done with.
bool CButtonUI::HandleMouseButton(ControlEvent& event)
{
    const bool bInside = ::PtInRect(&m_rcItem, event.mousePoint) != FALSE;
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        if (bInside && IsEnabled()) {
            m_uButtonState |= ButtonStatePushed | ButtonStateCaptured;
            Repaint();
        }
        return true;
    case EventMouseMove:
        if ((m_uButtonState & ButtonStateCaptured) != 0) {
            m_uButtonState = bInside ? m_uButtonState | ButtonStatePushed : m_uButtonState & ~ButtonStatePushed;
            Repaint();
        }
        return true;
    case EventButtonUp:
        if ((m_uButtonState & ButtonStateCaptured) != 0) {
            // Clear first: "click" may disable or hide the button.
            m_uButtonState &= ~(ButtonStatePushed | ButtonStateCaptured);
            if (bInside) {
                Invoke();
            }
            Repaint();
        }
        return true;
    default:
        return false;
    }
}

void CButtonUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr) {
            m_pParent->HandleEvent(event);
        } else {
            CLabelUI::HandleEvent(event);
        }
        return;
    }
    if (event.type == EventSetFocus || event.type == EventKillFocus) {
        Repaint();
    }
    if (event.type == EventKeyDown && IsKeyboardEnabled() &&
        (event.keyChar == VK_SPACE || event.keyChar == VK_RETURN)) {
        Invoke();
        return;
    }
    if (HandleMouseButton(event)) {
        return;
    }
    switch (event.type) {
    case EventContextMenu:
        if (IsContextMenuEnabled()) {
            SendNotification(L"menu", event.wParam, event.lParam);
        }
        return;
    case EventMouseEnter:
    case EventMouseLeave:
        if (IsEnabled()) {
            m_uButtonState =
                event.type == EventMouseEnter ? m_uButtonState | ButtonStateHot : m_uButtonState & ~ButtonStateHot;
            Repaint();
        }
        break;
    case EventSetCursor:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
    case EventSetFocus:
    case EventKillFocus:
        m_bFocused = event.type == EventSetFocus;
        return;
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

void CButtonUI::StoreImage(CControlUI& control, CUIString& field, const wchar_t* pstrValue)
{
    field = pstrValue;
    control.Repaint();
}

void CButtonUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    // Captureless lambdas inside a member keep the member's access to the fields.
    static const ButtonAttribute table[] = {
        {L"normalimage", [](CButtonUI& b, const wchar_t* s) { StoreImage(b, b.m_strNormalImage, s); }},
        {L"hotimage", [](CButtonUI& b, const wchar_t* s) { StoreImage(b, b.m_strHotImage, s); }},
        {L"pushedimage", [](CButtonUI& b, const wchar_t* s) { StoreImage(b, b.m_strPushedImage, s); }},
        {L"focusedimage", [](CButtonUI& b, const wchar_t* s) { StoreImage(b, b.m_strFocusedImage, s); }},
        {L"disabledimage", [](CButtonUI& b, const wchar_t* s) { StoreImage(b, b.m_strDisabledImage, s); }},
        {L"foreimage", [](CButtonUI& b, const wchar_t* s) { StoreImage(b, b.m_strForeImage, s); }},
        {L"hotforeimage", [](CButtonUI& b, const wchar_t* s) { StoreImage(b, b.m_strHotForeImage, s); }},
        {L"pushedforeimage", [](CButtonUI& b, const wchar_t* s) { StoreImage(b, b.m_strPushedForeImage, s); }},
        {L"bindtabindex",
         [](CButtonUI& b, const wchar_t* s) {
             const int nIndex = ParseAttributeInt(s);
             if (nIndex >= 0) {
                 b.m_iBindTabIndex = nIndex;
             }
         }},
        {L"bindtablayoutname", [](CButtonUI& b, const wchar_t* s) { b.m_strBindTabLayoutName = s; }},
        {L"hotbkcolor", [](CButtonUI& b, const wchar_t* s) { b.m_dwHotBkColor = ParseAttributeColor(s, true); }},
        {L"hottextcolor", [](CButtonUI& b, const wchar_t* s) { b.m_dwHotTextColor = ParseAttributeColor(s, true); }},
        {L"pushedtextcolor",
         [](CButtonUI& b, const wchar_t* s) { b.m_dwPushedTextColor = ParseAttributeColor(s, true); }},
        {L"focusedtextcolor",
         [](CButtonUI& b, const wchar_t* s) { b.m_dwFocusedTextColor = ParseAttributeColor(s, true); }},
        {L"multiline",
         [](CButtonUI& b, const wchar_t* s) { b.SetTextStyle(MultilineStyle(b.m_uTextStyle, ParseAttributeBool(s))); }},
    };
    for (const ButtonAttribute& entry : table) {
        if (std::wcscmp(entry.name, pstrName) == 0) {
            entry.setter(*this, v);
            return;
        }
    }
    CLabelUI::ApplyAttribute(pstrName, pstrValue);
}

SIZE CButtonUI::MeasureSize(SIZE)
{
    if (m_szDeclared.cy == 0) {
        return SIZE{m_szDeclared.cx, FontHeight() + 8};
    }
    if (m_bAutoCalcWidth) {
        RecalculateWidth();
    }
    return m_szDeclared;
}

void CButtonUI::RefreshStateBits()
{
    m_uButtonState = IsFocused() ? m_uButtonState | ButtonStateFocused : m_uButtonState & ~ButtonStateFocused;
    m_uButtonState = !IsEnabled() ? m_uButtonState | ButtonStateDisabled : m_uButtonState & ~ButtonStateDisabled;
}

bool CButtonUI::DrawStateImage(HDC hDC, CUIString& strImage)
{
    if (strImage.IsEmpty()) {
        return false;
    }
    if (!CSkinRender::PaintImageSpec(hDC, m_pManager, m_rcItem, m_rcPaint, strImage)) {
        strImage.Empty();
        return false;
    }
    return true;
}

// What a state's own look leaves to draw after it.
CButtonUI::StateImageStep CButtonUI::PaintStateWithFore(HDC hDC, CUIString& strImage, CUIString& strForeImage)
{
    if (strImage.IsEmpty()) {
        return StateImageStep::Normal;
    }
    DrawStateImage(hDC, strImage);
    return DrawStateImage(hDC, strForeImage) ? StateImageStep::Stop : StateImageStep::Foreground;
}

CButtonUI::StateImageStep CButtonUI::PaintStateBody(HDC hDC)
{
    const UINT uState = m_uButtonState;
    if ((uState & ButtonStateDisabled) != 0) {
        return DrawStateImage(hDC, m_strDisabledImage) ? StateImageStep::Foreground : StateImageStep::Normal;
    }
    if ((uState & ButtonStatePushed) != 0) {
        return PaintStateWithFore(hDC, m_strPushedImage, m_strPushedForeImage);
    }
    if ((uState & ButtonStateHot) != 0) {
        if (!m_strHotImage.IsEmpty()) {
            return PaintStateWithFore(hDC, m_strHotImage, m_strHotForeImage);
        }
        if (m_dwHotBkColor != 0) {
            CSkinRender::FillColor(hDC, m_rcPaint, m_dwHotBkColor);
            return StateImageStep::Stop;
        }
        return StateImageStep::Normal;
    }
    if ((uState & ButtonStateFocused) != 0 && DrawStateImage(hDC, m_strFocusedImage)) {
        return StateImageStep::Foreground;
    }
    return StateImageStep::Normal;
}

void CButtonUI::PaintStateImages(HDC hDC)
{
    RefreshStateBits();
    const StateImageStep step = PaintStateBody(hDC);
    if (step == StateImageStep::Stop) {
        return;
    }
    if (step == StateImageStep::Normal) {
        DrawStateImage(hDC, m_strNormalImage);
    }
    DrawStateImage(hDC, m_strForeImage);
}

DWORD CButtonUI::StateTextColor() const
{
    if ((m_uButtonState & ButtonStatePushed) != 0 && m_dwPushedTextColor != 0) {
        return m_dwPushedTextColor;
    }
    if ((m_uButtonState & ButtonStateHot) != 0 && m_dwHotTextColor != 0) {
        return m_dwHotTextColor;
    }
    if ((m_uButtonState & ButtonStateFocused) != 0 && m_dwFocusedTextColor != 0) {
        return m_dwFocusedTextColor;
    }
    return IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
}

void CButtonUI::PaintTextInColor(HDC hDC, DWORD dwColor)
{
    if (m_strText.IsEmpty()) {
        return;
    }
    PaintLabelText(hDC, TextRect(), dwColor, m_uTextStyle);
}

void CButtonUI::PaintTextContent(HDC hDC)
{
    RefreshStateBits();
    FillDefaultColors();
    PaintTextInColor(hDC, StateTextColor());
}

} // namespace Tarvo
