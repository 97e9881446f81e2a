#pragma once

#include <windows.h>

namespace Tarvo {

// AlphaBlend and GradientFill, found in msimg32 at run time (once per process). Callers fall
// back to their own software drawing when an entry is null.
class CMsImgUI {
public:
    using AlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

    static AlphaBlendProc AlphaBlend();
    static GradientFillProc GradientFill();

    // Makes both lookups answer null, as on a system without msimg32; for tests and benchmarks.
    static void ForceMissing(bool bMissing);
};

} // namespace Tarvo
