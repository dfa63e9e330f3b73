#include "shell/Preferences.h"

#include "elements/ElementList.h"
#include "support/LogFont.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

std::vector<int> Entries(const std::array<int, kElementListCapacity>& slots, int count)
{
    return std::vector<int>(slots.begin(), slots.begin() + (count > 0 ? count : 0));
}

int ParseOrder(const std::string& sugord, std::array<int, kElementListCapacity>& order)
{
    return ParseElementOrder(sugord, order);
}

} // namespace

TEST(PreferencesTest, FreshObjectHasTheDefaults)
{
    const CPreferences prefs;

    EXPECT_EQ(prefs.mattab, "K Na Ca Mg Ba Zn Pb B Al Si Zr LOI");
    EXPECT_EQ(prefs.glztab, "K Na Ca Mg Ba Zn Pb B Al Si Zr");
    EXPECT_EQ(prefs.glzext3, "N123:;@&^%$");
    EXPECT_EQ(prefs.optimizecol1, "Na,K,Mg,Ca,Li,Zn,Sr,Ba,Pb,,Nk");
    EXPECT_EQ(prefs.prtrecsizelist, "100,500,1000,2000,5000");
    EXPECT_EQ(prefs.hazwarn, "Health warning!");
    EXPECT_EQ(prefs.datefmt, "%m/%d/%Y");

    ASSERT_EQ(prefs.glztyp.size(), 65u);
    EXPECT_EQ(prefs.glztyp.front(), "Aluminum matt");
    EXPECT_EQ(prefs.glztyp[7], "Carbon trap");
    EXPECT_EQ(prefs.glztyp[8], "Celadon");
    EXPECT_EQ(prefs.glztyp[44], "Temmoku (Hare's fur)");
    EXPECT_EQ(prefs.glztyp[46], "Temmoku (Oilspot)");
    EXPECT_EQ(prefs.glztyp[47], "Temmoku (Partridge feather)");
    EXPECT_EQ(prefs.glztyp.back(), "Terra sigillata");
    EXPECT_TRUE(prefs.glzrng.empty());
    EXPECT_THAT(prefs.mattyp, ElementsAre("frit", "feldspar", "clay", "flux", "opacifier",
                                          "alumina", "silica", "colorant", "miscellaneous"));
    EXPECT_THAT(prefs.glzftyp, ElementsAre("Oxidation", "Reduction", "Ox. or Red.", "Raku",
                                           "Salt - Soda", "Wood", "Saggar"));
    EXPECT_TRUE(prefs.glzfile.empty() && prefs.txtfile.empty() && prefs.expert.empty());

    // The flags that differ from their neighbours, and the numeric formats.
    EXPECT_EQ(prefs.anchvisco, 0);
    EXPECT_EQ(prefs.anchvolat, 1);
    EXPECT_EQ(prefs.coltyp, 1);
    EXPECT_EQ(prefs.hazvis, 2);
    EXPECT_EQ(prefs.prtbmar, 750);
    const std::array<int, 16> formats = {
        prefs.decrecipe, prefs.decrecipepct, prefs.decrecipeinput, prefs.decanalysis,
        prefs.decanalysispct, prefs.decremainders, prefs.decformulas, prefs.declimformulas,
        prefs.tzsrecipe, prefs.tzsrecipepct, prefs.tzsrecipeinput, prefs.tzsanalysis,
        prefs.tzsanalysispct, prefs.tzsremainders, prefs.tzsformulas, prefs.tzslimformulas};
    EXPECT_THAT(formats, ElementsAre(2, 1, 3, 2, 1, 5, 3, 3, 2, 1, -1, 2, 1, 5, -1, 1));

    EXPECT_EQ(LogFontToString(prefs.prtfont), "90,0,0,0,400,0,0,0,0,0,0,0,49,Courier New,");
    EXPECT_EQ(prefs.edboxfont, prefs.prtfont);

    // Remembered dialog settings.
    EXPECT_EQ(prefs.m_nBlendPointsAB, 5);
    EXPECT_EQ(prefs.m_nBlendPointsAC, 5);
    EXPECT_EQ(prefs.m_strHtmlHeader, "<TITLE></TITLE>");
    EXPECT_EQ(prefs.m_nPrefsPage, 1);
    EXPECT_EQ(prefs.m_nFindOxide, 999);
    EXPECT_EQ(prefs.m_nFindAllGlazes, 1);
    EXPECT_EQ(prefs.m_nGlazeSortElement, 14);
    EXPECT_EQ(prefs.m_nFormConvLoiOxide, 8);
    EXPECT_EQ(prefs.m_nSimGlzIncludeAdditions, 2);
    EXPECT_DOUBLE_EQ(prefs.m_dSimGlzCutoff, 90.0);
    EXPECT_DOUBLE_EQ(prefs.m_dSimMatCutoff, 80.0);
    EXPECT_THAT(prefs.m_nSimGlzMeasures, ElementsAre(1, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_DOUBLE_EQ(prefs.m_dVarrowCornerBatch, 300.0);
    const std::array<int, 5> similar = {prefs.m_nMatSortChoice, prefs.m_nSimGlzLessVerbose, prefs.m_nSimGlzTopCount,
                                        prefs.m_nSimMatHowMany, prefs.m_nSimMatTopCount};
    EXPECT_THAT(similar, ElementsAre(0, 0, 5, 0, 5));

    EXPECT_TRUE(prefs.m_strFilePath.empty());
    EXPECT_EQ(prefs.m_nVersion, 0);
}

TEST(PreferencesTest, SetDefaultsRestoresSettingsButKeepsTheFile)
{
    CPreferences prefs;
    prefs.mattab = "Si";
    prefs.decrecipe = 7;
    prefs.glztyp = {"Only"};
    prefs.glzrng = {"Cone 6"};
    prefs.glzfile = {"/data/my.glz"};
    prefs.prtfont.height = 120;
    prefs.m_nBlendPointsAB = 9;
    prefs.m_strFindValue[2] = "blue";
    prefs.m_strFilePath = "/data/prefs.dat";
    prefs.m_nVersion = 2;
    prefs.m_strErrorText = "Incorrect file type: Other";
    prefs.m_makeLimCombinations = {"R2O", "RO"};
    prefs.optimizecol4 = "Mn";
    prefs.expert = {"/data/expert.txt"};
    prefs.m_strVarrowSilica = "Flint";

    prefs.SetDefaults();

    EXPECT_EQ(prefs.optimizecol4, "");
    EXPECT_TRUE(prefs.expert.empty());
    EXPECT_EQ(prefs.m_strVarrowSilica, "");

    EXPECT_EQ(prefs.mattab, "K Na Ca Mg Ba Zn Pb B Al Si Zr LOI");
    EXPECT_EQ(prefs.decrecipe, 2);
    EXPECT_EQ(prefs.glztyp.size(), 65u);
    EXPECT_TRUE(prefs.glzrng.empty());
    EXPECT_TRUE(prefs.glzfile.empty());
    EXPECT_EQ(prefs.prtfont, CPreferences::DefaultFont());
    EXPECT_EQ(prefs.m_nBlendPointsAB, 5);
    EXPECT_EQ(prefs.m_strFindValue[2], "");

    EXPECT_EQ(prefs.m_strFilePath, "/data/prefs.dat");
    EXPECT_EQ(prefs.m_nVersion, 2);
    EXPECT_EQ(prefs.m_strErrorText, "Incorrect file type: Other");
    EXPECT_THAT(prefs.m_makeLimCombinations, ElementsAre("R2O", "RO"));
}

TEST(PreferencesTest, ParseElementOrderReadsSymbols)
{
    std::array<int, kElementListCapacity> order{};

    // Symbols may run together: NaK is sodium, then potassium.
    EXPECT_EQ(ParseOrder("NaK", order), 2);
    EXPECT_EQ(order[0], 11);
    EXPECT_EQ(order[1], 19);
    EXPECT_EQ(order[2], -1);
    EXPECT_EQ(order[103], -1);

    const int count = ParseOrder(CPreferences().sugord, order);
    ASSERT_EQ(count, 23);
    EXPECT_THAT(Entries(order, 5), ElementsAre(19, 5, 15, 3, 11)); // K B P Li Na
    EXPECT_EQ(order[22], 23);                                     // V
    EXPECT_EQ(order[23], -1);

    order.fill(7);
    EXPECT_EQ(ParseOrder("", order), 0);
    EXPECT_EQ(std::count(order.begin(), order.end(), -1), kElementListCapacity);

    EXPECT_EQ(ParseOrder("\tSi\n Al\r", order), 2);
    EXPECT_EQ(ParseOrder("K Xx", order), -1);
    EXPECT_EQ(ParseOrder("Ka", order), -1);  // the lower-case letter belongs to the symbol
    EXPECT_EQ(ParseOrder("K k", order), -1);
    EXPECT_EQ(ParseOrder("Si2", order), -1);
    // The table views' pseudo-entries are no symbols here.
    EXPECT_EQ(ParseOrder("K Nk", order), -1);
    EXPECT_EQ(ParseOrder("K LOI", order), -1);
}

TEST(PreferencesTest, ParseElementOrderTakesCommasAsBlanks)
{
    // The preferences check lets commas through, so the batch calculation must read them too.
    std::array<int, kElementListCapacity> order{};
    EXPECT_EQ(ParseOrder("K,Na, Ca ,,B", order), 4);
    EXPECT_THAT(Entries(order, 4), ElementsAre(19, 11, 20, 5));
}

TEST(PreferencesTest, ParseElementListsStopAt104Entries)
{
    std::string text;
    for (int i = 0; i < 110; ++i) {
        text += "Si ";
    }
    std::array<int, kElementListCapacity> order{};
    EXPECT_EQ(ParseOrder(text, order), kElementListCapacity);
    EXPECT_EQ(order[103], 14);
    EXPECT_EQ(ParseElementSymbolList(text, order), kElementListCapacity);
}

TEST(PreferencesTest, ParseElementSymbolListReadsSymbolsAndPseudoEntries)
{
    std::array<int, kElementListCapacity> entries{};

    ASSERT_EQ(ParseElementSymbolList(CPreferences().mattab, entries), 12);
    EXPECT_THAT(Entries(entries, 12), ElementsAre(19, 11, 20, 12, 56, 30, 82, 5, 13, 14, 40, -1));

    ASSERT_EQ(ParseElementSymbolList(CPreferences().optimizecol1, entries), 10);
    EXPECT_EQ(entries[8], 82);
    EXPECT_EQ(entries[9], kElementListSodiumPotassium);

    EXPECT_EQ(ParseElementSymbolList("loi, LOSS Vol", entries), 3);
    EXPECT_THAT(Entries(entries, 3), ElementsAre(-1, -1, -1));
    EXPECT_EQ(ParseElementSymbolList("NaKNk", entries), 3);
    EXPECT_THAT(Entries(entries, 3), ElementsAre(11, 19, -2));
    EXPECT_EQ(ParseElementSymbolList("", entries), 0);

    EXPECT_EQ(ParseElementSymbolList("K Xx", entries), -1);
    // "Nk" is compared with case: NK is nitrogen and potassium, nk nothing.
    EXPECT_EQ(ParseElementSymbolList("NK", entries), 2);
    EXPECT_THAT(Entries(entries, 2), ElementsAre(7, 19));
    EXPECT_EQ(ParseElementSymbolList("nk", entries), -1);
    EXPECT_EQ(ParseElementSymbolList("KNa", entries), 2);  // K then Na, not entry 0's "KNa"
    EXPECT_EQ(ParseElementSymbolList("K lo", entries), -1);
}

TEST(PreferencesTest, CompareDescriptorsFollowsTheVocabulary)
{
    const CPreferences prefs;
    // glzqual: Gloss, Semi-gloss, Waxy, Satin matt, Matt, Crater, Lichen.

    // A value that begins with a word takes that word's place.
    EXPECT_EQ(prefs.CompareDescriptors("Gloss, crazed", "Matt", 's', false), -1);
    EXPECT_EQ(prefs.CompareDescriptors("Matt", "Gloss, crazed", 'S', false), 1);
    EXPECT_EQ(prefs.CompareDescriptors("Matt, slightly dry", "Satin matt", 's', false), 1);
    // An exact word wins over an earlier word that only begins the value.
    EXPECT_EQ(prefs.CompareDescriptors("Ash (Volcanic)", "Ash, thick", 't', false), 1);

    // Empty values always sort last.
    EXPECT_EQ(prefs.CompareDescriptors("", "Matt", 's', false), 1);
    EXPECT_EQ(prefs.CompareDescriptors("Matt", "", 's', true), -1);
    EXPECT_EQ(prefs.CompareDescriptors("", "", 's', false), 0);

    // Known values before unknown ones; two unknown ones alphabetically, ignoring case.
    EXPECT_EQ(prefs.CompareDescriptors("Zebra", "Lichen", 's', false), 1);
    EXPECT_EQ(prefs.CompareDescriptors("Lichen", "Zebra", 's', false), -1);
    EXPECT_EQ(prefs.CompareDescriptors("zebra", "Apple", 's', false), 1);
    EXPECT_EQ(prefs.CompareDescriptors("MATT", "matt", 's', false), 0);

    // The alphabetical flag ignores the vocabulary.
    EXPECT_EQ(prefs.CompareDescriptors("Matt", "Waxy", 's', false), 1);
    EXPECT_EQ(prefs.CompareDescriptors("Matt", "Waxy", 's', true), -1);

    // Other columns: their own vocabulary, or 0 for a column without one.
    EXPECT_EQ(prefs.CompareDescriptors("Untested", "Tested", '?', false), 1);
    EXPECT_EQ(prefs.CompareDescriptors("Reduction", "Oxidation", 'f', false), 1);
    EXPECT_EQ(prefs.CompareDescriptors("Matt", "Waxy", 'n', false), 0);
}

TEST(PreferencesTest, CompareMaterialTypesFollowsThePreferredOrder)
{
    CPreferences prefs;
    EXPECT_EQ(prefs.CompareMaterialTypes("frit", "clay"), -1);
    EXPECT_EQ(prefs.CompareMaterialTypes("Clay", "FRIT"), 1);
    EXPECT_EQ(prefs.CompareMaterialTypes("Frit", "frit"), 0);
    // A known type sorts before an unknown one; two unknown ones alphabetically.
    EXPECT_EQ(prefs.CompareMaterialTypes("stain", "miscellaneous"), 1);
    EXPECT_EQ(prefs.CompareMaterialTypes("miscellaneous", "stain"), -1);
    EXPECT_EQ(prefs.CompareMaterialTypes("Stain", "glass"), 1);
    EXPECT_EQ(prefs.CompareMaterialTypes("glass", "Stain"), -1);

    prefs.mattyp = {"silica", "frit"};
    EXPECT_EQ(prefs.CompareMaterialTypes("frit", "silica"), 1);
    EXPECT_EQ(prefs.CompareMaterialTypes("clay", "feldspar"), -1);
}

TEST(PreferencesTest, AssignmentCopiesEveryGroup)
{
    CPreferences source;
    source.matshort = "NCA";
    source.sugtol = 12.5;
    source.anffs = 1;
    source.glzqual = {"Gloss", "Dry"};
    source.expert = {"/experts/a.exp"};
    source.textvfont.faceName = "Mono";
    source.tzslimformulas = 4;
    source.m_strHtmlBottom = "</BODY>";
    source.m_nSimMatMeasures[5] = 1;
    source.m_dVarrowBlendBatch = 250.0;
    source.m_strShopSizeText = "2000";
    source.m_makeLimCombinations = {"SiO2:Al2O3"};
    source.m_strFilePath = "/data/prefs.dat";
    source.m_nVersion = 1;
    source.m_strErrorText = "Error: parameter 'x', line 3";

    CPreferences target;
    target.glzqual.push_back("left over");
    target = source;

    EXPECT_EQ(target.matshort, "NCA");
    EXPECT_DOUBLE_EQ(target.sugtol, 12.5);
    EXPECT_EQ(target.anffs, 1);
    EXPECT_THAT(target.glzqual, ElementsAre("Gloss", "Dry"));
    EXPECT_THAT(target.expert, ElementsAre("/experts/a.exp"));
    EXPECT_EQ(target.textvfont.faceName, "Mono");
    EXPECT_EQ(target.tzslimformulas, 4);
    EXPECT_EQ(target.m_strHtmlBottom, "</BODY>");
    EXPECT_EQ(target.m_nSimMatMeasures[5], 1);
    EXPECT_DOUBLE_EQ(target.m_dVarrowBlendBatch, 250.0);
    EXPECT_EQ(target.m_strShopSizeText, "2000");
    EXPECT_THAT(target.m_makeLimCombinations, ElementsAre("SiO2:Al2O3"));
    EXPECT_EQ(target.m_strFilePath, "/data/prefs.dat");
    EXPECT_EQ(target.m_nVersion, 1);
    EXPECT_EQ(target.m_strErrorText, "Error: parameter 'x', line 3");

    // The copy owns its lists.
    source.glzqual.clear();
    EXPECT_EQ(target.glzqual.size(), 2u);

    CPreferences& self = target;
    target = self;
    EXPECT_THAT(target.glzqual, ElementsAre("Gloss", "Dry"));
}
