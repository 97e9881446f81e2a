#include "JsonText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace {

TEST(JsonTextTest, WriterIsCompactWithSortedKeysAndALineFeed)
{
    Json::Value root;
    root["b"] = "2";
    root["a"] = "1";
    root["B"] = "0";
    EXPECT_EQ(WriteJsonText(root), L"{\"B\":\"0\",\"a\":\"1\",\"b\":\"2\"}\n");
    EXPECT_EQ(WriteJsonText(Json::Value()), L"null\n");
    EXPECT_EQ(JsonStringToWide(Json::Value(5)), L"");
}

// Numbers that are not plain integers are read as the classic locale reads a double: the
// nearest double, the whole token or nothing, and no infinity for a number out of range.
TEST(JsonTextTest, DecimalNumbersReadAsTheNearestDoubleOrNotAtAll)
{
    const struct {
        const wchar_t* text;
        bool parses;
        double value;
    } cases[] = {
        {L"0.1", true, 0.1},
        {L"0.30000000000000004", true, 0.30000000000000004},
        {L"-2.5e3", true, -2500.0},
        {L"1.", true, 1.0},
        {L"-.5", true, -0.5},
        {L"1E+2", true, 100.0},
        {L"2.2250738585072011e-308", true, 2.2250738585072011e-308},
        {L"4.9e-324", true, std::numeric_limits<double>::denorm_min()},
        {L"1e-400", true, 0.0},
        {L"1.7976931348623157e308", true, std::numeric_limits<double>::max()},
        {L"123456789012345678901234567890", true, 1.2345678901234568e29},
        {L"18446744073709551616", true, 18446744073709551616.0},
        {L"1e309", false, 0},
        {L"-1e400", false, 0},
        {L"1e", false, 0},
        {L"1.5e+", false, 0},
        {L"-.e5", false, 0},
        {L"[1, 2.5e]", false, 0},
    };
    for (const auto& c : cases) {
        Json::Value root;
        ASSERT_EQ(ParseJsonText(c.text, root), c.parses) << c.text;
        if (!c.parses)
            continue;
        EXPECT_TRUE(root.isDouble()) << c.text;
        EXPECT_EQ(root.asDouble(), c.value) << c.text;
    }

    Json::Value negativeZero;
    ASSERT_TRUE(ParseJsonText(L"-0.0", negativeZero));
    EXPECT_TRUE(std::signbit(negativeZero.asDouble()));
    Json::Value inArray;
    ASSERT_TRUE(ParseJsonText(L"[1e-2, 7]", inArray));
    EXPECT_EQ(inArray[0].asDouble(), 0.01);
    EXPECT_EQ(WriteJsonText(inArray), L"[0.01,7]\n");
}

// A library in the process may switch the C runtime's numeric locale; JSON keeps its point.
TEST(JsonTextTest, DecimalNumbersReadTheSameInALocaleWithADecimalComma)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "German_Germany.1252"), nullptr);
    ASSERT_EQ(*std::localeconv()->decimal_point, ',');
    Json::Value root;
    const bool parsed = ParseJsonText(L"[2.5, -1.25e2]", root);
    const std::wstring written = parsed ? WriteJsonText(root) : L"";
    Json::Value comma;
    const bool commaParsed = ParseJsonText(L"2,5", comma);
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(root[0].asDouble(), 2.5);
    EXPECT_EQ(root[1].asDouble(), -125.0);
    EXPECT_EQ(written, L"[2.5,-125.0]\n");
    EXPECT_FALSE(commaParsed);
}

} // namespace
