#include <gtest/gtest.h>

#include "controls/AttributeValue.h"

#include <vector>

using namespace Tarvo;

namespace {

struct IntCase {
    const wchar_t* text;
    int expected;
};

struct ListCase {
    const wchar_t* text;
    std::vector<int> expected;
};

struct ColorCase {
    const wchar_t* text;
    bool skipBlanks;
    DWORD expected;
};

} // namespace

TEST(AttributeValueTest, IntegersReadLikeDecimalTextAndStopAtTheFirstStranger)
{
    const IntCase cases[] = {
        {L"42", 42},
        {L"  17", 17},
        {L"-58", -58},
        {L"+7", 7},
        {L"12px", 12},
        {L"", 0},
        {L"abc", 0},
        {L"-", 0},
        {L" - 5", 0},
        {L"3.9", 3},
        {L"0x10", 0},
        {L"\t\n8", 8},
        // Enormous numbers clamp instead of wrapping into negative sizes.
        {L"99999999999999999999", 1000000},
        {L"-2147483649", -1000000},
    };
    for (const IntCase& c : cases) {
        EXPECT_EQ(ParseAttributeInt(c.text), c.expected) << testing::PrintToString(std::wstring(c.text));
    }
    EXPECT_EQ(ParseAttributeInt(nullptr), 0);
}

TEST(AttributeValueTest, IntegerListsSkipExactlyOneSeparatorAndMissingNumbersAreZero)
{
    const ListCase cases[] = {
        {L"1,2,3,4", {1, 2, 3, 4}},   {L"1;2 3x4", {1, 2, 3, 4}},           {L"1,,3,4", {1, 0, 3, 4}},
        {L"1, 2", {1, 2, 0, 0}}, // the blank after the separator is skipped by the number
        {L"1,,,,,,,,", {1, 0, 0, 0}}, {L"-58,6,-34,30", {-58, 6, -34, 30}}, {L"", {0, 0, 0, 0}},
        {L"7", {7, 0, 0, 0}},         {L"a,b,c,d", {0, 0, 0, 0}},           {L"1,2,3,4,5,6", {1, 2, 3, 4}},
    };
    for (const ListCase& c : cases) {
        std::vector<int> values(4, -1);
        ParseAttributeInts(c.text, values.data(), 4);
        EXPECT_EQ(values, c.expected) << testing::PrintToString(std::wstring(c.text));
    }
    const RECT rc = ParseAttributeRect(L"902,6,926,30");
    EXPECT_EQ(rc.left, 902);
    EXPECT_EQ(rc.bottom, 30);
    const SIZE sz = ParseAttributeSize(L"5,7");
    EXPECT_EQ(sz.cx, 5);
    EXPECT_EQ(sz.cy, 7);
}

TEST(AttributeValueTest, OnlyTheLowerCaseWordTrueIsTrue)
{
    EXPECT_TRUE(ParseAttributeBool(L"true"));
    for (const wchar_t* text : {L"True", L"TRUE", L"1", L"yes", L"", L" true", L"true ", L"truex"}) {
        EXPECT_FALSE(ParseAttributeBool(text)) << testing::PrintToString(std::wstring(text));
    }
    EXPECT_FALSE(ParseAttributeBool(nullptr));
}

TEST(AttributeValueTest, ColoursAreHexadecimalWithAnOptionalHash)
{
    const ColorCase cases[] = {
        {L"#FF112233", true, 0xFF112233},
        {L"FF112233", false, 0xFF112233},
        {L"#444444", true, 0x00444444}, // six digits: alpha 0
        {L"#ffffffff", false, 0xFFFFFFFF},
        {L"  #FF000080", true, 0xFF000080},
        {L"  #FF000080", false, 0}, // border colours do not skip blanks
        {L"##FF", true, 0},
        {L"", true, 0},
        {L"#", false, 0},
        {L"#GG", false, 0},
        {L"#12zz", false, 0x12},
        {L"#123456789ABC", true, 0xFFFFFFFF}, // too many digits saturate
    };
    for (const ColorCase& c : cases) {
        EXPECT_EQ(ParseAttributeColor(c.text, c.skipBlanks), c.expected)
            << testing::PrintToString(std::wstring(c.text));
    }
}
