#include "setup/engine/script/hashed_string_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using setup::engine::THashedStringList;

TEST(THashedStringList, FindsTheFirstOfEqualItemsWithLetterCaseIgnored)
{
    THashedStringList list;
    list.Add("Alpha");
    list.Add("beta");
    list.Add("ALPHA");
    EXPECT_EQ(list.IndexOf("alpha"), 0);
    EXPECT_EQ(list.IndexOf("BETA"), 1);
    EXPECT_EQ(list.IndexOf("gamma"), -1);
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(list[2], "ALPHA");
}

TEST(THashedStringList, EmptyTextIsAnItemLikeAnyOther)
{
    THashedStringList list;
    EXPECT_EQ(list.IndexOf(""), -1);
    list.Add("x");
    list.Add("");
    list.Add("");
    EXPECT_EQ(list.IndexOf(""), 1);
}

TEST(THashedStringList, TextsDifferingOnlyInLengthAreDifferent)
{
    THashedStringList list;
    list.Add("key");
    EXPECT_EQ(list.IndexOf("key "), -1);
    EXPECT_EQ(list.IndexOf("ke"), -1);
}

TEST(THashedStringList, EveryItemOfALongListIsFound)
{
    THashedStringList list;
    for (int i = 0; i < 5000; ++i)
        list.Add("item" + std::to_string(i));
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(list.IndexOf("ITEM" + std::to_string(i)), i);
    EXPECT_EQ(list.IndexOf("item5000"), -1);
}

TEST(THashedStringList, ClearForgetsTheItems)
{
    THashedStringList list;
    list.Add("one");
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.IndexOf("one"), -1);
    list.Add("two");
    EXPECT_EQ(list.IndexOf("two"), 0);
}

TEST(THashedStringList, ItemOrEmptyOutsideTheListIsEmpty)
{
    THashedStringList list;
    list.Add("only");
    EXPECT_EQ(list.ItemOrEmpty(0), "only");
    EXPECT_EQ(list.ItemOrEmpty(-1), "");
    EXPECT_EQ(list.ItemOrEmpty(1), "");
}

TEST(THashedStringList, CopiesKeepTheirOwnIndex)
{
    THashedStringList list;
    list.Add("a");
    THashedStringList copy = list;
    copy.Add("b");
    EXPECT_EQ(copy.IndexOf("b"), 1);
    EXPECT_EQ(list.IndexOf("b"), -1);
    EXPECT_EQ(copy.IndexOf("A"), 0);
}

}  // namespace
