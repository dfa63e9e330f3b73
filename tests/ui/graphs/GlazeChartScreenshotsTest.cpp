#include "GraphTypesFixture.h"

#include "graphs/Graph.h"
#include "graphs/GraphView.h"
#include "graphs/GraphWnd.h"

#include <QImage>

#include <algorithm>
#include <set>

#include <gtest/gtest.h>

namespace {

using namespace graphtest;

// The recipe, cost, material-type, average, statistics and many-glaze charts of the shipped
// templates and glazes, as graph windows draw them, saved as screenshots for a person to
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
            Found(materials.FindMaterial(std::string_view(name))).m_costPerLb = price;
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

TEST_F(GlazeChartScreenshotsTest, EveryRecipeAverageAndManyGlazeTemplateDrawsTheShippedGlazes)
{
    // Each shipped template of these charts draws its own kind; the one-glaze charts of the
    // first glaze (the third for the additions of its recipe), the many-glaze charts of every
    // glaze and of three selected ones.
    const std::pair<const char*, int> shots[] = {
        {"Oxide sources (bar)", 0},
        {"Recipe (pie)", 2},
        {"Recipe (bar)", 2},
        {"Recipe and oxides (bar)", 0},
        {"Material costs (pie)", 0},
        {"Material costs (bar)", 0},
        {"Material types (pie)", 2},
        {"Material types (bar)", 2},
        {"Average glaze (pie)", 0},
        {"Average glaze (bar)", 0},
        {"Averages: database and selection (bar)", 0},
        {"Expansion (histogram)", 0},
        {"Main oxides (box & whiskers)", 0},
        {"Selected glazes: oxides (bar)", 0},
        {"Selected glazes: recipes (bar)", 0},
        {"Selected glazes: material types (bar)", 0},
    };
    m_glazeDoc->ClearSelection();
    for (int row : {3, 4, 6})
        m_glazeDoc->SelectGlaze(row);
    std::set<int> types;
    for (const auto& [templateName, glaze] : shots) {
        CGraphView* view = OpenGraphWindow(*m_doc);
        ASSERT_NE(view, nullptr);
        dynamic_cast<QWidget*>(view->GetFrame())->resize(820, 520);
        const CGraphTemplate& graphTemplate = m_doc->Database().GetAt(TemplateIndex(templateName));
        view->SetGraph(&graphTemplate, m_glazeDoc, m_glazeDoc->GetGlaze(glaze), nullptr, -1, -1);
        Flush();
        ASSERT_NE(view->Graph(), nullptr) << templateName;
        EXPECT_EQ(view->Graph()->m_errorText, "") << templateName;
        EXPECT_GT(view->Graph()->m_rows, 0) << templateName;
        EXPECT_FALSE(view->Graph()->GetText().empty()) << templateName;
        types.insert(graphTemplate.type);
        const std::string name = "chart-type-" + std::to_string(graphTemplate.type);
        ExpectReadableChart(*view->ChartWindow(), view->ChartWindow()->Chart(), name.c_str());
        view->GetFrame()->CloseFrame();
        Flush();
    }
    EXPECT_EQ(types, (std::set<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16, 17, 18, 20, 21}));

    // Regression: with every glaze selected the recipe bars are a few pixels wide, and their
    // outlines covered them: the chart was black and matched none of its legend's colours.
    for (int row = 0; row < m_glazeDoc->GetGlazeCount(); ++row)
        m_glazeDoc->SelectGlaze(row);
    CGraphView* view = OpenGraphWindow(*m_doc);
    ASSERT_NE(view, nullptr);
    dynamic_cast<QWidget*>(view->GetFrame())->resize(820, 520);
    view->SetGraph(&m_doc->Database().GetAt(TemplateIndex("Selected glazes: recipes (bar)")), m_glazeDoc,
                   m_glazeDoc->GetGlaze(0), nullptr, -1, -1);
    Flush();
    EXPECT_EQ(view->Graph()->GetTitle(), "Materials in 10 glazes");
    ExpectReadableChart(*view->ChartWindow(), view->ChartWindow()->Chart(), "chart-type-20-every-glaze");
}

} // namespace
