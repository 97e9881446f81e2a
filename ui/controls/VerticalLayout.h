#pragma once

#include "controls/LinearLayout.h"

namespace Tarvo {

// Stacks its children from top to bottom; the separator ("sepheight") resizes its height.
class CVerticalLayoutUI : public CLinearLayoutUI {
public:
    CVerticalLayoutUI();

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetPosition(RECT rc) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    RECT SeparatorBand(const RECT& rc) const override;
};

} // namespace Tarvo
