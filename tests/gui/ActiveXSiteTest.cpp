// The site object, its frame and its enumerator as a hosted object sees them.

#include "ActiveXTestHost.h"

#include <gmock/gmock.h>

using namespace activextest;
using namespace Tarvo;
using Microsoft::WRL::ComPtr;

namespace {

class ActiveXSiteTest : public ActiveXHostFixture {
protected:
    void SetUp() override
    {
        control = HostFake({});
        ASSERT_NE(fake->Object()->ClientSite(), nullptr);
        clientSite = fake->Object()->ClientSite();
        ASSERT_TRUE(SUCCEEDED(clientSite.As(&inPlaceSite)));
        ASSERT_TRUE(SUCCEEDED(clientSite.As(&controlSite)));
        ASSERT_TRUE(SUCCEEDED(clientSite.As(&withSite)));
        ASSERT_TRUE(SUCCEEDED(clientSite.As(&container)));
    }
    void TearDown() override
    {
        container.Reset();
        withSite.Reset();
        controlSite.Reset();
        inPlaceSite.Reset();
        clientSite.Reset();
    }

    CActiveXUI* control = nullptr;
    ComPtr<IOleClientSite> clientSite;
    ComPtr<IOleInPlaceSiteWindowless> inPlaceSite;
    ComPtr<IOleControlSite> controlSite;
    ComPtr<IObjectWithSite> withSite;
    ComPtr<IOleContainer> container;
};

} // namespace

TEST_F(ActiveXSiteTest, FixedAnswersOfTheSiteTable)
{
    IMoniker* pMoniker = reinterpret_cast<IMoniker*>(1);
    const SIZE scroll = {1, 1};
    const RECT rc = {0, 0, 1, 1};
    struct Row {
        const char* method;
        HRESULT result;
        HRESULT expected;
    };
    const Row rows[] = {
        {"SaveObject", clientSite->SaveObject(), E_NOTIMPL},
        {"GetMoniker", clientSite->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_OBJFULL, &pMoniker), E_NOTIMPL},
        {"OnShowWindow", clientSite->OnShowWindow(TRUE), E_NOTIMPL},
        {"RequestNewObjectLayout", clientSite->RequestNewObjectLayout(), E_NOTIMPL},
        {"Scroll", inPlaceSite->Scroll(scroll), E_NOTIMPL},
        {"DiscardUndoState", inPlaceSite->DiscardUndoState(), E_NOTIMPL},
        {"DeactivateAndUndo", inPlaceSite->DeactivateAndUndo(), E_NOTIMPL},
        {"OnPosRectChange", inPlaceSite->OnPosRectChange(&rc), E_NOTIMPL},
        {"CanInPlaceActivate", inPlaceSite->CanInPlaceActivate(), S_OK},
        {"CanWindowlessActivate", inPlaceSite->CanWindowlessActivate(), S_OK},
        {"RequestUIActivate", inPlaceSite->RequestUIActivate(), S_OK},
        {"ControlSite TranslateAccelerator", controlSite->TranslateAccelerator(nullptr, 0), S_FALSE},
        {"ShowPropertyFrame", controlSite->ShowPropertyFrame(), E_NOTIMPL},
        {"OnControlInfoChanged", controlSite->OnControlInfoChanged(), S_OK},
        {"ParseDisplayName", container->ParseDisplayName(nullptr, nullptr, nullptr, nullptr), E_NOTIMPL},
        {"LockContainer", container->LockContainer(TRUE), S_OK},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.result, row.expected) << row.method;
    }
    EXPECT_EQ(pMoniker, nullptr);
}

TEST_F(ActiveXSiteTest, GetWindowGivesTheHostWindowAndGetContainerItself)
{
    HWND hWnd = nullptr;
    EXPECT_EQ(inPlaceSite->GetWindow(&hWnd), S_OK);
    EXPECT_EQ(hWnd, control->HostWindow());
    ComPtr<IOleContainer> pContainer;
    EXPECT_EQ(clientSite->GetContainer(pContainer.GetAddressOf()), S_OK);
    EXPECT_EQ(pContainer.Get(), container.Get());
}

TEST_F(ActiveXSiteTest, GetContainerPrefersTheContainerOfTheSiteItWasGiven)
{
    // The site of a second control serves as the outer site here: it answers IOleContainer.
    CActiveXUI* pOther = AddControl();
    pOther->SetClassId(CLSID_FakeOleObject);
    pOther->SetPosition({200, 200, 250, 250});
    ASSERT_EQ(fake->factory.created, 2);
    ComPtr<IOleContainer> pOuter;
    ASSERT_EQ(fake->Object()->ClientSite()->QueryInterface(IID_PPV_ARGS(pOuter.GetAddressOf())), S_OK);
    ASSERT_NE(pOuter.Get(), container.Get());

    EXPECT_EQ(withSite->SetSite(pOuter.Get()), S_OK);
    ComPtr<IOleContainer> pContainer;
    EXPECT_EQ(clientSite->GetContainer(pContainer.GetAddressOf()), S_OK);
    EXPECT_EQ(pContainer.Get(), pOuter.Get());
    ComPtr<IUnknown> pSite;
    EXPECT_EQ(withSite->GetSite(IID_PPV_ARGS(pSite.GetAddressOf())), S_OK);
    withSite->SetSite(nullptr);
    EXPECT_EQ(withSite->GetSite(IID_PPV_ARGS(pSite.ReleaseAndGetAddressOf())), E_FAIL);
    EXPECT_EQ(pSite, nullptr);
}

TEST_F(ActiveXSiteTest, CaptureAndFocusAreRememberedAndFocusGoesToTheControl)
{
    EXPECT_EQ(inPlaceSite->GetCapture(), S_FALSE);
    EXPECT_EQ(inPlaceSite->SetCapture(TRUE), S_OK);
    EXPECT_EQ(inPlaceSite->GetCapture(), S_OK);
    EXPECT_EQ(::GetCapture(), control->HostWindow());
    EXPECT_EQ(inPlaceSite->SetCapture(FALSE), S_OK);
    EXPECT_EQ(inPlaceSite->GetCapture(), S_FALSE);
    EXPECT_EQ(::GetCapture(), nullptr);

    EXPECT_EQ(inPlaceSite->GetFocus(), S_FALSE);
    EXPECT_EQ(inPlaceSite->SetFocus(TRUE), S_OK);
    EXPECT_EQ(inPlaceSite->GetFocus(), S_OK);
    EXPECT_TRUE(control->IsFocused());
    EXPECT_EQ(controlSite->OnFocus(FALSE), S_OK);
    EXPECT_EQ(inPlaceSite->GetFocus(), S_FALSE);
}

TEST_F(ActiveXSiteTest, DeviceContextAndDrawingCallsGoToTheHostWindow)
{
    HDC hDC = nullptr;
    ASSERT_EQ(inPlaceSite->GetDC(nullptr, OLEDC_PAINTBKGND, &hDC), S_OK);
    ASSERT_NE(hDC, nullptr);
    EXPECT_EQ(::WindowFromDC(hDC), control->HostWindow());
    EXPECT_EQ(inPlaceSite->ReleaseDC(hDC), S_OK);
    EXPECT_EQ(inPlaceSite->InvalidateRect(nullptr, FALSE), S_OK);
    EXPECT_EQ(inPlaceSite->GetDC(nullptr, 0, nullptr), E_POINTER);
    LRESULT lResult = 0;
    EXPECT_EQ(inPlaceSite->OnDefWindowMessage(WM_GETTEXTLENGTH, 0, 0, &lResult), S_OK);
    EXPECT_EQ(lResult, 9) << "the host window's title, UIActiveX";
}

TEST_F(ActiveXSiteTest, WindowContextRefusesMissingOutPointersAndHandsOutAPlainFrame)
{
    ComPtr<IOleInPlaceFrame> pFrame;
    ComPtr<IOleInPlaceUIWindow> pDoc;
    RECT rcPos = {};
    RECT rcClip = {};
    OLEINPLACEFRAMEINFO info = {};
    EXPECT_EQ(inPlaceSite->GetWindowContext(nullptr, pDoc.GetAddressOf(), &rcPos, &rcClip, &info), E_POINTER);
    EXPECT_EQ(inPlaceSite->GetWindowContext(pFrame.GetAddressOf(), pDoc.GetAddressOf(), &rcPos, &rcClip, nullptr),
              E_POINTER);
    ASSERT_EQ(inPlaceSite->GetWindowContext(pFrame.GetAddressOf(), pDoc.GetAddressOf(), &rcPos, &rcClip, &info), S_OK);
    EXPECT_EQ(pDoc, nullptr);
    EXPECT_EQ(RectText(rcPos), "0,0,100,50");
    EXPECT_EQ(RectText(rcClip), "0,0,100,50");
    static_assert(sizeof(void*) != 4 || sizeof(OLEINPLACEFRAMEINFO) == 20);
    EXPECT_EQ(info.cb, sizeof(OLEINPLACEFRAMEINFO));
    EXPECT_FALSE(info.fMDIApp);
    EXPECT_EQ(info.hwndFrame, host.Hwnd());
    EXPECT_NE(info.haccel, nullptr);
    EXPECT_EQ(info.cAccelEntries, 1u);

    HWND hWnd = nullptr;
    EXPECT_EQ(pFrame->GetWindow(&hWnd), S_OK);
    EXPECT_EQ(hWnd, host.Hwnd());
    EXPECT_EQ(pFrame->RequestBorderSpace(nullptr), INPLACE_E_NOTOOLSPACE);
    EXPECT_EQ(pFrame->TranslateAccelerator(nullptr, 0), S_FALSE);
    EXPECT_EQ(pFrame->SetStatusText(L"x"), S_OK);
    // The active object is kept with a reference and let go again.
    CFakeOleObject* pObject = fake->Object();
    const LONG nBefore = pObject->RefCount();
    EXPECT_EQ(pFrame->SetActiveObject(pObject, nullptr), S_OK);
    EXPECT_EQ(pObject->RefCount(), nBefore + 1);
    EXPECT_EQ(pFrame->SetActiveObject(nullptr, nullptr), S_OK);
    EXPECT_EQ(pObject->RefCount(), nBefore);
}

TEST_F(ActiveXSiteTest, EnumeratorYieldsTheObjectOnce)
{
    ComPtr<IEnumUnknown> pEnum;
    ASSERT_EQ(container->EnumObjects(OLECONTF_EMBEDDINGS, pEnum.GetAddressOf()), S_OK);
    ComPtr<IUnknown> pItem;
    ULONG nFetched = 7;
    EXPECT_EQ(pEnum->Next(1, pItem.GetAddressOf(), &nFetched), S_OK);
    EXPECT_EQ(nFetched, 1u);
    ComPtr<IUnknown> pIdentity;
    fake->Object()->QueryInterface(IID_PPV_ARGS(pIdentity.GetAddressOf()));
    EXPECT_EQ(pItem.Get(), pIdentity.Get());
    EXPECT_EQ(pEnum->Next(1, pItem.ReleaseAndGetAddressOf(), &nFetched), S_FALSE);
    EXPECT_EQ(nFetched, 0u);
    EXPECT_EQ(pEnum->Reset(), S_OK);
    EXPECT_EQ(pEnum->Skip(1), S_OK);
    EXPECT_EQ(pEnum->Skip(1), S_FALSE);
    EXPECT_EQ(pEnum->Reset(), S_OK);
    IUnknown* items[2] = {};
    EXPECT_EQ(pEnum->Next(2, items, &nFetched), S_FALSE);
    EXPECT_EQ(nFetched, 1u);
    items[0]->Release();
    ComPtr<IEnumUnknown> pClone;
    EXPECT_EQ(pEnum->Clone(pClone.GetAddressOf()), E_NOTIMPL);
}

TEST_F(ActiveXSiteTest, ExtendedControlIsTheObjectsDispatch)
{
    ComPtr<IDispatch> pDispatch;
    // The plain fake has no IDispatch: the site passes on the object's answer.
    EXPECT_EQ(controlSite->GetExtendedControl(pDispatch.GetAddressOf()), E_NOINTERFACE);
    EXPECT_EQ(pDispatch, nullptr);
}

TEST_F(ActiveXSiteTest, SiteAnswersUnexpectedOnceTheControlHasLetGo)
{
    control->ReleaseHostedObject();
    HWND hWnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(inPlaceSite->GetWindow(&hWnd), E_UNEXPECTED);
    EXPECT_EQ(hWnd, nullptr);
    EXPECT_EQ(clientSite->ShowObject(), E_UNEXPECTED);
    EXPECT_EQ(inPlaceSite->OnInPlaceActivate(), E_UNEXPECTED);
    EXPECT_EQ(inPlaceSite->SetFocus(TRUE), E_UNEXPECTED);
    EXPECT_EQ(inPlaceSite->InvalidateRect(nullptr, FALSE), E_UNEXPECTED);
    ComPtr<IEnumUnknown> pEnum;
    EXPECT_EQ(container->EnumObjects(0, pEnum.GetAddressOf()), E_UNEXPECTED);
    ComPtr<IOleInPlaceFrame> pFrame;
    ComPtr<IOleInPlaceUIWindow> pDoc;
    RECT rcPos = {};
    RECT rcClip = {};
    OLEINPLACEFRAMEINFO info = {};
    EXPECT_EQ(inPlaceSite->GetWindowContext(pFrame.GetAddressOf(), pDoc.GetAddressOf(), &rcPos, &rcClip, &info),
              E_UNEXPECTED);
}
