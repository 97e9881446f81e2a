#include "core/SkinRender.h"

#include "core/ResourceSettings.h"
#include "core/SkinFile.h"
#include "core/StbImage.h"

#include <limits>

namespace Tarvo {

namespace {

// Resources stay mapped while their module is loaded, so they are decoded in place.
bool DecodeResource(LPCWSTR nameOrId, LPCWSTR resourceType, StbPixels& pixels)
{
    const HINSTANCE hModule = CResourceSettingsUI::ResourceModule();
    HRSRC hResource = ::FindResourceW(hModule, nameOrId, resourceType);
    if (hResource == nullptr) {
        return false;
    }
    HGLOBAL hData = ::LoadResource(hModule, hResource);
    const void* pBytes = hData != nullptr ? ::LockResource(hData) : nullptr;
    return pBytes != nullptr &&
           DecodeStbImage(static_cast<const BYTE*>(pBytes), ::SizeofResource(hModule, hResource), pixels);
}

bool DecodeSkinFile(LPCWSTR name, StbPixels& pixels)
{
    constexpr DWORD kNoLimit = std::numeric_limits<DWORD>::max();
    SkinFileBytes bytes;
    if (CSkinFileUI::Read(name, kNoLimit, bytes) != SkinFileResult::Ok &&
        CSkinFileUI::ReadFile(name, kNoLimit, bytes) != SkinFileResult::Ok) {
        return false;
    }
    return DecodeStbImage(bytes.pData.get(), bytes.dwSize, pixels);
}

// Premultiplies every colour by its alpha (what AlphaBlend expects), then clears the mask colour.
bool ConvertPixels(const StbPixels& pixels, UIColor mask, DWORD* pOut)
{
    bool bAlpha = false;
    const BYTE* pIn = pixels.pRgba.get();
    const size_t count = static_cast<size_t>(pixels.nWidth) * pixels.nHeight;
    for (size_t i = 0; i < count; ++i, pIn += 4) {
        const DWORD a = pIn[3];
        DWORD r = pIn[0];
        DWORD g = pIn[1];
        DWORD b = pIn[2];
        if (a < 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            bAlpha = true;
        }
        DWORD pixel = (a << 24) | (r << 16) | (g << 8) | b;
        if (pixel == mask) {
            pixel = 0;
            bAlpha = true;
        }
        pOut[i] = pixel;
    }
    return bAlpha;
}

} // namespace

std::unique_ptr<UIImageInfo> CSkinRender::LoadSkinImage(LPCWSTR nameOrId, LPCWSTR resourceType, UIColor mask)
{
    if (nameOrId == nullptr) {
        return nullptr;
    }
    StbPixels pixels;
    const bool bDecoded =
        resourceType != nullptr ? DecodeResource(nameOrId, resourceType, pixels) : DecodeSkinFile(nameOrId, pixels);
    if (!bDecoded) {
        return nullptr;
    }
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = pixels.nWidth;
    bmi.bmiHeader.biHeight = -pixels.nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    auto image = std::make_unique<UIImageInfo>();
    image->hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (image->hBitmap == nullptr || pBits == nullptr) {
        return nullptr;
    }
    image->nWidth = pixels.nWidth;
    image->nHeight = pixels.nHeight;
    image->bAlphaChannel = ConvertPixels(pixels, mask, static_cast<DWORD*>(pBits));
    return image;
}

} // namespace Tarvo
