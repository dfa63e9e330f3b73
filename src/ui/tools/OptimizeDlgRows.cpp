// The Optimize dialog's constraint rows: the oxide column layout, showing the parameter set on
// the pages and gathering it back, the checks made when the user leaves a field, and the
// running sum of the oxide pages.

#include "tools/OptimizeDlg.h"

#include "elements/ElementTable.h"
#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/NumberField.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

std::string Text(const QLineEdit* edit)
{
    std::string text = ToCp1252(edit->text());
    TrimString(text);
    return text;
}

// Operator 1 as shown, and the bound operator 2 stands for after it.
std::string OpText(char op)
{
    switch (op) {
    case '>': return ">=";
    case '<': return "<=";
    case '=': return "=";
    default: return std::string();
    }
}

std::string BoundText(char op)
{
    switch (op) {
    case '>': return "<=";
    case '<': return ">=";
    case '=': return "+/-";
    default: return std::string();
    }
}

// The operator a typed text stands for: = or e, > or g, < or l; 0 for anything else.
char OpFromTyped(const std::string& text)
{
    const char c = text.empty() ? '\0' : text[0];
    if (c == '=' || c == 'e' || c == 'E')
        return '=';
    if (c == '>' || c == 'g' || c == 'G')
        return '>';
    if (c == '<' || c == 'l' || c == 'L')
        return '<';
    return '\0';
}

bool IsNonNegativeNumber(const std::string& text)
{
    return IsNumberText(text) && text[0] != '-';
}

// A constraint number as the "Remainders" preferences write it.
std::string RemainderNumber(double value)
{
    std::string text = FormatFixed(value, g_prefs.decremainders);
    return StripTrailingZeros(text, g_prefs.tzsremainders);
}

// The largest value of an oxide row in unity units and of the expansion row: the builder's own
// bound where a row gives none, so nothing larger can mean more.
constexpr double kLargestOpenValue = 1000.0;
constexpr double kLargestPercent = 100.0;

// A column entry: an element symbol (exact case), "Nk", or a loss word (any case).
std::pair<int, std::string> LayoutEntry(const std::string& entry)
{
    const CElementRecord* table = GetElementTable();
    for (int z = 1; z < kElementCount; ++z) {
        if (entry == table[z].symbol)
            return {z, table[z].oxide};
    }
    if (entry == "Nk")
        return {kConstraintKNaO, "KNaO"};
    if (EqualsNoCase(entry, "loi") || EqualsNoCase(entry, "loss") || EqualsNoCase(entry, "vol"))
        return {kConstraintLOI, "LOI"};
    return {0, entry};
}

} // namespace

// --- the column layout -----------------------------------------------------------------------------

void COptimizeDlg::BuildColumnLayout()
{
    const std::string* columns[kOptColumnCount] = {&g_prefs.optimizecol1, &g_prefs.optimizecol2,
                                                    &g_prefs.optimizecol3, &g_prefs.optimizecol4};
    m_layout.fill({0, std::string()});
    for (int column = 0; column < kOptColumnCount; ++column) {
        CStringArrayEx entries;
        entries.AddTextLines(*columns[column], ",");
        const int count = std::min(static_cast<int>(entries.size()), kOptRowsPerColumn);
        for (int row = 0; row < count; ++row) {
            std::string entry = entries[static_cast<std::size_t>(row)];
            TrimString(entry);
            m_layout[static_cast<std::size_t>(column * kOptRowsPerColumn + row)] = LayoutEntry(entry);
        }
    }
}

// --- showing ----------------------------------------------------------------------------------------

void COptimizeDlg::ShowParams()
{
    ShowOptions();
    ShowExpansion();
    FillAllowedList(params.m_excludedMaterials);
    ShowOxideConstraints();
    ShowMaterialConstraints();
    ShowPercentLabels();
    RefreshSum();
}

void COptimizeDlg::ShowOptions()
{
    m_oxideUnit = std::clamp(params.m_oxideUnit, kOxideUnitUnity, kOxideUnitMolePercent);
    for (QButtonGroup* group : m_unitGroups)
        group->button(m_oxideUnit)->setChecked(true);
    m_allMaterials = params.m_allMaterials > 0 ? 1 : 0;
    m_materialChoice->button(m_allMaterials)->setChecked(true);
    m_materialUnit->button(params.m_materialUnit == kMaterialUnitWeight ? 0 : 1)->setChecked(true);
    m_oxideTolerance->setText(FromCp1252(params.m_oxideTolerance));
    m_materialTolerance->setText(FromCp1252(params.m_materialTolerance));
    m_direction->button(params.m_maximize > 0 ? 1 : 0)->setChecked(true);
    if (QAbstractButton* goal = m_goal->button(params.m_goal)) {
        goal->setChecked(true);
    } else if (QAbstractButton* checked = m_goal->checkedButton()) {
        // A goal the radios do not offer stays in the parameters untouched.
        m_goal->setExclusive(false);
        checked->setChecked(false);
        m_goal->setExclusive(true);
    }
    m_weightBasis->button(params.m_firedWeight > 0 ? 1 : 0)->setChecked(true);
    m_recipeSize->setText(FromCp1252(params.m_recipeSize));
}

void COptimizeDlg::ShowRowFields(COptConstraintRow& row, char op, const std::string& value1,
                                 const std::string& value2)
{
    row.op1->setText(FromCp1252(OpText(op)));
    row.value1->setText(FromCp1252(value1));
    row.value2->setText(FromCp1252(value2));
    row.op2->setText(value2.empty() ? QString() : FromCp1252(BoundText(op)));
}

void COptimizeDlg::ClearRowFields(COptConstraintRow& row)
{
    row.op1->clear();
    row.value1->clear();
    row.op2->clear();
    row.value2->clear();
}

void COptimizeDlg::ShowExpansion()
{
    // An unused expansion constraint is kept as "=" without values; its row shows nothing.
    const COxideConstraint& expansion = params.m_expansionConstraint;
    const char op = expansion.m_value1.empty() ? '\0' : expansion.m_op;
    ShowRowFields(m_expansionRow, op, expansion.m_value1, expansion.m_value2);
}

void COptimizeDlg::FillAllowedList(const CStringArrayEx& excluded)
{
    m_allowedList->clear();
    if (!g_pMaterialsDoc)
        return;
    for (const auto& material : g_pMaterialsDoc->Materials().Records()) {
        if (!material->m_mapTo.empty() || (m_allMaterials == 0 && material->m_available == 0))
            continue;
        auto* item = new QListWidgetItem(FromCp1252(material->m_name), m_allowedList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const bool out = std::any_of(excluded.begin(), excluded.end(),
                                     [&](const std::string& name) { return EqualsNoCase(name, material->m_name); });
        item->setCheckState(out ? Qt::Unchecked : Qt::Checked);
    }
}

void COptimizeDlg::ShowOxideConstraints()
{
    for (std::size_t n = 0; n < m_oxideRows.size(); ++n) {
        COptConstraintRow& row = m_oxideRows[n];
        row.code = m_layout[n].first;
        row.labelText = m_layout[n].second;
        ClearRowFields(row);
    }
    COxideConstraintArray kept;
    for (const COxideConstraint& constraint : params.m_oxideConstraints) {
        if (PlaceOxideConstraint(constraint))
            kept.Add(constraint);
    }
    params.m_oxideConstraints = kept;
    for (COptConstraintRow& row : m_oxideRows) {
        row.label->setText(FromCp1252(row.labelText));
        for (QWidget* field : {static_cast<QWidget*>(row.op1), static_cast<QWidget*>(row.value1),
                               static_cast<QWidget*>(row.op2), static_cast<QWidget*>(row.value2)})
            field->setVisible(row.code != 0);
    }
}

// The first row listing the oxide, else a free row from the bottom of column 4 backwards.
bool COptimizeDlg::PlaceOxideConstraint(const COxideConstraint& constraint)
{
    COptConstraintRow* target = nullptr;
    for (int r = 0; r < kOptRowsPerColumn && !target; ++r) {
        for (int column = 0; column < kOptColumnCount && !target; ++column) {
            if (OxideRow(column, r).code == constraint.m_oxide)
                target = &OxideRow(column, r);
        }
    }
    for (int column = kOptColumnCount - 1; column >= 0 && !target; --column) {
        for (int r = kOptRowsPerColumn - 1; r >= 0 && !target; --r) {
            if (OxideRow(column, r).code == 0) {
                target = &OxideRow(column, r);
                target->code = constraint.m_oxide;
                target->labelText = constraint.GetDisplayName();
            }
        }
    }
    if (!target) {
        AppMessageBox("Could not show constraint for oxide '" + constraint.GetDisplayName() +
                          "' - it will be discarded",
                      MsgOk | MsgIconExclamation, kOptimizeHelpId);
        return false;
    }
    ShowRowFields(*target, constraint.m_op, constraint.m_value1, constraint.m_value2);
    return true;
}

void COptimizeDlg::ShowMaterialConstraints()
{
    for (COptConstraintRow& row : m_materialRows) {
        row.name->clear();
        ClearRowFields(row);
    }
    CMaterialConstraintArray kept;
    for (const CMaterialConstraint& constraint : params.m_materialConstraints) {
        if (kept.GetCount() >= kOptMaterialRows) {
            AppMessageBox("Could not show constraint for material '" + constraint.GetDisplayName() +
                              "' - it will be discarded",
                          MsgOk | MsgIconExclamation, kOptimizeHelpId);
            continue;
        }
        COptConstraintRow& row = m_materialRows[static_cast<std::size_t>(kept.GetCount())];
        row.name->setText(FromCp1252(constraint.m_material));
        ShowRowFields(row, constraint.m_op, constraint.m_value1, constraint.m_value2);
        kept.Add(constraint);
    }
    params.m_materialConstraints = kept;
}

void COptimizeDlg::ShowPercentLabels()
{
    const bool oxidePercent = m_oxideUnit != kOxideUnitUnity;
    for (QPushButton* scale : m_scaleButtons)
        scale->setEnabled(oxidePercent);
    for (COptConstraintRow& row : m_oxideRows) {
        const bool shown = row.code != 0 && (row.code == kConstraintLOI || (oxidePercent && !row.labelText.empty()));
        row.percent1->setVisible(shown);
        row.percent2->setVisible(shown);
    }
    const bool materialPercent = m_materialUnit->checkedId() == 1;
    for (COptConstraintRow& row : m_materialRows) {
        row.percent1->setVisible(materialPercent);
        row.percent2->setVisible(materialPercent);
    }
}

// --- gathering ----------------------------------------------------------------------------------------

void COptimizeDlg::GatherParams()
{
    GatherOptions();
    const std::string op1 = Text(m_expansionRow.op1);
    const std::string value1 = Text(m_expansionRow.value1);
    if (!op1.empty() && !value1.empty())
        params.m_expansionConstraint = COxideConstraint(kConstraintExpansion, op1[0], value1, Text(m_expansionRow.value2));
    else
        params.m_expansionConstraint = COxideConstraint(kConstraintExpansion, '=', std::string(), std::string());
    params.m_excludedMaterials.clear();
    for (const auto& [name, checked] : AllowedEntries()) {
        if (!checked)
            params.m_excludedMaterials.push_back(name);
    }
    params.m_oxideConstraints = GatherOxideConstraints();
    GatherMaterialConstraints();
}

void COptimizeDlg::GatherOptions()
{
    params.m_oxideUnit = m_oxideUnit;
    params.m_allMaterials = m_allMaterials;
    params.m_materialUnit = m_materialUnit->checkedId() == 0 ? kMaterialUnitWeight : kMaterialUnitPercent;
    params.m_oxideTolerance = Text(m_oxideTolerance);
    params.m_materialTolerance = Text(m_materialTolerance);
    params.m_maximize = m_direction->checkedId() == 1 ? 1 : 0;
    if (m_goal->checkedId() >= 0)
        params.m_goal = m_goal->checkedId();
    params.m_firedWeight = m_weightBasis->checkedId() == 0 ? 0 : 1;
    params.m_recipeSize = Text(m_recipeSize);
}

COxideConstraintArray COptimizeDlg::GatherOxideConstraints() const
{
    COxideConstraintArray constraints;
    for (const COptConstraintRow& row : m_oxideRows) {
        const std::string op1 = Text(row.op1);
        const std::string value1 = Text(row.value1);
        if (row.code != 0 && !op1.empty() && !value1.empty())
            constraints.Add(COxideConstraint(row.code, op1[0], value1, Text(row.value2)));
    }
    return constraints;
}

void COptimizeDlg::GatherMaterialConstraints()
{
    params.m_materialConstraints.RemoveAll();
    for (const COptConstraintRow& row : m_materialRows) {
        const std::string name = Text(row.name);
        const std::string op1 = Text(row.op1);
        const std::string value1 = Text(row.value1);
        if (!name.empty() && !op1.empty() && !value1.empty())
            params.m_materialConstraints.Add(CMaterialConstraint(name, op1[0], value1, Text(row.value2)));
    }
}

// --- field editing --------------------------------------------------------------------------------------

void COptimizeDlg::OnOp1Left(COptConstraintRow& row)
{
    const char op = OpFromTyped(Text(row.op1));
    if (op == '\0') {
        ClearRowFields(row);
    } else {
        row.op1->setText(FromCp1252(OpText(op)));
        const bool showBound = op != '=' || !Text(row.value2).empty();
        row.op2->setText(showBound ? FromCp1252(BoundText(op)) : QString());
    }
    RefreshSum();
}

void COptimizeDlg::OnValue1Entered(COptConstraintRow& row)
{
    if (Text(row.op1).empty())
        row.op1->setText(QStringLiteral("="));
}

// A value that is no number stays as typed, for the check before a run to refuse: emptied here,
// the constraint would be gone without a word and the run would succeed without it.
void COptimizeDlg::OnValue1Left(COptConstraintRow& row)
{
    const std::string value = Text(row.value1);
    if (value.empty())
        ClearRowFields(row);
    else
        row.value1->setText(FromCp1252(value));
    RefreshSum();
}

void COptimizeDlg::OnValue2Entered(COptConstraintRow& row)
{
    const std::string op1 = Text(row.op1);
    row.op2->setText(FromCp1252(BoundText(op1.empty() ? '\0' : op1[0])));
}

// "5%" or "5p" after "=" is 5 percent of the target; it stays as typed while the target is no
// number.
void COptimizeDlg::OnValue2Left(COptConstraintRow& row)
{
    std::string value = Text(row.value2);
    const bool tolerance = ToCp1252(row.op2->text()) == "+/-";
    if (tolerance && !value.empty() && (value.back() == '%' || value.back() == 'p')) {
        std::string number = value.substr(0, value.size() - 1);
        TrimString(number);
        if (IsNonNegativeNumber(number) && IsNonNegativeNumber(Text(row.value1)))
            value = RemainderNumber(ParseDouble(Text(row.value1)) * ParseDouble(number) * 0.01);
    }
    row.value2->setText(FromCp1252(value));
    if (value.empty())
        row.op2->clear();
    RefreshSum();
}

void COptimizeDlg::OnMaterialNameLeft(COptConstraintRow& row)
{
    std::string name = Text(row.name);
    if (name.empty()) {
        ClearRowFields(row);
        row.name->clear();
        return;
    }
    if (g_pMaterialsDoc) {
        CMaterialArray& materials = g_pMaterialsDoc->Materials();
        int status = PrefixNone;
        if (!materials.FindMaterial(name, true))
            materials.FindByPrefix(name, true, &status);
    }
    row.name->setText(FromCp1252(name));
}

void COptimizeDlg::OnNumberFieldLeft(QLineEdit* edit)
{
    edit->setText(FromCp1252(Text(edit)));
}

void COptimizeDlg::OnScaleTo100()
{
    // A value that is no number is refused, not scaled as the number it begins with.
    if (m_oxideUnit == kOxideUnitUnity || !CheckOxideValueFields())
        return;
    const CElementRecord* elements = GetElementTable();
    std::vector<COptConstraintRow*> scaled;
    double sum = 0.0;
    for (COptConstraintRow& row : m_oxideRows) {
        const bool nonVolatile = row.code == kConstraintKNaO ||
                                 (row.code >= 1 && row.code < kElementCount && (elements[row.code].role & kRoleVolatile) == 0);
        if (!nonVolatile || Text(row.op1).empty() || Text(row.value1).empty())
            continue;
        scaled.push_back(&row);
        sum += ParseDouble(Text(row.value1));
    }
    if (!(sum > 0.0))
        return;
    const double factor = 100.0 / sum;
    for (COptConstraintRow* row : scaled) {
        for (QLineEdit* value : {row->value1, row->value2}) {
            if (!Text(value).empty())
                value->setText(FromCp1252(RemainderNumber(ParseDouble(Text(value)) * factor)));
        }
    }
    RefreshSum();
}

// --- checking before a run ---------------------------------------------------------------------------

// Values stay as typed or as stored; the optimizer must not be handed text it cannot read, nor a
// parameter set be saved with it.
bool COptimizeDlg::CheckOxideValueFields()
{
    const double oxideLargest = m_oxideUnit == kOxideUnitUnity ? kLargestOpenValue : kLargestPercent;
    for (std::size_t n = 0; n < m_oxideRows.size(); ++n) {
        const COptConstraintRow& row = m_oxideRows[n];
        const double largest = row.code == kConstraintLOI ? kLargestPercent : oxideLargest;
        const int page = static_cast<int>(n) / kOptRowsPerColumn < 2 ? kOptPageOxides1 : kOptPageOxides2;
        if (row.code != 0 && !(CheckValueField(row.value1, largest, page) && CheckValueField(row.value2, largest, page)))
            return false;
    }
    return true;
}

bool COptimizeDlg::CheckValueFields()
{
    if (!CheckOxideValueFields())
        return false;
    const double materialLargest = m_materialUnit->checkedId() == 1 ? kLargestPercent : kMaxRecipeAmount;
    for (const COptConstraintRow& row : m_materialRows) {
        if (!(CheckValueField(row.value1, materialLargest, kOptPageMaterials2) &&
              CheckValueField(row.value2, materialLargest, kOptPageMaterials2)))
            return false;
    }
    return CheckValueField(m_expansionRow.value1, kLargestOpenValue, kOptPageOptimize) &&
           CheckValueField(m_expansionRow.value2, kLargestOpenValue, kOptPageOptimize) &&
           CheckValueField(m_oxideTolerance, kLargestPercent, kOptPageOptimize) &&
           CheckValueField(m_materialTolerance, kLargestPercent, kOptPageOptimize) &&
           CheckValueField(m_recipeSize, kMaxRecipeAmount, kOptPageOptimize);
}

bool COptimizeDlg::CheckValueField(QLineEdit* edit, double largest, int page)
{
    const std::string value = Text(edit);
    if (value.empty() || (IsNonNegativeNumber(value) && ParseDouble(value) <= largest))
        return true;
    ShowPage(page);
    return RefuseField(edit, NumberRangeMessage(0.0, largest));
}

// --- the running sum --------------------------------------------------------------------------------------

void COptimizeDlg::RefreshSum()
{
    const QString text = FromCp1252(SumText());
    for (QLabel* line : m_sumLines)
        line->setText(text);
}

std::string COptimizeDlg::SumText() const
{
    const bool percent = m_oxideUnit != kOxideUnitUnity;
    CGroupBoundsSum sum;
    std::string message;
    if (GatherOxideConstraints().SumGroupBounds(percent ? kGroupNonVolatile : kGroupAlkali, m_oxideUnit, sum,
                                                message) != 0)
        return message;
    const std::string unit = percent ? "%" : "";
    const std::string lower = sum.hasLower ? RemainderNumber(sum.lower) : "(unbound)";
    const std::string upper = sum.hasUpper ? RemainderNumber(sum.upper) : "(unbound)";
    std::string text = std::string(percent ? "Sum of nonvolatile oxides" : "Sum of alkali oxides") + ": " + lower + unit;
    if (ParseDouble(upper) != 0.0)
        text += (sum.exact ? " +/- " : " to ") + upper + unit;
    return text;
}
