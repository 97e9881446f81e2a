#include "core/UINameMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Tarvo::CUINameMap;

namespace {

int g_values[8];

std::vector<std::wstring> Keys(const CUINameMap& map)
{
    std::vector<std::wstring> out;
    for (int i = 0; i < map.GetSize(); ++i) {
        out.push_back(map.GetAt(i));
    }
    return out;
}

TEST(UINameMapTest, HashesFromLastCharacterToFirst)
{
    // "ab": 'b' first, then 98 * 33 + 'a' = 3331; the other direction would give 3299.
    EXPECT_EQ(CUINameMap::HashKey(L"ab"), 3331u);
    EXPECT_EQ(CUINameMap::HashKey(L""), 0u);
    EXPECT_EQ(CUINameMap::HashKey(std::wstring(20, L'\xFFFF').c_str()), 3310065708u);
}

TEST(UINameMapTest, IteratesInBucketOrderOfEightyThreeBuckets)
{
    CUINameMap map;
    EXPECT_EQ(map.GetBucketCount(), 83);
    // Buckets: "ab" 3331 % 83 = 11, "a" 14, "b" 15, "ba" 3299 % 83 = 62.
    for (const wchar_t* key : {L"ba", L"b", L"a", L"ab"}) {
        ASSERT_TRUE(map.Insert(key, &g_values[0]));
    }
    EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"ab", L"a", L"b", L"ba"}));
    EXPECT_EQ(map.GetAt(4), nullptr);
    EXPECT_EQ(map.GetAt(-1), nullptr);
}

TEST(UINameMapTest, LookupMovesEntryToFrontOfItsBucket)
{
    CUINameMap map;
    // 'a' (97) and U+00B4 (180) share bucket 14.
    map.Insert(L"a", &g_values[0]);
    map.Insert(L"\u00B4", &g_values[1]);
    EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"\u00B4", L"a"}));
    EXPECT_EQ(map.Find(L"a", false), &g_values[0]);
    EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"\u00B4", L"a"}));
    EXPECT_EQ(map.Find(L"a"), &g_values[0]);
    EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"a", L"\u00B4"}));
    EXPECT_EQ(map.Find(L"\u00B4"), &g_values[1]);
}

TEST(UINameMapTest, InsertRefusesExistingKeySetReplaces)
{
    CUINameMap map;
    EXPECT_TRUE(map.Insert(L"Button", &g_values[0]));
    EXPECT_FALSE(map.Insert(L"Button", &g_values[1]));
    EXPECT_TRUE(map.Insert(L"button", &g_values[2]));
    EXPECT_EQ(map.Find(L"Button"), &g_values[0]);
    EXPECT_EQ(map.Set(L"Button", &g_values[3]), &g_values[0]);
    EXPECT_EQ(map.Find(L"Button"), &g_values[3]);
    EXPECT_EQ(map.Set(L"Label", &g_values[4]), nullptr);
    EXPECT_EQ(map.Find(L"Label"), &g_values[4]);
    EXPECT_EQ(map.Find(L"BUTTON"), nullptr);
    EXPECT_EQ(map.GetSize(), 3);
    EXPECT_FALSE(map.Insert(nullptr, &g_values[0]));
    EXPECT_EQ(map.Find(nullptr), nullptr);
}

TEST(UINameMapTest, RemovesAndResizesKeepingEntries)
{
    CUINameMap map;
    std::vector<std::wstring> names;
    for (int i = 0; i < 300; ++i) {
        names.push_back(L"name" + std::to_wstring(i));
        ASSERT_TRUE(map.Insert(names.back().c_str(), &g_values[i % 8]));
    }
    EXPECT_TRUE(map.Remove(L"name7"));
    EXPECT_FALSE(map.Remove(L"name7"));
    EXPECT_EQ(map.GetSize(), 299);
    EXPECT_TRUE(map.Resize(7));
    EXPECT_EQ(map.GetBucketCount(), 7);
    EXPECT_EQ(map.GetSize(), 299);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(map.Find(names[i].c_str()), i == 7 ? nullptr : &g_values[i % 8]) << i;
    }
    map.RemoveAll();
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_EQ(map.Find(L"name1"), nullptr);
    EXPECT_TRUE(map.Insert(L"name1", &g_values[0]));
}

} // namespace
