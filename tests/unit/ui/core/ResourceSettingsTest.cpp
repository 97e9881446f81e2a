#include "core/ResourceSettings.h"
#include "core/SkinZip.h"

#include "ScopedResourceSettings.h"
#include "TestFiles.h"
#include "TestPaths.h"
#include "ZipTestData.h"
#include "ZipWriter.h"

#include <gtest/gtest.h>

using namespace Tarvo;
using namespace wxlmtest;

namespace {

class ResourceSettingsTest : public testing::Test {
protected:
    ScopedResourceSettings m_settings;
};

TEST_F(ResourceSettingsTest, ResourcePathEndsWithASeparator)
{
    const struct {
        const wchar_t* given;
        const wchar_t* stored;
    } cases[] = {
        {L"C:\\skin", L"C:\\skin\\"},
        {L"C:\\skin\\", L"C:\\skin\\"},
        {L"C:/skin/", L"C:/skin/"},
        {L"skin", L"skin\\"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        CResourceSettingsUI::SetResourcePath(c.given);
        EXPECT_STREQ(CResourceSettingsUI::ResourcePath().GetData(), c.stored) << Narrow(c.given);
    }
}

TEST_F(ResourceSettingsTest, ResourceModuleFallsBackToTheInstance)
{
    const HINSTANCE self = ::GetModuleHandleW(nullptr);
    const HINSTANCE kernel = ::GetModuleHandleW(L"kernel32.dll");
    EXPECT_EQ(CResourceSettingsUI::ResourceModule(), nullptr);
    CResourceSettingsUI::SetInstance(self);
    EXPECT_EQ(CResourceSettingsUI::Instance(), self);
    EXPECT_EQ(CResourceSettingsUI::ResourceModule(), self);
    CResourceSettingsUI::SetResourceInstance(kernel);
    EXPECT_EQ(CResourceSettingsUI::ResourceModule(), kernel);
    EXPECT_EQ(CResourceSettingsUI::Instance(), self);
}

// The launcher's own skin: "ZIPRES" 130 in wxlm_main.exe, read the way the running program reads it.
TEST_F(ResourceSettingsTest, TheLaunchersZipResourceOpensFromMemoryOnceAndIsReused)
{
    HMODULE module = ::LoadLibraryExW(MainExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    CResourceSettingsUI::SetInstance(module);
    EXPECT_EQ(CResourceSettingsUI::SetResourceZipFromResource(MAKEINTRESOURCEW(131)), ZipResourceMissing);

    ASSERT_EQ(CResourceSettingsUI::SetResourceZipFromResource(MAKEINTRESOURCEW(130)), ZipResourceOpened);
    EXPECT_STREQ(CResourceSettingsUI::ResourceZip().GetData(), L"membuffer");
    EXPECT_TRUE(CResourceSettingsUI::IsZipCached());
    CSkinZip* zip = CResourceSettingsUI::ZipHandle();
    ASSERT_NE(zip, nullptr);
    ASSERT_GT(zip->GetEntryCount(), 0);
    for (int i = 0; i < zip->GetEntryCount(); ++i) {
        DWORD code = 0;
        ExtractWhole(*zip, i, code);
        EXPECT_EQ(code, SKINZIP_OK) << "entry " << i;
    }

    const ZipImage other = BuildZip({Entry("other.xml", "x")});
    EXPECT_TRUE(CResourceSettingsUI::SetResourceZipMemory(other.bytes.data(), static_cast<DWORD>(other.bytes.size())));
    EXPECT_EQ(CResourceSettingsUI::ZipHandle(), zip) << "a second window reuses the archive of the first";

    CResourceSettingsUI::ReleaseZip();
    EXPECT_EQ(CResourceSettingsUI::ZipHandle(), nullptr);
    EXPECT_TRUE(CResourceSettingsUI::ResourceZip().IsEmpty());
    ::FreeLibrary(module);
}

// skin_probe.exe carries one "ZIPRES" resource of each kind.
TEST_F(ResourceSettingsTest, AZipResourceIsOpenedMissingOrUnreadable)
{
    HMODULE module = ::LoadLibraryExW(TestbedPath(L"skin_probe.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const struct {
        int id;
        UIZipResourceState state;
    } cases[] = {
        {999, ZipResourceMissing},    // no such resource
        {133, ZipResourceMissing},    // empty
        {132, ZipResourceUnreadable}, // not an archive, though it starts like one
        {136, ZipResourceUnreadable}, // an archive whose directory record is damaged
        {131, ZipResourceOpened},
    };
    for (const auto& c : cases) {
        ScopedResourceSettings::Reset();
        CResourceSettingsUI::SetResourceInstance(module);
        EXPECT_EQ(CResourceSettingsUI::SetResourceZipFromResource(MAKEINTRESOURCEW(c.id)), c.state) << c.id;
        EXPECT_EQ(CResourceSettingsUI::ZipHandle() != nullptr, c.state == ZipResourceOpened) << c.id;
        if (c.state == ZipResourceUnreadable) {
            EXPECT_EQ(CResourceSettingsUI::LastZipError(), SKINZIP_BADHEADER) << c.id;
        }
    }
    ScopedResourceSettings::Reset();
    ::FreeLibrary(module);
}

TEST_F(ResourceSettingsTest, AMemoryZipThatFailedToOpenIsTriedAgain)
{
    const std::string junk = "not a zip at all, but long enough to be searched";
    EXPECT_FALSE(CResourceSettingsUI::SetResourceZipMemory(junk.data(), static_cast<DWORD>(junk.size())));
    EXPECT_EQ(CResourceSettingsUI::ZipHandle(), nullptr);
    EXPECT_EQ(CResourceSettingsUI::LastZipError(), SKINZIP_BADHEADER);

    const ZipImage good = BuildZip({Entry("a.xml", "<a/>")});
    EXPECT_TRUE(CResourceSettingsUI::SetResourceZipMemory(good.bytes.data(), static_cast<DWORD>(good.bytes.size())));
    ASSERT_NE(CResourceSettingsUI::ZipHandle(), nullptr);
    EXPECT_EQ(CResourceSettingsUI::ZipHandle()->GetEntryCount(), 1);
}

TEST_F(ResourceSettingsTest, ACachedZipFileStaysOpenUntilAnotherNameIsSet)
{
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir / L"one.zip", BuildZip({Entry("one.xml", "1")}).bytes));
    ASSERT_TRUE(WriteFileBytes(dir / L"two.zip", BuildZip({Entry("two.xml", "2")}).bytes));
    CResourceSettingsUI::SetResourcePath(dir.Path().c_str());

    CResourceSettingsUI::SetResourceZip(L"one.zip", true);
    CSkinZip* first = CResourceSettingsUI::ZipHandle();
    ASSERT_NE(first, nullptr);
    CResourceSettingsUI::SetResourceZip(L"one.zip", true);
    EXPECT_EQ(CResourceSettingsUI::ZipHandle(), first);

    CResourceSettingsUI::SetResourceZip(L"two.zip", true);
    ASSERT_NE(CResourceSettingsUI::ZipHandle(), nullptr);
    int index = -1;
    SkinZipEntry entry;
    EXPECT_EQ(CResourceSettingsUI::ZipHandle()->FindEntry(L"two.xml", index, entry), SKINZIP_OK);

    CResourceSettingsUI::SetResourceZip(L"missing.zip", true);
    EXPECT_EQ(CResourceSettingsUI::ZipHandle(), nullptr);
    EXPECT_TRUE(CResourceSettingsUI::IsZipCached());
    EXPECT_EQ(CResourceSettingsUI::LastZipError(), SKINZIP_NOFILE);

    CResourceSettingsUI::SetResourceZip(L"one.zip");
    EXPECT_FALSE(CResourceSettingsUI::IsZipCached());
    EXPECT_EQ(CResourceSettingsUI::ZipHandle(), nullptr);
    EXPECT_STREQ(CResourceSettingsUI::ResourceZip().GetData(), L"one.zip");
}

} // namespace
