#pragma once

#include "core/UINameMap.h"
#include "core/UITypes.h"

#include <windows.h>

namespace Tarvo {

// The decoded images of one paint manager by name. The first load of a name fixes its resource
// type and mask; nothing is evicted before RemoveAll or destruction, which delete the bitmaps.
class CImageCacheUI {
public:
    CImageCacheUI() = default;
    ~CImageCacheUI();
    CImageCacheUI(const CImageCacheUI&) = delete;
    CImageCacheUI& operator=(const CImageCacheUI&) = delete;

    // With a resource type the name is the decimal resource id. Null when the image does not
    // load or the name is taken already.
    const UIImageInfo* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, UIColor mask = 0);
    const UIImageInfo* FindImage(LPCWSTR bitmap) const;
    const UIImageInfo* FindOrAddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, UIColor mask = 0);
    int GetImageCount() const { return m_mImageHash.GetSize(); }
    void RemoveAll();

private:
    CUINameMap m_mImageHash;
};

} // namespace Tarvo
