#include "glazes/ScaleToIngredientDlg.h"

#include "framework/Cp1252.h"
#include "glazes/RecipeEntry.h"
#include "support/NumberField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr unsigned kScaleHelpId = 379;
constexpr int kIngredientId = 2570;
constexpr int kAmountId = 2571;
constexpr int kWorkingBatchId = 2572;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CScaleToIngredientDlg::CScaleToIngredientDlg(QWidget* parent)
    : CStyledDialog(parent, kScaleHelpId)
{
    backgroundColor = GetNamedColor("ged_tab");
    setWindowTitle(QStringLiteral("Scale to Ingredient"));
    ResizeDlu(200, 92);
    auto* ingredientLabel = new QLabel(QStringLiteral("Ingredient :"), this);
    PlaceDlu(ingredientLabel, 8, 10, 45, 10);
    m_ingredients = new QComboBox(this);
    SetControlId(m_ingredients, kIngredientId);
    PlaceDlu(m_ingredients, 56, 8, 136, 12);
    auto* amountLabel = new QLabel(QStringLiteral("Amount :"), this);
    PlaceDlu(amountLabel, 8, 28, 45, 10);
    m_amount = new QLineEdit(this);
    SetControlId(m_amount, kAmountId);
    PlaceDlu(m_amount, 56, 26, 60, 12);
    m_workingBatch = new QCheckBox(QStringLiteral("Set working batch size only"), this);
    SetControlId(m_workingBatch, kWorkingBatchId);
    PlaceDlu(m_workingBatch, 56, 46, 136, 10);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 70, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 116, 70, 50, 14);
    AddHelpButton(172, 70, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CScaleToIngredientDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CScaleToIngredientDlg::reject);
    // Only the user's own typing counts; the amounts the dialog copies in do not.
    connect(m_amount, &QLineEdit::textEdited, this, [this] { m_amountTyped = true; });
    setFixedSize(size());
}

void CScaleToIngredientDlg::OnInitDialog()
{
    for (const std::string& text : ingredients)
        m_ingredients->addItem(FromCp1252(text));
    m_ingredients->setCurrentIndex(-1);
    m_amount->setText(FromCp1252(amount));
    m_workingBatch->setChecked(workingBatchOnly != 0);
    connect(m_ingredients, &QComboBox::activated, this, &CScaleToIngredientDlg::OnIngredientChosen);
}

void CScaleToIngredientDlg::OnIngredientChosen(int position)
{
    if (m_amountTyped || position < 0 || position >= static_cast<int>(amounts.size()))
        return;
    m_amount->setText(FromCp1252(amounts[static_cast<std::size_t>(position)]));
}

void CScaleToIngredientDlg::accept()
{
    if (!CheckNumberFieldLimit(m_amount, kMaxRecipeAmount))
        return;
    InitDialog();
    row = m_ingredients->currentIndex();
    amount = ToCp1252(m_amount->text());
    workingBatchOnly = m_workingBatch->isChecked() ? 1 : 0;
    CStyledDialog::accept();
}
