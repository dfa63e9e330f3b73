// The editor's pages 1 to 4: which control shows which template field, the lists they offer, the
// text styles, and which controls the chosen graph type enables.

#include "graphs/GraphTypeEditView.h"

#include "framework/Cp1252.h"
#include "graphs/GraphColorsDlg.h"
#include "graphs/GraphTemplatePage.h"
#include "graphs/GraphTemplateRanges.h"
#include "graphs/GraphTypeTable.h"
#include "limits/LimitFormulaDB.h"
#include "limits/LimitFormulasDoc.h"
#include "support/NotesEdit.h"
#include "support/NumberField.h"
#include "support/NumberText.h"
#include "support/PlainTextEditLines.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <algorithm>
#include <cfloat>
#include <set>

namespace {

enum class FieldKind { Check, Int, Inverted };

struct SIntField {
    int id;
    int CGraphTemplate::*field;
    FieldKind kind;
};

// Inverted fields are stored as 100 minus the value shown.
const SIntField kIntFields[] = {
    {kGeUseInAnalysis, &CGraphTemplate::glzedan, FieldKind::Check},
    {kGeUseInLimitFormula, &CGraphTemplate::glzedlf, FieldKind::Check},
    {kGeTitleLeftVertical, &CGraphTemplate::ttllftv, FieldKind::Check},
    {kGeTitleRightVertical, &CGraphTemplate::ttlrtv, FieldKind::Check},
    {kGeLabels, &CGraphTemplate::labels, FieldKind::Check},
    {kGeGridX, &CGraphTemplate::gridx, FieldKind::Check},
    {kGeGridY, &CGraphTemplate::gridy, FieldKind::Check},
    {kGeBorders, &CGraphTemplate::borders, FieldKind::Check},
    {kGeSticks, &CGraphTemplate::sticks, FieldKind::Check},
    {kGeHorizontalBars, &CGraphTemplate::barhor, FieldKind::Check},
    {kGePareto, &CGraphTemplate::pareto, FieldKind::Check},
    {kGeReverse, &CGraphTemplate::reverse, FieldKind::Check},
    {kGeMono, &CGraphTemplate::mono, FieldKind::Check},
    {kGeAutoColors, &CGraphTemplate::autocol, FieldKind::Check},
    {kGeNoLegend, &CGraphTemplate::noleg, FieldKind::Check},
    {kGeBarWidth, &CGraphTemplate::barwid, FieldKind::Int},
    {kGeSymbolSize, &CGraphTemplate::symsize, FieldKind::Int},
    {kGe3D, &CGraphTemplate::piebar3d, FieldKind::Check},
    {kGeTrue3D, &CGraphTemplate::true3d, FieldKind::Check},
    {kGePerspective, &CGraphTemplate::persp3d, FieldKind::Check},
    {kGeCageFlip, &CGraphTemplate::cgflip3d, FieldKind::Check},
    {kGeThinCage, &CGraphTemplate::cgthin3d, FieldKind::Check},
    {kGeThickness, &CGraphTemplate::depth3d, FieldKind::Int},
    {kGeBarWidth3D, &CGraphTemplate::xgap3d, FieldKind::Inverted},
    {kGeBarDepth, &CGraphTemplate::zgap3d, FieldKind::Inverted},
    {kGeRotation, &CGraphTemplate::rot3d, FieldKind::Int},
    {kGeElevation, &CGraphTemplate::elev3d, FieldKind::Int},
    {kGeDistance, &CGraphTemplate::eyepos3d, FieldKind::Inverted},
    {kGeXManual, &CGraphTemplate::xman, FieldKind::Check},
    {kGeXTicks, &CGraphTemplate::xtick, FieldKind::Int},
    {kGeXMinorTicks, &CGraphTemplate::xtickm, FieldKind::Int},
    {kGeXBottom, &CGraphTemplate::xbot, FieldKind::Check},
    {kGeXTop, &CGraphTemplate::xtop, FieldKind::Check},
    {kGeXVertical, &CGraphTemplate::xvert, FieldKind::Check},
    {kGeYManual, &CGraphTemplate::yman, FieldKind::Check},
    {kGeYTicks, &CGraphTemplate::ytick, FieldKind::Int},
    {kGeYMinorTicks, &CGraphTemplate::ytickm, FieldKind::Int},
    {kGeYLeft, &CGraphTemplate::ylft, FieldKind::Check},
    {kGeYRight, &CGraphTemplate::yrt, FieldKind::Check},
    {kGeZManual, &CGraphTemplate::zman, FieldKind::Check},
    {kGeZTicks, &CGraphTemplate::ztick, FieldKind::Int},
    {kGeZMinorTicks, &CGraphTemplate::ztickm, FieldKind::Int},
    {kGeAllBars, &CGraphTemplate::allbar, FieldKind::Check},
    {kGeHistogramPercent, &CGraphTemplate::hpct, FieldKind::Check},
    {kGeHistogramSteps, &CGraphTemplate::hsteps, FieldKind::Int},
};

const std::pair<int, double CGraphTemplate::*> kDoubleFields[] = {
    {kGeXMin, &CGraphTemplate::xmin},       {kGeXMax, &CGraphTemplate::xmax},
    {kGeYMin, &CGraphTemplate::ymin},       {kGeYMax, &CGraphTemplate::ymax},
    {kGeZMin, &CGraphTemplate::zmin},       {kGeZMax, &CGraphTemplate::zmax},
    {kGeHistogramMin, &CGraphTemplate::hmin}, {kGeHistogramMax, &CGraphTemplate::hmax},
};

const std::pair<int, std::string CGraphTemplate::*> kTextFields[] = {
    {kGeName, &CGraphTemplate::m_name},        {kGeTitleTop, &CGraphTemplate::ttltop},
    {kGeTitleLeft, &CGraphTemplate::ttllft},   {kGeTitleRight, &CGraphTemplate::ttlrt},
    {kGeTitleBottom, &CGraphTemplate::ttlbot}, {kGeImage, &CGraphTemplate::ovfile},
};

// The title radio groups: the Automatic button (value 0) stands for the flag 1.
const std::pair<int, int CGraphTemplate::*> kTitleRadios[] = {
    {kGeTitleTopAuto, &CGraphTemplate::ttltopa},
    {kGeTitleLeftAuto, &CGraphTemplate::ttllfta},
    {kGeTitleRightAuto, &CGraphTemplate::ttlrta},
    {kGeTitleBottomAuto, &CGraphTemplate::ttlbota},
};

// The six text groups' family, style and size, in the group list's order.
int CGraphTemplate::* const kTextStyleFields[18] = {
    &CGraphTemplate::txmainfam, &CGraphTemplate::txmainsty, &CGraphTemplate::txmainsiz,
    &CGraphTemplate::txlrbfam,  &CGraphTemplate::txlrbsty,  &CGraphTemplate::txlrbsiz,
    &CGraphTemplate::txpiefam,  &CGraphTemplate::txpiesty,  &CGraphTemplate::txpiesiz,
    &CGraphTemplate::txaxfam,   &CGraphTemplate::txaxsty,   &CGraphTemplate::txaxsiz,
    &CGraphTemplate::txtrifam,  &CGraphTemplate::txtristy,  &CGraphTemplate::txtrisiz,
    &CGraphTemplate::txlegfam,  &CGraphTemplate::txlegsty,  &CGraphTemplate::txlegsiz,
};

const std::pair<int, int CGraphTemplate::*> kVariableCombos[] = {
    {kGeScatterX, &CGraphTemplate::xoxide},
    {kGeScatterY, &CGraphTemplate::yoxide},
    {kGeScatterZ, &CGraphTemplate::zoxide},
    {kGeHistogramX, &CGraphTemplate::hoxide},
};

void FillVariableRows(QComboBox* combo, GraphVariableList list)
{
    for (const CGraphVariableRow& row : BuildGraphVariableRows(list))
        combo->addItem(FromCp1252(row.text), row.code);
}

} // namespace

// --- field helpers --------------------------------------------------------------------------------

bool CGraphTypeEditView::Checked(int id) const
{
    const auto* check = Ctl<QAbstractButton>(id);
    return check && check->isChecked();
}

void CGraphTypeEditView::SetChecked(int id, bool checked)
{
    if (auto* check = Ctl<QAbstractButton>(id))
        check->setChecked(checked);
}

int CGraphTypeEditView::RadioValue(int groupId) const
{
    const auto it = m_radioGroups.find(groupId);
    return it == m_radioGroups.end() ? -1 : it->second->checkedId();
}

void CGraphTypeEditView::SetRadioValue(int groupId, int value)
{
    const auto it = m_radioGroups.find(groupId);
    if (it == m_radioGroups.end())
        return;
    QButtonGroup* group = it->second;
    if (QAbstractButton* button = group->button(value)) {
        button->setChecked(true);
        return;
    }
    // No button stands for the value: none is chosen.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

std::string CGraphTypeEditView::Text(int id) const
{
    if (const auto* edit = Ctl<QLineEdit>(id))
        return ToCp1252(edit->text());
    if (const auto* combo = Ctl<QComboBox>(id))
        return ToCp1252(combo->currentText());
    return std::string();
}

void CGraphTypeEditView::SetText(int id, const std::string& text)
{
    if (auto* edit = Ctl<QLineEdit>(id))
        edit->setText(FromCp1252(text));
    else if (auto* combo = Ctl<QComboBox>(id))
        combo->setEditText(FromCp1252(text));
}

int CGraphTypeEditView::IntField(int id) const
{
    return ParseInt(Text(id));
}

void CGraphTypeEditView::SetIntField(int id, int value)
{
    SetText(id, std::to_string(value));
}

double CGraphTypeEditView::DoubleField(int id) const
{
    return ParseDouble(Text(id));
}

void CGraphTypeEditView::SetDoubleField(int id, double value)
{
    SetText(id, FormatDoubleShortest(value));
}

// --- lists filled once ----------------------------------------------------------------------------

void CGraphTypeEditView::FillFixedLists()
{
    m_bLoading = true;
    QComboBox* types = Ctl<QComboBox>(kGeType);
    types->clear();
    for (int type = 0; type < kGraphTypeCount; ++type)
        types->addItem(QString::fromLatin1(g_graphTypeTable[type].longName), type);
    QListWidget* groups = Ctl<QListWidget>(kGeTextGroups);
    groups->clear();
    for (const char* group : {"Top title", "Left/right/bottom", "Pie labels", "Axis labels", "Triaxial corners", "Legend"})
        groups->addItem(QString::fromLatin1(group));
    QComboBox* families = Ctl<QComboBox>(kGeTextFamily);
    families->clear();
    int value = 1;
    for (const char* family : {"Roman", "Swiss", "Modern", "Script", "Decorative"})
        families->addItem(QString::fromLatin1(family), value++);
    QComboBox* styles = Ctl<QComboBox>(kGeTextStyle);
    styles->clear();
    for (const auto& [text, style] : {std::pair{"Plain", 0}, {"Bold", 32}, {"Italic", 16}, {"Bold italic", 48}})
        styles->addItem(QString::fromLatin1(text), style);
    QListWidget* fields = Ctl<QListWidget>(kGeFields);
    fields->clear();
    for (const CGraphVariableRow& row : BuildGraphVariableRows(GraphVariableList::Fields)) {
        auto* item = new QListWidgetItem(FromCp1252(row.text), fields);
        item->setData(Qt::UserRole, row.code);
    }
    for (int id : {kGeScatterX, kGeScatterY, kGeScatterZ}) {
        Ctl<QComboBox>(id)->clear();
        FillVariableRows(Ctl<QComboBox>(id), GraphVariableList::Axis);
    }
    Ctl<QComboBox>(kGeHistogramX)->clear();
    FillVariableRows(Ctl<QComboBox>(kGeHistogramX), GraphVariableList::Histogram);
    m_bLoading = false;
    FillLimitFormulaCombo();
}

void CGraphTypeEditView::FillLimitFormulaCombo()
{
    QComboBox* combo = Ctl<QComboBox>(kGeLimit);
    const bool loading = m_bLoading;
    m_bLoading = true;
    const QString text = combo->currentText();
    combo->clear();
    if (g_pLimitFormulasDoc) {
        const CLimitFormulaDB& database = g_pLimitFormulasDoc->Database();
        for (int i = 0; i < database.GetCount(); ++i)
            combo->addItem(FromCp1252(database.GetAt(i).m_name), i);
    }
    combo->setEditText(text);
    m_bLoading = loading;
}

// --- loading and storing --------------------------------------------------------------------------

void CGraphTypeEditView::LoadFields(const CGraphTemplate& graphTemplate)
{
    for (const SIntField& field : kIntFields) {
        const int value = graphTemplate.*field.field;
        switch (field.kind) {
        case FieldKind::Check: SetChecked(field.id, value != 0); break;
        case FieldKind::Int: SetIntField(field.id, value); break;
        case FieldKind::Inverted: SetIntField(field.id, 100 - value); break;
        }
    }
    for (const auto& [id, field] : kDoubleFields)
        SetDoubleField(id, graphTemplate.*field);
    for (const auto& [id, field] : kTextFields)
        SetText(id, graphTemplate.*field);
    for (const auto& [id, field] : kTitleRadios)
        SetRadioValue(id, graphTemplate.*field ? 0 : 1);
    QComboBox* types = Ctl<QComboBox>(kGeType);
    types->setCurrentIndex(types->findData(graphTemplate.type));
    SetRadioValue(kGeTicksInside, std::clamp(graphTemplate.tickin, 0, 2));
    SetRadioValue(kGeUnitsUnity, graphTemplate.oxtype);
    Ctl<QComboBox>(kGeLimit)->setEditText(FromCp1252(graphTemplate.limform));
    std::string notes;
    for (std::size_t i = 0; i < graphTemplate.m_notes.size(); ++i)
        notes += (i ? "\r\n" : "") + graphTemplate.m_notes[i];
    Ctl<QPlainTextEdit>(kGeNotes)->setPlainText(EditTextFromCore(notes));
    for (std::size_t k = 0; k < m_textStyles.size(); ++k)
        m_textStyles[k] = graphTemplate.*kTextStyleFields[k];
    LoadOxideSelections(graphTemplate);
}

// A number field the graph type disables keeps its value as stored (graphTemplate holds it): the
// user cannot touch it, and a value the file held outside its range stays as read.
void CGraphTypeEditView::StoreFields(CGraphTemplate& graphTemplate)
{
    for (const SIntField& field : kIntFields) {
        int& value = graphTemplate.*field.field;
        if (field.kind != FieldKind::Check && !IsFieldEnabled(field.id))
            continue;
        switch (field.kind) {
        case FieldKind::Check: value = Checked(field.id) ? 1 : 0; break;
        case FieldKind::Int: value = IntField(field.id); break;
        case FieldKind::Inverted: value = 100 - IntField(field.id); break;
        }
    }
    for (const auto& [id, field] : kDoubleFields) {
        if (IsFieldEnabled(id))
            graphTemplate.*field = DoubleField(id);
    }
    for (const auto& [id, field] : kTextFields)
        graphTemplate.*field = Text(id);
    for (const auto& [id, field] : kTitleRadios)
        graphTemplate.*field = RadioValue(id) == 0 ? 1 : 0;
    const QComboBox* types = Ctl<QComboBox>(kGeType);
    if (types->currentIndex() >= 0)
        graphTemplate.type = types->currentData().toInt();
    if (RadioValue(kGeTicksInside) >= 0)
        graphTemplate.tickin = RadioValue(kGeTicksInside);
    if (RadioValue(kGeUnitsUnity) >= 0)
        graphTemplate.oxtype = RadioValue(kGeUnitsUnity);
    graphTemplate.limform = Text(kGeLimit);
    graphTemplate.m_notes.clear();
    const std::string notes = CoreTextFromEdit(*Ctl<QPlainTextEdit>(kGeNotes));
    if (!notes.empty())
        graphTemplate.m_notes.AddTextLines(notes, "\r\n");
    for (std::size_t k = 0; k < m_textStyles.size(); ++k)
        graphTemplate.*kTextStyleFields[k] = m_textStyles[k];
    StoreOxideSelections(graphTemplate);
}

void CGraphTypeEditView::LoadOxideSelections(const CGraphTemplate& graphTemplate)
{
    std::array<int, CGraphTemplate::kMaxOxideListCodes> codes{};
    const int count = graphTemplate.GetOxideList(codes, false);
    const std::set<int> chosen(codes.begin(), codes.begin() + count);
    QListWidget* fields = Ctl<QListWidget>(kGeFields);
    for (int row = 0; row < fields->count(); ++row) {
        QListWidgetItem* item = fields->item(row);
        const int code = item->data(Qt::UserRole).toInt();
        item->setSelected(code != kGraphVariableSeparator && chosen.count(code) > 0);
    }
    for (const auto& [id, field] : kVariableCombos) {
        QComboBox* combo = Ctl<QComboBox>(id);
        combo->setCurrentIndex(combo->findData(graphTemplate.*field));
    }
}

// The order of the oxide list decides the order of bars and segments and which remainders are
// left: codes that stay chosen keep their stored places, and codes the list does not offer (KNaO,
// LOI, the unexpected oxides...) stay too, so that saving a template never reorders or loses them.
// Newly chosen codes follow in list order.
void CGraphTypeEditView::StoreOxideSelections(CGraphTemplate& graphTemplate)
{
    std::set<int> offered;
    std::vector<int> chosen;
    const QListWidget* fields = Ctl<QListWidget>(kGeFields);
    for (int row = 0; row < fields->count(); ++row) {
        const QListWidgetItem* item = fields->item(row);
        const int code = item->data(Qt::UserRole).toInt();
        offered.insert(code);
        if (item->isSelected() && code != kGraphVariableSeparator)
            chosen.push_back(code);
    }
    std::array<int, CGraphTemplate::kMaxOxideListCodes> codes{};
    const int count = m_template.GetOxideList(codes, false);
    std::vector<int> result;
    for (int k = 0; k < count; ++k) {
        const int code = codes[static_cast<std::size_t>(k)];
        const bool kept = !offered.count(code) || std::find(chosen.begin(), chosen.end(), code) != chosen.end();
        if (kept && std::find(result.begin(), result.end(), code) == result.end())
            result.push_back(code);
    }
    for (int code : chosen) {
        if (std::find(result.begin(), result.end(), code) == result.end())
            result.push_back(code);
    }
    std::string text;
    for (int code : result)
        text += (text.empty() ? "" : ",") + std::to_string(code);
    graphTemplate.bpoxides = text;
    for (const auto& [id, field] : kVariableCombos) {
        const QComboBox* combo = Ctl<QComboBox>(id);
        const int code = combo->currentIndex() >= 0 ? combo->currentData().toInt() : kGraphVariableSeparator;
        // A code the combo does not offer (KNaO) stays as the template had it.
        graphTemplate.*field = code != kGraphVariableSeparator ? code : m_template.*field;
    }
}

// --- ranges ---------------------------------------------------------------------------------------

namespace {

// A shown value's range: an inverted field shows 100 minus the stored value.
std::pair<int, int> ShownRange(const SGraphTemplateRange& range, bool inverted)
{
    return inverted ? std::pair{100 - range.max, 100 - range.min} : std::pair{range.min, range.max};
}

} // namespace

// Whether the field is enabled, as the one table of what a graph type enables
// (UpdateControlStates) left it: what it disables is neither checked nor stored.
bool CGraphTypeEditView::IsFieldEnabled(int id) const
{
    const QWidget* control = Control(id);
    return control && control->isEnabledTo(m_form);
}

bool CGraphTypeEditView::CheckFieldRanges()
{
    for (const SIntField& field : kIntFields) {
        const SGraphTemplateRange* range = FindGraphTemplateRange(field.field);
        if (field.kind == FieldKind::Check || !range || !IsFieldEnabled(field.id))
            continue;
        const auto [min, max] = ShownRange(*range, field.kind == FieldKind::Inverted);
        // The whole text: "12abc" is no 12.
        int value = 0;
        if (!ReadWholeNumberText(Text(field.id), value) || value < min || value > max) {
            ShowRangeMessage(field.id, min, max);
            return false;
        }
    }
    for (const auto& [id, field] : kDoubleFields) {
        if (!IsFieldEnabled(id))
            continue;
        if (const std::string refusal = NumberTextRefusal(Text(id), DBL_MAX); !refusal.empty()) {
            ShowFieldPage(id);
            return RefuseField(Ctl<QLineEdit>(id), refusal);
        }
    }
    // The size field shows the size of the text group chosen; the sizes stored are checked below.
    const SGraphTemplateRange* sizeRange =
        m_currentTextGroup >= 0 ? FindGraphTemplateRange(kTextStyleFields[m_currentTextGroup * 3 + 2]) : nullptr;
    if (int size = 0; sizeRange && !ReadWholeNumberText(Text(kGeTextSize), size)) {
        ShowRangeMessage(kGeTextSize, sizeRange->min, sizeRange->max);
        return false;
    }
    for (int group = 0; group < 6; ++group) {
        const SGraphTemplateRange* range = FindGraphTemplateRange(kTextStyleFields[group * 3 + 2]);
        const int size = m_textStyles[static_cast<std::size_t>(group * 3 + 2)];
        if (range && (size < range->min || size > range->max)) {
            ShowTextGroup(group);
            ShowRangeMessage(kGeTextSize, range->min, range->max);
            return false;
        }
    }
    return true;
}

void CGraphTypeEditView::ShowFieldPage(int id)
{
    QWidget* control = Control(id);
    for (int page = 1; control && page <= kGraphEditPageCount; ++page) {
        if (PageWidget(page)->isAncestorOf(control))
            ShowPage(page);
    }
}

void CGraphTypeEditView::ShowRangeMessage(int id, int min, int max)
{
    ShowFieldPage(id);
    RefuseField(Ctl<QLineEdit>(id), WholeNumberRangeMessage(min, max));
}

// --- text styles ----------------------------------------------------------------------------------

void CGraphTypeEditView::ShowTextGroup(int group)
{
    if (group < 0 || group >= 6)
        return;
    m_currentTextGroup = group;
    const bool loading = m_bLoading;
    m_bLoading = true;
    Ctl<QListWidget>(kGeTextGroups)->setCurrentRow(group);
    const int* style = &m_textStyles[static_cast<std::size_t>(group * 3)];
    QComboBox* family = Ctl<QComboBox>(kGeTextFamily);
    family->setCurrentIndex(family->findData(style[0]));
    QComboBox* weight = Ctl<QComboBox>(kGeTextStyle);
    weight->setCurrentIndex(weight->findData(style[1]));
    SetIntField(kGeTextSize, style[2]);
    m_bLoading = loading;
}

void CGraphTypeEditView::StoreTextStyle()
{
    if (m_bLoading || m_currentTextGroup < 0)
        return;
    int* style = &m_textStyles[static_cast<std::size_t>(m_currentTextGroup * 3)];
    const QComboBox* family = Ctl<QComboBox>(kGeTextFamily);
    const QComboBox* weight = Ctl<QComboBox>(kGeTextStyle);
    if (family->currentIndex() >= 0)
        style[0] = family->currentData().toInt();
    if (weight->currentIndex() >= 0)
        style[1] = weight->currentData().toInt();
    style[2] = IntField(kGeTextSize);
    MarkModified();
}
