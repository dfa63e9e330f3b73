#include "tools/ShoppingList.h"

#include "core/support/CheckedItems.h"
#include "core/tools/GlazeToolsTestSupport.h"
#include "textfile/Information.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class ShoppingListTest : public GlazeToolsTestBase {
protected:
    ShoppingListTest()
    {
        CGlaze p = MakeGlaze("Celadon", {{"Silica", 60}, {"Whiting", 40}});
        p.m_batchSize = 500.0;
        m_doc = NewDatabase({p, MakeGlaze("Rutile Blue", {{"silica", 30}, {"Kaolin", 70}}, {{"Rutile", 5}})});
    }
    CStringArrayEx List(const CShoppingListRequest& request)
    {
        std::vector<CGlaze*> glazes;
        m_doc->GetSelectedGlazes(glazes, true);
        CStringArrayEx lines;
        MakeShoppingList(std::vector<const CGlaze*>(glazes.begin(), glazes.end()), request, lines);
        return lines;
    }

    CGlazesDoc* m_doc = nullptr;
};

TEST_F(ShoppingListTest, TwoBatchesInGrams)
{
    // Celadon at its batch size of 500 g; Rutile Blue has none and counts at its recipe size,
    // its addition included in the totals but not in its size.
    CShoppingListRequest request;
    request.unit = kShopGrams;
    EXPECT_THAT(List(request), ElementsAre("To make these glazes :",
                                           "Celadon        500.00 g",
                                           "Rutile Blue    100.00 g",
                                           "",
                                           "You need these ingredients :",
                                           "Kaolin      70.00  g",
                                           "Rutile       5.00  g",
                                           "Silica     330.00  g",
                                           "Whiting    200.00  g"));

    // A custom size scales every glaze; a size that is no positive number falls back to 100 g.
    request.recipeSize = kShopCustomSize;
    request.sizeText = "  250g";
    g_prefs.tzsrecipe = 0;
    EXPECT_THAT(List(request), ElementsAre("To make these glazes :", "Celadon        250.   g",
                                           "Rutile Blue    250.   g", "", "You need these ingredients :",
                                           "Kaolin     175.    g", "Rutile      12.5   g", "Silica     225.    g",
                                           "Whiting    100.    g"));
    for (const char* text : {"abc", "0", "-5"}) {
        request.sizeText = text;
        const CStringArrayEx lines = List(request);
        ASSERT_EQ(lines.size(), 10u);
        EXPECT_EQ(lines[0], "Size \"" + std::string(text) + "\" not understood; using 100g");
        EXPECT_EQ(lines[2], "Celadon        100.   g");
    }
}

TEST_F(ShoppingListTest, PoundsKilogramsAndTheInformationWindow)
{
    CShoppingListRequest request;
    request.recipeSize = kShopRecipeSize;
    request.unit = kShopPounds;
    g_prefs.decrecipe = 4;
    g_prefs.tzsrecipe = 4;
    const CStringArrayEx pounds = List(request);
    // Recipe size: Celadon is not scaled to its batch.
    EXPECT_EQ(ItemAt(pounds, 1), "Celadon        100.0000 g");
    EXPECT_EQ(ItemAt(pounds, 7), "Silica     0.1984  lb"); // 90 g
    request.unit = kShopKilograms;
    EXPECT_EQ(ItemAt(List(request), 7), "Silica     0.0900  kg");
    CGlaze ton = MakeGlaze("Ton", {{"Silica", 1000}});
    CStringArrayEx lines;
    request.unit = kShopPounds;
    MakeShoppingList({&ton}, request, lines);
    EXPECT_EQ(LastItem(lines), "Silica    2.2046  lb");

    // The command: the selected glazes into the emptied Information window, which stays
    // minimised while the lines arrive. A glaze that cannot be converted is listed at 0 g and
    // adds nothing.
    CInformationWindowFixture information;
    ShowInformation("an old report");
    CGlaze odd = MakeGlaze("Odd", {{"Stardust", 10}});
    odd.m_byVol = 1;
    m_doc->InsertGlaze(2, odd);
    WindowOf(m_doc).selection.rows = {1, 2};
    g_prefs.decrecipe = 1;
    g_prefs.tzsrecipe = 1;
    request.unit = kShopGrams;
    RunShoppingList(request, *m_doc);
    EXPECT_EQ(information.Text(), "To make these glazes :\r\n"
                                  "Rutile Blue    100.0 g\r\n"
                                  "Odd              0.0 g\r\n"
                                  "\r\n"
                                  "You need these ingredients :\r\n"
                                  "Kaolin    70.0  g\r\n"
                                  "Rutile     5.0  g\r\n"
                                  "silica    30.0  g\r\n");
    EXPECT_THAT(m_messages.Texts(), ElementsAre("Cannot convert \"Odd\" to recipe by weight!"));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30584u);
    ASSERT_EQ(information.frames.size(), 1u);
    EXPECT_EQ(information.frames[0]->minimized, 1);
    EXPECT_EQ(information.frames[0]->activated, 1);
}

} // namespace
