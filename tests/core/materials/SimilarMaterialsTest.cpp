#include "materials/SimilarMaterials.h"

#include "core/shell/FakeMessageService.h"
#include "core/tools/GlazeToolsTestSupport.h"
#include "materials/Material.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "framework/ProgressSink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// A progress window whose user presses Cancel before the cancelAt-th step (0: never).
class CCountingProgress : public CProgressSink {
public:
    void Open(const std::string& text, const std::string& first) override
    {
        caption = text;
        texts.push_back(first);
    }
    void SetText(const std::string& text) override { texts.push_back(text); }
    bool KeepGoing() override
    {
        ++steps;
        return !(cancelAt > 0 && steps >= cancelAt);
    }
    void Close() override { ++closed; }

    std::string caption;
    std::vector<std::string> texts;
    int steps = 0;
    int cancelAt = 0;
    int closed = 0;
};

class CRows : public CMaterialRowSelection {
public:
    std::vector<int> GetSelectedRows() const override { return rows; }
    void ClearSelection() override { rows.clear(); }
    void SelectRow(int row) override { rows.push_back(row); }
    std::vector<int> rows;
};

class SimilarMaterialsTest : public ::testing::Test {
protected:
    SimilarMaterialsTest()
    {
        Add("Silica", "SiO2");             // 0
        Add("Whiting", "CaCO3");           // 1
        Add("Quartz", "SiO2");             // 2: the same chemistry as Silica
        Add("Talc", "3MgO 4SiO2 H2O");    // 3
        Add("Kaolin", "Al2O3 2SiO2 2H2O"); // 4
        Add("Flint", "SiO2", "Silica");    // 5: mapped, never compared
    }
    void Add(const std::string& name, const std::string& formula, const std::string& mapTo = {})
    {
        CMaterial material(name);
        EXPECT_EQ(material.SetFormula(formula, nullptr), 0);
        material.m_mapTo = mapTo;
        m_doc.InsertMaterial(m_doc.Materials().GetCount(), material);
    }
    std::vector<std::string> Search(bool expectFinished = true)
    {
        std::vector<std::string> lines;
        CFindSimilarMaterials search(m_doc, m_request, &m_rows);
        EXPECT_EQ(search.Run(m_progress, [&lines](const std::string& line) { lines.push_back(line); }),
                  expectFinished);
        return lines;
    }

    CAppContext m_context;
    CFakeMessageService m_messages;
    CMaterialsDoc m_doc;
    CFindSimilarMaterialsRequest m_request;
    CRows m_rows;
    CCountingProgress m_progress;
};

TEST_F(SimilarMaterialsTest, OneSelectedMaterialIsReportedAgainstAllOthersBestFirst)
{
    m_rows.rows = {0};
    m_request.topCount = 3;
    m_request.cutoff = 0.0;
    m_request.categories = {1, 0, 1, 0, 0, 0};
    EXPECT_THAT(Search(), ElementsAre("==============", "=== Silica ===", "==============", "",
                                      "Nonvolatile oxide similarity (% weight) :", "  100.00  Quartz",
                                      "   66.53  Talc", "   54.10  Kaolin", "",
                                      // counting the water of talc and kaolin
                                      "All oxide similarity (% weight) :", "  100.00  Quartz", "   63.37  Talc",
                                      "   46.55  Kaolin", "", "Composite similarity :", "  100.00  Quartz",
                                      "   64.95  Talc", "   50.32  Kaolin", ""));
    // Every row of the list counts in the progress total, the mapped one too; only the five
    // unmapped materials are stepped through.
    EXPECT_EQ(m_progress.caption, "Finding similar materials");
    EXPECT_THAT(m_progress.texts, ElementsAre("Initializing...", "Comparing 1 of 6", "Comparing 2 of 6",
                                              "Comparing 3 of 6", "Comparing 4 of 6", "Comparing 5 of 6"));
    EXPECT_EQ(m_progress.closed, 1);
    // "Select similar materials": the listed materials, then the compared one again.
    EXPECT_THAT(m_rows.rows, ElementsAre(2, 3, 4, 2, 3, 4, 2, 3, 4, 0));

    // The cutoff keeps a score equal to it and refuses a lower one.
    m_rows.rows = {0};
    m_request.cutoff = 100.0;
    m_request.categories = {1, 0, 0, 0, 0, 0};
    m_request.selectSimilar = 0;
    m_request.showAll = 1;
    EXPECT_THAT(Search(), ElementsAre("==============", "=== Silica ===", "==============", "",
                                      "Nonvolatile oxide similarity (% weight) :", "  100.00  Quartz", ""));
    EXPECT_THAT(m_rows.rows, ElementsAre(0));
    // A material like no other says so, block by block.
    m_rows.rows = {1};
    EXPECT_THAT(Search(), ElementsAre("===============", "=== Whiting ===", "===============", "",
                                      "Nonvolatile oxide similarity (% weight) :", "  none found", ""));
}

TEST_F(SimilarMaterialsTest, CompositeOnlyWithOneCategoryWritesHeadingsOnly)
{
    m_request.compareScope = kSimilarAllMaterials;
    m_request.compositeOnly = 1;
    m_request.cutoff = 0.0;
    const std::vector<std::string> lines = Search();
    ASSERT_EQ(lines.size(), 20u); // five materials, four lines each: Flint is left out
    EXPECT_EQ(lines[1], "=== Silica ===");
    EXPECT_EQ(lines[17], "=== Kaolin ===");
    EXPECT_EQ(lines[19], "");
}

TEST_F(SimilarMaterialsTest, TheSummaryListsEachPairOnce)
{
    m_request.compareScope = kSimilarAllMaterials;
    m_request.summaryOnly = 1;
    m_request.topCount = 2;
    m_request.cutoff = 50.0;
    m_request.lessVerbose = 1;
    EXPECT_THAT(Search(), ElementsAre("==========================", "=== Similarity Summary ===",
                                      "==========================", "", "Nonvolatile oxide similarity (% weight) :",
                                      "  100.00  Silica", "          Quartz", "   66.53  Silica", "          Talc",
                                      ""));
    // "Show all": every pair that passes the cutoff, its mirror removed, sorted.
    m_request.showAll = 1;
    m_request.cutoff = 55.0;
    EXPECT_THAT(Search(), ElementsAre("==========================", "=== Similarity Summary ===",
                                      "==========================", "", "Nonvolatile oxide similarity (% weight) :",
                                      "  100.00  Silica", "          Quartz", "   66.53  Silica", "          Talc",
                                      "   66.53  Quartz", "          Talc", ""));
    // No pair at all: the summary says so, unless it is to be less verbose.
    m_request.cutoff = 100.0;
    m_request.compareScope = kSimilarSelectedMaterials;
    m_rows.rows = {1};
    m_request.lessVerbose = 0;
    EXPECT_THAT(Search(), ElementsAre("==========================", "=== Similarity Summary ===",
                                      "==========================", "", "Nonvolatile oxide similarity (% weight) :",
                                      "  none found", ""));
}

TEST_F(SimilarMaterialsTest, CancelStopsBetweenComparisonsAndTheCommandReportsToInformation)
{
    CInformationWindowFixture information;
    m_request.compareScope = kSimilarAllMaterials;
    m_request.cutoff = 0.0;
    m_progress.cancelAt = 7;
    m_rows.rows = {1};
    EXPECT_FALSE(RunFindSimilarMaterials(m_request, m_doc, &m_rows, m_progress));
    EXPECT_EQ(m_progress.steps, 7);
    EXPECT_EQ(m_progress.closed, 1);
    // Silica's report was written; Whiting's was not begun.
    EXPECT_EQ(information.Text(), "==============\r\n=== Silica ===\r\n==============\r\n\r\n"
                                  "Nonvolatile oxide similarity (% weight) :\r\n"
                                  "  100.00  Quartz\r\n   66.53  Talc\r\n   54.10  Kaolin\r\n"
                                  "    0.00  Whiting\r\n\r\n");
    EXPECT_THAT(m_rows.rows, ElementsAre(1)); // "select similar" needs Compare = selected

    // A database that shrinks while events run stops the search with a line.
    m_progress = CCountingProgress();
    std::vector<std::string> lines;
    CFindSimilarMaterials search(m_doc, m_request, nullptr);
    struct CDeleting : CCountingProgress {
        CMaterialsDoc* doc = nullptr;
        bool KeepGoing() override
        {
            if (++steps == 3)
                doc->DeleteMaterial(4);
            return true;
        }
    } deleting;
    deleting.doc = &m_doc;
    EXPECT_FALSE(search.Run(deleting, [&lines](const std::string& line) { lines.push_back(line); }));
    EXPECT_THAT(lines, ElementsAre("Search stopped: the materials database was closed or changed."));
}

} // namespace
