#include "tools/GlazeMatchList.h"

#include "core/support/CheckedItems.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The list never looks into the glazes: distinct addresses stand for them.
const CGlaze* Glaze(int n)
{
    static const char storage[16] = {};
    return reinterpret_cast<const CGlaze*>(storage + n);
}

CGlazeMatch Match(int a, int b, double score)
{
    return {a, Glaze(a), score, b, Glaze(b)};
}

std::vector<double> Scores(const CGlazeMatchList& list)
{
    std::vector<double> scores;
    for (const CGlazeMatch& item : list.Items())
        scores.push_back(item.score);
    return scores;
}

TEST(GlazeMatchListTest, LimitedListKeepsTheBestInOrder)
{
    CGlazeMatchList list(5, 50.0);
    for (double score : {70.0, 90.0, 60.0, 80.0, 65.0})
        EXPECT_TRUE(list.Offer(Match(1, static_cast<int>(score) / 10, score)));
    EXPECT_EQ(Scores(list), (std::vector<double>{90, 80, 70, 65, 60}));

    // Equal to the fifth: kept out. Above it: the fifth goes.
    EXPECT_FALSE(list.Offer(Match(2, 3, 60.0)));
    EXPECT_TRUE(list.Offer(Match(2, 4, 75.0)));
    EXPECT_EQ(Scores(list), (std::vector<double>{90, 80, 75, 70, 65}));
    // An equal score goes after the items already there.
    EXPECT_TRUE(list.Offer(Match(3, 5, 80.0)));
    EXPECT_EQ(ItemAt(list.Items(), 2), Match(3, 5, 80.0));
    EXPECT_FALSE(list.Offer(Match(4, 5, 49.9))); // below the cut-off

    // The mirror of a listed pair is refused.
    EXPECT_FALSE(list.Offer(Match(5, 3, 99.0)));
    EXPECT_EQ(list.GetCount(), 5);
}

TEST(GlazeMatchListTest, UnlimitedListAppendsThenSortsAndDropsMirrors)
{
    CGlazeMatchList list;
    EXPECT_TRUE(list.Offer(Match(1, 2, 40.0)));
    EXPECT_TRUE(list.Offer(Match(2, 1, 40.0)));
    EXPECT_TRUE(list.Offer(Match(3, 4, 95.0)));
    EXPECT_TRUE(list.Offer(Match(1, 3, 10.0)));
    list.RemoveMirrorPairs();
    EXPECT_EQ(list.Items(), (std::vector<CGlazeMatch>{Match(1, 2, 40), Match(3, 4, 95), Match(1, 3, 10)}));
    list.SortByScore();
    EXPECT_EQ(Scores(list), (std::vector<double>{95, 40, 10}));

    list.InsertAt(9, Match(5, 6, 1.0)); // out of range: nothing
    list.RemoveAt(-1);
    EXPECT_EQ(list.GetCount(), 3);
    while (list.GetCount() < CGlazeMatchList::kUnlimitedCapacity)
        list.InsertAt(0, Match(7, 8, 5.0));
    EXPECT_FALSE(list.IsTruncated());
    // Regression: a full list refused a better pair; the lowest score now makes room.
    EXPECT_TRUE(list.Offer(Match(9, 10, 100.0)));
    EXPECT_FALSE(list.Offer(Match(9, 11, 1.0)));
    EXPECT_TRUE(list.IsTruncated());
    EXPECT_EQ(list.GetCount(), CGlazeMatchList::kUnlimitedCapacity);
    EXPECT_EQ(ItemAt(list.Items(), 0), Match(9, 10, 100.0));
    EXPECT_EQ(ItemAt(list.Items(), 1).score, 95.0) << "a full list is kept in score order";
    EXPECT_EQ(LastItem(list.Items()).score, 5.0);
}

} // namespace
