#include "PortalBrowserFixture.h"

#include <exdispid.h>

using namespace wxlmtest;

namespace {

const std::wstring kPortal = L"https://portal.example/client/index/wxlm?fileparam=";

std::vector<DISPID> Ids(const PortalTestSink& sink)
{
    std::vector<DISPID> ids;
    for (const auto& event : sink.events)
        ids.push_back(event.id);
    return ids;
}

const VARTYPE kRefVariant = VT_BYREF | VT_VARIANT;

} // namespace

TEST_F(PortalBrowserFixture, TheDefaultPortalIsOneDocumentThatLoads)
{
    CreateAndEmbed();
    ASSERT_EQ(web->put_Silent(VARIANT_TRUE), S_OK);
    ASSERT_EQ(Navigate(kPortal), S_OK);
    // BeforeNavigate2 arrives before Navigate2 returns; the rest only through the message loop.
    EXPECT_EQ(Ids(sink), std::vector<DISPID>{DISPID_BEFORENAVIGATE2});
    ASSERT_TRUE(WaitIdle());
    const std::vector<DISPID> expected{DISPID_BEFORENAVIGATE2, DISPID_NAVIGATECOMPLETE2, DISPID_DOCUMENTCOMPLETE};
    ASSERT_EQ(Ids(sink), expected);
    for (const auto& event : sink.events) {
        EXPECT_TRUE(event.topLevel);
        EXPECT_TRUE(event.iidNull);
        EXPECT_EQ(event.dispatchFlags, DISPATCH_METHOD);
        EXPECT_EQ(event.url, kPortal);
    }
    const std::vector<VARTYPE> before{VT_DISPATCH, kRefVariant, VT_BSTR,  kRefVariant, VT_I4,   kRefVariant,
                                      VT_BSTR,     kRefVariant, VT_EMPTY, kRefVariant, VT_BSTR, VT_BYREF | VT_BOOL};
    EXPECT_EQ(sink.events[0].types, before);
    EXPECT_EQ(sink.events[0].flags, 0);
    const std::vector<VARTYPE> complete{VT_DISPATCH, kRefVariant, VT_BSTR};
    EXPECT_EQ(sink.events[1].types, complete);
    EXPECT_EQ(sink.events[2].types, complete);

    BSTR location = nullptr;
    ASSERT_EQ(web->get_LocationURL(&location), S_OK);
    EXPECT_EQ(std::wstring(location), kPortal);
    SysFreeString(location);
    VARIANT_BOOL silent = VARIANT_FALSE;
    EXPECT_EQ(web->get_Silent(&silent), S_OK);
    EXPECT_EQ(silent, VARIANT_TRUE);

    const auto record = session->Record();
    auto find = [&](std::wstring_view kind) {
        for (const auto& line : record)
            if (line.Kind() == kind)
                return line;
        return PortalRecordLine{};
    };
    EXPECT_EQ(find(L"navigate").Field(1), kPortal);
    EXPECT_EQ(find(L"silent").Field(1), L"-1");
    EXPECT_EQ(find(L"hostinfo").Value(L"flags"), L"0x00200005");
    EXPECT_EQ(find(L"hostinfo").Value(L"dblclk"), L"0");
    EXPECT_EQ(session->Record(L"event").size(), 3u);
}

TEST_F(PortalBrowserFixture, EachFrameCompletesOnceAndTheTopDocumentLast)
{
    CreateAndEmbed("page *\nframe https://portal.example/a\nframe https://portal.example/b\n");
    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());
    const std::vector<DISPID> expected{DISPID_BEFORENAVIGATE2,   DISPID_NAVIGATECOMPLETE2, DISPID_BEFORENAVIGATE2,
                                       DISPID_NAVIGATECOMPLETE2, DISPID_DOCUMENTCOMPLETE,  DISPID_BEFORENAVIGATE2,
                                       DISPID_NAVIGATECOMPLETE2, DISPID_DOCUMENTCOMPLETE,  DISPID_DOCUMENTCOMPLETE};
    ASSERT_EQ(Ids(sink), expected);
    EXPECT_EQ(sink.events[4].url, L"https://portal.example/a");
    EXPECT_FALSE(sink.events[4].topLevel);
    EXPECT_EQ(sink.events[7].url, L"https://portal.example/b");
    EXPECT_FALSE(sink.events[7].topLevel);
    EXPECT_EQ(sink.events[8].url, kPortal);
    EXPECT_TRUE(sink.events[8].topLevel);
}

TEST_F(PortalBrowserFixture, ANavigationErrorCarriesItsStatusAndTheErrorPageStillCompletes)
{
    for (const LONG status : {static_cast<LONG>(0x800C0005), 404L}) {
        sink.events.clear();
        CreateAndEmbed("page *\nstatus " + std::to_string(static_cast<unsigned long>(status)) + "\n");
        ASSERT_EQ(Navigate(kPortal), S_OK);
        ASSERT_TRUE(WaitIdle());
        const std::vector<DISPID> expected{DISPID_BEFORENAVIGATE2, DISPID_NAVIGATEERROR, DISPID_NAVIGATECOMPLETE2,
                                           DISPID_DOCUMENTCOMPLETE};
        ASSERT_EQ(Ids(sink), expected);
        const auto& error = sink.events[1];
        EXPECT_EQ(error.status, status);
        EXPECT_TRUE(error.topLevel);
        EXPECT_EQ(error.url, kPortal);
        const std::vector<VARTYPE> types{VT_DISPATCH, kRefVariant, VT_BSTR, kRefVariant,
                                         VT_BSTR,     kRefVariant, VT_I4,   VT_BYREF | VT_BOOL};
        EXPECT_EQ(error.types, types);
        ReleaseBrowser();
    }
}

TEST_F(PortalBrowserFixture, AFrameCanFailOnItsOwn)
{
    CreateAndEmbed("page *\nframe https://portal.example/ad 0x800C0005\n");
    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());
    const std::vector<DISPID> expected{DISPID_BEFORENAVIGATE2, DISPID_NAVIGATECOMPLETE2, DISPID_BEFORENAVIGATE2,
                                       DISPID_NAVIGATEERROR,   DISPID_NAVIGATECOMPLETE2, DISPID_DOCUMENTCOMPLETE,
                                       DISPID_DOCUMENTCOMPLETE};
    ASSERT_EQ(Ids(sink), expected);
    EXPECT_FALSE(sink.events[3].topLevel);
    EXPECT_EQ(sink.events[3].status, static_cast<LONG>(0x800C0005));
}

TEST_F(PortalBrowserFixture, ASinkThatCancelsStopsTheNavigation)
{
    const struct {
        DISPID cancelled;
        std::vector<DISPID> events;
    } cases[] = {
        {DISPID_BEFORENAVIGATE2, {DISPID_BEFORENAVIGATE2}},
        {DISPID_NAVIGATEERROR, {DISPID_BEFORENAVIGATE2, DISPID_NAVIGATEERROR}},
    };
    for (const auto& c : cases) {
        sink.events.clear();
        sink.cancel = {{c.cancelled, true}};
        CreateAndEmbed("page *\nstatus 404\n");
        ASSERT_EQ(Navigate(kPortal), S_OK);
        ASSERT_TRUE(WaitIdle());
        EXPECT_EQ(Ids(sink), c.events);
        BSTR location = nullptr;
        ASSERT_EQ(web->get_LocationURL(&location), S_OK);
        EXPECT_EQ(SysStringLen(location), 0u);
        SysFreeString(location);
        EXPECT_EQ(session->Record(L"event").back().Value(L"cancel"), L"-1");
        ReleaseBrowser();
    }
}

TEST_F(PortalBrowserFixture, TheFirstRuleWhoseTextStartsTheUrlIsPlayed)
{
    CreateAndEmbed("# the portal fails, everything else has a frame\n"
                   "page https://portal.example/\nstatus 404\n\n"
                   "page *\nframe https://other.example/f\n");
    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(sink.Count(DISPID_NAVIGATEERROR), 1u);
    EXPECT_EQ(sink.Count(DISPID_DOCUMENTCOMPLETE), 1u);
    sink.events.clear();
    ASSERT_EQ(Navigate(L"https://other.example/"), S_OK);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(sink.Count(DISPID_NAVIGATEERROR), 0u);
    EXPECT_EQ(sink.Count(DISPID_DOCUMENTCOMPLETE), 2u);
}

TEST_F(PortalBrowserFixture, ANewNavigationDropsWhatTheOldOneHadNotPlayed)
{
    CreateAndEmbed();
    ASSERT_EQ(Navigate(L"https://first.example/"), S_OK);
    ASSERT_EQ(Navigate(L"https://second.example/"), S_OK);
    ASSERT_TRUE(WaitIdle());
    const std::vector<DISPID> expected{DISPID_BEFORENAVIGATE2, DISPID_BEFORENAVIGATE2, DISPID_NAVIGATECOMPLETE2,
                                       DISPID_DOCUMENTCOMPLETE};
    ASSERT_EQ(Ids(sink), expected);
    EXPECT_EQ(sink.events[0].url, L"https://first.example/");
    EXPECT_EQ(sink.events[3].url, L"https://second.example/");
}

TEST_F(PortalBrowserFixture, ReleasedWhileANavigationIsPlayingItPlaysNoMore)
{
    CreateAndEmbed("page *\nframe https://portal.example/a\ncall {}\n");
    ASSERT_EQ(Navigate(kPortal), S_OK);
    ReleaseBrowser();
    EXPECT_EQ(PortalLiveObjects(), 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(Ids(sink), std::vector<DISPID>{DISPID_BEFORENAVIGATE2});
    EXPECT_TRUE(external.calls.empty());
}

TEST_F(PortalBrowserFixture, LinesItDoesNotUnderstandAreRecordedAndSkipped)
{
    CreateAndEmbed("page *\nframe\nstatus lots\nwobble 1\nframe https://portal.example/a\n");
    ASSERT_EQ(Navigate(kPortal), S_OK);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(sink.Count(DISPID_DOCUMENTCOMPLETE), 2u);
    std::vector<std::wstring> unknown;
    for (const auto& line : session->Record(L"scenario"))
        unknown.push_back(line.Field(2));
    // Read once at creation and again for the navigation.
    const std::vector<std::wstring> expected{L"frame", L"status lots", L"wobble 1",
                                             L"frame", L"status lots", L"wobble 1"};
    EXPECT_EQ(unknown, expected);
}
