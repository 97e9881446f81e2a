#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ManagerFixture.h"
#include "core/NotifyPump.h"

namespace guitest {

// Every notification of a window, with a hook that runs inside the notification.
class ListNotificationRecorder : public INotifyUI {
public:
    struct Record {
        std::wstring type;
        CControlUI* sender;
        WPARAM wParam;
        LPARAM lParam;
    };
    void OnNotification(UINotification& notification) override
    {
        records.push_back({notification.type.GetData(), notification.sender, notification.wParam, notification.lParam});
        if (hook) {
            hook(notification);
        }
    }
    int Count(const std::wstring& type) const
    {
        int n = 0;
        for (const Record& record : records) {
            n += record.type == type ? 1 : 0;
        }
        return n;
    }
    const Record* Last(const std::wstring& type) const
    {
        for (auto it = records.rbegin(); it != records.rend(); ++it) {
            if (it->type == type) {
                return &*it;
            }
        }
        return nullptr;
    }
    std::vector<Record> records;
    std::function<void(UINotification&)> hook;
};

inline POINT CenterOf(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// A real press and release of the left button at a client point of hWnd, with extra key bits.
inline void ClickAt(HWND hWnd, POINT pt, WPARAM keys = 0)
{
    ::SendMessageW(hWnd, WM_MOUSEMOVE, keys, ClientPoint(pt.x, pt.y));
    ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, ClientPoint(pt.x, pt.y));
    ::SendMessageW(hWnd, WM_LBUTTONUP, keys, ClientPoint(pt.x, pt.y));
}

inline void KeyPress(HWND hWnd, WPARAM vk)
{
    ::SendMessageW(hWnd, WM_KEYDOWN, vk, 1);
    ::SendMessageW(hWnd, WM_KEYUP, vk, 0xC0000001);
}

// The colour of a pixel of the window's back buffer.
inline COLORREF BackPixel(CWindowManagerUI& manager, int x, int y)
{
    return ::GetPixel(manager.OffscreenDC(), x, y);
}

// How many pixels of the back buffer inside rc have the colour, each channel within the tolerance
// (smoothed text has few pixels of exactly its colour).
inline int CountBackPixels(CWindowManagerUI& manager, const RECT& rc, COLORREF color, int nTolerance = 0)
{
    auto within = [nTolerance](int a, int b) { return a - b <= nTolerance && b - a <= nTolerance; };
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const COLORREF pixel = BackPixel(manager, x, y);
            n += within(GetRValue(pixel), GetRValue(color)) && within(GetGValue(pixel), GetGValue(color)) &&
                         within(GetBValue(pixel), GetBValue(color))
                     ? 1
                     : 0;
        }
    }
    return n;
}

// Writes the back buffer as a 32-bit BMP file; false when there is none or writing fails.
bool SaveBackBuffer(CWindowManagerUI& manager, const std::wstring& path);

} // namespace guitest
