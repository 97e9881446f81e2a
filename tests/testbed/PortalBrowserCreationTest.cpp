#include "PortalBrowserFixture.h"

#include "../../testbed/portal_browser/PortalBrowserApi.h"
#include "TestPaths.h"
#include "TestRegistry.h"

#include <ocidl.h>
#include <olectl.h>

using Microsoft::WRL::ComPtr;
using namespace wxlmtest;

namespace {

std::wstring GuidText(const GUID& guid)
{
    wchar_t text[64];
    StringFromGUID2(guid, text, 64);
    return text;
}

// Sets an environment variable for the scope.
class ScopedEnv {
public:
    ScopedEnv(const wchar_t* name, const wchar_t* value) : m_name(name) { SetEnvironmentVariableW(name, value); }
    ~ScopedEnv() { SetEnvironmentVariableW(m_name, nullptr); }

private:
    const wchar_t* m_name;
};

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(WINAPI*)();

template <class Fn> Fn Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

TEST(PortalBrowserRegistration, ThePrefixBindsTheBrowserClassToTheStandIn)
{
    const std::wstring classes = L"Software\\Classes\\CLSID\\";
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, classes + GuidText(CLSID_WebBrowser) + L"\\TreatAs", L""),
              GuidText(CLSID_PortalBrowser));
    const std::wstring server = classes + GuidText(CLSID_PortalBrowser) + L"\\InprocServer32";
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, server, L"ThreadingModel"), L"Apartment");
    const auto path = ReadRegString(HKEY_LOCAL_MACHINE, server, L"");
    ASSERT_TRUE(path.has_value());
    EXPECT_TRUE(FileExists(*path)) << Narrow(*path);
    EXPECT_EQ(CompareStringOrdinal(path->c_str(), -1, TestbedPath(kPortalBrowserDll).c_str(), -1, TRUE), CSTR_EQUAL)
        << Narrow(*path);
}

TEST_F(PortalBrowserFixture, CreatingTheBrowserClassMakesTheStandIn)
{
    CLSID treatAs{};
    EXPECT_EQ(CoGetTreatAsClass(CLSID_WebBrowser, &treatAs), S_OK);
    EXPECT_EQ(treatAs, CLSID_PortalBrowser);

    CreateAndEmbed();
    EXPECT_GT(PortalLiveObjects(), 0);
    const auto created = session->Record(L"object");
    ASSERT_FALSE(created.empty());
    EXPECT_TRUE(created[0].Is(L"object", L"created"));
    EXPECT_EQ(created[0].Field(2), L"browser");

    // It presents itself as the browser class, like the object it stands in for.
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(object.As(&persist), S_OK);
    CLSID clsid{};
    EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_WebBrowser);
    DWORD misc = 0;
    EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(misc, static_cast<DWORD>(OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                                       OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE));
}

TEST_F(PortalBrowserFixture, ActivatesInPlaceAsAWindowedControl)
{
    CreateAndEmbed();
    const std::vector<std::string> expected{"OnInPlaceActivate", "GetWindowContext"};
    EXPECT_EQ(site.calls, expected);
    const HWND page = PageWindow();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(GetParent(page), window);
    EXPECT_TRUE(IsWindowVisible(page));
    RECT rect{};
    GetWindowRect(page, &rect);
    EXPECT_EQ(rect.right - rect.left, 960);
    EXPECT_EQ(rect.bottom - rect.top, 620);

    ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(object.As(&inPlace), S_OK);
    const RECT moved{10, 20, 410, 320};
    EXPECT_EQ(inPlace->SetObjectRects(&moved, &moved), S_OK);
    GetWindowRect(page, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 410);
    EXPECT_EQ(rect.bottom, 320);

    // The host's calls in order, as the record shows them.
    std::vector<std::wstring> methods;
    for (const auto& line : session->Record(L"method"))
        methods.push_back(line.Field(1) + (line.fields.size() > 2 ? L" " + line.Field(2) : L""));
    const std::vector<std::wstring> order{L"IOleObject::SetClientSite site",
                                          L"IPersistStreamInit::InitNew",
                                          L"IOleObject::DoVerb -5",
                                          L"IOleInPlaceSite::GetWindowContext 0,0,960,620",
                                          L"IConnectionPoint::Advise cookie=1",
                                          L"IOleInPlaceObject::SetObjectRects 10,20,410,320"};
    EXPECT_EQ(methods, order);
}

TEST_F(PortalBrowserFixture, UIActivationAndCloseGiveBackTheActiveObjectAndTheWindow)
{
    CreateAndEmbed();
    RECT place = kPlace;
    ASSERT_EQ(object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &site, 0, window, &place), S_OK);
    EXPECT_TRUE(site.activeObjectHeld());
    const HWND page = PageWindow();
    ASSERT_TRUE(IsWindow(page));

    ASSERT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_FALSE(IsWindow(page));
    EXPECT_FALSE(site.activeObjectHeld());
    const std::vector<std::string> expected{"OnInPlaceActivate",  "GetWindowContext",      "OnUIActivate",
                                            "SetActiveObject",    "SetActiveObject(null)", "OnUIDeactivate",
                                            "OnInPlaceDeactivate"};
    EXPECT_EQ(site.calls, expected);
}

TEST_F(PortalBrowserFixture, AnswersTheInterfacesOfAWindowedBrowserControl)
{
    CreateAndEmbed();
    const struct {
        const IID* iid;
        bool answered;
    } cases[] = {
        {&IID_IOleObject, true},
        {&IID_IOleInPlaceObject, true},
        {&IID_IOleInPlaceActiveObject, true},
        {&IID_IViewObject, true},
        {&IID_IViewObject2, true},
        {&IID_IPersistStreamInit, true},
        {&IID_IObjectWithSite, true},
        {&IID_IWebBrowser2, true},
        {&IID_IWebBrowserApp, true},
        {&IID_IDispatch, true},
        {&IID_IOleControl, true},
        {&IID_IConnectionPointContainer, true},
        {&IID_IOleInPlaceObjectWindowless, false},
        {&IID_IViewObjectEx, false},
        {&IID_IPersistFile, false},
    };
    for (const auto& c : cases) {
        ComPtr<IUnknown> answer;
        const HRESULT hr = object->QueryInterface(*c.iid, reinterpret_cast<void**>(answer.GetAddressOf()));
        EXPECT_EQ(SUCCEEDED(hr), c.answered) << Narrow(GuidText(*c.iid));
        EXPECT_EQ(answer != nullptr, c.answered);
    }
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> other;
    ASSERT_EQ(object.As(&container), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, &other), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(other, nullptr);
}

TEST_F(PortalBrowserFixture, TheStandInIsReachedByItsOwnClassIdAndProgId)
{
    session = std::make_unique<PortalBrowserSession>();
    CLSID fromProgId{};
    ASSERT_EQ(CLSIDFromProgID(kPortalBrowserProgId, &fromProgId), S_OK);
    EXPECT_EQ(fromProgId, CLSID_PortalBrowser);
    // A host asks for IOleControl when it creates through COM.
    ComPtr<IOleControl> control;
    ASSERT_EQ(CoCreateInstance(CLSID_PortalBrowser, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&control)), S_OK);
    EXPECT_EQ(PortalLiveObjects(), 1);
    control.Reset();
    EXPECT_EQ(PortalLiveObjects(), 0);
}

TEST_F(PortalBrowserFixture, TheModuleRouteServesBothClassIdsAndKnowsWhenItMayUnload)
{
    session = std::make_unique<PortalBrowserSession>();
    const HMODULE module = LoadLibraryW(TestbedPath(kPortalBrowserDll).c_str());
    ASSERT_NE(module, nullptr);
    const auto getClassObject = Export<GetClassObjectFn>(module, "DllGetClassObject");
    const auto canUnloadNow = Export<CanUnloadNowFn>(module, "DllCanUnloadNow");
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_NE(canUnloadNow, nullptr);

    ComPtr<IClassFactory> factory;
    EXPECT_EQ(getClassObject(IID_IPersist, IID_PPV_ARGS(&factory)), CLASS_E_CLASSNOTAVAILABLE);
    for (const CLSID* clsid : {&CLSID_PortalBrowser, &CLSID_WebBrowser}) {
        ASSERT_EQ(getClassObject(*clsid, IID_PPV_ARGS(&factory)), S_OK);
        EXPECT_EQ(canUnloadNow(), S_FALSE);
        ComPtr<IUnknown> outer;
        ComPtr<IOleObject> made;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&outer)), S_OK);
        EXPECT_EQ(factory->CreateInstance(outer.Get(), IID_IUnknown, reinterpret_cast<void**>(made.GetAddressOf())),
                  CLASS_E_NOAGGREGATION);
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&made)), S_OK);
        outer.Reset();
        made.Reset();
        EXPECT_EQ(factory->LockServer(TRUE), S_OK);
        factory.Reset();
        EXPECT_EQ(canUnloadNow(), S_FALSE); // the lock still holds the server
        ComPtr<IClassFactory> again;
        ASSERT_EQ(getClassObject(*clsid, IID_PPV_ARGS(&again)), S_OK);
        EXPECT_EQ(again->LockServer(FALSE), S_OK);
        again.Reset();
        EXPECT_EQ(canUnloadNow(), S_OK);
    }
    FreeLibrary(module);
}

TEST_F(PortalBrowserFixture, WinesOwnBrowserIsStillReachableDespiteTreatAs)
{
    session = std::make_unique<PortalBrowserSession>();
    {
        const ScopedEnv system(L"WXLM_PORTAL_BROWSER", L"system");
        ComPtr<IWebBrowser2> wine;
        ASSERT_EQ(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&wine)), S_OK);
        EXPECT_EQ(PortalLiveObjects(), 0); // not one of ours
    }
    // The module route of a host: ieframe's own class factory; TreatAs plays no part in it.
    const HMODULE ieframe = LoadLibraryW(L"ieframe.dll");
    ASSERT_NE(ieframe, nullptr);
    const auto getClassObject = Export<GetClassObjectFn>(ieframe, "DllGetClassObject");
    ASSERT_NE(getClassObject, nullptr);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(CLSID_WebBrowser, IID_PPV_ARGS(&factory)), S_OK);
    ComPtr<IOleObject> wineObject;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&wineObject)), S_OK);
    EXPECT_EQ(PortalLiveObjects(), 0);
    wineObject.Reset();
    factory.Reset();
    EXPECT_TRUE(session->Record(L"object").empty());
}

TEST_F(PortalBrowserFixture, EachHostObjectIsGivenBackWhenTheHostLetsGoOfIt)
{
    CreateAndEmbed();
    ComPtr<IObjectWithSite> withSite;
    ASSERT_EQ(object.As(&withSite), S_OK);
    PortalTestExternal siteObject;
    ASSERT_EQ(withSite->SetSite(static_cast<IDispatch*>(&siteObject)), S_OK);
    ASSERT_EQ(Navigate(L"https://portal.example/"), S_OK);
    ASSERT_TRUE(WaitIdle());
    EXPECT_GT(handler.Refs(), 0); // the document holds the UI handler the sink gave it
    EXPECT_GT(siteObject.Refs(), 0);

    ASSERT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(handler.Refs(), 0);
    Microsoft::WRL::ComPtr<IDispatch> document;
    EXPECT_EQ(web->get_Document(&document), S_FALSE);
    EXPECT_EQ(document, nullptr);
    EXPECT_GT(site.Refs(), 0);
    ASSERT_EQ(object->SetClientSite(nullptr), S_OK);
    EXPECT_EQ(site.Refs(), 0);
    ASSERT_EQ(withSite->SetSite(nullptr), S_OK);
    EXPECT_EQ(siteObject.Refs(), 0);
    EXPECT_GT(sink.Refs(), 0);
    withSite.Reset();
    ReleaseBrowser(); // unadvises
    EXPECT_EQ(sink.Refs(), 0);
}
