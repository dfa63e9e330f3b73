#include "glazes/GlazeAnalysis.h"

#include "glazes/Glaze.h"

// No chemistry is derived from the recipe yet: the analysis is marked as not valid, which every
// reader takes as "no chemistry" (no oxide is present, no limit is met).
void CGlaze::ComputeAnalysis(CGlazeAnalysis& analysis) const
{
    analysis.materialsFound = 0;
    analysis.amountsValid = 0;
}
