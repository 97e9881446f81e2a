// A COM module for the ActiveX host tests: DllGetClassObject makes the OLE fake for one class id.

#include "FakeOleObject.h"

namespace {

// {0B7D8F31-6C22-4E8A-B1F4-5D9C3E7A2B64}
const CLSID kModuleClass = {0x0b7d8f31, 0x6c22, 0x4e8a, {0xb1, 0xf4, 0x5d, 0x9c, 0x3e, 0x7a, 0x2b, 0x64}};

activextest::CFakeClassFactory* Factory()
{
    static activextest::CFakeClassFactory* s_pFactory = new activextest::CFakeClassFactory({});
    return s_pFactory;
}

} // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (rclsid != kModuleClass) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return Factory()->QueryInterface(riid, ppv);
}

extern "C" int __cdecl FakeModuleCreatedCount()
{
    return Factory()->created;
}
