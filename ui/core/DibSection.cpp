#include "core/DibSection.h"

namespace Tarvo {

CDibSectionUI::~CDibSectionUI()
{
    Destroy();
}

bool CDibSectionUI::Create(int width, int height, HDC hCompatibleDC)
{
    Destroy();
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hBitmap = ::CreateDIBSection(hCompatibleDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    m_hDC = ::CreateCompatibleDC(hCompatibleDC);
    if (m_hBitmap == nullptr || m_hDC == nullptr || pBits == nullptr) {
        Destroy();
        return false;
    }
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    m_pBits = static_cast<DWORD*>(pBits);
    m_nWidth = width;
    m_nHeight = height;
    return true;
}

void CDibSectionUI::Destroy()
{
    if (m_hDC != nullptr) {
        if (m_hOldBitmap != nullptr) {
            ::SelectObject(m_hDC, m_hOldBitmap);
        }
        ::DeleteDC(m_hDC);
    }
    if (m_hBitmap != nullptr) {
        ::DeleteObject(m_hBitmap);
    }
    m_hDC = nullptr;
    m_hBitmap = nullptr;
    m_hOldBitmap = nullptr;
    m_pBits = nullptr;
    m_nWidth = 0;
    m_nHeight = 0;
}

} // namespace Tarvo
