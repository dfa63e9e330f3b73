#include "graphs/GraphTemplateRanges.h"

#include "graphs/ChartDefinition.h"

#include <algorithm>

namespace {

using T = CGraphTemplate;
using A = CChartAxisSettings;

// Percentages of a width, gap or distance run from 0 to 100; sizes in percent (symbols, fonts)
// and the 3-D thickness up to ten times their default; angles one turn either way.
constexpr int kMaxSizePercent = 1000;
constexpr int kMaxAngle = 360;
// The histogram builder itself refuses fewer than 2 or more than 50 steps, with a message.
constexpr int kMaxHistogramSteps = 1000;

constexpr SGraphTemplateRange kRanges[] = {
    {"barwid", &T::barwid, 0, 100},
    {"depth3d", &T::depth3d, 0, kMaxSizePercent},
    {"xgap3d", &T::xgap3d, 0, 100},
    {"zgap3d", &T::zgap3d, 0, 100},
    {"rot3d", &T::rot3d, -kMaxAngle, kMaxAngle},
    {"elev3d", &T::elev3d, -kMaxAngle, kMaxAngle},
    {"eyepos3d", &T::eyepos3d, 0, 100},
    {"symsize", &T::symsize, 0, kMaxSizePercent},
    {"txmainsiz", &T::txmainsiz, 0, kMaxSizePercent},
    {"txlrbsiz", &T::txlrbsiz, 0, kMaxSizePercent},
    {"txpiesiz", &T::txpiesiz, 0, kMaxSizePercent},
    {"txaxsiz", &T::txaxsiz, 0, kMaxSizePercent},
    {"txtrisiz", &T::txtrisiz, 0, kMaxSizePercent},
    {"txlegsiz", &T::txlegsiz, 0, kMaxSizePercent},
    {"xtick", &T::xtick, 0, A::kMaxMajorTicks},
    {"xtickm", &T::xtickm, 0, A::kMaxMinorTicks},
    {"ytick", &T::ytick, 0, A::kMaxMajorTicks},
    {"ytickm", &T::ytickm, 0, A::kMaxMinorTicks},
    {"ztick", &T::ztick, 0, A::kMaxMajorTicks},
    {"ztickm", &T::ztickm, 0, A::kMaxMinorTicks},
    {"hsteps", &T::hsteps, 0, kMaxHistogramSteps},
};

} // namespace

std::span<const SGraphTemplateRange> GraphTemplateRanges()
{
    return kRanges;
}

const SGraphTemplateRange* FindGraphTemplateRange(int CGraphTemplate::*member)
{
    for (const SGraphTemplateRange& range : kRanges) {
        if (range.member == member)
            return &range;
    }
    return nullptr;
}

void BoundGraphTemplate(CGraphTemplate& graphTemplate)
{
    for (const SGraphTemplateRange& range : kRanges)
        graphTemplate.*range.member = std::clamp(graphTemplate.*range.member, range.min, range.max);
}
