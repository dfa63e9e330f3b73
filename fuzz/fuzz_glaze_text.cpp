// Arbitrary bytes through every glaze text importer: Insight recipes (both line-end readings),
// Recipary text at each delimiter, HyperGlaze records and the labelled-text check. Questions the
// importers ask are answered by the message service's default (OK), so reading goes on past
// them. Glazes that come in are written out again through every exporter, which must not fail.

#include "glazes/HtmlExport.h"
#include "glazes/HyperGlazeText.h"
#include "glazes/InsightImport.h"
#include "glazes/ReciparyText.h"
#include "shell/AppContext.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void ExportAll(const CGlazeList& list)
{
    std::vector<int> indices(static_cast<std::size_t>(list.GetCount()));
    std::iota(indices.begin(), indices.end(), 0);
    std::ostringstream out;
    Check(CReciparyIO::ExportRecipes(out, list, indices) == 0);
    Check(CHyperGlazeIO::ExportRecipes(out, list, indices) == 0);
    Check(CHtmlExport::WriteGlazes(out, list, indices) == 0);
    Check(CInsightIO::WriteRecipes(out, list, indices) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    const std::string text(reinterpret_cast<const char*>(data), size);

    CGlazeList list;
    std::string error;
    for (const bool lfLineEnds : {false, true}) {
        const int result = CInsightIO::ReadRecipeText(text, '\n', lfLineEnds, list, error);
        Check((result == 0) == error.empty());
    }
    for (const char delimiter : {'\n', '\r'})
        CReciparyIO::ImportText(list, text, delimiter, "fuzz");
    ExportAll(list);

    CGlazeList records;
    const int before = records.GetCount();
    Check(CHyperGlazeIO::ImportRecords(records, text, '\n') >= before);
    CHyperGlazeIO::IsLabelledText(text);
    ExportAll(records);
    return 0;
}
