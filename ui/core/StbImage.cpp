#include "core/StbImage.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// stb_image 2.27 copies an empty first IDAT chunk from its buffer before it has one
// (memcpy(NULL, p, 0): undefined, and the compiler may then drop later null checks of that
// buffer). Its copies go through here; the headers it includes are included above.
void* CopyBytes(void* pTo, const void* pFrom, size_t nBytes)
{
    return nBytes == 0 ? pTo : std::memcpy(pTo, pFrom, nBytes);
}

} // namespace

// The one translation unit that compiles stb_image. Skin images arrive as bytes, never as paths.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS (Tarvo::StbPixels::MAX_SIDE)
// stb_image 2.27 reads tables that a damaged JPEG never defined (a quantisation table without
// its DQT segment): zeroed memory keeps such an image from showing what the heap held before.
#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC(p, size) std::realloc(p, size)
#define STBI_FREE(p) std::free(p)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define memcpy(pTo, pFrom, nBytes) CopyBytes(pTo, pFrom, nBytes)
#include <stb_image.h>
#undef memcpy
#pragma GCC diagnostic pop

namespace Tarvo {

void StbPixels::Free::operator()(BYTE* p) const
{
    stbi_image_free(p);
}

namespace {

BYTE ByteAt(const BYTE* pBytes, DWORD dwSize, size_t i)
{
    return i < dwSize ? pBytes[i] : 0; // the decoder reads zeros past the end
}

// The JPEG decoder takes FF (FF...) D8 as the start of an image.
bool IsJpeg(const BYTE* pBytes, DWORD dwSize)
{
    size_t i = 1;
    while (i < dwSize && pBytes[i] == 0xFF) {
        ++i;
    }
    return pBytes[0] == 0xFF && i < dwSize && pBytes[i] == 0xD8;
}

// A DHT segment (from its length field) read the decoder's way: false when a table's sixteen
// code counts add up to more than the 256 codes a table holds.
bool HuffmanCountsFit(const BYTE* pBytes, DWORD dwSize, size_t i)
{
    long nLeft = ((ByteAt(pBytes, dwSize, i) << 8) | ByteAt(pBytes, dwSize, i + 1)) - 2;
    i += 2;
    while (nLeft > 0) {
        const BYTE tableId = ByteAt(pBytes, dwSize, i++);
        if ((tableId >> 4) > 1 || (tableId & 15) > 3) {
            return true; // the decoder refuses the image here itself
        }
        long nCodes = 0;
        for (int nLength = 0; nLength < 16; ++nLength) {
            nCodes += ByteAt(pBytes, dwSize, i++);
        }
        if (nCodes > 256) {
            return false;
        }
        i += nCodes;
        nLeft -= 17 + nCodes;
    }
    return true;
}

// From the first scan on, the decoder finds its markers by searching the entropy-coded data,
// so every FF C4 there is checked as a DHT segment.
bool HuffmanTablesFitFrom(const BYTE* pBytes, DWORD dwSize, size_t i)
{
    for (; i + 1 < dwSize; ++i) {
        if (pBytes[i] == 0xFF && pBytes[i + 1] == 0xC4 && !HuffmanCountsFit(pBytes, dwSize, i + 2)) {
            return false;
        }
    }
    return true;
}

bool IsMarkerWithoutLength(BYTE marker)
{
    return marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

// stb_image 2.27 (Debian 12's libstb) writes past a Huffman table given more than 256 codes.
// Before the first scan it reads segments as this walk does: a byte that is not FF is stepped
// over, fill FFs are skipped, a segment's payload (an APP or COM block, say) is passed by its
// length and never taken for markers.
bool JpegHuffmanTablesFit(const BYTE* pBytes, DWORD dwSize)
{
    if (!IsJpeg(pBytes, dwSize)) {
        return true;
    }
    size_t i = 0;
    while (i < dwSize) {
        if (pBytes[i] != 0xFF) {
            ++i;
            continue;
        }
        while (i < dwSize && pBytes[i] == 0xFF) {
            ++i;
        }
        if (i >= dwSize) {
            break;
        }
        const BYTE marker = pBytes[i++];
        if (marker == 0xD9) {
            return true; // nothing after the end of the image is read
        }
        if (marker == 0xDA) {
            return HuffmanTablesFitFrom(pBytes, dwSize, i);
        }
        if (marker == 0xC4 && !HuffmanCountsFit(pBytes, dwSize, i)) {
            return false;
        }
        if (IsMarkerWithoutLength(marker)) {
            continue;
        }
        const size_t nLength = (static_cast<size_t>(ByteAt(pBytes, dwSize, i)) << 8) | ByteAt(pBytes, dwSize, i + 1);
        if (nLength < 2) {
            return HuffmanTablesFitFrom(pBytes, dwSize, i); // the decoder's reading is lost: every FF C4 counts
        }
        i += nLength;
    }
    return true;
}

DWORD BigEndian32(const BYTE* p)
{
    return (static_cast<DWORD>(p[0]) << 24) | (static_cast<DWORD>(p[1]) << 16) | (static_cast<DWORD>(p[2]) << 8) | p[3];
}

// stb_image 2.27 grows its buffer to an IDAT chunk's stated length before reading the data, so
// a few hundred bytes could ask for 2 GB. A PNG whose chunks up to IEND lie beyond the bytes
// would not decode anyway.
bool PngChunksFit(const BYTE* pBytes, DWORD dwSize)
{
    static const BYTE kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (dwSize < sizeof(kSignature) || std::memcmp(pBytes, kSignature, sizeof(kSignature)) != 0) {
        return true;
    }
    size_t i = sizeof(kSignature);
    while (i + 8 <= dwSize) {
        const DWORD dwLength = BigEndian32(pBytes + i);
        if (dwLength > dwSize - i - 8) {
            return false;
        }
        if (std::memcmp(pBytes + i + 4, "IEND", 4) == 0) {
            return true;
        }
        i += 8 + static_cast<size_t>(dwLength) + 4; // length, type, data, CRC
    }
    return true;
}

bool IsBinaryPnm(const BYTE* pBytes, DWORD dwSize)
{
    return dwSize >= 2 && pBytes[0] == 'P' && (pBytes[1] == '5' || pBytes[1] == '6');
}

bool IsPnmSpace(BYTE c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// stb_image 2.27 reads a PNM header's numbers without a bound (signed overflow on ten digits or
// more). Its header read the decoder's way: blanks and "#" comments before each of width,
// height and maximum value; false when one of them goes past INT_MAX.
bool PnmNumbersFit(const BYTE* pBytes, DWORD dwSize)
{
    if (!IsBinaryPnm(pBytes, dwSize)) {
        return true;
    }
    size_t i = 2;
    for (int nNumber = 0; nNumber < 3; ++nNumber) {
        for (;;) {
            while (i < dwSize && IsPnmSpace(pBytes[i])) {
                ++i;
            }
            if (i >= dwSize || pBytes[i] != '#') {
                break;
            }
            while (i < dwSize && pBytes[i] != '\n' && pBytes[i] != '\r') {
                ++i;
            }
        }
        long long value = 0;
        for (; i < dwSize && pBytes[i] >= '0' && pBytes[i] <= '9'; ++i) {
            value = value * 10 + (pBytes[i] - '0');
            if (value > INT_MAX) {
                return false;
            }
        }
    }
    return true;
}

// stb_image 2.27 converts a 16-bit PNM to four channels as if it were 8-bit, then reads twice
// the bytes it converted: no such image decodes correctly, so none is decoded.
bool Is16BitPnm(const BYTE* pBytes, DWORD dwSize)
{
    return IsBinaryPnm(pBytes, dwSize) && stbi_is_16_bit_from_memory(pBytes, static_cast<int>(dwSize));
}

unsigned LittleEndian16(const BYTE* pBytes, DWORD dwSize, size_t i)
{
    return ByteAt(pBytes, dwSize, i) | (ByteAt(pBytes, dwSize, i + 1) << 8);
}

enum class StbFormat { Other, Bmp, Psd, Tga };

// The format the decoder takes the bytes for, tested in its own order: TGA, which has no
// signature, comes last.
StbFormat FormatOf(const BYTE* pBytes, DWORD dwSize)
{
    stbi__context context;
    stbi__start_mem(&context, pBytes, static_cast<int>(dwSize));
    if (stbi__png_test(&context)) {
        return StbFormat::Other;
    }
    if (stbi__bmp_test(&context)) {
        return StbFormat::Bmp;
    }
    if (stbi__gif_test(&context)) {
        return StbFormat::Other;
    }
    if (stbi__psd_test(&context)) {
        return StbFormat::Psd;
    }
    if (stbi__pic_test(&context) || stbi__jpeg_test(&context) || stbi__pnm_test(&context)) {
        return StbFormat::Other;
    }
    return stbi__tga_test(&context) ? StbFormat::Tga : StbFormat::Other;
}

// The fewest bytes that can hold the pixels of a sound file: BMP rows unpadded (the decoder
// reads no compressed BMP), TGA raw or in runs of at most 128 pixels each with its header byte,
// PSD in runs of at most 128 bytes of one channel, two bytes each at best.
long long LeastPixelBytes(StbFormat format, const BYTE* pBytes, DWORD dwSize, int nWidth, int nHeight)
{
    const long long nPixels = static_cast<long long>(nWidth) * nHeight;
    switch (format) {
    case StbFormat::Bmp: {
        const bool bCoreHeader = LittleEndian16(pBytes, dwSize, 14) == 12;
        const unsigned nBits = LittleEndian16(pBytes, dwSize, bCoreHeader ? 24 : 28);
        return nPixels * nBits / 8;
    }
    case StbFormat::Tga: {
        const long long nPixelBytes = std::max((ByteAt(pBytes, dwSize, 16) + 7) / 8, 1);
        const bool bRunLength = ByteAt(pBytes, dwSize, 2) >= 8;
        return bRunLength ? (nPixels + 127) / 128 * (1 + nPixelBytes) : nPixels * nPixelBytes;
    }
    case StbFormat::Psd:
        return static_cast<long long>(nHeight) * ((nWidth + 127) / 128) * 2;
    default:
        return 0;
    }
}

// For BMP, TGA and PSD the decoder makes up the pixels that the bytes lack as zeros, so a
// header of a few bytes gave an image of up to MAX_PIXELS (a quarter of a second and 128 MB for
// its pixels and bitmap). A file too short for its own pixels is damaged and is not decoded.
bool PixelDataFits(const BYTE* pBytes, DWORD dwSize, int nWidth, int nHeight)
{
    return dwSize >= LeastPixelBytes(FormatOf(pBytes, dwSize), pBytes, dwSize, nWidth, nHeight);
}

bool WithinLimits(int nWidth, int nHeight)
{
    return nWidth > 0 && nHeight > 0 && nWidth <= StbPixels::MAX_SIDE && nHeight <= StbPixels::MAX_SIDE &&
           static_cast<long long>(nWidth) * nHeight <= StbPixels::MAX_PIXELS;
}

} // namespace

bool DecodeStbImage(const BYTE* pBytes, DWORD dwSize, StbPixels& pixels)
{
    pixels = StbPixels();
    if (pBytes == nullptr || dwSize == 0 || dwSize > INT_MAX || !JpegHuffmanTablesFit(pBytes, dwSize) ||
        !PngChunksFit(pBytes, dwSize) || !PnmNumbersFit(pBytes, dwSize) || Is16BitPnm(pBytes, dwSize)) {
        return false;
    }
    // The header alone: its size decides before the decoder allocates for it.
    int nWidth = 0;
    int nHeight = 0;
    int nChannels = 0;
    if (!stbi_info_from_memory(pBytes, static_cast<int>(dwSize), &nWidth, &nHeight, &nChannels) ||
        !WithinLimits(nWidth, nHeight) || !PixelDataFits(pBytes, dwSize, nWidth, nHeight)) {
        return false;
    }
    pixels.pRgba.reset(
        stbi_load_from_memory(pBytes, static_cast<int>(dwSize), &pixels.nWidth, &pixels.nHeight, &nChannels, 4));
    if (pixels.pRgba == nullptr || !WithinLimits(pixels.nWidth, pixels.nHeight)) {
        pixels = StbPixels();
        return false;
    }
    return true;
}

} // namespace Tarvo
