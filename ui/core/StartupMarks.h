#pragma once

#include <windows.h>

namespace Tarvo {

// Moments of a program's start (GDI+ ready, skin built, images decoded, first paint done ...)
// with their performance-counter time, so that a benchmark can see where the start-up time goes.
// A few stores per start and nothing else; process-wide, for the window thread only.
class CStartupMarksUI {
public:
    static constexpr int Capacity = 16;

    // The first call with a name keeps its moment; later ones are ignored unless bLatest, which
    // moves the moment forward (for a step that repeats, such as decoding one more image).
    // The name must be a literal: only the pointer is kept.
    static void Mark(const wchar_t* pstrName, bool bLatest = false);
    static int Count();
    static const wchar_t* Name(int index);
    static LONGLONG Ticks(int index);
};

} // namespace Tarvo
