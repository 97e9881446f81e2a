#pragma once

#include <windows.h>

#include <memory>

namespace Tarvo {

struct StbPixels {
    struct Free {
        void operator()(BYTE* p) const;
    };
    // A few header bytes can claim any size, and the decoder fills what the data lacks: larger
    // images are refused before any pixel memory is taken.
    static constexpr int MAX_SIDE = 16384;
    static constexpr long long MAX_PIXELS = 16LL * 1024 * 1024;

    std::unique_ptr<BYTE, Free> pRgba; // 8-bit R, G, B, A per pixel, rows top-down
    int nWidth = 0;
    int nHeight = 0;
};

// Decodes JPEG, PNG, BMP, GIF (first frame), PSD, PIC, PNM or TGA bytes; false when it cannot or
// when the header's size is beyond MAX_SIDE or MAX_PIXELS.
bool DecodeStbImage(const BYTE* pBytes, DWORD dwSize, StbPixels& pixels);

} // namespace Tarvo
