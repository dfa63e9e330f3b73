// Parsing material formulas: 100,000 typical texts (molecular, percent, forced, nested), each
// set into a record as the materials database reader does. Target: at least 1,000,000 formulas
// per second on one core (Release build).

#include "materials/Material.h"
#include "shell/AppContext.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> MakeFormulas(int count)
{
    const char* const fixed[] = {
        "SiO2",
        "K2O Al2O3 6SiO2",
        "Na2O Al2O3 6SiO2",
        "CaCO3",
        "Al2O3 2SiO2 2H2O",
        "3MgO 4SiO2 H2O",
        "Ca(OH)2",
        "2 (NH4)2SO4",
        "[MW=258.16] Al2O3 2SiO2",
        "Ca3(PO4)2",
    };
    const char* const percentTemplates[] = {
        "% %a SiO2  %b Al2O3  %c Na2O  %d K2O",
        "%[Sum=100] %a SiO2  %b Al2O3  %c CaO",
        "%m %a SiO2  %b B2O3  %c Na2O",
        "% %a SiO2  %b Al2O3  %c Fe2O3  %d LOI",
    };
    std::vector<std::string> formulas;
    formulas.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0) {
            formulas.emplace_back(fixed[(i / 2) % 10]);
            continue;
        }
        std::string text = percentTemplates[(i / 2) % 4];
        const std::string amounts[] = {std::to_string(40 + i % 30) + "." + std::to_string(i % 10),
                                       std::to_string(10 + i % 15) + ".25", std::to_string(1 + i % 9),
                                       "0." + std::to_string(1 + i % 9)};
        for (int k = 0; k < 4; ++k) {
            const std::string mark = std::string("%") + static_cast<char>('a' + k);
            std::size_t at = text.find(mark);
            if (at != std::string::npos)
                text.replace(at, 2, amounts[k]);
        }
        formulas.push_back(text);
    }
    return formulas;
}

void BM_FormulaParse(benchmark::State& state)
{
    CAppContext context;
    const std::vector<std::string> formulas = MakeFormulas(100000);
    CMaterial material("bench");
    for (auto _ : state) {
        for (const std::string& formula : formulas) {
            int rc = material.SetFormula(formula);
            benchmark::DoNotOptimize(rc);
        }
        benchmark::DoNotOptimize(material.m_formulaWeight);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(formulas.size()));
}
BENCHMARK(BM_FormulaParse)->Unit(benchmark::kMillisecond);

} // namespace
