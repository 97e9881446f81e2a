// The page bridge as a page reaches it: the stand-in browser, hosted by CIeBrowserUI in a real
// window, plays a portal page whose script calls window.external.g_callCppFunc and whose
// navigation events reach CWebBrowserEvent. What the bridge posts lands in a recording window.
#include <gtest/gtest.h>

#include "IeBrowser.h"
#include "LauncherResources.h"
#include "LoaderMessages.h"
#include "OpenGameRequests.h"
#include "SkinnedTestWindow.h"
#include "WebBrowserEvent.h"

#include "ChildProcess.h"
#include "LogTail.h"
#include "PortalRecord.h"
#include "TestFiles.h"

#include <exdisp.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

using namespace guitest;
using wxlmtest::PortalRecordLine;

namespace {

// A message-only window standing in for the main window: it keeps what is posted to it.
class MainWindowRecorder {
public:
    struct Posted {
        UINT message;
        WPARAM wParam;
    };

    MainWindowRecorder()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PageBridgeTestMain";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                   nullptr);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MainWindowRecorder()
    {
        PumpMessages();
        for (const Posted& p : posted)
            if (p.message == WM_LOADER_OPEN_GAME)
                OpenGameRequests::Take(p.wParam);
        ::DestroyWindow(m_hWnd);
    }
    HWND Hwnd() const { return m_hWnd; }
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> messages;
        for (const Posted& p : posted)
            messages.push_back(p.message);
        return messages;
    }

    std::vector<Posted> posted;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<MainWindowRecorder*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (self != nullptr && uMsg >= WM_USER && uMsg < 0x8000)
            self->posted.push_back({uMsg, wParam});
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
};

// A window whose only content is the portal page's browser, as the launcher's skin has it.
class BrowserWindow : public CSkinnedTestWindow {
public:
    explicit BrowserWindow(HWND hMainWnd)
        : CSkinnedTestWindow(L"<Window size=\"960,620\"><VerticalLayout><IeBrowser name=\"ie\" delaycreate=\"false\" />"
                             L"</VerticalLayout></Window>"),
          m_hMainWnd(hMainWnd)
    {
    }
    CControlUI* CreateCustomControl(const wchar_t* pstrClass) override
    {
        if (std::wstring(pstrClass) == L"IeBrowser")
            return new CIeBrowserUI(m_hMainWnd);
        return nullptr;
    }
    CIeBrowserUI* Browser() { return static_cast<CIeBrowserUI*>(Manager().ControlByName(L"ie")); }

private:
    HWND m_hMainWnd;
};

class PageBridgeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override
    {
        m_window.reset();
        m_session.reset();
        ::OleUninitialize();
    }

    // Opens the page of the scenario and waits until the browser has played all of it.
    void Play(const std::string& scenario)
    {
        m_session = std::make_unique<wxlmtest::PortalBrowserSession>(scenario);
        m_window = std::make_unique<BrowserWindow>(main.Hwnd());
        ASSERT_NE(m_window->CreateAt(nullptr, 0, 0), nullptr);
        CIeBrowserUI* pBrowser = m_window->Browser();
        ASSERT_NE(pBrowser, nullptr);
        ASSERT_TRUE(pBrowser->IsCreated());
        sink = std::make_unique<CWebBrowserEvent>(main.Hwnd());
        pBrowser->SetEventHandler(sink.get());
        ASSERT_EQ(pBrowser->NavigateTo(L"https://portal.test/client/index/wxlm"), S_OK);
        Microsoft::WRL::ComPtr<IWebBrowser2> web;
        ASSERT_EQ(pBrowser->QueryHostedObject(IID_PPV_ARGS(web.GetAddressOf())), S_OK);
        ASSERT_TRUE(PumpUntil([&] {
            VARIANT_BOOL busy = VARIANT_TRUE;
            return SUCCEEDED(web->get_Busy(&busy)) && busy == VARIANT_FALSE;
        })) << "the page never finished";
        PumpMessages();
    }
    std::vector<PortalRecordLine> Scripts() const { return m_session->Record(L"script"); }
    std::vector<PortalRecordLine> Record(const wchar_t* kind) const { return m_session->Record(kind); }
    void Close()
    {
        m_window.reset();
        PumpMessages();
        m_session.reset();
    }

    MainWindowRecorder main;
    wxlmtest::LogTail log{LauncherLogPath()};

private:
    std::unique_ptr<CWebBrowserEvent> sink;
    std::unique_ptr<wxlmtest::PortalBrowserSession> m_session;
    std::unique_ptr<BrowserWindow> m_window;
};

} // namespace

TEST_F(PageBridgeTest, EachRequestOfThePagePostsItsMessageOnceAndRepliesWithAnEmptyObject)
{
    Play("page *\n"
         "call {\"funcation_name\":\"min_wnd\"}\n"
         "call {\"funcation_name\":\"close_wnd\"}\n"
         "call {\"funcation_name\":\"wnd_mousemove\"}\n"
         "call {\"funcation_name\":\"open_game\",\"token\":\"t k\",\"qvext\":\"q\"}\n");
    // The script runs once the page has loaded.
    EXPECT_EQ(main.Messages(), (std::vector<UINT>{WM_LOADER_PAGE_LOADED, WM_LOADER_MINIMIZE, WM_LOADER_CLOSE,
                                                  WM_LOADER_DRAG, WM_LOADER_OPEN_GAME}));
    EXPECT_EQ(log.NewMessages(), (std::vector<std::string>{"min_wnd call", "close_wnd call", "wnd_mousemove call",
                                                           "open_game call"}));
    const auto scripts = Scripts();
    ASSERT_EQ(scripts.size(), 4u);
    for (const PortalRecordLine& script : scripts) {
        EXPECT_EQ(script.Value(L"dispid"), L"1000");
        EXPECT_EQ(script.Value(L"hr"), L"0x00000000");
        EXPECT_EQ(script.Value(L"result"), L"bstr:{}");
    }
    // The request travels whole, further members included, and only the bridge's own handover
    // gives it out.
    const auto request = OpenGameRequests::Take(main.posted.back().wParam);
    ASSERT_TRUE(request);
    EXPECT_EQ(*request, R"({"funcation_name":"open_game","token":"t k","qvext":"q"})");
    main.posted.pop_back();
}

TEST_F(PageBridgeTest, WhatIsNotARequestDoesNothingAndLogsNothing)
{
    Play("page *\n"
         "call {\"funcation_nam\":\"min_wnd\"}\n"
         "call {\"funcation_name\":\"Min_Wnd\"}\n"
         "call 'min_wnd'\n"
         "call [1]\n"
         "call-int 5\n"
         "call {}\n"
         "call {\"funcation_name\":5}\n"
         "call-null\n"
         "call not json\n");
    EXPECT_EQ(main.Messages(), std::vector<UINT>{WM_LOADER_PAGE_LOADED});
    EXPECT_TRUE(log.NewMessages().empty());
    const auto scripts = Scripts();
    ASSERT_EQ(scripts.size(), 9u);
    for (const PortalRecordLine& script : scripts) {
        EXPECT_EQ(script.Value(L"hr"), L"0x00000000") << script.Value(L"args").value_or(L"");
        EXPECT_EQ(script.Value(L"result"), L"bstr:{}");
    }
}

TEST_F(PageBridgeTest, CallsOfAnotherShapeOrNameAreRefused)
{
    Play("page *\n"
         "call-none\n"
         "call-two {\"funcation_name\":\"min_wnd\"}\n"
         "call-object\n"
         "call-name g_CallCppFunc {\"funcation_name\":\"min_wnd\"}\n"
         "call-name close {\"funcation_name\":\"min_wnd\"}\n");
    EXPECT_EQ(main.Messages(), std::vector<UINT>{WM_LOADER_PAGE_LOADED});
    const auto scripts = Scripts();
    ASSERT_EQ(scripts.size(), 5u);
    EXPECT_EQ(scripts[0].Value(L"hr"), L"0x80020003"); // DISP_E_MEMBERNOTFOUND
    EXPECT_EQ(scripts[1].Value(L"hr"), L"0x80020003");
    EXPECT_EQ(scripts[2].Value(L"hr"), L"0x80020005"); // DISP_E_TYPEMISMATCH: no text form
    EXPECT_EQ(scripts[3].Value(L"dispid"), L"-1");     // the name is exact, case included
    EXPECT_EQ(scripts[4].Value(L"dispid"), L"-1");
}

TEST_F(PageBridgeTest, EveryCompletedDocumentIsALoadedPage)
{
    struct Case {
        const char* scenario;
        std::vector<UINT> expected;
    };
    const Case cases[] = {
        {"page *\n", {WM_LOADER_PAGE_LOADED}},
        {"page *\nframe https://portal.test/a\nframe https://portal.test/b\n",
         {WM_LOADER_PAGE_LOADED, WM_LOADER_PAGE_LOADED, WM_LOADER_PAGE_LOADED}},
        // A page that is not found still completes, as the server's page.
        {"page *\nstatus 404\n", {WM_LOADER_PAGE_LOADED}},
        // The portal unreachable: one failure, and the browser's error page is no loaded page.
        {"page *\nstatus 0x800C0005\n", {WM_LOADER_NAVIGATE_FAILED}},
        {"page *\nstatus 0x800C0005\nframe https://portal.test/a\n", {WM_LOADER_NAVIGATE_FAILED}},
        // A frame that cannot be reached fails the same way; nothing completes after it.
        {"page *\nframe https://portal.test/a 0x800C0005\nframe https://portal.test/b\n",
         {WM_LOADER_NAVIGATE_FAILED}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        main.posted.clear();
        Play(c.scenario);
        EXPECT_EQ(main.Messages(), c.expected);
        Close();
    }
}

TEST_F(PageBridgeTest, ANewWindowGoesToTheShellForWebAddressesOnly)
{
    wxlmtest::TempDir dir;
    const std::wstring opened = dir / L"opened.log";
    wxlmtest::ScopedEnvironment opener(L"WXLM_URL_OPENER_LOG", opened);
    const std::string refused[] = {"file:///C:/windows/system32/notepad.exe", "\\\\server\\share\\tool.exe",
                                   "javascript:alert(1)", "C:\\windows\\notepad.exe", "notepad.exe"};
    std::string scenario = "page *\n";
    for (std::string url : refused) {
        for (size_t at = url.find('\\'); at != std::string::npos; at = url.find('\\', at + 2))
            url.insert(at, 1, '\\'); // the scenario's escape
        scenario += "newwindow " + url + "\n";
    }
    scenario += "newwindow https://www.example.com/news?id=1&x=2\n";
    Play(scenario);

    // Every new window is cancelled; the browser keeps its page.
    const auto events = Record(L"event");
    size_t newWindows = 0;
    for (const PortalRecordLine& event : events) {
        if (event.Field(1) == L"NewWindow3") {
            ++newWindows;
            EXPECT_EQ(event.Value(L"cancel"), L"-1");
        }
    }
    EXPECT_EQ(newWindows, 6u);
    const auto decided = Record(L"newwindow");
    EXPECT_EQ(decided.size(), 6u);
    for (const PortalRecordLine& line : decided)
        EXPECT_EQ(line.Field(1), L"cancelled");
    EXPECT_EQ(Record(L"navigate").size(), 1u);

    std::vector<std::string> expectedLog;
    for (const std::string& url : refused)
        expectedLog.push_back("not a web address, not opened: " + url);
    EXPECT_EQ(log.NewMessages(), expectedLog);

    // The web address reaches the shell's opener of http addresses, and it alone.
    const auto openedRecord = [&] { return wxlmtest::ReadFileBytes(opened).value_or(""); };
    ASSERT_TRUE(wxlmtest::WaitUntil([&] { return openedRecord().find("end\n") != std::string::npos; }));
    const std::string record = openedRecord();
    EXPECT_NE(record.find("arg 1 https://www.example.com/news?id=1&x=2\n"), std::string::npos) << record;
    EXPECT_EQ(record.find("end\n"), record.rfind("end\n")) << record;
}
