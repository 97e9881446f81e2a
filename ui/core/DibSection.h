#pragma once

#include <windows.h>

namespace Tarvo {

// A 32-bit top-down DIB section selected into its own memory DC, for drawing that needs to
// reach the pixels (blending, shadows, layered windows).
class CDibSectionUI {
public:
    CDibSectionUI() = default;
    ~CDibSectionUI();
    CDibSectionUI(const CDibSectionUI&) = delete;
    CDibSectionUI& operator=(const CDibSectionUI&) = delete;

    // False (and nothing held) when the size is not positive or GDI refuses.
    bool Create(int width, int height, HDC hCompatibleDC = nullptr);
    void Destroy();

    HDC DC() const { return m_hDC; }
    HBITMAP Bitmap() const { return m_hBitmap; }
    DWORD* Bits() const { return m_pBits; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    DWORD& At(int x, int y) const { return m_pBits[y * m_nWidth + x]; }

private:
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    DWORD* m_pBits = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
};

} // namespace Tarvo
