#include "controls/Option.h"

#include "controls/AttributeValue.h"
#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include <cwchar>

namespace Tarvo {

namespace {

using OptionSetter = void (*)(COptionUI& option, const wchar_t* pstrValue);

struct OptionAttribute {
    const wchar_t* name;
    OptionSetter setter;
};

} // namespace

COptionUI::COptionUI() = default;

COptionUI::~COptionUI()
{
    LeaveGroup();
}

const wchar_t* COptionUI::TypeName() const
{
    return L"OptionUI";
}

void* COptionUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Option") == 0) {
        return this;
    }
    return CButtonUI::LookupInterface(pstrName);
}

void COptionUI::JoinGroup()
{
    if (m_pManager == nullptr || m_strGroupName.IsEmpty()) {
        return;
    }
    m_pManager->JoinOptionGroup(m_strGroupName, this);
    m_pGroupManager = m_pManager;
}

void COptionUI::LeaveGroup()
{
    if (m_pGroupManager != nullptr && !m_strGroupName.IsEmpty()) {
        m_pGroupManager->LeaveOptionGroup(m_strGroupName, this);
    }
    m_pGroupManager = nullptr;
}

void COptionUI::AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize)
{
    if (m_pGroupManager != nullptr && m_pGroupManager != pManager) {
        LeaveGroup();
    }
    CButtonUI::AttachTo(pManager, pParent, bInitialize);
    if (bInitialize) {
        JoinGroup();
    }
}

void COptionUI::SetGroup(const wchar_t* pstrGroupName)
{
    const wchar_t* pstrNew = pstrGroupName != nullptr ? pstrGroupName : L"";
    if (m_strGroupName == pstrNew) {
        return;
    }
    LeaveGroup();
    m_strGroupName = pstrNew;
    JoinGroup();
    SetSelected(m_bSelected);
}

void COptionUI::DeselectOthers()
{
    const CUIPtrList* pGroup = m_pManager->OptionGroup(m_strGroupName);
    if (pGroup == nullptr) {
        return;
    }
    for (int i = 0; i < pGroup->GetSize(); ++i) {
        auto* pControl = static_cast<CControlUI*>(pGroup->GetAt(i));
        auto* pOption = static_cast<COptionUI*>(pControl->LookupInterface(L"Option"));
        if (pOption != nullptr && pOption != this) {
            pOption->SetSelected(false);
        }
    }
}

void COptionUI::SetSelected(bool bSelected)
{
    m_bSelected = bSelected;
    m_uButtonState = bSelected ? m_uButtonState | ButtonStateSelected : m_uButtonState & ~ButtonStateSelected;
    if (m_pManager != nullptr) {
        if (m_strGroupName.IsEmpty()) {
            SendNotification(L"selectchanged");
        } else if (bSelected) {
            DeselectOthers();
            SendNotification(L"selectchanged");
        }
    }
    Repaint();
}

bool COptionUI::Invoke()
{
    if (!IsVisible() || !IsEnabled()) {
        return false;
    }
    SendClickAndSwitchTab();
    SetSelected(m_strGroupName.IsEmpty() ? !m_bSelected : true);
    return true;
}

void COptionUI::SetEnabled(bool bEnabled)
{
    if (m_bEnabled != bEnabled) {
        m_bEnabled = bEnabled;
        Repaint();
    }
    if (!m_bEnabled) {
        m_uButtonState &= ButtonStateSelected;
    }
}

void COptionUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type) && m_pParent != nullptr) {
        m_pParent->HandleEvent(event);
        return;
    }
    if (event.type == EventDoubleClick && IsEnabled()) {
        SendNotification(L"dbclick");
    }
    CButtonUI::HandleEvent(event);
}

void COptionUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    static const OptionAttribute table[] = {
        {L"group", [](COptionUI& o, const wchar_t* s) { o.SetGroup(s); }},
        {L"selected", [](COptionUI& o, const wchar_t* s) { o.SetSelected(ParseAttributeBool(s)); }},
        {L"selectedimage", [](COptionUI& o, const wchar_t* s) { StoreImage(o, o.m_strSelectedImage, s); }},
        {L"selectedhotimage", [](COptionUI& o, const wchar_t* s) { StoreImage(o, o.m_strSelectedHotImage, s); }},
        {L"selectedpushedimage", [](COptionUI& o, const wchar_t* s) { StoreImage(o, o.m_strSelectedPushedImage, s); }},
        {L"foreimage", [](COptionUI& o, const wchar_t* s) { StoreImage(o, o.m_strOptionForeImage, s); }},
        {L"selectedforeimage", [](COptionUI& o, const wchar_t* s) { StoreImage(o, o.m_strSelectedForeImage, s); }},
        {L"selectedbkcolor",
         [](COptionUI& o, const wchar_t* s) { o.m_dwSelectedBkColor = ParseAttributeColor(s, true); }},
        {L"selectedtextcolor",
         [](COptionUI& o, const wchar_t* s) { o.m_dwSelectedTextColor = ParseAttributeColor(s, true); }},
    };
    for (const OptionAttribute& entry : table) {
        if (std::wcscmp(entry.name, pstrName) == 0) {
            entry.setter(*this, v);
            return;
        }
    }
    CButtonUI::ApplyAttribute(pstrName, pstrValue);
}

SIZE COptionUI::MeasureSize(SIZE)
{
    return m_szDeclared.cy != 0 ? m_szDeclared : SIZE{m_szDeclared.cx, FontHeight() + 8};
}

// Draws a selected look; one the render engine cannot draw is forgotten and the button's
// looks stand in.
void COptionUI::PaintOrFallBack(HDC hDC, CUIString& strImage)
{
    if (!DrawStateImage(hDC, strImage)) {
        CButtonUI::PaintStateImages(hDC);
    }
}

bool COptionUI::PaintSelectedBody(HDC hDC)
{
    const bool bPushed = (m_uButtonState & ButtonStatePushed) != 0;
    const bool bHot = (m_uButtonState & ButtonStateHot) != 0;
    if (m_bSelected && bPushed && !m_strSelectedPushedImage.IsEmpty()) {
        PaintOrFallBack(hDC, m_strSelectedPushedImage);
    } else if (m_bSelected && bHot && !m_strSelectedHotImage.IsEmpty()) {
        PaintOrFallBack(hDC, m_strSelectedHotImage);
    } else if (m_bSelected && m_strSelectedImage.IsEmpty() && m_dwSelectedBkColor != 0) {
        CSkinRender::FillColor(hDC, m_rcPaint, m_dwSelectedBkColor);
        return false;
    } else if (m_bSelected && !m_strSelectedImage.IsEmpty()) {
        PaintOrFallBack(hDC, m_strSelectedImage);
    } else {
        CButtonUI::PaintStateImages(hDC);
    }
    return true;
}

void COptionUI::PaintStateImages(HDC hDC)
{
    RefreshStateBits();
    if (!PaintSelectedBody(hDC)) {
        return;
    }
    if (m_bSelected && DrawStateImage(hDC, m_strSelectedForeImage)) {
        return;
    }
    DrawStateImage(hDC, m_strOptionForeImage);
}

void COptionUI::PaintTextContent(HDC hDC)
{
    if (!m_bSelected) {
        CButtonUI::PaintTextContent(hDC);
        return;
    }
    RefreshStateBits();
    FillDefaultColors();
    const DWORD dwSelected = m_dwSelectedTextColor != 0 ? m_dwSelectedTextColor : m_dwTextColor;
    PaintTextInColor(hDC, IsEnabled() ? dwSelected : m_dwDisabledTextColor);
}

} // namespace Tarvo
