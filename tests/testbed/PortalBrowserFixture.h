#pragma once

#include <gtest/gtest.h>

#include "PortalRecord.h"
#include "PortalTestExternal.h"
#include "PortalTestHandler.h"
#include "PortalTestSink.h"
#include "PortalTestSite.h"

#include <exdisp.h>
#include <wrl/client.h>

#include <functional>
#include <memory>

// A test window with the stand-in browser created through CLSID_WebBrowser, activated in place
// by the test's minimal container, with the test's event sink advised. At the end every host
// object must have its references back and the stand-in DLL no object alive.
class PortalBrowserFixture : public ::testing::Test {
protected:
    static constexpr RECT kPlace{0, 0, 960, 620};

    void SetUp() override;
    void TearDown() override;

    // Creates the browser with the scenario (UTF-8 text), embeds it and advises the sink.
    void CreateAndEmbed(const std::string& scenario = {});
    HRESULT Navigate(const std::wstring& url);
    // Pumps this thread's messages until the condition holds (20 s at most).
    bool PumpUntil(const std::function<bool()>& condition);
    // Until the browser has played every step of its navigation.
    bool WaitIdle();
    void ReleaseBrowser();
    HWND PageWindow() const;

    std::unique_ptr<wxlmtest::PortalBrowserSession> session;
    HWND window = nullptr;
    PortalTestExternal external;
    PortalTestHandler handler{&external};
    PortalTestSite site;
    PortalTestSink sink;
    Microsoft::WRL::ComPtr<IOleObject> object;
    Microsoft::WRL::ComPtr<IWebBrowser2> web;
    DWORD cookie = 0;
};

// The stand-in DLL's count of live objects in this process (0 when it is not loaded).
LONG PortalLiveObjects();
