#pragma once

#include "controls/ListElement.h"

namespace Tarvo {

// A list row showing its text with the owner's item font, colours and alignment.
class CListLabelElementUI : public CListElementUI {
public:
    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void PaintTextContent(HDC hDC) override;

protected:
    RECT CellRect(RECT rc) const;
};

} // namespace Tarvo
