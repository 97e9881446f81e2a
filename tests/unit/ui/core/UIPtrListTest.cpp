#include "core/UIPtrList.h"

#include <gtest/gtest.h>

#include <vector>

using Tarvo::CUIPtrList;

namespace {

int g_items[100];

void* Item(int i)
{
    return &g_items[i];
}

std::vector<void*> Contents(const CUIPtrList& list)
{
    std::vector<void*> out;
    for (int i = 0; i < list.GetSize(); ++i) {
        out.push_back(list[i]);
    }
    return out;
}

TEST(UIPtrListTest, CapacityStartsAtElevenAndDoubles)
{
    CUIPtrList list;
    EXPECT_EQ(list.GetCapacity(), 0);
    std::vector<int> seen;
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(list.Add(Item(i)));
        if (seen.empty() || seen.back() != list.GetCapacity()) {
            seen.push_back(list.GetCapacity());
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{11, 22, 44, 88}));
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(list.GetAt(i), Item(i));
    }
}

TEST(UIPtrListTest, InsertsSetsRemovesAndFinds)
{
    CUIPtrList list;
    list.Add(Item(1));
    list.Add(Item(3));
    EXPECT_TRUE(list.InsertAt(1, Item(2)));
    EXPECT_TRUE(list.InsertAt(0, Item(0)));
    EXPECT_TRUE(list.InsertAt(4, Item(4)));
    EXPECT_EQ(Contents(list), (std::vector<void*>{Item(0), Item(1), Item(2), Item(3), Item(4)}));
    EXPECT_EQ(list.Find(Item(3)), 3);
    EXPECT_EQ(list.Find(Item(9)), -1);
    EXPECT_TRUE(list.SetAt(2, Item(9)));
    EXPECT_TRUE(list.Remove(0));
    EXPECT_TRUE(list.Remove(3));
    EXPECT_EQ(Contents(list), (std::vector<void*>{Item(1), Item(9), Item(3)}));
    list.Empty();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetAt(0), nullptr);
}

TEST(UIPtrListTest, RefusesIndexesOutOfRange)
{
    CUIPtrList list;
    list.Add(Item(0));
    EXPECT_FALSE(list.InsertAt(2, Item(1)));
    EXPECT_FALSE(list.InsertAt(-1, Item(1)));
    EXPECT_FALSE(list.SetAt(1, Item(1)));
    EXPECT_FALSE(list.Remove(1));
    EXPECT_FALSE(list.Remove(-1));
    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(list[1], nullptr);
    EXPECT_EQ(Contents(list), std::vector<void*>{Item(0)});
}

TEST(UIPtrListTest, CopiesAreIndependent)
{
    CUIPtrList list;
    list.Add(Item(0));
    list.Add(Item(1));
    CUIPtrList copy(list);
    copy.Add(Item(2));
    list.SetAt(0, Item(5));
    EXPECT_EQ(Contents(copy), (std::vector<void*>{Item(0), Item(1), Item(2)}));
    EXPECT_EQ(Contents(list), (std::vector<void*>{Item(5), Item(1)}));
    list = copy;
    EXPECT_EQ(Contents(list), Contents(copy));
    CUIPtrList moved(static_cast<CUIPtrList&&>(copy));
    EXPECT_EQ(moved.GetSize(), 3);
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_TRUE(copy.Add(Item(7)));
}

} // namespace
