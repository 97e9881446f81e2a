// Exports of the stand-in Flash DLL (named in flash_standin.def).
#include "FlashStandIn.h"

#include <oleauto.h>

#include <algorithm>

#include <cstring>
#include <string>

using namespace flashstandin;

namespace {

activextest::CFakeOleObject* MakeStandIn(const activextest::FakeOptions& options)
{
    return new CFlashStandIn(options);
}

// Keeps the last object made (so a test can read its record after the host let go).
activextest::CFakeClassFactory* Factory()
{
    static auto* s_pFactory = new activextest::CFakeClassFactory({}, &MakeStandIn);
    return s_pFactory;
}

CFlashStandIn* LastObject()
{
    return static_cast<CFlashStandIn*>(Factory()->last.Get());
}

// A process that sets WXLM_FLASH_STANDIN=absent sees no Flash object, as on a machine without one.
bool PlaysAbsent()
{
    wchar_t value[16] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"WXLM_FLASH_STANDIN", value, 16);
    return length > 0 && length < 16 && std::wstring(value) == L"absent";
}

VARIANT TextArg(const wchar_t* text)
{
    VARIANT arg = {};
    arg.vt = VT_BSTR;
    arg.bstrVal = ::SysAllocString(text != nullptr ? text : L"");
    return arg;
}

} // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (rclsid != CLSID_ShockwaveFlash || PlaysAbsent()) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return Factory()->QueryInterface(riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return S_FALSE;
}

// What the last object was asked and what it fired, one entry a line; the length of the whole
// record (copied as far as it fits, always terminated).
extern "C" int __cdecl WxlmFlashRecord(char* buffer, int size)
{
    std::string record;
    if (CFlashStandIn* pObject = LastObject()) {
        for (const std::string& call : pObject->calls) {
            record += call + "\n";
        }
    }
    if (buffer != nullptr && size > 0) {
        const size_t count = std::min(record.size(), static_cast<size_t>(size - 1));
        std::memcpy(buffer, record.data(), count);
        buffer[count] = '\0';
    }
    return static_cast<int>(record.size());
}

// Fires FSCommand (first = command, second = arguments) or FlashCall (first = request) at the
// last object's sinks; E_UNEXPECTED without an object.
extern "C" HRESULT __cdecl WxlmFlashFire(LONG dispId, const wchar_t* first, const wchar_t* second)
{
    CFlashStandIn* pObject = LastObject();
    if (pObject == nullptr) {
        return E_UNEXPECTED;
    }
    VARIANT a = TextArg(first);
    VARIANT b = TextArg(second);
    const HRESULT hr = dispId == 0x96 ? pObject->Fire(dispId, {a, b}) : pObject->Fire(dispId, {a});
    ::VariantClear(&a);
    ::VariantClear(&b);
    return hr;
}
