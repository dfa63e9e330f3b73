#include "tools/OptimizeDispositionDlg.h"

#include "framework/Cp1252.h"
#include "support/FocusWatcher.h"
#include "support/NumberField.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

CDispositionDlg::CDispositionDlg(QWidget* parent) : CStyledDialog(parent, kDispositionHelpId)
{
    setWindowTitle(QStringLiteral("Disposition"));
    ResizeDlu(220, 132);
    BuildControls();
}

void CDispositionDlg::BuildControls()
{
    PlaceDlu(new QLabel(QStringLiteral("Save :"), this), 8, 6, 60, 9);
    m_parameters = new QCheckBox(QStringLiteral("Optimization parameters"), this);
    SetControlId(m_parameters, kDispSaveParameters);
    PlaceDlu(m_parameters, 16, 18, 120, 10);
    m_recipe = new QCheckBox(QStringLiteral("Recipe"), this);
    SetControlId(m_recipe, kDispSaveRecipe);
    PlaceDlu(m_recipe, 16, 31, 60, 10);
    m_scale = new QCheckBox(QStringLiteral("Scale recipe to"), this);
    SetControlId(m_scale, kDispScale);
    PlaceDlu(m_scale, 28, 44, 66, 10);
    m_scaleTo = new QLineEdit(this);
    SetControlId(m_scaleTo, kDispScaleTo);
    PlaceDlu(m_scaleTo, 96, 43, 40, 12);

    m_where = new QButtonGroup(this);
    m_current = new QRadioButton(QStringLiteral("In the current glaze"), this);
    SetControlId(m_current, kDispCurrentGlaze);
    PlaceDlu(m_current, 8, 64, 120, 10);
    m_new = new QRadioButton(QStringLiteral("Create a new glaze named :"), this);
    SetControlId(m_new, kDispNewGlaze);
    PlaceDlu(m_new, 8, 77, 120, 10);
    m_where->addButton(m_current, kDispositionCurrentGlaze);
    m_where->addButton(m_new, kDispositionNewGlaze);
    m_name = new QLineEdit(this);
    SetControlId(m_name, kDispNewName);
    PlaceDlu(m_name, 20, 90, 192, 12);

    QPushButton* ok = AddButton(QStringLiteral("OK"), 1, 8, 112, 50, 14);
    QPushButton* cancel = AddButton(QStringLiteral("Cancel"), 2, 64, 112, 50, 14);
    AddHelpButton(192, 112, 20, 14);
    connect(ok, &QPushButton::clicked, this, &CDispositionDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CDispositionDlg::reject);
    connect(m_parameters, &QCheckBox::clicked, this, &CDispositionDlg::OnSaveToggled);
    connect(m_recipe, &QCheckBox::clicked, this, &CDispositionDlg::OnSaveToggled);
    connect(m_name, &QLineEdit::textEdited, this, &CDispositionDlg::OnNameEdited);
    CFocusWatcher::Watch(m_name, [this] { OnNameFocused(); }, nullptr);
}

void CDispositionDlg::OnInitDialog()
{
    if (!currentAvailable)
        where = kDispositionNewGlaze;
    if (!recipeAvailable) {
        saveRecipe = false;
        scale = false;
        scaleTo.clear();
    }
    m_parameters->setChecked(saveParameters);
    m_recipe->setChecked(saveRecipe);
    m_scale->setChecked(scale);
    m_scaleTo->setText(FromCp1252(scaleTo));
    m_where->button(where == kDispositionCurrentGlaze ? kDispositionCurrentGlaze : kDispositionNewGlaze)
        ->setChecked(true);
    m_name->setText(FromCp1252(newName));
    ApplyDefaultName();
    UpdateEnabling();
}

std::string CDispositionDlg::DefaultName() const
{
    if (saveRecipe)
        return "New Optimized Glaze";
    if (saveParameters)
        return "New Optimization Parameters";
    return std::string();
}

void CDispositionDlg::TakeChecks()
{
    saveParameters = m_parameters->isChecked();
    saveRecipe = recipeAvailable && m_recipe->isChecked();
}

void CDispositionDlg::ApplyDefaultName()
{
    if (nameEdited)
        return;
    newName = DefaultName();
    m_name->setText(FromCp1252(newName));
}

// The destination matters only while something is kept; the current glaze only when there is
// one, and the scaling only while the recipe is kept.
void CDispositionDlg::UpdateEnabling()
{
    const bool keepSomething = saveParameters || saveRecipe;
    m_current->setEnabled(keepSomething && currentAvailable);
    m_new->setEnabled(keepSomething);
    m_name->setEnabled(keepSomething);
    m_recipe->setEnabled(recipeAvailable);
    m_scale->setEnabled(saveRecipe);
    m_scaleTo->setEnabled(saveRecipe);
}

void CDispositionDlg::OnSaveToggled()
{
    TakeChecks();
    ApplyDefaultName();
    UpdateEnabling();
}

void CDispositionDlg::OnNameFocused()
{
    if (m_new->isEnabled())
        m_new->setChecked(true);
}

void CDispositionDlg::OnNameEdited()
{
    nameEdited = true;
    OnNameFocused();
}

void CDispositionDlg::accept()
{
    InitDialog();
    TakeChecks();
    scale = saveRecipe && m_scale->isChecked();
    scaleTo = ToCp1252(m_scaleTo->text());
    // The size the recipe is scaled to is a number: "2,5" is refused, not taken as 2.
    if (scale && !CheckOptionalNumberField(m_scaleTo, kMaxRecipeAmount))
        return;
    where = m_where->checkedId() == kDispositionCurrentGlaze && currentAvailable ? kDispositionCurrentGlaze
                                                                                 : kDispositionNewGlaze;
    newName = ToCp1252(m_name->text());
    CStyledDialog::accept();
}
