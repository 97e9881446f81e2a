#include "controls/ListItemLook.h"

#include "controls/AttributeValue.h"
#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

namespace {

using LookSetter = void (*)(ListItemLook& look, const wchar_t* pstrValue);

struct LookAttribute {
    const wchar_t* name;
    LookSetter setter;
};

DWORD Color(const wchar_t* pstrValue)
{
    return ParseAttributeColor(pstrValue, true);
}

UINT WithFlag(UINT uStyle, UINT uFlag, bool bOn)
{
    return bOn ? uStyle | uFlag : uStyle & ~uFlag;
}

const LookAttribute kLookAttributes[] = {
    {L"itemfont", [](ListItemLook& l, const wchar_t* v) { l.font = ParseAttributeInt(v); }},
    {L"itemalign", [](ListItemLook& l, const wchar_t* v) { l.textStyle = ApplyAlignment(l.textStyle, v); }},
    {L"itemendellipsis",
     [](ListItemLook& l, const wchar_t* v) { l.textStyle = WithFlag(l.textStyle, DT_END_ELLIPSIS, ParseAttributeBool(v)); }},
    {L"itemtextpadding", [](ListItemLook& l, const wchar_t* v) { l.textPadding = ParseAttributeRect(v); }},
    {L"itemtextcolor", [](ListItemLook& l, const wchar_t* v) { l.textColor = Color(v); }},
    {L"itembkcolor", [](ListItemLook& l, const wchar_t* v) { l.bkColor = Color(v); }},
    {L"itembkimage", [](ListItemLook& l, const wchar_t* v) { l.bkImage = v; }},
    {L"itemaltbk", [](ListItemLook& l, const wchar_t* v) { l.altBk = ParseAttributeBool(v); }},
    {L"itemselectedtextcolor", [](ListItemLook& l, const wchar_t* v) { l.selectedTextColor = Color(v); }},
    {L"itemselectedbkcolor", [](ListItemLook& l, const wchar_t* v) { l.selectedBkColor = Color(v); }},
    {L"itemselectedimage", [](ListItemLook& l, const wchar_t* v) { l.selectedImage = v; }},
    {L"itemhottextcolor", [](ListItemLook& l, const wchar_t* v) { l.hotTextColor = Color(v); }},
    {L"itemhotbkcolor", [](ListItemLook& l, const wchar_t* v) { l.hotBkColor = Color(v); }},
    {L"itemhotimage", [](ListItemLook& l, const wchar_t* v) { l.hotImage = v; }},
    {L"itemdisabledtextcolor", [](ListItemLook& l, const wchar_t* v) { l.disabledTextColor = Color(v); }},
    {L"itemdisabledbkcolor", [](ListItemLook& l, const wchar_t* v) { l.disabledBkColor = Color(v); }},
    {L"itemdisabledimage", [](ListItemLook& l, const wchar_t* v) { l.disabledImage = v; }},
    {L"itemlinecolor", [](ListItemLook& l, const wchar_t* v) { l.lineColor = Color(v); }},
    {L"itemshowhtml", [](ListItemLook& l, const wchar_t* v) { l.showHtml = ParseAttributeBool(v); }},
};

struct RowLook {
    DWORD color;
    const CUIString* image;
};

// Disabled before selected before hot; a plain row shows the item background, on every second
// row only when the rows alternate.
RowLook LookFor(const ListItemLook& look, int nIndex, UINT uState)
{
    if ((uState & RowStateDisabled) != 0) {
        return {look.disabledBkColor, &look.disabledImage};
    }
    if ((uState & RowStateSelected) != 0) {
        return {look.selectedBkColor, &look.selectedImage};
    }
    if ((uState & RowStateHot) != 0) {
        return {look.hotBkColor, &look.hotImage};
    }
    if (look.altBk && nIndex % 2 == 0) {
        return {0, nullptr};
    }
    return {look.bkColor, &look.bkImage};
}

} // namespace

UINT ApplyAlignment(UINT uStyle, const wchar_t* pstrValue)
{
    const UINT uMask = DT_LEFT | DT_CENTER | DT_RIGHT;
    if (std::wcscmp(pstrValue, L"left") == 0) {
        return (uStyle & ~uMask) | DT_LEFT;
    }
    if (std::wcscmp(pstrValue, L"center") == 0) {
        return (uStyle & ~uMask) | DT_CENTER;
    }
    if (std::wcscmp(pstrValue, L"right") == 0) {
        return (uStyle & ~uMask) | DT_RIGHT;
    }
    return uStyle;
}

bool ApplyListItemAttribute(ListItemLook& look, const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return false;
    }
    for (const LookAttribute& attribute : kLookAttributes) {
        if (std::wcscmp(attribute.name, pstrName) == 0) {
            attribute.setter(look, pstrValue != nullptr ? pstrValue : L"");
            return true;
        }
    }
    return false;
}

void PaintListRowBackground(HDC hDC, CWindowManagerUI* pManager, const RECT& rcRow, const RECT& rcPaint,
                            const ListItemLook& look, int nIndex, UINT uState)
{
    const RowLook row = LookFor(look, nIndex, uState);
    RECT rcFill;
    if (row.color != 0 && ::IntersectRect(&rcFill, &rcRow, &rcPaint)) {
        CSkinRender::FillColor(hDC, rcFill, row.color);
    }
    if (row.image != nullptr && !row.image->IsEmpty() && pManager != nullptr) {
        CSkinRender::PaintImageSpec(hDC, pManager, rcRow, rcPaint, *row.image);
    }
    if (look.lineColor != 0) {
        const RECT rcLine = {rcRow.left, rcRow.bottom - 1, rcRow.right, rcRow.bottom - 1};
        CSkinRender::StrokeLine(hDC, rcLine, 1, look.lineColor);
    }
}

DWORD ListRowTextColor(const ListItemLook& look, UINT uState)
{
    if ((uState & RowStateDisabled) != 0) {
        return look.disabledTextColor;
    }
    if ((uState & RowStateSelected) != 0) {
        return look.selectedTextColor;
    }
    if ((uState & RowStateHot) != 0) {
        return look.hotTextColor;
    }
    return look.textColor;
}

void PaintListText(HDC hDC, CWindowManagerUI* pManager, RECT rc, const wchar_t* pstrText, DWORD dwColor, int iFont,
                   UINT uStyle, bool bHtml, RECT* prcLinks, CUIString* pLinkTexts, int* pnLinks)
{
    if (pManager == nullptr || pstrText == nullptr) {
        return;
    }
    if (!bHtml) {
        if (pnLinks != nullptr) {
            *pnLinks = 0;
        }
        CSkinRender::PaintText(hDC, pManager, rc, pstrText, dwColor, iFont, uStyle);
        return;
    }
    int nLinks = pnLinks != nullptr ? *pnLinks : 0;
    CSkinRender::PaintHtmlText(hDC, pManager, rc, pstrText, dwColor, prcLinks, pLinkTexts, nLinks, uStyle);
    if (pnLinks != nullptr) {
        *pnLinks = nLinks;
    }
}

int DefaultRowHeight(CWindowManagerUI* pManager, const ListItemLook& look)
{
    int nLine = 12;
    if (pManager != nullptr) {
        const UIFontInfo* pFont = look.font >= 0 ? pManager->FontInfoAt(look.font) : nullptr;
        if (pFont == nullptr) {
            pFont = pManager->DefaultFontInfo();
        }
        if (pFont != nullptr && pFont->metrics.tmHeight > 0) {
            nLine = pFont->metrics.tmHeight;
        }
    }
    const int nHeight = nLine + 8 + look.textPadding.top + look.textPadding.bottom;
    return nHeight > 0 ? nHeight : 1;
}

} // namespace Tarvo

#include "controls/Container.h"

namespace Tarvo {

void ScrollRowIntoView(CContainerUI& box, const CControlUI& row)
{
    const RECT rcRow = row.Position();
    const RECT rcClient = box.ClientRect();
    int dy = 0;
    if (rcRow.top < rcClient.top) {
        dy = rcRow.top - rcClient.top;
    } else if (rcRow.bottom > rcClient.bottom) {
        // A row taller than the client area shows its top.
        dy = std::min(rcRow.bottom - rcClient.bottom, rcRow.top - rcClient.top);
    }
    if (dy != 0) {
        SIZE szPos = box.ScrollPosition();
        szPos.cy += dy;
        box.SetScrollPosition(szPos);
    }
}

} // namespace Tarvo

namespace Tarvo {

int FindRowForKey(const CContainerUI& rows, int nCur, WPARAM vk, int nPageRows)
{
    const int nCount = rows.ItemCount();
    const int nPage = std::max(nPageRows, 1);
    switch (vk) {
    case VK_UP:
        return nCur < 0 ? rows.FindSelectable(0, true) : rows.FindSelectable(nCur - 1, false);
    case VK_DOWN:
        return rows.FindSelectable(nCur + 1, true);
    case VK_HOME:
        return rows.FindSelectable(0, true);
    case VK_END:
        return rows.FindSelectable(nCount - 1, false);
    case VK_PRIOR:
        return rows.FindSelectable(std::max(nCur - nPage, 0), false);
    case VK_NEXT:
        return rows.FindSelectable(std::min(std::max(nCur, 0) + nPage, nCount - 1), false);
    default:
        return -2;
    }
}

} // namespace Tarvo
