// The materials database at scale: opening a generated database of 50,000 materials (read the
// file, build the name index, bring the mapped materials up to date) and looking materials up
// by every kind of key. Targets (Release build, one core): the open in under 0.5 s, at least
// 1,000,000 look-ups per second.

#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kMaterialCount = 50000;
constexpr int kLookUpCount = 100000;

const char* const kFormulas[] = {
    "SiO2", "K2O Al2O3 6SiO2", "Na2O Al2O3 6SiO2", "CaCO3", "Al2O3 2SiO2 2H2O", "3MgO 4SiO2 H2O", "ZnO",
    "% 60.4 SiO2  23.6 Al2O3  10.2 Na2O  4.8 K2O  0.4 CaO  0.6 LOI", "Li2O Al2O3 4SiO2", "BaCO3",
};

// prefix and i in five digits: "M00042".
std::string Number(int i, const char* prefix = "")
{
    char text[64];
    std::snprintf(text, sizeof text, "%s%05d", prefix, i);
    return text;
}

// Every tenth material maps to the one before it and already carries its values, as a saved
// database does; every third has an other name with a code.
std::string GeneratedDatabase()
{
    std::string file = "filetype = Oxidarium Materials\nversion =  2\n\ndbname  = Generated\n\n";
    for (int i = 0; i < kMaterialCount; ++i) {
        const int source = i % 10 == 9 ? i - 1 : i;
        file += Number(i, "name      = Material ") + "\n";
        file += Number(i, "date      = 01/15/2025\ncode      = M") + "\n";
        if (i % 3 == 0)
            file += Number(i, "aka       = Other ") + Number(i, "\nakacode   = O") + "\n";
        file += "type      = flux\n";
        file += (source != i ? Number(source, "mapto     = Material ") : std::string("mapto     = ")) + "\n";
        file += std::string("formula   = ") + kFormulas[source % 10] + "\n";
        file += "density   = " + std::to_string(50 + source % 40) + ".0\n";
        file += "available = y\ncostperlb = 1.25\n\n";
    }
    return file;
}

class CGeneratedFile {
public:
    CGeneratedFile()
        : m_path((std::filesystem::temp_directory_path() / ("oxi-bench-" + std::to_string(::getpid()) + ".mat"))
                     .string())
    {
        std::ofstream(m_path, std::ios::binary) << GeneratedDatabase();
    }
    ~CGeneratedFile() { std::filesystem::remove(m_path); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

void BM_MaterialDatabaseOpen(benchmark::State& state)
{
    CAppContext context;
    CGeneratedFile file;
    CMaterialsDoc doc;
    for (auto _ : state) {
        doc.OnOpenDocument(file.Path());
        doc.Materials().BuildIndex();
        if (doc.Materials().GetCount() != kMaterialCount || doc.IsModified())
            state.SkipWithError("the generated database did not open cleanly");
        benchmark::DoNotOptimize(doc.Materials().GetAt(0));
    }
    state.SetItemsProcessed(state.iterations() * kMaterialCount);
}
BENCHMARK(BM_MaterialDatabaseOpen)->Unit(benchmark::kMillisecond);

// Names, codes, formulas, other names, other-name codes, texts with a remark and unknown names.
std::vector<std::string> LookUpTexts()
{
    std::vector<std::string> texts;
    texts.reserve(kLookUpCount);
    for (int k = 0; k < kLookUpCount; ++k) {
        const int i = (k * 7919) % kMaterialCount;
        const int j = i - i % 3;
        switch (k % 7) {
        case 0: texts.push_back(Number(i, "material ")); break;
        case 1: texts.push_back(Number(i, "m")); break;
        case 2: texts.push_back(kFormulas[k % 7]); break;
        case 3: texts.push_back(Number(j, "OTHER ")); break;
        case 4: texts.push_back(Number(j, "o")); break;
        case 5: texts.push_back(Number(i, "Material ") + " (sieved)"); break;
        default: texts.push_back(Number(i, "Unknown ")); break;
        }
    }
    return texts;
}

void BM_MaterialFindMaterial(benchmark::State& state)
{
    CAppContext context;
    CGeneratedFile file;
    CMaterialsDoc doc;
    doc.OnOpenDocument(file.Path());
    CMaterialArray& materials = doc.Materials();
    materials.BuildIndex();
    const std::vector<std::string> texts = LookUpTexts();
    std::string text;
    int found = 0;
    for (auto _ : state) {
        for (const std::string& original : texts) {
            text = original;
            found += materials.FindMaterial(text, true) != nullptr;
        }
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(state.iterations() * kLookUpCount);
}
BENCHMARK(BM_MaterialFindMaterial)->Unit(benchmark::kMillisecond);

} // namespace
