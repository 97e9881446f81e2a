#include "PortalPage.h"

#include "RecordFile.h"
#include "../../ui/core/GdiResources.h"

namespace wxlmportal {

namespace {

constexpr int kHeaderHeight = 40;
constexpr int kButtonWidth = 40;

RECT Offset(RECT rect, const RECT& bounds)
{
    ::OffsetRect(&rect, bounds.left, bounds.top);
    return rect;
}

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    const Tarvo::CUIBrushHandle brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &rect, brush.Get());
}

Tarvo::CUIFontHandle MakeFont(int height, bool bold, bool underline = false)
{
    // The prefix maps this face to a font with CJK glyphs.
    return Tarvo::CUIFontHandle(::CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                              NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei"));
}

void Text(HDC dc, RECT rect, const std::wstring& text, const Tarvo::CUIFontHandle& font, COLORREF colour, UINT format)
{
    const Tarvo::CUISelectObject select(dc, font.Get());
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_NOPREFIX);
}

} // namespace

RECT CPortalPage::Area(PageHit hit, SIZE size)
{
    const LONG w = size.cx;
    switch (hit) {
    case PageHit::Drag:
        return {0, 0, w - 2 * kButtonWidth, kHeaderHeight};
    case PageHit::Minimize:
        return {w - 2 * kButtonWidth, 0, w - kButtonWidth, kHeaderHeight};
    case PageHit::Close:
        return {w - kButtonWidth, 0, w, kHeaderHeight};
    case PageHit::Start:
        return {(w - 200) / 2, 200, (w - 200) / 2 + 200, 260};
    case PageHit::Link:
        return {w / 2 - 80, 290, w / 2 + 80, 314};
    case PageHit::None:
        break;
    }
    return {0, 0, 0, 0};
}

PageHit CPortalPage::HitTest(POINT point, SIZE size)
{
    for (const PageHit hit : {PageHit::Minimize, PageHit::Close, PageHit::Drag, PageHit::Start, PageHit::Link}) {
        const RECT area = Area(hit, size);
        if (::PtInRect(&area, point)) {
            return hit;
        }
    }
    return PageHit::None;
}

void CPortalPage::Paint(HDC dc, const RECT& bounds, const PageView& view)
{
    Fill(dc, bounds, RGB(255, 255, 255));
    if (view.errorStatus) {
        PaintError(dc, bounds, *view.errorStatus);
    } else if (view.loaded) {
        PaintPortal(dc, bounds, view);
    }
}

void CPortalPage::PaintPortal(HDC dc, const RECT& bounds, const PageView& view)
{
    const SIZE size{bounds.right - bounds.left, bounds.bottom - bounds.top};
    Fill(dc, {bounds.left, bounds.top + kHeaderHeight, bounds.right, bounds.bottom}, kBodyColour);
    Fill(dc, {bounds.left, bounds.top, bounds.right, bounds.top + kHeaderHeight}, kHeaderColour);
    const Tarvo::CUIFontHandle small = MakeFont(13, false);
    const Tarvo::CUIFontHandle big = MakeFont(22, true);
    const Tarvo::CUIFontHandle link = MakeFont(14, false, true);
    const COLORREF white = RGB(255, 255, 255);

    RECT drag = Offset(Area(PageHit::Drag, size), bounds);
    drag.left += 10;
    Text(dc, drag, L"拖动此处移动窗口", small, RGB(200, 210, 230), DT_SINGLELINE | DT_VCENTER);
    Text(dc, Offset(Area(PageHit::Minimize, size), bounds), L"_", big, white, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    Text(dc, Offset(Area(PageHit::Close, size), bounds), L"×", big, white, DT_SINGLELINE | DT_CENTER | DT_VCENTER);

    Text(dc, Offset({0, 70, size.cx, 110}, bounds), view.title, big, kHeaderColour, DT_SINGLELINE | DT_CENTER);
    Text(dc, Offset({10, 120, size.cx - 10, 180}, bounds), view.url, small, RGB(60, 60, 60),
         DT_CENTER | DT_WORDBREAK | DT_EDITCONTROL);

    const RECT start = Offset(Area(PageHit::Start, size), bounds);
    Fill(dc, start, kButtonColour);
    Text(dc, start, L"开始游戏", big, white, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    Text(dc, Offset(Area(PageHit::Link, size), bounds), L"在新窗口打开", link, RGB(0, 0, 200),
         DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void CPortalPage::PaintError(HDC dc, const RECT& bounds, LONG status)
{
    const Tarvo::CUIFontHandle font = MakeFont(16, false);
    RECT text = bounds;
    text.top += 40;
    Text(dc, text, L"无法显示此页 (" + CRecordFile::Hex(status) + L")", font, RGB(0, 0, 0), DT_SINGLELINE | DT_CENTER);
}

} // namespace wxlmportal
