// What the render engine's share of a repaint costs: launcher-like content drawn straight into
// a 960 × 620 DIB and its most expensive parts, as ratios to a plain BitBlt of the same size
// measured in the same run; and the software blend's cost against AlphaBlend.

#include "LauncherContent.h"

#include "core/DibSection.h"
#include "core/MsImg.h"
#include "core/SkinRender.h"
#include "core/UIClip.h"
#include "core/WindowManager.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Tarvo;

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 620;

// Milliseconds per call, the best of several rounds (the machine is shared).
double MillisPerCall(int calls, const std::function<void()>& work)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        for (int i = 0; i < calls; ++i) {
            work();
        }
        ::GdiFlush();
        ::QueryPerformanceCounter(&end);
        best = std::min(best, 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / calls);
    }
    return best;
}

} // namespace

int main()
{
    if (!bench::PrepareLauncherSkin()) {
        std::printf("render bench: cannot write the skin images\n");
        return 1;
    }
    CWindowManagerUI manager;

    CDibSectionUI back;
    CDibSectionUI source;
    if (!back.Create(kWidth, kHeight) || !source.Create(kWidth, kHeight)) {
        std::printf("render bench: no back buffer\n");
        return 1;
    }
    std::fill_n(source.Bits(), kWidth * kHeight, 0x80402010u);

    const RECT rcAll = {0, 0, kWidth, kHeight};
    const double blit =
        MillisPerCall(200, [&] { ::BitBlt(back.DC(), 0, 0, kWidth, kHeight, source.DC(), 0, 0, SRCCOPY); });
    const double repaint = MillisPerCall(20, [&] {
        bench::PaintLauncherContent(back.DC(), manager, {0, 0, kWidth, kHeight});
    });
    const double background = MillisPerCall(
        20, [&] { CSkinRender::PaintImageSpec(back.DC(), &manager, rcAll, rcAll, L"file='bk.bmp' corner='9,9,9,9'"); });
    const double markup = MillisPerCall(20, [&] {
        RECT rc = {215, 10, 745, 30};
        int nLinks = 0;
        CSkinRender::PaintHtmlText(back.DC(), &manager, rc, L"<b>Tip:</b> press <a help>help</a> or read the notes",
                                   0xFF202020, nullptr, nullptr, nLinks, DT_SINGLELINE);
    });
    const auto stretch = [&](int mode) {
        return MillisPerCall(20, [&] {
            ::SetStretchBltMode(back.DC(), mode);
            ::StretchBlt(back.DC(), 0, 0, kWidth, kHeight, source.DC(), 0, 0, 60, 60, SRCCOPY);
        });
    };
    const double halftone = stretch(HALFTONE);
    const double colorOnColor = stretch(COLORONCOLOR);
    std::printf("BitBlt 960x620 (baseline):      %8.3f ms\n", blit);
    std::printf("full launcher-like repaint:     %8.3f ms  (%.1f x BitBlt)\n", repaint, repaint / blit);
    std::printf("  nine-grid background alone:   %8.3f ms  (%.1f x BitBlt)\n", background, background / blit);
    std::printf("  one markup text line:         %8.3f ms  (%.1f x BitBlt)\n", markup, markup / blit);
    std::printf("StretchBlt 960x620 HALFTONE:    %8.3f ms  (%.1f x COLORONCOLOR)\n", halftone, halftone / colorOnColor);

    // Translucent full-window image: AlphaBlend against the software blend.
    HBITMAP hImage = nullptr;
    {
        CDibSectionUI image;
        image.Create(kWidth, kHeight);
        std::fill_n(image.Bits(), kWidth * kHeight, 0x80402010u);
        hImage = static_cast<HBITMAP>(::CopyImage(image.Bitmap(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    const double hardware = MillisPerCall(10, [&] {
        CSkinRender::PaintBitmap(back.DC(), hImage, rcAll, rcAll, rcAll, {0, 0, 0, 0}, true, 200);
    });
    CMsImgUI::ForceMissing(true);
    const double software = MillisPerCall(10, [&] {
        CSkinRender::PaintBitmap(back.DC(), hImage, rcAll, rcAll, rcAll, {0, 0, 0, 0}, true, 200);
    });
    CMsImgUI::ForceMissing(false);
    ::DeleteObject(hImage);
    std::printf("AlphaBlend 960x620, fade 200:   %8.3f ms  (%.1f x BitBlt)\n", hardware, hardware / blit);
    std::printf("software blend, same image:     %8.3f ms  (%.1f x AlphaBlend)\n", software, software / hardware);
    return 0;
}
