#include "tools/FindSimilarGlazesDlg.h"

#include "shell/Preferences.h"

#include <QButtonGroup>
#include <QCheckBox>

namespace {

const CSimilarSearchIds kIds = {
    {1008, 1009}, {1012, 1013}, {1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023}, {1024, 1025}, {1026, 1027},
    1028,         1029,         1030,
    1033,         1034,
};

constexpr int kCompareDbIds[] = {1010, 1011};
constexpr int kCompareToDbIds[] = {1014, 1015};
constexpr int kIncludeAdditionsId = 1031;

} // namespace

CFindSimilarGlazesRequest RememberedSimilarGlazesRequest()
{
    CFindSimilarGlazesRequest request;
    request.compareScope = g_prefs.m_nSimGlzCompare;
    request.compareDatabases = g_prefs.m_nSimGlzCompareDb;
    request.compareToScope = g_prefs.m_nSimGlzCompareTo;
    request.compareToDatabases = g_prefs.m_nSimGlzCompareToDb;
    request.measures = g_prefs.m_nSimGlzMeasures;
    request.compositeOnly = g_prefs.m_nSimGlzScoreDisplay;
    request.showAll = g_prefs.m_nSimGlzHowMany;
    request.topCount = g_prefs.m_nSimGlzTopCount;
    request.selectSimilar = g_prefs.m_nSimGlzSelectSimilar;
    request.cutoff = g_prefs.m_dSimGlzCutoff;
    // 2 (and anything else but 0 or 1): follow the analysis preference.
    const int include = g_prefs.m_nSimGlzIncludeAdditions;
    request.includeAdditions = include == 0 || include == 1 ? include : (g_prefs.anchadd != 0 ? 1 : 0);
    request.lessVerbose = g_prefs.m_nSimGlzLessVerbose;
    request.summaryOnly = g_prefs.m_nSimGlzSummaryOnly;
    return request;
}

void RememberSimilarGlazesRequest(const CFindSimilarGlazesRequest& request)
{
    g_prefs.m_nSimGlzCompare = request.compareScope;
    g_prefs.m_nSimGlzCompareDb = request.compareDatabases;
    g_prefs.m_nSimGlzCompareTo = request.compareToScope;
    g_prefs.m_nSimGlzCompareToDb = request.compareToDatabases;
    g_prefs.m_nSimGlzMeasures = request.measures;
    g_prefs.m_nSimGlzScoreDisplay = request.compositeOnly;
    g_prefs.m_nSimGlzHowMany = request.showAll;
    g_prefs.m_nSimGlzTopCount = request.topCount;
    g_prefs.m_nSimGlzSelectSimilar = request.selectSimilar;
    g_prefs.m_dSimGlzCutoff = request.cutoff;
    g_prefs.m_nSimGlzIncludeAdditions = request.includeAdditions;
    g_prefs.m_nSimGlzLessVerbose = request.lessVerbose;
    g_prefs.m_nSimGlzSummaryOnly = request.summaryOnly;
}

CFindSimilarGlazesDlg::CFindSimilarGlazesDlg(QWidget* parent)
    : CSimilarSearchDlg(parent, kFindSimilarGlazesHelpId, "ged_tab", kIds,
                        {"Selected Glazes",
                         "All Glazes",
                         "Select similar glazes",
                         {"Ingredients", "Ingredients and amounts"}})
{
    setWindowTitle(QStringLiteral("Find Similar Glazes"));
    m_compareDb = new QButtonGroup(this);
    m_compareToDb = new QButtonGroup(this);
    const QString labels[] = {QStringLiteral("Current Database"), QStringLiteral("All Databases")};
    for (int n = 0; n < 2; ++n) {
        AddRadio(m_compareDb, labels[n], kCompareDbIds[n], n, kLeftColumn + 82, 16 + n * 12, 82);
        AddRadio(m_compareToDb, labels[n], kCompareToDbIds[n], n, kRightColumn + 82, 16 + n * 12, 82);
    }
    m_includeAdditions = AddCheck(QStringLiteral("Include Additions in comparisons"), kIncludeAdditionsId,
                                  kRightColumn, OutputTop() + 42, 164);
    connect(m_compareDb, &QButtonGroup::idClicked, this, &CFindSimilarGlazesDlg::UpdateSelectSimilar);
    connect(m_compareToDb, &QButtonGroup::idClicked, this, &CFindSimilarGlazesDlg::UpdateSelectSimilar);
    FinishLayout();
}

void CFindSimilarGlazesDlg::OnInitDialog()
{
    request = RememberedSimilarGlazesRequest();
    CheckRadioValue(m_compareDb, request.compareDatabases);
    CheckRadioValue(m_compareToDb, request.compareToDatabases);
    m_includeAdditions->setChecked(request.includeAdditions != 0);
    LoadRequest(request, request.measures);
}

bool CFindSimilarGlazesDlg::SelectSimilarAllowed() const
{
    return m_compareDb->checkedId() == kSimilarCurrentDatabase;
}

void CFindSimilarGlazesDlg::accept()
{
    InitDialog();
    if (!ReadRequest(request, request.measures))
        return;
    request.compareDatabases = std::max(0, m_compareDb->checkedId());
    request.compareToDatabases = std::max(0, m_compareToDb->checkedId());
    request.includeAdditions = m_includeAdditions->isChecked() ? 1 : 0;
    RememberSimilarGlazesRequest(request);
    CSimilarSearchDlg::accept();
}
