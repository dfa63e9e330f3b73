#include "glazes/RecipeEntry.h"

#include "TestPaths.h"
#include "glazes/IngredientList.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/AmountLines.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RecipeEntryTest : public ::testing::Test {
protected:
    RecipeEntryTest() { m_materials.OnOpenDocument(std::string(OXI_SHIPPED_DATA_DIR) + "/materials.mat"); }

    CAppContext m_context;
    CMaterialsDoc m_materials;
};

} // namespace

TEST_F(RecipeEntryTest, LinesAreWrittenRightAlignedWithDoubledPadding)
{
    g_prefs.decrecipeinput = 2;
    g_prefs.tzsrecipeinput = 1;
    // 45.5 prints as two blanks and 45.50, loses one zero, and its two blanks are written twice.
    EXPECT_EQ(FormatRecipeLine("Feldspar", 45.5), "Feldspar\t    45.5");
    EXPECT_EQ(FormatRecipeLine("Silica", 1234.567), "Silica\t1234.57");
    g_prefs.tzsrecipeinput = 0;
    EXPECT_EQ(FormatRecipeAmount(8), "      8.");
    g_prefs.decrecipeinput = 3;
    g_prefs.tzsrecipeinput = -1;
    EXPECT_EQ(FormatRecipeAmount(8), "      8");
    EXPECT_EQ(FormatInputAmount(2500.0), "2500");
    EXPECT_EQ(FormatInputAmount(0.1256), "0.126");
}

TEST_F(RecipeEntryTest, TypedLinesAreReadFromTheRight)
{
    // A positive amount makes an ingredient, named as the database names the material; a line
    // that is all name, or whose amount is 0 or less, makes none.
    CIngredientList read;
    EXPECT_FALSE(ReadAmountLines({"  Custer Feldspar \t 45.5  ", "Silica", "Silica 0", "Silica -3", "whiting 8"}, read));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetAt(0).m_name, "Custer Feldspar");
    EXPECT_DOUBLE_EQ(read.GetAt(0).m_amount, 45.5);
    EXPECT_EQ(read.GetAt(1).m_name, "Whiting");
    // The first line whose amount is no number comes back ("Talc 1,5" has no amount, not 1);
    // the lines around it are read all the same.
    const CRefusedLine refused = ReadAmountLines({"Silica 10", " Talc 1,5 ", "Kaolin abc", "Kaolin 2"}, read);
    EXPECT_EQ(refused.line, 1);
    EXPECT_EQ(refused.text, "Talc 1,5");
    EXPECT_EQ(refused.Message(), "The amount of \"Talc 1,5\" is not a number. Please enter a number between 0 and 999999999.");
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetAt(1).m_name, "Kaolin");
    EXPECT_EQ(ReadAmountLines({"Silica 10", "Kaolin 1e999"}, read).Message(),
              "The amount of \"Kaolin 1e999\" is too large. Please enter a number between 0 and 999999999.");

    // Enter: the database's own name and the written form; no amount empties the line.
    EXPECT_EQ(RebuildRecipeLine("whiting 8"), "Whiting\t      8");
    EXPECT_EQ(RebuildRecipeLine("WOLL 15"), "Wollastonite\t    15");
    EXPECT_EQ(RebuildRecipeLine("Mystery Frit 3.25"), "Mystery Frit\t      3.25");
    EXPECT_EQ(RebuildRecipeLine("whiting"), "");
    EXPECT_EQ(RebuildRecipeLine("whiting 0"), "");
    // A line whose amount is refused stays as typed, for the user to mend.
    for (const char* refused : {"Talc 1,5", "Silica abc", "Kaolin 1e999", "Silica 12abc"})
        EXPECT_EQ(RebuildRecipeLine(refused), refused);
}

TEST_F(RecipeEntryTest, TabCompletesUniquePrefixesOnly)
{
    EXPECT_EQ(CompleteRecipeName("wollas"), "Wollastonite\t");
    EXPECT_EQ(CompleteRecipeName(" kao "), "Kaolin\t") << "a code is known exactly";
    EXPECT_EQ(CompleteRecipeName("K"), "K") << "Kaolin and KSPAR begin with it: the user types on";
    EXPECT_EQ(CompleteRecipeName("Zirconium Unobtainium"), "Zirconium Unobtainium\t");
    EXPECT_EQ(CompleteRecipeName("   "), "");
}

TEST_F(RecipeEntryTest, RoundingNeverReachesZero)
{
    EXPECT_DOUBLE_EQ(RoundRecipeAmount(0.25, 0), 0.3);
    EXPECT_DOUBLE_EQ(RoundRecipeAmount(0.05, 0), 0.05);
    EXPECT_DOUBLE_EQ(RoundRecipeAmount(0.004, 0), 0.01);
    EXPECT_DOUBLE_EQ(RoundRecipeAmount(12.5, 0), 13.0);
    EXPECT_DOUBLE_EQ(RoundRecipeAmount(12.345, -2), 12.35);
    EXPECT_DOUBLE_EQ(RoundRecipeAmount(12.345, -1), 12.3);
    EXPECT_DOUBLE_EQ(RoundRecipeAmount(0.123, -2), 0.12);
    EXPECT_DOUBLE_EQ(RoundRecipeAmount(0.0123, -1), 0.01);

    EXPECT_DOUBLE_EQ(2.0 * VolumeScaleFactor(2.0), 3.0);
    EXPECT_DOUBLE_EQ(0.5 * VolumeScaleFactor(0.5), 1.0);
    EXPECT_DOUBLE_EQ(7.0 * VolumeScaleFactor(7.0), 1.0);
    EXPECT_DOUBLE_EQ(6.0 * VolumeScaleFactor(6.0), 7.0);

    double value = -1.0;
    EXPECT_TRUE(EvaluateBatchSizeExpression(" x2.5", 1000.0, value));
    EXPECT_DOUBLE_EQ(value, 2500.0);
    EXPECT_TRUE(EvaluateBatchSizeExpression("/4", 1000.0, value));
    EXPECT_DOUBLE_EQ(value, 250.0);
    EXPECT_TRUE(EvaluateBatchSizeExpression("*2", 80.0, value));
    EXPECT_DOUBLE_EQ(value, 160.0);
    EXPECT_TRUE(EvaluateBatchSizeExpression("/0", 1000.0, value));
    EXPECT_DOUBLE_EQ(value, 0.0);
    EXPECT_TRUE(EvaluateBatchSizeExpression("xabc", 1000.0, value));
    EXPECT_DOUBLE_EQ(value, 0.0);
    value = 7.0;
    EXPECT_FALSE(EvaluateBatchSizeExpression("350", 1000.0, value));
    EXPECT_DOUBLE_EQ(value, 7.0);
}
