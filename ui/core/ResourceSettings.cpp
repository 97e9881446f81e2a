#include "core/ResourceSettings.h"

#include "core/SkinZip.h"

#include <memory>

namespace Tarvo {

namespace {

struct ResourceState {
    HINSTANCE hInstance = nullptr;
    HINSTANCE hResourceInstance = nullptr;
    CUIString sResourcePath;
    CUIString sResourceZip;
    bool bZipCached = false;
    std::unique_ptr<CSkinZip> pZip;
};

ResourceState& State()
{
    static ResourceState state;
    return state;
}

void CloseCachedZip()
{
    State().pZip.reset();
    State().bZipCached = false;
}

} // namespace

void CResourceSettingsUI::SetInstance(HINSTANCE hInstance)
{
    State().hInstance = hInstance;
}

HINSTANCE CResourceSettingsUI::Instance()
{
    return State().hInstance;
}

void CResourceSettingsUI::SetResourceInstance(HINSTANCE hInstance)
{
    State().hResourceInstance = hInstance;
}

HINSTANCE CResourceSettingsUI::ResourceModule()
{
    return State().hResourceInstance != nullptr ? State().hResourceInstance : State().hInstance;
}

void CResourceSettingsUI::SetResourcePath(LPCWSTR pstrPath)
{
    CUIString& path = State().sResourcePath;
    path = pstrPath != nullptr ? pstrPath : L"";
    const int nLength = path.GetLength();
    if (nLength > 0 && path[nLength - 1] != L'\\' && path[nLength - 1] != L'/') {
        path += L'\\';
    }
}

const CUIString& CResourceSettingsUI::ResourcePath()
{
    return State().sResourcePath;
}

void CResourceSettingsUI::SetResourceZip(LPCWSTR pstrName, bool bCached)
{
    ResourceState& state = State();
    const CUIString name(pstrName != nullptr ? pstrName : L"");
    if (bCached && state.bZipCached && state.pZip && state.sResourceZip == name) {
        return;
    }
    CloseCachedZip();
    state.sResourceZip = name;
    if (!bCached || name.IsEmpty()) {
        return;
    }
    state.bZipCached = true;
    auto zip = std::make_unique<CSkinZip>();
    if (zip->OpenFile(state.sResourcePath + name) == SKINZIP_OK) {
        state.pZip = std::move(zip);
    }
}

bool CResourceSettingsUI::SetResourceZipMemory(const void* pBytes, DWORD dwSize)
{
    ResourceState& state = State();
    // An archive that failed to open is tried again rather than kept as a null handle for good.
    if (state.sResourceZip == MEMBUFFER_ZIP && state.bZipCached && state.pZip) {
        return true;
    }
    CloseCachedZip();
    state.sResourceZip = MEMBUFFER_ZIP;
    state.bZipCached = true;
    auto zip = std::make_unique<CSkinZip>();
    if (zip->OpenMemory(pBytes, dwSize) != SKINZIP_OK) {
        return false;
    }
    state.pZip = std::move(zip);
    return true;
}

UIZipResourceState CResourceSettingsUI::SetResourceZipFromResource(LPCWSTR pstrResourceId)
{
    const HINSTANCE hModule = ResourceModule();
    HRSRC hResource = ::FindResourceW(hModule, pstrResourceId, L"ZIPRES");
    if (hResource == nullptr) {
        return ZipResourceMissing;
    }
    // Resources stay mapped for the life of the module: nothing to free.
    HGLOBAL hData = ::LoadResource(hModule, hResource);
    const DWORD dwSize = ::SizeofResource(hModule, hResource);
    const void* pBytes = hData != nullptr ? ::LockResource(hData) : nullptr;
    if (pBytes == nullptr || dwSize == 0) {
        return ZipResourceMissing;
    }
    return SetResourceZipMemory(pBytes, dwSize) ? ZipResourceOpened : ZipResourceUnreadable;
}

const CUIString& CResourceSettingsUI::ResourceZip()
{
    return State().sResourceZip;
}

bool CResourceSettingsUI::IsZipCached()
{
    return State().bZipCached;
}

CSkinZip* CResourceSettingsUI::ZipHandle()
{
    return State().pZip.get();
}

DWORD CResourceSettingsUI::LastZipError()
{
    return CSkinZip::LastError();
}

void CResourceSettingsUI::ReleaseZip()
{
    CloseCachedZip();
    State().sResourceZip.Empty();
}

} // namespace Tarvo
