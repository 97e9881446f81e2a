#pragma once

#include <windows.h>

namespace Tarvo {

class CControlUI;

// Input events the paint manager makes of window messages.
enum ControlEventType : int {
    EventKeyDown = 3,
    EventKeyUp = 4,
    EventChar = 5,
    EventSysKey = 6,
    EventMouseMove = 9,
    EventMouseLeave = 10,
    EventMouseEnter = 11,
    EventMouseHover = 12,
    EventButtonDown = 13,
    EventButtonUp = 14,
    EventRightButtonDown = 15,
    EventDoubleClick = 16,
    EventContextMenu = 17,
    EventScrollWheel = 18,
    EventKillFocus = 20,
    EventSetFocus = 21,
    EventWindowSize = 22,
    EventSetCursor = 23,
    EventTimer = 24,
};

// Controls rely on the mouse events forming one closed range.
inline bool IsMouseEvent(int type)
{
    return type >= EventMouseMove && type <= EventScrollWheel;
}

// Key-state bits of keyboard, wheel and cursor events.
enum : WORD {
    KeyStateLeftButton = 0x0001,
    KeyStateRightButton = 0x0002,
    KeyStateShift = 0x0004,
    KeyStateControl = 0x0008,
    KeyStateAlt = 0x0020,
};

// Flags of CControlUI::SearchTree.
enum : UINT {
    FindVisible = 0x00000001,
    FindEnabled = 0x00000002,
    FindHitTest = 0x00000004,
    FindTopFirst = 0x00000008,
    FindMeFirst = 0x80000000,
};

// Bits of CControlUI::InputFlags.
enum : UINT {
    InputTabStop = 0x00000001,
    InputSetCursor = 0x00000002,
};

struct ControlEvent {
    int type = 0;
    CControlUI* sender = nullptr;
    DWORD timestamp = 0;
    POINT mousePoint = {0, 0};
    WCHAR keyChar = 0;
    WORD keyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Visitor of CControlUI::SearchTree: returns the control that ends the search, or null to go on.
using FindControlProc = CControlUI* (*)(CControlUI* control, void* data);

} // namespace Tarvo
