#include "materials/SimilarMaterials.h"

#include "framework/Document.h"
#include "materials/Material.h"
#include "materials/MaterialsDoc.h"
#include "textfile/InformationReport.h"
#include "framework/ProgressSink.h"

#include <algorithm>

namespace {

constexpr int kMaxTopCount = 100;
constexpr const char* kSearchStoppedLine = "Search stopped: the materials database was closed or changed.";

bool IsMapped(const CMaterial& material)
{
    return !material.m_mapTo.empty();
}

} // namespace

CFindSimilarMaterials::CFindSimilarMaterials(CMaterialsDoc& document, const CFindSimilarMaterialsRequest& request,
                                             CMaterialRowSelection* selection)
    : m_document(document), m_request(request), m_selection(selection)
{
    if (m_selection)
        m_selectedRows = m_selection->GetSelectedRows();
    if (m_selectedRows.size() == 1)
        m_rememberedRow = m_selectedRows.front();
    m_request.topCount = std::clamp(m_request.topCount, 1, kMaxTopCount);
    m_request.cutoff = m_request.cutoff > 0.0 ? std::min(m_request.cutoff, 100.0) : 0.0;
    m_select = m_selection && m_request.selectSimilar != 0 && m_request.compareScope == kSimilarSelectedMaterials &&
               m_rememberedRow >= 0;
    for (int c = 0; c < kSimilarityCategories; ++c) {
        const bool on = m_request.categories[static_cast<std::size_t>(c)] != 0;
        m_flags[static_cast<std::size_t>(c)] = on ? 1 : 0;
        m_categoryCount += on ? 1 : 0;
    }
}

bool CFindSimilarMaterials::Run(CProgressSink& progress, const LineWriter& write)
{
    const CMaterialArray& materials = m_document.Materials();
    m_materialCount = materials.GetCount();
    m_total = CountRows(m_request.compareScope) * CountRows(m_request.compareToScope);
    m_counter = 0;
    m_databaseChanged = false;
    m_summary = MakeLists();
    progress.Open("Finding similar materials", "Initializing...");
    m_setA = TakeSet(m_request.compareScope);
    m_setB = TakeSet(m_request.compareToScope);
    const bool finished = SearchAll(progress, write);
    if (finished && m_request.summaryOnly)
        WriteSummary(write);
    if (m_databaseChanged)
        write(kSearchStoppedLine);
    if (finished && m_select)
        m_selection->SelectRow(m_rememberedRow);
    progress.Close();
    for (CMaterialMatchList& list : m_summary)
        list.Clear();
    return finished;
}

// The selected rows (ascending) or every material, leaving out mapped materials.
std::vector<const CMaterial*> CFindSimilarMaterials::TakeSet(int scope) const
{
    const CMaterialArray& materials = m_document.Materials();
    std::vector<const CMaterial*> set;
    const auto take = [&set, &materials](int row) {
        const CMaterial* material = materials.GetAt(row);
        if (material && !IsMapped(*material))
            set.push_back(material);
    };
    if (scope == kSimilarAllMaterials) {
        for (int row = 0; row < materials.GetCount(); ++row)
            take(row);
    } else {
        for (int row : m_selectedRows)
            take(row);
    }
    return set;
}

// The count the progress text reports: mapped materials count here too.
long long CFindSimilarMaterials::CountRows(int scope) const
{
    if (scope == kSimilarAllMaterials)
        return m_document.Materials().GetCount();
    return static_cast<long long>(m_selectedRows.size());
}

CFindSimilarMaterials::MatchLists CFindSimilarMaterials::MakeLists() const
{
    MatchLists lists;
    for (CMaterialMatchList& list : lists) {
        list.m_limit = m_request.showAll ? 0 : m_request.topCount;
        list.m_cutoff = m_request.cutoff;
    }
    return lists;
}

bool CFindSimilarMaterials::SearchAll(CProgressSink& progress, const LineWriter& write)
{
    for (const CMaterial* a : m_setA) {
        MatchLists lists = MakeLists();
        if (m_select)
            m_selection->ClearSelection();
        if (!CompareWithSetB(a, lists, progress))
            return false;
        if (m_request.summaryOnly) {
            CollectSummary(a, lists);
            continue;
        }
        const bool anyMatch = std::any_of(lists.begin(), lists.end(),
                                          [](const CMaterialMatchList& list) { return list.GetCount() > 0; });
        if (anyMatch || !m_request.lessVerbose)
            WriteMaterialReport(a, lists, write);
    }
    return true;
}

bool CFindSimilarMaterials::CompareWithSetB(const CMaterial* a, MatchLists& lists, CProgressSink& progress)
{
    for (const CMaterial* b : m_setB) {
        // Events run inside KeepGoing: stop before touching a material that may be gone.
        if (!progress.KeepGoing())
            return false;
        if (!DatabaseUnchanged()) {
            m_databaseChanged = true;
            return false;
        }
        ++m_counter;
        if (m_counter < 10 || m_counter % 10 == 0)
            progress.SetText("Comparing " + std::to_string(m_counter) + " of " + std::to_string(m_total));
        if (b != a)
            Score(a, b, lists);
    }
    return true;
}

bool CFindSimilarMaterials::DatabaseUnchanged() const
{
    return CDocument::IsLive(&m_document) && m_document.Materials().GetCount() == m_materialCount;
}

void CFindSimilarMaterials::Score(const CMaterial* a, const CMaterial* b, MatchLists& lists) const
{
    std::array<double, kSimilarityEntries> scores{};
    const double composite = ScoreAnalysisSimilarity(a, b, m_flags.data(), scores.data());
    if (!m_request.compositeOnly) {
        for (int c = 0; c < kSimilarityCategories; ++c) {
            if (m_flags[static_cast<std::size_t>(c)] != 0)
                lists[static_cast<std::size_t>(c)].Offer({b, scores[static_cast<std::size_t>(c)], nullptr});
        }
    }
    lists[kCompositeList].Offer({b, composite, nullptr});
}

// The matches of a enter the summary as pairs {matched, score, compared}.
void CFindSimilarMaterials::CollectSummary(const CMaterial* a, const MatchLists& lists)
{
    if (std::none_of(lists.begin(), lists.end(), [](const CMaterialMatchList& list) { return list.GetCount() > 0; }))
        return;
    for (std::size_t c = 0; c < lists.size(); ++c) {
        const bool category = c < static_cast<std::size_t>(kSimilarityCategories);
        if (category && (m_request.compositeOnly || m_flags[c] == 0))
            continue;
        for (const CMaterialMatch& item : lists[c].Items())
            m_summary[c].Offer({item.materialA, item.score, a});
    }
}

bool RunFindSimilarMaterials(const CFindSimilarMaterialsRequest& request, CMaterialsDoc& document,
                             CMaterialRowSelection* selection, CProgressSink& progress)
{
    CInformationReport report;
    CFindSimilarMaterials search(document, request, selection);
    const bool finished = search.Run(progress, [&report](const std::string& line) { report.Line(line); });
    report.Finish();
    return finished;
}
