#pragma once

// Launcher-like content for the benchmarks: the skin images it needs (written as files into a
// temporary folder that becomes the resource path) and one full paint of a 960 × 620 window:
// nine-grid background and panel, title gradient, buttons, labels, a progress bar and a line of
// markup text.

#include "core/ResourceSettings.h"
#include "core/SkinRender.h"
#include "core/UIString.h"
#include "core/WindowManager.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

// A 24-bit BMP of a simple pattern: enough for the image cache's decoder.
inline bool WriteBmp(const std::wstring& path, int width, int height)
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

// Writes the images and points the resource path at them; false when they cannot be written.
inline bool PrepareLauncherSkin()
{
    wchar_t szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    const std::wstring folder = std::wstring(szTemp) + L"wxlm_render_bench\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const bool bImages = WriteBmp(folder + L"bk.bmp", 60, 60) && WriteBmp(folder + L"btn.bmp", 96, 24) &&
                         WriteBmp(folder + L"panel.bmp", 40, 40) && WriteBmp(folder + L"progress.bmp", 12, 13);
    Tarvo::CResourceSettingsUI::SetResourcePath(folder.c_str());
    return bImages;
}

struct LauncherStep {
    const char* pstrWhat;
    std::function<void(HDC, Tarvo::CWindowManagerUI&, const RECT&)> paint;
};

// The launcher-like content in painting order, step by step, so that a benchmark can time each.
inline const std::vector<LauncherStep>& LauncherSteps()
{
    using Tarvo::CSkinRender;
    constexpr int width = 960;
    constexpr int height = 620;
    static const std::vector<LauncherStep> steps = {
        {"nine-grid background", [](HDC hDC, Tarvo::CWindowManagerUI& manager, const RECT& rcPaint) {
             const RECT rcAll = {0, 0, width, height};
             CSkinRender::PaintImageSpec(hDC, &manager, rcAll, rcPaint, L"file='bk.bmp' corner='9,9,9,9'");
         }},
        {"title gradient", [](HDC hDC, Tarvo::CWindowManagerUI&, const RECT&) {
             CSkinRender::FillGradient(hDC, {0, 0, width, 40}, 0xFF3060A0, 0xFF102040, true, 16);
         }},
        {"buttons and title labels", [](HDC hDC, Tarvo::CWindowManagerUI& manager, const RECT& rcPaint) {
             for (int i = 0; i < 3; ++i) {
                 const RECT rcButton = {width - 40 * (i + 1), 8, width - 40 * i - 8, 32};
                 CSkinRender::PaintImageSpec(hDC, &manager, rcButton, rcPaint, L"file='btn.bmp' source='0,0,32,24'");
                 RECT rcLabel = {16 + 120 * i, 10, 120 + 120 * i, 30};
                 CSkinRender::PaintText(hDC, &manager, rcLabel, L"Orvendale", 0xFFFFFFFF, -1,
                                        DT_SINGLELINE | DT_VCENTER);
             }
         }},
        {"faded nine-grid panel", [](HDC hDC, Tarvo::CWindowManagerUI& manager, const RECT& rcPaint) {
             const RECT rcPage = {10, 50, width - 10, height - 60};
             CSkinRender::PaintImageSpec(hDC, &manager, rcPage, rcPaint,
                                         L"file='panel.bmp' corner='6,6,6,6' fade='230'");
         }},
        {"progress bar", [](HDC hDC, Tarvo::CWindowManagerUI& manager, const RECT& rcPaint) {
             const RECT rcProgress = {215, height - 40, 745, height - 27};
             CSkinRender::PaintImageSpec(hDC, &manager, rcProgress, rcPaint, L"file='progress.bmp' corner='3,3,3,3'");
         }},
        {"markup text", [](HDC hDC, Tarvo::CWindowManagerUI& manager, const RECT&) {
             RECT rcTip = {215, height - 25, 745, height - 5};
             RECT rcLinks[4] = {};
             Tarvo::CUIString sLinks[4];
             int nLinks = 4;
             CSkinRender::PaintHtmlText(hDC, &manager, rcTip,
                                        L"<b>Tip:</b> {c #FF8000}press{/c} <a help>help</a> or read the <u>notes</u> "
                                        L"for the <a news>latest news</a> about the game",
                                        0xFF202020, rcLinks, sLinks, nLinks, DT_SINGLELINE | DT_END_ELLIPSIS);
         }},
        {"eight label lines", [](HDC hDC, Tarvo::CWindowManagerUI& manager, const RECT&) {
             for (int i = 0; i < 8; ++i) {
                 RECT rcLine = {30, 70 + 30 * i, 600, 95 + 30 * i};
                 CSkinRender::PaintText(hDC, &manager, rcLine, L"A line of ordinary label text in the page",
                                        0xFF333333, -1, DT_SINGLELINE | DT_END_ELLIPSIS);
             }
         }},
    };
    return steps;
}

inline void PaintLauncherContent(HDC hDC, Tarvo::CWindowManagerUI& manager, const RECT& rcPaint)
{
    for (const LauncherStep& step : LauncherSteps()) {
        step.paint(hDC, manager, rcPaint);
    }
}

} // namespace bench
