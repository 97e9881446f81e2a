#pragma once

#include <windows.h>

#include "core/UIString.h"

namespace Tarvo {

class CWindowManagerUI;

// The normal, hot, pushed, focused and disabled images of a face that is not a button (a combo,
// a column header), set by the attributes of those names.
struct StateImages {
    CUIString normal;
    CUIString hot;
    CUIString pushed;
    CUIString focused;
    CUIString disabled;

    // False when the name is not one of the five image attributes.
    bool Apply(const wchar_t* pstrName, const wchar_t* pstrValue);
    // Disabled before pushed before hot before focused; a state without an image shows normal.
    const CUIString& For(bool bEnabled, bool bPushed, bool bHot, bool bFocused) const;
    void Paint(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint, bool bEnabled,
               bool bPushed, bool bHot, bool bFocused) const;
};

} // namespace Tarvo
