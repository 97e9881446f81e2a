#include "core/WindowWnd.h"

#include "core/WindowManager.h"

namespace Tarvo {

namespace {

constexpr wchar_t kObjectProperty[] = L"WndX";

// Set by every WM_MOUSELEAVE; the next WM_MOUSEMOVE asks for hover and leave tracking again.
bool g_bTrackMouseNeeded = true;

void TrackMouseAfterLeave(HWND hWnd, UINT uMsg)
{
    if (uMsg == WM_MOUSELEAVE) {
        g_bTrackMouseNeeded = true;
    } else if (uMsg == WM_MOUSEMOVE && g_bTrackMouseNeeded) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = hWnd;
        tme.dwHoverTime = 5;
        ::TrackMouseEvent(&tme);
        g_bTrackMouseNeeded = false;
    }
}

// The program's module; the process image until start-up names one.
HINSTANCE ProgramModule()
{
    const HINSTANCE hInstance = CWindowManagerUI::Instance();
    return hInstance != nullptr ? hInstance : ::GetModuleHandleW(nullptr);
}

bool Registered(ATOM atom)
{
    return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

LPCWSTR CWindowWnd::SuperclassName() const
{
    return nullptr;
}

UINT CWindowWnd::WindowClassStyle() const
{
    return 0;
}

LRESULT CWindowWnd::ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return CallPreviousProc(uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalWindowMessage(HWND /*hWnd*/) {}

LRESULT CWindowWnd::CallPreviousProc(UINT uMsg, WPARAM wParam, LPARAM lParam) const
{
    return ::CallWindowProcW(m_pfnPreviousProc, m_hWnd, uMsg, wParam, lParam);
}

HWND CWindowWnd::Create(HWND hWndParent, LPCWSTR pstrTitle, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx,
                        int cy, HMENU /*hMenu*/)
{
    const bool bRegistered = SuperclassName() != nullptr ? RegisterSuperclass() : RegisterWindowClass();
    if (!bRegistered) {
        return nullptr;
    }
    m_hWnd = ::CreateWindowExW(dwExStyle, WindowClassName(), pstrTitle, dwStyle, x, y, cx, cy, hWndParent, nullptr,
                               ProgramModule(), this);
    return m_hWnd;
}

bool CWindowWnd::RegisterWindowClass() const
{
    WNDCLASSW wc = {};
    wc.style = WindowClassStyle();
    wc.lpfnWndProc = &CWindowWnd::ObjectProc<UserDataSlot>;
    wc.hInstance = ProgramModule();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = WindowClassName();
    return Registered(::RegisterClassW(&wc));
}

bool CWindowWnd::RegisterSuperclass()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(nullptr, SuperclassName(), &wc) &&
        !::GetClassInfoExW(ProgramModule(), SuperclassName(), &wc)) {
        return false;
    }
    m_pfnPreviousProc = wc.lpfnWndProc;
    wc.lpfnWndProc = &CWindowWnd::ObjectProc<PropertySlot>;
    wc.hInstance = ProgramModule();
    wc.lpszClassName = WindowClassName();
    return Registered(::RegisterClassExW(&wc));
}

// Where a window keeps its object: the user data for our own classes, the property "WndX" for
// superclassed ones (whose user data belongs to the original class).
struct CWindowWnd::UserDataSlot {
    static void Set(HWND hWnd, CWindowWnd* pThis)
    {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
    }
    static CWindowWnd* Get(HWND hWnd)
    {
        return reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    }
    static void Clear(HWND hWnd) { ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0); }
};

struct CWindowWnd::PropertySlot {
    static void Set(HWND hWnd, CWindowWnd* pThis) { ::SetPropW(hWnd, kObjectProperty, pThis); }
    static CWindowWnd* Get(HWND hWnd) { return static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProperty)); }
    // A property left on a destroyed window leaks its atom.
    static void Clear(HWND hWnd) { ::RemovePropW(hWnd, kObjectProperty); }
};

template <class Slot> LRESULT CALLBACK CWindowWnd::ObjectProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE) {
        pThis = static_cast<CWindowWnd*>(reinterpret_cast<LPCREATESTRUCTW>(lParam)->lpCreateParams);
        pThis->m_hWnd = hWnd;
        Slot::Set(hWnd, pThis);
    } else {
        pThis = Slot::Get(hWnd);
        if (uMsg == WM_NCDESTROY && pThis != nullptr) {
            const LRESULT lRes = ::CallWindowProcW(pThis->m_pfnPreviousProc, hWnd, uMsg, wParam, lParam);
            Slot::Clear(hWnd);
            return pThis->FinalMessage(hWnd, lRes);
        }
    }
    return Route(pThis, hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::Route(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    TrackMouseAfterLeave(hWnd, uMsg);
    if (pThis == nullptr) {
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    return pThis->ProcessWindowMessage(uMsg, wParam, lParam);
}

LRESULT CWindowWnd::FinalMessage(HWND hWnd, LRESULT lResult)
{
    if (m_bSubclassed) {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnPreviousProc));
        m_pfnPreviousProc = ::DefWindowProcW;
        m_bSubclassed = false;
    }
    m_hWnd = nullptr;
    OnFinalWindowMessage(hWnd); // may delete this
    return lResult;
}

void CWindowWnd::CenterWindow()
{
    RECT rcWindow = {};
    ::GetWindowRect(m_hWnd, &rcWindow);
    const HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hOwner != nullptr ? hOwner : m_hWnd, MONITOR_DEFAULTTONEAREST), &info);
    const RECT rcWork = info.rcWork;
    RECT rcReference = rcWork;
    if (hOwner != nullptr) {
        ::GetWindowRect(hOwner, &rcReference);
    }
    const int cx = rcWindow.right - rcWindow.left;
    const int cy = rcWindow.bottom - rcWindow.top;
    int x = (rcReference.left + rcReference.right) / 2 - cx / 2;
    int y = (rcReference.top + rcReference.bottom) / 2 - cy / 2;
    if (x < rcWork.left) {
        x = rcWork.left;
    } else if (x + cx > rcWork.right) {
        x = rcWork.right - cx;
    }
    if (y < rcWork.top) {
        y = rcWork.top;
    } else if (y + cy > rcWork.bottom) {
        y = rcWork.bottom - cy;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT CWindowWnd::ShowModal()
{
    const HWND hWnd = m_hWnd;
    const HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    ::EnableWindow(hOwner, FALSE);
    ::SendMessageW(hOwner, WM_UI_MODAL_OPENED, 0, reinterpret_cast<LPARAM>(hWnd));
    UINT nResult = 0;
    MSG msg = {};
    bool bQuit = false;
    while (::IsWindow(hWnd)) {
        const BOOL bGot = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bGot == 0 || bGot == -1) {
            bQuit = bGot == 0;
            break;
        }
        if (msg.message == WM_CLOSE && msg.hwnd == hWnd) {
            nResult = static_cast<UINT>(msg.wParam);
            ::EnableWindow(hOwner, TRUE);
            ::SetFocus(hOwner);
        }
        if (!CWindowManagerUI::PreDispatch(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    ::EnableWindow(hOwner, TRUE);
    ::SetFocus(hOwner);
    if (bQuit) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
    }
    return nResult;
}

} // namespace Tarvo
