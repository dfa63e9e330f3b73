// A glaze database file of arbitrary bytes through CGlazeList::Read. When the read succeeds the
// list is written and read again: the second reading must succeed, hold the same glazes and write
// the same text. (Amounts are compared through the written text: the file keeps the recipe
// decimals only, so a first reading may hold finer amounts than the file gives back.)

#include "glazes/GlazeList.h"
#include "shell/AppContext.h"
#include "glazes/OptimizationParams.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckSameLines(const CIngredientList& a, const CIngredientList& b)
{
    Check(a.GetCount() == b.GetCount());
    for (int i = 0; i < a.GetCount(); ++i)
        Check(a.GetAt(i).m_name == b.GetAt(i).m_name);
}

void CheckSameGlaze(const CGlaze& a, const CGlaze& b)
{
    for (const auto member : {&CGlaze::m_name, &CGlaze::m_index, &CGlaze::m_source, &CGlaze::m_date,
                              &CGlaze::m_type, &CGlaze::m_range, &CGlaze::m_firetype, &CGlaze::m_color,
                              &CGlaze::m_vistexture, &CGlaze::m_quality, &CGlaze::m_transparency,
                              &CGlaze::m_xtals, &CGlaze::m_bubbles, &CGlaze::m_flow, &CGlaze::m_durability,
                              &CGlaze::m_flaws, &CGlaze::m_tested, &CGlaze::m_imagefile,
                              &CGlaze::m_notefile, &CGlaze::m_limform})
        Check(a.*member == b.*member);
    Check(a.m_byVol == b.m_byVol);
    CheckSameLines(a.m_components, b.m_components);
    CheckSameLines(a.m_additions, b.m_additions);
    Check(a.m_variations == b.m_variations);
    Check(a.m_notes == b.m_notes);
    Check(a.m_lowCone == b.m_lowCone && a.m_highCone == b.m_highCone);
    Check(a.m_lowTemp == b.m_lowTemp && a.m_highTemp == b.m_highTemp);
    Check(a.m_dateValue == b.m_dateValue);
    const COptimizationParams* pa = a.FindOptimizationParams();
    const COptimizationParams* pb = b.FindOptimizationParams();
    Check((pa == nullptr) == (pb == nullptr));
    if (pa)
        Check(*pa == *pb);
}

std::string Written(const CGlazeList& list)
{
    std::ostringstream out;
    Check(list.Write(out) == 0);
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CGlazeList first;
    if (first.Read(in) != 0)
        return 0;
    const std::string text = Written(first);

    std::istringstream again(text);
    CGlazeList second;
    Check(second.Read(again) == 0);
    Check(second.m_name == first.m_name);
    Check(second.m_infoLines == first.m_infoLines);
    Check(second.GetCount() == first.GetCount());
    for (int i = 0; i < first.GetCount(); ++i)
        CheckSameGlaze(first.GetAt(i), second.GetAt(i));
    Check(Written(second) == text);
    return 0;
}
