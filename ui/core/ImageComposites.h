#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

namespace Tarvo {

// What one composed image depends on: the decoded bitmap, the size it is scaled to and every
// setting that moves its pixels. Fade is not part of it: it is applied when the composite is
// blitted. bAlpha tells how the pieces were scaled (AlphaBlend or HALFTONE StretchBlt).
struct UICompositeKey {
    HBITMAP hBitmap = nullptr;
    SIZE size = {0, 0};
    RECT source = {0, 0, 0, 0};
    RECT corner = {0, 0, 0, 0};
    bool bHole = false;
    bool bXTiled = false;
    bool bYTiled = false;
    bool bAlpha = false;
};

// Scaled images (nine-grid pieces stretched or tiled to one destination size) composed once into a
// 32-bit bitmap and blitted 1:1 at later paints. A key is composed the second time it is asked
// for, so a window painted once (a start-up, a message box) pays nothing. The composites of the
// thread stay under BudgetBytes, the least recently used going first; an image leaving its
// image cache takes its composites along.
class CImageCompositesUI {
public:
    static constexpr size_t BudgetBytes = 16 * 1024 * 1024;

    // The memory DC holding the composite of key (origin = the destination's top-left), composing
    // it by calling compose with a zeroed bitmap's DC when the key was asked for before; null when
    // it is asked for the first time, does not fit the budget or GDI fails.
    static HDC Find(const UICompositeKey& key, HDC hCompatibleDC, const std::function<void(HDC)>& compose);

    static void ForgetBitmap(HBITMAP hBitmap);
    static void ForgetAll();
    static size_t BytesHeld();
    static int Count();
};

} // namespace Tarvo
