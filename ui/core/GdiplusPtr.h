#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>

namespace Tarvo {

// Owners of GDI+ flat-interface objects, each deleted with its own Gdip call.
template <typename T, Gdiplus::GpStatus(WINGDIPAPI* Delete)(T*)> struct UIGdiplusDeleter {
    void operator()(T* p) const { Delete(p); }
};
template <typename T, Gdiplus::GpStatus(WINGDIPAPI* Delete)(T*)>
using CUIGdiplusPtr = std::unique_ptr<T, UIGdiplusDeleter<T, Delete>>;

using CUIGdiplusGraphics = CUIGdiplusPtr<Gdiplus::GpGraphics, Gdiplus::DllExports::GdipDeleteGraphics>;
using CUIGdiplusFont = CUIGdiplusPtr<Gdiplus::GpFont, Gdiplus::DllExports::GdipDeleteFont>;
using CUIGdiplusBrush = CUIGdiplusPtr<Gdiplus::GpBrush, Gdiplus::DllExports::GdipDeleteBrush>;
using CUIGdiplusImage = CUIGdiplusPtr<Gdiplus::GpImage, Gdiplus::DllExports::GdipDisposeImage>;
using CUIGdiplusStringFormat = CUIGdiplusPtr<Gdiplus::GpStringFormat, Gdiplus::DllExports::GdipDeleteStringFormat>;

} // namespace Tarvo
