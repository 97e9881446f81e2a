// The paint manager as the markup-text layout sees it: its font table (the project's own
// WindowManagerFonts.cpp) and its image cache (ImageCache.cpp), without a window. Images are
// "decoded" from a small table of names and sizes (a missing name fails as a missing file),
// and drawing a bitmap checks that the source rectangle lies inside it.
#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include <cstdio>
#include <cstdlib>

namespace Tarvo {

namespace {

struct StandInImage {
    const wchar_t* name;
    int width;
    int height;
};

// The skin's images at their sizes, the unit tests' names, and extremes.
const StandInImage kImages[] = {
    {L"btn_close.png", 24, 24},
    {L"confirm.png", 96, 32},
    {L"gclose_normal.png", 28, 30},
    {L"gprogress_fore.png", 16, 13},
    {L"icon_warning.png", 60, 60},
    {L"shadow.png", 24, 24},
    {L"a", 4, 6},
    {L"icons.png", 32, 16},
    {L"dot.png", 1, 1},
    {L"wide.png", 5000, 1},
    {L"tall.png", 1, 3000},
    {L"huge.png", 30000, 30000},
};

} // namespace

CWindowManagerUI::CWindowManagerUI()
{
    InitDefaultFont();
}

CWindowManagerUI::~CWindowManagerUI()
{
    DestroyFonts();
    m_images.RemoveAll();
}

const UIImageInfo* CWindowManagerUI::FindOrAddImage(const wchar_t* pstrName, const wchar_t* pstrType, DWORD dwMask)
{
    return m_images.FindOrAddImage(pstrName, pstrType, dwMask);
}

// The shadow is never created in a harness, so there is nothing to undo.
CShadowUI::~CShadowUI() = default;

std::unique_ptr<UIImageInfo> CSkinRender::LoadSkinImage(LPCWSTR nameOrId, LPCWSTR resourceType, UIColor)
{
    if (resourceType != nullptr || nameOrId == nullptr) {
        return nullptr;
    }
    for (const StandInImage& image : kImages) {
        if (std::wcscmp(image.name, nameOrId) == 0) {
            auto info = std::make_unique<UIImageInfo>();
            info->hBitmap = wxlm_port::CreateBitmapOfSize(image.width, image.height);
            info->nWidth = image.width;
            info->nHeight = image.height;
            return info;
        }
    }
    return nullptr;
}

void CSkinRender::PaintBitmap(HDC, HBITMAP hBitmap, const RECT&, const RECT&, const RECT& rcSource, const RECT&, bool,
                              BYTE, bool, bool, bool)
{
    if (!wxlm_port::RectInsideBitmap(hBitmap, rcSource)) {
        std::fprintf(stderr, "bitmap drawn from outside it: source %d,%d,%d,%d\n", rcSource.left, rcSource.top,
                     rcSource.right, rcSource.bottom);
        std::abort();
    }
}

} // namespace Tarvo
