#include "core/StbImage.h"

#include <climits>

// The one translation unit that compiles stb_image. Skin images arrive as bytes, never as paths.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STBI_NO_FAILURE_STRINGS
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace Tarvo {

void StbPixels::Free::operator()(BYTE* p) const
{
    stbi_image_free(p);
}

bool DecodeStbImage(const BYTE* pBytes, DWORD dwSize, StbPixels& pixels)
{
    if (pBytes == nullptr || dwSize == 0 || dwSize > INT_MAX) {
        return false;
    }
    int nChannels = 0;
    pixels.pRgba.reset(
        stbi_load_from_memory(pBytes, static_cast<int>(dwSize), &pixels.nWidth, &pixels.nHeight, &nChannels, 4));
    return pixels.pRgba != nullptr && pixels.nWidth > 0 && pixels.nHeight > 0;
}

} // namespace Tarvo
