#include "ListGuiSupport.h"

#include "TestFiles.h"

#include <cstring>

namespace guitest {

bool SaveBackBuffer(CWindowManagerUI& manager, const std::wstring& path)
{
    const HDC hDC = manager.OffscreenDC();
    const auto hBitmap = static_cast<HBITMAP>(::GetCurrentObject(hDC, OBJ_BITMAP));
    BITMAP bitmap = {};
    if (hDC == nullptr || hBitmap == nullptr || ::GetObjectW(hBitmap, sizeof(bitmap), &bitmap) == 0) {
        return false;
    }
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = bitmap.bmWidth;
    info.biHeight = bitmap.bmHeight; // bottom-up, as a BMP file stores it
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const size_t nPixels = static_cast<size_t>(bitmap.bmWidth) * static_cast<size_t>(bitmap.bmHeight);
    std::string pixels(nPixels * 4, '\0');
    if (::GetDIBits(hDC, hBitmap, 0, static_cast<UINT>(bitmap.bmHeight), pixels.data(),
                    reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == 0) {
        return false;
    }
    for (size_t i = 0; i < nPixels; ++i) {
        pixels[i * 4 + 3] = static_cast<char>(0xFF);
    }
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::string bytes(sizeof(file) + sizeof(info), '\0');
    std::memcpy(bytes.data(), &file, sizeof(file));
    std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
    return wxlmtest::WriteFileBytes(path, bytes + pixels);
}

} // namespace guitest
