#include "ImageTestSupport.h"

#include "PngWriter.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

namespace wxlmtest {

std::vector<uint32_t> SamplePixels()
{
    return {0xFF102030, 0xFFFF00FF, 0xFF405060, 0xFF000000};
}

std::string SamplePng()
{
    return EncodePng(2, 2, SamplePixels());
}

std::vector<uint32_t> DibPixels(const Tarvo::UIImageInfo& image)
{
    DIBSECTION dib = {};
    if (image.hBitmap == nullptr || ::GetObjectW(image.hBitmap, sizeof dib, &dib) != sizeof dib) {
        ADD_FAILURE() << "not a DIB section";
        return {};
    }
    EXPECT_EQ(dib.dsBmih.biBitCount, 32);
    EXPECT_EQ(dib.dsBm.bmWidth, image.nWidth);
    EXPECT_EQ(dib.dsBm.bmHeight, image.nHeight);
    // GetObject reports the height as positive either way; the row order of the bits shows top-down.
    const auto* bits = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    return std::vector<uint32_t>(bits, bits + static_cast<size_t>(image.nWidth) * image.nHeight);
}

ModuleWithResource::ModuleWithResource(const std::wstring& folder, const wchar_t* type, WORD id,
                                       const std::string& bytes)
{
    const std::wstring path = folder + L"\\images.dll";
    if (!::CopyFileW(MainExePath().c_str(), path.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy wxlm_main.exe";
        return;
    }
    HANDLE update = ::BeginUpdateResourceW(path.c_str(), FALSE);
    if (update == nullptr) {
        ADD_FAILURE() << "BeginUpdateResourceW failed";
        return;
    }
    const BOOL added = ::UpdateResourceW(update, type, MAKEINTRESOURCEW(id), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                         const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    if (!::EndUpdateResourceW(update, !added) || !added) {
        ADD_FAILURE() << "UpdateResourceW failed";
        return;
    }
    m_hModule = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(m_hModule, nullptr);
}

ModuleWithResource::~ModuleWithResource()
{
    if (m_hModule != nullptr) {
        ::FreeLibrary(m_hModule);
    }
}

} // namespace wxlmtest
