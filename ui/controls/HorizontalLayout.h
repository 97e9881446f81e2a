#pragma once

#include "controls/LinearLayout.h"

namespace Tarvo {

// Lines its children up from left to right; the separator ("sepwidth") resizes its width.
class CHorizontalLayoutUI : public CLinearLayoutUI {
public:
    CHorizontalLayoutUI();

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetPosition(RECT rc) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    RECT SeparatorBand(const RECT& rc) const override;
};

} // namespace Tarvo
