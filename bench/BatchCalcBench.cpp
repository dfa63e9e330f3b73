// The recipe tools' inner loops over a generated 500-material database of percent-analysis
// formulas:
//   - the similarity score of glaze pairs with every measure of Find Similar Glazes (the search
//     scores every pair of a database), reported as pairs per second; analyses are computed once
//     beforehand, as the search finds them cached;
//   - the batch calculator's extended suggestions for a six-oxide formula (every material is
//     weighed against every counted oxide), reported as suggestion runs per second.

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/NumberText.h"
#include "tools/BatchCalculator.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kMaterials = 500;
constexpr int kGlazes = 200;

const char* const kOxides[] = {"SiO2", "Al2O3", "B2O3", "Li2O", "Na2O", "K2O", "MgO", "CaO",
                               "SrO",  "BaO",   "ZnO",  "TiO2", "ZrO2", "Fe2O3"};

std::string MaterialName(int n)
{
    return std::string("Material ").append(std::to_string(n));
}

void FillMaterials(CMaterialArray& database, std::mt19937& random)
{
    std::uniform_int_distribution<int> count(2, 5);
    std::uniform_int_distribution<int> oxide(0, static_cast<int>(std::size(kOxides)) - 1);
    std::uniform_real_distribution<double> amount(1.0, 60.0);
    for (int n = 0; n < kMaterials; ++n) {
        std::string formula = "%";
        for (int i = count(random); i > 0; --i)
            formula.append("  ").append(FormatDoubleFixed(amount(random), 2)).append(" ").append(kOxides[oxide(random)]);
        CMaterial material(MaterialName(n));
        material.SetFormula(formula);
        material.m_available = 1;
        database.InsertCopy(database.GetCount(), material);
    }
    database.BuildIndex();
}

struct SBenchWorld {
    SBenchWorld()
    {
        std::mt19937 random(7);
        FillMaterials(doc.Materials(), random);
        std::uniform_int_distribution<int> material(0, kMaterials - 1);
        std::uniform_real_distribution<double> amount(1.0, 50.0);
        for (int n = 0; n < kGlazes; ++n) {
            auto glaze = std::make_unique<CGlaze>(std::string("Glaze ").append(std::to_string(n)));
            for (int i = 0; i < 8; ++i)
                glaze->m_components.Add(MaterialName(material(random)), amount(random));
            glaze->GetAnalysis();
            glazes.push_back(std::move(glaze));
        }
    }
    CAppContext context;
    CMaterialsDoc doc;
    std::vector<std::unique_ptr<CGlaze>> glazes;
};

void BM_GlazeSimilarityPairs(benchmark::State& state)
{
    SBenchWorld world;
    int flags[CGlaze::kSimilaritySlots] = {};
    for (int k : {0, 1, 2, 3, 4, 5, 16, 17})
        flags[k] = 1;
    double scores[CGlaze::kSimilaritySlots] = {};
    std::int64_t pairs = 0;
    for (auto _ : state) {
        for (std::size_t a = 0; a < world.glazes.size(); ++a) {
            for (std::size_t b = a + 1; b < world.glazes.size(); ++b) {
                benchmark::DoNotOptimize(
                    CGlaze::ComputeSimilarity(world.glazes[a].get(), world.glazes[b].get(), flags, scores));
                ++pairs;
            }
        }
    }
    state.counters["pairs/s"] = benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GlazeSimilarityPairs)->Unit(benchmark::kMillisecond);

void BM_BatchSuggestions(benchmark::State& state)
{
    SBenchWorld world;
    g_prefs.sugextend = 1;
    CBatchCalculator calc;
    calc.Start();
    calc.m_formulaText = "0.3 K2O  0.2 Na2O  0.5 CaO  0.4 Al2O3  0.3 B2O3  3 SiO2";
    calc.RestartFromFormula();
    for (auto _ : state) {
        calc.RecomputeSuggestions();
        benchmark::DoNotOptimize(calc.GetSuggestions().GetCount());
    }
    state.counters["runs/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BatchSuggestions)->Unit(benchmark::kMillisecond);

} // namespace
