// The markup-text layout of labels (PaintHtmlText) on any text, rectangle and format: measured,
// then drawn. Beyond "no crash, hang or leak": the measured rectangle keeps its origin and is
// not inverted, links stay within the caller's capacity and name text of the markup, every
// bitmap is drawn from inside itself, the DC gets its font and clip back, and the manager's
// fonts and images are all released with it.
#include "FuzzText.h"

#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include <port/include/wxlm_port.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace Tarvo;

namespace {

constexpr int kMaxLinks = 8;

LONG Coordinate(FuzzedDataProvider& provider)
{
    // Mostly label-sized, now and then the ends of the int range.
    switch (provider.ConsumeIntegralInRange(0, 7)) {
    case 0:
        return INT_MIN;
    case 1:
        return INT_MAX;
    case 2:
        return provider.ConsumeIntegral<int32_t>();
    default:
        return provider.ConsumeIntegralInRange<LONG>(-50, 600);
    }
}

UINT Format(FuzzedDataProvider& provider)
{
    static const UINT kFlags[] = {DT_SINGLELINE, DT_WORDBREAK, DT_END_ELLIPSIS, DT_CENTER,
                                  DT_RIGHT,      DT_VCENTER,   DT_BOTTOM};
    UINT format = 0;
    const uint8_t bits = provider.ConsumeIntegral<uint8_t>();
    for (size_t i = 0; i < sizeof kFlags / sizeof kFlags[0]; ++i)
        if ((bits >> i) & 1)
            format |= kFlags[i];
    return format;
}

void AddFonts(CWindowManagerUI& manager, FuzzedDataProvider& provider)
{
    const int count = provider.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < count; ++i)
        manager.AddFont(L"Tahoma", provider.ConsumeIntegralInRange(-20, 400), provider.ConsumeBool(),
                        provider.ConsumeBool(), provider.ConsumeBool());
}

void Measure(CWindowManagerUI& manager, HDC dc, const RECT& rcGiven, const std::wstring& text, UINT format)
{
    RECT rc = rcGiven;
    int links = kMaxLinks;
    CSkinRender::PaintHtmlText(dc, &manager, rc, text.c_str(), 0xFF000000, nullptr, nullptr, links,
                               format | DT_CALCRECT);
    CheckThat(links == 0, "links reported without a place to put them");
    CheckThat(rc.left == rcGiven.left && rc.top == rcGiven.top, "measuring moved the rectangle");
    CheckThat(rc.right >= rc.left && rc.bottom >= rc.top, "measured rectangle inverted");
}

// The fonts of the manager's table: an index past its end gives the default font's record.
int FontCount(CWindowManagerUI& manager)
{
    int count = 0;
    while (manager.FontInfoAt(count) != manager.DefaultFontInfo())
        ++count;
    return count;
}

void Draw(CWindowManagerUI& manager, HDC dc, const RECT& rcGiven, const std::wstring& text, UINT format, int capacity)
{
    RECT rc = rcGiven;
    RECT rcLinks[kMaxLinks] = {};
    CUIString sLinks[kMaxLinks];
    int links = capacity;
    const int fontsBefore = FontCount(manager);
    CSkinRender::PaintHtmlText(dc, &manager, rc, text.c_str(), 0xFF000000, rcLinks, sLinks, links, format);
    const bool bSameFonts = FontCount(manager) == fontsBefore;
    CheckThat(links >= 0 && links <= capacity, "more links than the capacity");
    for (int i = 0; i < links; ++i) {
        CheckThat(rcLinks[i].left <= rcLinks[i].right && rcLinks[i].top <= rcLinks[i].bottom,
                  "link rectangle inverted");
        CheckThat(text.find(sLinks[i].GetData()) != std::wstring::npos, "link text not from the markup");
    }
    // A second paint with the first paint's link rectangles, as a label does on hover. A paint
    // whose markup added a font (a face, bold or underline not in the table yet) may lay the
    // text out otherwise the next time: an index past the table's end, the default font before,
    // can name the added font then.
    int again = links;
    CSkinRender::PaintHtmlText(dc, &manager, rc, text.c_str(), 0xFF000000, rcLinks, nullptr, again, format);
    CheckThat(again == links || !bSameFonts, "the same text laid out twice gave other links");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const RECT rc = {Coordinate(provider), Coordinate(provider), Coordinate(provider), Coordinate(provider)};
    const UINT format = Format(provider);
    const int capacity = provider.ConsumeIntegralInRange(0, kMaxLinks);
    const size_t objectsBefore = wxlm_port::LiveGdiObjects();
    {
        CWindowManagerUI manager;
        AddFonts(manager, provider);
        const std::string bytes = provider.ConsumeRemainingBytesAsString();
        const std::wstring text = FuzzWideText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ fontBefore = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        RECT clipBefore = {};
        GetClipBox(dc, &clipBefore);

        Measure(manager, dc, rc, text, format);
        Draw(manager, dc, rc, text, format, capacity);

        RECT clipAfter = {};
        GetClipBox(dc, &clipAfter);
        CheckThat(clipAfter.left == clipBefore.left && clipAfter.top == clipBefore.top &&
                      clipAfter.right == clipBefore.right && clipAfter.bottom == clipBefore.bottom,
                  "the clip was not given back");
        CheckThat(SelectObject(dc, fontBefore) == GetStockObject(DEFAULT_GUI_FONT), "the font was not given back");
        DeleteDC(dc);
    }
    CheckThat(wxlm_port::LiveGdiObjects() == objectsBefore, "GDI objects outlive the paint manager");
    return 0;
}
