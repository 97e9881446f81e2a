#include "controls/TileLayout.h"

#include "controls/AttributeValue.h"
#include "controls/ScrollBar.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

namespace {

constexpr int MeasureHeightLimit = 9999;

bool IsPlacedInCells(const CControlUI* pControl)
{
    return pControl->IsVisible() && !pControl->IsFloating();
}

} // namespace

CTileLayoutUI::CTileLayoutUI() = default;

const wchar_t* CTileLayoutUI::TypeName() const
{
    return L"TileLayoutUI";
}

void* CTileLayoutUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"TileLayout") == 0) {
        return this;
    }
    return CContainerUI::LookupInterface(pstrName);
}

void CTileLayoutUI::SetTileSize(SIZE szTile)
{
    if (m_szTile.cx == szTile.cx && m_szTile.cy == szTile.cy) {
        return;
    }
    m_szTile = szTile;
    if (IsVisible()) {
        MarkForLayout();
    }
}

void CTileLayoutUI::SetColumns(int nColumns)
{
    if (nColumns < 1) {
        return;
    }
    m_nColumns = nColumns;
    if (IsVisible()) {
        MarkForLayout();
    }
}

void CTileLayoutUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"itemsize") == 0) {
        SetTileSize(ParseAttributeSize(pstrValue));
    } else if (pstrName != nullptr && std::wcscmp(pstrName, L"columns") == 0) {
        SetColumns(ParseAttributeInt(pstrValue));
    } else {
        CContainerUI::ApplyAttribute(pstrName, pstrValue);
    }
}

SIZE CTileLayoutUI::CellContentSize(CControlUI* pControl, int nCellWidth, int nCellHeight) const
{
    SIZE sz = pControl->MeasureSize(SIZE{nCellWidth, nCellHeight});
    if (sz.cx == 0) {
        sz.cx = nCellWidth;
    }
    if (sz.cy == 0) {
        sz.cy = nCellHeight;
    }
    sz.cx = std::min<LONG>(std::max<LONG>(sz.cx, pControl->MinWidth()), pControl->MaxWidth());
    sz.cy = std::min<LONG>(std::max<LONG>(sz.cy, pControl->MinHeight()), pControl->MaxHeight());
    return sz;
}

// The tile height, or the tallest child of the row starting at nFirst with its vertical
// padding when that is taller; a row with neither has square cells.
int CTileLayoutUI::RowHeight(int nFirst, int nCellWidth) const
{
    int nHeight = std::max(static_cast<int>(m_szTile.cy), 0);
    int nInRow = 0;
    for (int i = nFirst; i < m_items.GetSize() && nInRow < m_nColumns; ++i) {
        CControlUI* pChild = ChildAt(i);
        if (!IsPlacedInCells(pChild)) {
            continue;
        }
        const RECT rcPad = pChild->Padding();
        const int nWidth = static_cast<int>(nCellWidth - rcPad.left - rcPad.right) - m_iChildPadding / 2;
        int nChild = pChild->MeasureSize(SIZE{nWidth, MeasureHeightLimit}).cy;
        if (nChild != 0) {
            nChild = std::min(std::max(nChild, pChild->MinHeight()), pChild->MaxHeight());
            nHeight = std::max(nHeight, static_cast<int>(nChild + rcPad.top + rcPad.bottom));
        }
        ++nInRow;
    }
    if (nHeight == 0) {
        nHeight = nCellWidth;
    }
    return nHeight;
}

void CTileLayoutUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
    const RECT rcClient = ClientRect();
    int nWidth = rcClient.right - rcClient.left;
    if (m_szTile.cx >= 1) {
        m_nColumns = std::max(nWidth / static_cast<int>(m_szTile.cx), 1);
    }
    if (IsBarVisible(m_pHorizontalScrollBar)) {
        nWidth += m_pHorizontalScrollBar->ScrollRange();
    }
    const int nCellWidth = nWidth / m_nColumns;
    const SIZE szScroll = ScrollPosition();
    const int nTop = rcClient.top - szScroll.cy;
    int y = nTop;
    int nColumn = 0;
    int nRowHeight = 0;
    // The gap between cells is split between the two neighbours; the outer sides get none.
    const int nGapBefore = m_iChildPadding / 2;
    const int nGapAfter = m_iChildPadding - nGapBefore;
    PlaceChildren([&](int i, CControlUI* pChild) {
        if (nColumn == 0) {
            nRowHeight = RowHeight(i, nCellWidth);
        }
        const RECT rcPad = pChild->Padding();
        RECT rcCell = {rcClient.left - szScroll.cx + nColumn * nCellWidth, y, 0, y + nRowHeight};
        rcCell.right = rcCell.left + nCellWidth;
        rcCell.left += (nColumn > 0 ? nGapBefore : 0) + rcPad.left;
        rcCell.right -= (nColumn < m_nColumns - 1 ? nGapAfter : 0) + rcPad.right;
        rcCell.top += rcPad.top;
        rcCell.bottom -= rcPad.bottom;
        const int nCellW = std::max<int>(rcCell.right - rcCell.left, 0);
        const int nCellH = std::max<int>(rcCell.bottom - rcCell.top, 0);
        const SIZE sz = CellContentSize(pChild, nCellW, nCellH);
        const int x = rcCell.left + (nCellW - sz.cx) / 2;
        const int top = rcCell.top + (nCellH - sz.cy) / 2;
        pChild->SetPosition(RECT{x, top, x + sz.cx, top + sz.cy});
        if (++nColumn == m_nColumns) {
            nColumn = 0;
            y += nRowHeight + m_iChildPadding;
        }
    });
    int nNeeded = y - nTop;
    if (nColumn != 0) {
        nNeeded += nRowHeight;
    } else if (nNeeded > 0) {
        nNeeded -= m_iChildPadding;
    }
    UpdateScrollBars(rcClient, 0, nNeeded);
}

} // namespace Tarvo
