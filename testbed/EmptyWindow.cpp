// empty_window.exe: the baseline of the start-up benchmark. Creates a 960x620 window, paints it
// once and ends; nothing else. With "--layered-window" it also shows one layered window of a drop
// shadow's size (the window plus 9 pixels on each side) and pushes a shadow-like border into it
// once with UpdateLayeredWindow: what a drop shadow costs before any framework code runs.
#include <windows.h>

#include <cwchar>

#include "Handshake.h"

namespace {

std::string s_marks;

constexpr int Width = 960;
constexpr int Height = 620;
constexpr int Border = 9;

bool ShowLayeredWindow(HINSTANCE hInstance)
{
    const int width = Width + 2 * Border;
    const int height = Height + 2 * Border;
    const HWND hLayered = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, L"EmptyWindow", L"", WS_POPUP,
                                            100 - Border, 100 - Border, width, height, nullptr, nullptr, hInstance,
                                            nullptr);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    const HDC hDC = ::CreateCompatibleDC(nullptr);
    const HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    bool bPushed = false;
    if (hLayered != nullptr && hDC != nullptr && hBitmap != nullptr) {
        const HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
        auto* pPixels = static_cast<DWORD*>(pBits);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool bEdge = x < Border || y < Border || x >= width - Border || y >= height - Border;
                pPixels[y * width + x] = bEdge ? 0x40000000u : 0u;
            }
        }
        ::ShowWindow(hLayered, SW_SHOWNOACTIVATE);
        POINT ptOrigin = {100 - Border, 100 - Border};
        SIZE size = {width, height};
        POINT ptSource = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        bPushed = ::UpdateLayeredWindow(hLayered, nullptr, &ptOrigin, &size, hDC, &ptSource, 0, &blend, ULW_ALPHA);
        ::SelectObject(hDC, hOld);
    }
    if (hBitmap != nullptr) {
        ::DeleteObject(hBitmap);
    }
    if (hDC != nullptr) {
        ::DeleteDC(hDC);
    }
    return bPushed;
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_PAINT) {
        PAINTSTRUCT ps;
        const HDC hDC = ::BeginPaint(hWnd, &ps);
        ::FillRect(hDC, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::EndPaint(hWnd, &ps);
        if (s_marks.find("first paint done") == std::string::npos) {
            s_marks += StartupMarkNow("first paint done");
        }
        return 0;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    s_marks = StartupMarkNow("entry point");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"EmptyWindow";
    ::RegisterClassW(&wc);
    const HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"EmptyWindow", WS_POPUP | WS_VISIBLE, 100, 100, Width,
                                        Height, nullptr, nullptr, hInstance, nullptr);
    if (hWnd == nullptr) {
        return 3;
    }
    s_marks += StartupMarkNow("window shown");
    ::UpdateWindow(hWnd);
    if (std::wcsstr(::GetCommandLineW(), L" --layered-window") != nullptr && !ShowLayeredWindow(hInstance)) {
        return 3;
    }
    HandshakeIfAsked(s_marks);
    ::DestroyWindow(hWnd);
    return 0;
}
