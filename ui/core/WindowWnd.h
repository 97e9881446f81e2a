#pragma once

#include <windows.h>

namespace Tarvo {

// Sent to the owner when a modal box opens (lParam: the box), and to the box when a click on its
// disabled owner asks for attention.
constexpr UINT WM_UI_MODAL_OPENED = WM_USER + 0x258;
constexpr UINT WM_UI_MODAL_ATTENTION = WM_USER + 0x259;

// One native window and the object behind it: class registration, creation, the window
// procedure that finds the object, centring and modal display. The virtual operations keep their
// slot order; derived classes append theirs.
class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    virtual LPCWSTR WindowClassName() const = 0; // 0
    // A system or program class to superclass; null registers a class of our own.
    virtual LPCWSTR SuperclassName() const;                                        // 1
    virtual UINT WindowClassStyle() const;                                         // 2
    virtual LRESULT ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam); // 3
    // The window is gone (WM_NCDESTROY); the object may delete itself here.
    virtual void OnFinalWindowMessage(HWND hWnd); // 4

    HWND WindowHandle() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    HWND Create(HWND hWndParent, LPCWSTR pstrTitle, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx, int cy,
                HMENU hMenu = nullptr);
    void CenterWindow();
    // Runs a modal loop until the window is gone; the wParam of the WM_CLOSE that closed it.
    UINT ShowModal();

protected:
    ~CWindowWnd() = default;

    LRESULT CallPreviousProc(UINT uMsg, WPARAM wParam, LPARAM lParam) const;

private:
    bool RegisterWindowClass() const;
    bool RegisterSuperclass();
    struct UserDataSlot;
    struct PropertySlot;
    // The standard procedure (UserDataSlot) and the control procedure of superclassed windows.
    template <class Slot> static LRESULT CALLBACK ObjectProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT Route(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT FinalMessage(HWND hWnd, LRESULT lResult);

    HWND m_hWnd = nullptr;
    WNDPROC m_pfnPreviousProc = ::DefWindowProcW;
    bool m_bSubclassed = false;
};

} // namespace Tarvo
