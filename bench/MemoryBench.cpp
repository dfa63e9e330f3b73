// Memory per record at 100,000 records: the heap a materials database and a glaze database take
// once open (records, names, the name index), and what the glazes take with their analyses
// cached, divided by the record count. Generated databases (bench/generated). Targets: a material
// at most 1.65 KB, a glaze with its analysis at most 3.9 KB.
//
// The figures are glibc's count of the bytes handed out (mallinfo2: small blocks with their
// headers, and mapped blocks), so they hold whatever else the process does.

#include "GeneratedDatabases.h"

#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazesDoc.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace {

constexpr int kRecords = 100000;
// The glazes' recipes use the materials of a database this large.
constexpr int kGlazeMaterials = 5000;

double HeapBytes()
{
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// A generated database in a temporary file, removed again at the end.
class CTemporaryDatabase {
public:
    CTemporaryDatabase(const char* extension, const std::string& text)
        : m_path((std::filesystem::temp_directory_path() /
                  ("oxi-memory-" + std::to_string(::getpid()) + extension))
                     .string())
    {
        m_written = WriteGeneratedFile(m_path, text);
    }
    ~CTemporaryDatabase() { std::filesystem::remove(m_path); }
    const std::string& Path() const { return m_path; }
    bool Written() const { return m_written; }

private:
    std::string m_path;
    bool m_written = false;
};

void BM_MemoryPerMaterial(benchmark::State& state)
{
    CAppContext context;
    const CTemporaryDatabase file(".mat", GeneratedMaterialsFile(kRecords));
    double perMaterial = 0.0;
    for (auto _ : state) {
        const double before = HeapBytes();
        {
            CMaterialsDoc doc;
            if (!file.Written() || !doc.OnOpenDocument(file.Path()) || doc.Materials().GetCount() != kRecords) {
                state.SkipWithError("the generated materials database did not open");
                return;
            }
            doc.Materials().BuildIndex();
            perMaterial = (HeapBytes() - before) / kRecords;
        }
    }
    state.counters["bytes_per_material"] = perMaterial;
}
BENCHMARK(BM_MemoryPerMaterial)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_MemoryPerGlaze(benchmark::State& state)
{
    CAppContext context;
    const CTemporaryDatabase materialsFile(".mat", GeneratedMaterialsFile(kGlazeMaterials));
    const CTemporaryDatabase glazesFile(".glz", GeneratedGlazesFile(kRecords, kGlazeMaterials));
    CMaterialsDoc materials;
    if (!materialsFile.Written() || !glazesFile.Written() || !materials.OnOpenDocument(materialsFile.Path())) {
        state.SkipWithError("the generated materials database did not open");
        return;
    }
    materials.Materials().BuildIndex();
    double perGlaze = 0.0;
    double perAnalysedGlaze = 0.0;
    for (auto _ : state) {
        const double before = HeapBytes();
        CGlazesDoc doc;
        if (!doc.OnOpenDocument(glazesFile.Path()) || doc.GetGlazeCount() != kRecords) {
            state.SkipWithError("the generated glaze database did not open");
            return;
        }
        perGlaze = (HeapBytes() - before) / kRecords;
        int valid = 0;
        for (int i = 0; i < kRecords; ++i)
            valid += doc.GetGlaze(i)->GetAnalysis().IsValid() ? 1 : 0;
        if (valid != kRecords) {
            state.SkipWithError("a generated glaze has no valid analysis");
            return;
        }
        perAnalysedGlaze = (HeapBytes() - before) / kRecords;
    }
    state.counters["bytes_per_glaze"] = perGlaze;
    state.counters["bytes_per_glaze_with_analysis"] = perAnalysedGlaze;
}
BENCHMARK(BM_MemoryPerGlaze)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
