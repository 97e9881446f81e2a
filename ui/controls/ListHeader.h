#pragma once

#include "controls/HorizontalLayout.h"

namespace Tarvo {

// The row of column headers at the top of a list. With "scaleheader" each item that has a
// "scale" takes that percentage of the header's width. Every placement tells the owning list,
// whose rows take their column edges from the items.
class CListHeaderUI : public CHorizontalLayoutUI {
public:
    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetPosition(RECT rc) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    SIZE MeasureSize(SIZE szAvailable) override;
    // The width the items need side by side (a stretching item counts with its minimum width).
    int RequiredWidth() const;

    bool IsScaleHeader() const { return m_bScaleHeader; }
    void SetScaleHeader(bool bScale);

private:
    void ApplyScales(int nWidth);

    bool m_bScaleHeader = false;
};

} // namespace Tarvo
