// The GDI stand-in: objects are heap records (so the leak checker sees any not deleted), a
// device context keeps its selected font, colours, mode and clip box, and text is measured
// with a fixed advance per character: half the font's height, one more when bold.
#include "wxlm_gdi.h"

#include <algorithm>
#include <cwctype>
#include <set>
#include <utility>
#include <vector>

struct GdiObject {
    virtual ~GdiObject() = default;
};
struct HFONT__ : GdiObject {
    LOGFONTW font = {};
};
struct HBITMAP__ : GdiObject {
    int width = 0;
    int height = 0;
    std::vector<DWORD> bits; // a DIB section's pixels
};
struct HRGN__ : GdiObject {
    RECT box = {0, 0, 0, 0};
};
struct HDC__ : GdiObject {
    HGDIOBJ font = nullptr;
    RECT clip = {0, 0, 1, 1}; // a new memory DC holds a 1 by 1 bitmap
    int bkMode = OPAQUE;
    COLORREF bkColor = 0xFFFFFF;
    COLORREF textColor = 0;
    int saved = 0;
};

namespace {

std::set<const void*>& Live()
{
    static std::set<const void*> live;
    return live;
}

template <class T> T* Made(T* object)
{
    Live().insert(object);
    return object;
}

bool IsLive(const void* object)
{
    return object != nullptr && Live().count(object) != 0;
}

HFONT StockFont(int index)
{
    static HFONT__ gui = [] {
        HFONT__ font;
        font.font.lfHeight = -11;
        font.font.lfWeight = FW_NORMAL;
        wcscpy(font.font.lfFaceName, L"MS Shell Dlg");
        return font;
    }();
    static HFONT__ system = [] {
        HFONT__ font;
        font.font.lfHeight = 16;
        font.font.lfWeight = FW_BOLD;
        wcscpy(font.font.lfFaceName, L"System");
        return font;
    }();
    return index == DEFAULT_GUI_FONT ? &gui : &system;
}

const HFONT__* FontOf(HGDIOBJ object)
{
    if (object == StockFont(DEFAULT_GUI_FONT) || object == StockFont(SYSTEM_FONT))
        return static_cast<const HFONT__*>(object);
    return IsLive(object) ? dynamic_cast<const HFONT__*>(static_cast<const GdiObject*>(object)) : nullptr;
}

// Font heights beyond 16384 pixels are taken as 16384.
LONG CellHeight(const LOGFONTW& font)
{
    const long long height = font.lfHeight < 0 ? -static_cast<long long>(font.lfHeight) : font.lfHeight;
    return height == 0 ? 16 : static_cast<LONG>(std::min(height, 16384LL));
}

LONG Advance(const LOGFONTW& font)
{
    return std::max<LONG>(CellHeight(font) / 2, 1) + (font.lfWeight >= FW_BOLD ? 1 : 0);
}

const LOGFONTW& SelectedFont(HDC dc)
{
    const HFONT__* font = FontOf(dc->font);
    return (font != nullptr ? font : StockFont(SYSTEM_FONT))->font;
}

// Reads every character, as drawing does: a count beyond the text shows as an overread.
bool Readable(LPCWSTR text, long long count)
{
    if (count < 0 || (count > 0 && text == nullptr))
        return false;
    volatile wchar_t last = 0;
    for (long long i = 0; i < count; ++i)
        last = text[i];
    (void)last;
    return true;
}

RECT Intersection(const RECT& a, const RECT& b)
{
    RECT rc = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
    if (rc.left >= rc.right || rc.top >= rc.bottom)
        rc = {0, 0, 0, 0};
    return rc;
}

int RegionKind(const RECT& rc)
{
    return rc.left < rc.right && rc.top < rc.bottom ? SIMPLEREGION : NULLREGION;
}

} // namespace

int lstrcmpiW(LPCWSTR a, LPCWSTR b)
{
    for (;; ++a, ++b) {
        const wint_t x = std::towlower(static_cast<wint_t>(*a));
        const wint_t y = std::towlower(static_cast<wint_t>(*b));
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

BOOL PtInRect(const RECT* rc, POINT pt)
{
    return rc != nullptr && pt.x >= rc->left && pt.x < rc->right && pt.y >= rc->top && pt.y < rc->bottom;
}

HDC CreateCompatibleDC(HDC)
{
    HDC dc = Made(new HDC__);
    dc->font = StockFont(SYSTEM_FONT);
    return dc;
}

BOOL DeleteDC(HDC dc)
{
    if (!IsLive(dc))
        return FALSE;
    Live().erase(dc);
    delete dc;
    return TRUE;
}

BOOL DeleteObject(void* object)
{
    if (object == StockFont(DEFAULT_GUI_FONT) || object == StockFont(SYSTEM_FONT))
        return TRUE; // stock objects are never deleted
    if (!IsLive(object))
        return FALSE;
    Live().erase(object);
    delete static_cast<GdiObject*>(object);
    return TRUE;
}

HGDIOBJ GetStockObject(int index)
{
    return index == DEFAULT_GUI_FONT || index == SYSTEM_FONT ? StockFont(index) : nullptr;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID out)
{
    const HFONT__* font = FontOf(object);
    if (font == nullptr || out == nullptr || size < static_cast<int>(sizeof(LOGFONTW)))
        return 0;
    *static_cast<LOGFONTW*>(out) = font->font;
    return sizeof(LOGFONTW);
}

HFONT CreateFontIndirectW(const LOGFONTW* font)
{
    if (font == nullptr)
        return nullptr;
    HFONT made = Made(new HFONT__);
    made->font = *font;
    made->font.lfFaceName[LF_FACESIZE - 1] = L'\0';
    return made;
}

// Only fonts and regions are selected by the sources built here.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    if (!IsLive(dc) || FontOf(object) == nullptr)
        return nullptr;
    HGDIOBJ previous = dc->font;
    dc->font = object;
    return previous;
}

int SaveDC(HDC dc)
{
    return IsLive(dc) ? ++dc->saved : 0;
}

BOOL RestoreDC(HDC dc, int)
{
    return IsLive(dc) && dc->saved > 0 ? (--dc->saved, TRUE) : FALSE;
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics)
{
    if (!IsLive(dc) || metrics == nullptr)
        return FALSE;
    const LOGFONTW& font = SelectedFont(dc);
    *metrics = {};
    metrics->tmHeight = CellHeight(font);
    metrics->tmDescent = metrics->tmHeight / 5;
    metrics->tmAscent = metrics->tmHeight - metrics->tmDescent;
    metrics->tmAveCharWidth = Advance(font);
    metrics->tmMaxCharWidth = Advance(font);
    metrics->tmWeight = font.lfWeight;
    metrics->tmItalic = font.lfItalic;
    metrics->tmUnderlined = font.lfUnderline;
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size)
{
    if (!IsLive(dc) || size == nullptr || !Readable(text, count))
        return FALSE;
    const LOGFONTW& font = SelectedFont(dc);
    size->cx = static_cast<LONG>(std::min<long long>(static_cast<long long>(count) * Advance(font), 0x7FFFFFFF));
    size->cy = CellHeight(font);
    return TRUE;
}

int GetMapMode(HDC dc)
{
    return IsLive(dc) ? MM_TEXT : 0;
}

int GetGraphicsMode(HDC dc)
{
    return IsLive(dc) ? GM_COMPATIBLE : 0;
}

int GetTextCharacterExtra(HDC dc)
{
    return IsLive(dc) ? 0 : static_cast<int>(0x80000000);
}

int SetBkMode(HDC dc, int mode)
{
    if (!IsLive(dc))
        return 0;
    return std::exchange(dc->bkMode, mode);
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    return IsLive(dc) ? std::exchange(dc->bkColor, color) : 0xFFFFFFFF;
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    return IsLive(dc) ? std::exchange(dc->textColor, color) : 0xFFFFFFFF;
}

BOOL TextOutW(HDC dc, int, int, LPCWSTR text, int count)
{
    return IsLive(dc) && Readable(text, count);
}

BOOL ExtTextOutW(HDC dc, int, int, UINT, const RECT*, LPCWSTR text, UINT count, const INT*)
{
    return IsLive(dc) && Readable(text, count);
}

HRGN CreateRectRgnIndirect(const RECT* rc)
{
    if (rc == nullptr)
        return nullptr;
    HRGN region = Made(new HRGN__);
    region->box = {std::min(rc->left, rc->right), std::min(rc->top, rc->bottom), std::max(rc->left, rc->right),
                   std::max(rc->top, rc->bottom)};
    return region;
}

// The bounding box stands for the rounded rectangle.
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int, int)
{
    const RECT rc = {left, top, right, bottom};
    return CreateRectRgnIndirect(&rc);
}

int CombineRgn(HRGN target, HRGN first, HRGN second, int mode)
{
    if (!IsLive(target) || !IsLive(first) || !IsLive(second) || mode != RGN_AND)
        return ERROR;
    target->box = Intersection(first->box, second->box);
    return RegionKind(target->box);
}

int GetClipBox(HDC dc, RECT* rc)
{
    if (!IsLive(dc) || rc == nullptr)
        return ERROR;
    *rc = dc->clip;
    return RegionKind(*rc);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode)
{
    if (!IsLive(dc) || !IsLive(region) || mode != RGN_AND)
        return ERROR;
    dc->clip = Intersection(dc->clip, region->box);
    return RegionKind(dc->clip);
}

int SelectClipRgn(HDC dc, HRGN region)
{
    if (!IsLive(dc) || (region != nullptr && !IsLive(region)))
        return ERROR;
    dc->clip = region != nullptr ? region->box : RECT{0, 0, 1, 1};
    return RegionKind(dc->clip);
}

BOOL BeginPaint(HWND, PAINTSTRUCT* paint)
{
    if (paint != nullptr)
        *paint = {};
    return FALSE;
}

BOOL EndPaint(HWND, const PAINTSTRUCT*)
{
    return TRUE;
}

HDC GetDC(HWND)
{
    return nullptr; // no window exists in a harness
}

int ReleaseDC(HWND, HDC)
{
    return 0;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD)
{
    if (bits != nullptr) {
        *bits = nullptr;
    }
    if (info == nullptr || usage != DIB_RGB_COLORS || section != nullptr || info->bmiHeader.biBitCount != 32 ||
        info->bmiHeader.biCompression != BI_RGB || info->bmiHeader.biWidth <= 0 || info->bmiHeader.biHeight == 0) {
        return nullptr;
    }
    const long long width = info->bmiHeader.biWidth;
    const long long height = info->bmiHeader.biHeight < 0 ? -static_cast<long long>(info->bmiHeader.biHeight)
                                                          : info->bmiHeader.biHeight;
    if (width * height > (64LL << 20)) {
        return nullptr; // as a real system refuses a section it has no memory for
    }
    HBITMAP bitmap = wxlm_port::CreateBitmapOfSize(static_cast<int>(width), static_cast<int>(height));
    bitmap->bits.assign(static_cast<size_t>(width * height), 0);
    if (bits != nullptr) {
        *bits = bitmap->bits.data();
    }
    return bitmap;
}

namespace wxlm_port {

HBITMAP CreateBitmapOfSize(int width, int height)
{
    HBITMAP bitmap = Made(new HBITMAP__);
    bitmap->width = width;
    bitmap->height = height;
    return bitmap;
}

bool RectInsideBitmap(HBITMAP bitmap, const RECT& rc)
{
    return IsLive(bitmap) && 0 <= rc.left && rc.left <= rc.right && rc.right <= bitmap->width && 0 <= rc.top &&
           rc.top <= rc.bottom && rc.bottom <= bitmap->height;
}

size_t LiveGdiObjects()
{
    return Live().size();
}

const DWORD* DibSectionPixels(HBITMAP bitmap, int* width, int* height)
{
    if (!IsLive(bitmap) || bitmap->bits.empty())
        return nullptr;
    *width = bitmap->width;
    *height = bitmap->height;
    return bitmap->bits.data();
}

} // namespace wxlm_port
