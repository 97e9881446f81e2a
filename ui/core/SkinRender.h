#pragma once

#include "core/UITypes.h"

#include <windows.h>

#include <memory>

namespace Tarvo {

class CSkinRender {
public:
    // nameOrId is a resource name or id when resourceType is given, else a skin file name (zip or
    // resource folder, then the name itself as a path). Null when nothing decodes. The caller
    // fills sResourceType and dwMask.
    static std::unique_ptr<UIImageInfo> LoadSkinImage(LPCWSTR nameOrId, LPCWSTR resourceType, UIColor mask);
};

} // namespace Tarvo
