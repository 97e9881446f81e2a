// CWebBrowserUI against a browser-like fake registered for CLSID_WebBrowser in this process:
// attributes, navigation, events, the document host, services, commands and accelerators.

#include "WebBrowserTestSupport.h"

#include "core/SkinBuilder.h"
#include "core/WindowManager.h"

#include <gmock/gmock.h>

#include <downloadmgr.h>
#include <exdispid.h>

#include <iterator>
#include <random>
#include <string>

using namespace activextest;
using namespace Tarvo;
using Microsoft::WRL::ComPtr;
using ::testing::ElementsAre;

namespace {

using WebBrowserTest = WebBrowserFixture;

#define FAKE_CLASS_ATTRIBUTE L"clsid=\"{6E1F0C52-3B7A-4C1D-9A55-2F40D1E3A901}\""

constexpr GUID kDocHostCommandGroup = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

ComPtr<IDispatch> DispatchOf(CWebBrowserUI* pControl)
{
    ComPtr<IDispatch> pDispatch;
    pControl->QueryInterface(IID_PPV_ARGS(pDispatch.GetAddressOf()));
    return pDispatch;
}

BOOL CALLBACK CountVisible(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd)) {
        ++*reinterpret_cast<int*>(lParam);
    }
    return TRUE;
}

int CountThreadWindows()
{
    int nCount = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}

} // namespace

TEST_F(WebBrowserTest, AttributeOrderDecidesWhetherTheHomePageOpensDuringBuilding)
{
    struct Case {
        const wchar_t* skin;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        // The launcher's order: created at "delaycreate", before "autonavi" is known.
        {L"<Window><WebBrowser " FAKE_CLASS_ATTRIBUTE L" homepage=\"http://home.test/\" delaycreate=\"false\" autonavi=\"true\"/></Window>", {}},
        {L"<Window><WebBrowser " FAKE_CLASS_ATTRIBUTE L" homepage=\"http://home.test/\" autonavi=\"true\" delaycreate=\"false\"/></Window>",
         {L"http://home.test/"}},
        // Without a home page nothing opens.
        {L"<Window><WebBrowser " FAKE_CLASS_ATTRIBUTE L" autonavi=\"true\" delaycreate=\"false\"/></Window>", {}},
        // Waiting for the placement creates nothing while building.
        {L"<Window><WebBrowser " FAKE_CLASS_ATTRIBUTE L" homepage=\"http://home.test/\" autonavi=\"true\"/></Window>", {}},
    };
    for (const Case& c : cases) {
        const int nBefore = fake->factory.created;
        CSkinBuilder builder;
        CControlUI* pBuilt = builder.Create(c.skin, nullptr, nullptr, &host.Manager(), nullptr);
        ASSERT_NE(pBuilt, nullptr);
        EXPECT_STREQ(pBuilt->TypeName(), L"WebBrowserUI");
        if (fake->factory.created > nBefore) {
            EXPECT_EQ(Browser()->navigations, c.expected);
            for (VARTYPE vt : Browser()->navigationTypes) {
                EXPECT_EQ(vt, VT_BSTR);
            }
        } else {
            EXPECT_TRUE(c.expected.empty());
        }
        delete pBuilt;
    }
    EXPECT_EQ(fake->factory.created, 3);
}

TEST_F(WebBrowserTest, NavigateToNeedsABrowserAndAUrl)
{
    auto* pControl = AddControl<CWebBrowserUI>();
    EXPECT_EQ(pControl->NavigateTo(L"http://before.test/"), S_FALSE);
    EXPECT_EQ(pControl->ConnectEvents(true), E_PENDING);
    EXPECT_EQ(fake->factory.created, 0);

    pControl->SetClassId(CLSID_FakeOleObject);
    pControl->SetPosition(kItem);
    ASSERT_NE(pControl->WebBrowser(), nullptr);
    EXPECT_EQ(pControl->NavigateTo(nullptr), S_FALSE);
    EXPECT_EQ(pControl->NavigateTo(L""), S_FALSE);
    EXPECT_EQ(pControl->NavigateTo(L"http://after.test/a?b=1"), S_OK);
    EXPECT_EQ(Browser()->navigations, (std::vector<std::wstring>{L"http://after.test/a?b=1"}));
}

TEST_F(WebBrowserTest, CreationConnectsTheControlAsEventSinkOnce)
{
    CWebBrowserUI* pControl = PlaceBrowser();
    ASSERT_NE(Browser()->sink, nullptr);
    EXPECT_EQ(Browser()->sink.Get(), DispatchOf(pControl).Get());
    EXPECT_EQ(Browser()->adviseCount, 1u);
    EXPECT_EQ(pControl->ConnectEvents(true), S_FALSE) << "already connected";
    EXPECT_EQ(Browser()->adviseCount, 1u);
    EXPECT_STREQ(pControl->TypeName(), L"WebBrowserUI");
    EXPECT_EQ(pControl->LookupInterface(L"WebBrowser"), pControl);
    EXPECT_EQ(pControl->LookupInterface(L"ActiveX"), pControl);
}

TEST_F(WebBrowserTest, EachEventReachesTheHandlerWithItsArguments)
{
    CWebBrowserUI* pControl = PlaceBrowser();
    RecordingHandler handler;
    pControl->SetEventHandler(&handler);
    EXPECT_EQ(pControl->EventHandler(), &handler);

    StringVariant url(L"http://page.test/");
    StringVariant frame(L"main");
    StringVariant headers(L"X: 1");
    VARIANT flags = {};
    flags.vt = VT_I4;
    flags.lVal = 64;
    VARIANT empty = {};
    VARIANT status = {};
    status.vt = VT_I4;
    status.lVal = static_cast<LONG>(0x800C0005);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* pNewWindow = nullptr;
    ScopedBstr context(L"http://ref.test/");
    ScopedBstr target(L"http://new.test/");

    struct Case {
        DISPID id;
        EventArgs args;
        std::vector<std::wstring> expected;
    };
    Case cases[] = {
        {DISPID_STATUSTEXTCHANGE, EventArgs().String(target.Get()), {}},
        {DISPID_COMMANDSTATECHANGE, EventArgs().Long(2).Bool(VARIANT_TRUE), {L"CommandStateChange 2 on"}},
        {DISPID_BEFORENAVIGATE2,
         EventArgs().Dispatch(nullptr).VariantRef(url.Get()).VariantRef(&flags).VariantRef(frame.Get())
             .VariantRef(&empty).VariantRef(headers.Get()).BoolRef(&cancel),
         {L"BeforeNavigate2 http://page.test/ 64 main empty X: 1"}},
        {DISPID_NAVIGATECOMPLETE2, EventArgs().Dispatch(nullptr).VariantRef(url.Get()),
         {L"NavigateComplete2 http://page.test/"}},
        {DISPID_DOCUMENTCOMPLETE, EventArgs().Dispatch(nullptr).VariantRef(url.Get()),
         {L"DocumentComplete http://page.test/"}},
        {DISPID_NAVIGATEERROR,
         EventArgs().Dispatch(nullptr).VariantRef(url.Get()).VariantRef(frame.Get()).VariantRef(&status).BoolRef(&cancel),
         {L"NavigateError http://page.test/ main " + std::to_wstring(static_cast<LONG>(0x800C0005))}},
        {DISPID_NEWWINDOW3,
         EventArgs().DispatchRef(&pNewWindow).BoolRef(&cancel).Long(6).String(context.Get()).String(target.Get()),
         {L"NewWindow3 6 http://ref.test/ http://new.test/ slot-empty"}},
    };
    for (Case& c : cases) {
        handler.events.clear();
        cancel = VARIANT_FALSE;
        EXPECT_EQ(Browser()->Fire(c.id, *c.args.Params()), S_OK) << c.id;
        EXPECT_EQ(handler.events, c.expected) << c.id;
        const bool bHasCancel = c.id == DISPID_BEFORENAVIGATE2 || c.id == DISPID_NAVIGATEERROR || c.id == DISPID_NEWWINDOW3;
        EXPECT_EQ(cancel, bHasCancel ? VARIANT_TRUE : VARIANT_FALSE) << "the handler's cancel reaches the browser";
    }

    // Without a handler every event is acknowledged and dropped.
    pControl->SetEventHandler(nullptr);
    handler.events.clear();
    for (Case& c : cases) {
        EXPECT_EQ(Browser()->Fire(c.id, *c.args.Params()), S_OK) << c.id;
    }
    EXPECT_TRUE(handler.events.empty());
}

TEST_F(WebBrowserTest, EventsWithWrongArgumentsAreRefusedBeforeTheHandlerSeesThem)
{
    CWebBrowserUI* pControl = PlaceBrowser();
    RecordingHandler handler;
    pControl->SetEventHandler(&handler);
    StringVariant url(L"http://page.test/");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* pNewWindow = nullptr;
    BSTR bstrRef = url.Get()->bstrVal;
    VARIANT nestedRef = {};
    nestedRef.vt = VT_BYREF | VT_VARIANT;
    nestedRef.pvarVal = url.Get();

    struct Case {
        const char* name;
        DISPID id;
        EventArgs args;
        HRESULT expected;
    };
    Case cases[] = {
        {"no arguments", DISPID_BEFORENAVIGATE2, EventArgs(), DISP_E_BADPARAMCOUNT},
        {"one argument short", DISPID_NAVIGATECOMPLETE2, EventArgs().Dispatch(nullptr), DISP_E_BADPARAMCOUNT},
        {"one argument too many", DISPID_DOCUMENTCOMPLETE,
         EventArgs().Dispatch(nullptr).VariantRef(url.Get()).Long(1), DISP_E_BADPARAMCOUNT},
        {"URL as a string reference", DISPID_DOCUMENTCOMPLETE,
         EventArgs().Dispatch(nullptr).Raw(VT_BYREF | VT_BSTR, &bstrRef), DISP_E_TYPEMISMATCH},
        {"null variant reference", DISPID_NAVIGATECOMPLETE2,
         EventArgs().Dispatch(nullptr).VariantRef(nullptr), DISP_E_TYPEMISMATCH},
        {"reference to a reference", DISPID_NAVIGATECOMPLETE2,
         EventArgs().Dispatch(nullptr).VariantRef(&nestedRef), DISP_E_TYPEMISMATCH},
        {"dispatch as a number", DISPID_DOCUMENTCOMPLETE, EventArgs().Long(5).VariantRef(url.Get()),
         DISP_E_TYPEMISMATCH},
        {"cancel by value", DISPID_NAVIGATEERROR,
         EventArgs().Dispatch(nullptr).VariantRef(url.Get()).VariantRef(url.Get()).VariantRef(url.Get()).Bool(0),
         DISP_E_TYPEMISMATCH},
        {"null cancel pointer", DISPID_BEFORENAVIGATE2,
         EventArgs().Dispatch(nullptr).VariantRef(url.Get()).VariantRef(url.Get()).VariantRef(url.Get())
             .VariantRef(url.Get()).VariantRef(url.Get()).BoolRef(nullptr),
         DISP_E_TYPEMISMATCH},
        {"new-window slot by value", DISPID_NEWWINDOW3,
         EventArgs().Dispatch(nullptr).BoolRef(&cancel).Long(0).String(nullptr).String(nullptr), DISP_E_TYPEMISMATCH},
        {"new-window URL as a number", DISPID_NEWWINDOW3,
         EventArgs().DispatchRef(&pNewWindow).BoolRef(&cancel).Long(0).String(nullptr).Long(3), DISP_E_TYPEMISMATCH},
        {"command as a string", DISPID_COMMANDSTATECHANGE, EventArgs().String(nullptr).Bool(0), DISP_E_TYPEMISMATCH},
        {"unknown member", 999, EventArgs(), DISP_E_MEMBERNOTFOUND},
    };
    for (Case& c : cases) {
        EXPECT_EQ(Browser()->Fire(c.id, *c.args.Params()), c.expected) << c.name;
    }
    EXPECT_TRUE(handler.events.empty());
    EXPECT_EQ(Browser()->Document()->handlerSets, 0);

    // The index of the offending argument, in the array's order, and the other refusals.
    UINT nArgErr = 99;
    EventArgs badCancel = EventArgs().Dispatch(nullptr).VariantRef(url.Get()).VariantRef(url.Get())
                              .VariantRef(url.Get()).Bool(0);
    EXPECT_EQ(Browser()->Fire(DISPID_NAVIGATEERROR, *badCancel.Params(), &nArgErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(nArgErr, 0u);
    ComPtr<IDispatch> pDispatch = DispatchOf(pControl);
    EventArgs good = EventArgs().Dispatch(nullptr).VariantRef(url.Get());
    EXPECT_EQ(pDispatch->Invoke(DISPID_DOCUMENTCOMPLETE, IID_IDispatch, 0, DISPATCH_METHOD, good.Params(), nullptr,
                                nullptr, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(pDispatch->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr,
                                nullptr),
              E_INVALIDARG);
    DISPID named = 0;
    DISPPARAMS* pNamed = good.Params();
    pNamed->cNamedArgs = 1;
    pNamed->rgdispidNamedArgs = &named;
    EXPECT_EQ(pDispatch->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, pNamed, nullptr, nullptr,
                                nullptr),
              DISP_E_NONAMEDARGS);
    DISPPARAMS noArray = {nullptr, nullptr, 2, 0};
    EXPECT_EQ(pDispatch->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, &noArray, nullptr, nullptr,
                                nullptr),
              E_INVALIDARG);
    EXPECT_TRUE(handler.events.empty());
}

TEST_F(WebBrowserTest, NavigateCompleteMakesTheControlTheDocumentsUIHandler)
{
    CWebBrowserUI* pControl = PlaceBrowser();
    StringVariant url(L"http://page.test/");
    EventArgs args = EventArgs().Dispatch(nullptr).VariantRef(url.Get());
    ASSERT_EQ(Browser()->Fire(DISPID_NAVIGATECOMPLETE2, *args.Params()), S_OK);
    EXPECT_EQ(Browser()->Document()->handlerSets, 1);
    ComPtr<IDocHostUIHandler> pExpected;
    pControl->QueryInterface(IID_PPV_ARGS(pExpected.GetAddressOf()));
    EXPECT_EQ(Browser()->Document()->uiHandler.Get(), pExpected.Get());

    // A browser without a document still has its event delivered.
    RecordingHandler handler;
    pControl->SetEventHandler(&handler);
    Browser()->documentAvailable = false;
    EXPECT_EQ(Browser()->Fire(DISPID_NAVIGATECOMPLETE2, *args.Params()), S_OK);
    EXPECT_EQ(handler.events.size(), 1u);
}

TEST_F(WebBrowserTest, ReleaseDisconnectsAndDestructionGivesBackEveryReference)
{
    CWebBrowserUI* pControl = PlaceBrowser();
    StringVariant url(L"http://page.test/");
    EventArgs args = EventArgs().Dispatch(nullptr).VariantRef(url.Get());
    Browser()->Fire(DISPID_NAVIGATECOMPLETE2, *args.Params());
    EXPECT_EQ(pControl->ComRefCount(), 2u) << "the sink and the document's UI handler";

    pControl->ReleaseHostedObject();
    EXPECT_EQ(Browser()->sink, nullptr);
    EXPECT_EQ(Browser()->unadviseCount, 1u);
    EXPECT_EQ(pControl->ComRefCount(), 1u) << "the document keeps its handler while the object lives";
    EXPECT_FALSE(pControl->IsCreated());
    void* pStill = nullptr;
    EXPECT_EQ(pControl->QueryHostedObject(IID_IOleObject, &pStill), S_OK) << "the object stays";
    static_cast<IUnknown*>(pStill)->Release();
    // The translator went with the release: keys are no longer offered.
    ::SetFocus(Browser()->OwnWindow());
    MSG msg = guitest::MakeMsg(Browser()->OwnWindow(), WM_KEYDOWN, VK_TAB, 0);
    Browser()->calls.clear();
    CWindowManagerUI::PreDispatch(&msg);
    EXPECT_TRUE(Browser()->CallsStartingWith("TranslateAccelerator").empty());

    Microsoft::WRL::ComPtr<CFakeOleObject> pObject = fake->Object();
    const HWND hwndHost = pControl->HostWindow();
    root->RemoveChild(pControl);
    EXPECT_EQ(pObject->RefCount(), 2) << "the factory's and the test's";
    EXPECT_EQ(Browser()->Document()->uiHandler, nullptr);
    EXPECT_FALSE(::IsWindow(hwndHost));
}

TEST_F(WebBrowserTest, RecreationReleasesTheEarlierBrowser)
{
    CWebBrowserUI* pControl = PlaceBrowser();
    Microsoft::WRL::ComPtr<CFakeOleObject> pFirst = fake->Object();
    pControl->SetDelayCreate(false);
    pControl->SetClassId(CLSID_FakeOleObject);
    ASSERT_EQ(fake->factory.created, 2);
    EXPECT_EQ(pFirst->RefCount(), 1) << "only the test's reference";
    EXPECT_EQ(static_cast<CFakeWebBrowser*>(pFirst.Get())->sink, nullptr);
    EXPECT_EQ(Browser()->adviseCount, 1u);
    EXPECT_EQ(pControl->WebBrowser(), static_cast<IWebBrowser2*>(Browser()));
}

TEST_F(WebBrowserTest, HostInfoAddsDialogAndBorderFlags)
{
    CWebBrowserUI* pControl = AddControl<CWebBrowserUI>();
    DOCHOSTUIINFO info = {};
    info.dwFlags = DOCHOSTUIFLAG_SCROLL_NO;
    info.dwDoubleClick = 7;
    EXPECT_EQ(pControl->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.cbSize, sizeof(DOCHOSTUIINFO));
    EXPECT_EQ(info.dwFlags, 0x200005u | DOCHOSTUIFLAG_SCROLL_NO);
    EXPECT_EQ(info.dwDoubleClick, 0u);
    EXPECT_EQ(pControl->GetHostInfo(nullptr), E_POINTER);
}

TEST_F(WebBrowserTest, DownloadManagerOnlyForItsServiceAndInterface)
{
    CWebBrowserUI* pControl = AddControl<CWebBrowserUI>();
    const GUID& downloadManager = __uuidof(IDownloadManager);
    struct Case {
        const char* name;
        GUID service;
        IID iid;
        HRESULT expected;
    };
    const Case cases[] = {
        {"download manager", downloadManager, downloadManager, S_OK},
        {"other service", IID_IWebBrowserApp, downloadManager, E_NOINTERFACE},
        {"other interface", downloadManager, IID_IUnknown, E_NOINTERFACE},
        {"both other", IID_IOleObject, IID_IDispatch, E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        void* pService = reinterpret_cast<void*>(1);
        EXPECT_EQ(pControl->QueryService(c.service, c.iid, &pService), c.expected) << c.name;
        EXPECT_EQ(pService != nullptr, c.expected == S_OK) << c.name;
        if (pService != nullptr) {
            static_cast<IUnknown*>(pService)->Release();
        }
    }

    ComPtr<IDownloadManager> pManager;
    ASSERT_EQ(pControl->QueryService(downloadManager, downloadManager, reinterpret_cast<void**>(pManager.GetAddressOf())),
              S_OK);
    EXPECT_EQ(pManager->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 936), S_OK) << "no handler";
    RecordingHandler handler;
    pControl->SetEventHandler(&handler);
    EXPECT_EQ(pManager->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 936), E_ABORT);
    EXPECT_EQ(handler.events, (std::vector<std::wstring>{L"Download 936"}));
    // The browser may hold the manager longer than the control lives.
    root->RemoveChild(pControl);
    EXPECT_EQ(pManager->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 936), E_UNEXPECTED);
}

TEST_F(WebBrowserTest, ScriptErrorKeepsScriptsRunningWithoutADialog)
{
    CWebBrowserUI* pControl = PlaceBrowser();
    const int nWindowsBefore = CountThreadWindows();
    ComPtr<IDispatch> pDocument;
    Browser()->get_Document(pDocument.GetAddressOf());
    VARIANT inputs[3] = {};
    inputs[1].vt = VT_DISPATCH;
    inputs[1].pdispVal = pDocument.Get(); // a document that is no HTML document
    inputs[2].vt = VT_I4;                 // not an object at all
    for (VARIANT& in : inputs) {
        VARIANT out = {};
        EXPECT_EQ(pControl->Exec(&kDocHostCommandGroup, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out), S_OK);
        EXPECT_EQ(out.vt, VT_BOOL);
        EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    }
    EXPECT_EQ(pControl->Exec(&kDocHostCommandGroup, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr), S_OK);
    EXPECT_EQ(CountThreadWindows(), nWindowsBefore);

    VARIANT out = {};
    EXPECT_EQ(pControl->Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(pControl->Exec(&IID_IDispatch, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(pControl->Exec(&kDocHostCommandGroup, OLECMDID_PRINT, 0, nullptr, &out), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(out.vt, VT_EMPTY);
    OLECMD cmd = {OLECMDID_SHOWSCRIPTERROR, 0};
    EXPECT_EQ(pControl->QueryStatus(&kDocHostCommandGroup, 1, &cmd, nullptr), OLECMDERR_E_NOTSUPPORTED);
}

TEST_F(WebBrowserTest, DocumentHostCallsGoToTheHandlerOrAnswerTheirDefaults)
{
    CWebBrowserUI* pControl = AddControl<CWebBrowserUI>();
    LPWSTR pOut = reinterpret_cast<LPWSTR>(1);
    IDataObject* pData = reinterpret_cast<IDataObject*>(1);
    EXPECT_EQ(pControl->ShowContextMenu(0, nullptr, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(pControl->ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(pControl->HideUI(), S_OK);
    EXPECT_EQ(pControl->UpdateUI(), S_OK);
    EXPECT_EQ(pControl->EnableModeless(TRUE), E_NOTIMPL);
    EXPECT_EQ(pControl->OnDocWindowActivate(TRUE), E_NOTIMPL);
    EXPECT_EQ(pControl->OnFrameWindowActivate(TRUE), E_NOTIMPL);
    EXPECT_EQ(pControl->ResizeBorder(nullptr, nullptr, TRUE), E_NOTIMPL);
    EXPECT_EQ(pControl->GetOptionKeyPath(&pOut, 0), E_NOTIMPL);
    EXPECT_EQ(pControl->TranslateAccelerator(nullptr, nullptr, 0), S_FALSE);
    EXPECT_EQ(pControl->GetDropTarget(nullptr, nullptr), S_FALSE);
    pOut = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(pControl->TranslateUrl(0, nullptr, &pOut), E_NOTIMPL);
    EXPECT_EQ(pOut, nullptr);
    EXPECT_EQ(pControl->FilterDataObject(nullptr, &pData), E_NOTIMPL);
    EXPECT_EQ(pData, nullptr);
    ComPtr<IDispatch> pExternal;
    EXPECT_EQ(pControl->GetExternal(pExternal.GetAddressOf()), S_OK);
    EXPECT_EQ(pExternal.Get(), DispatchOf(pControl).Get());

    RecordingHandler handler;
    pControl->SetEventHandler(&handler);
    EXPECT_EQ(pControl->ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(pControl->EnableModeless(TRUE), S_FALSE);
    EXPECT_EQ(pControl->TranslateAccelerator(nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(pControl->TranslateUrl(0, nullptr, &pOut), S_FALSE);
    // Defaults of the handler base.
    EXPECT_EQ(pControl->HideUI(), S_OK);
    EXPECT_EQ(pControl->GetDropTarget(nullptr, nullptr), E_NOTIMPL);
    pData = reinterpret_cast<IDataObject*>(1);
    EXPECT_EQ(pControl->FilterDataObject(nullptr, &pData), S_OK);
    EXPECT_EQ(pData, nullptr);
    EXPECT_EQ(handler.events, (std::vector<std::wstring>{L"ShowUI", L"EnableModeless", L"TranslateAccelerator",
                                                         L"TranslateUrl"}));
}

TEST_F(WebBrowserTest, KeysAreOfferedToTheBrowserOnlyWhileTheFocusIsInsideItsWindow)
{
    auto* pEarly = AddControl<CWebBrowserUI>();
    MSG early = guitest::MakeMsg(host.Hwnd(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(pEarly->TranslateKey(&early), E_NOTIMPL) << "no browser yet";
    root->RemoveChild(pEarly);

    CWebBrowserUI* pControl = PlaceBrowser();
    const HWND hwndInside = Browser()->OwnWindow();
    ASSERT_NE(hwndInside, nullptr);
    ASSERT_EQ(::GetParent(hwndInside), pControl->HostWindow());

    ::SetFocus(host.Hwnd());
    Browser()->calls.clear();
    MSG key = guitest::MakeMsg(host.Hwnd(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(pControl->TranslateKey(&key), S_FALSE);
    EXPECT_TRUE(Browser()->CallsStartingWith("TranslateAccelerator").empty());

    ::SetFocus(hwndInside);
    ASSERT_EQ(::GetFocus(), hwndInside);
    Browser()->calls.clear();
    key.hwnd = hwndInside;
    EXPECT_EQ(pControl->TranslateKey(&key), S_OK);
    MSG mouse = guitest::MakeMsg(hwndInside, WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(pControl->TranslateKey(&mouse), S_FALSE);
    // Through the manager's message loop the browser consumes the key.
    EXPECT_TRUE(CWindowManagerUI::PreDispatch(&key));
    EXPECT_THAT(Browser()->CallsStartingWith("TranslateAccelerator"),
                ElementsAre("TranslateAccelerator(0x100)", "TranslateAccelerator(0x100)"));
}

TEST_F(WebBrowserTest, ScriptNamesMapToTheirIdsAndNoneIsServed)
{
    CWebBrowserUI* pControl = AddControl<CWebBrowserUI>();
    struct Case {
        const wchar_t* name;
        DISPID id;
    };
    const Case cases[] = {
        {L"CB_LocalWeatherInfo", 1}, {L"CB_NewsUrlOpenInfo", 2}, {L"CB_NewsRef", 3},
        {L"cb_newsref", DISPID_UNKNOWN}, {L"g_callCppFunc", DISPID_UNKNOWN},
    };
    for (const Case& c : cases) {
        LPOLESTR names[2] = {const_cast<LPOLESTR>(c.name), const_cast<LPOLESTR>(L"second")};
        DISPID ids[2] = {0, 0};
        EXPECT_EQ(pControl->GetIDsOfNames(IID_NULL, names, 2, 0, ids), S_OK);
        EXPECT_EQ(ids[0], c.id);
        EXPECT_EQ(ids[1], c.id) << "every requested name gets the first name's id";
        DISPPARAMS none = {};
        if (c.id > 0) {
            EXPECT_EQ(pControl->Invoke(c.id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
                      DISP_E_MEMBERNOTFOUND);
        }
    }
    UINT nCount = 5;
    EXPECT_EQ(pControl->GetTypeInfoCount(&nCount), E_NOTIMPL);
    EXPECT_EQ(nCount, 0u);
}

TEST_F(WebBrowserTest, ComIdentityIsSharedByTheFourInterfaces)
{
    CWebBrowserUI* pControl = AddControl<CWebBrowserUI>();
    const ULONG nBefore = pControl->ComRefCount();
    ComPtr<IUnknown> pIdentity;
    ASSERT_EQ(pControl->QueryInterface(IID_PPV_ARGS(pIdentity.GetAddressOf())), S_OK);
    for (const IID& iid : {IID_IDocHostUIHandler, IID_IServiceProvider, IID_IOleCommandTarget, IID_IDispatch}) {
        ComPtr<IUnknown> pInterface;
        ASSERT_EQ(pControl->QueryInterface(iid, reinterpret_cast<void**>(pInterface.GetAddressOf())), S_OK);
        ComPtr<IUnknown> pBack;
        pInterface.As(&pBack);
        EXPECT_EQ(pBack.Get(), pIdentity.Get());
    }
    void* pNone = reinterpret_cast<void*>(1);
    EXPECT_EQ(pControl->QueryInterface(IID_IOleObject, &pNone), E_NOINTERFACE);
    EXPECT_EQ(pNone, nullptr);
    pIdentity.Reset();
    EXPECT_EQ(pControl->ComRefCount(), nBefore);
}

// A mutation driver for the events a browser fires: seeded random event ids, argument counts
// and argument kinds. Every pointer is valid, as the browser's marshalling guarantees; ids,
// counts and kinds are what may vary. Each call is taken or refused before the handler sees it.
TEST_F(WebBrowserTest, RandomEventArgumentsAreTakenOrRefusedWhole)
{
    CWebBrowserUI* pControl = PlaceBrowser();
    RecordingHandler handler;
    pControl->SetEventHandler(&handler);
    StringVariant url(L"http://page.test/");
    VARIANT number = {};
    number.vt = VT_I4;
    number.lVal = 7;
    VARIANT empty = {};
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* pSlot = nullptr;
    BSTR bstrRef = url.Get()->bstrVal;
    ScopedBstr text(L"x");
    const DISPID ids[] = {DISPID_BEFORENAVIGATE2, DISPID_NAVIGATECOMPLETE2, DISPID_DOCUMENTCOMPLETE,
                          DISPID_NAVIGATEERROR,   DISPID_NEWWINDOW3,        DISPID_COMMANDSTATECHANGE,
                          DISPID_TITLECHANGE,     DISPID_PROGRESSCHANGE,    0,
                          -1,                     999};
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    int nTaken = 0;
    int nRefused = 0;
    for (int i = 0; i < 20000; ++i) {
        EventArgs args;
        const int nCount = static_cast<int>(random() % 9);
        for (int k = 0; k < nCount; ++k) {
            switch (random() % 10) {
            case 0: args.Dispatch(nullptr); break;
            case 1: args.VariantRef(url.Get()); break;
            case 2: args.VariantRef(&number); break;
            case 3: args.VariantRef(&empty); break;
            case 4: args.BoolRef(&cancel); break;
            case 5: args.DispatchRef(&pSlot); break;
            case 6: args.Long(static_cast<LONG>(random())); break;
            case 7: args.Bool(random() % 2 ? VARIANT_TRUE : VARIANT_FALSE); break;
            case 8: args.String(random() % 2 ? text.Get() : nullptr); break;
            default: args.Raw(VT_BYREF | VT_BSTR, &bstrRef); break;
            }
        }
        const size_t nBefore = handler.events.size();
        const HRESULT hr = Browser()->Fire(ids[random() % std::size(ids)], *args.Params());
        if (SUCCEEDED(hr)) {
            ++nTaken;
        } else {
            ++nRefused;
            ASSERT_TRUE(hr == DISP_E_BADPARAMCOUNT || hr == DISP_E_TYPEMISMATCH || hr == DISP_E_MEMBERNOTFOUND)
                << std::hex << hr;
            ASSERT_EQ(handler.events.size(), nBefore) << "refused, yet the handler saw it";
        }
        ASSERT_EQ(pSlot, nullptr) << "nothing is put into a new-window slot";
    }
    EXPECT_GT(nTaken, 0);
    EXPECT_GT(nRefused, 0);
    // The control still takes a well-formed event.
    handler.events.clear();
    EXPECT_EQ(Browser()->Fire(DISPID_DOCUMENTCOMPLETE, *EventArgs().Dispatch(nullptr).VariantRef(url.Get()).Params()),
              S_OK);
    EXPECT_THAT(handler.events, ElementsAre(L"DocumentComplete http://page.test/"));
}
