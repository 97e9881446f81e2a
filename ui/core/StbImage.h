#pragma once

#include <windows.h>

#include <memory>

namespace Tarvo {

struct StbPixels {
    struct Free {
        void operator()(BYTE* p) const;
    };
    std::unique_ptr<BYTE, Free> pRgba; // 8-bit R, G, B, A per pixel, rows top-down
    int nWidth = 0;
    int nHeight = 0;
};

// Decodes JPEG, PNG, BMP, GIF (first frame), PSD, PIC, PNM or TGA bytes; false when it cannot.
bool DecodeStbImage(const BYTE* pBytes, DWORD dwSize, StbPixels& pixels);

} // namespace Tarvo
