#include "tools/FindSimilarGlazes.h"

#include "core/support/CheckedItems.h"
#include "core/tools/GlazeToolsTestSupport.h"
#include "framework/ProgressSink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// A progress window whose user presses Cancel before the cancelAt-th step (0: never).
class CFakeProgress : public CProgressSink {
public:
    void Open(const std::string& text, const std::string& first) override
    {
        caption = text;
        texts.push_back(first);
        ++opened;
    }
    void SetText(const std::string& text) override { texts.push_back(text); }
    bool KeepGoing() override
    {
        ++steps;
        includeAdditions.push_back(g_prefs.anchadd);
        if (cancelAt > 0 && steps >= cancelAt)
            cancelled = true;
        return !cancelled;
    }
    void Close() override { ++closed; }

    std::string caption;
    std::vector<std::string> texts;
    std::vector<int> includeAdditions; // the preference at each step
    int cancelAt = 0;
    bool cancelled = false;
    int steps = 0;
    int opened = 0;
    int closed = 0;
};

class FindSimilarGlazesTest : public GlazeToolsTestBase {
protected:
    FindSimilarGlazesTest()
    {
        m_doc = NewDatabase({MakeGlaze("G1", {{"Silica", 50}, {"Whiting", 50}}),
                             MakeGlaze("G2", {{"Silica", 50}, {"Whiting", 50}}),
                             MakeGlaze("G3", {{"Silica", 50}, {"Kaolin", 50}}), MakeGlaze("G4", {{"Alumina", 100}})});
        m_request.cutoff = 0.0;
    }
    std::vector<std::string> Search(CGlazesDoc& current, bool expectFinished = true)
    {
        std::vector<std::string> lines;
        CFindSimilarGlazes search(current, m_request);
        EXPECT_EQ(search.Run(m_progress, [&lines](const std::string& line) { lines.push_back(line); }),
                  expectFinished);
        return lines;
    }
    // Only these measures (indices into the dialog's eight boxes) switched on.
    void Measures(std::initializer_list<int> measures)
    {
        m_request.measures.fill(0);
        for (int m : measures)
            m_request.measures[static_cast<std::size_t>(m)] = 1;
    }

    CGlazesDoc* m_doc = nullptr;
    CFindSimilarGlazesRequest m_request;
    CFakeProgress m_progress;
};

TEST_F(FindSimilarGlazesTest, SummaryOfTheBestPairsOfADatabase)
{
    m_request.compareScope = kSimilarAllGlazes;
    m_request.summaryOnly = 1;
    Measures({6});
    // A pair and its mirror are listed once; with five places the later of equal scores and the
    // pairs scoring no more than the fifth stay out.
    EXPECT_THAT(Search(*m_doc), ElementsAre("==========================", "=== Similarity Summary ===",
                                            "==========================", "", "Ingredient similarity :",
                                            "  100.00  G1", "          G2", "   33.33  G1", "          G3",
                                            "   33.33  G2", "          G3", "    0.00  G1", "          G4",
                                            "    0.00  G2", "          G4", ""));
    EXPECT_EQ(m_progress.caption, "Finding similar glazes");
    std::vector<std::string> texts = {"Initializing..."};
    for (int i = 1; i <= 10; ++i)
        texts.push_back("Comparing " + std::to_string(i) + " of 16");
    EXPECT_THAT(m_progress.texts, ElementsAreArray(texts));
    EXPECT_EQ(m_progress.steps, 16);
    EXPECT_EQ(m_progress.closed, 1);

    // Show all: every pair once, highest first.
    m_request.showAll = 1;
    const std::vector<std::string> all = Search(*m_doc);
    ASSERT_EQ(all.size(), 4u + 1u + 6u * 2u + 1u);
    EXPECT_EQ(all[5], "  100.00  G1");
    EXPECT_EQ(all[6], "          G2");
}

// Regression: "Show all" kept the first 1,000 matches and silently dropped later, better ones.
TEST_F(FindSimilarGlazesTest, ShowAllKeepsTheBestThousandAndSaysSo)
{
    std::vector<CGlaze> glazes = {MakeGlaze("First", {{"Silica", 50}, {"Whiting", 50}})};
    for (int i = 0; i < 1001; ++i)
        glazes.push_back(MakeGlaze("Other " + std::to_string(i), {{"Silica", 50}, {"Kaolin", 50}}));
    glazes.push_back(MakeGlaze("Twin", {{"Silica", 50}, {"Whiting", 50}}));
    CGlazesDoc* doc = NewDatabase(glazes, "Many");
    WindowOf(doc).selection.rows = {0};
    Measures({6});
    m_request.showAll = 1;
    const std::vector<std::string> lines = Search(*doc);
    ASSERT_EQ(lines.size(), 4u + 1u + 1000u + 2u);
    EXPECT_EQ(lines[5], "  100.00  Twin");
    EXPECT_EQ(lines[6], "   33.33  Other 0");
    EXPECT_EQ(lines[1005], "  Only the best 1000 matches are listed.");
}

TEST_F(FindSimilarGlazesTest, OneSelectedGlazeAgainstItsDatabaseSelectsTheMatches)
{
    CScriptedSelection& selection = WindowOf(m_doc).selection;
    selection.rows = {0};
    EXPECT_EQ(SingleSelectedRow(*m_doc), 0);
    Measures({6, 7});
    m_request.topCount = 2;
    g_prefs.anchadd = 0;
    m_request.includeAdditions = 1;
    // The glaze itself is never listed but counts in the progress total.
    EXPECT_THAT(Search(*m_doc), ElementsAre("==========", "=== G1 ===", "==========", "", "Ingredient similarity :",
                                            "  100.00  G2", "   33.33  G3", "", "Ingredient/amount similarity :",
                                            "  100.00  G2", "   50.00  G3", "", "Composite similarity :",
                                            "  100.00  G2", "   41.67  G3", ""));
    EXPECT_EQ(LastItem(m_progress.texts), "Comparing 4 of 4");
    EXPECT_THAT(selection.rows, ElementsAre(1, 2, 1, 2, 1, 2, 0));
    EXPECT_THAT(m_progress.includeAdditions, ElementsAre(1, 1, 1, 1));
    EXPECT_EQ(g_prefs.anchadd, 0);

    // Composite only with one measure: the header and nothing else.
    selection.rows = {0};
    m_request.compositeOnly = 1;
    Measures({6});
    EXPECT_THAT(Search(*m_doc), ElementsAre("==========", "=== G1 ===", "==========", ""));
    // Without Select similar the search leaves the selection alone.
    selection.rows = {0};
    m_request.selectSimilar = 0;
    Search(*m_doc);
    EXPECT_THAT(selection.rows, ElementsAre(0));
}

TEST_F(FindSimilarGlazesTest, LessVerboseOutputOverTwoDatabases)
{
    CGlazesDoc* more = NewDatabase({MakeGlaze("G5", {{"Stardust", 100}}), MakeGlaze("G6", {{"Whiting", 100}})}, "More");
    m_request.compareScope = kSimilarAllGlazes;
    m_request.compareDatabases = kSimilarAllDatabases;
    m_request.compareToDatabases = kSimilarAllDatabases;
    m_request.lessVerbose = 1;
    m_request.cutoff = 70.0;
    Measures({0, 6});
    const std::vector<std::string> lines = Search(*m_doc);
    const std::vector<std::string> g1 = {"===================", "=== G1 (Glazes) ===", "===================", "",
                                         "Nonvolatile oxide similarity (% weight) :", "  100.00  G2 (Glazes)", "",
                                         "Ingredient similarity :", "  100.00  G2 (Glazes)", "",
                                         "Composite similarity :", "  100.00  G2 (Glazes)", ""};
    ASSERT_EQ(lines.size(), 2 * g1.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 13), g1);
    EXPECT_EQ(lines[14], "=== G2 (Glazes) ===");
    EXPECT_EQ(LastItem(m_progress.texts), "Comparing 30 of 36");

    // A glaze of unknown chemistry says so; its oxide scores are 0.
    m_request = CFindSimilarGlazesRequest();
    m_request.compareScope = kSimilarAllGlazes;
    m_request.cutoff = 0.0;
    const std::vector<std::string> unknown = Search(*more);
    ASSERT_GE(unknown.size(), 7u);
    EXPECT_THAT(std::vector<std::string>(unknown.begin(), unknown.begin() + 7),
                ElementsAre("==========", "=== G5 ===", "==========", "(chemical analysis unknown)", "",
                            "Nonvolatile oxide similarity (% weight) :", "    0.00  G6"));
}

TEST_F(FindSimilarGlazesTest, CancelStopsAtTheNextComparisonAndPutsBackWhatItChanged)
{
    m_request.compareScope = kSimilarAllGlazes;
    g_prefs.anchadd = 1;
    m_request.includeAdditions = 0;
    m_progress.cancelAt = 6;
    const std::vector<std::string> lines = Search(*m_doc, false);
    // G1's four comparisons were reported; G2's first was made, its second never.
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(ItemAt(lines, 1), "=== G1 ===");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "=== G2 ==="), 0);
    EXPECT_EQ(LastItem(m_progress.texts), "Comparing 5 of 16");
    EXPECT_EQ(m_progress.closed, 1);
    EXPECT_EQ(g_prefs.anchadd, 1);
    EXPECT_FALSE(Found(m_doc->GetGlaze(0)).HasAnalysis());

    // In summary mode nothing is written; the run stops at once when cancelled before it starts.
    m_request.summaryOnly = 1;
    m_progress = CFakeProgress();
    m_progress.cancelAt = 1;
    EXPECT_TRUE(Search(*m_doc, false).empty());
    EXPECT_EQ(m_progress.steps, 1);
    EXPECT_EQ(m_progress.closed, 1);

    // The command: the lines go to the Information window even when cancelled.
    CInformationWindowFixture information;
    m_request.summaryOnly = 0;
    m_progress = CFakeProgress();
    m_progress.cancelAt = 6;
    EXPECT_FALSE(RunFindSimilarGlazes(m_request, *m_doc, m_progress));
    EXPECT_EQ(information.Text().rfind("==========\r\n=== G1 ===\r\n", 0), 0u);
    ASSERT_EQ(information.frames.size(), 1u);
    EXPECT_EQ(information.frames[0]->minimized, 1);
    EXPECT_EQ(information.frames[0]->activated, 1);
    // Regression: the report was left scrolled to its end.
    ASSERT_NE(g_pInformationDoc, nullptr);
    EXPECT_TRUE(FakeViewOf(g_pInformationDoc).caretAtStart);
}

} // namespace
