#pragma once

#include "controls/Container.h"
#include "controls/ListRowOf.h"

namespace Tarvo {

// A list row holding any controls; it also reports right clicks, hovering and leaving. Under a
// list header its children go into the columns, one each, in order; children past the last
// column get no room.
class CListContainerElementUI : public CListRowOf<CContainerUI, true> {
public:
    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetPosition(RECT rc) override;
};

} // namespace Tarvo
