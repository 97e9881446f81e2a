#pragma once

#include "controls/Control.h"
#include "controls/ListRowOf.h"

namespace Tarvo {

// A windowless list row: selection, hot look and the row input rules; subclasses draw its text.
class CListElementUI : public CListRowOf<CControlUI, false> {
public:
    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
};

} // namespace Tarvo
