// The TMT reader over arbitrary bytes, and the formula conversions on what it reads. A read
// either succeeds, and then every material's formula parses, every conversion leaves a formula
// that parses and holds no "nan" or "inf", and the written TMT text reads back with the same
// materials; or it fails and leaves an empty collection.

#include "materials/FormulaConversion.h"
#include "materials/Material.h"
#include "materials/MaterialArray.h"
#include "materials/TmtFile.h"
#include "elements/ElementTable.h"
#include "shell/AppContext.h"
#include "support/TextHelpers.h"

#include <cstddef>
#include <cstdint>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void CheckFormula(const CMaterial& material)
{
    Check(material.m_formula.find("nan") == std::string::npos);
    Check(material.m_formula.find("inf") == std::string::npos);
    CMaterial again("check");
    Check(again.SetFormula(material.m_formula) == 0);
}

void ExerciseConversions(const CMaterial& material)
{
    for (int mode = 0; mode <= 9; ++mode) {
        for (int target : {int{kUnityOnAlkalis}, int{kUnityOnAcids}, 14, int{kUnityOnComponentBase}}) {
            CMaterial copy(material);
            copy.ConvertFormula(mode, target, mode == 0 ? 2 : -1, 0, kDefaultLoiOxide);
            CheckFormula(copy);
            if (mode != 4)
                break; // only the unity conversion looks at the target
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    int roles[kElementCount] = {};
    double expansions[kElementCount] = {};
    CMaterialArray read;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    if (read.ReadTmt(in, '\n', "fuzz", roles, expansions) != 0) {
        Check(read.GetCount() == 0);
        return 0;
    }
    for (int z = 0; z < kElementCount; ++z)
        Check(expansions[z] == expansions[z]);
    for (const auto& material : read.Records()) {
        CheckFormula(*material);
        ExerciseConversions(*material);
    }

    std::vector<int> indices(static_cast<std::size_t>(read.GetCount()));
    std::iota(indices.begin(), indices.end(), 0);
    std::ostringstream out;
    WriteTmtFile(out, read, indices);
    CMaterialArray again;
    std::istringstream written(out.str());
    Check(again.ReadTmt(written, '\n', "again", roles, expansions) == 0);
    Check(again.GetCount() == read.GetCount());
    for (int i = 0; i < again.GetCount(); ++i)
        Check(again.GetAt(i)->m_name == OneLineValue(read.GetAt(i)->m_name)); // line breaks are written as blanks
    return 0;
}
