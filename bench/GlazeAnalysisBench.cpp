// Computing the chemistry of a generated database of 20,000 glazes of 10 ingredients each (8
// components and 2 additions taking part in the chemistry) over a 500-material database of
// percent-analysis formulas. Reported as glazes per second. Target: at least 200,000 per second
// on one core (Release build).

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/NumberText.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kMaterials = 500;
constexpr int kGlazes = 20000;
constexpr int kComponents = 8;
constexpr int kAdditions = 2;

const char* const kOxides[] = {"SiO2", "Al2O3", "B2O3", "Li2O", "Na2O", "K2O", "MgO", "CaO", "SrO", "BaO",
                               "ZnO", "P2O5", "TiO2", "ZrO2", "SnO2", "Fe2O3", "MnO", "CoO", "CuO", "Cr2O3"};

std::string MaterialName(int n)
{
    return std::string("Material ").append(std::to_string(n));
}

// Three to six oxides by weight, with a loss on ignition for most.
std::string RandomFormula(std::mt19937& random)
{
    std::uniform_int_distribution<int> count(3, 6);
    std::uniform_int_distribution<int> oxide(0, static_cast<int>(std::size(kOxides)) - 1);
    std::uniform_real_distribution<double> amount(0.5, 60.0);
    std::string formula = "%";
    for (int i = count(random); i > 0; --i)
        formula.append("  ").append(FormatDoubleFixed(amount(random), 2)).append(" ").append(kOxides[oxide(random)]);
    if (random() % 4 != 0)
        formula.append("  ").append(FormatDoubleFixed(amount(random) / 4.0, 2)).append(" LOI");
    return formula;
}

void FillMaterials(CMaterialArray& database, std::mt19937& random)
{
    for (int n = 0; n < kMaterials; ++n) {
        CMaterial material(MaterialName(n));
        material.m_code = std::string("M").append(std::to_string(n));
        material.SetFormula(RandomFormula(random));
        material.m_available = 1;
        material.m_costPerLb = 0.1 + n % 37 * 0.25;
        database.InsertCopy(database.GetCount(), material);
    }
    database.BuildIndex();
}

std::vector<std::unique_ptr<CGlaze>> MakeGlazes(std::mt19937& random)
{
    std::uniform_int_distribution<int> material(0, kMaterials - 1);
    std::uniform_real_distribution<double> amount(1.0, 50.0);
    std::vector<std::unique_ptr<CGlaze>> glazes;
    glazes.reserve(kGlazes);
    for (int n = 0; n < kGlazes; ++n) {
        auto glaze = std::make_unique<CGlaze>(std::string("Glaze ").append(std::to_string(n)));
        glaze->SetField(kGlazeFieldRange, "cone 5-7");
        for (int i = 0; i < kComponents; ++i)
            glaze->m_components.Add(MaterialName(material(random)), amount(random));
        for (int i = 0; i < kAdditions; ++i)
            glaze->m_additions.Add(MaterialName(material(random)), amount(random) / 10.0);
        glazes.push_back(std::move(glaze));
    }
    return glazes;
}

void BM_GlazeAnalysisDatabase(benchmark::State& state)
{
    CAppContext context;
    g_prefs.anchadd = 1;
    CMaterialsDoc materials;
    std::mt19937 random(20240611);
    FillMaterials(materials.Materials(), random);
    const auto glazes = MakeGlazes(random);

    double checksum = 0.0;
    for (auto _ : state) {
        for (const auto& glaze : glazes) {
            glaze->InvalidateAnalysis();
            checksum += glaze->GetAnalysis().expansion;
        }
    }
    benchmark::DoNotOptimize(checksum);
    state.SetItemsProcessed(state.iterations() * kGlazes);
    state.counters["glazes/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kGlazes, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GlazeAnalysisDatabase)->Unit(benchmark::kMillisecond);

} // namespace
