#include "glazes/CheckIngredientsSkipDlg.h"

#include "framework/Cp1252.h"
#include "glazes/CheckIngredients.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr unsigned kSkipHelpId = 377;
constexpr int kNameId = 2600;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CCheckIngredientsSkipDlg::CCheckIngredientsSkipDlg(QWidget* parent)
    : CStyledDialog(parent, kSkipHelpId)
{
    backgroundColor = GetNamedColor("ged_tab");
    setWindowTitle(QStringLiteral("Check Ingredients"));
    ResizeDlu(220, 70);
    PlaceDlu(new QLabel(QStringLiteral("Unavailable ingredient :"), this), 8, 6, 120, 10);
    m_name = new QLabel(this);
    SetControlId(m_name, kNameId);
    PlaceDlu(m_name, 14, 18, 198, 10);
    m_markButton = AddButton(QStringLiteral("Mark as Available"), kIdOk, 8, 48, 70, 14);
    m_skipButton = AddButton(QStringLiteral("Skip"), kCheckSkipId, 82, 48, 36, 14);
    m_skipAllButton = AddButton(QStringLiteral("Skip All"), kCheckSkipAllId, 122, 48, 36, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 162, 48, 50, 14);
    AddHelpButton(192, 4, 20, 14);
    connect(m_markButton, &QPushButton::clicked, this, &CCheckIngredientsSkipDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CCheckIngredientsSkipDlg::reject);
    connect(m_skipButton, &QPushButton::clicked, this, [this] { done(kCheckSkipId); });
    connect(m_skipAllButton, &QPushButton::clicked, this, [this] { done(kCheckSkipAllId); });
    setFixedSize(size());
}

void CCheckIngredientsSkipDlg::OnInitDialog()
{
    m_name->setText(FromCp1252(name));
}
