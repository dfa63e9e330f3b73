// Building and rendering the oxide bar chart ("One glaze - Oxides (bar)", fifteen oxides and
// remainders in unity, grid lines and outlined bars) of each of 1,000 generated glazes into a
// 600 x 300 off-screen image, as the graph window draws it. Reported as charts per second.

#include "glazes/Glaze.h"
#include "graphs/Chart.h"
#include "graphs/ChartCanvasQt.h"
#include "graphs/Graph.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphTypesDoc.h"
#include "graphs/QtChartEngine.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/NumberText.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kGlazes = 1000;
constexpr int kMaterials = 40;
constexpr int kIngredients = 6;

const char* const kOxides[] = {"SiO2", "Al2O3", "B2O3", "Li2O", "Na2O", "K2O", "MgO", "CaO",
                               "SrO",  "BaO",   "ZnO",  "TiO2", "ZrO2", "Fe2O3"};

std::string MaterialName(int n) { return std::string("Material ").append(std::to_string(n)); }

void FillMaterials(CMaterialArray& database, std::mt19937& random)
{
    std::uniform_int_distribution<int> oxide(0, static_cast<int>(std::size(kOxides)) - 1);
    std::uniform_real_distribution<double> amount(1.0, 60.0);
    for (int n = 0; n < kMaterials; ++n) {
        std::string formula = "%";
        for (int i = 0; i < 4; ++i)
            formula.append("  ").append(FormatDoubleFixed(amount(random), 2)).append(" ").append(kOxides[oxide(random)]);
        CMaterial material(MaterialName(n));
        material.SetFormula(formula);
        material.m_available = 1;
        database.InsertCopy(database.GetCount(), material);
    }
    database.BuildIndex();
}

// A chart window of the graph window's usual size on an imagined screen.
class CBenchWindow : public CChartWindow {
public:
    CCoreRect GetScreenRect() const override { return {0, 0, 600, 300}; }
    const CChartMetrics& GetChartMetrics() const override { return GetQtChartMetrics(); }
};

void BM_OxideBarChartsRendered(benchmark::State& state)
{
    CAppContext context;
    COxidariumApp app;
    CQtChartEngine engine;
    engine.ChartLibOpen("", "C");
    SetChartEngine(&engine);
    app.m_bGraphsAvailable = 1;
    CMaterialsDoc materials;
    CGraphTypesDoc templates; // the oxide colours
    std::mt19937 random(20261207);
    FillMaterials(materials.Materials(), random);
    std::uniform_int_distribution<int> material(0, kMaterials - 1);
    std::uniform_real_distribution<double> amount(2.0, 40.0);
    std::vector<std::unique_ptr<CGlaze>> glazes;
    for (int n = 0; n < kGlazes; ++n) {
        glazes.push_back(std::make_unique<CGlaze>("Glaze " + std::to_string(n)));
        for (int i = 0; i < kIngredients; ++i)
            glazes.back()->m_components.Add(MaterialName(material(random)), amount(random));
    }
    CGraphTemplate bars("Unity formula (bar)");
    bars.ResetDefaults(kGraphOneBarOxides);
    bars.bpoxides = "3,11,19,12,20,38,56,30,110,13,5,111,14,22,112";
    bars.oxtype = 0;
    bars.gridy = 1;
    CBenchWindow window;
    QImage image(600, 300, QImage::Format_RGB32);

    std::size_t primitives = 0;
    for (auto _ : state) {
        for (const auto& glaze : glazes) {
            CGraph graph;
            graph.SetTemplate(bars);
            graph.Build(&window, &window, nullptr, nullptr, glaze.get());
            if (const CChart* chart = graph.GetChart()) {
                image = RenderChartImage(*chart);
                primitives += chart->Primitives().size();
            }
        }
    }
    benchmark::DoNotOptimize(primitives);
    benchmark::DoNotOptimize(image);
    SetChartEngine(nullptr);
    state.SetItemsProcessed(state.iterations() * kGlazes);
    state.counters["charts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kGlazes, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OxideBarChartsRendered)->Unit(benchmark::kMillisecond);

} // namespace
