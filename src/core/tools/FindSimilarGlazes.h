#pragma once

// Find Similar Glazes: every glaze of one set (A) is scored against every glaze of a second set
// (B) by up to eight similarity measures and their composite (CGlaze::ComputeSimilarity); the
// best matches are kept in bounded match lists and written as a text report, per compared glaze
// or as one summary. On request the matched glazes are selected in their database windows.
//
// The search runs on the user-interface thread under a progress window (CProgressSink) whose
// KeepGoing is called before every comparison; Cancel ends the search at the next comparison.
// However it ends, the search puts back what it changed for its own sake: the include-additions
// preference with the analyses computed under it, the selected row of the current list and the
// progress window. The report lines written so far stay.

#include "tools/GlazeMatchList.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class CGlaze;
class CGlazesDoc;
class CProgressSink;

inline constexpr int kSimilarGlazeMeasures = 8;
// The slot of each of the dialog's measure boxes in the score arrays of ComputeSimilarity:
// non-volatile oxides by weight and by moles, all oxides by weight and by moles, alkali oxides
// by weight and by moles, ingredients, ingredients and amounts.
inline constexpr std::array<int, kSimilarGlazeMeasures> kSimilarGlazeMeasureSlots = {0, 1, 2, 3, 4, 5, 16, 17};

enum SimilarScope : int {
    kSimilarSelectedGlazes = 0, // "Selected Glazes"
    kSimilarAllGlazes = 1,      // "All Glazes"
};

enum SimilarDatabases : int {
    kSimilarCurrentDatabase = 0, // "Current Database"
    kSimilarAllDatabases = 1,    // "All Databases"
};

// What the Find Similar Glazes dialog collects.
struct CFindSimilarGlazesRequest {
    int compareScope = kSimilarSelectedGlazes;
    int compareDatabases = kSimilarCurrentDatabase;
    int compareToScope = kSimilarAllGlazes;
    int compareToDatabases = kSimilarCurrentDatabase;
    std::array<int, kSimilarGlazeMeasures> measures{1, 0, 0, 0, 0, 0, 0, 0};
    int compositeOnly = 0; // "Show composite scores only" (else "Show all scores")
    int showAll = 0;       // "Show all" (else "Show top" topCount)
    int topCount = 5;      // 1..100
    int selectSimilar = 1; // "Select similar glazes"
    double cutoff = 90.0;  // percent; lower scores are not listed
    int includeAdditions = 0;
    int lessVerbose = 0;
    int summaryOnly = 0;
};

// The row of the document's list when exactly one is selected, else -1. The dialog offers
// "Select similar glazes" only then.
int SingleSelectedRow(CGlazesDoc& document);

class CFindSimilarGlazes {
public:
    using LineWriter = std::function<void(const std::string&)>;

    // Remembers the current list's single selected row; "Select similar glazes" counts only for
    // the selected glazes of the current database with exactly one row selected.
    CFindSimilarGlazes(CGlazesDoc& current, const CFindSimilarGlazesRequest& request);

    // Runs the search, writing the report through write. True when it ran to the end; false
    // when it was cancelled, or when a database it holds was closed or lost or gained glazes
    // (the report then ends with a line saying so).
    bool Run(CProgressSink& progress, const LineWriter& write);

    static constexpr int kCompositeList = kSimilarGlazeMeasures; // the ninth list of each kind
    using MatchLists = std::array<CGlazeMatchList, kSimilarGlazeMeasures + 1>;

private:
    // --- the search (FindSimilarGlazes.cpp) ---
    void FormSets();
    long long CountGlazes(const std::vector<int>& set, int scope) const;
    std::vector<CGlaze*> TakeGlazes(int database, int scope) const;
    void SetIncludeAdditions(int include);
    void DropAnalyses();
    MatchLists MakeLists() const;
    bool SearchAll(CProgressSink& progress, const LineWriter& write);
    bool CompareWithSetB(const CGlaze* a, MatchLists& lists, CProgressSink& progress);
    bool DatabasesUnchanged() const;
    void Score(const CGlaze* a, int databaseB, const CGlaze* b, MatchLists& lists) const;
    void CollectSummary(int databaseA, const CGlaze* a, const MatchLists& lists);
    void Finish(CProgressSink& progress);

    // --- the report (FindSimilarGlazesReport.cpp) ---
    void WriteGlazeReport(int databaseA, const CGlaze* a, MatchLists& lists, const LineWriter& write) const;
    void WriteSummary(const LineWriter& write);
    bool ShowsBlock(int list, const CGlazeMatchList& matches) const;
    void WriteBlock(int list, CGlazeMatchList& matches, const LineWriter& write) const;
    void WriteSummaryBlock(int list, CGlazeMatchList& matches, const LineWriter& write) const;
    std::string GlazeLabel(const CGlaze* glaze, int database, bool withDatabase) const;
    void SelectMatched(const CGlazeMatch& item) const;

    CGlazesDoc& m_current;
    CFindSimilarGlazesRequest m_request;
    int m_rememberedRow = -1;
    bool m_select = false;
    int m_measureCount = 0;
    std::array<int, 32> m_flags{};
    std::vector<CGlazesDoc*> m_databases; // every database of A and B, each once
    std::vector<int> m_glazeCounts;       // their glaze counts when the search began
    std::vector<int> m_setA;              // indices into m_databases
    std::vector<int> m_setB;
    long long m_total = 0;
    long long m_counter = 0;
    int m_savedIncludeAdditions = 0;
    bool m_includeChanged = false;
    bool m_databaseChanged = false;
    MatchLists m_summary;
};

// The command after the dialog's OK: the search with its report written into the emptied
// Information window. True when it ran to the end.
bool RunFindSimilarGlazes(const CFindSimilarGlazesRequest& request, CGlazesDoc& current, CProgressSink& progress);
