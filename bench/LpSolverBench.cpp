// The optimizer's solver and problem builder at scale: dense random problems of the optimizer's
// shape (homogeneous ratio rows plus one size row) with 20 to 200 variables, and a whole
// optimization over a database of 400 materials. Target (Release build, one core): a
// 400-material optimization in well under a second, so Find Optimal Recipe answers at once.

#include "glazes/IngredientList.h"
#include "materials/MaterialArray.h"
#include "shell/AppContext.h"
#include "tools/LpSolver.h"
#include "glazes/OptimizationParams.h"
#include "tools/Optimizer.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

// n variables, n / 2 ">=" and n / 2 "<=" ratio rows around a known positive point, one "=" row.
void BuildProblem(CLinearProgram& lp, int n, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(0.0, 1.0);
    std::vector<double> point(static_cast<std::size_t>(n));
    for (double& x : point)
        x = 0.5 + value(random);
    for (int i = 0; i < n; ++i) {
        std::vector<double> row(static_cast<std::size_t>(n));
        double sum = 0.0;
        for (int j = 0; j < n; ++j) {
            row[static_cast<std::size_t>(j)] = value(random) - 0.5;
            sum += row[static_cast<std::size_t>(j)] * point[static_cast<std::size_t>(j)];
        }
        lp.AddConstraint(row, i % 2 ? sum + 0.1 : sum - 0.1, i % 2 ? kLPLessOrEqual : kLPGreaterOrEqual);
    }
    double total = 0.0;
    for (double x : point)
        total += x;
    lp.AddConstraint(std::vector<double>(static_cast<std::size_t>(n), 1.0), total, kLPEqual);
    std::vector<double> cost(static_cast<std::size_t>(n));
    for (double& c : cost)
        c = value(random);
    lp.SetCost(cost);
}

void BM_SolveDenseProblem(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::vector<double> x;
    for (auto _ : state) {
        CLinearProgram lp;
        lp.m_randomSeed = 11;
        BuildProblem(lp, n, 42);
        if (lp.Solve(x, false) != 0)
            state.SkipWithError("not solved");
        benchmark::DoNotOptimize(x.data());
    }
}
BENCHMARK(BM_SolveDenseProblem)->Arg(20)->Arg(60)->Arg(200)->Unit(benchmark::kMillisecond);

const char* const kFormulas[] = {
    "SiO2", "K2O Al2O3 6SiO2", "Na2O Al2O3 6SiO2", "CaCO3", "Al2O3 2SiO2 2H2O", "CaO SiO2", "Na2CO3",
    "% 68 SiO2  19 Al2O3  10 K2O  3 Na2O", "% 70 SiO2  18 Al2O3  4 K2O  7 Na2O  1 CaO", "Al2O3 4SiO2 H2O",
};

void BM_OptimizeOverManyMaterials(benchmark::State& state)
{
    CAppContext context;
    CMaterialArray materials;
    for (int i = 0; i < 400; ++i) {
        CMaterial& material = materials.AppendNewRecord("Material " + std::to_string(i));
        material.SetFormula(kFormulas[i % 10]);
        material.m_available = 1;
        material.m_costPerLb = 0.1 + 0.001 * ((i * 37) % 500);
    }
    COptimizationParams params;
    params.m_oxideConstraints.Add(COxideConstraint(-2, '=', "0.3", ""));
    params.m_oxideConstraints.Add(COxideConstraint(20, '=', "0.7", ""));
    params.m_oxideConstraints.Add(COxideConstraint(13, '>', "0.3", "0.4"));
    params.m_oxideConstraints.Add(COxideConstraint(14, '=', "3.0", ""));
    COptimizer optimizer;
    optimizer.m_materials = &materials;
    CIngredientList recipe;
    std::string message;
    for (auto _ : state) {
        if (optimizer.Run(params, recipe, message, false) != 0)
            state.SkipWithError(message.c_str());
        benchmark::DoNotOptimize(recipe.data());
    }
}
BENCHMARK(BM_OptimizeOverManyMaterials)->Unit(benchmark::kMillisecond);

} // namespace
