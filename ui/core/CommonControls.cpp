#include "core/CommonControls.h"

namespace Tarvo {

namespace {

using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

InitProc InitEntry()
{
    static const InitProc s_pInit = [] {
        const HMODULE hModule = ::LoadLibraryW(L"comctl32.dll");
        // The cast goes through void* because FARPROC has no parameters and the real entry has.
        return hModule != nullptr ? reinterpret_cast<InitProc>(
                                        reinterpret_cast<void*>(::GetProcAddress(hModule, "InitCommonControlsEx")))
                                  : nullptr;
    }();
    return s_pInit;
}

} // namespace

bool UIInitCommonControls(DWORD dwClasses)
{
    const InitProc pInit = InitEntry();
    const INITCOMMONCONTROLSEX icc = {sizeof icc, dwClasses};
    return pInit != nullptr && pInit(&icc) != FALSE;
}

} // namespace Tarvo
