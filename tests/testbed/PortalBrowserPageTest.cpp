#include "PortalBrowserFixture.h"

#include "TestPaths.h"

#include <exdispid.h>

using Microsoft::WRL::ComPtr;
using namespace wxlmtest;

namespace {

const std::wstring kPortal = L"https://portal.example/client/index/wxlm?fileparam=";
constexpr COLORREF kHeader = RGB(32, 64, 128);
constexpr COLORREF kBody = RGB(240, 244, 250);
constexpr COLORREF kButton = RGB(230, 120, 20);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 32-bit top-down DIB section the size of the page, for reading pixels back.
class PageBitmap {
public:
    PageBitmap(int width, int height) : m_width(width), m_height(height), m_dc(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~PageBitmap()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC DC() const { return m_dc; }
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush(); // GDI may batch the drawing; the bits are read directly
        const DWORD bgra = m_bits[y * m_width + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    // Saved for a person to look at (a BMP the image tools open).
    void Save(const std::wstring& path) const
    {
        GdiFlush();
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = m_width;
        header.biHeight = -m_height;
        header.biPlanes = 1;
        header.biBitCount = 32;
        const DWORD pixels = static_cast<DWORD>(m_width * m_height * 4);
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof header;
        file.bfSize = file.bfOffBits + pixels;
        std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
        bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
        bytes.append(reinterpret_cast<const char*>(m_bits), pixels);
        WriteFileBytes(path, bytes);
    }

private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

} // namespace

TEST_F(PortalBrowserFixture, ThePortalPageIsPaintedOnceTheDocumentHasCompleted)
{
    CreateAndEmbed();
    ComPtr<IViewObject2> view;
    ASSERT_EQ(object.As(&view), S_OK);
    PageBitmap before(960, 620);
    const RECTL bounds{0, 0, 960, 620};
    ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, before.DC(), &bounds, nullptr, nullptr, 0),
              S_OK);
    EXPECT_EQ(before.Pixel(400, 3), kWhite);
    EXPECT_EQ(before.Pixel(480, 230), kWhite);

    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());
    PageBitmap page(960, 620);
    ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, page.DC(), &bounds, nullptr, nullptr, 0),
              S_OK);
    page.Save(BuildDir() + L"\\tests\\portal_page.bmp");
    EXPECT_EQ(page.Pixel(400, 3), kHeader); // drag strip above its text
    EXPECT_EQ(page.Pixel(5, 600), kBody);
    EXPECT_EQ(page.Pixel(382, 203), kButton); // inside "开始游戏", off its text
    EXPECT_EQ(page.Pixel(938, 3), kHeader);   // the close button sits on the header

    // The window shows the same page.
    const HWND pageWindow = PageWindow();
    ASSERT_NE(pageWindow, nullptr);
    RedrawWindow(pageWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const HDC dc = GetDC(pageWindow);
    EXPECT_EQ(GetPixel(dc, 400, 3), kHeader);
    EXPECT_EQ(GetPixel(dc, 382, 203), kButton);
    ReleaseDC(pageWindow, dc);
}

TEST_F(PortalBrowserFixture, AFailedPortalShowsNoPortal)
{
    CreateAndEmbed("page *\nstatus 0x800C0005\n");
    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());
    ComPtr<IViewObject2> view;
    ASSERT_EQ(object.As(&view), S_OK);
    PageBitmap page(960, 620);
    const RECTL bounds{0, 0, 960, 620};
    ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, page.DC(), &bounds, nullptr, nullptr, 0),
              S_OK);
    EXPECT_EQ(page.Pixel(400, 3), kWhite);
    EXPECT_EQ(page.Pixel(382, 203), kWhite);
    // Nothing on it to click.
    SendMessageW(PageWindow(), WM_LBUTTONUP, 0, At(480, 230));
    EXPECT_TRUE(external.calls.empty());
}

TEST_F(PortalBrowserFixture, ClicksOnThePageMakeThePortalsCalls)
{
    CreateAndEmbed();
    const HWND page = PageWindow();
    ASSERT_NE(page, nullptr);
    SendMessageW(page, WM_LBUTTONUP, 0, At(480, 230)); // before the page has loaded: nothing there yet
    EXPECT_TRUE(external.calls.empty());

    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());
    const struct {
        UINT message;
        LPARAM where;
        const wchar_t* request;
    } clicks[] = {
        {WM_LBUTTONDOWN, At(300, 20), LR"({"funcation_name":"wnd_mousemove"})"},
        {WM_LBUTTONUP, At(900, 20), LR"({"funcation_name":"min_wnd"})"},
        {WM_LBUTTONUP, At(940, 20), LR"({"funcation_name":"close_wnd"})"},
        {WM_LBUTTONUP, At(480, 230), LR"({"funcation_name":"open_game"})"},
    };
    for (const auto& click : clicks) {
        external.calls.clear();
        SendMessageW(page, click.message, click.message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, click.where);
        ASSERT_EQ(external.calls.size(), 1u) << click.message;
        EXPECT_EQ(external.calls[0].id, 1000);
        EXPECT_EQ(external.calls[0].types, std::vector<VARTYPE>{VT_BSTR});
        EXPECT_EQ(external.calls[0].texts[0], click.request);
    }
    // A press on a button or a release on the strip is not a click.
    external.calls.clear();
    SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, At(480, 230));
    SendMessageW(page, WM_LBUTTONUP, 0, At(300, 20));
    SendMessageW(page, WM_LBUTTONUP, 0, At(5, 600));
    EXPECT_TRUE(external.calls.empty());

    sink.events.clear();
    SendMessageW(page, WM_LBUTTONUP, 0, At(480, 300));
    ASSERT_EQ(sink.Count(DISPID_NEWWINDOW3), 1u);
    EXPECT_EQ(sink.events.back().url, L"https://www.example.com/news");
    EXPECT_EQ(sink.events.back().context, kPortal);

    std::vector<std::wstring> clicked;
    for (const auto& line : session->Record(L"click"))
        clicked.push_back(line.Field(1));
    EXPECT_EQ(clicked, (std::vector<std::wstring>{L"drag", L"min", L"close", L"start", L"link"}));
}

TEST_F(PortalBrowserFixture, KeysOfferedToTheBrowserAreRecorded)
{
    CreateAndEmbed();
    ComPtr<IOleInPlaceActiveObject> active;
    ASSERT_EQ(object.As(&active), S_OK);
    MSG msg{PageWindow(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_EQ(active->TranslateAccelerator(&msg), S_FALSE);
    const auto methods = session->Record(L"method");
    ASSERT_FALSE(methods.empty());
    EXPECT_EQ(methods.back().Field(1), L"IOleInPlaceActiveObject::TranslateAccelerator");
    EXPECT_EQ(methods.back().Field(2), L"message=0x0100 key=0x09");
}
