#include <gtest/gtest.h>

#include "ActiveXTestHost.h"
#include "SkinnedTestWindow.h"
#include "TestFiles.h"
#include "controls/Flash.h"
#include "controls/FlashEventHandler.h"

#include <string>
#include <vector>

using namespace activextest;
using Tarvo::CFlashUI;

namespace {

struct FlashEvents : Tarvo::CFlashEventHandler {
    void OnReadyStateChange(LONG nNewState) override { seen.push_back(L"ready " + std::to_wstring(nNewState)); }
    void OnProgress(LONG nPercentDone) override { seen.push_back(L"progress " + std::to_wstring(nPercentDone)); }
    void FSCommand(const wchar_t* pstrCommand, const wchar_t* pstrArgs) override
    {
        seen.push_back(std::wstring(L"fscommand ") + pstrCommand + L" " + pstrArgs);
    }
    void FlashCall(const wchar_t* pstrRequest) override { seen.push_back(std::wstring(L"flashcall ") + pstrRequest); }
    std::vector<std::wstring> seen;
};

// The stand-in Flash DLL the test prefix registers under the Flash class id, as this process
// loaded it.
struct StandIn {
    using RecordFn = int(__cdecl*)(char*, int);
    using FireFn = HRESULT(__cdecl*)(LONG, const wchar_t*, const wchar_t*);

    StandIn() : module(::GetModuleHandleW(L"flash_standin.dll"))
    {
        if (module != nullptr) {
            record = reinterpret_cast<RecordFn>(reinterpret_cast<void*>(::GetProcAddress(module, "WxlmFlashRecord")));
            fire = reinterpret_cast<FireFn>(reinterpret_cast<void*>(::GetProcAddress(module, "WxlmFlashFire")));
        }
    }
    std::string Record() const
    {
        char buffer[4096] = {};
        record(buffer, sizeof buffer);
        return buffer;
    }
    bool Recorded(const std::string& call) const { return Record().find(call + "\n") != std::string::npos; }

    HMODULE module;
    RecordFn record = nullptr;
    FireFn fire = nullptr;
};

class FlashGuiTest : public ActiveXHostFixture {
protected:
    CFlashUI* PlaceFlash()
    {
        CFlashUI* pFlash = AddControl<CFlashUI>();
        pFlash->SetEventHandler(&events);
        pFlash->SetPosition(kItem);
        return pFlash;
    }
    FlashEvents events;
};

} // namespace

TEST_F(FlashGuiTest, HostsTheInstalledFlashObjectAndReceivesItsEvents)
{
    CFlashUI* pFlash = PlaceFlash();
    EXPECT_STREQ(pFlash->TypeName(), L"Flash");
    EXPECT_TRUE(IsEqualCLSID(pFlash->ClassId(), Tarvo::CLSID_UIShockwaveFlash));
    Microsoft::WRL::ComPtr<IOleObject> pObject;
    ASSERT_EQ(pFlash->QueryHostedObject(IID_PPV_ARGS(pObject.GetAddressOf())), S_OK) << "stand-in not registered?";
    const StandIn standIn;
    ASSERT_NE(standIn.module, nullptr);
    ASSERT_NE(standIn.record, nullptr);
    EXPECT_TRUE(pFlash->IsConnected());
    EXPECT_TRUE(standIn.Recorded("FindConnectionPoint(events)")) << standIn.Record();
    EXPECT_TRUE(standIn.Recorded("Advise(1)")) << standIn.Record();
    // A windowed object: its host window sits over the control.
    ASSERT_NE(pFlash->HostWindow(), nullptr);
    EXPECT_EQ(ClassNameOf(pFlash->HostWindow()), L"ActiveXWnd");
    EXPECT_EQ(RectText(RectInParent(pFlash->HostWindow())), RectText(kItem));

    // The object reports its movie loaded on its own, from a timer.
    ASSERT_TRUE(guitest::PumpUntil([&] { return events.seen.size() >= 2; }));
    EXPECT_EQ(events.seen, (std::vector<std::wstring>{L"ready 4", L"progress 100"}));
    EXPECT_EQ(standIn.fire(CFlashUI::DispIdFSCommand, L"quit", L"now"), S_OK);
    EXPECT_EQ(standIn.fire(CFlashUI::DispIdFlashCall, L"<invoke name=\"hello\"/>", nullptr), S_OK);
    EXPECT_EQ(standIn.fire(0x1234, L"x", nullptr), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(events.seen, (std::vector<std::wstring>{L"ready 4", L"progress 100", L"fscommand quit now",
                                                      L"flashcall <invoke name=\"hello\"/>"}));

    // Going away disconnects before the object is closed, and gives back every reference.
    pObject.Reset();
    root->RemoveChild(pFlash);
    const std::string record = standIn.Record();
    const size_t unadvise = record.find("Unadvise(1)\n");
    const size_t close = record.find("Close(1)\n");
    ASSERT_NE(unadvise, std::string::npos) << record;
    ASSERT_NE(close, std::string::npos) << record;
    EXPECT_LT(unadvise, close);
}

TEST_F(FlashGuiTest, WithoutFlashInstalledTheControlStaysEmptyAndHarmless)
{
    wxlmtest::ScopedEnvironment absent(L"WXLM_FLASH_STANDIN", L"absent");
    CFlashUI* pFlash = PlaceFlash();
    EXPECT_TRUE(pFlash->IsCreated()) << "creation was attempted";
    Microsoft::WRL::ComPtr<IOleObject> pObject;
    EXPECT_EQ(pFlash->QueryHostedObject(IID_PPV_ARGS(pObject.GetAddressOf())), E_NOINTERFACE);
    EXPECT_EQ(pFlash->HostWindow(), nullptr);
    EXPECT_FALSE(pFlash->IsConnected());
    EXPECT_EQ(::FindWindowExW(host.Hwnd(), nullptr, L"ActiveXWnd", nullptr), nullptr);
    pFlash->SetVisible(false);
    pFlash->SetVisible(true);
    pFlash->SetPosition(RECT{0, 0, 50, 50});
    EXPECT_FALSE(pFlash->IsCreated() && pFlash->HostWindow() != nullptr);
    host.PaintNow(true);
    EXPECT_EQ(pFlash->ComRefCount(), 0u);
    root->RemoveChild(pFlash);
    EXPECT_TRUE(events.seen.empty());
}
