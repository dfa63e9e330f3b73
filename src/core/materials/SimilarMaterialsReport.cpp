// The report of Find Similar Materials: one block per chosen category (and the composite when
// more than one category is chosen), per compared material or as one summary of pairs.

#include "materials/SimilarMaterials.h"

#include "materials/Material.h"
#include "materials/MaterialsDoc.h"
#include "support/NumberText.h"

namespace {

constexpr const char* kBlockTitles[CFindSimilarMaterials::kCompositeList + 1] = {
    "Nonvolatile oxide similarity (% weight) :",
    "Nonvolatile oxide similarity (% molecular) :",
    "All oxide similarity (% weight) :",
    "All oxide similarity (% molecular) :",
    "Alkali oxide similarity (% weight) :",
    "Alkali oxide similarity (% molecular) :",
    "Composite similarity :",
};

constexpr const char* kSummaryHeader = "=== Similarity Summary ===";

void WriteFramed(const std::string& header, const CFindSimilarMaterials::LineWriter& write)
{
    const std::string rule(header.size(), '=');
    write(rule);
    write(header);
    write(rule);
}

std::string ScoreText(double score)
{
    return FormatDoubleFixedWidth(score, 6, 2);
}

} // namespace

void CFindSimilarMaterials::SelectMaterial(const CMaterial* material) const
{
    if (!m_select)
        return;
    const int row = m_document.Materials().IndexOf(material);
    if (row >= 0)
        m_selection->SelectRow(row);
}

// A category's block is written when it is chosen (and all scores are shown), the composite's
// only when more than one category is chosen; with less verbose output only when it holds a
// match.
bool CFindSimilarMaterials::ShowsBlock(int list, const CMaterialMatchList& matches) const
{
    if (list == kCompositeList) {
        if (m_categoryCount <= 1)
            return false;
    } else if (m_request.compositeOnly || m_flags[static_cast<std::size_t>(list)] == 0) {
        return false;
    }
    return matches.GetCount() > 0 || !m_request.lessVerbose;
}

void CFindSimilarMaterials::WriteMaterialReport(const CMaterial* a, MatchLists& lists, const LineWriter& write) const
{
    WriteFramed("=== " + a->m_name + " ===", write);
    write("");
    for (int list = 0; list <= kCompositeList; ++list)
        if (ShowsBlock(list, lists[static_cast<std::size_t>(list)]))
            WriteBlock(list, lists[static_cast<std::size_t>(list)], write);
}

void CFindSimilarMaterials::WriteBlock(int list, CMaterialMatchList& matches, const LineWriter& write) const
{
    if (m_request.showAll)
        matches.SortByScore();
    write(kBlockTitles[list]);
    for (const CMaterialMatch& item : matches.Items()) {
        write("  " + ScoreText(item.score) + "  " + item.materialA->m_name);
        SelectMaterial(item.materialA);
    }
    if (matches.GetCount() == 0)
        write("  none found");
    if (matches.IsTruncated())
        write(CMaterialMatchList::TruncatedLine());
    write("");
}

void CFindSimilarMaterials::WriteSummary(const LineWriter& write)
{
    WriteFramed(kSummaryHeader, write);
    write("");
    for (int list = 0; list <= kCompositeList; ++list)
        if (ShowsBlock(list, m_summary[static_cast<std::size_t>(list)]))
            WriteSummaryBlock(list, m_summary[static_cast<std::size_t>(list)], write);
}

// Each pair on two lines: the compared material with the score, the matched one below it.
void CFindSimilarMaterials::WriteSummaryBlock(int list, CMaterialMatchList& matches, const LineWriter& write) const
{
    if (m_request.showAll) {
        matches.RemoveMirrorPairs();
        matches.SortByScore();
    }
    write(kBlockTitles[list]);
    for (const CMaterialMatch& item : matches.Items()) {
        write("  " + ScoreText(item.score) + "  " + item.materialB->m_name);
        write("  " + std::string(6, ' ') + "  " + item.materialA->m_name);
        SelectMaterial(item.materialA);
    }
    if (matches.GetCount() == 0)
        write("  none found");
    if (matches.IsTruncated())
        write(CMaterialMatchList::TruncatedLine());
    write("");
}
