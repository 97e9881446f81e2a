#include "BmpWriter.h"

#include <cstdint>

namespace wxlmtest {

std::string EncodeBmp(int width, int height, const std::function<DWORD(int, int)>& pixel)
{
    const int nStride = (width * 3 + 3) & ~3;
    const uint32_t nImage = static_cast<uint32_t>(nStride * height);
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + nImage;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = nImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int y = height - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(nStride), '\0');
        for (int x = 0; x < width; ++x) {
            const DWORD rgb = pixel(x, y);
            row[x * 3] = static_cast<char>(rgb & 0xFF);
            row[x * 3 + 1] = static_cast<char>((rgb >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>((rgb >> 16) & 0xFF);
        }
        bytes += row;
    }
    return bytes;
}

} // namespace wxlmtest
