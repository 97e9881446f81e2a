#pragma once

#include <windows.h>

#include <commctrl.h>

namespace Tarvo {

// Registers the given common-control classes (ICC_... flags). comctl32 is loaded on first use
// rather than imported, so a program that shows no tooltip, date picker or the like never loads
// it; once loaded it stays. False when the library or its entry is missing or refuses.
bool UIInitCommonControls(DWORD dwClasses);

} // namespace Tarvo
