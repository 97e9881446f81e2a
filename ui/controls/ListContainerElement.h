#pragma once

#include "controls/Container.h"
#include "controls/ListRowOf.h"

namespace Tarvo {

// A list row holding any controls; it also reports right clicks, hovering and leaving.
class CListContainerElementUI : public CListRowOf<CContainerUI, true> {
public:
    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
};

} // namespace Tarvo
