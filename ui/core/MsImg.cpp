#include "core/MsImg.h"

#include <atomic>

namespace Tarvo {

namespace {

struct MsImgEntries {
    CMsImgUI::AlphaBlendProc alphaBlend = nullptr;
    CMsImgUI::GradientFillProc gradientFill = nullptr;
};

std::atomic<bool> g_bForcedMissing{false};

template <typename Proc> Proc LookUp(HMODULE hModule, const char* pstrName)
{
    // The cast goes through void* because FARPROC has no parameters and the real entry has.
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(hModule, pstrName)));
}

const MsImgEntries& Entries()
{
    // The module stays loaded for the life of the process, so it is never freed.
    static const MsImgEntries entries = [] {
        MsImgEntries found;
        if (HMODULE hModule = ::LoadLibraryW(L"msimg32.dll")) {
            found.alphaBlend = LookUp<CMsImgUI::AlphaBlendProc>(hModule, "AlphaBlend");
            found.gradientFill = LookUp<CMsImgUI::GradientFillProc>(hModule, "GradientFill");
        }
        return found;
    }();
    return entries;
}

} // namespace

CMsImgUI::AlphaBlendProc CMsImgUI::AlphaBlend()
{
    return g_bForcedMissing ? nullptr : Entries().alphaBlend;
}

CMsImgUI::GradientFillProc CMsImgUI::GradientFill()
{
    return g_bForcedMissing ? nullptr : Entries().gradientFill;
}

void CMsImgUI::ForceMissing(bool bMissing)
{
    g_bForcedMissing = bMissing;
}

} // namespace Tarvo
