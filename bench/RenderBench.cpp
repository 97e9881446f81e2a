// Cost of one full repaint of launcher-like content (nine-grid images, gradients, text, markup
// text) into a 960 × 620 back buffer, as a ratio to a plain BitBlt of the same size measured in
// the same run; and the software blend's cost against AlphaBlend.

#include "core/DibSection.h"
#include "core/MsImg.h"
#include "core/ResourceSettings.h"
#include "core/SkinRender.h"
#include "core/UIClip.h"
#include "core/WindowManager.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace Tarvo;

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 620;

// A 24-bit BMP of a simple pattern: enough for the image cache's decoder.
bool WriteBmp(const std::wstring& path, int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < stride; ++x) {
            bytes.push_back(static_cast<char>((x * 7 + y * 3) & 0xFF));
        }
    }
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool bOk = ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
    ::CloseHandle(hFile);
    return bOk && written == bytes.size();
}

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

void PaintLauncher(HDC hDC, CWindowManagerUI& manager)
{
    const RECT rcAll = {0, 0, kWidth, kHeight};
    CSkinRender::PaintImageSpec(hDC, &manager, rcAll, rcAll, L"file='bk.bmp' corner='9,9,9,9'");
    CSkinRender::FillGradient(hDC, {0, 0, kWidth, 40}, 0xFF3060A0, 0xFF102040, true, 16);
    for (int i = 0; i < 3; ++i) {
        const RECT rcButton = {kWidth - 40 * (i + 1), 8, kWidth - 40 * i - 8, 32};
        CSkinRender::PaintImageSpec(hDC, &manager, rcButton, rcAll, L"file='btn.bmp' source='0,0,32,24'");
        RECT rcLabel = {16 + 120 * i, 10, 120 + 120 * i, 30};
        CSkinRender::PaintText(hDC, &manager, rcLabel, L"Orvendale", 0xFFFFFFFF, -1, DT_SINGLELINE | DT_VCENTER);
    }
    const RECT rcPage = {10, 50, kWidth - 10, kHeight - 60};
    CSkinRender::PaintImageSpec(hDC, &manager, rcPage, rcAll, L"file='panel.bmp' corner='6,6,6,6' fade='230'");
    const RECT rcProgress = {215, kHeight - 40, 745, kHeight - 27};
    CSkinRender::PaintImageSpec(hDC, &manager, rcProgress, rcAll, L"file='progress.bmp' corner='3,3,3,3'");
    RECT rcTip = {215, kHeight - 25, 745, kHeight - 5};
    RECT rcLinks[4] = {};
    CUIString sLinks[4];
    int nLinks = 4;
    CSkinRender::PaintHtmlText(hDC, &manager, rcTip,
                               L"<b>Tip:</b> {c #FF8000}press{/c} <a help>help</a> or read the <u>notes</u> "
                               L"for the <a news>latest news</a> about the game",
                               0xFF202020, rcLinks, sLinks, nLinks, DT_SINGLELINE | DT_END_ELLIPSIS);
    for (int i = 0; i < 8; ++i) {
        RECT rcLine = {30, 70 + 30 * i, 600, 95 + 30 * i};
        CSkinRender::PaintText(hDC, &manager, rcLine, L"A line of ordinary label text in the page", 0xFF333333, -1,
                               DT_SINGLELINE | DT_END_ELLIPSIS);
    }
}

} // namespace

int main()
{
    wchar_t szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    const std::wstring folder = std::wstring(szTemp) + L"wxlm_render_bench\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const bool bImages = WriteBmp(folder + L"bk.bmp", 60, 60) && WriteBmp(folder + L"btn.bmp", 96, 24) &&
                         WriteBmp(folder + L"panel.bmp", 40, 40) && WriteBmp(folder + L"progress.bmp", 12, 13);
    if (!bImages) {
        std::printf("render bench: cannot write images to %ls\n", folder.c_str());
        return 1;
    }
    CResourceSettingsUI::SetResourcePath(folder.c_str());
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
    const double repaint = MillisPerCall(20, [&] { PaintLauncher(back.DC(), manager); });
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
