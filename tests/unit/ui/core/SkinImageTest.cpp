#include "core/SkinRender.h"

#include "BmpWriter.h"
#include "ImageTestSupport.h"
#include "PngWriter.h"
#include "ScopedResourceSettings.h"
#include "TestFiles.h"
#include "TestPaths.h"
#include "ZipWriter.h"

#include <gtest/gtest.h>

using namespace Tarvo;
using namespace wxlmtest;

namespace {

struct PixelCase {
    const char* label;
    std::vector<uint32_t> source;
    UIColor mask;
    std::vector<uint32_t> expected;
    bool alphaChannel;
};

class SkinImagePixelTest : public testing::TestWithParam<PixelCase> {
protected:
    ScopedResourceSettings m_settings;
    TempDir m_dir;
};

TEST_P(SkinImagePixelTest, PremultipliesAndMasks)
{
    const PixelCase& c = GetParam();
    ASSERT_TRUE(WriteFileBytes(m_dir / L"image.png", EncodePng(2, 2, c.source)));
    CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
    const auto image = CSkinRender::LoadSkinImage(L"image.png", nullptr, c.mask);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nWidth, 2);
    EXPECT_EQ(image->nHeight, 2);
    EXPECT_EQ(image->bAlphaChannel, c.alphaChannel);
    EXPECT_EQ(DibPixels(*image), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pixels, SkinImagePixelTest,
    testing::Values(PixelCase{"AllOpaque", SamplePixels(), 0, SamplePixels(), false},
                    PixelCase{"OneSemiTransparentPixel",
                              {0xFF102030, 0x80FF8040, 0xFF405060, 0xFF000000},
                              0,
                              {0xFF102030, 0x80804020, 0xFF405060, 0xFF000000},
                              true},
                    PixelCase{"FullyTransparentPixel",
                              {0xFF102030, 0x00FFFFFF, 0xFF405060, 0xFF000000},
                              0,
                              {0xFF102030, 0x00000000, 0xFF405060, 0xFF000000},
                              true},
                    PixelCase{
                        "OpaqueMagentaMask", SamplePixels(), 0xFFFF00FF, {0xFF102030, 0, 0xFF405060, 0xFF000000}, true},
                    PixelCase{"SixDigitMaskMatchesNoOpaquePixel", SamplePixels(), 0x00FF00FF, SamplePixels(), false},
                    PixelCase{"MaskComparedAfterPremultiplying",
                              {0xFF102030, 0x80FF00FF, 0xFF405060, 0xFF000000},
                              0x80800080,
                              {0xFF102030, 0x00000000, 0xFF405060, 0xFF000000},
                              true}),
    [](const auto& info) { return std::string(info.param.label); });

class SkinImageSourceTest : public testing::Test {
protected:
    void LoadsSample(const wchar_t* name)
    {
        const auto image = CSkinRender::LoadSkinImage(name, nullptr, 0);
        ASSERT_NE(image, nullptr) << Narrow(name);
        EXPECT_EQ(DibPixels(*image), SamplePixels()) << Narrow(name);
    }
    void WriteSkinZip(const std::wstring& path)
    {
        m_zip = BuildZip({Entry("img/Sample.png", SamplePng(), true)}).bytes;
        ASSERT_TRUE(WriteFileBytes(path, m_zip));
    }

    ScopedResourceSettings m_settings;
    TempDir m_dir;
    std::string m_zip;
};

TEST_F(SkinImageSourceTest, ReadsFromTheResourceFolderAZipFileAndAZipInMemory)
{
    ASSERT_TRUE(::CreateDirectoryW((m_dir / L"img").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"img\\Sample.png", SamplePng()));
    CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
    LoadsSample(L"img\\Sample.png");

    WriteSkinZip(m_dir / L"skin.zip");
    ::DeleteFileW((m_dir / L"img\\Sample.png").c_str());
    CResourceSettingsUI::SetResourceZip(L"skin.zip");
    LoadsSample(L"img\\sample.PNG");
    CResourceSettingsUI::SetResourceZip(L"skin.zip", true);
    LoadsSample(L"img/Sample.png");
    CResourceSettingsUI::ReleaseZip();
    ASSERT_TRUE(CResourceSettingsUI::SetResourceZipMemory(m_zip.data(), static_cast<DWORD>(m_zip.size())));
    LoadsSample(L"IMG\\SAMPLE.PNG");
}

TEST_F(SkinImageSourceTest, AnAbsolutePathIsFoundWithoutAZipAndWhenTheZipLacksIt)
{
    ASSERT_TRUE(WriteFileBytes(m_dir / L"outside.png", SamplePng()));
    LoadsSample((m_dir / L"outside.png").c_str());

    TempDir skin;
    CResourceSettingsUI::SetResourcePath(skin.Path().c_str());
    LoadsSample((m_dir / L"outside.png").c_str());

    WriteSkinZip(skin / L"skin.zip");
    CResourceSettingsUI::SetResourceZip(L"skin.zip", true);
    LoadsSample((m_dir / L"outside.png").c_str());
}

TEST_F(SkinImageSourceTest, WhatDoesNotDecodeGivesNull)
{
    const std::string png = SamplePng();
    ASSERT_TRUE(WriteFileBytes(m_dir / L"text.png", "this is no picture"));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"cut.png", png.substr(0, png.size() / 2)));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"empty.png", ""));
    CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
    for (const wchar_t* name : {L"missing.png", L"text.png", L"cut.png", L"empty.png"}) {
        EXPECT_EQ(CSkinRender::LoadSkinImage(name, nullptr, 0), nullptr) << Narrow(name);
    }
    EXPECT_EQ(CSkinRender::LoadSkinImage(nullptr, nullptr, 0), nullptr);
}

TEST_F(SkinImageSourceTest, ReadsAResourceOfTheResourceModule)
{
    ModuleWithResource module(m_dir.Path(), L"PNG", 201, SamplePng());
    ASSERT_NE(module.Get(), nullptr);
    CResourceSettingsUI::SetResourceInstance(module.Get());
    const auto image = CSkinRender::LoadSkinImage(MAKEINTRESOURCEW(201), L"PNG", 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(DibPixels(*image), SamplePixels());
    EXPECT_EQ(CSkinRender::LoadSkinImage(MAKEINTRESOURCEW(202), L"PNG", 0), nullptr);
    EXPECT_EQ(CSkinRender::LoadSkinImage(MAKEINTRESOURCEW(130), L"ZIPRES", 0), nullptr) << "a zip is no image";
}

std::string GreyBmp(int nWidth, int nHeight)
{
    return EncodeBmp(nWidth, nHeight, [](int, int) -> DWORD { return 0x808080; });
}

// A whole 1 by 1 BMP whose header claims another size: the data holds one pixel.
std::string BmpClaiming(LONG nWidth, LONG nHeight)
{
    std::string bytes = GreyBmp(1, 1);
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(&bytes[sizeof(BITMAPFILEHEADER)]);
    info->biWidth = nWidth;
    info->biHeight = nHeight;
    return bytes;
}

void AppendLittle16(std::string& bytes, unsigned value)
{
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
}

void AppendBig(std::string& bytes, unsigned value, int nBytes)
{
    for (int i = nBytes - 1; i >= 0; --i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// A 24-bit TGA (type 2 raw, 10 run-length) and its pixel data as given.
std::string Tga(int nWidth, int nHeight, int nType, const std::string& data)
{
    std::string bytes(2, '\0');
    bytes += static_cast<char>(nType);
    bytes += std::string(9, '\0');
    AppendLittle16(bytes, nWidth);
    AppendLittle16(bytes, nHeight);
    bytes += std::string("\x18\x20", 2); // 24 bits, top-down
    return bytes + data;
}

// Run-length packets of 128 grey pixels each (header byte 0xFF, one pixel).
std::string GreyRuns(int nPackets)
{
    std::string data;
    for (int i = 0; i < nPackets; ++i) {
        data += std::string("\xFF\x80\x80\x80", 4);
    }
    return data;
}

// An 8-bit RGB PSD without compression and its channel data as given.
std::string Psd(int nWidth, int nHeight, const std::string& data)
{
    std::string bytes = "8BPS";
    AppendBig(bytes, 1, 2);
    bytes += std::string(6, '\0');
    AppendBig(bytes, 3, 2); // channels
    AppendBig(bytes, nHeight, 4);
    AppendBig(bytes, nWidth, 4);
    AppendBig(bytes, 8, 2); // bits per channel
    AppendBig(bytes, 3, 2); // RGB
    bytes += std::string(12, '\0'); // no colour mode data, image resources, layers
    AppendBig(bytes, 0, 2);          // raw
    return bytes + data;
}

struct SizeCase {
    const char* label;
    std::string bytes;
    bool decodes;
};

class SkinImageSizeTest : public testing::TestWithParam<SizeCase> {
protected:
    ScopedResourceSettings m_settings;
    TempDir m_dir;
};

// A few header bytes claim any size, and the decoder fills missing data with zeros.
TEST_P(SkinImageSizeTest, RefusesImagesBeyondTheSizeLimits)
{
    const SizeCase& c = GetParam();
    ASSERT_TRUE(WriteFileBytes(m_dir / L"image.bmp", c.bytes));
    CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
    const auto image = CSkinRender::LoadSkinImage(L"image.bmp", nullptr, 0);
    EXPECT_EQ(image != nullptr, c.decodes);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SkinImageSizeTest,
                         testing::Values(SizeCase{"WidestAllowed", GreyBmp(16384, 1), true},
                                         SizeCase{"TallestAllowed", GreyBmp(1, 16384), true},
                                         SizeCase{"OneWiderThanAllowed", GreyBmp(16385, 1), false},
                                         SizeCase{"SidesAllowedButAreaNot", BmpClaiming(4097, 4096), false},
                                         SizeCase{"ClaimOf30000Square", BmpClaiming(30000, 30000), false},
                                         SizeCase{"BmpShortOfItsPixels", BmpClaiming(4096, 4096), false},
                                         SizeCase{"WholeRawTga", Tga(2, 2, 2, std::string(12, '\x40')), true},
                                         SizeCase{"RawTgaShortOfItsPixels", Tga(4000, 4000, 2, ""), false},
                                         SizeCase{"RunLengthTgaOfLongestRuns", Tga(1000, 1000, 10, GreyRuns(7813)), true},
                                         SizeCase{"RunLengthTgaShortOfItsRuns", Tga(1000, 1000, 10, GreyRuns(3900)), false},
                                         SizeCase{"WholePsd", Psd(2, 2, std::string(12, '\x40')), true},
                                         SizeCase{"PsdShortOfItsPixels", Psd(4000, 4000, ""), false}),
                         [](const auto& info) { return std::string(info.param.label); });

// Found by the decoded-image fuzz harness: the decoder wrote past a Huffman table, read a
// quantisation table that no DQT segment had set (the pixels were whatever the heap held), and
// asked for 2 GB for an IDAT chunk longer than the file; it read past a 16-bit PNM it converted;
// a PNM header number of ten digits or more overflowed its int (found by the 32-bit build).
TEST_F(SkinImageSourceTest, DamagedImagesAreRefusedOrDecodedToFixedPixels)
{
    const std::wstring fuzz = SourceDir() + L"\\fuzz\\";
    const auto tooManyCodes = ReadFileBytes(fuzz + L"regressions\\decoded_image\\jpeg-huffman-counts-over-256.jpg");
    const auto noTable = ReadFileBytes(fuzz + L"regressions\\decoded_image\\jpeg-without-quantisation-table.jpg");
    const auto longChunk = ReadFileBytes(fuzz + L"regressions\\decoded_image\\png-idat-length-beyond-the-file.png");
    const auto wide = ReadFileBytes(fuzz + L"regressions\\decoded_image\\pnm-16-bit.ppm");
    const auto longNumber = ReadFileBytes(fuzz + L"regressions\\decoded_image\\pnm-width-beyond-int.ppm");
    const auto plainPnm = ReadFileBytes(fuzz + L"corpus\\decoded_image\\pnm_p6.ppm");
    const auto good = ReadFileBytes(fuzz + L"corpus\\decoded_image\\jpeg_baseline.jpg");
    ASSERT_TRUE(tooManyCodes && noTable && longChunk && wide && good && longNumber && plainPnm);
    ASSERT_TRUE(WriteFileBytes(m_dir / L"number.ppm", *longNumber));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"plain.ppm", *plainPnm));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"codes.jpg", *tooManyCodes));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"table.jpg", *noTable));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"chunk.png", *longChunk));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"wide.ppm", *wide));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"good.jpg", *good));
    CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
    EXPECT_EQ(CSkinRender::LoadSkinImage(L"wide.ppm", nullptr, 0), nullptr);
    EXPECT_EQ(CSkinRender::LoadSkinImage(L"number.ppm", nullptr, 0), nullptr);
    EXPECT_NE(CSkinRender::LoadSkinImage(L"plain.ppm", nullptr, 0), nullptr) << "a PNM of 8 bits still loads";
    EXPECT_EQ(CSkinRender::LoadSkinImage(L"codes.jpg", nullptr, 0), nullptr);
    EXPECT_EQ(CSkinRender::LoadSkinImage(L"chunk.png", nullptr, 0), nullptr);
    const auto grey = CSkinRender::LoadSkinImage(L"table.jpg", nullptr, 0);
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(DibPixels(*grey), std::vector<uint32_t>(64, 0xFF808080)) << "no coefficients without a table";
    const auto image = CSkinRender::LoadSkinImage(L"good.jpg", nullptr, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nWidth, 8);
    EXPECT_EQ(image->nHeight, 8);
}

// An 8-bit BMP of one row with the given palette (blue, green, red, 0 per entry) and indices.
std::string PaletteBmp(const std::string& palette, const std::string& indices)
{
    const std::string row = indices + std::string((4 - indices.size() % 4) % 4, '\0');
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = static_cast<DWORD>(sizeof(file) + sizeof(info) + palette.size());
    file.bfSize = static_cast<DWORD>(file.bfOffBits + row.size());
    info.biSize = sizeof(info);
    info.biWidth = static_cast<LONG>(indices.size());
    info.biHeight = 1;
    info.biPlanes = 1;
    info.biBitCount = 8;
    info.biClrUsed = static_cast<DWORD>(palette.size() / 4);
    return std::string(reinterpret_cast<const char*>(&file), sizeof(file)) +
           std::string(reinterpret_cast<const char*>(&info), sizeof(info)) + palette + row;
}

// Found by the decoded-image fuzz harness: indices past a short palette took their colour from
// the decoder's uninitialised table, so they showed what an earlier image had left there.
TEST_F(SkinImageSourceTest, IndicesPastAShortPaletteAreBlack)
{
    std::string white;
    for (int i = 0; i < 256; ++i) {
        white += std::string("\xFF\xFF\xFF\x00", 4);
    }
    const std::string fullPalette = PaletteBmp(white, std::string("\xC8\x00", 2));
    const std::string shortPalette = PaletteBmp(std::string("\x00\x00\xFF\x00", 4), std::string("\x00\xC8", 2));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"full.bmp", fullPalette));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"short.bmp", shortPalette));
    CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
    const auto full = CSkinRender::LoadSkinImage(L"full.bmp", nullptr, 0);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(DibPixels(*full), std::vector<uint32_t>(2, 0xFFFFFFFF));
    const auto partial = CSkinRender::LoadSkinImage(L"short.bmp", nullptr, 0);
    ASSERT_NE(partial, nullptr);
    EXPECT_EQ(DibPixels(*partial), (std::vector<uint32_t>{0xFFFF0000, 0xFF000000}));
}

// An empty IDAT chunk is allowed anywhere among the others; before the first real one the
// decoder copied it from a buffer it did not have yet (found by the decoded-image harness).
TEST_F(SkinImageSourceTest, AnEmptyFirstDataChunkChangesNothing)
{
    const std::string png = SamplePng();
    const size_t idat = png.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    const std::string emptyChunk("\x00\x00\x00\x00IDAT\x35\xAF\x06\x1E", 12);
    const std::string withEmpty = png.substr(0, idat - 4) + emptyChunk + png.substr(idat - 4);
    ASSERT_TRUE(WriteFileBytes(m_dir / L"plain.png", png));
    ASSERT_TRUE(WriteFileBytes(m_dir / L"empty.png", withEmpty));
    CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
    const auto plain = CSkinRender::LoadSkinImage(L"plain.png", nullptr, 0);
    const auto empty = CSkinRender::LoadSkinImage(L"empty.png", nullptr, 0);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(DibPixels(*empty), DibPixels(*plain));
}

// Huffman counts over 256 are refused where the decoder reads them as a table (a DHT segment
// before the scan, or a marker in or after the scan data), not inside another segment's payload.
TEST_F(SkinImageSourceTest, AHuffmanTableIsCheckedWhereTheDecoderReadsOne)
{
    const auto good = ReadFileBytes(SourceDir() + L"\\fuzz\\corpus\\decoded_image\\jpeg_baseline.jpg");
    ASSERT_TRUE(good && good->size() > 4);
    // FF C4, length 0x13, class 0 id 0, then sixteen counts adding up to 16 × 255.
    std::string badTable = "\xFF\xC4";
    badTable += std::string("\x00\x13\x00", 3) + std::string(16, '\xFF');
    const std::string app = std::string("\xFF\xE1\x00", 3) + static_cast<char>(2 + badTable.size()) + badTable;
    struct Case {
        const wchar_t* name;
        std::string bytes;
        bool decodes;
    };
    const std::string& bytes = *good;
    const Case cases[] = {
        {L"in-app.jpg", bytes.substr(0, 2) + app + bytes.substr(2), true},
        {L"as-segment.jpg", bytes.substr(0, 2) + badTable + bytes.substr(2), false},
        {L"after-scan.jpg", bytes.substr(0, bytes.size() - 2) + badTable + bytes.substr(bytes.size() - 2), false},
    };
    CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileBytes(m_dir / c.name, c.bytes));
        const auto image = CSkinRender::LoadSkinImage(c.name, nullptr, 0);
        EXPECT_EQ(image != nullptr, c.decodes) << c.name;
        if (image != nullptr) {
            EXPECT_EQ(image->nWidth, 8) << c.name;
        }
    }
}

} // namespace
