#pragma once

#include <windows.h>

#include "controls/StateImages.h"
#include "core/UIString.h"

namespace Tarvo {

class CWindowManagerUI;

// What the edit and the rich edit share in their looks: the state images of the face, the hot
// state, and the tip text shown in its own colour while the entry is empty.
struct TextEntryLook {
    StateImages images;
    CUIString tipValue;
    DWORD tipValueColor = 0xFFBAC0C5;
    bool hot = false;

    // False when the name is none of the shared attributes.
    bool Apply(const wchar_t* pstrName, const wchar_t* pstrValue);
    // Tracks the hot state; true when the event changed it.
    bool TrackHot(int eventType);
    void PaintImages(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint, bool bEnabled,
                     bool bFocused) const;
    // The tip in rc, single line, with the given font and DrawText alignment.
    void PaintTip(HDC hDC, CWindowManagerUI* pManager, RECT rc, int iFont, UINT uStyle) const;
};

} // namespace Tarvo
