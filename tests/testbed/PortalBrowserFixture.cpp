#include "PortalBrowserFixture.h"

#include "../../testbed/portal_browser/PortalBrowserApi.h"

#include <chrono>

using Microsoft::WRL::ComPtr;

namespace {

constexpr const wchar_t* kWindowClass = L"PortalBrowserTestWindow";

void RegisterTestWindowClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
}

} // namespace

LONG PortalLiveObjects()
{
    const HMODULE module = GetModuleHandleW(kPortalBrowserDll);
    if (module == nullptr)
        return 0;
    const auto live = reinterpret_cast<WxlmPortalLiveObjectsFn>(
        reinterpret_cast<void*>(GetProcAddress(module, kPortalLiveObjectsExport)));
    return live != nullptr ? live() : -1;
}

void PortalBrowserFixture::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    RegisterTestWindowClass();
    window =
        CreateWindowExW(0, kWindowClass, L"Portal browser test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, kPlace.left,
                        kPlace.top, kPlace.right, kPlace.bottom, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    site.Place(window, kPlace);
    sink.uiHandler = &handler;
}

void PortalBrowserFixture::TearDown()
{
    ReleaseBrowser();
    EXPECT_EQ(PortalLiveObjects(), 0);
    EXPECT_EQ(site.Refs(), 0);
    EXPECT_EQ(handler.Refs(), 0);
    EXPECT_EQ(external.Refs(), 0);
    EXPECT_EQ(sink.Refs(), 0);
    if (window != nullptr)
        DestroyWindow(window);
    session.reset();
    OleUninitialize();
}

void PortalBrowserFixture::CreateAndEmbed(const std::string& scenario)
{
    session.reset(); // the old session puts the environment back before the new one sets it
    session = std::make_unique<wxlmtest::PortalBrowserSession>(scenario);
    ASSERT_EQ(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)), S_OK);
    ASSERT_EQ(object.As(&web), S_OK);
    ComPtr<IUnknown> identity;
    ASSERT_EQ(object.As(&identity), S_OK);
    sink.browser = identity.Get();

    ASSERT_EQ(object->SetClientSite(&site), S_OK);
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(object.As(&persist), S_OK);
    ASSERT_EQ(persist->InitNew(), S_OK);
    RECT place = kPlace;
    ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, window, &place), S_OK);

    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(object.As(&container), S_OK);
    ASSERT_EQ(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point), S_OK);
    ASSERT_EQ(point->Advise(static_cast<IDispatch*>(&sink), &cookie), S_OK);
}

HRESULT PortalBrowserFixture::Navigate(const std::wstring& url)
{
    VARIANT target;
    target.vt = VT_BSTR;
    target.bstrVal = SysAllocString(url.c_str());
    const HRESULT hr = web->Navigate2(&target, nullptr, nullptr, nullptr, nullptr);
    VariantClear(&target);
    return hr;
}

bool PortalBrowserFixture::PumpUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return condition();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

bool PortalBrowserFixture::WaitIdle()
{
    return PumpUntil([this] {
        VARIANT_BOOL busy = VARIANT_TRUE;
        return web && SUCCEEDED(web->get_Busy(&busy)) && busy == VARIANT_FALSE;
    });
}

void PortalBrowserFixture::ReleaseBrowser()
{
    if (!object)
        return;
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (cookie != 0 && SUCCEEDED(object.As(&container)) &&
        SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)))
        point->Unadvise(cookie);
    cookie = 0;
    point.Reset();
    container.Reset();
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    web.Reset();
    object.Reset();
    sink.browser = nullptr;
}

HWND PortalBrowserFixture::PageWindow() const
{
    ComPtr<IOleInPlaceObject> inPlace;
    HWND page = nullptr;
    if (object && SUCCEEDED(object.As(&inPlace)))
        inPlace->GetWindow(&page);
    return page;
}
