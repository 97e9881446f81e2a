#pragma once

#include "controls/Container.h"

namespace Tarvo {

// Arranges its children in a grid of equal cells, row by row.
class CTileLayoutUI : public CContainerUI {
public:
    CTileLayoutUI();

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetPosition(RECT rc) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    SIZE TileSize() const { return m_szTile; }
    void SetTileSize(SIZE szTile);
    int Columns() const { return m_nColumns; }
    // Ignored below 1.
    void SetColumns(int nColumns);

private:
    int RowHeight(int nFirst, int nCellWidth) const;
    SIZE CellContentSize(CControlUI* pControl, int nCellWidth, int nCellHeight) const;

    SIZE m_szTile = {0, 0};
    int m_nColumns = 1;
};

} // namespace Tarvo
