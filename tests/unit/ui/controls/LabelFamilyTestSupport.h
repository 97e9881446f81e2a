#pragma once

// Fixtures for the label family's tests without a window: a windowless manager whose resource
// folder is a fresh temp folder of generated images, and a canvas to paint into.

#include "ControlTestSupport.h"
#include "TestFiles.h"
#include "core/DibSection.h"
#include "core/ResourceSettings.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

namespace controltest {

// A 24-bit bottom-up BMP of pixel(x, y) (0xRRGGBB); the image loader reads it as opaque.
inline std::string EncodeBmp(int width, int height, const std::function<DWORD(int, int)>& pixel)
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

// A windowless manager reading images from a temp folder, and a canvas of the given size.
constexpr DWORD kCanvasFill = 0x0A0B0C;

class SkinCanvasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
        manager.AddListener(&notifications);
    }
    void TearDown() override
    {
        manager.RemoveListener(&notifications);
        CResourceSettingsUI::SetResourcePath(L"");
    }

    void WriteSolidImage(const wchar_t* pstrName, DWORD rgb, int width = 4, int height = 4)
    {
        WriteImage(pstrName, width, height, [rgb](int, int) { return rgb; });
    }
    void WriteImage(const wchar_t* pstrName, int width, int height, const std::function<DWORD(int, int)>& pixel)
    {
        ASSERT_TRUE(wxlmtest::WriteFileBytes(m_dir / pstrName, EncodeBmp(width, height, pixel)));
    }

    bool MakeCanvas(int width, int height)
    {
        if (!canvas.Create(width, height)) {
            return false;
        }
        std::fill_n(canvas.Bits(), width * height, 0xFF000000 | kCanvasFill);
        return true;
    }
    void Paint(CControlUI& control) { control.Paint(canvas.DC(), RECT{0, 0, canvas.Width(), canvas.Height()}); }
    DWORD Rgb(int x, int y)
    {
        ::GdiFlush();
        return canvas.At(x, y) & 0xFFFFFF;
    }
    // Every canvas pixel outside rc still has the fill.
    bool UntouchedOutside(const RECT& rc)
    {
        ::GdiFlush();
        for (int y = 0; y < canvas.Height(); ++y) {
            for (int x = 0; x < canvas.Width(); ++x) {
                const POINT pt = {x, y};
                if (!::PtInRect(&rc, pt) && (canvas.At(x, y) & 0xFFFFFF) != kCanvasFill) {
                    return false;
                }
            }
        }
        return true;
    }

    wxlmtest::TempDir m_dir;
    NotificationLog notifications;
    CWindowManagerUI manager;
    CDibSectionUI canvas;
};

} // namespace controltest
