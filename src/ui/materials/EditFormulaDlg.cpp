#include "materials/EditFormulaDlg.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "materials/EditFormulaPrefsDlg.h"
#include "materials/FormulaConversionDlg.h"
#include "materials/Material.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/NumberField.h"
#include "support/NumberFormat.h"
#include "support/TextHelpers.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <span>

namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// Layout in dialog units.
constexpr int kLeft = 8;
constexpr int kGridTop = 24;
constexpr int kRowHeight = 13;
constexpr int kColumnWidth = 102;
constexpr int kExtrasPerRow = 4;
constexpr int kDialogWidth = 416;

std::string Trimmed(const QString& text)
{
    std::string bytes = ToCp1252(text);
    TrimString(bytes);
    return bytes;
}

// A value as the status line shows it: the formula decimals, trailing zeros removed.
std::string StatusNumber(double value)
{
    std::string text = FormatFixed(value, g_prefs.decformulas);
    return StripTrailingZerosAll(text);
}

constexpr const char* kAmountRefusal = "Amount must be a positive number";

// An amount or forced value is empty or a number above 0; the status line and OK refuse the rest.
bool IsRefusedNumber(const std::string& text)
{
    return !text.empty() && !IsPositiveNumberText(text);
}

bool IsHundred(double value)
{
    return RoundToPowerOfTen(value, -g_prefs.decformulas) == 100.0;
}

} // namespace

CEditFormulaDlg::CEditFormulaDlg(QWidget* parent, const std::string& formulaText)
    : CStyledDialog(parent, kEditFormulaHelpId), formula(formulaText)
{
    setWindowTitle(QStringLiteral("Edit Formula"));
    BuildControls();
    BuildButtons();
}

CEditFormulaDlg::CellControls CEditFormulaDlg::MakeCell(int labelId, int editId, int percentId)
{
    CellControls cell;
    cell.label = new QLabel(this);
    cell.label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetControlId(cell.label, labelId);
    cell.edit = new QLineEdit(this);
    SetControlId(cell.edit, editId);
    cell.percent = new QLabel(QStringLiteral("%"), this);
    SetControlId(cell.percent, percentId);
    QLineEdit* edit = cell.edit;
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] { OnAmountLeft(edit); });
    return cell;
}

void CEditFormulaDlg::BuildControls()
{
    static const char* const kKinds[3] = {"Molecular", "% Weight", "% Molecular"};
    auto* kinds = new QButtonGroup(this);
    for (int kind = 0; kind < 3; ++kind) {
        auto* radio = new QRadioButton(QString::fromLatin1(kKinds[kind]), this);
        SetControlId(radio, kEditFormulaMolecular + kind);
        PlaceDlu(radio, kLeft + 62 * kind, 6, 60, 10);
        kinds->addButton(radio, kind);
        m_kindRadios[static_cast<std::size_t>(kind)] = radio;
    }
    connect(kinds, &QButtonGroup::idClicked, this, [this](int kind) { OnKind(kind); });
    m_forceLabel = new QLabel(QStringLiteral("Force Mol. Wt. :"), this);
    SetControlId(m_forceLabel, kEditFormulaForceLabel);
    PlaceDlu(m_forceLabel, 200, 6, 60, 10);
    m_forceEdit = new QLineEdit(this);
    SetControlId(m_forceEdit, kEditFormulaForceEdit);
    PlaceDlu(m_forceEdit, 262, 4, 50, 12);
    connect(m_forceEdit, &QLineEdit::editingFinished, this, &CEditFormulaDlg::OnForceLeft);

    for (int column = 0; column < CFormulaGrid::kColumns; ++column) {
        for (int row = 0; row < CFormulaGrid::kRows; ++row) {
            const int offset = 20 * column + row;
            m_cells[Index(column, row)] = MakeCell(kEditFormulaLabelFirst + offset, kEditFormulaAmountFirst + offset,
                                                   kEditFormulaPercentFirst + offset);
        }
    }
    for (int cell = 0; cell < CFormulaGrid::kExtraCells; ++cell)
        m_extras[static_cast<std::size_t>(cell)] =
            MakeCell(kEditFormulaExtraLabel + cell, kEditFormulaExtraEdit + cell, kEditFormulaExtraPercent + cell);

    m_otherLabel = new QLabel(QStringLiteral("Other components :"), this);
    m_otherEdit = new QLineEdit(this);
    SetControlId(m_otherEdit, kEditFormulaOtherEdit);
    m_otherPercent = new QLabel(QStringLiteral("%"), this);
    SetControlId(m_otherPercent, kEditFormulaOtherPercent);
    connect(m_otherEdit, &QLineEdit::editingFinished, this, &CEditFormulaDlg::OnOtherLeft);
    m_status = new QLabel(this);
    SetControlId(m_status, kEditFormulaStatus);
}

void CEditFormulaDlg::BuildButtons()
{
    m_convertButton = AddButton(QStringLiteral("Convert..."), kEditFormulaConvert, 0, 0, 50, 14);
    m_clearButton = AddButton(QStringLiteral("Clear"), kEditFormulaClear, 0, 0, 40, 14);
    m_normalizeButton = AddButton(QStringLiteral("Normalize"), kEditFormulaNormalize, 0, 0, 46, 14);
    m_addLoiButton = AddButton(QStringLiteral("Add LOI"), kEditFormulaAddLoi, 0, 0, 42, 14);
    m_setupButton = AddButton(QStringLiteral("Setup..."), kEditFormulaSetup, 0, 0, 42, 14);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 0, 0, 44, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 0, 0, 44, 14);
    m_helpButton = AddHelpButton(0, 0, 20, 14);
    connect(m_convertButton, &QPushButton::clicked, this, &CEditFormulaDlg::OnConvert);
    connect(m_clearButton, &QPushButton::clicked, this, &CEditFormulaDlg::OnClear);
    connect(m_normalizeButton, &QPushButton::clicked, this, &CEditFormulaDlg::OnNormalize);
    connect(m_addLoiButton, &QPushButton::clicked, this, &CEditFormulaDlg::OnAddLoi);
    connect(m_setupButton, &QPushButton::clicked, this, &CEditFormulaDlg::OnSetup);
    connect(m_okButton, &QPushButton::clicked, this, &CEditFormulaDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CEditFormulaDlg::reject);
}

void CEditFormulaDlg::OnInitDialog()
{
    InitGridControls();
    if (g_prefs.formedbrkcmplx > 0) {
        CMaterial scratch("new material");
        if (scratch.SetFormula(formula) == 0) {
            scratch.BreakApartComponents();
            formula = scratch.m_formula;
        }
    }
    FillGrid(formula);
}

// --- grid -----------------------------------------------------------------------------------------

void CEditFormulaDlg::InitGridControls()
{
    m_grid.SetColumnsFromPreferences();
    for (int column = 0; column < CFormulaGrid::kColumns; ++column) {
        for (int row = 0; row < CFormulaGrid::kRows; ++row) {
            const std::string& label = m_grid.At(column, row).label;
            const CellControls& cell = m_cells[Index(column, row)];
            cell.label->setText(FromCp1252(label));
            cell.label->setVisible(!label.empty());
            cell.edit->setVisible(!label.empty());
        }
    }
    m_gridInitialized = true;
}

void CEditFormulaDlg::FillGrid(const std::string& text)
{
    if (!m_gridInitialized)
        InitGridControls();
    m_grid.SetFormula(text);
    ShowGrid();
    RefreshStatus();
}

void CEditFormulaDlg::ShowGrid()
{
    for (int column = 0; column < CFormulaGrid::kColumns; ++column) {
        for (int row = 0; row < CFormulaGrid::kRows; ++row)
            m_cells[Index(column, row)].edit->setText(FromCp1252(m_grid.At(column, row).amount));
    }
    for (int cell = 0; cell < CFormulaGrid::kExtraCells; ++cell) {
        const CellControls& controls = m_extras[static_cast<std::size_t>(cell)];
        const bool used = cell < m_grid.ExtraCount();
        controls.label->setText(FromCp1252(m_grid.Extra(cell).label));
        controls.edit->setText(FromCp1252(m_grid.Extra(cell).amount));
        controls.label->setVisible(used);
        controls.edit->setVisible(used);
    }
    m_otherEdit->setText(FromCp1252(m_grid.other));
    m_forceEdit->setText(FromCp1252(m_grid.force));
    m_kindRadios[static_cast<std::size_t>(m_grid.kind)]->setChecked(true);
    UpdatePercentSigns();
    Relayout();
}

void CEditFormulaDlg::ReadGrid()
{
    for (int column = 0; column < CFormulaGrid::kColumns; ++column) {
        for (int row = 0; row < CFormulaGrid::kRows; ++row)
            m_grid.At(column, row).amount = ToCp1252(m_cells[Index(column, row)].edit->text());
    }
    for (int cell = 0; cell < m_grid.ExtraCount(); ++cell)
        m_grid.Extra(cell).amount = ToCp1252(m_extras[static_cast<std::size_t>(cell)].edit->text());
    m_grid.other = ToCp1252(m_otherEdit->text());
    m_grid.force = ToCp1252(m_forceEdit->text());
}

std::string CEditFormulaDlg::GridText()
{
    ReadGrid();
    return m_grid.BuildFormula();
}

// The dialog keeps only the rows some column uses and the extra cells in use; the controls
// below them move up.
void CEditFormulaDlg::Relayout()
{
    const int rows = m_grid.LastLabelledRow() + 1;
    for (int column = 0; column < CFormulaGrid::kColumns; ++column) {
        const int x = kLeft + kColumnWidth * column;
        for (int row = 0; row < CFormulaGrid::kRows; ++row) {
            const CellControls& cell = m_cells[Index(column, row)];
            const int y = kGridTop + kRowHeight * row;
            PlaceDlu(cell.label, x, y + 2, 36, 10);
            PlaceDlu(cell.edit, x + 38, y, 40, 12);
            PlaceDlu(cell.percent, x + 80, y + 2, 8, 10);
        }
    }
    int top = kGridTop + kRowHeight * rows + 2;
    for (int cell = 0; cell < CFormulaGrid::kExtraCells; ++cell) {
        const CellControls& controls = m_extras[static_cast<std::size_t>(cell)];
        const int x = kLeft + kColumnWidth * (cell % kExtrasPerRow);
        const int y = top + kRowHeight * (cell / kExtrasPerRow);
        PlaceDlu(controls.label, x, y + 2, 36, 10);
        PlaceDlu(controls.edit, x + 38, y, 40, 12);
        PlaceDlu(controls.percent, x + 80, y + 2, 8, 10);
    }
    top += kRowHeight * ((m_grid.ExtraCount() + kExtrasPerRow - 1) / kExtrasPerRow) + 4;
    PlaceDlu(m_otherLabel, kLeft, top + 2, 76, 10);
    PlaceDlu(m_otherEdit, kLeft + 78, top, 306, 12);
    PlaceDlu(m_otherPercent, kLeft + 386, top + 2, 8, 10);
    PlaceDlu(m_status, kLeft, top + 18, 392, 10);
    PlaceButtons(top + 34);
    ResizeDlu(kDialogWidth, top + 54);
}

void CEditFormulaDlg::PlaceButtons(int top)
{
    PlaceDlu(m_convertButton, kLeft, top, 50, 14);
    PlaceDlu(m_clearButton, kLeft + 54, top, 40, 14);
    PlaceDlu(m_normalizeButton, kLeft + 98, top, 46, 14);
    PlaceDlu(m_addLoiButton, kLeft + 148, top, 42, 14);
    PlaceDlu(m_setupButton, kLeft + 194, top, 42, 14);
    PlaceDlu(m_okButton, kLeft + 250, top, 44, 14);
    PlaceDlu(m_cancelButton, kLeft + 298, top, 44, 14);
    PlaceDlu(m_helpButton, kLeft + 380, top, 20, 14);
}

void CEditFormulaDlg::UpdatePercentSigns()
{
    const bool percent = m_grid.kind != kGridMolecular;
    for (int column = 0; column < CFormulaGrid::kColumns; ++column) {
        for (int row = 0; row < CFormulaGrid::kRows; ++row)
            m_cells[Index(column, row)].percent->setVisible(percent && !m_grid.At(column, row).label.empty());
    }
    for (int cell = 0; cell < CFormulaGrid::kExtraCells; ++cell)
        m_extras[static_cast<std::size_t>(cell)].percent->setVisible(percent && cell < m_grid.ExtraCount());
    m_otherPercent->setVisible(percent);
    m_forceLabel->setText(m_grid.kind == kGridWeightPercent ? QStringLiteral("Force % Sum :")
                                                            : QStringLiteral("Force Mol. Wt. :"));
    m_forceLabel->setVisible(m_grid.kind != kGridMolePercent);
    m_forceEdit->setVisible(m_grid.kind != kGridMolePercent);
}

// --- status ---------------------------------------------------------------------------------------

void CEditFormulaDlg::EnableTools(bool convert, bool normalize, bool addLoi)
{
    m_convertButton->setEnabled(convert);
    m_normalizeButton->setEnabled(normalize);
    m_addLoiButton->setEnabled(addLoi);
}

void CEditFormulaDlg::SetErrorStatus(const QString& text)
{
    m_status->setText(text);
    EnableTools(false, false, false);
}

void CEditFormulaDlg::RefreshStatus()
{
    // A field that is no number keeps the status on its refusal until it is mended: the formula
    // read around it ("1,5" as 1, "abc" left out) would show a weight it does not have.
    if (const CRefusedField refused = FirstRefusedField(); refused.edit) {
        SetErrorStatus(FromCp1252(refused.message));
        return;
    }
    CMaterial scratch("new material");
    std::string error;
    if (scratch.SetFormula(GridText(), &error) != 0) {
        SetErrorStatus(FromCp1252(error));
        return;
    }
    const bool percent = m_grid.kind != kGridMolecular;
    const double value = percent ? scratch.m_parsedPercentSum : scratch.m_naturalWeight;
    if (percent)
        m_status->setText(FromCp1252("Percentage sum: " + StatusNumber(value) + "%"));
    else
        m_status->setText(FromCp1252("Mol. Wt. : " + StatusNumber(value)));
    const bool unforcedPercent = percent && !scratch.m_hasForcedSum;
    const bool normalize = unforcedPercent && !IsHundred(value) && value > 0.0;
    const bool addLoi = unforcedPercent && m_grid.kind == kGridWeightPercent && value < 100.0 && !IsHundred(value);
    bool convert = value != 0.0;
    if (convert && unforcedPercent)
        convert = RoundToPowerOfTen(value, 0) == 100.0;
    EnableTools(convert, normalize, addLoi);
}

// --- field handlers -------------------------------------------------------------------------------

void CEditFormulaDlg::OnAmountLeft(QLineEdit* edit)
{
    const std::string amount = Trimmed(edit->text());
    edit->setText(FromCp1252(amount));
    if (IsRefusedNumber(amount))
        SetErrorStatus(QString::fromLatin1(kAmountRefusal));
    else
        RefreshStatus();
}

void CEditFormulaDlg::OnOtherLeft()
{
    m_otherEdit->setText(FromCp1252(Trimmed(m_otherEdit->text())));
    RefreshStatus();
}

void CEditFormulaDlg::OnForceLeft()
{
    const std::string force = Trimmed(m_forceEdit->text());
    m_forceEdit->setText(FromCp1252(force));
    if (IsRefusedNumber(force)) {
        SetErrorStatus(FromCp1252(ForceRefusal()));
        return;
    }
    RefreshStatus();
}

std::string CEditFormulaDlg::ForceRefusal() const
{
    return m_grid.kind == kGridWeightPercent ? "Forced % sum must be a positive number"
                                             : "Forced MW must be a positive number";
}

// The first shown amount or forced value that is no number at all, with the status line's message
// for it: read as far as it is a number, "1,5" would go into the formula as 1. A cell holding 0 or
// a negative number is left out of the formula, as clearing it would.
CEditFormulaDlg::CRefusedField CEditFormulaDlg::FirstRefusedField() const
{
    const auto refused = [](const QLineEdit* edit) {
        const std::string text = Trimmed(edit->text());
        return !edit->isHidden() && !text.empty() && !IsNumberText(text);
    };
    using Cells = std::span<const CellControls>;
    for (const Cells cells : {Cells(m_cells), Cells(m_extras)}) {
        for (const CellControls& cell : cells) {
            if (refused(cell.edit))
                return {cell.edit, kAmountRefusal};
        }
    }
    if (refused(m_forceEdit))
        return {m_forceEdit, ForceRefusal()};
    return {};
}

// Refuses the first field the status line refuses, for the user to mend before anything reads
// or rewrites the grid.
bool CEditFormulaDlg::CheckNumberFields()
{
    const CRefusedField refused = FirstRefusedField();
    return !refused.edit || RefuseField(refused.edit, refused.message);
}

void CEditFormulaDlg::OnKind(int kind)
{
    m_grid.kind = kind;
    m_kindRadios[static_cast<std::size_t>(kind)]->setChecked(true);
    UpdatePercentSigns();
    RefreshStatus();
}

// --- buttons --------------------------------------------------------------------------------------

void CEditFormulaDlg::OnClear()
{
    FillGrid(std::string());
}

void CEditFormulaDlg::OnNormalize()
{
    if (m_grid.kind == kGridMolecular)
        return;
    if (m_grid.kind == kGridWeightPercent && !Trimmed(m_forceEdit->text()).empty())
        return;
    std::string text = GridText();
    if (CMaterial::CheckFormula(&text, 0) == 0)
        FillGrid(text);
}

void CEditFormulaDlg::OnAddLoi()
{
    if (m_grid.kind != kGridWeightPercent || !Trimmed(m_forceEdit->text()).empty())
        return;
    std::string text = GridText();
    if (CMaterial::CheckFormula(&text, 1) == 0)
        FillGrid(text);
}

void CEditFormulaDlg::OnConvert()
{
    CMaterial scratch("new material");
    std::string error;
    if (scratch.SetFormula(GridText(), &error) != 0) {
        AppMessageBox("Error in formula:\n  " + error, MsgOk | MsgIconError, kEditFormulaErrorHelpId);
        return;
    }
    if (scratch.m_formulaWeight == 0.0 && scratch.m_percentSum == 0.0) {
        AppMessageBox("Formula is empty", MsgOk | MsgIconError, kEditFormulaEmptyHelpId);
        return;
    }
    CFormulaConversionDlg dialog(this);
    dialog.SetMaterial(scratch);
    if (dialog.exec() != QDialog::Accepted)
        return;
    scratch.ConvertFormula(dialog.choice, dialog.unityTarget, dialog.decimals, dialog.minDecimals, dialog.loiOxide);
    FillGrid(scratch.m_formula);
}

void CEditFormulaDlg::OnSetup()
{
    // New columns lay the grid out again from the formula it makes, which would drop or rewrite
    // a field that is no number.
    if (!CheckNumberFields())
        return;
    CEditFormulaPrefsDlg dialog(this);
    dialog.columns = {g_prefs.formedcol1, g_prefs.formedcol2, g_prefs.formedcol3, g_prefs.formedcol4};
    dialog.breakApart = g_prefs.formedbrkcmplx;
    const int result = dialog.exec();
    if (result != kFormulaPrefsUse && result != kFormulaPrefsSaveAndUse)
        return;
    auto store = [&dialog](CPreferences& prefs) {
        prefs.formedcol1 = dialog.columns[0];
        prefs.formedcol2 = dialog.columns[1];
        prefs.formedcol3 = dialog.columns[2];
        prefs.formedcol4 = dialog.columns[3];
        prefs.formedbrkcmplx = dialog.breakApart;
    };
    store(g_prefs);
    if (result == kFormulaPrefsSaveAndUse) {
        store(g_savedPrefs);
        g_savedPrefs.Save();
    }
    const std::string text = GridText();
    InitGridControls();
    FillGrid(text);
}

void CEditFormulaDlg::accept()
{
    InitDialog();
    if (!CheckNumberFields())
        return;
    CMaterial scratch("new material");
    std::string error;
    if (scratch.SetFormula(GridText(), &error) != 0) {
        AppMessageBox("Error in formula:\n  " + error, MsgOk, kEditFormulaErrorHelpId);
        return;
    }
    scratch.OrderComponents();
    scratch.BuildFormulaText(formula, scratch.m_isWeightPercent, scratch.m_isMolePercent, scratch.m_hasForcedMW,
                             scratch.m_forcedMWText, scratch.m_hasForcedSum, scratch.m_forcedSumText);
    QDialog::accept();
}
