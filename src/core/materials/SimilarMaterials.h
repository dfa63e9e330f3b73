#pragma once

// Find Similar Materials: every material of one set (A) is scored against every material of a
// second set (B) by up to six oxide categories and their composite (ScoreAnalysisSimilarity);
// the best matches are kept in bounded match lists and written as a text report, per compared
// material or as one summary of the best pairs. On request the matched materials are selected
// in the materials list.
//
// Materials that map to another material are neither compared nor compared to. The search runs
// on the user-interface thread under a progress window (CProgressSink) whose KeepGoing is called
// before every comparison; Cancel ends the search there, and the lines written so far stay.

#include "materials/MaterialMatchList.h"
#include "materials/MaterialSimilarity.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class CMaterial;
class CMaterialsDoc;
class CProgressSink;

enum SimilarMaterialsScope : int {
    kSimilarSelectedMaterials = 0, // "Selected Materials"
    kSimilarAllMaterials = 1,      // "All Materials"
};

// What the Find Similar Materials dialog collects.
struct CFindSimilarMaterialsRequest {
    int compareScope = kSimilarSelectedMaterials;
    int compareToScope = kSimilarAllMaterials;
    std::array<int, kSimilarityCategories> categories{1, 0, 0, 0, 0, 0};
    int compositeOnly = 0; // "Show composite scores only" (else "Show all scores")
    int showAll = 0;       // "Show all" (else "Show top" topCount)
    int topCount = 5;      // 1..100
    int selectSimilar = 1; // "Select similar materials"
    double cutoff = 80.0;  // percent; lower scores are not listed
    int lessVerbose = 0;
    int summaryOnly = 0;
};

// The rows of the materials list as the search reads and marks them.
class CMaterialRowSelection {
public:
    virtual ~CMaterialRowSelection() = default;
    virtual std::vector<int> GetSelectedRows() const = 0; // ascending
    virtual void ClearSelection() = 0;
    virtual void SelectRow(int row) = 0;
};

class CFindSimilarMaterials {
public:
    using LineWriter = std::function<void(const std::string&)>;

    // selection may be null (nothing is then read or selected); its rows are read here.
    CFindSimilarMaterials(CMaterialsDoc& document, const CFindSimilarMaterialsRequest& request,
                          CMaterialRowSelection* selection);

    // Runs the search, writing the report through write. True when it ran to the end; false
    // when it was cancelled or the materials database was closed or changed its size meanwhile
    // (the report then ends with a line saying so).
    bool Run(CProgressSink& progress, const LineWriter& write);

    static constexpr int kCompositeList = kSimilarityCategories; // the seventh list of each kind
    using MatchLists = std::array<CMaterialMatchList, kSimilarityCategories + 1>;

private:
    std::vector<const CMaterial*> TakeSet(int scope) const;
    long long CountRows(int scope) const;
    MatchLists MakeLists() const;
    bool SearchAll(CProgressSink& progress, const LineWriter& write);
    bool CompareWithSetB(const CMaterial* a, MatchLists& lists, CProgressSink& progress);
    bool DatabaseUnchanged() const;
    void Score(const CMaterial* a, const CMaterial* b, MatchLists& lists) const;
    void CollectSummary(const CMaterial* a, const MatchLists& lists);

    // The report (SimilarMaterialsReport.cpp).
    void WriteMaterialReport(const CMaterial* a, MatchLists& lists, const LineWriter& write) const;
    void WriteSummary(const LineWriter& write);
    bool ShowsBlock(int list, const CMaterialMatchList& matches) const;
    void WriteBlock(int list, CMaterialMatchList& matches, const LineWriter& write) const;
    void WriteSummaryBlock(int list, CMaterialMatchList& matches, const LineWriter& write) const;
    void SelectMaterial(const CMaterial* material) const;

    CMaterialsDoc& m_document;
    CFindSimilarMaterialsRequest m_request;
    CMaterialRowSelection* m_selection;
    std::vector<int> m_selectedRows;
    int m_rememberedRow = -1;
    bool m_select = false;
    int m_categoryCount = 0;
    std::array<int, kSimilarityEntries> m_flags{};
    int m_materialCount = 0; // the database's size when the search began
    std::vector<const CMaterial*> m_setA;
    std::vector<const CMaterial*> m_setB;
    long long m_total = 0;
    long long m_counter = 0;
    bool m_databaseChanged = false;
    MatchLists m_summary;
};

// The command after the dialog's OK: the search with its report written into the emptied
// Information window. True when it ran to the end.
bool RunFindSimilarMaterials(const CFindSimilarMaterialsRequest& request, CMaterialsDoc& document,
                             CMaterialRowSelection* selection, CProgressSink& progress);
