#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "LoaderMessages.h"
#include "LogFixture.h"
#include "WebBrowserEvent.h"

namespace {

class MainWindowQueue {
public:
    MainWindowQueue() { m_hWnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
    ~MainWindowQueue() { DestroyWindow(m_hWnd); }
    HWND Hwnd() const { return m_hWnd; }
    std::vector<UINT> Drain()
    {
        std::vector<UINT> posted;
        MSG msg;
        while (PeekMessageW(&msg, m_hWnd, WM_USER, 0x7FFF, PM_REMOVE)) {
            EXPECT_EQ(msg.wParam, 0u);
            EXPECT_EQ(msg.lParam, 0);
            posted.push_back(msg.message);
        }
        return posted;
    }

private:
    HWND m_hWnd = nullptr;
};

VARIANT Status(VARTYPE type, LONG value)
{
    VARIANT status;
    VariantInit(&status);
    status.vt = type;
    status.lVal = value;
    return status;
}

class Bstr {
public:
    explicit Bstr(const std::wstring& text) : m_b(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(m_b); }
    operator BSTR() const { return m_b; }

private:
    BSTR m_b;
};

class WebBrowserEventTest : public ::testing::Test {
protected:
    void Error(VARTYPE type, LONG value)
    {
        VARIANT empty;
        VariantInit(&empty);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        m_sink.NavigateError(nullptr, empty, empty, Status(type, value), &cancel);
        EXPECT_EQ(cancel, VARIANT_FALSE) << "a navigation is never cancelled here";
    }
    void Complete()
    {
        VARIANT url;
        VariantInit(&url);
        m_sink.DocumentComplete(nullptr, url);
    }

    MainWindowQueue m_window;
    CWebBrowserEvent m_sink{m_window.Hwnd()};
};

TEST_F(WebBrowserEventTest, EveryCompletedDocumentIsReported)
{
    Complete();
    Complete();
    EXPECT_EQ(m_window.Drain(), (std::vector<UINT>{WM_LOADER_PAGE_LOADED, WM_LOADER_PAGE_LOADED}));
}

TEST_F(WebBrowserEventTest, AnUnreachablePortalIsReportedAndItsErrorPageIsNot)
{
    Error(VT_I4, static_cast<LONG>(0x800C0005));
    Complete();
    Error(VT_I4, static_cast<LONG>(0x800C0005));
    Complete();
    EXPECT_TRUE(m_sink.NavigateFailed());
    EXPECT_EQ(m_window.Drain(), (std::vector<UINT>{WM_LOADER_NAVIGATE_FAILED, WM_LOADER_NAVIGATE_FAILED}));
}

TEST_F(WebBrowserEventTest, OtherStatusesAreIgnored)
{
    Error(VT_I4, 404);
    Error(VT_I4, static_cast<LONG>(0x800C0006));
    Error(VT_UI4, static_cast<LONG>(0x800C0005));
    Error(VT_ERROR, static_cast<LONG>(0x800C0005));
    Error(VT_EMPTY, static_cast<LONG>(0x800C0005));
    Complete();
    EXPECT_FALSE(m_sink.NavigateFailed());
    EXPECT_EQ(m_window.Drain(), std::vector<UINT>{WM_LOADER_PAGE_LOADED});
}

TEST(WebBrowserEventAddress, OnlyWebAddressesGoToTheShell)
{
    struct Case {
        std::wstring url;
        bool web;
    };
    const Case cases[] = {
        {L"http://example.com/", true},
        {L"https://example.com/news?id=1&x=%20", true},
        {L"HTTPS://Example.COM", true},
        {L"http://127.0.0.1:8080/a#b", true},
        {L"file:///C:/windows/system32/calc.exe", false},
        {L"file://server/share/x.exe", false},
        {L"\\\\server\\share\\x.exe", false},
        {L"C:\\windows\\notepad.exe", false},
        {L"notepad.exe", false},
        {L"javascript:alert(1)", false},
        {L"vbscript:msgbox(1)", false},
        {L"ftp://example.com/x", false},
        {L"mailto:a@example.com", false},
        {L"ms-settings:", false},
        {L"http://", false},
        {L"http:", false},
        {L"", false},
        {L"http://example.com/\r\nx", false},
        {std::wstring(L"http://example.com/\0C:\\x.exe", 29), false},
        {L"https://example.com/" + std::wstring(5000, L'a'), false},
    };
    for (const Case& c : cases) {
        const Bstr url(c.url);
        EXPECT_EQ(CWebBrowserEvent::IsWebAddress(url), c.web) << std::string(c.url.begin(), c.url.end());
    }
    EXPECT_FALSE(CWebBrowserEvent::IsWebAddress(nullptr));
}

TEST_F(WebBrowserEventTest, ANewWindowIsAlwaysCancelledAndARefusalIsLogged)
{
    for (const wchar_t* url : {L"javascript:alert(1)", L"C:\\windows\\notepad.exe"}) {
        LogCapture log;
        const Bstr address(url);
        IDispatch* newWindow = nullptr;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        m_sink.NewWindow3(&newWindow, &cancel, 0, nullptr, address);
        EXPECT_EQ(cancel, VARIANT_TRUE);
        EXPECT_EQ(newWindow, nullptr);
        const std::vector<std::string> lines = NewMessages(log);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], "not a web address, not opened: " + std::string(url, url + wcslen(url)));
    }
    EXPECT_TRUE(m_window.Drain().empty());
}

} // namespace
