#include "tools/FindSimilarGlazes.h"

#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "textfile/InformationReport.h"
#include "framework/ProgressSink.h"

#include <algorithm>

namespace {

constexpr int kMaxTopCount = 100;
constexpr const char* kSearchStoppedLine = "Search stopped: a glaze database was closed or changed.";

// The databases of one choice: the current one, or every open glaze database in the order of
// the glaze template (the current one alone when there is no application object).
std::vector<CGlazesDoc*> DatabasesOf(int choice, CGlazesDoc& current)
{
    if (choice != kSimilarAllDatabases || !g_pApp)
        return {&current};
    std::vector<CDocument*> documents;
    g_pApp->GetGlazeDocs(documents);
    std::vector<CGlazesDoc*> databases;
    for (CDocument* document : documents)
        if (auto* glazes = dynamic_cast<CGlazesDoc*>(document))
            databases.push_back(glazes);
    return databases;
}

} // namespace

int SingleSelectedRow(CGlazesDoc& document)
{
    if (document.GetSelectedCount(false) != 1)
        return -1;
    std::vector<CGlaze*> selected;
    document.GetSelectedGlazes(selected, false);
    for (int i = 0; !selected.empty() && i < document.GetGlazeCount(); ++i)
        if (document.GetGlaze(i) == selected.front())
            return i;
    return -1;
}

CFindSimilarGlazes::CFindSimilarGlazes(CGlazesDoc& current, const CFindSimilarGlazesRequest& request)
    : m_current(current), m_request(request), m_rememberedRow(SingleSelectedRow(current))
{
    m_request.topCount = std::clamp(m_request.topCount, 1, kMaxTopCount);
    m_request.cutoff = m_request.cutoff > 0.0 ? std::min(m_request.cutoff, 100.0) : 0.0;
    m_select = m_request.selectSimilar != 0 && m_request.compareScope == kSimilarSelectedGlazes &&
               m_request.compareDatabases == kSimilarCurrentDatabase && m_rememberedRow >= 0;
    for (int m = 0; m < kSimilarGlazeMeasures; ++m) {
        const bool on = m_request.measures[static_cast<std::size_t>(m)] != 0;
        m_flags[static_cast<std::size_t>(kSimilarGlazeMeasureSlots[static_cast<std::size_t>(m)])] = on ? 1 : 0;
        m_measureCount += on ? 1 : 0;
    }
}

bool CFindSimilarGlazes::Run(CProgressSink& progress, const LineWriter& write)
{
    FormSets();
    m_total = CountGlazes(m_setA, m_request.compareScope) * CountGlazes(m_setB, m_request.compareToScope);
    m_counter = 0;
    m_databaseChanged = false;
    m_savedIncludeAdditions = g_prefs.anchadd;
    SetIncludeAdditions(m_request.includeAdditions != 0 ? 1 : 0);
    m_summary = MakeLists();
    progress.Open("Finding similar glazes", "Initializing...");
    const bool finished = SearchAll(progress, write);
    if (finished && m_request.summaryOnly)
        WriteSummary(write);
    if (m_databaseChanged)
        write(kSearchStoppedLine);
    Finish(progress);
    return finished;
}

void CFindSimilarGlazes::FormSets()
{
    m_databases.clear();
    const auto indexOf = [this](CGlazesDoc* database) {
        const auto at = std::find(m_databases.begin(), m_databases.end(), database);
        if (at != m_databases.end())
            return static_cast<int>(at - m_databases.begin());
        m_databases.push_back(database);
        return static_cast<int>(m_databases.size()) - 1;
    };
    m_setA.clear();
    for (CGlazesDoc* database : DatabasesOf(m_request.compareDatabases, m_current))
        m_setA.push_back(indexOf(database));
    m_setB.clear();
    for (CGlazesDoc* database : DatabasesOf(m_request.compareToDatabases, m_current))
        m_setB.push_back(indexOf(database));
    m_glazeCounts.clear();
    for (const CGlazesDoc* database : m_databases)
        m_glazeCounts.push_back(database->GetGlazeCount());
}

long long CFindSimilarGlazes::CountGlazes(const std::vector<int>& set, int scope) const
{
    long long count = 0;
    for (int database : set)
        count += m_databases[static_cast<std::size_t>(database)]->GetSelectedCount(scope == kSimilarAllGlazes);
    return count;
}

std::vector<CGlaze*> CFindSimilarGlazes::TakeGlazes(int database, int scope) const
{
    std::vector<CGlaze*> glazes;
    m_databases[static_cast<std::size_t>(database)]->GetSelectedGlazes(glazes, scope == kSimilarAllGlazes);
    return glazes;
}

// Every score of the run is computed with the dialog's choice; analyses cached under the other
// setting are dropped.
void CFindSimilarGlazes::SetIncludeAdditions(int include)
{
    m_includeChanged = include != g_prefs.anchadd;
    if (!m_includeChanged)
        return;
    g_prefs.anchadd = include;
    DropAnalyses();
}

void CFindSimilarGlazes::DropAnalyses()
{
    for (CGlazesDoc* database : m_databases) {
        if (!CDocument::IsLive(database))
            continue;
        for (int i = 0; i < database->GetGlazeCount(); ++i)
            database->GetGlaze(i)->InvalidateAnalysis();
    }
}

CFindSimilarGlazes::MatchLists CFindSimilarGlazes::MakeLists() const
{
    MatchLists lists;
    for (CGlazeMatchList& list : lists) {
        list.m_limit = m_request.showAll ? 0 : m_request.topCount;
        list.m_cutoff = m_request.cutoff;
    }
    return lists;
}

bool CFindSimilarGlazes::SearchAll(CProgressSink& progress, const LineWriter& write)
{
    for (int databaseA : m_setA) {
        for (const CGlaze* a : TakeGlazes(databaseA, m_request.compareScope)) {
            MatchLists lists = MakeLists();
            if (!CompareWithSetB(a, lists, progress))
                return false;
            if (m_request.summaryOnly) {
                CollectSummary(databaseA, a, lists);
                continue;
            }
            const bool anyMatch = std::any_of(lists.begin(), lists.end(),
                                              [](const CGlazeMatchList& list) { return list.GetCount() > 0; });
            if (anyMatch || !m_request.lessVerbose)
                WriteGlazeReport(databaseA, a, lists, write);
        }
    }
    return true;
}

bool CFindSimilarGlazes::CompareWithSetB(const CGlaze* a, MatchLists& lists, CProgressSink& progress)
{
    for (int databaseB : m_setB) {
        const std::vector<CGlaze*> glazes = TakeGlazes(databaseB, m_request.compareToScope);
        if (m_select)
            m_databases[static_cast<std::size_t>(databaseB)]->ClearSelection();
        for (const CGlaze* b : glazes) {
            // The user may act while events run: stop before touching a glaze that may be gone.
            if (!progress.KeepGoing())
                return false;
            if (!DatabasesUnchanged()) {
                m_databaseChanged = true;
                return false;
            }
            ++m_counter;
            if (m_counter < 10 || m_counter % 10 == 0)
                progress.SetText("Comparing " + std::to_string(m_counter) + " of " + std::to_string(m_total));
            // A glaze is never compared with itself (an equal copy in another record is).
            if (b != a)
                Score(a, databaseB, b, lists);
        }
    }
    return true;
}

bool CFindSimilarGlazes::DatabasesUnchanged() const
{
    for (std::size_t i = 0; i < m_databases.size(); ++i)
        if (!CDocument::IsLive(m_databases[i]) || m_databases[i]->GetGlazeCount() != m_glazeCounts[i])
            return false;
    return true;
}

void CFindSimilarGlazes::Score(const CGlaze* a, int databaseB, const CGlaze* b, MatchLists& lists) const
{
    std::array<double, 32> scores{};
    const double composite = CGlaze::ComputeSimilarity(a, b, m_flags.data(), scores.data());
    if (!m_request.compositeOnly) {
        for (int m = 0; m < kSimilarGlazeMeasures; ++m) {
            if (m_request.measures[static_cast<std::size_t>(m)] == 0)
                continue;
            const int slot = kSimilarGlazeMeasureSlots[static_cast<std::size_t>(m)];
            const double score = scores[static_cast<std::size_t>(slot)];
            lists[static_cast<std::size_t>(m)].Offer({databaseB, b, score, 0, nullptr});
        }
    }
    lists[kCompositeList].Offer({databaseB, b, composite, 0, nullptr});
}

// The matches of a enter the summary as pairs {matched, compared}.
void CFindSimilarGlazes::CollectSummary(int databaseA, const CGlaze* a, const MatchLists& lists)
{
    if (std::none_of(lists.begin(), lists.end(), [](const CGlazeMatchList& list) { return list.GetCount() > 0; }))
        return;
    for (std::size_t m = 0; m < lists.size(); ++m) {
        const bool measure = m < static_cast<std::size_t>(kSimilarGlazeMeasures);
        if (measure && (m_request.compositeOnly || m_request.measures[m] == 0))
            continue;
        for (const CGlazeMatch& item : lists[m].Items())
            m_summary[m].Offer({item.indexA, item.glazeA, item.score, databaseA, a});
    }
}

// Puts back what the search changed for its own sake, whether it finished or was cancelled.
void CFindSimilarGlazes::Finish(CProgressSink& progress)
{
    if (m_includeChanged) {
        g_prefs.anchadd = m_savedIncludeAdditions;
        DropAnalyses();
        m_includeChanged = false;
    }
    if (m_select && CDocument::IsLive(&m_current))
        m_current.SelectGlaze(m_rememberedRow);
    progress.Close();
    for (CGlazeMatchList& list : m_summary)
        list.Clear();
}

bool RunFindSimilarGlazes(const CFindSimilarGlazesRequest& request, CGlazesDoc& current, CProgressSink& progress)
{
    CInformationReport report;
    CFindSimilarGlazes search(current, request);
    const bool finished = search.Run(progress, [&report](const std::string& line) { report.Line(line); });
    report.Finish();
    return finished;
}
