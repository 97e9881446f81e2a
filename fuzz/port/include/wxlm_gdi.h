// GDI and window types for the framework sources that lay out and draw text: the declarations
// their headers name, and a device-context stand-in that measures text simply (fixed advance per
// character, from the selected font's height) and checks what it is asked to draw.
#pragma once

#include "wxlm_port.h"

struct HDC__;
using HDC = HDC__*;
using HGDIOBJ = void*;
struct HFONT__;
using HFONT = HFONT__*;
struct HRGN__;
using HRGN = HRGN__*;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HPEN__;
using HPEN = HPEN__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HICON__;
using HICON = HICON__*;
struct HCURSOR__;
using HCURSOR = HCURSOR__*;
struct HMENU__;
using HMENU = HMENU__*;
using ATOM = WORD;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

#define CALLBACK
#define LF_FACESIZE 32
#define FW_NORMAL 400
#define FW_BOLD 700
#define DEFAULT_CHARSET 1
#define CLEARTYPE_QUALITY 5
#define DEFAULT_GUI_FONT 17
#define SYSTEM_FONT 13
#define TRANSPARENT 1
#define OPAQUE 2
#define MM_TEXT 1
#define GM_COMPATIBLE 1
#define ETO_OPAQUE 0x0002
#define PS_SOLID 0
#define RGN_AND 1
#define NULLREGION 1
#define SIMPLEREGION 2
#define ERROR 0
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
struct LOGFONTW {
    LONG lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
    BYTE lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision, lfQuality, lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};
struct TEXTMETRICW {
    LONG tmHeight, tmAscent, tmDescent, tmInternalLeading, tmExternalLeading, tmAveCharWidth, tmMaxCharWidth, tmWeight,
        tmOverhang, tmDigitizedAspectX, tmDigitizedAspectY;
    WCHAR tmFirstChar, tmLastChar, tmDefaultChar, tmBreakChar;
    BYTE tmItalic, tmUnderlined, tmStruckOut, tmPitchAndFamily, tmCharSet;
};
struct TOOLINFOW {
    UINT cbSize, uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPWSTR lpszText;
    LPARAM lParam;
    void* lpReserved;
};

int lstrcmpiW(LPCWSTR a, LPCWSTR b);
BOOL PtInRect(const RECT* rc, POINT pt);

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;

HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// 32-bit top-down or bottom-up sections only, as the framework makes them.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
HGDIOBJ GetStockObject(int index);
int GetObjectW(HGDIOBJ object, int size, LPVOID out);
HFONT CreateFontIndirectW(const LOGFONTW* font);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size);
int SetBkMode(HDC dc, int mode);
// The DCs here are plain: text mapping mode, compatible graphics mode, no character extra.
int GetMapMode(HDC dc);
int GetGraphicsMode(HDC dc);
int GetTextCharacterExtra(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF SetTextColor(HDC dc, COLORREF color);
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rc, LPCWSTR text, UINT count, const INT* dx);
HRGN CreateRectRgnIndirect(const RECT* rc);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);
int CombineRgn(HRGN target, HRGN first, HRGN second, int mode);
int GetClipBox(HDC dc, RECT* rc);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int SelectClipRgn(HDC dc, HRGN region);
BOOL BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

namespace wxlm_port {
// A bitmap of the given size, as a decoder would hand one out (its pixels are not kept).
HBITMAP CreateBitmapOfSize(int width, int height);
// False unless the bitmap is live and the rectangle lies inside it.
bool RectInsideBitmap(HBITMAP bitmap, const RECT& rc);
// The GDI objects alive now (fonts, bitmaps, regions, DCs made by the calls above).
size_t LiveGdiObjects();
} // namespace wxlm_port

// Resources: one module's table, filled by the harness; a resource stays mapped while it is in
// the table, as a loaded module's do. Integer names and types (MAKEINTRESOURCEW) compare as
// numbers, string ones without case.
struct HRSRC__;
using HRSRC = HRSRC__*;
using HGLOBAL = void*;
#define IS_INTRESOURCE(r) ((reinterpret_cast<ULONG_PTR>(r) >> 16) == 0)
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);

namespace wxlm_port {
// Puts bytes (not copied) into the resource table under type and name, replacing any there.
void SetResource(LPCWSTR type, LPCWSTR name, const void* bytes, DWORD size);
// The pixels of a DIB section made by CreateDIBSection, with its size; null for anything else.
const DWORD* DibSectionPixels(HBITMAP bitmap, int* width, int* height);
} // namespace wxlm_port
