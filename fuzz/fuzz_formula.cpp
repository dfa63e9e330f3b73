// Material formulas from arbitrary bytes: SetFormula, the record-free analysis, and the
// component operations and normalisation on whatever parsed. The first byte picks the options.

#include "materials/Material.h"
#include "materials/MaterialFormula.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    if (size == 0)
        return 0;
    const std::uint8_t options = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    g_prefs.decformulas = 1 + options % 6;
    g_prefs.tzsformulas = (options / 6) % 3 - 1;

    CMaterial material("fuzz");
    std::string error;
    int position = -1;
    const int rc = material.SetFormula(text, &error, &position);
    Check(position >= 0 && position <= static_cast<int>(text.size()));
    if (rc != 0) {
        Check(rc == -1 && material.m_formula.empty() && material.m_components.empty() && !error.empty());
        Check(material.m_formulaWeight == 0.0);
    } else {
        Check(error.empty() && position == 0);
    }

    // The batch calculator's entry reads the same grammar (the % sum aside).
    OxideVector atoms, oxides;
    std::string analysisError;
    int analysisPosition = -1;
    const int analysisRc = ParseFormulaAnalysis(text, atoms.data(), oxides.data(), &analysisError, &analysisPosition);
    Check((analysisRc == 0) == (rc == 0));
    if (rc != 0)
        Check(analysisPosition == position && analysisError == error);

    if (rc == 0 && !material.m_formula.empty()) {
        CMaterial copy(material);
        Check(copy.m_formula == material.m_formula);
        copy.OrderComponents();
        copy.MergeDuplicateComponents();
        copy.RebuildFormula();
        material.NormalizePercentages((options >> 7) & 1);
        std::string check = text;
        CMaterial::CheckFormula(&check, (options >> 6) & 1);
    }
    return 0;
}
