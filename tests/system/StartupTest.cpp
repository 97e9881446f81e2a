#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "ChildProcess.h"
#include "TestPaths.h"

using namespace wxlmtest;

namespace {

// A loaded image of wxlm_main.exe as data, for reading its resources.
class ExeResources {
public:
    ExeResources() : m_hModule(LoadLibraryExW(MainExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ExeResources()
    {
        if (m_hModule)
            FreeLibrary(m_hModule);
    }
    HMODULE Module() const { return m_hModule; }
    std::string Bytes(const wchar_t* type, int id) const
    {
        HRSRC info = FindResourceW(m_hModule, MAKEINTRESOURCEW(id), type);
        HGLOBAL data = info ? LoadResource(m_hModule, info) : nullptr;
        if (!data)
            return {};
        return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(m_hModule, info));
    }

private:
    HMODULE m_hModule;
};

uint32_t Le32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

uint16_t Le16(const std::string& bytes, size_t at)
{
    uint16_t value = 0;
    std::memcpy(&value, bytes.data() + at, 2);
    return value;
}

}  // namespace

TEST(Startup, CarriesIconAndSkinZipResources)
{
    ExeResources exe;
    ASSERT_TRUE(exe.Module());
    EXPECT_TRUE(FindResourceW(exe.Module(), MAKEINTRESOURCEW(107), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */));
    const std::string zip = exe.Bytes(L"ZIPRES", 130);
    ASSERT_GE(zip.size(), 22u + 30u);
    EXPECT_EQ(Le32(zip, 0), 0x04034b50u) << "a local file header first";

    // End-of-central-directory record: entry count and a central directory inside the data.
    const size_t eocd = zip.rfind(std::string("PK\x05\x06", 4));
    ASSERT_NE(eocd, std::string::npos);
    const uint16_t entries = Le16(zip, eocd + 10);
    const uint32_t cdSize = Le32(zip, eocd + 12);
    const uint32_t cdOffset = Le32(zip, eocd + 16);
    EXPECT_GT(entries, 0);
    EXPECT_EQ(cdOffset + cdSize, eocd);
    size_t at = cdOffset;
    for (int i = 0; i < entries; ++i) {
        ASSERT_EQ(Le32(zip, at), 0x02014b50u) << "central entry " << i;
        const uint16_t method = Le16(zip, at + 10);
        EXPECT_TRUE(method == 0 || method == 8);
        at += 46 + Le16(zip, at + 28) + Le16(zip, at + 30) + Le16(zip, at + 32);
    }
    EXPECT_EQ(at, eocd);
}
