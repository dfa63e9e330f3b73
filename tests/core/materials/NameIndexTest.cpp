#include "materials/NameIndex.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

// Adds the keys as records 0, 1, ... and builds.
void Fill(CNameIndex& index, const std::vector<std::string>& keys)
{
    index.Reset();
    for (std::size_t i = 0; i < keys.size(); ++i)
        index.AddKey(keys[i], static_cast<int>(i), nullptr);
    index.Build();
}

int Depth(const CNameIndex& index, int node)
{
    if (node < 0)
        return 0;
    return 1 + std::max(Depth(index, index.GetNode(node).left), Depth(index, index.GetNode(node).right));
}

TEST(NameIndexTest, BalancedTreeWithDuplicateChains)
{
    CNameIndex index;
    EXPECT_EQ(index.FindExact("a"), -1);
    index.Build();
    EXPECT_TRUE(index.IsBuilt());
    EXPECT_EQ(index.Root(), -1);

    Fill(index, {"b", "A", "c", "a", "d", ""});
    EXPECT_EQ(index.EntryCount(), 5); // the empty key is not added
    const int root = index.Root();
    EXPECT_EQ(index.GetNode(root).key, "c"); // the middle of a, b, c, d
    EXPECT_EQ(index.GetNode(index.GetNode(root).left).key, "A");
    EXPECT_EQ(index.GetNode(index.GetNode(index.GetNode(root).left).right).key, "b");
    EXPECT_EQ(index.GetNode(index.GetNode(root).right).key, "d");

    // Equal keys: the first added heads the chain and answers.
    const int a = index.FindExact("a");
    ASSERT_GE(a, 0);
    EXPECT_EQ(index.GetNode(a).record, 1);
    ASSERT_GE(index.GetNode(a).nextDuplicate, 0);
    EXPECT_EQ(index.GetNode(index.GetNode(a).nextDuplicate).record, 3);
    EXPECT_EQ(index.GetNode(index.GetNode(a).nextDuplicate).nextDuplicate, -1);
    EXPECT_EQ(index.FindExact("B"), index.FindExact("b"));
    EXPECT_EQ(index.FindExact("e"), -1);
    EXPECT_EQ(index.FindExact(""), -1);

    // A (record 1) and a (record 3) are two materials.
    EXPECT_EQ(index.FindPrefix("A"), -2);
    EXPECT_EQ(index.GetNode(index.FindPrefix("D")).record, 4);
    EXPECT_EQ(index.FindPrefix(""), -1);
    EXPECT_EQ(index.FindPrefix("x"), -1);
    // "b" also begins "bc": two materials, whichever of them the first node made holds.
    Fill(index, {"b", "bc"});
    EXPECT_EQ(index.FindPrefix("B"), -2);
    // The second key beginning "c" lies to the right of "b", below the first one ("cb", the root).
    Fill(index, {"a", "b", "ca", "cb", "d", "e", "f"});
    EXPECT_EQ(index.FindPrefix("C"), -2);
}

TEST(NameIndexTest, LargeIndexesStayBalancedAndNodesAreReused)
{
    CNameIndex index;
    std::vector<std::string> keys;
    for (int i = 0; i < 1000; ++i)
        keys.push_back("Key " + std::to_string(i * 7919 % 1000));
    Fill(index, keys);
    EXPECT_EQ(index.Capacity(), 1000);
    EXPECT_LE(Depth(index, index.Root()), 10);
    for (int i = 0; i < 1000; ++i) {
        const int node = index.FindExact("KEY " + std::to_string(i * 7919 % 1000));
        ASSERT_GE(node, 0);
        EXPECT_EQ(index.GetNode(node).record, i);
    }
    // Prefixes: "key 99" begins key 99 and key 990..999, all different records.
    EXPECT_EQ(index.FindPrefix("key 99"), -2);
    EXPECT_GE(index.FindPrefix("key 999"), 0);

    Fill(index, {"x", "y"});
    EXPECT_EQ(index.Capacity(), 1000);
    EXPECT_EQ(index.EntryCount(), 2);
    EXPECT_EQ(index.FindExact("Key 5"), -1);
    index.FreeAll();
    EXPECT_EQ(index.Capacity(), 0);
    EXPECT_FALSE(index.IsBuilt());
}

// Display names: what a canonical look-up shows for a key.
TEST(NameIndexTest, DisplayNames)
{
    CNameIndex index;
    const std::string name = "Kaolin";
    index.AddKey("EPK", 0, &name);
    index.AddKey("Kaolin", 0, nullptr);
    index.Build();
    EXPECT_EQ(index.DisplayName(index.FindExact("epk")), "Kaolin");
    EXPECT_EQ(index.DisplayName(index.FindExact("KAOLIN")), "Kaolin");
}

} // namespace
