#include "core/ImageCache.h"

#include "ImageTestSupport.h"
#include "PngWriter.h"
#include "ScopedResourceSettings.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace Tarvo;
using namespace wxlmtest;

namespace {

class ImageCacheTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteFileBytes(m_dir / L"a.png", SamplePng()));
        ASSERT_TRUE(WriteFileBytes(m_dir / L"b.png", EncodePng(1, 1, {0x80FFFFFF})));
        CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
    }

    ScopedResourceSettings m_settings;
    TempDir m_dir;
    CImageCacheUI m_cache;
};

TEST_F(ImageCacheTest, TheFirstDeclarationOfANameIsKept)
{
    const UIImageInfo* first = m_cache.AddImage(L"a.png", nullptr, 0xFFFF00FF);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->dwMask, 0xFFFF00FFu);
    EXPECT_TRUE(first->sResourceType.IsEmpty());
    EXPECT_TRUE(first->bAlphaChannel);

    EXPECT_EQ(m_cache.AddImage(L"a.png", nullptr, 0), nullptr);
    EXPECT_EQ(m_cache.FindImage(L"a.png"), first);
    EXPECT_EQ(m_cache.FindOrAddImage(L"a.png", nullptr, 0), first);
    EXPECT_EQ(m_cache.FindImage(L"a.png")->dwMask, 0xFFFF00FFu) << "the mask of the first load stays";
    EXPECT_EQ(DibPixels(*first)[1], 0u);
    EXPECT_EQ(m_cache.GetImageCount(), 1);
}

TEST_F(ImageCacheTest, FindOrAddLoadsOnceAndLookupsAreCaseSensitive)
{
    EXPECT_EQ(m_cache.FindImage(L"b.png"), nullptr);
    const UIImageInfo* b = m_cache.FindOrAddImage(L"b.png");
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->bAlphaChannel);
    EXPECT_EQ(m_cache.FindOrAddImage(L"b.png"), b);
    EXPECT_EQ(m_cache.FindImage(L"B.PNG"), nullptr);
    EXPECT_EQ(m_cache.GetImageCount(), 1);

    EXPECT_EQ(m_cache.FindOrAddImage(L"missing.png"), nullptr);
    EXPECT_EQ(m_cache.AddImage(L""), nullptr);
    EXPECT_EQ(m_cache.AddImage(nullptr), nullptr);
    EXPECT_EQ(m_cache.GetImageCount(), 1) << "failed loads are not cached";
}

TEST_F(ImageCacheTest, AResourceImageIsNamedByItsDecimalId)
{
    ModuleWithResource module(m_dir.Path(), L"PNG", 201, SamplePng());
    ASSERT_NE(module.Get(), nullptr);
    CResourceSettingsUI::SetResourceInstance(module.Get());

    const UIImageInfo* byId = m_cache.AddImage(L"201", L"PNG");
    ASSERT_NE(byId, nullptr);
    EXPECT_STREQ(byId->sResourceType.GetData(), L"PNG");
    EXPECT_EQ(DibPixels(*byId), SamplePixels());
    EXPECT_NE(m_cache.AddImage(L"65737", L"PNG"), nullptr) << "65737 is 201 in 16 bits";
    EXPECT_EQ(m_cache.AddImage(L"x201", L"PNG"), nullptr);
    EXPECT_EQ(m_cache.AddImage(L"202", L"PNG"), nullptr);
}

TEST_F(ImageCacheTest, EmptyingTheCacheDeletesTheBitmaps)
{
    const HBITMAP a = m_cache.AddImage(L"a.png")->hBitmap;
    const HBITMAP b = m_cache.AddImage(L"b.png")->hBitmap;
    ASSERT_EQ(::GetObjectType(a), static_cast<DWORD>(OBJ_BITMAP));
    m_cache.RemoveAll();
    EXPECT_EQ(m_cache.GetImageCount(), 0);
    EXPECT_EQ(m_cache.FindImage(L"a.png"), nullptr);
    EXPECT_EQ(::GetObjectType(a), 0u);
    EXPECT_EQ(::GetObjectType(b), 0u);
}

} // namespace
