#pragma once

#include <windows.h>

#include <utility>

namespace Tarvo {

struct GdiObjectTraits {
    static void Close(HGDIOBJ h) { ::DeleteObject(h); }
};
struct MemoryDCTraits {
    static void Close(HDC h) { ::DeleteDC(h); }
};

// Move-only owner of one GDI handle. Closing keeps GetLastError() intact.
template <class H, class Traits> class CUIHandle {
public:
    CUIHandle() = default;
    explicit CUIHandle(H h) : m_h(h) {}
    ~CUIHandle() { Close(); }
    CUIHandle(CUIHandle&& other) noexcept : m_h(other.Release()) {}
    CUIHandle& operator=(CUIHandle&& other) noexcept
    {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    CUIHandle(const CUIHandle&) = delete;
    CUIHandle& operator=(const CUIHandle&) = delete;

    H Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    H Release() { return std::exchange(m_h, nullptr); }
    void Reset(H h = nullptr)
    {
        Close();
        m_h = h;
    }
    void Close()
    {
        if (m_h != nullptr) {
            const DWORD error = ::GetLastError();
            Traits::Close(m_h);
            ::SetLastError(error);
            m_h = nullptr;
        }
    }

private:
    H m_h = nullptr;
};

using CUIFontHandle = CUIHandle<HFONT, GdiObjectTraits>;
using CUIBitmapHandle = CUIHandle<HBITMAP, GdiObjectTraits>;
using CUIBrushHandle = CUIHandle<HBRUSH, GdiObjectTraits>;
using CUIMemoryDC = CUIHandle<HDC, MemoryDCTraits>;

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

} // namespace Tarvo
