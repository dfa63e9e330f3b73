#include "GraphTypesFixture.h"

#include "graphs/Graph.h"
#include "graphs/GraphView.h"
#include "graphs/GraphWnd.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

using namespace graphtest;

// The recipe, cost, material-type, average, statistics and many-glaze charts of the shipped
// templates and glazes, as graph windows draw them, saved under build/screenshots for a person to
// look at.
class GlazeChartScreenshotsTest : public GraphTypesFixture {
protected:
    GlazeChartScreenshotsTest()
    {
        g_pGraphViewTemplate = &m_graphViewTemplate;
        InstallGraphViewTemplate(m_graphViewTemplate);
        // The shipped materials carry no prices: give the recipe of the first glaze some.
        CMaterialArray& materials = m_materials.Materials();
        const std::pair<const char*, double> prices[] = {
            {"Nepheline Syenite", 0.45}, {"Wollastonite", 0.40}, {"Whiting", 0.20},
            {"Zinc Oxide", 2.60},        {"Kaolin", 0.35},       {"Silica", 0.25},
        };
        for (const auto& [name, price] : prices)
            materials.FindMaterial(std::string_view(name))->m_costPerLb = price;
        for (int i = 0; i < m_glazeDoc->GetGlazeCount(); ++i)
            m_glazeDoc->GetGlaze(i)->InvalidateAnalysis();
    }
    ~GlazeChartScreenshotsTest() override
    {
        for (CView* view : m_doc->GetViews()) {
            if (auto* graph = dynamic_cast<CGraphView*>(view))
                graph->GetFrame()->CloseFrame();
        }
        Flush();
        g_pGraphViewTemplate = nullptr;
    }

    int TemplateIndex(const std::string& name) const
    {
        const std::vector<std::string> names = Names();
        const auto at = std::find(names.begin(), names.end(), name);
        EXPECT_NE(at, names.end()) << name;
        return at == names.end() ? 0 : static_cast<int>(at - names.begin());
    }

    CDocTemplate m_graphViewTemplate{kGraphViewResourceId, kGraphTypesDocString, nullptr};
};

TEST_F(GlazeChartScreenshotsTest, EveryRecipeAverageAndManyGlazeChartDrawsTheShippedGlazes)
{
    struct Shot {
        int type;
        const char* templateName;
        int glaze;
    };
    // One-glaze charts of the first glaze (the third for the additions of its recipe); the
    // many-glaze charts of the box template, whose data source is every glaze.
    const Shot shots[] = {
        {kGraphOneOxidesAndRecipe, "Unity formula (bar)", 0},     {kGraphOnePieRecipe, "Recipe (pie)", 2},
        {kGraphOneBarRecipe, "Recipe (bar)", 2},                  {kGraphOneRecipeAndOxides, "Unity formula (bar)", 0},
        {kGraphOnePieCost, "Recipe (pie)", 0},                    {kGraphOneBarCost, "Recipe (bar)", 0},
        {kGraphOnePieMaterialTypes, "Material types (pie)", 2},   {kGraphOneBarMaterialTypes, "Recipe (bar)", 2},
        {kGraphAveragePieOxides, "Main oxides (box & whiskers)", 0},
        {kGraphAverageBarOxides, "Main oxides (box & whiskers)", 0},
        {kGraphAveragesBarOxides, nullptr, 0},     {kGraphHistogram, "Expansion (histogram)", 0},
        {kGraphBoxAndWhiskers, "Main oxides (box & whiskers)", 0},
        {kGraphManyBarOxides, "Main oxides (box & whiskers)", 0},
        {kGraphManyBarRecipe, "Main oxides (box & whiskers)", 0},
        {kGraphManyBarMaterialTypes, "Main oxides (box & whiskers)", 0},
    };
    // Without a template name: the box template with a second data set, the selected glazes.
    CGraphTemplate twoSets = m_doc->Database().GetAt(TemplateIndex("Main oxides (box & whiskers)"));
    CGraphDataSource selected("Selected glazes");
    selected.dsglz = kDataSourceSelectedGlazes;
    selected.dscol = 4;
    twoSets.m_dataSources.InsertAt(1, selected);
    m_glazeDoc->ClearSelection();
    for (int row : {3, 4, 6})
        m_glazeDoc->SelectGlaze(row);
    for (const Shot& shot : shots) {
        CGraphView* view = OpenGraphWindow(*m_doc);
        ASSERT_NE(view, nullptr);
        dynamic_cast<QWidget*>(view->GetFrame())->resize(820, 520);
        const CGraphTemplate* graphTemplate =
            shot.templateName ? &m_doc->Database().GetAt(TemplateIndex(shot.templateName)) : &twoSets;
        view->SetGraph(graphTemplate, m_glazeDoc,
                       m_glazeDoc->GetGlaze(shot.glaze), nullptr, -1, shot.type);
        Flush();
        ASSERT_NE(view->Graph(), nullptr) << shot.type;
        EXPECT_EQ(view->Graph()->m_errorText, "") << shot.type;
        EXPECT_GT(view->Graph()->m_rows, 0) << shot.type;
        EXPECT_FALSE(view->Graph()->GetText().empty()) << shot.type;
        const std::string name = "chart-type-" + std::to_string(shot.type);
        EXPECT_TRUE(view->ChartWindow()->grab().save(ScreenshotPath(name.c_str()))) << shot.type;
        view->GetFrame()->CloseFrame();
        Flush();
    }
}

} // namespace
