#include "core/Shadow.h"

#include "core/DibSection.h"
#include "core/GdiResources.h"
#include "core/ShadowShape.h"
#include "core/SkinRender.h"
#include "core/StartupMarks.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <map>

namespace Tarvo {

namespace {

constexpr wchar_t kShadowClassName[] = L"TarvoShadowWnd";

bool g_bClassRegistered = false;

std::map<HWND, CShadowUI*>& HostMap()
{
    static std::map<HWND, CShadowUI*> hosts;
    return hosts;
}

HINSTANCE ModuleOf(HINSTANCE hInstance)
{
    return hInstance != nullptr ? hInstance : ::GetModuleHandleW(nullptr);
}

} // namespace

CShadowUI::~CShadowUI()
{
    Detach();
}

bool CShadowUI::Initialize(HINSTANCE hInstance)
{
    if (g_bClassRegistered) {
        return true;
    }
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ModuleOf(hInstance);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kShadowClassName;
    g_bClassRegistered = ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return g_bClassRegistered;
}

bool CShadowUI::SetSize(int nSize)
{
    if (nSize < -20 || nSize > 20) {
        return false;
    }
    m_nSize = static_cast<signed char>(nSize);
    RefreshIfVisible();
    return true;
}

bool CShadowUI::SetSharpness(unsigned nSharpness)
{
    if (nSharpness > 20) {
        return false;
    }
    m_nSharpness = static_cast<BYTE>(nSharpness);
    return true;
}

bool CShadowUI::SetDarkness(unsigned nDarkness)
{
    if (nDarkness > 255) {
        return false;
    }
    m_nDarkness = static_cast<BYTE>(nDarkness);
    return true;
}

bool CShadowUI::SetPosition(int x, int y)
{
    if (x < -20 || x > 20 || y < -20 || y > 20) {
        return false;
    }
    m_nOffsetX = static_cast<signed char>(x);
    m_nOffsetY = static_cast<signed char>(y);
    RefreshIfVisible();
    return true;
}

void CShadowUI::SetImage(const wchar_t* pstrImage)
{
    m_sImage = pstrImage != nullptr ? pstrImage : L"";
    m_bImageMode = !m_sImage.IsEmpty();
}

void CShadowUI::RefreshIfVisible()
{
    if (m_hWnd != nullptr && (m_status & StatusVisible) != 0) {
        Update(::GetParent(m_hWnd));
    }
}

bool CShadowUI::Create(CWindowManagerUI* pManager)
{
    if (!m_bShowShadow || pManager == nullptr || m_hWnd != nullptr) {
        return false;
    }
    HWND hHost = pManager->WindowHandle();
    if (hHost == nullptr || HostMap().count(hHost) != 0 || !Initialize(CWindowManagerUI::Instance())) {
        return false;
    }
    const LONG_PTR hostStyle = ::GetWindowLongPtrW(hHost, GWL_STYLE);
    m_hWnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClassName, nullptr,
                               WS_POPUP | WS_BORDER | WS_SYSMENU | static_cast<DWORD>(hostStyle & WS_DLGFRAME),
                               CW_USEDEFAULT, 0, 0, 0, hHost, nullptr, ModuleOf(CWindowManagerUI::Instance()), nullptr);
    if (m_hWnd == nullptr) {
        return false;
    }
    m_pManager = pManager;
    m_hHost = hHost;
    HostMap()[hHost] = this;
    if (!::IsWindowVisible(hHost)) {
        m_status = StatusEnabled;
    } else if (::IsIconic(hHost) || ::IsZoomed(hHost)) {
        m_status = StatusEnabled | StatusHostVisible;
    } else {
        m_status = StatusEnabled | StatusVisible | StatusHostVisible;
        ::ShowWindow(m_hWnd, SW_SHOWNA);
        Update(hHost);
    }
    m_pHostProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hHost, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CShadowUI::HostProc)));
    return true;
}

// The host may go first (its WM_DESTROY takes the shadow along) or the manager may be torn
// down while the host lives; either way no map entry or subclass may point at a dead object.
void CShadowUI::Detach()
{
    if (m_hHost != nullptr) {
        HostMap().erase(m_hHost);
        if (m_pHostProc != nullptr && ::IsWindow(m_hHost) &&
            ::GetWindowLongPtrW(m_hHost, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CShadowUI::HostProc)) {
            ::SetWindowLongPtrW(m_hHost, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pHostProc));
        }
    }
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ::DestroyWindow(m_hWnd);
    }
    m_hWnd = nullptr;
    m_hHost = nullptr;
    m_status = 0;
}

LRESULT CALLBACK CShadowUI::HostProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const auto it = HostMap().find(hWnd);
    if (it == HostMap().end()) {
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    CShadowUI* pThis = it->second;
    const WNDPROC pHostProc = pThis->m_pHostProc;
    pThis->OnHostMessage(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY) {
        HostMap().erase(hWnd);
        pThis->m_hHost = nullptr;
    }
    // The host's own procedure may delete the object that owns this shadow: not touched after,
    // except through the map, which a shadow leaves when it goes.
    const LRESULT lResult = ::CallWindowProcW(pHostProc, hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_PAINT) {
        const auto after = HostMap().find(hWnd);
        if (after != HostMap().end()) {
            after->second->OnHostPainted(hWnd);
        }
    }
    return lResult;
}

// A pending redraw waits until the host has painted: the window's own content comes first.
void CShadowUI::OnHostPainted(HWND hHost)
{
    if (m_bUpdatePending) {
        Update(hHost);
        m_bUpdatePending = false;
    }
}

void CShadowUI::OnHostMessage(HWND hHost, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_DESTROY:
        if (m_hWnd != nullptr) {
            ::DestroyWindow(m_hWnd);
            m_hWnd = nullptr;
        }
        break;
    case WM_MOVE:
        if ((m_status & StatusVisible) != 0) {
            RECT rcHost;
            ::GetWindowRect(hHost, &rcHost);
            const POINT pt = ShadowOrigin(rcHost);
            ::SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
        break;
    case WM_SIZE:
        OnHostSize(hHost, wParam, lParam);
        break;
    case WM_SHOWWINDOW:
        OnHostShow(hHost, wParam != FALSE);
        break;
    case WM_EXITSIZEMOVE:
        if ((m_status & StatusVisible) != 0) {
            Update(hHost);
        }
        break;
    default:
        break;
    }
}

void CShadowUI::OnHostSize(HWND hHost, WPARAM wParam, LPARAM lParam)
{
    if ((m_status & StatusEnabled) == 0) {
        return;
    }
    const WORD width = LOWORD(lParam);
    const WORD height = HIWORD(lParam);
    if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXIMIZED) {
        ShowShadowWindow(false);
        if (wParam == SIZE_MAXIMIZED) {
            Update(hHost);
        }
    } else if ((m_status & StatusHostVisible) != 0) {
        // Growing repaints the host anyway; drawing the shadow then avoids a second pass.
        if (width > m_lastWidth || height > m_lastHeight) {
            m_bUpdatePending = true;
        } else {
            Update(hHost);
        }
        if ((m_status & StatusVisible) == 0) {
            ShowShadowWindow(true);
        }
    }
    m_lastWidth = width;
    m_lastHeight = height;
}

void CShadowUI::OnHostShow(HWND /*hHost*/, bool bShown)
{
    if ((m_status & StatusEnabled) == 0) {
        return;
    }
    if (!bShown) {
        ShowShadowWindow(false);
        m_status &= static_cast<BYTE>(~StatusHostVisible);
    } else if ((m_status & StatusHostVisible) == 0) {
        m_bUpdatePending = true;
        ShowShadowWindow(true);
        m_status |= StatusHostVisible;
    }
}

void CShadowUI::ShowShadowWindow(bool bShow)
{
    if (m_hWnd == nullptr) {
        return;
    }
    ::ShowWindow(m_hWnd, bShow ? SW_SHOWNA : SW_HIDE);
    m_status = bShow ? static_cast<BYTE>(m_status | StatusVisible) : static_cast<BYTE>(m_status & ~StatusVisible);
}

POINT CShadowUI::ShadowOrigin(const RECT& rcHost) const
{
    if (m_bImageMode) {
        return {rcHost.left - m_rcCorner.left, rcHost.top - m_rcCorner.top};
    }
    return {rcHost.left + m_nOffsetX - m_nSize, rcHost.top + m_nOffsetY - m_nSize};
}

void CShadowUI::Update(HWND hHost)
{
    if (m_hWnd == nullptr || hHost == nullptr || (m_bImageMode && m_sImage.IsEmpty())) {
        return;
    }
    RECT rcHost;
    ::GetWindowRect(hHost, &rcHost);
    const int hostWidth = rcHost.right - rcHost.left;
    const int hostHeight = rcHost.bottom - rcHost.top;
    const int width = m_bImageMode ? hostWidth + m_rcCorner.left + m_rcCorner.right : hostWidth + 2 * m_nSize;
    const int height = m_bImageMode ? hostHeight + m_rcCorner.top + m_rcCorner.bottom : hostHeight + 2 * m_nSize;
    CDibSectionUI buffer;
    if (!buffer.Create(width, height) || !PaintShadow(buffer, hHost, rcHost)) {
        return;
    }
    POINT ptOrigin = ShadowOrigin(rcHost);
    ::SetWindowPos(m_hWnd, nullptr, ptOrigin.x, ptOrigin.y, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    SIZE size = {width, height};
    POINT ptSource = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(m_hWnd, nullptr, &ptOrigin, &size, buffer.DC(), &ptSource, 0, &blend, ULW_ALPHA);
    CStartupMarksUI::Mark(L"shadow drawn");
}

bool CShadowUI::PaintShadow(const CDibSectionUI& buffer, HWND hHost, const RECT& rcHost)
{
    if (m_bImageMode) {
        const UIImageInfo* pImage = m_pManager != nullptr ? m_pManager->FindOrAddImage(m_sImage, nullptr, 0) : nullptr;
        if (pImage == nullptr) {
            return false;
        }
        const RECT rcAll = {0, 0, buffer.Width(), buffer.Height()};
        CSkinRender::PaintBitmap(buffer.DC(), pImage->hBitmap, rcAll, rcAll, {0, 0, pImage->nWidth, pImage->nHeight},
                                 m_rcCorner, pImage->bAlphaChannel, 255, true);
        return true;
    }
    const CUIGdiHandle<HRGN> region(::CreateRectRgn(0, 0, 0, 0));
    const bool bHasRegion = region && ::GetWindowRgn(hHost, region.Get()) != ERROR;
    const std::vector<UIShadowSpan> outline =
        ScanOutline(bHasRegion ? region.Get() : nullptr, rcHost.right - rcHost.left, rcHost.bottom - rcHost.top);
    ::GdiFlush();
    std::fill_n(buffer.Bits(), static_cast<size_t>(buffer.Width()) * buffer.Height(), 0u);
    const UIShadowParams params = {m_nSize, m_nSharpness, m_nDarkness, m_nOffsetX, m_nOffsetY, m_dwColor};
    DrawComputedShadow(buffer.Bits(), buffer.Width(), buffer.Height(), outline, params);
    return true;
}

} // namespace Tarvo
