#include "core/UIClip.h"

namespace Tarvo {

void UIClip::ClipToRect(HDC hDC, const RECT& rc)
{
    Install(hDC, rc, ::CreateRectRgnIndirect(&rc));
}

void UIClip::ClipToRoundRect(HDC hDC, const RECT& rc, const RECT& rcRound, int width, int height)
{
    HRGN hRound = ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, width, height);
    HRGN hBox = ::CreateRectRgnIndirect(&rcRound);
    if (hRound != nullptr && hBox != nullptr) {
        ::CombineRgn(hRound, hRound, hBox, RGN_AND);
    }
    if (hBox != nullptr) {
        ::DeleteObject(hBox);
    }
    Install(hDC, rc, hRound);
}

void UIClip::Install(HDC hDC, const RECT& rc, HRGN hNewRegion)
{
    Restore();
    RECT rcBox = {0, 0, 0, 0};
    ::GetClipBox(hDC, &rcBox);
    dc = hDC;
    rect = rc;
    savedRegion = ::CreateRectRgnIndirect(&rcBox);
    region = hNewRegion;
    if (region != nullptr) {
        ::ExtSelectClipRgn(hDC, region, RGN_AND);
    }
}

void UIClip::Restore()
{
    if (dc == nullptr) {
        return;
    }
    ::SelectClipRgn(dc, savedRegion);
    if (savedRegion != nullptr) {
        ::DeleteObject(savedRegion);
    }
    if (region != nullptr) {
        ::DeleteObject(region);
    }
    dc = nullptr;
    savedRegion = nullptr;
    region = nullptr;
}

} // namespace Tarvo
