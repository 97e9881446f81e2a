#pragma once

#include <windows.h>

#include <array>

#include "core/UIString.h"

namespace Tarvo {

class CWindowManagerUI;

// Row states a look is chosen by.
enum : UINT {
    RowStateSelected = 0x01,
    RowStateHot = 0x02,
    RowStateDisabled = 0x04,
};

// How the rows of a list or a combo look: the owner's "item..." attributes and the column
// edges taken from the list's header.
struct ListItemLook {
    static constexpr int MaxColumns = 32;

    int font = -1;
    UINT textStyle = DT_VCENTER | DT_SINGLELINE;
    RECT textPadding = {4, 0, 4, 0};
    DWORD textColor = 0xFF000000;
    DWORD bkColor = 0;
    CUIString bkImage;
    bool altBk = false;
    DWORD selectedTextColor = 0xFF000000;
    DWORD selectedBkColor = 0xFFC1E3FF;
    CUIString selectedImage;
    DWORD hotTextColor = 0xFF000000;
    DWORD hotBkColor = 0xFFE9F5FF;
    CUIString hotImage;
    DWORD disabledTextColor = 0xFFCCCCCC;
    DWORD disabledBkColor = 0;
    CUIString disabledImage;
    DWORD lineColor = 0;
    bool showHtml = false;
    int columnCount = 0;
    // Left and right edges of each column in window coordinates (top and bottom unused).
    using Columns = std::array<RECT, MaxColumns>;
    Columns columns{};
};

// Applies one of the owner's "item..." attributes; false when the name is not one of them.
bool ApplyListItemAttribute(ListItemLook& look, const wchar_t* pstrName, const wchar_t* pstrValue);

// Background colour, image and bottom line of the row with the given index and state.
void PaintListRowBackground(HDC hDC, CWindowManagerUI* pManager, const RECT& rcRow, const RECT& rcPaint,
                            const ListItemLook& look, int nIndex, UINT uState);
DWORD ListRowTextColor(const ListItemLook& look, UINT uState);
// Text of a row cell (plain or markup); links, when asked for, are collected up to *pnLinks.
void PaintListText(HDC hDC, CWindowManagerUI* pManager, RECT rc, const wchar_t* pstrText, DWORD dwColor, int iFont,
                   UINT uStyle, bool bHtml, RECT* prcLinks = nullptr, CUIString* pLinkTexts = nullptr,
                   int* pnLinks = nullptr);
// Height of a row that declares none: one line of the row font with the text padding.
int DefaultRowHeight(CWindowManagerUI* pManager, const ListItemLook& look);
// DT_LEFT, DT_CENTER or DT_RIGHT for "left", "center", "right"; anything else keeps uStyle.
UINT ApplyAlignment(UINT uStyle, const wchar_t* pstrValue);

} // namespace Tarvo

namespace Tarvo {

class CContainerUI;
class CControlUI;

// Scrolls box vertically just enough for row to show inside its client area.
void ScrollRowIntoView(CContainerUI& box, const CControlUI& row);

} // namespace Tarvo

namespace Tarvo {

// The row a navigation key (Up, Down, Home, End, Page Up, Page Down) leads to from nCur in rows,
// skipping rows that cannot be selected; -1 when there is none, -2 for any other key.
int FindRowForKey(const CContainerUI& rows, int nCur, WPARAM vk, int nPageRows);

} // namespace Tarvo
