#pragma once

#include <windows.h>

namespace Tarvo {

// Stand-in for AlphaBlend where msimg32 lacks it: rcSource of hSource is stretched onto
// rcDest of hDest with x = fade × sourceAlpha / 255 / 255 per pixel, every channel becoming
// dest × (1 − x) + source × x. Without bSourceAlpha the source counts as opaque (constant
// alpha only). False when nothing could be blended.
bool SoftwareAlphaBlend(HDC hDest, const RECT& rcDest, HDC hSource, const RECT& rcSource, BYTE fade, bool bSourceAlpha);

} // namespace Tarvo
