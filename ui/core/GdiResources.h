#pragma once

#include <windows.h>

#include <utility>

#include "UIHandle.h"

namespace Tarvo {

// GDI objects and memory DCs through the framework's one handle template.
template <class H>
struct UIGdiObjectTraits {
    using Handle = H;
    static H Invalid() { return nullptr; }
    static bool IsValid(H h) { return h != nullptr; }
    static void Close(H h) { ::DeleteObject(h); }
};
struct UIMemoryDCTraits {
    using Handle = HDC;
    static HDC Invalid() { return nullptr; }
    static bool IsValid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { ::DeleteDC(h); }
};

template <class H> using CUIGdiHandle = CUIScopedHandle<UIGdiObjectTraits<H>>;

using CUIFontHandle = CUIGdiHandle<HFONT>;
using CUIBitmapHandle = CUIGdiHandle<HBITMAP>;
using CUIBrushHandle = CUIGdiHandle<HBRUSH>;
using CUIMemoryDC = CUIScopedHandle<UIMemoryDCTraits>;

// Selects an object into a DC for the scope and puts the previous one back.
class CUISelectObject {
public:
    CUISelectObject(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(::SelectObject(hDC, hObject)) {}
    ~CUISelectObject() { ::SelectObject(m_hDC, m_hOld); }
    CUISelectObject(const CUISelectObject&) = delete;
    CUISelectObject& operator=(const CUISelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// SaveDC/RestoreDC for the scope.
class CUISavedDC {
public:
    explicit CUISavedDC(HDC hDC) : m_hDC(hDC), m_nSaved(::SaveDC(hDC)) {}
    ~CUISavedDC() { ::RestoreDC(m_hDC, m_nSaved); }
    CUISavedDC(const CUISavedDC&) = delete;
    CUISavedDC& operator=(const CUISavedDC&) = delete;

private:
    HDC m_hDC;
    int m_nSaved;
};

// BeginPaint/EndPaint for the scope.
class CUIPaintScope {
public:
    explicit CUIPaintScope(HWND hWnd) : m_hWnd(hWnd) { ::BeginPaint(hWnd, &m_ps); }
    ~CUIPaintScope() { ::EndPaint(m_hWnd, &m_ps); }
    CUIPaintScope(const CUIPaintScope&) = delete;
    CUIPaintScope& operator=(const CUIPaintScope&) = delete;
    HDC DC() const { return m_ps.hdc; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps = {};
};

// GetDC/ReleaseDC of a window (null: the screen) for the scope.
class CUIWindowDC {
public:
    explicit CUIWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CUIWindowDC()
    {
        if (m_hDC != nullptr) {
            ::ReleaseDC(m_hWnd, m_hDC);
        }
    }
    CUIWindowDC(const CUIWindowDC&) = delete;
    CUIWindowDC& operator=(const CUIWindowDC&) = delete;
    HDC DC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

} // namespace Tarvo
