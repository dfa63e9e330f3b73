// The import commands as they read a file: line-end detection on the file, then Insight recipe
// files, Recipary text, HyperGlaze records or labelled text, and Insight's TMT material files.
// Questions and messages take the message service's default answer. Whatever comes in is
// written out again through every glaze exporter, which must not fail.

#include "FuzzFiles.h"
#include "elements/ElementTable.h"
#include "glazes/HtmlExport.h"
#include "glazes/HyperGlazeText.h"
#include "glazes/InsightImport.h"
#include "glazes/ReciparyText.h"
#include "materials/MaterialArray.h"
#include "shell/AppContext.h"
#include "support/PathHelpers.h"

#include <cstddef>
#include <cstdint>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

namespace {

void ExportAll(const CGlazeList& list)
{
    std::vector<int> indices(static_cast<std::size_t>(list.GetCount()));
    std::iota(indices.begin(), indices.end(), 0);
    std::ostringstream out;
    FuzzCheck(CReciparyIO::ExportRecipes(out, list, indices) == 0);
    FuzzCheck(CHyperGlazeIO::ExportRecipes(out, list, indices) == 0);
    FuzzCheck(CHtmlExport::WriteGlazes(out, list, indices) == 0);
    FuzzCheck(CInsightIO::WriteRecipes(out, list, indices) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    const std::string path = WriteFuzzFile("import.txt", data, size);
    const char delimiter = DetectLineDelimiter(path);
    FuzzCheck(delimiter == '\n' || delimiter == '\r');

    CGlazeList glazes;
    std::vector<std::string> paths{path};
    FuzzCheck(CInsightIO::ImportRecipes(glazes, paths, false) == glazes.GetCount());
    CReciparyIO::ImportRecipes(glazes, path);
    CHyperGlazeIO::ImportRecipes(glazes, path);
    ExportAll(glazes);

    int roles[kElementCount] = {};
    double expansions[kElementCount] = {};
    CMaterialArray materials;
    if (materials.ReadTmtFile(&path, roles, expansions) != 0)
        FuzzCheck(materials.GetCount() == 0);
    return 0;
}
