#include "core/UIString.h"

#include <gtest/gtest.h>

#include <string>

using Tarvo::CUIString;

namespace {

const std::wstring kLong(200, L'x');

TEST(UIStringTest, ConstructsFromTextLengthCharAndCopy)
{
    EXPECT_STREQ(CUIString().GetData(), L"");
    EXPECT_TRUE(CUIString().IsEmpty());
    EXPECT_STREQ(CUIString(L"abcdef", 3).GetData(), L"abc");
    EXPECT_STREQ(CUIString(L"ab", 10).GetData(), L"ab"); // a length past the terminator stops there
    EXPECT_STREQ(CUIString(nullptr).GetData(), L"");
    EXPECT_STREQ(CUIString(L'Q').GetData(), L"Q");
    CUIString longText(kLong.c_str());
    CUIString copy(longText);
    EXPECT_EQ(copy.GetLength(), 200);
    EXPECT_EQ(std::wstring(copy.GetData()), kLong);
    EXPECT_NE(copy.GetData(), longText.GetData());
}

TEST(UIStringTest, GrowsFromLocalToHeapAndMovesKeepContent)
{
    CUIString s;
    for (int i = 0; i < 100; ++i) {
        s += static_cast<wchar_t>(L'a' + i % 26);
        ASSERT_EQ(s.GetLength(), i + 1);
        ASSERT_EQ(s[i], static_cast<wchar_t>(L'a' + i % 26));
        ASSERT_EQ(s.GetData()[i + 1], L'\0');
    }
    CUIString moved(static_cast<CUIString&&>(s));
    EXPECT_EQ(moved.GetLength(), 100);
    EXPECT_TRUE(s.IsEmpty());
    CUIString shortOne(L"short");
    CUIString movedShort(static_cast<CUIString&&>(shortOne));
    EXPECT_STREQ(movedShort, L"short");
    EXPECT_STREQ(shortOne, L"");
    s = static_cast<CUIString&&>(movedShort);
    EXPECT_STREQ(s, L"short");
}

TEST(UIStringTest, AppendsAndAssignsPiecesOfItself)
{
    CUIString s(L"0123456789");
    s.Append(s.GetData() + 5);
    EXPECT_STREQ(s, L"0123456789"
                    L"56789");
    CUIString big(kLong.c_str());
    big.Append(big.GetData()); // forces a reallocation while reading the old buffer
    EXPECT_EQ(std::wstring(big.GetData()), kLong + kLong);
    s.Assign(s.GetData() + 2, 3);
    EXPECT_STREQ(s, L"234");
    s = s.GetData();
    EXPECT_STREQ(s, L"234");
}

TEST(UIStringTest, GetAtOutOfRangeIsTerminator)
{
    CUIString s(L"ab");
    EXPECT_EQ(s.GetAt(1), L'b');
    EXPECT_EQ(s.GetAt(2), L'\0');
    EXPECT_EQ(s.GetAt(-1), L'\0');
    s.SetAt(5, L'x');
    s.SetAt(0, L'z');
    EXPECT_STREQ(s, L"zb");
}

TEST(UIStringTest, ComparesCaseSensitiveAndNot)
{
    CUIString s(L"Apple");
    EXPECT_TRUE(s == L"Apple");
    EXPECT_TRUE(s != L"apple");
    EXPECT_TRUE(s < L"Banana");
    EXPECT_TRUE(s > L"Aardvark");
    EXPECT_TRUE(s <= CUIString(L"Apple"));
    EXPECT_TRUE(CUIString(L"a") < CUIString(L"b"));
    EXPECT_EQ(s.CompareNoCase(L"APPLE"), 0);
    EXPECT_LT(s.Compare(L"apple"), 0);
    EXPECT_GT(s.Compare(nullptr), 0);
    EXPECT_TRUE(CUIString() == nullptr);
    EXPECT_STREQ(CUIString(L"ab") + L"cd" + CUIString(L"ef"), L"abcdef");
}

TEST(UIStringTest, CutsAndSearches)
{
    CUIString s(L"key=value=more");
    EXPECT_STREQ(s.Left(3), L"key");
    EXPECT_STREQ(s.Left(99), L"key=value=more");
    EXPECT_STREQ(s.Mid(4, 5), L"value");
    EXPECT_STREQ(s.Mid(10), L"more");
    EXPECT_STREQ(s.Mid(99), L"");
    EXPECT_STREQ(s.Mid(-3, 3), L"key");
    EXPECT_STREQ(s.Right(4), L"more");
    EXPECT_STREQ(s.Right(-1), L"");
    EXPECT_EQ(s.Find(L'='), 3);
    EXPECT_EQ(s.Find(L'=', 4), 9);
    EXPECT_EQ(s.Find(L'#'), -1);
    EXPECT_EQ(s.Find(L"value"), 4);
    EXPECT_EQ(s.Find(L"value", 5), -1);
    EXPECT_EQ(s.Find(L'=', 99), -1);
    EXPECT_EQ(s.Find(L""), -1);
    EXPECT_EQ(s.ReverseFind(L'='), 9);
    EXPECT_EQ(s.ReverseFind(L'#'), -1);
}

TEST(UIStringTest, ReplacesEveryOccurrence)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* from;
        const wchar_t* to;
        int count;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"a.b.c", L".", L"\\", 2, L"a\\b\\c"}, {L"aaaa", L"aa", L"a", 2, L"aa"},  {L"abc", L"x", L"y", 0, L"abc"},
        {L"abc", L"", L"y", 0, L"abc"},         {L"abc", L"b", nullptr, 1, L"ac"}, {L"xx", L"x", L"xyx", 2, L"xyxxyx"},
    };
    for (const Case& c : cases) {
        CUIString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.text;
        EXPECT_STREQ(s, c.result) << c.text;
    }
}

TEST(UIStringTest, ChangesCase)
{
    CUIString s(L"MiXeD \u00C4\u00E4");
    s.MakeUpper();
    EXPECT_STREQ(s, L"MIXED \u00C4\u00C4");
    s.MakeLower();
    EXPECT_STREQ(s, L"mixed \u00E4\u00E4");
}

TEST(UIStringTest, FormatsAndCutsAtSixtyThreeCharacters)
{
    CUIString s;
    EXPECT_EQ(s.Format(L"%d,%d,%ls", 10, -3, L"ok"), 8);
    EXPECT_STREQ(s, L"10,-3,ok");
    EXPECT_EQ(s.Format(L"%ls", kLong.c_str()), 63);
    EXPECT_EQ(std::wstring(s.GetData()), kLong.substr(0, 63));
    EXPECT_EQ(s.Format(L"%ls", std::wstring(63, L'y').c_str()), 63);
    EXPECT_EQ(s.Format(L"%ls", std::wstring(64, L'y').c_str()), 63);
}

} // namespace
