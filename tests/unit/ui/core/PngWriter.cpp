#include "PngWriter.h"

#include <zlib.h>

namespace wxlmtest {

namespace {

void AddBe32(std::string& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

void AddChunk(std::string& out, const char* type, const std::string& data)
{
    AddBe32(out, static_cast<uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    out += body;
    AddBe32(out, static_cast<uint32_t>(
                     crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

} // namespace

std::string EncodePng(int width, int height, const std::vector<uint32_t>& argb)
{
    std::string header;
    AddBe32(header, static_cast<uint32_t>(width));
    AddBe32(header, static_cast<uint32_t>(height));
    header += std::string("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, no filter, no interlace

    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back('\0'); // filter: none
        for (int x = 0; x < width; ++x) {
            const uint32_t p = argb[static_cast<size_t>(y) * width + x];
            raw.push_back(static_cast<char>((p >> 16) & 0xFF));
            raw.push_back(static_cast<char>((p >> 8) & 0xFF));
            raw.push_back(static_cast<char>(p & 0xFF));
            raw.push_back(static_cast<char>(p >> 24));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    AddChunk(png, "IHDR", header);
    AddChunk(png, "IDAT", packed);
    AddChunk(png, "IEND", "");
    return png;
}

} // namespace wxlmtest
