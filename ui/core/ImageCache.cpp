#include "core/ImageCache.h"

#include "core/ImageComposites.h"
#include "core/SkinRender.h"
#include "core/StartupMarks.h"

#include <memory>

namespace Tarvo {

namespace {

// "130" → MAKEINTRESOURCE(130); the value is taken modulo 65536 like a 16-bit resource id.
bool ResourceIdFromName(LPCWSTR bitmap, WORD& id)
{
    if (bitmap[0] < L'0' || bitmap[0] > L'9') {
        return false;
    }
    unsigned value = 0;
    for (LPCWSTR p = bitmap; *p >= L'0' && *p <= L'9'; ++p) {
        value = (value * 10 + (*p - L'0')) & 0xFFFF;
    }
    id = static_cast<WORD>(value);
    return true;
}

} // namespace

CImageCacheUI::~CImageCacheUI()
{
    RemoveAll();
}

const UIImageInfo* CImageCacheUI::AddImage(LPCWSTR bitmap, LPCWSTR type, UIColor mask)
{
    if (bitmap == nullptr || bitmap[0] == L'\0' || FindImage(bitmap) != nullptr) {
        return nullptr;
    }
    const bool bResource = type != nullptr && type[0] != L'\0';
    WORD id = 0;
    if (bResource && !ResourceIdFromName(bitmap, id)) {
        return nullptr;
    }
    std::unique_ptr<UIImageInfo> image = bResource ? CSkinRender::LoadSkinImage(MAKEINTRESOURCEW(id), type, mask)
                                                   : CSkinRender::LoadSkinImage(bitmap, nullptr, mask);
    if (!image) {
        return nullptr;
    }
    CStartupMarksUI::Mark(L"images decoded", true);
    if (bResource) {
        image->sResourceType = type;
    }
    image->dwMask = mask;
    if (!m_mImageHash.Insert(bitmap, image.get())) {
        return nullptr;
    }
    return image.release();
}

const UIImageInfo* CImageCacheUI::FindImage(LPCWSTR bitmap) const
{
    return bitmap != nullptr ? static_cast<const UIImageInfo*>(m_mImageHash.Find(bitmap)) : nullptr;
}

const UIImageInfo* CImageCacheUI::FindOrAddImage(LPCWSTR bitmap, LPCWSTR type, UIColor mask)
{
    const UIImageInfo* image = FindImage(bitmap);
    return image != nullptr ? image : AddImage(bitmap, type, mask);
}

void CImageCacheUI::RemoveAll()
{
    for (int i = 0; i < m_mImageHash.GetSize(); ++i) {
        auto* pImage = static_cast<UIImageInfo*>(m_mImageHash.Find(m_mImageHash.GetAt(i), false));
        // A later bitmap may get the same handle: its composites must not survive it.
        if (pImage != nullptr) {
            CImageCompositesUI::ForgetBitmap(pImage->hBitmap);
        }
        delete pImage;
    }
    m_mImageHash.RemoveAll();
}

} // namespace Tarvo
