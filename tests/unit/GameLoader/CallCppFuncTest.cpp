#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CallCppFunc.h"
#include "LoaderMessages.h"
#include "LogFixture.h"
#include "OpenGameRequests.h"

namespace {

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A message-only window of this thread standing in for the main window; what the bridge posts is
// read back from the queue.
class MainWindowQueue {
public:
    MainWindowQueue()
    {
        m_hWnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~MainWindowQueue()
    {
        for (const Posted& posted : Drain())
            OpenGameRequests::Take(posted.wParam);
        DestroyWindow(m_hWnd);
    }
    HWND Hwnd() const { return m_hWnd; }
    std::vector<Posted> Drain()
    {
        std::vector<Posted> posted;
        MSG msg;
        while (PeekMessageW(&msg, m_hWnd, WM_USER, 0x7FFF, PM_REMOVE))
            posted.push_back({msg.message, msg.wParam, msg.lParam});
        return posted;
    }

private:
    HWND m_hWnd = nullptr;
};

struct RequestCase {
    const wchar_t* text;
    UINT message;
    const char* logLine;
};

TEST(CallCppFuncTest, EachRequestPostsItsMessageOnceAndLogsItsLine)
{
    const RequestCase cases[] = {
        {LR"({"funcation_name":"min_wnd"})", WM_LOADER_MINIMIZE, "min_wnd call"},
        {LR"({"funcation_name":"close_wnd"})", WM_LOADER_CLOSE, "close_wnd call"},
        {LR"({"funcation_name":"wnd_mousemove","x":1})", WM_LOADER_DRAG, "wnd_mousemove call"},
        {LR"( { "funcation_name" : "min_wnd" } )", WM_LOADER_MINIMIZE, "min_wnd call"},
    };
    for (const RequestCase& c : cases) {
        MainWindowQueue window;
        LogCapture log;
        EXPECT_EQ(CallCppFunc(window.Hwnd(), c.text), L"{}");
        const std::vector<Posted> posted = window.Drain();
        ASSERT_EQ(posted.size(), 1u) << c.logLine;
        EXPECT_EQ(posted[0].message, c.message);
        EXPECT_EQ(posted[0].wParam, 0u);
        EXPECT_EQ(posted[0].lParam, 0);
        EXPECT_EQ(NewMessages(log), std::vector<std::string>{c.logLine});
    }
}

TEST(CallCppFuncTest, AnythingElseDoesNothingAndLogsNothing)
{
    const std::wstring cases[] = {
        LR"({"function_name":"min_wnd"})",
        LR"({"funcation_name":"Min_Wnd"})",
        LR"({"funcation_name":"min_wnd "})",
        LR"({"funcation_name":null})",
        LR"({"funcation_name":1129})",
        LR"({"funcation_name":["min_wnd"]})",
        LR"({"other":"min_wnd"})",
        L"min_wnd",
        L"'min_wnd'",
        L"[1]",
        LR"(["min_wnd"])",
        L"5",
        L"",
        L"{}",
        L"{",
        std::wstring(L"{\"funcation_name\":\"min_wnd\0\"}", 29),
    };
    for (const std::wstring& text : cases) {
        MainWindowQueue window;
        LogCapture log;
        EXPECT_EQ(CallCppFunc(window.Hwnd(), text), L"{}");
        EXPECT_TRUE(window.Drain().empty()) << std::string(text.begin(), text.end());
        EXPECT_TRUE(NewMessages(log).empty());
    }
}

TEST(CallCppFuncTest, OpenGameHandsOverTheWholeTextInTheAnsiCodePage)
{
    MainWindowQueue window;
    LogCapture log;
    // U+00E9 is in code page 1252; the further members travel in the same string.
    const std::wstring text = L"{\"funcation_name\":\"open_game\",\"token\":\"t \\\"x\\\" \u00e9\",\"qvext\":\"a&b\"}";
    EXPECT_EQ(CallCppFunc(window.Hwnd(), text), L"{}");
    const std::vector<Posted> posted = window.Drain();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, WM_LOADER_OPEN_GAME);
    EXPECT_EQ(posted[0].lParam, 0);
    const std::unique_ptr<std::string> request = OpenGameRequests::Take(posted[0].wParam);
    ASSERT_TRUE(request);
    EXPECT_EQ(*request, "{\"funcation_name\":\"open_game\",\"token\":\"t \\\"x\\\" \xe9\",\"qvext\":\"a&b\"}");
    EXPECT_EQ(NewMessages(log), std::vector<std::string>{"open_game call"});
    EXPECT_FALSE(OpenGameRequests::Take(posted[0].wParam)) << "handed over once only";
}

TEST(CallCppFuncTest, OpenGameToAWindowThatIsGoneFreesTheRequest)
{
    HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    LogCapture log;
    EXPECT_EQ(CallCppFunc(gone, LR"({"funcation_name":"open_game"})"), L"{}");
    EXPECT_EQ(OpenGameRequests::Pending(), 0u);
    EXPECT_EQ(NewMessages(log), (std::vector<std::string>{"open_game call", "open_game request not delivered"}));
}

TEST(CallCppFuncTest, OnlyRequestsTheBridgePostedCanBeTaken)
{
    MainWindowQueue window;
    std::string foreign = "{\"funcation_name\":\"open_game\"}";
    const WPARAM foreignValues[] = {0, 1, 0xFFFFFFFF, reinterpret_cast<WPARAM>(&foreign),
                                    reinterpret_cast<WPARAM>(foreign.data())};
    for (WPARAM value : foreignValues)
        EXPECT_FALSE(OpenGameRequests::Take(value));
    EXPECT_EQ(foreign, "{\"funcation_name\":\"open_game\"}");
}

TEST(CallCppFuncTest, AFloodOfOpenGameRequestsIsBounded)
{
    MainWindowQueue window;
    for (int i = 0; i < 1000; ++i)
        CallCppFunc(window.Hwnd(), LR"({"funcation_name":"open_game"})");
    EXPECT_EQ(OpenGameRequests::Pending(), OpenGameRequests::MaxPending);
    const std::vector<Posted> posted = window.Drain();
    EXPECT_EQ(posted.size(), OpenGameRequests::MaxPending);
    for (const Posted& p : posted)
        EXPECT_TRUE(OpenGameRequests::Take(p.wParam));
    EXPECT_EQ(OpenGameRequests::Pending(), 0u);
}

TEST(CallCppFuncTest, HostileTextsFromAPageAreHarmless)
{
    std::wstring deep(100000, L'[');
    deep += std::wstring(100000, L']');
    std::wstring deepObject;
    for (int i = 0; i < 100000; ++i)
        deepObject += L"{\"a\":";
    std::wstring huge = LR"({"funcation_name":"min_wnd","pad":")" + std::wstring(10 * 1024 * 1024, L'x') + L"\"}";
    const std::wstring loneSurrogates = L"{\"funcation_name\":\"min_wnd\",\"v\":\"\xD800\xDC00\xDFFF\xD800\"}";
    const std::wstring notAnsi = L"{\"funcation_name\":\"open_game\",\"token\":\"\u4E2D\u6587\"}";

    MainWindowQueue window;
    EXPECT_EQ(CallCppFunc(window.Hwnd(), deep), L"{}");
    EXPECT_EQ(CallCppFunc(window.Hwnd(), deepObject), L"{}");
    EXPECT_TRUE(window.Drain().empty());

    EXPECT_EQ(CallCppFunc(window.Hwnd(), huge), L"{}");
    EXPECT_EQ(CallCppFunc(window.Hwnd(), loneSurrogates), L"{}");
    std::vector<Posted> posted = window.Drain();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, WM_LOADER_MINIMIZE);
    EXPECT_EQ(posted[1].message, WM_LOADER_MINIMIZE);

    EXPECT_EQ(CallCppFunc(window.Hwnd(), notAnsi), L"{}");
    posted = window.Drain();
    ASSERT_EQ(posted.size(), 1u);
    const std::unique_ptr<std::string> request = OpenGameRequests::Take(posted[0].wParam);
    ASSERT_TRUE(request);
    // Characters outside code page 1252 become the system's default character.
    EXPECT_EQ(*request, R"({"funcation_name":"open_game","token":"??"})");
}

} // namespace
