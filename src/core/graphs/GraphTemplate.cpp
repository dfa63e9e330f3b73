#include "graphs/GraphTemplate.h"

#include "graphs/GraphTypeTable.h"
#include "graphs/GraphVariable.h"
#include "support/NumberText.h"

#include <string_view>

CGraphTemplate::CGraphTemplate(std::string name) : m_name(std::move(name))
{
    ResetDefaults(kGraphOnePieOxides);
}

void CGraphTemplate::ResetDefaults(int graphType)
{
    // The member initialisers hold every default; the identity parts move across.
    CGraphTemplate fresh(std::move(m_name), SMemberDefaults{});
    fresh.m_notes = std::move(m_notes);
    fresh.m_dataSources = std::move(m_dataSources);
    *this = std::move(fresh);
    type = graphType;
    const bool plotsAxes = graphType == kGraphScatter || graphType == kGraphScatter3D || graphType == kGraphTriaxial;
    bpoxides = plotsAxes ? "" : "105,106,107";
}

int CGraphTemplate::GetOxideList(std::array<int, kMaxOxideListCodes>& codes, bool admitMinusOne) const
{
    codes.fill(kUnusedOxideSlot);
    int count = 0;
    std::string_view rest = bpoxides;
    while (!rest.empty() && count < kMaxOxideListCodes) {
        const std::size_t comma = rest.find(',');
        const std::string_view piece = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (piece.empty())
            continue;
        const int code = ParseInt(piece);
        if (IsGraphVariable(code) || (admitMinusOne && code == -1))
            codes[static_cast<std::size_t>(count++)] = code;
    }
    return count;
}
