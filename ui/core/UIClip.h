#pragma once

#include <windows.h>

namespace Tarvo {

// A clip installed on a DC for the duration of one paint step; the previous clip comes back
// with Restore() or at the end of the scope.
struct UIClip {
    UIClip() = default;
    ~UIClip() { Restore(); }
    UIClip(const UIClip&) = delete;
    UIClip& operator=(const UIClip&) = delete;

    // The clip becomes rc ∩ the clip in force before.
    void ClipToRect(HDC hDC, const RECT& rc);
    // The same with the rounded rectangle rc (ellipse width × height) ∩ rcRound.
    void ClipToRoundRect(HDC hDC, const RECT& rc, const RECT& rcRound, int width, int height);
    void Restore();

    HDC dc = nullptr;
    HRGN savedRegion = nullptr;
    HRGN region = nullptr;
    RECT rect = {0, 0, 0, 0};

private:
    void Install(HDC hDC, const RECT& rc, HRGN hNewRegion);
};

} // namespace Tarvo
