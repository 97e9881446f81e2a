// The system's own Web Browser object (Wine's, which cannot render pages here): created, activated
// in place in the host window and released cleanly. It is made from its module, as "modulename"
// does: the test prefix sends CoCreateInstance of the browser class to a stand-in.

#include "ActiveXTestHost.h"

#include "controls/WebBrowser.h"

using namespace activextest;
using namespace Tarvo;
using Microsoft::WRL::ComPtr;

namespace {

using WineWebBrowserTest = ActiveXHostFixture;

HWND FirstChild(HWND hWnd)
{
    return ::GetWindow(hWnd, GW_CHILD);
}

} // namespace

TEST_F(WineWebBrowserTest, SystemBrowserIsActivatedInPlaceAndReleasedCleanly)
{
    auto* pControl = AddControl<CWebBrowserUI>();
    pControl->SetModuleName(L"ieframe.dll");
    pControl->SetPosition({0, 0, 320, 200});
    ASSERT_NE(pControl->WebBrowser(), nullptr) << "the system object answers IWebBrowser2";
    const HWND hwndHost = pControl->HostWindow();
    ASSERT_NE(hwndHost, nullptr);
    EXPECT_EQ(ClassNameOf(hwndHost), L"ActiveXWnd");
    // The browser's own window sits inside the host window.
    const HWND hwndBrowser = FirstChild(hwndHost);
    ASSERT_NE(hwndBrowser, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hwndBrowser));
    EXPECT_GE(pControl->ComRefCount(), 1u) << "the control is the browser's event sink";

    ComPtr<IOleInPlaceObject> pInPlace;
    ASSERT_EQ(pControl->QueryHostedObject(IID_IOleInPlaceObject, reinterpret_cast<void**>(pInPlace.GetAddressOf())),
              S_OK);
    HWND hwndObject = nullptr;
    EXPECT_EQ(pInPlace->GetWindow(&hwndObject), S_OK);
    EXPECT_EQ(hwndObject, hwndBrowser);
    pInPlace.Reset();

    pControl->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(hwndHost));
    pControl->SetVisible(true);
    EXPECT_TRUE(::IsWindowVisible(hwndHost));

    pControl->ReleaseHostedObject();
    EXPECT_EQ(pControl->ComRefCount(), 0u) << "events disconnected, nothing else holds the control";
    root->RemoveChild(pControl);
    EXPECT_FALSE(::IsWindow(hwndHost));
}
