#pragma once

// A real window with a paint manager, OLE initialised, and a fake class registered in the process
// so that CoCreateInstance makes in-process fakes.

#include "FakeOleObject.h"
#include "ManagerFixture.h"

#include "controls/ActiveX.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace activextest {

// Notification types the manager sent, in order.
class NotificationTypes : public Tarvo::INotifyUI {
public:
    void OnNotification(Tarvo::UINotification& notification) override { types.push_back(notification.type.GetData()); }
    std::vector<std::wstring> types;
};

// The fake factory registered under a class id for the scope.
struct RegisteredFake {
    RegisteredFake(REFCLSID clsid, FakeOptions options, CFakeClassFactory::Maker maker = nullptr)
        : factory(options, maker), registration(clsid, &factory)
    {
    }
    CFakeOleObject* Object() const { return factory.last.Get(); }

    CFakeClassFactory factory;
    ScopedClassRegistration registration;
};

class ActiveXHostFixture : public ::testing::Test {
protected:
    static constexpr RECT kItem = {10, 20, 110, 70};

    ActiveXHostFixture() { host.Manager().AddListener(&notifications); }
    ~ActiveXHostFixture() override { host.Manager().RemoveListener(&notifications); }

    // A new control of the given class in the root, attached to the manager.
    template <class T = Tarvo::CActiveXUI> T* AddControl()
    {
        auto* pControl = new T;
        root->AddExisting(pControl);
        return pControl;
    }
    // The earlier registration goes first: COM keeps the first factory registered for a class.
    void RegisterFake(FakeOptions options, CFakeClassFactory::Maker maker = nullptr)
    {
        fake.reset();
        fake = std::make_unique<RegisteredFake>(CLSID_FakeOleObject, options, maker);
        ASSERT_TRUE(fake->registration.Ok());
    }
    // Registers a fake under CLSID_FakeOleObject and places a control with that class.
    Tarvo::CActiveXUI* HostFake(FakeOptions options, RECT rc = kItem)
    {
        RegisterFake(options);
        Tarvo::CActiveXUI* pControl = AddControl();
        pControl->SetClassId(CLSID_FakeOleObject);
        pControl->SetPosition(rc);
        return pControl;
    }

    ScopedOle ole;
    std::unique_ptr<RegisteredFake> fake;
    guitest::EventLog log;
    NotificationTypes notifications;
    guitest::TestHostWindow host{400, 300};
    guitest::CTestContainerUI* root = host.AttachNewRoot(&log);
};

std::wstring ClassNameOf(HWND hWnd);
std::wstring TitleOf(HWND hWnd);
RECT RectInParent(HWND hWnd);
// Screen pixels per logical inch, as the host computes the extent.
int ScreenDpi(int nIndex);

} // namespace activextest
