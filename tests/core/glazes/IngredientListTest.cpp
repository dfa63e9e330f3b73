#include "glazes/IngredientList.h"

#include "core/support/CheckedItems.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::pair<std::string, double>>;

CIngredientList MakeList(const Lines& lines)
{
    CIngredientList list;
    for (const auto& [name, amount] : lines)
        list.Add(name, amount);
    return list;
}

Lines Contents(const CIngredientList& list)
{
    Lines lines;
    for (const auto& line : list)
        lines.emplace_back(line->m_name, line->m_amount);
    return lines;
}

std::vector<std::string> Names(const CIngredientList& list)
{
    std::vector<std::string> names;
    for (const auto& line : list)
        names.push_back(line->m_name);
    return names;
}

// A small materials database: a name (or "name (code)") and its type. "Tin Oxide" joins the
// opacifiers only when s_tinIsOpacifier is set.
bool s_tinIsOpacifier = false;

bool FakeTypeFinder(std::string_view material, std::string& type)
{
    static const std::pair<const char*, const char*> kMaterials[] = {
        {"Silica", "silica"}, {"Kaolin", "clay"},    {"EPK", "clay"},
        {"Whiting", "flux"},  {"Zircopax", "opacifier"}, {"Rutile", ""},
    };
    const std::string name = GetNamePart(material);
    if (EqualsNoCase(name, "Tin Oxide")) {
        type = s_tinIsOpacifier ? "Opacifier" : "colorant";
        return true;
    }
    for (const auto& [known, knownType] : kMaterials) {
        if (EqualsNoCase(name, known)) {
            type = knownType;
            return true;
        }
    }
    return false;
}

class IngredientListTest : public ::testing::Test {
protected:
    void SetUp() override { m_previous = SetMaterialTypeFinder(FakeTypeFinder); }
    void TearDown() override
    {
        SetMaterialTypeFinder(m_previous);
        s_tinIsOpacifier = false;
    }

    CAppContext m_context;
    MaterialTypeFinder m_previous = nullptr;
};

TEST_F(IngredientListTest, EditingByIndexCopiesLinesAndIgnoresBadIndexes)
{
    CIngredientList list = MakeList({{"Silica", 30}});
    const CIngredient line("Kaolin", 20);
    list.InsertAt(1, line);  // index == count appends
    list.InsertAt(0, CIngredient("Whiting", 10));
    list.InsertAt(4, line);  // count + 1: nothing
    list.InsertAt(-1, line); // nothing
    list.RemoveAt(-1);
    list.RemoveAt(3);
    EXPECT_EQ(Contents(list), (Lines{{"Whiting", 10}, {"Silica", 30}, {"Kaolin", 20}}));

    list.RemoveAt(1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Whiting", "Kaolin"}));

    // Copies never share lines.
    CIngredientList copy(list);
    RecordAt(copy, 0).m_amount = 99;
    EXPECT_EQ(RecordAt(list, 0).m_amount, 10);
    copy = list;
    copy.Append(copy);
    EXPECT_EQ(Contents(copy), (Lines{{"Whiting", 10}, {"Kaolin", 20}, {"Whiting", 10}, {"Kaolin", 20}}));
    EXPECT_DOUBLE_EQ(copy.GetTotalAmount(), 60.0);
}

TEST_F(IngredientListTest, TotalsAndLargestAmount)
{
    EXPECT_EQ(CIngredientList().GetTotalAmount(), 0.0);
    EXPECT_EQ(CIngredientList().GetMaxAmount(), 0.0);
    EXPECT_EQ(MakeList({{"A", -3}, {"B", -1}}).GetMaxAmount(), 0.0);
    EXPECT_EQ(MakeList({{"A", -3}, {"B", -1}}).GetTotalAmount(), -4.0);
    EXPECT_EQ(MakeList({{"A", 2.5}, {"B", 7}, {"C", 3}}).GetMaxAmount(), 7.0);
}

TEST_F(IngredientListTest, MergeDuplicatesKeepsTheFirstPlaceAndDropsZeros)
{
    CIngredientList list = MakeList({{"Silica", 10}, {"SILICA", 5}});
    list.MergeDuplicates();
    EXPECT_EQ(Contents(list), (Lines{{"Silica", 15}}));

    list = MakeList({{"Nothing", 0}, {"Kaolin", 20}, {"Minus", -0.0}, {"silica", 1},
                     {"kaolin", 5}, {"Silica", 2}, {"KAOLIN", -25}});
    list.MergeDuplicates();
    // Kaolin adds up to 0 and goes; the lines that held 0 go as well.
    EXPECT_EQ(Contents(list), (Lines{{"silica", 3}}));
}

TEST_F(IngredientListTest, Sorting)
{
    CIngredientList list = MakeList({{"A", 5}, {"B", 2}, {"C", 9}});
    list.SortByAmount(0);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "B", "C"}));
    list.SortByAmount(1);
    EXPECT_EQ(Contents(list), (Lines{{"B", 2}, {"A", 5}, {"C", 9}}));
    list.SortByAmount(-1);
    EXPECT_EQ(Contents(list), (Lines{{"C", 9}, {"A", 5}, {"B", 2}}));
    list.Reverse();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"B", "A", "C"}));

    list = MakeList({{"whiting", 1}, {"Kaolin", 2}, {"silica", 3}, {"EPK", 4}});
    list.SortByName();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"EPK", "Kaolin", "silica", "whiting"}));
    // Names equal but for case keep their order.
    list = MakeList({{"silica", 1}, {"Whiting", 2}, {"SILICA", 3}, {"Kaolin", 4}, {"Silica", 5}});
    list.SortByName();
    EXPECT_EQ(Contents(list), (Lines{{"Kaolin", 4}, {"silica", 1}, {"SILICA", 3}, {"Silica", 5}, {"Whiting", 2}}));
}

TEST_F(IngredientListTest, SortByTypeOrderPutsUnknownMaterialsLast)
{
    const Lines recipe = {{"Mystery", 1}, {"Whiting", 2}, {"Silica", 3}, {"EPK", 4},
                          {"Unknown", 5}, {"Kaolin", 6}};
    CIngredientList list = MakeList(recipe);
    list.SortByTypeOrder({"CLAY", "silica", "clay"});
    EXPECT_EQ(Names(list),
              (std::vector<std::string>{"EPK", "Kaolin", "Silica", "Whiting", "Mystery", "Unknown"}));

    list = MakeList(recipe);
    list.SortByTypeOrder({});
    EXPECT_EQ(Names(list),
              (std::vector<std::string>{"Whiting", "Silica", "EPK", "Kaolin", "Mystery", "Unknown"}));

    g_prefs.mattyp = {"flux", "silica"};
    list = MakeList(recipe);
    list.SortByPreferredTypeOrder();
    EXPECT_EQ(Names(list),
              (std::vector<std::string>{"Whiting", "Silica", "EPK", "Kaolin", "Mystery", "Unknown"}));

    // The program's own finder takes the types from the open materials database.
    SetMaterialTypeFinder(m_previous);
    CMaterialsDoc materials;
    CMaterial clay("Ball Clay");
    clay.m_type = "clay";
    materials.InsertMaterial(0, clay);
    CMaterial flint("Flint");
    flint.m_type = "silica";
    materials.InsertMaterial(1, flint);
    list = MakeList({{"Mystery", 1}, {"Flint", 2}, {"Ball Clay", 3}});
    list.SortByTypeOrder({"clay", "silica"});
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Ball Clay", "Flint", "Mystery"}));
}

TEST_F(IngredientListTest, DistributeFollowsTheOldAdditionsByNameAndByType)
{
    CIngredientList components = MakeList({{"Silica", 30}, {"Kaolin", 20}});
    CIngredientList additions = MakeList({{"Zircopax", 10}});
    CIngredientList recipe = MakeList({{"Kaolin", 25}, {"Zircopax (ZP)", 2}, {"Whiting", 15},
                                       {"zircopax", 8}, {"Silica", 35}, {"Mystery", 1}});
    recipe.DistributeTo(components, additions);
    EXPECT_TRUE(recipe.empty());
    // "zircopax" by name; "Zircopax (ZP)" is no name match but an opacifier, a type the old
    // recipe used only among its additions.
    EXPECT_EQ(Contents(additions), (Lines{{"zircopax", 8}, {"Zircopax (ZP)", 2}}));
    EXPECT_EQ(Contents(components), (Lines{{"Silica", 35}, {"Kaolin", 25}, {"Whiting", 15}, {"Mystery", 1}}));
}

TEST_F(IngredientListTest, DistributeKeepsTypesOfTheComponentsAmongTheComponents)
{
    // Tin oxide makes opacifiers a component type: the (ZP) line now follows it as a component
    // (after the name matches of tin oxide), while "zircopax" still matches the old addition by
    // name.
    s_tinIsOpacifier = true;
    CIngredientList components = MakeList({{"Silica", 30}, {"Tin Oxide (SN)", 5}, {"Mystery", 1}});
    CIngredientList additions = MakeList({{"Zircopax (Z)", 10}});
    CIngredientList recipe = MakeList({{"Other", 3}, {"Zircopax (ZP)", 2}, {"zircopax", 8},
                                       {"Whiting", 4}, {"Silica", 35}, {"Tin oxide", 4}});
    recipe.DistributeTo(components, additions);
    EXPECT_EQ(Contents(additions), (Lines{{"zircopax", 8}}));
    // After "Mystery", a material the database does not hold, come the other unknown lines.
    EXPECT_EQ(Contents(components),
              (Lines{{"Silica", 35}, {"Tin oxide", 4}, {"Zircopax (ZP)", 2}, {"Other", 3}, {"Whiting", 4}}));

    // With no materials database the type rules find nothing.
    SetMaterialTypeFinder(nullptr);
    components = MakeList({{"Silica", 30}});
    additions = MakeList({{"Zircopax", 10}});
    recipe = MakeList({{"Zircopax (ZP)", 2}, {"zircopax", 8}, {"Silica", 35}});
    recipe.DistributeTo(components, additions);
    EXPECT_EQ(Contents(additions), (Lines{{"zircopax", 8}}));
    EXPECT_EQ(Contents(components), (Lines{{"Silica", 35}, {"Zircopax (ZP)", 2}}));
}

TEST_F(IngredientListTest, DistributeWithoutAnOldRecipeMakesEverythingAComponent)
{
    const Lines recipe = {{"Whiting", 15}, {"Silica", 35}, {"Mystery", 1}};
    CIngredientList components;
    CIngredientList additions;
    CIngredientList list = MakeList(recipe);
    list.DistributeTo(components, additions);
    EXPECT_EQ(Contents(components), recipe);
    EXPECT_TRUE(additions.empty());
    EXPECT_TRUE(list.empty());
}

} // namespace
