// CActiveXUI with in-process fake OLE controls in a real window: creation order, in-place
// activation, placement, visibility, windowless input and painting, release.

#include "ActiveXTestHost.h"

#include "controls/Container.h"
#include "controls/TabLayout.h"
#include "core/SkinBuilder.h"
#include "SkinnedTestWindow.h"

#include <gmock/gmock.h>

#include <exdisp.h>

#include <algorithm>

using namespace activextest;
using namespace Tarvo;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

namespace {

using ActiveXHostTest = ActiveXHostFixture;

// The calls that make up creation, in the order the host made them.
std::vector<std::string> CreationCalls(const CFakeOleObject& object)
{
    std::vector<std::string> result;
    for (const std::string& call : object.calls) {
        if (call == "InitNew" || call.rfind("SetClientSite", 0) == 0 || call.rfind("SetHostNames", 0) == 0 ||
            call == "DoVerb(-5)" || call.rfind("SetSite", 0) == 0) {
            result.push_back(call);
        }
    }
    return result;
}

std::string ExtentCall(int cx, int cy)
{
    return "SetExtent(1," + std::to_string(::MulDiv(cx, 2540, ScreenDpi(LOGPIXELSX))) + "," +
           std::to_string(::MulDiv(cy, 2540, ScreenDpi(LOGPIXELSY))) + ")";
}

} // namespace

TEST_F(ActiveXHostTest, NothingIsCreatedBeforeTheFirstPlacement)
{
    RegisterFake({});
    CActiveXUI* pControl = AddControl();
    pControl->SetClassId(CLSID_FakeOleObject);
    EXPECT_EQ(fake->factory.created, 0);
    EXPECT_FALSE(pControl->IsCreated());

    pControl->SetPosition(kItem);
    EXPECT_EQ(fake->factory.created, 1);
    EXPECT_TRUE(pControl->IsCreated());
    // Creation is attempted once; a later placement does not create again.
    pControl->SetPosition(kItem);
    EXPECT_EQ(fake->factory.created, 1);
}

TEST_F(ActiveXHostTest, ClientSiteComesBeforeOrAfterInitNewAsTheObjectAsks)
{
    struct Case {
        DWORD miscStatus;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {0, {"InitNew", "SetClientSite(site)", "SetHostNames(UIActiveX,null)", "DoVerb(-5)", "SetSite(site)"}},
        {OLEMISC_SETCLIENTSITEFIRST,
         {"SetClientSite(site)", "InitNew", "SetHostNames(UIActiveX,null)", "DoVerb(-5)", "SetSite(site)"}},
        {OLEMISC_INVISIBLEATRUNTIME, {"InitNew", "SetClientSite(site)", "SetHostNames(UIActiveX,null)", "SetSite(site)"}},
    };
    for (const Case& c : cases) {
        FakeOptions options;
        options.miscStatus = c.miscStatus;
        CActiveXUI* pControl = HostFake(options);
        EXPECT_EQ(CreationCalls(*fake->Object()), c.expected) << "status " << c.miscStatus;
        root->RemoveChild(pControl);
    }
}

TEST_F(ActiveXHostTest, CreationResultFollowsTheVerbOrForInvisibleObjectsTheView)
{
    struct Case {
        DWORD miscStatus;
        bool hasView;
        bool expected;
    };
    const Case cases[] = {
        {0, true, true},
        {OLEMISC_INVISIBLEATRUNTIME, true, true},
        {OLEMISC_INVISIBLEATRUNTIME, false, false},
    };
    for (const Case& c : cases) {
        FakeOptions options;
        options.miscStatus = c.miscStatus;
        options.hasView = c.hasView;
        RegisterFake(options);
        CActiveXUI* pControl = AddControl();
        pControl->SetClassId(CLSID_FakeOleObject);
        EXPECT_EQ(pControl->CreateHostedObject(), c.expected) << c.miscStatus << " view " << c.hasView;
        root->RemoveChild(pControl);
    }
}

TEST_F(ActiveXHostTest, CreationAnnouncesTheObjectWithShowActiveX)
{
    HostFake({});
    EXPECT_EQ(std::count(notifications.types.begin(), notifications.types.end(), L"showactivex"), 1);
}

TEST_F(ActiveXHostTest, WindowedObjectLivesInAHostWindowAtTheItemRectangle)
{
    CActiveXUI* pControl = HostFake({});
    const HWND hwndHost = pControl->HostWindow();
    ASSERT_NE(hwndHost, nullptr);
    EXPECT_EQ(ClassNameOf(hwndHost), L"ActiveXWnd");
    EXPECT_EQ(TitleOf(hwndHost), L"UIActiveX");
    EXPECT_EQ(::GetParent(hwndHost), host.Hwnd());
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(hwndHost, GWL_STYLE)) & 0xFFFF0000u, 0x56000000u);
    EXPECT_EQ(RectText(RectInParent(hwndHost)), RectText(kItem));
    // The object's own window is a child of the host window, told the rectangle at the origin.
    EXPECT_EQ(::GetParent(fake->Object()->OwnWindow()), hwndHost);
    EXPECT_TRUE(fake->Object()->Called("SiteWindow(own)"));
    EXPECT_TRUE(fake->Object()->Called("SetObjectRects(0,0,100,50)"));
    EXPECT_TRUE(fake->Object()->Called(ExtentCall(100, 50)));
    EXPECT_TRUE(fake->Object()->IsInPlaceActive());
}

TEST_F(ActiveXHostTest, PlacementMovesTheHostWindowAndTellsTheObjectExtentAndRectangles)
{
    CActiveXUI* pControl = HostFake({});
    fake->Object()->calls.clear();
    pControl->SetPosition({30, 40, 230, 140});
    EXPECT_EQ(fake->Object()->calls, (std::vector<std::string>{ExtentCall(200, 100), "SetObjectRects(0,0,200,100)"}));
    EXPECT_EQ(RectText(RectInParent(pControl->HostWindow())), "30,40,230,140");
}

TEST_F(ActiveXHostTest, ANewSizeRepaintsTheObjectsWindow)
{
    // Placed first at an empty rectangle, as a control built before the layout is.
    CActiveXUI* pControl = HostFake({}, RECT{0, 0, 0, 0});
    const HWND hwndObject = fake->Object()->OwnWindow();
    ASSERT_NE(hwndObject, nullptr);
    guitest::PumpMessages();

    pControl->SetPosition({30, 40, 230, 140});
    RECT rcUpdate = {0, 0, 0, 0};
    ASSERT_TRUE(::GetUpdateRect(hwndObject, &rcUpdate, FALSE)) << "the object's window would never paint";
    EXPECT_EQ(RectText(rcUpdate), "0,0,200,100");
}

TEST_F(ActiveXHostTest, WindowContextGivesTheHostClientAreaAndOneEmptyAccelerator)
{
    HostFake({});
    // The window context is asked during activation, when the host window has its first size.
    const auto contexts = fake->Object()->CallsStartingWith("WindowContext");
    ASSERT_EQ(contexts.size(), 1u);
    const std::string expected = "cb=" + std::to_string(sizeof(OLEINPLACEFRAMEINFO)) + " accel=1 frame=parent";
    EXPECT_THAT(contexts[0], ::testing::HasSubstr(expected));
}

TEST_F(ActiveXHostTest, HostWindowIsHiddenWithTheTabPageThatHoldsIt)
{
    RegisterFake({});
    auto* pTab = new CTabLayoutUI;
    auto* pPage0 = new CContainerUI;
    auto* pPage1 = new CContainerUI;
    auto* pControl = new CActiveXUI;
    pControl->SetClassId(CLSID_FakeOleObject);
    pPage0->AddItem(pControl);
    pTab->AddItem(pPage0);
    pTab->AddItem(pPage1);
    root->AddExisting(pTab);
    pTab->SetPosition({0, 0, 300, 200});
    const HWND hwndHost = pControl->HostWindow();
    ASSERT_NE(hwndHost, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hwndHost));

    pTab->SelectItem(1);
    EXPECT_FALSE(::IsWindowVisible(hwndHost));
    pTab->SelectItem(0);
    EXPECT_TRUE(::IsWindowVisible(hwndHost));
    pControl->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(hwndHost));
}

TEST_F(ActiveXHostTest, ReleaseGivesBackEveryReferenceAndDestroysTheHostWindow)
{
    FakeOptions options;
    options.runnable = true;
    CActiveXUI* pControl = HostFake(options);
    CFakeOleObject* pObject = fake->Object();
    const HWND hwndHost = pControl->HostWindow();
    EXPECT_GT(pObject->RefCount(), 1);
    EXPECT_EQ(pObject->LockCount(), 1);
    // The object's window has the focus: destroying it hands the focus back to the host window,
    // which must not activate the closing object again.
    ::SetFocus(pObject->OwnWindow());
    ASSERT_EQ(::GetFocus(), pObject->OwnWindow());
    pObject->calls.clear();

    pControl->ReleaseHostedObject();
    EXPECT_THAT(pObject->calls, ElementsAre("SetSite(null)", "Close(1)", "LockRunning(0)", "SetClientSite(null)"));
    EXPECT_EQ(pObject->RefCount(), 1) << "only the factory's reference is left";
    EXPECT_EQ(pObject->LockCount(), 0);
    EXPECT_EQ(pObject->ClientSite(), nullptr);
    EXPECT_EQ(pObject->Site(), nullptr);
    EXPECT_FALSE(::IsWindow(hwndHost));
    EXPECT_EQ(pControl->HostWindow(), nullptr);
    IOleObject* pLeft = reinterpret_cast<IOleObject*>(1);
    EXPECT_EQ(pControl->QueryHostedObject(IID_IOleObject, reinterpret_cast<void**>(&pLeft)), E_NOINTERFACE);
    EXPECT_EQ(pLeft, nullptr);
}

TEST_F(ActiveXHostTest, DestroyingTheControlGivesBackEveryReference)
{
    for (const bool bWindowless : {false, true}) {
        FakeOptions options;
        options.windowless = bWindowless;
        CActiveXUI* pControl = HostFake(options);
        CFakeOleObject* pObject = fake->Object();
        const HWND hwndHost = pControl->HostWindow();
        root->RemoveChild(pControl);
        EXPECT_EQ(pObject->RefCount(), 1) << "windowless " << bWindowless;
        EXPECT_EQ(pObject->InPlaceSite(), nullptr);
        EXPECT_TRUE(pObject->Called("Close(1)"));
        if (!bWindowless) {
            EXPECT_FALSE(::IsWindow(hwndHost));
        }
        // The message filter went with the control: input reaches the window without it.
        host.Send(WM_LBUTTONDOWN, MK_LBUTTON, guitest::ClientPoint(50, 40));
        host.Send(WM_LBUTTONUP, 0, guitest::ClientPoint(50, 40));
    }
}

TEST_F(ActiveXHostTest, FailedInitNewOrMissingOleObjectLeavesTheControlEmpty)
{
    struct Case {
        const char* name;
        DWORD miscStatus;
        HRESULT initNew;
        bool hasOleObject;
    };
    const Case cases[] = {
        {"InitNew fails", 0, E_FAIL, true},
        {"InitNew fails, site first", OLEMISC_SETCLIENTSITEFIRST, E_OUTOFMEMORY, true},
        {"no IOleObject", 0, S_OK, false},
    };
    for (const Case& c : cases) {
        FakeOptions options;
        options.miscStatus = c.miscStatus;
        options.initNewResult = c.initNew;
        options.hasOleObject = c.hasOleObject;
        RegisterFake(options);
        CActiveXUI* pControl = AddControl();
        pControl->SetClassId(CLSID_FakeOleObject);
        EXPECT_FALSE(pControl->CreateHostedObject()) << c.name;
        void* pLeft = nullptr;
        EXPECT_EQ(pControl->QueryHostedObject(IID_IUnknown, &pLeft), E_NOINTERFACE) << c.name;
        EXPECT_EQ(fake->Object()->RefCount(), 1) << c.name;
        EXPECT_EQ(fake->Object()->ClientSite(), nullptr) << c.name;
        EXPECT_FALSE(fake->Object()->Called("DoVerb(-5)")) << c.name;
        EXPECT_EQ(pControl->HostWindow(), nullptr) << c.name;
        pControl->SetPosition(kItem); // no second attempt, no crash
        EXPECT_EQ(fake->factory.created, 1) << c.name;
        root->RemoveChild(pControl);
    }
}

TEST_F(ActiveXHostTest, WindowlessObjectDrawsIntoTheManagersWindowAtTheItemRectangle)
{
    FakeOptions options;
    options.windowless = true;
    CActiveXUI* pControl = HostFake(options);
    EXPECT_EQ(pControl->HostWindow(), host.Hwnd());
    EXPECT_EQ(::FindWindowExW(host.Hwnd(), nullptr, L"ActiveXWnd", nullptr), nullptr);
    EXPECT_TRUE(fake->Object()->Called("SetObjectRects(10,20,110,70)"));

    fake->Object()->calls.clear();
    host.PaintNow(true);
    const auto draws = fake->Object()->CallsStartingWith("Draw");
    ASSERT_FALSE(draws.empty());
    for (const std::string& draw : draws) {
        EXPECT_EQ(draw, "Draw(1,-1,10,20,110,70)");
    }
    ASSERT_NE(host.Manager().OffscreenDC(), nullptr);
    EXPECT_EQ(::GetPixel(host.Manager().OffscreenDC(), 50, 40), RGB(0, 0, 255));
}

TEST_F(ActiveXHostTest, WindowlessObjectGetsMouseInputOnlyWhereItIsHit)
{
    FakeOptions options;
    options.windowless = true;
    CActiveXUI* pControl = HostFake(options);
    fake->Object()->calls.clear();

    EXPECT_EQ(host.Send(WM_MOUSEMOVE, 0, guitest::ClientPoint(50, 40)), 77);
    host.Send(WM_MOUSEMOVE, 0, guitest::ClientPoint(300, 200));
    EXPECT_EQ(fake->Object()->CallsStartingWith("OnWindowMessage"), (std::vector<std::string>{"OnWindowMessage(0x200)"}));

    pControl->SetMouseEnabled(false);
    fake->Object()->calls.clear();
    host.Send(WM_MOUSEMOVE, 0, guitest::ClientPoint(50, 40));
    EXPECT_TRUE(fake->Object()->CallsStartingWith("OnWindowMessage").empty());
}

TEST_F(ActiveXHostTest, WindowlessObjectGetsKeysOnlyWhileTheControlIsFocused)
{
    FakeOptions options;
    options.windowless = true;
    CActiveXUI* pControl = HostFake(options);
    fake->Object()->calls.clear();
    host.Send(WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(fake->Object()->CallsStartingWith("OnWindowMessage").empty());

    pControl->RequestFocus();
    ASSERT_TRUE(pControl->IsFocused());
    host.Send(WM_KEYDOWN, 'A', 0);
    host.Send(WM_CHAR, 'a', 0);
    EXPECT_EQ(fake->Object()->CallsStartingWith("OnWindowMessage"),
              (std::vector<std::string>{"OnWindowMessage(0x100)", "OnWindowMessage(0x102)"}));
}

TEST_F(ActiveXHostTest, CursorHelpAndContextMenuGoOnToTheWindowAfterTheObject)
{
    FakeOptions options;
    options.windowless = true;
    HostFake(options);
    fake->Object()->calls.clear();
    host.Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.Hwnd()), MAKELPARAM(0, 0));
    EXPECT_EQ(fake->Object()->CallsStartingWith("OnWindowMessage"), (std::vector<std::string>{"OnWindowMessage(0x7B)"}));
    EXPECT_NE(std::find(host.Unhandled().begin(), host.Unhandled().end(), static_cast<UINT>(WM_CONTEXTMENU)),
              host.Unhandled().end());
}

TEST_F(ActiveXHostTest, HostWindowUIActivatesOnFocusAndAnswersItsMessages)
{
    CActiveXUI* pControl = HostFake({});
    const HWND hwndHost = pControl->HostWindow();
    fake->Object()->calls.clear();
    ::SetFocus(hwndHost);
    EXPECT_EQ(fake->Object()->CallsStartingWith("DoVerb("), (std::vector<std::string>{"DoVerb(-4)"}));
    ::SetFocus(host.Hwnd());
    ::SetFocus(hwndHost);
    EXPECT_EQ(fake->Object()->CallsStartingWith("DoVerb(").size(), 1u) << "already UI-active";

    EXPECT_EQ(::SendMessageW(hwndHost, WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(::SendMessageW(hwndHost, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 0);
    EXPECT_EQ(::SendMessageW(hwndHost, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(host.Hwnd()),
                             MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_ACTIVATE);
}

TEST_F(ActiveXHostTest, NoUIActivateObjectsRefuseMouseActivation)
{
    FakeOptions options;
    options.miscStatus = OLEMISC_NOUIACTIVATE;
    CActiveXUI* pControl = HostFake(options);
    EXPECT_EQ(::SendMessageW(pControl->HostWindow(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(host.Hwnd()),
                             MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              0);
}

TEST_F(ActiveXHostTest, SecondCreationReleasesTheFirstObject)
{
    CActiveXUI* pControl = HostFake({});
    Microsoft::WRL::ComPtr<CFakeOleObject> pFirst = fake->Object();
    const HWND hwndFirst = pControl->HostWindow();
    ASSERT_TRUE(pControl->CreateHostedObject());
    EXPECT_EQ(fake->factory.created, 2);
    EXPECT_NE(fake->Object(), pFirst.Get());
    EXPECT_EQ(pFirst->RefCount(), 1) << "only the test's reference";
    EXPECT_FALSE(::IsWindow(hwndFirst));
}

TEST_F(ActiveXHostTest, ModuleRouteAndItsFallbacks)
{
    // {0B7D8F31-6C22-4E8A-B1F4-5D9C3E7A2B64}: the class the test module makes.
    const CLSID moduleClass = {0x0b7d8f31, 0x6c22, 0x4e8a, {0xb1, 0xf4, 0x5d, 0x9c, 0x3e, 0x7a, 0x2b, 0x64}};
    RegisterFake({});
    const HMODULE hModule = ::LoadLibraryW(L"activex_fake_module.dll");
    ASSERT_NE(hModule, nullptr);
    using CountProc = int(__cdecl*)();
    const auto pfnCount =
        reinterpret_cast<CountProc>(reinterpret_cast<void*>(::GetProcAddress(hModule, "FakeModuleCreatedCount")));
    ASSERT_NE(pfnCount, nullptr);

    struct Case {
        const wchar_t* module;
        CLSID clsid;
        bool created;
        int fromModule;
        int fromSystem;
    };
    const Case cases[] = {
        {L"activex_fake_module.dll", moduleClass, true, 1, 0},
        {L"no_such_module.dll", CLSID_FakeOleObject, true, 0, 1},
        {L"kernel32.dll", CLSID_FakeOleObject, true, 0, 1},       // no DllGetClassObject
        {L"activex_fake_module.dll", CLSID_FakeOleObject, true, 0, 1}, // the module does not know it
        {L"no_such_module.dll", moduleClass, false, 0, 0},       // nobody knows it
    };
    for (const Case& c : cases) {
        const int nModuleBefore = pfnCount();
        const int nSystemBefore = fake->factory.created;
        CActiveXUI* pControl = AddControl();
        pControl->SetModuleName(c.module);
        pControl->SetClassId(c.clsid);
        EXPECT_EQ(pControl->CreateHostedObject(), c.created);
        Microsoft::WRL::ComPtr<IOleObject> pObject;
        pControl->QueryHostedObject(IID_IOleObject, reinterpret_cast<void**>(pObject.GetAddressOf()));
        EXPECT_EQ(pObject != nullptr, c.created);
        EXPECT_EQ(pfnCount() - nModuleBefore, c.fromModule);
        EXPECT_EQ(fake->factory.created - nSystemBefore, c.fromSystem);
        pObject.Reset();
        root->RemoveChild(pControl);
    }
}

TEST_F(ActiveXHostTest, ClsidAttributeIgnoresTheNullClassAndUnknownProgIds)
{
    RegisterFake({});
    CActiveXUI* pControl = AddControl();
    pControl->ApplyAttribute(L"clsid", L"{6E1F0C52-3B7A-4C1D-9A55-2F40D1E3A901}");
    EXPECT_TRUE(pControl->ClassId() == CLSID_FakeOleObject);
    for (const wchar_t* pstrIgnored : {L"{00000000-0000-0000-0000-000000000000}", L"No.Such.ProgId.Anywhere", L"",
                                       L"{not a class id}"}) {
        pControl->ApplyAttribute(L"clsid", pstrIgnored);
        EXPECT_TRUE(pControl->ClassId() == CLSID_FakeOleObject) << "value: " << std::string(pstrIgnored, pstrIgnored + wcslen(pstrIgnored));
    }
    // A ProgID the system knows.
    pControl->ApplyAttribute(L"clsid", L"Shell.Explorer.2");
    EXPECT_TRUE(pControl->ClassId() == CLSID_WebBrowser);
    EXPECT_EQ(fake->factory.created, 0) << "creation waits for the placement";
}

TEST_F(ActiveXHostTest, BuilderMakesActiveXElementsAndDelayCreateFalseCreatesDuringBuilding)
{
    RegisterFake({});
    CSkinBuilder builder;
    CControlUI* pBuilt = builder.Create(
        L"<Window><ActiveX clsid=\"{6E1F0C52-3B7A-4C1D-9A55-2F40D1E3A901}\" delaycreate=\"false\"/></Window>",
        nullptr, nullptr, &host.Manager(), nullptr);
    ASSERT_NE(pBuilt, nullptr);
    EXPECT_STREQ(pBuilt->TypeName(), L"ActiveXUI");
    EXPECT_EQ(pBuilt->LookupInterface(L"ActiveX"), pBuilt);
    EXPECT_EQ(fake->factory.created, 1);
    delete pBuilt;
    EXPECT_EQ(fake->Object()->RefCount(), 1);

    // Waiting for the placement (the default) creates nothing while building.
    CSkinBuilder second;
    pBuilt = second.Create(L"<Window><ActiveX clsid=\"{6E1F0C52-3B7A-4C1D-9A55-2F40D1E3A901}\"/></Window>", nullptr,
                           nullptr, &host.Manager(), nullptr);
    ASSERT_NE(pBuilt, nullptr);
    EXPECT_EQ(fake->factory.created, 1);
    delete pBuilt;
}
