#include "core/SkinXml.h"

#include "ScopedResourceSettings.h"
#include "TestFiles.h"
#include "ZipWriter.h"

#include <gtest/gtest.h>

using namespace Tarvo;
using namespace wxlmtest;

namespace {

constexpr size_t kLimit = 4194304;

// A well-formed document of exactly the given size.
std::string DocumentOfSize(size_t size)
{
    const std::string head = "<Window size=\"960,620\">";
    const std::string tail = "<Label text=\"end\"/></Window>";
    return head + std::string(size - head.size() - tail.size(), 'x') + tail;
}

const std::string kWindow = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?><Window caption=\"0,0,0,30\"/>";

struct FileCase {
    const wchar_t* name;
    const wchar_t* message; // empty: loads, with a root element "Window"
};

// The same names lie in the resource folder and in the zip, so both sources answer the same way.
const FileCase kSharedCases[] = {
    {L"GameLoader.xml", L""},
    {L"Exact.xml", L""},
    {L"Over.xml", L"File too large"},
    {L"Empty.xml", L"File is empty"},
};

class SkinXmlFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        const std::vector<std::pair<std::string, std::string>> files = {
            {"GameLoader.xml", kWindow},
            {"Exact.xml", DocumentOfSize(kLimit)},
            {"Over.xml", DocumentOfSize(kLimit + 1)},
            {"Empty.xml", ""},
        };
        ASSERT_TRUE(::CreateDirectoryW((m_dir / L"skin").c_str(), nullptr));
        std::vector<ZipItem> items;
        for (const auto& [name, data] : files) {
            ASSERT_TRUE(WriteFileBytes(m_dir / (L"skin\\" + Widen(name)), data));
            items.push_back(Entry("Skin/" + name, data, true));
        }
        items.push_back(Entry("Skin/Broken.xml", kWindow, true));
        items.back().crc = 0xBAD;
        m_zip = BuildZip(items).bytes;
        ASSERT_TRUE(WriteFileBytes(m_dir / L"skin.zip", m_zip));
        CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
    }

    void Expect(const wchar_t* name, const wchar_t* message)
    {
        CSkinXml xml;
        ASSERT_TRUE(xml.LoadFromString(L"<Old/>"));
        const bool loaded = xml.LoadFromFile(name);
        EXPECT_EQ(loaded, message[0] == L'\0') << Narrow(name);
        EXPECT_STREQ(xml.ErrorMessage(), message) << Narrow(name);
        EXPECT_STREQ(xml.ErrorLocation(), L"") << Narrow(name);
        EXPECT_EQ(xml.IsValid(), loaded) << "nothing of the old document stays";
        if (loaded) {
            EXPECT_STREQ(xml.Root().Name(), L"Window") << Narrow(name);
        }
    }

    ScopedResourceSettings m_settings;
    TempDir m_dir;
    std::string m_zip;
};

TEST_F(SkinXmlFileTest, ReadsFromTheResourceFolder)
{
    for (const FileCase& c : kSharedCases) {
        Expect((L"skin\\" + std::wstring(c.name)).c_str(), c.message);
    }
    Expect(L"skin\\Missing.xml", L"Error opening file");
    Expect(L"skin", L"Error opening file");
}

TEST_F(SkinXmlFileTest, ReadsFromAZipFileOpenedForEachLoad)
{
    CResourceSettingsUI::SetResourceZip(L"skin.zip");
    for (const FileCase& c : kSharedCases) {
        Expect((L"SKIN\\" + std::wstring(c.name)).c_str(), c.message);
    }
    Expect(L"skin/Missing.xml", L"Could not find ziped file");
    Expect(L"skin/Broken.xml", L"Could not unzip file");
    EXPECT_TRUE(::DeleteFileW((m_dir / L"skin.zip").c_str())) << "an archive opened for one load is closed again";
    Expect(L"skin/GameLoader.xml", L"Error opening zip file");
}

TEST_F(SkinXmlFileTest, ReadsFromACachedZipFileOrAZipInMemory)
{
    CResourceSettingsUI::SetResourceZip(L"skin.zip", true);
    Expect(L"skin/gameloader.xml", L"");
    Expect(L"skin/Over.xml", L"File too large");
    CResourceSettingsUI::SetResourceZip(L"missing.zip", true);
    Expect(L"skin/GameLoader.xml", L"Error opening zip file");

    CResourceSettingsUI::ReleaseZip();
    ASSERT_TRUE(CResourceSettingsUI::SetResourceZipMemory(m_zip.data(), static_cast<DWORD>(m_zip.size())));
    for (const FileCase& c : kSharedCases) {
        Expect((L"skin/" + std::wstring(c.name)).c_str(), c.message);
    }
    Expect(L"skin/Broken.xml", L"Could not unzip file");
}

} // namespace
