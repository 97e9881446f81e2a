#include "PortalBrowserFixture.h"

#include <exdispid.h>

using namespace wxlmtest;

namespace {

const std::wstring kPortal = L"https://portal.example/client/index/wxlm?fileparam=";

} // namespace

TEST_F(PortalBrowserFixture, ScriptCallsReachTheExternalObjectAsAScriptEngineMakesThem)
{
    CreateAndEmbed("page *\n"
                   "call {\"funcation_name\":\"min_wnd\"}\n"
                   "call-int 5\n"
                   "call-none\n"
                   "call-two x\n"
                   "call-name g_other {}\n"
                   "call-null\n"
                   "call-object\n");
    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());

    const std::vector<std::wstring> names{L"g_callCppFunc", L"g_callCppFunc", L"g_callCppFunc", L"g_callCppFunc",
                                          L"g_other",       L"g_callCppFunc", L"g_callCppFunc"};
    EXPECT_EQ(external.namesAsked, names);
    // g_other got DISPID_UNKNOWN, so it was never invoked.
    const std::vector<std::vector<VARTYPE>> types{{VT_BSTR}, {VT_I4}, {}, {VT_BSTR, VT_BSTR}, {VT_BSTR}, {VT_DISPATCH}};
    ASSERT_EQ(external.calls.size(), types.size());
    for (size_t i = 0; i < types.size(); ++i) {
        const auto& call = external.calls[i];
        EXPECT_EQ(call.id, 1000);
        EXPECT_EQ(call.flags, DISPATCH_METHOD);
        EXPECT_TRUE(call.iidNull);
        EXPECT_TRUE(call.wantsResult);
        EXPECT_EQ(call.types, types[i]) << i;
    }
    EXPECT_EQ(external.calls[0].texts[0], L"{\"funcation_name\":\"min_wnd\"}");
    EXPECT_EQ(external.calls[3].texts, (std::vector<std::wstring>{L"x", L"x"}));

    const auto scripts = session->Record(L"script");
    ASSERT_EQ(scripts.size(), 7u);
    EXPECT_EQ(scripts[0].Value(L"args"), L"bstr:{\"funcation_name\":\"min_wnd\"}");
    EXPECT_EQ(scripts[0].Value(L"dispid"), L"1000");
    EXPECT_EQ(scripts[0].Value(L"hr"), L"0x00000000");
    EXPECT_EQ(scripts[0].Value(L"result"), L"bstr:{}");
    EXPECT_EQ(scripts[1].Value(L"args"), L"int:5");
    EXPECT_EQ(scripts[2].Value(L"args"), L"none");
    EXPECT_EQ(scripts[2].Value(L"hr"), L"0x80020003"); // DISP_E_MEMBERNOTFOUND from the host
    EXPECT_EQ(scripts[2].Value(L"result"), L"empty:");
    EXPECT_EQ(scripts[4].Value(L"name"), L"g_other");
    EXPECT_EQ(scripts[4].Value(L"dispid"), L"-1");
    EXPECT_EQ(scripts[5].Value(L"args"), L"null");
    EXPECT_EQ(scripts[6].Value(L"args"), L"object");
    EXPECT_EQ(session->Record(L"external").size(), 7u);
}

TEST_F(PortalBrowserFixture, EscapedTextArrivesExactlyAndIsRecordedExactly)
{
    CreateAndEmbed("page *\ncall a\\u0000b\\uD800c\\\\d\\te 中文 \\uDBFF\\uDFFF\n");
    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());
    const std::wstring expected{L'a',
                                L'\0',
                                L'b',
                                static_cast<wchar_t>(0xD800),
                                L'c',
                                L'\\',
                                L'd',
                                L'\t',
                                L'e',
                                L' ',
                                L'中',
                                L'文',
                                L' ',
                                static_cast<wchar_t>(0xDBFF),
                                static_cast<wchar_t>(0xDFFF)};
    ASSERT_EQ(external.calls.size(), 1u);
    EXPECT_EQ(external.calls[0].texts[0], expected);
    const auto scripts = session->Record(L"script");
    ASSERT_EQ(scripts.size(), 1u);
    EXPECT_EQ(scripts[0].Value(L"args"), L"bstr:" + expected);
}

TEST_F(PortalBrowserFixture, AScriptErrorIsOfferedToTheHostsCommandTarget)
{
    CreateAndEmbed("page *\nscripterror\n");
    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(handler.commands.size(), 1u);
    EXPECT_TRUE(handler.commands[0].docHostGroup);
    EXPECT_EQ(handler.commands[0].id, static_cast<DWORD>(OLECMDID_SHOWSCRIPTERROR));
    EXPECT_EQ(handler.commands[0].inType, VT_UNKNOWN);
    EXPECT_TRUE(handler.commands[0].inIsDocument);
    const auto errors = session->Record(L"scripterror");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Value(L"hr"), L"0x00000000");
    EXPECT_EQ(errors[0].Value(L"out"), L"bool:-1");
}

TEST_F(PortalBrowserFixture, ANewWindowLinkFiresNewWindow3AndRecordsWhatTheHostDecided)
{
    for (const bool cancel : {false, true}) {
        sink.events.clear();
        sink.cancel = {{DISPID_NEWWINDOW3, cancel}};
        CreateAndEmbed("page *\nnewwindow https://news.example/item?id=1\n");
        ASSERT_EQ(Navigate(kPortal), S_OK);
        ASSERT_TRUE(WaitIdle());
        ASSERT_EQ(sink.Count(DISPID_NEWWINDOW3), 1u);
        const auto& event = sink.events.back();
        EXPECT_EQ(event.id, DISPID_NEWWINDOW3);
        const std::vector<VARTYPE> types{VT_BYREF | VT_DISPATCH, VT_BYREF | VT_BOOL, VT_I4, VT_BSTR, VT_BSTR};
        EXPECT_EQ(event.types, types);
        EXPECT_EQ(event.flags, 3);
        EXPECT_EQ(event.context, kPortal);
        EXPECT_EQ(event.url, L"https://news.example/item?id=1");
        const auto outcome = session->Record(L"newwindow");
        ASSERT_EQ(outcome.size(), 1u);
        EXPECT_EQ(outcome[0].Field(1), cancel ? L"cancelled" : L"opened");
        // The browser keeps its page.
        BSTR location = nullptr;
        ASSERT_EQ(web->get_LocationURL(&location), S_OK);
        EXPECT_EQ(std::wstring(location), kPortal);
        SysFreeString(location);
        ReleaseBrowser();
    }
}

TEST_F(PortalBrowserFixture, WithoutAUIHandlerThePageReportsWhatItCouldNotGet)
{
    sink.uiHandler = nullptr; // nobody gives the document a handler, and the site has none
    CreateAndEmbed("page *\ncall {}\nscripterror\n");
    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(external.calls.empty());
    ASSERT_EQ(session->Record(L"hostinfo").size(), 1u);
    EXPECT_EQ(session->Record(L"hostinfo")[0].Value(L"hr"), L"0x80004002");
    ASSERT_EQ(session->Record(L"script").size(), 1u);
    EXPECT_EQ(session->Record(L"script")[0].Value(L"hr"), L"0x80004002");
    ASSERT_EQ(session->Record(L"scripterror").size(), 1u);
    EXPECT_EQ(session->Record(L"scripterror")[0].Value(L"hr"), L"0x80004002");
}
