#include "core/WindowManager.h"

#include "controls/Control.h"
#include "core/SkinRender.h"
#include "core/StartupMarks.h"

#include <algorithm>

namespace Tarvo {

namespace {

CControlUI* ControlNeedingLayout(CControlUI* pControl, void*)
{
    return pControl->IsUpdateNeeded() ? pControl : nullptr;
}

// GDI leaves the alpha byte at 0 wherever it draws; those pixels are opaque.
void MakeGdiPixelsOpaque(DWORD* pBits, int nStride, const RECT& rc)
{
    for (int y = rc.top; y < rc.bottom; ++y) {
        DWORD* pRow = pBits + static_cast<ptrdiff_t>(y) * nStride;
        for (int x = rc.left; x < rc.right; ++x) {
            if ((pRow[x] & 0xFF000000) == 0 && (pRow[x] & 0x00FFFFFF) != 0) {
                pRow[x] |= 0xFF000000;
            }
        }
    }
}

void ClearPixels(DWORD* pBits, int nStride, const RECT& rc)
{
    for (int y = rc.top; y < rc.bottom; ++y) {
        DWORD* pRow = pBits + static_cast<ptrdiff_t>(y) * nStride;
        std::fill(pRow + rc.left, pRow + rc.right, 0u);
    }
}

} // namespace

void CWindowManagerUI::Invalidate(const RECT& rc)
{
    if (m_hWnd == nullptr) {
        return;
    }
    ::InvalidateRect(m_hWnd, &rc, FALSE);
    m_rcLayeredUpdate = rc;
}

void CWindowManagerUI::OnPaint()
{
    RECT rcUpdate = {0, 0, 0, 0};
    if (!::GetUpdateRect(m_hWnd, &rcUpdate, FALSE) || ::IsRectEmpty(&rcUpdate)) {
        return;
    }
    {
        CStartupMarksUI::Mark(L"first paint begun");
        CUIPaintScope paint(m_hWnd);
        if (m_pRoot == nullptr) {
            return;
        }
        LayOutPending();
        CStartupMarksUI::Mark(L"first layout done");
        if (m_bFocusNeeded) {
            MoveFocus(true);
        }
        if (m_bLayered) {
            PaintLayered(rcUpdate);
        } else {
            PaintOrdinary(paint.DC(), rcUpdate);
        }
    }
    CStartupMarksUI::Mark(L"first paint done");
    if (m_bLayoutNeeded) {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
}

void CWindowManagerUI::LayOutPending()
{
    if (!m_bLayoutNeeded) {
        return;
    }
    m_bLayoutNeeded = false;
    RECT rcClient = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &rcClient);
    if (!::IsRectEmpty(&rcClient)) {
        if (!m_pRoot->IsUpdateNeeded()) {
            CControlUI* pPrevious = nullptr;
            while (CControlUI* pControl =
                       m_pRoot->SearchTree(ControlNeedingLayout, nullptr, FindVisible | FindMeFirst)) {
                // A control that stays dirty after being placed would keep this loop going forever.
                if (pControl == pPrevious) {
                    break;
                }
                pControl->SetPosition(pControl->Position());
                pPrevious = pControl;
            }
        } else {
            if (!::IsIconic(m_hWnd)) {
                m_pRoot->SetPosition(rcClient);
            }
            DropBackBuffer();
        }
    }
    if (m_bFirstLayout) {
        m_bFirstLayout = false;
        SendNotification(m_pRoot, L"windowinit");
    }
}

bool CWindowManagerUI::EnsureBackBuffer(bool bDibSection)
{
    RECT rcClient = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &rcClient);
    const SIZE szClient = {rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};
    const bool bKindMatches = (m_pOffscreenBits != nullptr) == bDibSection;
    if (m_offscreenDC && bKindMatches && szClient.cx == m_szOffscreen.cx && szClient.cy == m_szOffscreen.cy) {
        return true;
    }
    DropBackBuffer();
    if (szClient.cx <= 0 || szClient.cy <= 0) {
        return false;
    }
    CUIMemoryDC dc(::CreateCompatibleDC(m_hPaintDC));
    if (!dc) {
        return false;
    }
    CUIBitmapHandle bitmap;
    void* pBits = nullptr;
    if (bDibSection) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = szClient.cx;
        bmi.bmiHeader.biHeight = -szClient.cy; // top-down
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        bitmap.Reset(::CreateDIBSection(m_hPaintDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    } else {
        bitmap.Reset(::CreateCompatibleBitmap(m_hPaintDC, szClient.cx, szClient.cy));
    }
    if (!bitmap || (bDibSection && pBits == nullptr)) {
        return false;
    }
    m_hOffscreenOldBitmap = ::SelectObject(dc.Get(), bitmap.Get());
    m_offscreenDC = std::move(dc);
    m_offscreenBitmap = std::move(bitmap);
    m_pOffscreenBits = static_cast<DWORD*>(pBits);
    m_szOffscreen = szClient;
    return true;
}

void CWindowManagerUI::DropBackBuffer()
{
    if (m_offscreenDC && m_hOffscreenOldBitmap != nullptr) {
        ::SelectObject(m_offscreenDC.Get(), m_hOffscreenOldBitmap);
    }
    m_hOffscreenOldBitmap = nullptr;
    m_offscreenBitmap.Close();
    m_offscreenDC.Close();
    m_pOffscreenBits = nullptr;
    m_szOffscreen = {0, 0};
}

void CWindowManagerUI::PaintTree(HDC hDC, const RECT& rcPaint)
{
    if (m_pRoot == nullptr) {
        return;
    }
    CUISavedDC saved(hDC);
    m_pRoot->Paint(hDC, rcPaint);
    PaintCaret(hDC, rcPaint);
    for (int i = 0; i < m_postPainters.GetSize(); ++i) {
        static_cast<CControlUI*>(m_postPainters.GetAt(i))->PaintPost(hDC, rcPaint);
    }
}

void CWindowManagerUI::PaintLayered(const RECT& rcUpdate)
{
    const LONG lExStyle = ::GetWindowLongW(m_hWnd, GWL_EXSTYLE);
    if ((lExStyle & WS_EX_LAYERED) == 0) {
        ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, lExStyle | WS_EX_LAYERED);
    }
    RECT rcClient = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &rcClient);
    RECT rcPaint = rcClient;
    if (m_bRestorePending) {
        m_bRestorePending = false;
    } else {
        ::UnionRect(&rcPaint, &rcUpdate, &m_rcLayeredUpdate);
        m_rcLayeredUpdate = {0, 0, 0, 0};
    }
    if (!EnsureBackBuffer(true)) {
        return;
    }
    const HDC hDC = m_offscreenDC.Get();
    RECT rcPixels = {0, 0, 0, 0};
    if (::IntersectRect(&rcPixels, &rcPaint, &rcClient)) {
        ClearPixels(m_pOffscreenBits, m_szOffscreen.cx, rcPixels);
        PaintTree(hDC, rcPaint);
        ::GdiFlush();
        MakeGdiPixelsOpaque(m_pOffscreenBits, m_szOffscreen.cx, rcPixels);
    }
    RECT rcWindow = {0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &rcWindow);
    POINT ptDest = {rcWindow.left, rcWindow.top};
    SIZE szWindow = {rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top};
    POINT ptSource = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(m_hWnd, nullptr, &ptDest, &szWindow, hDC, &ptSource, 0, &blend, ULW_ALPHA);
}

void CWindowManagerUI::PaintOrdinary(HDC hWindowDC, const RECT& rcUpdate)
{
    if (!EnsureBackBuffer(false)) {
        return;
    }
    const HDC hDC = m_offscreenDC.Get();
    PaintTree(hDC, rcUpdate);
    CStartupMarksUI::Mark(L"first tree painted");
    ::BitBlt(hWindowDC, rcUpdate.left, rcUpdate.top, rcUpdate.right - rcUpdate.left, rcUpdate.bottom - rcUpdate.top,
             hDC, rcUpdate.left, rcUpdate.top, SRCCOPY);
}

void CWindowManagerUI::SetCaret(CControlUI* pOwner, const RECT& rc, DWORD dwColor)
{
    if (m_bCaretVisible) {
        Invalidate(m_rcCaret);
    }
    m_pCaretOwner = pOwner;
    m_rcCaret = rc;
    m_dwCaretColor = dwColor;
    if (m_bCaretVisible) {
        Invalidate(m_rcCaret);
    }
}

void CWindowManagerUI::ShowCaret(bool bShow)
{
    if (m_bCaretActive == bShow) {
        return;
    }
    m_bCaretActive = bShow;
    if (bShow) {
        ::SetTimer(m_hWnd, CaretTimerId, ::GetCaretBlinkTime(), nullptr);
        if (!m_bCaretVisible) {
            Invalidate(m_rcCaret);
            m_bCaretVisible = true;
        }
    } else {
        ::KillTimer(m_hWnd, CaretTimerId);
        if (m_bCaretVisible) {
            Invalidate(m_rcCaret);
            m_bCaretVisible = false;
        }
    }
}

void CWindowManagerUI::PaintCaret(HDC hDC, const RECT& rcPaint)
{
    if (m_pCaretOwner == nullptr) {
        return;
    }
    if (!m_pCaretOwner->IsFocused() || ::GetFocus() != m_hWnd) {
        // Hidden once: invalidating on every paint would make paints follow one another forever.
        ShowCaret(false);
        return;
    }
    RECT rc = {0, 0, 0, 0};
    if (!m_bCaretVisible || !m_bCaretActive || !::IntersectRect(&rc, &m_rcCaret, &rcPaint)) {
        return;
    }
    CSkinRender::FillColor(hDC, rc, m_dwCaretColor != 0 ? m_dwCaretColor : DefaultFontColor());
}

} // namespace Tarvo
