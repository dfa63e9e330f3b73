#include "core/graphs/GraphBuildTestSupport.h"
#include "core/support/CheckedItems.h"
#include "graphs/ChartDefinition.h"
#include "graphs/GraphTypeTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

class GlazeCollectionTest : public GraphBuildTestBase {
protected:
    GlazeCollectionTest()
    {
        m_a = NewDatabase({MakeGlaze("One", {}), MakeGlaze("Two", {})}, "Alpha");
        m_b = NewDatabase({MakeGlaze("Two", {}), MakeGlaze("Three", {})}, "Beta");
        m_c = NewDatabase({MakeGlaze("One", {})}, "Gamma");
    }

    void AddSource(int dsdb, int dsglz, std::string dbName = "", CStringArrayEx names = {})
    {
        CGraphDataSource source("source");
        source.dsdb = dsdb;
        source.dsglz = dsglz;
        source.dsdbname = std::move(dbName);
        source.dsgname = std::move(names);
        m_graph.m_dataSources.InsertAt(m_graph.m_dataSources.GetCount(), source);
    }
    // The names of the glazes of data source i (or of all, for -1), and of their databases.
    std::vector<std::string> Collect(int i)
    {
        std::vector<CGlaze*> glazes;
        if (i < 0)
            m_graph.CollectAllGlazes(glazes, m_a, &m_current);
        else
            m_graph.CollectDataSetGlazes(glazes, i, m_a, &m_current);
        std::vector<std::string> names;
        for (const CGlaze* glaze : glazes)
            names.push_back(glaze->m_name);
        return names;
    }
    const std::array<std::string, 4>& Titles() { return m_graph.GetChart()->Definition().titles; }

    CGlazesDoc* m_a = nullptr;
    CGlazesDoc* m_b = nullptr;
    CGlazesDoc* m_c = nullptr;
    CGlaze m_current{"Current"};
    CTestGraph m_graph;
};

TEST_F(GlazeCollectionTest, DataSourcesSelectDatabasesAndGlazes)
{
    AddSource(kDataSourceAllDatabases, kDataSourceCurrentGlaze);
    AddSource(kDataSourceCurrentDatabase, kDataSourceAllGlazes);
    AddSource(kDataSourceNamedDatabase, kDataSourceNamedGlazes, "beta", {"three", "missing", "TWO"});
    AddSource(kDataSourceCurrentDatabase, kDataSourceSelectedGlazes);
    AddSource(kDataSourceNamedDatabase, kDataSourceAllGlazes, "Delta");
    AddSource(7, kDataSourceAllGlazes);
    WindowOf(m_a).selection.rows = {1};

    EXPECT_THAT(Collect(0), ElementsAre("Current", "Current", "Current")); // once per open database
    EXPECT_THAT(Collect(1), ElementsAre("One", "Two"));
    EXPECT_THAT(Collect(2), ElementsAre("Three", "Two"));
    EXPECT_THAT(Collect(3), ElementsAre("Two"));
    EXPECT_TRUE(Collect(4).empty());
    EXPECT_TRUE(Collect(5).empty());
    EXPECT_TRUE(Collect(6).empty());
    EXPECT_THAT(Collect(-1), ElementsAre("Current", "Current", "Current", "One", "Two", "Three", "Two", "Two"));
    // The first glaze of the first source that gives one.
    EXPECT_EQ(m_graph.FirstGlaze(m_a, &m_current), &m_current);
    EXPECT_EQ(m_graph.FirstGlaze(m_a, nullptr)->m_name, "One");

    // Without a current database or glaze the current sources give nothing.
    std::vector<CGlaze*> glazes;
    EXPECT_EQ(m_graph.CollectDataSetGlazes(glazes, 1, nullptr, nullptr), 0);
    CTestGraph empty;
    EXPECT_EQ(empty.FirstGlaze(m_a, &m_current), nullptr);
    empty.m_dataSources.InsertAt(0, m_graph.m_dataSources.GetAt(4));
    EXPECT_EQ(empty.FirstGlaze(m_a, &m_current), nullptr);
}

TEST_F(GlazeCollectionTest, PieAndBarTitlesTakeTheAutomaticTextsInTheirOrder)
{
    ASSERT_GE(Build(m_graph, nullptr, nullptr), 0); // no glaze: an empty chart to define on
    m_graph.ttltopa = 0;
    m_graph.ttltop = "Mine";
    m_graph.ttlbota = 0;
    m_graph.ttlbot = "Below";
    m_graph.ttlrta = 0;
    m_graph.SetPieTitles("Glaze", "Unity");
    EXPECT_THAT(Titles(), ElementsAre("Mine", "Below", "Glaze", ""));
    EXPECT_EQ(m_graph.GetTitle(), "Mine");
    EXPECT_TRUE(m_graph.GetChart()->Definition().leftTitleVertical);

    CTestGraph bars;
    ASSERT_GE(Build(bars, nullptr, nullptr), 0);
    const auto titles = [&bars](bool horizontal) {
        bars.Engine().ChartDefBegin();
        bars.SetBarTitles("Glaze", "% Weight", horizontal);
        return bars.GetChart()->Definition().titles;
    };
    EXPECT_THAT(titles(false), ElementsAre("Glaze", "", "% Weight", ""));
    bars.yrt = 1;
    EXPECT_THAT(titles(false), ElementsAre("Glaze", "", "", "% Weight"));
    bars.ttlrta = 0;
    bars.ttlrt = "R";
    EXPECT_THAT(titles(false), ElementsAre("Glaze", "", "% Weight", "R"));
    bars.ttltopa = 0;
    EXPECT_THAT(titles(false), ElementsAre("", "Glaze", "% Weight", "R"));
    EXPECT_EQ(bars.GetTitle(), "");
    bars.ttltopa = 1;
    bars.ttlrta = 1;
    EXPECT_THAT(titles(true), ElementsAre("Glaze", "% Weight", "", ""));
    bars.ttltopa = 0;
    bars.ttltop = "T";
    EXPECT_THAT(titles(true), ElementsAre("T", "% Weight", "Glaze", ""));
    bars.ttllfta = 0;
    EXPECT_THAT(titles(true), ElementsAre("T", "% Weight", "", "Glaze"));
}

TEST_F(GlazeCollectionTest, HistogramScatterTriaxialAndLimitFormulaTitles)
{
    ASSERT_GE(Build(m_graph, nullptr, nullptr), 0);
    ASSERT_NE(m_graph.GetChart(), nullptr);
    const CChart& chart = *m_graph.GetChart();
    const auto define = [this] { m_graph.Engine().ChartDefBegin(); };

    define();
    m_graph.SetHistogramTitles("SiO2 in 3 Glazes", "SiO2 (% Weight)", "# of Glazes");
    EXPECT_THAT(Titles(), ElementsAre("SiO2 in 3 Glazes", "SiO2 (% Weight)", "# of Glazes", ""));
    m_graph.yrt = 1;
    define();
    m_graph.SetHistogramTitles("SiO2 in 3 Glazes", "SiO2 (% Weight)", "# of Glazes");
    EXPECT_THAT(Titles(), ElementsAre("SiO2 in 3 Glazes", "SiO2 (% Weight)", "", "# of Glazes"));
    m_graph.yrt = 0;

    define();
    m_graph.type = kGraphScatter;
    m_graph.xoxide = 14;
    m_graph.yoxide = 13;
    m_graph.zoxide = 118;
    m_graph.oxtype = 1;
    m_graph.SetScatterTitles("Data for 2 glazes");
    EXPECT_THAT(Titles(), ElementsAre("Data for 2 glazes", "SiO2", "Al2O3", ""));
    EXPECT_EQ(chart.Definition().axes[0].format, "##0\\%");
    EXPECT_EQ(chart.Definition().axes[1].format, "##0\\%");
    define();
    m_graph.type = kGraphScatter3D;
    m_graph.SetScatterTitles("Data for 2 glazes");
    EXPECT_EQ(ItemAt(Titles(), 1), "SiO2      /      Si/Al ratio");
    EXPECT_EQ(chart.Definition().axes[3].format, ""); // the ratio has no format

    define();
    m_graph.SetTriaxialTitles("Data for 1 glaze", "% Weight");
    EXPECT_THAT(Titles(), ElementsAre("Data for 1 glaze", "  ", "% Weight", ""));

    define();
    m_graph.SetLimitFormulaTitles("Glaze", "Cone 6 gloss", true);
    EXPECT_THAT(Titles(), ElementsAre("Glaze", "", "Cone 6 gloss", ""));
    define();
    m_graph.SetLimitFormulaTitles("Glaze", "Cone 6 gloss", false);
    EXPECT_THAT(Titles(), ElementsAre("Glaze", "Cone 6 gloss", "", ""));
    // Positions that are not automatic keep the template's texts.
    m_graph.ttlbota = 0;
    m_graph.ttlbot = "Own";
    define();
    m_graph.SetLimitFormulaTitles("Glaze", "Cone 6 gloss", false);
    EXPECT_THAT(Titles(), ElementsAre("Glaze", "Own", "", ""));
}

} // namespace
