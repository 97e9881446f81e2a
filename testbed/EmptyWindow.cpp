// empty_window.exe: the baseline of the start-up benchmark. Creates a 960x620 window, paints it
// once and ends; nothing else.
#include <windows.h>

#include "Handshake.h"

namespace {

std::string s_marks;

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
    const HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"EmptyWindow", WS_POPUP | WS_VISIBLE, 100, 100, 960, 620,
                                        nullptr, nullptr, hInstance, nullptr);
    if (hWnd == nullptr) {
        return 3;
    }
    s_marks += StartupMarkNow("window shown");
    ::UpdateWindow(hWnd);
    HandshakeIfAsked(s_marks);
    ::DestroyWindow(hWnd);
    return 0;
}
