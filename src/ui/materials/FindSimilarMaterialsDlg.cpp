#include "materials/FindSimilarMaterialsDlg.h"

#include "materials/MaterialsDoc.h"
#include "shell/Preferences.h"
#include "support/ListView31.h"
#include "support/ProgressDlg.h"

namespace {

// The materials list's selection as the search reads and marks it.
class CListRowSelection : public CMaterialRowSelection {
public:
    explicit CListRowSelection(CListView31& list) : m_list(list) {}
    std::vector<int> GetSelectedRows() const override { return m_list.GetSelItems(); }
    void ClearSelection() override { m_list.SetSel(-1, false); }
    void SelectRow(int row) override { m_list.SetSel(row, true); }

private:
    CListView31& m_list;
};

const CSimilarSearchIds kIds = {
    {1300, 1301}, {1302, 1303}, {1304, 1305, 1306, 1307, 1317, 1318}, {1308, 1309}, {1311, 1313}, 1312, 1314, 1315,
    1316,         1310,
};

} // namespace

CFindSimilarMaterialsRequest RememberedSimilarMaterialsRequest()
{
    CFindSimilarMaterialsRequest request;
    request.compareScope = g_prefs.m_nSimMatCompare;
    request.compareToScope = g_prefs.m_nSimMatCompareTo;
    request.categories = g_prefs.m_nSimMatMeasures;
    request.compositeOnly = g_prefs.m_nSimMatScoreDisplay;
    request.showAll = g_prefs.m_nSimMatHowMany;
    request.topCount = g_prefs.m_nSimMatTopCount;
    request.selectSimilar = g_prefs.m_nSimMatSelectSimilar;
    request.cutoff = g_prefs.m_dSimMatCutoff;
    request.lessVerbose = g_prefs.m_nSimMatLessVerbose;
    request.summaryOnly = g_prefs.m_nSimMatSummaryOnly;
    return request;
}

void RememberSimilarMaterialsRequest(const CFindSimilarMaterialsRequest& request)
{
    g_prefs.m_nSimMatCompare = request.compareScope;
    g_prefs.m_nSimMatCompareTo = request.compareToScope;
    g_prefs.m_nSimMatMeasures = request.categories;
    g_prefs.m_nSimMatScoreDisplay = request.compositeOnly;
    g_prefs.m_nSimMatHowMany = request.showAll;
    g_prefs.m_nSimMatTopCount = request.topCount;
    g_prefs.m_nSimMatSelectSimilar = request.selectSimilar;
    g_prefs.m_dSimMatCutoff = request.cutoff;
    g_prefs.m_nSimMatLessVerbose = request.lessVerbose;
    g_prefs.m_nSimMatSummaryOnly = request.summaryOnly;
}

CFindSimilarMaterialsDlg::CFindSimilarMaterialsDlg(QWidget* parent)
    : CSimilarSearchDlg(parent, kFindSimilarMaterialsHelpId, "med_bkg", kIds,
                        {"Selected Materials", "All Materials", "Select similar materials", {}})
{
    setWindowTitle(QStringLiteral("Find Similar Materials"));
    FinishLayout();
}

void CFindSimilarMaterialsDlg::OnInitDialog()
{
    request = RememberedSimilarMaterialsRequest();
    LoadRequest(request, request.categories);
}

void CFindSimilarMaterialsDlg::accept()
{
    InitDialog();
    if (!ReadRequest(request, request.categories))
        return;
    RememberSimilarMaterialsRequest(request);
    CSimilarSearchDlg::accept();
}

bool RunFindSimilarMaterialsCommand(CMaterialsDoc& document, CListView31& list, QWidget* parent)
{
    CFindSimilarMaterialsDlg dialog(parent);
    dialog.selectionPresent = list.GetSelCount() == 1;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    CListRowSelection selection(list);
    CProgressDlg progress(parent);
    return RunFindSimilarMaterials(dialog.request, document, &selection, progress);
}
