#include "controls/AttributeValue.h"
#include "controls/Control.h"

#include <cwchar>

namespace Tarvo {

namespace {

using AttributeSetter = void (*)(CControlUI& control, const wchar_t* pstrValue);

struct AttributeEntry {
    const wchar_t* name;
    AttributeSetter setter;
};

void ApplyPos(CControlUI& control, const wchar_t* pstrValue)
{
    const RECT rc = ParseAttributeRect(pstrValue);
    control.SetFixedOffset(rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom);
    control.SetDeclaredWidth(rc.right - rc.left);
    control.SetDeclaredHeight(rc.bottom - rc.top);
}

void ApplyRelativePos(CControlUI& control, const wchar_t* pstrValue)
{
    const RECT rc = ParseAttributeRect(pstrValue);
    control.SetRelativePosition(rc.left, rc.top, rc.right, rc.bottom);
}

} // namespace

void CControlUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    if (pstrValue == nullptr) {
        pstrValue = L"";
    }
    // Captureless lambdas inside a member keep the member's access to the fields.
    static const AttributeEntry table[] = {
        {L"pos", ApplyPos},
        {L"relativepos", ApplyRelativePos},
        {L"padding", [](CControlUI& c, const wchar_t* v) { c.SetPadding(ParseAttributeRect(v)); }},
        {L"bkcolor",
         [](CControlUI& c, const wchar_t* v) { c.StoreColor(c.m_dwBackColor, ParseAttributeColor(v, true)); }},
        {L"bkcolor1",
         [](CControlUI& c, const wchar_t* v) { c.StoreColor(c.m_dwBackColor, ParseAttributeColor(v, true)); }},
        {L"bkcolor2",
         [](CControlUI& c, const wchar_t* v) { c.StoreColor(c.m_dwBackColor2, ParseAttributeColor(v, true)); }},
        {L"bkcolor3",
         [](CControlUI& c, const wchar_t* v) { c.StoreColor(c.m_dwBackColor3, ParseAttributeColor(v, true)); }},
        {L"bordercolor",
         [](CControlUI& c, const wchar_t* v) { c.StoreColor(c.m_dwBorderColor, ParseAttributeColor(v, false)); }},
        {L"focusbordercolor",
         [](CControlUI& c, const wchar_t* v) { c.StoreColor(c.m_dwFocusBorderColor, ParseAttributeColor(v, false)); }},
        {L"bordersize", [](CControlUI& c, const wchar_t* v) { c.ApplyBorderSize(v); }},
        {L"leftbordersize",
         [](CControlUI& c, const wchar_t* v) {
             c.m_rcSideBorderSize.left = ParseAttributeInt(v);
             c.Repaint();
         }},
        {L"topbordersize",
         [](CControlUI& c, const wchar_t* v) {
             c.m_rcSideBorderSize.top = ParseAttributeInt(v);
             c.Repaint();
         }},
        {L"rightbordersize",
         [](CControlUI& c, const wchar_t* v) {
             c.m_rcSideBorderSize.right = ParseAttributeInt(v);
             c.Repaint();
         }},
        {L"bottombordersize",
         [](CControlUI& c, const wchar_t* v) {
             c.m_rcSideBorderSize.bottom = ParseAttributeInt(v);
             c.Repaint();
         }},
        {L"borderstyle",
         [](CControlUI& c, const wchar_t* v) {
             c.m_nBorderStyle = ParseAttributeInt(v);
             c.Repaint();
         }},
        {L"borderround",
         [](CControlUI& c, const wchar_t* v) {
             c.m_szBorderRound = ParseAttributeSize(v);
             c.Repaint();
         }},
        {L"bkimage",
         [](CControlUI& c, const wchar_t* v) {
             if (c.m_strBkImage != v) {
                 c.m_strBkImage = v;
                 c.Repaint();
             }
         }},
        {L"width", [](CControlUI& c, const wchar_t* v) { c.SetDeclaredWidth(ParseAttributeInt(v)); }},
        {L"height", [](CControlUI& c, const wchar_t* v) { c.SetDeclaredHeight(ParseAttributeInt(v)); }},
        {L"minwidth", [](CControlUI& c, const wchar_t* v) { c.SetMinWidth(ParseAttributeInt(v)); }},
        {L"minheight", [](CControlUI& c, const wchar_t* v) { c.SetMinHeight(ParseAttributeInt(v)); }},
        {L"maxwidth", [](CControlUI& c, const wchar_t* v) { c.SetMaxWidth(ParseAttributeInt(v)); }},
        {L"maxheight", [](CControlUI& c, const wchar_t* v) { c.SetMaxHeight(ParseAttributeInt(v)); }},
        {L"name", [](CControlUI& c, const wchar_t* v) { c.SetName(v); }},
        {L"text", [](CControlUI& c, const wchar_t* v) { c.SetText(v); }},
        {L"tooltip", [](CControlUI& c, const wchar_t* v) { c.SetToolTip(v); }},
        {L"userdata", [](CControlUI& c, const wchar_t* v) { c.SetUserData(v); }},
        {L"enabled", [](CControlUI& c, const wchar_t* v) { c.SetEnabled(ParseAttributeBool(v)); }},
        {L"mouse", [](CControlUI& c, const wchar_t* v) { c.SetMouseEnabled(ParseAttributeBool(v)); }},
        {L"keyboard", [](CControlUI& c, const wchar_t* v) { c.SetKeyboardEnabled(ParseAttributeBool(v)); }},
        {L"visible", [](CControlUI& c, const wchar_t* v) { c.SetVisible(ParseAttributeBool(v)); }},
        {L"float", [](CControlUI& c, const wchar_t* v) { c.SetFloating(ParseAttributeBool(v)); }},
        {L"shortcut", [](CControlUI& c, const wchar_t* v) { c.SetShortcut(v[0]); }},
        {L"menu", [](CControlUI& c, const wchar_t* v) { c.SetContextMenuEnabled(ParseAttributeBool(v)); }},
        {L"virtualwnd", [](CControlUI& c, const wchar_t* v) { c.SetVirtualWindowName(v); }},
    };
    for (const AttributeEntry& entry : table) {
        if (std::wcscmp(entry.name, pstrName) == 0) {
            entry.setter(*this, pstrValue);
            return;
        }
    }
}

void CControlUI::StoreColor(DWORD& field, DWORD dwColor)
{
    if (field != dwColor) {
        field = dwColor;
        Repaint();
    }
}

void CControlUI::ApplyBorderSize(const wchar_t* pstrValue)
{
    if (std::wcschr(pstrValue, L',') == nullptr) {
        const int nSize = ParseAttributeInt(pstrValue);
        m_rcSideBorderSize = RECT{0, 0, 0, 0};
        m_nBorderSize = nSize;
    } else {
        m_rcSideBorderSize = ParseAttributeRect(pstrValue);
    }
    Repaint();
}

void CControlUI::SetForegroundImage(const wchar_t* pstrImage)
{
    if (m_strForeImage != pstrImage) {
        m_strForeImage = pstrImage;
        Repaint();
    }
}

namespace {

// Copies one character, a surrogate pair whole, and returns the position after it.
const wchar_t* CopyChar(const wchar_t* p, CUIString& out)
{
    const wchar_t* pNext = ::CharNextW(p);
    if (pNext == p) {
        pNext = p + 1;
    }
    out.Append(p, static_cast<int>(pNext - p));
    return pNext;
}

} // namespace

void CControlUI::ApplyAttributeString(const wchar_t* pstrList)
{
    const wchar_t* p = pstrList != nullptr ? pstrList : L"";
    while (*p != L'\0') {
        CUIString strName;
        while (*p != L'\0' && *p != L'=') {
            p = CopyChar(p, strName);
        }
        if (*p != L'=' || p[1] != L'"') {
            return;
        }
        p += 2;
        CUIString strValue;
        while (*p != L'\0' && *p != L'"') {
            p = CopyChar(p, strValue);
        }
        if (*p != L'"') {
            return;
        }
        ++p;
        ApplyAttribute(strName, strValue);
        if (*p != L' ' || p[1] == L'\0') {
            return;
        }
        ++p;
    }
}

} // namespace Tarvo
