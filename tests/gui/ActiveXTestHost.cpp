#include "ActiveXTestHost.h"

namespace activextest {

std::wstring ClassNameOf(HWND hWnd)
{
    wchar_t szName[128] = {};
    ::GetClassNameW(hWnd, szName, 128);
    return szName;
}

std::wstring TitleOf(HWND hWnd)
{
    wchar_t szTitle[128] = {};
    ::GetWindowTextW(hWnd, szTitle, 128);
    return szTitle;
}

RECT RectInParent(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

int ScreenDpi(int nIndex)
{
    const HDC hDC = ::GetDC(nullptr);
    const int nDpi = ::GetDeviceCaps(hDC, nIndex);
    ::ReleaseDC(nullptr, hDC);
    return nDpi;
}

} // namespace activextest
