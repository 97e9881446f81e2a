#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "RegistryText.h"

namespace {

std::vector<BYTE> Bytes(std::initializer_list<int> values)
{
    return std::vector<BYTE>(values.begin(), values.end());
}

} // namespace

TEST(RegistryTextTest, DataReadsAsTextUpToTheFirstTerminator)
{
    struct Case {
        DWORD type;
        std::vector<BYTE> data;
        std::wstring text;
    };
    const Case cases[] = {
        {REG_SZ, Bytes({'A', 0, 'b', 0, 0, 0}), L"Ab"},
        {REG_SZ, Bytes({'A', 0, 'b', 0}), L"Ab"}, // no terminator stored
        {REG_SZ, Bytes({'A', 0, 'b'}), L"Ab"},    // odd last byte: high half zero
        {REG_SZ, Bytes({'A', 0, 0}), L"A"},
        {REG_EXPAND_SZ, Bytes({'%', 0, 'x', 0, '%', 0, 0, 0}), L"%x%"}, // not expanded
        {REG_MULTI_SZ, Bytes({'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}), L"a"},
        {REG_SZ, Bytes({0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xD8, 0, 0}), std::wstring{0xD83D, 0xDE00, 0xD800}},
        {REG_SZ, Bytes({0xE9, 0x00, 0x34, 0x12}), std::wstring{0x00E9, 0x1234}},
        {REG_SZ, {}, L""},
        {REG_DWORD, Bytes({0x41, 0, 0x5C, 0}), L""},
        {REG_BINARY, Bytes({'A', 0, 0, 0}), L""},
        {REG_NONE, Bytes({'A', 0, 0, 0}), L""},
        {REG_QWORD, Bytes({'A', 0, 'B', 0, 'C', 0, 'D', 0}), L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RegistryTextFromData(c.type, c.data.data(), c.data.size()), c.text)
            << "type " << c.type << ", " << c.data.size() << " bytes";
    }
    EXPECT_EQ(RegistryTextFromData(REG_SZ, nullptr, 4), L"");
}

TEST(RegistryTextTest, TextWrittenReadsBackUnchanged)
{
    const std::wstring texts[] = {L"", L"C:\\Games\\wxlm\\wxlm_main.exe", std::wstring{0xD83D, 0xDE00, 0x00E9, 0xFFFF},
                                  std::wstring(259, L'x')};
    for (const std::wstring& text : texts) {
        const std::vector<BYTE> data = RegistryDataFromText(text);
        ASSERT_EQ(data.size(), (text.size() + 1) * 2);
        EXPECT_EQ(data[data.size() - 2], 0);
        EXPECT_EQ(data.back(), 0);
        // On Windows the data is exactly the text's own UTF-16 units.
        EXPECT_EQ(0, memcmp(data.data(), text.c_str(), data.size()));
        EXPECT_EQ(RegistryTextFromData(REG_SZ, data.data(), data.size()), text);
    }
}
