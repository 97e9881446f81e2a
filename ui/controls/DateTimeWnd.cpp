#include "controls/DateTimeWnd.h"

#include "controls/DateTime.h"
#include "core/CommonControls.h"
#include "core/WindowManager.h"

namespace Tarvo {

namespace {

bool InitDateClasses()
{
    return UIInitCommonControls(ICC_DATE_CLASSES);
}

} // namespace

LPCWSTR CDateTimeWnd::WindowClassName() const
{
    return L"DateTimeWnd";
}

LPCWSTR CDateTimeWnd::SuperclassName() const
{
    return DATETIMEPICK_CLASSW;
}

CDateTimeWnd* CDateTimeWnd::Open(CDateTimeUI* pOwner)
{
    CWindowManagerUI* pManager = pOwner->Manager();
    if (!InitDateClasses()) {
        return nullptr;
    }
    const RECT rc = pOwner->Position();
    auto* pWnd = new CDateTimeWnd(pOwner);
    if (pWnd->Create(pManager->WindowHandle(), L"", WS_CHILD | WS_CLIPSIBLINGS | DTS_SHORTDATEFORMAT, 0, rc.left,
                     rc.top, rc.right - rc.left, rc.bottom - rc.top) == nullptr) {
        delete pWnd;
        return nullptr;
    }
    const HWND hWnd = pWnd->WindowHandle();
    // The picker shows the date as the control does.
    ::SendMessageW(hWnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"yyyy'-'MM'-'dd"));
    SYSTEMTIME date = pOwner->Time();
    ::SendMessageW(hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    if (const UIFontInfo* pFont = pManager->FontInfoAt(pOwner->FontIndex()); pFont != nullptr) {
        ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pFont->hFont), FALSE);
    }
    ::ShowWindow(hWnd, SW_SHOW);
    ::SetFocus(hWnd);
    return pWnd;
}

void CDateTimeWnd::Place(const RECT& rc)
{
    if (WindowHandle() != nullptr) {
        ::MoveWindow(WindowHandle(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    }
}

void CDateTimeWnd::Close()
{
    if (WindowHandle() != nullptr && !m_bClosing) {
        m_bClosing = true;
        ::PostMessageW(WindowHandle(), WM_CLOSE, 0, 0);
    }
}

void CDateTimeWnd::Abandon()
{
    m_pOwner = nullptr;
    if (WindowHandle() != nullptr) {
        ::DestroyWindow(WindowHandle());
    }
}

void CDateTimeWnd::CopyBack()
{
    SYSTEMTIME date = {};
    if (m_pOwner == nullptr || m_bCancelled ||
        ::SendMessageW(WindowHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) != GDT_VALID) {
        return;
    }
    m_pOwner->SetTime(date);
}

// The drop-down calendar is a popup of the picker: focus moving there stays inside.
bool CDateTimeWnd::OwnsWindow(HWND hWnd) const
{
    const auto hCalendar = reinterpret_cast<HWND>(::SendMessageW(WindowHandle(), DTM_GETMONTHCAL, 0, 0));
    for (HWND h = hWnd; h != nullptr; h = ::GetParent(h)) {
        if (h == WindowHandle() || (hCalendar != nullptr && h == hCalendar)) {
            return true;
        }
    }
    return false;
}

LRESULT CDateTimeWnd::ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KILLFOCUS:
        if (!OwnsWindow(reinterpret_cast<HWND>(wParam))) {
            Close();
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            m_bCancelled = wParam == VK_ESCAPE;
            Close();
            return 0;
        }
        break;
    case WM_CLOSE:
        CopyBack();
        ::DestroyWindow(WindowHandle());
        return 0;
    default:
        break;
    }
    return CallPreviousProc(uMsg, wParam, lParam);
}

void CDateTimeWnd::OnFinalWindowMessage(HWND)
{
    if (m_pOwner != nullptr) {
        m_pOwner->PickerClosed(this);
    }
    delete this;
}

} // namespace Tarvo
