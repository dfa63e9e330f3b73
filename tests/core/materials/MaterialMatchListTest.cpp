#include "materials/MaterialMatchList.h"

#include "core/support/CheckedItems.h"
#include "core/materials/MaterialTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class MaterialMatchListTest : public MaterialTestBase {
protected:
    static std::vector<double> Scores(const CMaterialMatchList& list)
    {
        std::vector<double> scores;
        for (const CMaterialMatch& item : list.Items())
            scores.push_back(item.score);
        return scores;
    }

    CMaterial a{"A"}, b{"B"}, c{"C"}, d{"D"};
};

TEST_F(MaterialMatchListTest, BestThreeStaySortedAndMirrorPairsAreRefused)
{
    CMaterialMatchList list(3, 50.0);
    EXPECT_TRUE(list.Offer({&a, 90.0, &c}));
    EXPECT_TRUE(list.Offer({&b, 80.0, &c}));
    EXPECT_TRUE(list.Offer({&d, 80.0, &c}));
    EXPECT_EQ(Scores(list), (std::vector<double>{90, 80, 80}));

    EXPECT_FALSE(list.Offer({&a, 80.0, &b}));  // full, and no better than the last
    EXPECT_FALSE(list.Offer({&a, 40.0, &b}));  // below the cut-off
    EXPECT_TRUE(list.Offer({&a, 85.0, &d}));   // the last 80 goes, 85 lands second
    EXPECT_EQ(Scores(list), (std::vector<double>{90, 85, 80}));
    EXPECT_EQ(ItemAt(list.Items(), 1).materialB, &d);
    EXPECT_EQ(ItemAt(list.Items(), 2).materialA, &b); // the earlier 80 stayed

    EXPECT_FALSE(list.Offer({&c, 95.0, &a})); // (C, A) mirrors the listed (A, C)
    EXPECT_FALSE(list.Offer({&d, 99.0, &a})); // (D, A) mirrors (A, D)
    EXPECT_EQ(list.GetCount(), 3);
    CMaterialMatchList pairs(3, 0.0);
    EXPECT_TRUE(pairs.Offer({&a, 70.0, &b}));
    EXPECT_FALSE(pairs.Offer({&b, 70.0, &a}));
    EXPECT_TRUE(pairs.Offer({&a, 70.0, &b})); // the same pair again is no mirror

    // Equal scores go after the ones listed.
    CMaterialMatchList open(5, 0.0);
    open.Offer({&a, 10.0, nullptr});
    open.Offer({&b, 10.0, nullptr});
    open.Offer({&c, 20.0, nullptr});
    EXPECT_EQ(ItemAt(open.Items(), 0).materialA, &c);
    EXPECT_EQ(ItemAt(open.Items(), 1).materialA, &a);
    EXPECT_EQ(ItemAt(open.Items(), 2).materialA, &b);
}

TEST_F(MaterialMatchListTest, WithoutALimitItemsArriveInOrderUpToTheCapacity)
{
    CMaterialMatchList list(0, 1.0);
    EXPECT_FALSE(list.Offer({&a, 0.5, nullptr}));
    for (int i = 0; i < CMaterialMatchList::kUnlimitedCapacity; ++i)
        ASSERT_TRUE(list.Offer({&a, static_cast<double>(i % 7 + 1), &b}));
    EXPECT_EQ(ItemAt(list.Items(), 0).score, 1.0);
    EXPECT_EQ(ItemAt(list.Items(), 1).score, 2.0);
    // Regression: a full list refused every later pair, however good; the lowest makes room.
    EXPECT_TRUE(list.Offer({&a, 99.0, &b}));
    EXPECT_FALSE(list.Offer({&c, 1.0, &b}));
    EXPECT_EQ(list.GetCount(), 1000);
    EXPECT_EQ(ItemAt(list.Items(), 0).score, 99.0);
    EXPECT_TRUE(list.IsTruncated());
}

TEST_F(MaterialMatchListTest, RemoveMirrorPairsKeepsTheFirstOfEachPair)
{
    CMaterialMatchList list;
    list.InsertAt(0, {&a, 1.0, &b});
    list.InsertAt(1, {&c, 2.0, &d});
    list.InsertAt(2, {&b, 3.0, &a});
    list.InsertAt(3, {&d, 4.0, &c});
    list.InsertAt(4, {&a, 5.0, &b});
    list.InsertAt(9, {&a, 6.0, &b}); // out of range: nothing
    list.RemoveAt(-1);
    list.RemoveMirrorPairs();
    EXPECT_EQ(Scores(list), (std::vector<double>{1, 2}));
    list.RemoveAt(0);
    EXPECT_EQ(Scores(list), (std::vector<double>{2}));
}

} // namespace
