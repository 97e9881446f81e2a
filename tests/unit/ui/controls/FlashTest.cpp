#include <gtest/gtest.h>

#include "controls/ControlTable.h"
#include "controls/Flash.h"
#include "controls/FlashEventHandler.h"

#include <oleauto.h>

#include <memory>
#include <string>
#include <vector>

using namespace Tarvo;

namespace {

struct RecordingHandler : CFlashEventHandler {
    void OnReadyStateChange(LONG nNewState) override { seen.push_back(L"ready " + std::to_wstring(nNewState)); }
    void OnProgress(LONG nPercentDone) override { seen.push_back(L"progress " + std::to_wstring(nPercentDone)); }
    void FSCommand(const wchar_t* pstrCommand, const wchar_t* pstrArgs) override
    {
        seen.push_back(std::wstring(L"fscommand ") + pstrCommand + L"|" + pstrArgs);
    }
    void FlashCall(const wchar_t* pstrRequest) override { seen.push_back(std::wstring(L"flashcall ") + pstrRequest); }
    std::vector<std::wstring> seen;
};

VARIANT Long(LONG value)
{
    VARIANT v = {};
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

// Not owned: the strings are literals that outlive the call (the sink never frees arguments).
VARIANT Text(const wchar_t* text)
{
    VARIANT v = {};
    v.vt = VT_BSTR;
    v.bstrVal = const_cast<BSTR>(text);
    return v;
}

HRESULT Fire(CFlashUI& flash, DISPID id, std::vector<VARIANT> reversedArgs, REFIID riid = IID_NULL)
{
    DISPPARAMS params = {reversedArgs.data(), nullptr, static_cast<UINT>(reversedArgs.size()), 0};
    UINT argErr = 0;
    return flash.Invoke(id, riid, 0, DISPATCH_METHOD, &params, nullptr, nullptr, &argErr);
}

} // namespace

TEST(FlashTest, ElementTypeNameAndInterfaces)
{
    std::unique_ptr<CControlUI> pControl(CreateControlByElement(L"Flash"));
    ASSERT_NE(pControl, nullptr);
    EXPECT_STREQ(pControl->TypeName(), L"Flash");
    EXPECT_EQ(pControl->LookupInterface(L"Flash"), pControl.get());
    EXPECT_EQ(pControl->LookupInterface(L"ActiveX"), pControl.get());
    EXPECT_EQ(pControl->LookupInterface(L"WebBrowser"), nullptr);
    auto* pFlash = static_cast<CFlashUI*>(pControl.get());
    EXPECT_TRUE(IsEqualCLSID(pFlash->ClassId(), CLSID_UIShockwaveFlash));
    EXPECT_TRUE(pFlash->IsDelayCreate());
    EXPECT_FALSE(pFlash->IsCreated());
}

TEST(FlashTest, SinkAnswersTheEventInterfaceAndCountsItsReferences)
{
    CFlashUI flash;
    Microsoft::WRL::ComPtr<IDispatch> pSink;
    ASSERT_EQ(flash.QueryInterface(DIID_UIShockwaveFlashEvents, reinterpret_cast<void**>(pSink.GetAddressOf())), S_OK);
    EXPECT_EQ(flash.ComRefCount(), 1u);
    Microsoft::WRL::ComPtr<IUnknown> pUnknown;
    EXPECT_EQ(pSink.As(&pUnknown), S_OK);
    EXPECT_EQ(flash.ComRefCount(), 2u);
    Microsoft::WRL::ComPtr<IOleObject> pOther;
    EXPECT_EQ(pSink.As(&pOther), E_NOINTERFACE);
    pSink.Reset();
    pUnknown.Reset();
    EXPECT_EQ(flash.ComRefCount(), 0u);
}

TEST(FlashTest, EventsReachTheHandlerAndMalformedOnesAreRefused)
{
    CFlashUI flash;
    EXPECT_EQ(Fire(flash, CFlashUI::DispIdProgress, {Long(5)}), S_OK) << "no handler: acknowledged";
    RecordingHandler handler;
    flash.SetEventHandler(&handler);
    EXPECT_EQ(Fire(flash, CFlashUI::DispIdReadyStateChange, {Long(4)}), S_OK);
    EXPECT_EQ(Fire(flash, CFlashUI::DispIdProgress, {Long(55)}), S_OK);
    EXPECT_EQ(Fire(flash, CFlashUI::DispIdFSCommand, {Text(L"args"), Text(L"cmd")}), S_OK);
    EXPECT_EQ(Fire(flash, CFlashUI::DispIdFlashCall, {Text(L"<invoke/>")}), S_OK);
    VARIANT nullText = {};
    nullText.vt = VT_BSTR;
    EXPECT_EQ(Fire(flash, CFlashUI::DispIdFlashCall, {nullText}), S_OK);
    EXPECT_EQ(handler.seen, (std::vector<std::wstring>{L"ready 4", L"progress 55", L"fscommand cmd|args",
                                                       L"flashcall <invoke/>", L"flashcall "}));

    struct Bad {
        DISPID id;
        std::vector<VARIANT> args;
        HRESULT expected;
    };
    const Bad bad[] = {
        {CFlashUI::DispIdProgress, {}, DISP_E_BADPARAMCOUNT},
        {CFlashUI::DispIdProgress, {Text(L"5")}, DISP_E_TYPEMISMATCH},
        {CFlashUI::DispIdFSCommand, {Text(L"only one")}, DISP_E_BADPARAMCOUNT},
        {CFlashUI::DispIdFSCommand, {Long(1), Text(L"cmd")}, DISP_E_TYPEMISMATCH},
        {CFlashUI::DispIdFlashCall, {Long(1)}, DISP_E_TYPEMISMATCH},
        {CFlashUI::DispIdReadyStateChange, {Long(1), Long(2)}, DISP_E_BADPARAMCOUNT},
        {12345, {}, DISP_E_MEMBERNOTFOUND},
    };
    for (const Bad& b : bad) {
        EXPECT_EQ(Fire(flash, b.id, b.args), b.expected) << b.id;
    }
    EXPECT_EQ(Fire(flash, CFlashUI::DispIdProgress, {Long(1)}, IID_IDispatch), DISP_E_UNKNOWNINTERFACE);
    EXPECT_EQ(flash.Invoke(CFlashUI::DispIdProgress, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(handler.seen.size(), 5u) << "nothing malformed got through";
}
