// A graph-template file of arbitrary bytes, read by CGraphTemplateDatabase::Read; each of its
// first two templates is then built by the display-list engine as the graph type it names, over a
// database of a handful of glazes and a limit formula "Cone 6" (a template reaches the limit
// charts by naming it). A template that reads must build without a crash, a hang or an
// unbounded allocation, whatever its counts, sizes, ranges and data sources say.

#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "graphs/DisplayListEngine.h"
#include "graphs/Graph.h"
#include "graphs/GraphTemplateDatabase.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphTypesDoc.h"
#include "limits/LimitFormulaDB.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

namespace {

// Text measures without a screen; no background image is ever readable, so that a fuzzed
// file name opens nothing.
class CFuzzMetrics : public CChartMetrics {
public:
    double TextWidth(const CChartFont&, const std::string& text) const override { return 6.0 * static_cast<double>(text.size()); }
    double TextHeight(const CChartFont&) const override { return 10.0; }
    bool CanReadImage(const std::string&) const override { return false; }
};

class CFuzzWindow : public CChartWindow {
public:
    CCoreRect GetScreenRect() const override { return {0, 0, 600, 300}; }
    const CChartMetrics& GetChartMetrics() const override { return m_metrics; }

private:
    CFuzzMetrics m_metrics;
};

class CIgnoredNotices : public CChartNotifyTarget {
public:
    void OnChartMessage(unsigned, unsigned, std::uint64_t) override {}
};

// The program's world, made once: materials, one glaze database with its first glaze current,
// the limit formulas, the graph-template colours and the display-list engine.
struct SChartWorld {
    SChartWorld()
    {
        app.m_bGraphsAvailable = 1;
        const std::pair<const char*, const char*> materialFormulas[] = {
            {"Silica", "SiO2"}, {"Whiting", "CaCO3"}, {"Kaolin", "Al2O3 2SiO2 2H2O"}, {"Feldspar", "K2O Al2O3 6SiO2"},
            {"Rutile", "TiO2"}, {"Frit", "Na2O B2O3 2SiO2"}};
        for (const auto& [name, formula] : materialFormulas) {
            CMaterial material(name);
            material.SetFormula(formula);
            material.m_available = 1;
            material.m_density = 2.0;
            CMaterialArray& database = materials.Materials();
            database.InsertCopy(database.GetCount(), material);
        }
        glazeTemplate->SetFrameFactory([](CDocTemplate&, CDocument&, bool) { return true; });
        g_pGlazesTemplate = glazeTemplate.get();
        glazes = dynamic_cast<CGlazesDoc*>(app.NewGlazeDatabase());
        if (!glazes)
            std::abort();
        const char* names[] = {"Clear", "Matte", "Gloss", "Empty"};
        const double recipes[][4] = {{30, 20, 10, 40}, {10, 40, 30, 20}, {25, 15, 20, 40}, {0, 0, 0, 0}};
        for (int g = 0; g < 4; ++g) {
            CGlaze glaze(names[g]);
            const char* used[] = {"Feldspar", "Whiting", "Kaolin", "Silica"};
            for (int m = 0; m < 4; ++m) {
                if (recipes[g][m] > 0)
                    glaze.m_components.Add(used[m], recipes[g][m]);
            }
            if (g == 1)
                glaze.m_additions.Add("Rutile", 5.0);
            glazes->InsertGlaze(glazes->GetGlazeCount(), glaze);
        }
        limits.m_combinations.Add(COxideCombination("CaO", "Ca", 0.0, 1.0));
        limits.m_combinations.Add(COxideCombination("Al2O3", "Al", 0.0, 1.0));
        limits.m_combinations.Add(COxideCombination("SiO2", "Si", 0.0, 5.0));
        limits.m_combinations.Add(COxideCombination("KNaO", "Na+K", 0.0, 1.0));
        CLimitFormula formula("Cone 6");
        formula.m_limits.Add(CLimit("CaO", "0.4 - 0.8"));
        formula.m_limits.Add(CLimit("Al2O3", "0.2 - 0.5"));
        formula.m_limits.Add(CLimit("SiO2", "2 - 4"));
        formula.m_limits.Add(CLimit("KNaO", "<= 0.3"));
        limits.InsertFormula(0, formula);
        engine.ChartLibOpen("", "C");
        SetChartEngine(&engine);
    }

    CAppContext context;
    COxidariumApp app;
    CMaterialsDoc materials;
    std::unique_ptr<CDocTemplate> glazeTemplate = CreateGlazesTemplate();
    CGlazesDoc* glazes = nullptr;
    CGraphTypesDoc graphTypes;
    CLimitFormulaDB limits;
    CCurrentLimitFormulaDBScope limitScope{limits};
    CDisplayListEngine engine;
    CFuzzWindow window;
    CIgnoredNotices notices;
};

} // namespace

// Undefined behaviour (an overflowing 100 - barwid, infinity cast to an int) is a finding here,
// not a line in the log.
extern "C" const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SChartWorld* world = new SChartWorld; // lives until the process ends
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CGraphTemplateDatabase database;
    if (database.Read(in) != 0)
        return 0;
    // Each template is built as the graph type it names (taken modulo the number of types, so
    // that every input builds a chart): the seeds hold every type, and a mutation of the type
    // moves a template's settings to another.
    for (int t = 0; t < std::min(database.GetCount(), 2); ++t) {
        CGraph graph;
        graph.SetTemplate(database.GetAt(t));
        graph.type = (graph.type % kGraphTypeCount + kGraphTypeCount) % kGraphTypeCount;
        graph.Build(&world->window, &world->window, &world->notices, world->glazes, world->glazes->GetGlaze(0));
    }
    return 0;
}
