// The report of Find Similar Glazes: one block per switched-on measure (and the composite when
// more than one measure is on), per compared glaze or as one summary of pairs.

#include "tools/FindSimilarGlazes.h"

#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazesDoc.h"
#include "support/NumberText.h"

namespace {

constexpr const char* kBlockTitles[CFindSimilarGlazes::kCompositeList + 1] = {
    "Nonvolatile oxide similarity (% weight) :",
    "Nonvolatile oxide similarity (% molecular) :",
    "All oxide similarity (% weight) :",
    "All oxide similarity (% molecular) :",
    "Alkali oxide similarity (% weight) :",
    "Alkali oxide similarity (% molecular) :",
    "Ingredient similarity :",
    "Ingredient/amount similarity :",
    "Composite similarity :",
};

constexpr const char* kSummaryHeader = "=== Similarity Summary ===";

void WriteFramed(const std::string& header, const CFindSimilarGlazes::LineWriter& write)
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

std::string CFindSimilarGlazes::GlazeLabel(const CGlaze* glaze, int database, bool withDatabase) const
{
    if (!withDatabase)
        return glaze->m_name;
    return glaze->m_name + " (" + m_databases[static_cast<std::size_t>(database)]->GetDbName() + ")";
}

void CFindSimilarGlazes::SelectMatched(const CGlazeMatch& item) const
{
    if (!m_select)
        return;
    CGlazesDoc* database = m_databases[static_cast<std::size_t>(item.indexA)];
    for (int i = 0; i < database->GetGlazeCount(); ++i) {
        if (database->GetGlaze(i) == item.glazeA) {
            database->SelectGlaze(i);
            return;
        }
    }
}

// A measure's block is written when it is switched on (and, unless all scores are shown, not
// the composite of a single measure), and with less verbose output only when it holds a match.
bool CFindSimilarGlazes::ShowsBlock(int list, const CGlazeMatchList& matches) const
{
    if (list == kCompositeList) {
        if (m_measureCount <= 1)
            return false;
    } else if (m_request.compositeOnly || m_request.measures[static_cast<std::size_t>(list)] == 0) {
        return false;
    }
    return matches.GetCount() > 0 || !m_request.lessVerbose;
}

void CFindSimilarGlazes::WriteGlazeReport(int databaseA, const CGlaze* a, MatchLists& lists,
                                          const LineWriter& write) const
{
    WriteFramed("=== " + GlazeLabel(a, databaseA, m_setA.size() > 1) + " ===", write);
    if (!a->GetAnalysis().IsValid())
        write("(chemical analysis unknown)");
    write("");
    for (int list = 0; list <= kCompositeList; ++list)
        if (ShowsBlock(list, lists[static_cast<std::size_t>(list)]))
            WriteBlock(list, lists[static_cast<std::size_t>(list)], write);
}

void CFindSimilarGlazes::WriteBlock(int list, CGlazeMatchList& matches, const LineWriter& write) const
{
    if (m_request.showAll)
        matches.SortByScore();
    write(kBlockTitles[list]);
    for (const CGlazeMatch& item : matches.Items()) {
        write("  " + ScoreText(item.score) + "  " + GlazeLabel(item.glazeA, item.indexA, m_setB.size() > 1));
        SelectMatched(item);
    }
    if (matches.GetCount() == 0)
        write("  none found");
    if (matches.IsTruncated())
        write(CGlazeMatchList::TruncatedLine());
    write("");
}

void CFindSimilarGlazes::WriteSummary(const LineWriter& write)
{
    WriteFramed(kSummaryHeader, write);
    write("");
    for (int list = 0; list <= kCompositeList; ++list)
        if (ShowsBlock(list, m_summary[static_cast<std::size_t>(list)]))
            WriteSummaryBlock(list, m_summary[static_cast<std::size_t>(list)], write);
}

// Each pair on two lines: the compared glaze with the score, the matched glaze below it.
void CFindSimilarGlazes::WriteSummaryBlock(int list, CGlazeMatchList& matches, const LineWriter& write) const
{
    if (m_request.showAll) {
        matches.RemoveMirrorPairs();
        matches.SortByScore();
    }
    write(kBlockTitles[list]);
    const bool withDatabase = m_setA.size() > 1 || m_setB.size() > 1;
    for (const CGlazeMatch& item : matches.Items()) {
        write("  " + ScoreText(item.score) + "  " + GlazeLabel(item.glazeB, item.indexB, withDatabase));
        write("  " + std::string(6, ' ') + "  " + GlazeLabel(item.glazeA, item.indexA, withDatabase));
        SelectMatched(item);
    }
    if (matches.GetCount() == 0)
        write("  none found");
    if (matches.IsTruncated())
        write(CGlazeMatchList::TruncatedLine());
    write("");
}
