#include "tools/BatchScopeDlg.h"

#include "framework/Cp1252.h"

#include <QButtonGroup>
#include <QRadioButton>

CBatchScopeDlg::CBatchScopeDlg(QWidget* parent)
    : CToolDlg(parent, kBatchScopeHelpId, "dlg_misc_bkg")
{
    setWindowTitle(QStringLiteral("Batch Calculation"));
    AddLabel(QStringLiteral("Recalculate :"), 0, 8, 6, 120);
    m_choices = new QButtonGroup(this);
    const QString labels[] = {QStringLiteral("Components Only"), QStringLiteral("Additions Only"),
                              QStringLiteral("Entire Recipe")};
    for (int n = 0; n < 3; ++n)
        AddRadio(m_choices, labels[n], kFirstChoiceId + n, n, 16, 20 + n * 13, 110);
    AddOkCancelHelp(8, 64);
    ResizeDlu(148, 86);
    setFixedSize(size());
}

void CBatchScopeDlg::OnInitDialog()
{
    if (!title.empty())
        setWindowTitle(FromCp1252(title));
    CheckRadioValue(m_choices, choice);
}

void CBatchScopeDlg::accept()
{
    InitDialog();
    if (m_choices->checkedId() >= 0)
        choice = m_choices->checkedId();
    CToolDlg::accept();
}
