// The limit-formula database reader over arbitrary bytes: a read either succeeds, and writing the
// result, reading that back and writing again gives the same bytes and the same records, or it
// fails and leaves an empty database with a message. Every limit range and combination formula
// read is parsed and evaluated on a blank analysis.

#include "glazes/GlazeAnalysis.h"
#include "limits/LimitFormulaDB.h"
#include "shell/AppContext.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::string Written(const CLimitFormulaDB& database)
{
    std::ostringstream out;
    Check(database.Write(out) == 0);
    return out.str();
}

void Exercise(CLimitFormulaDB& database)
{
    CCurrentLimitFormulaDBScope scope(database);
    const CGlazeAnalysis analysis;
    for (int i = 0; i < database.GetCount(); ++i)
        database.GetAt(i).IsAnalysisWithin(analysis);
    for (const auto& combination : database.m_combinations)
        combination->GetValue(analysis, true);
}

bool SameRecords(const CLimitFormulaDB& a, const CLimitFormulaDB& b)
{
    if (a.GetCount() != b.GetCount() || a.m_combinations.GetCount() != b.m_combinations.GetCount() ||
        a.m_name != b.m_name || a.m_infoLines != b.m_infoLines)
        return false;
    for (int i = 0; i < a.GetCount(); ++i) {
        const CLimitFormula& x = a.GetAt(i);
        const CLimitFormula& y = b.GetAt(i);
        if (x.m_name != y.m_name || x.m_notes != y.m_notes || x.m_limits.GetCount() != y.m_limits.GetCount())
            return false;
        for (int k = 0; k < x.m_limits.GetCount(); ++k) {
            if (x.m_limits.GetAt(k).GetRange() != y.m_limits.GetAt(k).GetRange() ||
                x.m_limits.GetAt(k).m_byPercent != y.m_limits.GetAt(k).m_byPercent)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    CLimitFormulaDB database;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    if (database.Read(in) != 0) {
        Check(database.GetCount() == 0 && database.m_combinations.empty() && database.m_infoLines.empty() &&
              !database.m_errorText.empty());
        return 0;
    }
    Exercise(database);
    const std::string first = Written(database);
    CLimitFormulaDB copy;
    std::istringstream again(first);
    Check(copy.Read(again) == 0);
    Check(SameRecords(database, copy));
    Check(Written(copy) == first);
    return 0;
}
