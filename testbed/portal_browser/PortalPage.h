#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace wxlmportal {

enum class PageHit { None, Drag, Minimize, Close, Start, Link };

// What the page shows: nothing until the top document completes, an error text after a
// failed one, the portal page otherwise.
struct PageView {
    bool loaded = false;
    std::optional<LONG> errorStatus;
    std::wstring title;
    std::wstring url;
};

// The plain portal page: its layout (fixed pixels from the top-left, README.md) and painting.
class CPortalPage {
public:
    static constexpr COLORREF kHeaderColour = RGB(32, 64, 128);
    static constexpr COLORREF kBodyColour = RGB(240, 244, 250);
    static constexpr COLORREF kButtonColour = RGB(230, 120, 20);

    static RECT Area(PageHit hit, SIZE size);
    static PageHit HitTest(POINT point, SIZE size);
    // Paints the view into bounds (which may be offset, as for IViewObject::Draw).
    static void Paint(HDC dc, const RECT& bounds, const PageView& view);

private:
    static void PaintPortal(HDC dc, const RECT& bounds, const PageView& view);
    static void PaintError(HDC dc, const RECT& bounds, LONG status);
};

} // namespace wxlmportal
