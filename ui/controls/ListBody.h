#pragma once

#include "controls/VerticalLayout.h"

namespace Tarvo {

// The rows of a list, stacked and scrolled under its header.
class CListBodyUI : public CVerticalLayoutUI {
public:
    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
};

} // namespace Tarvo
