#include "support/NamedItemList.h"

#include "core/support/CheckedItems.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct CEntry {
    std::string m_name;
    int m_tag = 0;
};

using CEntryList = CNamedItemList<CEntry>;

CEntryList ListOf(const std::vector<std::string>& names)
{
    CEntryList list;
    int tag = 0;
    for (const auto& name : names)
        list.push_back(std::make_unique<CEntry>(CEntry{name, tag++}));
    return list;
}

std::vector<std::string> NamesOf(const CEntryList& list)
{
    std::vector<std::string> names;
    for (const auto& entry : list)
        names.push_back(entry ? entry->m_name : "<null>");
    return names;
}

std::vector<int> TagsOf(const CEntryList& list)
{
    std::vector<int> tags;
    for (const auto& entry : list)
        tags.push_back(entry->m_tag);
    return tags;
}

using Names = std::vector<std::string>;

} // namespace

TEST(NamedItemListTest, FindByNameIgnoresCaseAndTakesTheFirst)
{
    CEntryList list = ListOf({"Whiting", "clay", "Clay", "Silica"});
    ASSERT_NE(list.FindByName("CLAY"), nullptr);
    EXPECT_EQ(Found(list.FindByName("CLAY")).m_tag, 1);
    EXPECT_EQ(Found(list.FindByName("silica")).m_tag, 3);
    EXPECT_EQ(list.FindIndexByName("Clay"), 1);
    EXPECT_EQ(list.FindByName("Clay "), nullptr);
    EXPECT_EQ(list.FindIndexByName("Talc"), -1);

    const CEntryList& constList = list;
    EXPECT_EQ(Found(constList.FindByName("whiting")).m_tag, 0);

    EXPECT_EQ(CEntryList().FindByName("Clay"), nullptr);
}

TEST(NamedItemListTest, FindByNameSkipsNulls)
{
    CEntryList list = ListOf({"a", "b"});
    list.insert(list.begin(), nullptr);
    EXPECT_EQ(list.FindIndexByName("B"), 2);
}

TEST(NamedItemListTest, SwapItemsNeedsTwoValidIndexes)
{
    CEntryList list = ListOf({"a", "b", "c"});
    list.SwapItems(0, 2);
    EXPECT_EQ(NamesOf(list), (Names{"c", "b", "a"}));
    list.SwapItems(0, list.GetCount());
    list.SwapItems(-1, 1);
    list.SwapItems(1, 1);
    EXPECT_EQ(NamesOf(list), (Names{"c", "b", "a"}));
}

TEST(NamedItemListTest, SortByNameIgnoresCaseAndIsStable)
{
    CEntryList list = ListOf({"Clay", "alumina", "clay"});
    list.SortByName();
    EXPECT_EQ(NamesOf(list), (Names{"alumina", "Clay", "clay"}));

    CEntryList reversed = ListOf({"clay", "Zinc", "CLAY", "alumina", "Clay"});
    reversed.SortByName();
    EXPECT_EQ(NamesOf(reversed), (Names{"alumina", "clay", "CLAY", "Clay", "Zinc"}));

    CEntryList empty;
    empty.SortByName();
    EXPECT_TRUE(empty.empty());
}

// Names sort as a bubble sort would order them; the stable sort must give the very same order.
TEST(NamedItemListTest, SortByNameMatchesThePartsBubbleSort)
{
    std::mt19937 random(7);
    const std::vector<std::string> pool = {"a", "A", "b", "B", "ab", "Ab", "_", "a_", "aB", ""};
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> names;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i)
            names.push_back(pool[random() % pool.size()]);

        CEntryList bubble = ListOf(names);
        for (int pass = bubble.GetCount() - 1; pass >= 1; --pass)
            for (int k = 0; k < pass; ++k) {
                const auto at = static_cast<std::size_t>(k);
                if (CompareNoCase(bubble[at]->m_name, bubble[at + 1]->m_name) > 0)
                    bubble.SwapItems(k, k + 1);
            }

        CEntryList sorted = ListOf(names);
        sorted.SortByName();
        ASSERT_EQ(TagsOf(sorted), TagsOf(bubble));
    }
}

TEST(NamedItemListTest, MoveItemFollowsInsertThenRemove)
{
    CEntryList list = ListOf({"a", "b", "c", "d"});
    list.MoveItem(0, 2); // toward the end: lands at to - 1
    EXPECT_EQ(NamesOf(list), (Names{"b", "a", "c", "d"}));

    list = ListOf({"a", "b", "c", "d"});
    list.MoveItem(3, 0); // toward the front: lands at to
    EXPECT_EQ(NamesOf(list), (Names{"d", "a", "b", "c"}));

    list = ListOf({"a", "b", "c", "d"});
    list.MoveItem(0, 3);
    EXPECT_EQ(NamesOf(list), (Names{"b", "c", "a", "d"}));
    list.MoveItem(1, 1);
    list.MoveItem(0, 4);
    list.MoveItem(-1, 0);
    EXPECT_EQ(NamesOf(list), (Names{"b", "c", "a", "d"}));
    EXPECT_EQ(list.GetCount(), 4);
}

TEST(NamedItemListTest, SelectedToTopKeepsTheSelectionsOrder)
{
    CEntryList list = ListOf({"a", "b", "c", "d", "e"});
    const std::vector<int> selected = {1, 3, 4};
    for (std::size_t k = 0; k < selected.size(); ++k)
        list.MoveItem(selected[k], static_cast<int>(k));
    EXPECT_EQ(NamesOf(list), (Names{"b", "d", "e", "a", "c"}));
}

TEST(NamedItemListTest, ClearingDropsEveryEntryIncludingNulls)
{
    CEntryList list = ListOf({"a", "b"});
    list.push_back(nullptr);
    list.DeleteListEntries();
    EXPECT_TRUE(list.empty());
}
