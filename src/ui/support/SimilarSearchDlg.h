#pragma once

// What the Find Similar Glazes and Find Similar Materials dialogs share: what to compare with
// what, the measures to score, and how to report (all scores or the composite only, the top N
// or all, a cutoff score, selecting the similar records, less verbose output, a summary only).
// "Select similar" is offered only when the selection is compared (for glazes, within the
// current database) and the caller said that one record is selected.

#include "support/ToolDlg.h"

#include <array>
#include <span>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

// The control ids of one of the dialogs.
struct CSimilarSearchIds {
    std::array<int, 2> compare;
    std::array<int, 2> compareTo;
    std::vector<int> measures;
    std::array<int, 2> scoreDisplay;
    std::array<int, 2> howMany;
    int topCount;
    int cutoff;
    int selectSimilar;
    int lessVerbose;
    int summaryOnly;
};

// The choices both dialogs exchange with their controls.
struct CSimilarSearchChoices {
    int compare = 0;
    int compareTo = 1;
    std::vector<int> measures;
    int compositeOnly = 0;
    int showAll = 0;
    int topCount = 5;
    int selectSimilar = 1;
    double cutoff = 0.0;
    int lessVerbose = 0;
    int summaryOnly = 0;
};

class CSimilarSearchDlg : public CToolDlg {
    Q_OBJECT

public:
    static constexpr int kMaxTopCount = 100;
    static constexpr int kLeftColumn = 8;
    static constexpr int kRightColumn = 184;

    // Set by the caller: exactly one record is selected.
    bool selectionPresent = false;

    QButtonGroup* CompareGroup() const { return m_compare; }
    QButtonGroup* CompareToGroup() const { return m_compareTo; }
    QCheckBox* MeasureBox(int n) const { return m_measures[static_cast<std::size_t>(n)]; }
    QCheckBox* SelectSimilarBox() const { return m_selectSimilar; }
    QLineEdit* TopCountEdit() const { return m_topCount; }
    QLineEdit* CutoffEdit() const { return m_cutoff; }

protected:
    struct CLabels {
        const char* selected;   // "Selected Glazes"
        const char* all;        // "All Glazes"
        const char* selectSimilar;
        // Measures after the six oxide measures both dialogs score.
        std::vector<const char*> extraMeasures;
    };

    CSimilarSearchDlg(QWidget* parent, unsigned helpId, const char* colorName, const CSimilarSearchIds& ids,
                      const CLabels& labels);

    // Room for the derived dialog's own controls below the compare groups, in dialog units.
    static constexpr int kExtraTop = 34;

    void LoadChoices(const CSimilarSearchChoices& choices);
    // False, after the range message, when the top count or the cutoff is out of range.
    bool ReadChoices(CSimilarSearchChoices& choices);
    // The same for a search request (of materials or of glazes) whose measure flags are measures;
    // a request that cannot be read stays as it was.
    template <typename Request>
    void LoadRequest(const Request& request, std::span<const int> measures);
    template <typename Request>
    bool ReadRequest(Request& request, std::span<int> measures);
    // OK, Cancel and Help below the controls, and the dialog's fixed size. The derived
    // constructor calls it last, after its own controls (the tab order follows the making).
    void FinishLayout();
    // The derived dialog's further condition for "Select similar".
    virtual bool SelectSimilarAllowed() const { return true; }
    // Enables "Select similar" or unchecks and disables it.
    void UpdateSelectSimilar();
    int BottomOfControls() const { return m_bottom; }
    // The top of the report choices; the right column is free from 40 units below it.
    int OutputTop() const { return m_outputTop; }

private:
    void BuildScope(const CSimilarSearchIds& ids, const CLabels& labels);
    void BuildMeasures(const CSimilarSearchIds& ids, const CLabels& labels);
    void BuildOutput(const CSimilarSearchIds& ids, const CLabels& labels);

    QButtonGroup* m_compare = nullptr;
    QButtonGroup* m_compareTo = nullptr;
    std::vector<QCheckBox*> m_measures;
    QButtonGroup* m_scoreDisplay = nullptr;
    QButtonGroup* m_howMany = nullptr;
    QLineEdit* m_topCount = nullptr;
    QLineEdit* m_cutoff = nullptr;
    QCheckBox* m_selectSimilar = nullptr;
    QCheckBox* m_lessVerbose = nullptr;
    QCheckBox* m_summaryOnly = nullptr;
    int m_measuresTop = 0;
    int m_bottom = 0;
    int m_outputTop = 0;
};

template <typename Request>
void CSimilarSearchDlg::LoadRequest(const Request& request, std::span<const int> measures)
{
    CSimilarSearchChoices choices;
    choices.compare = request.compareScope;
    choices.compareTo = request.compareToScope;
    choices.measures.assign(measures.begin(), measures.end());
    choices.compositeOnly = request.compositeOnly;
    choices.showAll = request.showAll;
    choices.topCount = request.topCount;
    choices.selectSimilar = request.selectSimilar;
    choices.cutoff = request.cutoff;
    choices.lessVerbose = request.lessVerbose;
    choices.summaryOnly = request.summaryOnly;
    LoadChoices(choices);
}

template <typename Request>
bool CSimilarSearchDlg::ReadRequest(Request& request, std::span<int> measures)
{
    CSimilarSearchChoices choices;
    if (!ReadChoices(choices))
        return false;
    request.compareScope = choices.compare;
    request.compareToScope = choices.compareTo;
    for (std::size_t n = 0; n < measures.size(); ++n)
        measures[n] = choices.measures[n];
    request.compositeOnly = choices.compositeOnly;
    request.showAll = choices.showAll;
    request.topCount = choices.topCount;
    request.selectSimilar = choices.selectSimilar;
    request.cutoff = choices.cutoff;
    request.lessVerbose = choices.lessVerbose;
    request.summaryOnly = choices.summaryOnly;
    return true;
}
