#include "graphs/GraphVariable.h"

#include "elements/ElementTable.h"

#include <iterator>

namespace {

// Summary names of codes 104..127, in code order.
constexpr const char* kSummaryLabels[] = {
    "LOI",          "All alkalis",        "All neutrals",       "All acids",
    "All unexpecteds", "All volatiles",   "Other alkalis",      "Other neutrals",
    "Other acids",  "Other unexpecteds",  "Other volatiles",    "Other nonvolatiles",
    "All other oxides", "???",            "Si/Al ratio",        "COE",
    "Viscosity",    "Cost per kg",        "Average cone",       "Maximum cone",
    "Minimum cone", "Average temperature", "Maximum temperature", "Minimum temperature",
};
static_assert(std::size(kSummaryLabels) == kGraphVariableCount - kGraphVarLoi);

} // namespace

std::string GetSummaryVariableLabel(int code)
{
    if (IsOxideVariable(code))
        return GetElementTable()[code].oxide;
    if (code >= kGraphVarLoi && code < kGraphVariableCount)
        return kSummaryLabels[code - kGraphVarLoi];
    return "???";
}
