// Skin image bytes: decoded (stb_image behind DecodeStbImage), then made into the premultiplied
// DIB section the painters draw, as a resource of the resource module is loaded.
#include "core/SkinRender.h"
#include "core/StbImage.h"

#include <port/include/wxlm_gdi.h>

#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "decoded_image: %s\n", what);
        std::abort();
    }
}

BYTE Channel(DWORD argb, int shift)
{
    return static_cast<BYTE>(argb >> shift);
}

// out is in (R, G, B, A bytes) with each colour scaled by alpha / 255, rounded down.
bool Premultiplies(DWORD out, const BYTE* in)
{
    const unsigned alpha = in[3];
    if (Channel(out, 24) != alpha)
        return false;
    for (int i = 0; i < 3; ++i) {
        const unsigned colour = Channel(out, 16 - 8 * i);
        if (colour * 255 > in[i] * alpha || in[i] * alpha >= (colour + 1) * 255)
            return false;
    }
    return true;
}

// A mask that an opaque image meets: its first pixel; else the skins' usual magenta.
Tarvo::UIColor MaskFor(const Tarvo::StbPixels& pixels)
{
    const BYTE* first = pixels.pRgba.get();
    if (first == nullptr || first[3] != 255)
        return 0xFFFF00FF;
    return Tarvo::MakeUIColor(255, first[0], first[1], first[2]);
}

void CheckDecoded(const Tarvo::StbPixels& pixels)
{
    Require(pixels.pRgba != nullptr, "decoded without pixels");
    Require(pixels.nWidth > 0 && pixels.nHeight > 0, "decoded size not positive");
    Require(pixels.nWidth <= Tarvo::StbPixels::MAX_SIDE && pixels.nHeight <= Tarvo::StbPixels::MAX_SIDE,
            "decoded side beyond the limit");
    Require(static_cast<long long>(pixels.nWidth) * pixels.nHeight <= Tarvo::StbPixels::MAX_PIXELS,
            "decoded area beyond the limit");
}

// Every pixel is the decoded one premultiplied, or cleared because that equals the mask.
void CheckBitmap(const Tarvo::UIImageInfo& image, const Tarvo::StbPixels& pixels, Tarvo::UIColor mask)
{
    Require(image.nWidth == pixels.nWidth && image.nHeight == pixels.nHeight, "image size is not the decoded size");
    int width = 0;
    int height = 0;
    const DWORD* out = wxlm_port::DibSectionPixels(image.hBitmap, &width, &height);
    Require(out != nullptr, "image without a DIB section");
    Require(width == pixels.nWidth && height == pixels.nHeight, "bitmap size is not the decoded size");
    const size_t count = static_cast<size_t>(width) * height;
    const BYTE* in = pixels.pRgba.get();
    bool alphaChannel = false;
    for (size_t i = 0; i < count; ++i, in += 4) {
        const DWORD pixel = out[i];
        const BYTE alpha = Channel(pixel, 24);
        Require(Channel(pixel, 16) <= alpha && Channel(pixel, 8) <= alpha && Channel(pixel, 0) <= alpha,
                "premultiplied colour above its alpha");
        const bool masked = pixel == 0 && Premultiplies(mask, in);
        Require(masked || Premultiplies(pixel, in), "pixel is neither premultiplied nor masked");
        alphaChannel = alphaChannel || masked || in[3] != 255;
    }
    Require(image.bAlphaChannel == alphaChannel, "alpha-channel flag does not match the pixels");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t gdiBefore = wxlm_port::LiveGdiObjects();
    Tarvo::StbPixels pixels;
    const bool decoded = Tarvo::DecodeStbImage(data, static_cast<DWORD>(size), pixels);
    if (decoded)
        CheckDecoded(pixels);
    const Tarvo::UIColor mask = MaskFor(pixels);
    wxlm_port::SetResource(L"PNG", MAKEINTRESOURCEW(201), data, static_cast<DWORD>(size));
    {
        const auto image = Tarvo::CSkinRender::LoadSkinImage(MAKEINTRESOURCEW(201), L"PNG", mask);
        Require((image != nullptr) == decoded, "loaded where the decoder failed, or the reverse");
        if (image != nullptr)
            CheckBitmap(*image, pixels, mask);
    }
    Require(wxlm_port::LiveGdiObjects() == gdiBefore, "a GDI object outlived its image");
    return 0;
}
