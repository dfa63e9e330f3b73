#include "graphs/GraphColorsDlg.h"

#include "elements/ElementTable.h"
#include "framework/Cp1252.h"
#include "graphs/GraphTypesDoc.h"
#include "graphs/GraphVariable.h"
#include "graphs/StylePicker.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

constexpr const char* kListSeparator = "   ----------";
constexpr const char* kComboSeparator = "  ----------";
constexpr const char* kNewTypeName = "new type";

struct SGroupRows {
    std::int32_t role;
    const char* total;
    int totalCode;
    const char* remainder;
    int remainderCode;
};

// Oxides of one role group: by element number, or by priority 1..3 first.
void AppendGroupOxides(std::vector<CGraphVariableRow>& rows, std::int32_t role, bool byPriority)
{
    const CElementRecord* table = GetElementTable();
    const int passes = byPriority ? 3 : 1;
    for (int pass = 1; pass <= passes; ++pass) {
        for (int z = 1; z < kElementCount; ++z) {
            const CElementRecord& element = table[z];
            if ((element.role & role) == 0 || (byPriority && element.priority != pass))
                continue;
            rows.push_back({element.oxide, z});
        }
    }
}

} // namespace

std::vector<CGraphVariableRow> BuildGraphVariableRows(GraphVariableList list)
{
    const bool colors = list == GraphVariableList::Colors;
    const bool combo = list == GraphVariableList::Axis || list == GraphVariableList::Histogram;
    const bool remainders = list != GraphVariableList::Histogram;
    const CGraphVariableRow separator{combo ? kComboSeparator : kListSeparator, kGraphVariableSeparator};
    static const SGroupRows kGroups[] = {
        {kRoleAlkali, "All Alkalis", kGraphVarAlkalis, "Other alkalis", kGraphVarOtherAlkalis},
        {kRoleNeutral, "All Neutrals", kGraphVarNeutrals, "Other neutrals", kGraphVarOtherNeutrals},
        {kRoleAcid, "All Acids", kGraphVarAcids, "Other acids", kGraphVarOtherAcids},
        {0, nullptr, 0, "Other nonvolatiles", kGraphVarOtherNonvolatiles},
        {kRoleVolatile, "All Volatiles", kGraphVarVolatiles, "Other volatiles", kGraphVarOtherVolatiles},
    };
    std::vector<CGraphVariableRow> rows;
    for (const SGroupRows& group : kGroups) {
        if (group.total) {
            rows.push_back({group.total, group.totalCode});
            AppendGroupOxides(rows, group.role, colors);
        }
        // The non-volatile remainder is a group of its own and stays in every list.
        if (remainders || !group.total)
            rows.push_back({group.remainder, group.remainderCode});
        rows.push_back(separator);
    }
    rows.push_back({"All other oxides", kGraphVarOtherOxides});
    rows.push_back(separator);
    if (list == GraphVariableList::Fields)
        return rows;
    rows.push_back({"Si/Al", kGraphVarSiAlRatio});
    rows.push_back({"Expansion", kGraphVarExpansion});
    rows.push_back({"Cost/kg", kGraphVarCost});
    if (colors)
        return rows;
    rows.push_back({"Temperature (max)", kGraphVarHighestTemp});
    rows.push_back({"Temperature (avg)", kGraphVarAverageTemp});
    rows.push_back({"Temperature (min)", kGraphVarLowestTemp});
    return rows;
}

// --- the dialog -----------------------------------------------------------------------------------

CGraphColorsDlg::CGraphColorsDlg(QWidget* parent) : CStyledDialog(parent, kGraphColorsHelpId)
{
    backgroundColor = GetNamedColor("grted_tab");
    setWindowTitle(QStringLiteral("Oxide and Material Type Graph Colors"));
}

QPushButton* CGraphColorsDlg::Button(int id) const
{
    for (QPushButton* button : m_buttons) {
        if (button->objectName() == QString::number(id))
            return button;
    }
    return nullptr;
}

void CGraphColorsDlg::OnInitDialog()
{
    CreateControls();
    CreatePickers();
    ConnectSignals();
    FillLists();
    ShowSelection();
    EnableControls();
}

void CGraphColorsDlg::CreateControls()
{
    ResizeDlu(318, 228);
    const auto label = [this](const char* text, int x, int y, int width) {
        auto* widget = new QLabel(QString::fromLatin1(text), this);
        PlaceDlu(widget, x, y, width, 10);
        return widget;
    };
    label("Material types :", 8, 6, 110);
    m_typeList = new QListWidget(this);
    SetControlId(m_typeList, kGcMaterialTypes);
    PlaceDlu(m_typeList, 8, 16, 110, 100);
    label("Name :", 8, 120, 40);
    m_name = new QLineEdit(this);
    SetControlId(m_name, kGcName);
    PlaceDlu(m_name, 8, 130, 110, 12);
    m_buttons.push_back(AddButton(QStringLiteral("Add New"), kGcAddNew, 8, 146, 54, 14));
    m_buttons.push_back(AddButton(QStringLiteral("Delete"), kGcDelete, 64, 146, 54, 14));
    m_buttons.push_back(AddButton(QStringLiteral("Load from Preferences"), kGcLoadPreferences, 8, 164, 110, 14));
    m_buttons.push_back(AddButton(QStringLiteral("Load from Material List"), kGcLoadMaterials, 8, 180, 110, 14));
    label("Oxides :", 126, 6, 80);
    m_oxideList = new QListWidget(this);
    SetControlId(m_oxideList, kGcOxides);
    PlaceDlu(m_oxideList, 126, 16, 86, 180);
    m_buttons.push_back(AddButton(QStringLiteral("OK"), 1, 164, 206, 50, 14));
    m_buttons.push_back(AddButton(QStringLiteral("Cancel"), 2, 218, 206, 50, 14));
    m_buttons.push_back(AddHelpButton(290, 206, 20, 14));
    connect(Button(1), &QPushButton::clicked, this, &QDialog::accept);
    connect(Button(2), &QPushButton::clicked, this, &QDialog::reject);
}

void CGraphColorsDlg::CreatePickers()
{
    const auto label = [this](const char* text, int y) {
        auto* widget = new QLabel(QString::fromLatin1(text), this);
        PlaceDlu(widget, 220, y, 80, 10);
        m_pickerLabels.push_back(widget);
    };
    label("Color set :", 6);
    m_colorSetGroup = new QButtonGroup(this);
    for (int set = 0; set < kGraphColorSetCount; ++set) {
        auto* radio = new QRadioButton(QString::number(set + 1), this);
        SetControlId(radio, kGcFirstColorSet + set);
        PlaceDlu(radio, 220 + (set % 4) * 20, 16 + (set / 4) * 11, 20, 10);
        m_colorSetGroup->addButton(radio, set);
        m_colorSets[static_cast<std::size_t>(set)] = radio;
    }
    label("Color :", 42);
    for (int k = 0; k < kGraphColorSetSize; ++k) {
        auto* swatch = new CColorSwatchButton(this);
        SetControlId(swatch, kGcFirstSwatch + k);
        PlaceDlu(swatch, 220 + (k % 4) * 18, 52 + (k / 4) * 15, 16, 13);
        m_swatches[static_cast<std::size_t>(k)] = swatch;
    }
    label("Pattern :", 116);
    for (int p = 0; p < kGraphPatternCount; ++p) {
        auto* pattern = new CMarkerButton(p, this);
        SetControlId(pattern, kGcFirstPattern + p);
        PlaceDlu(pattern, 220 + (p % 4) * 18, 126 + (p / 4) * 15, 16, 13);
        m_patterns[static_cast<std::size_t>(p)] = pattern;
    }
    m_usePattern = new QCheckBox(QStringLiteral("Use pattern with color"), this);
    SetControlId(m_usePattern, kGcUsePattern);
    PlaceDlu(m_usePattern, 220, 160, 96, 10);
}

void CGraphColorsDlg::ConnectSignals()
{
    // A choice is a selected row: the row a list makes current when it gets the focus is none.
    const auto selectedRow = [](const QListWidget* list) {
        const QList<QListWidgetItem*> items = list->selectedItems();
        return items.isEmpty() ? -1 : list->row(items.front());
    };
    connect(m_typeList, &QListWidget::itemSelectionChanged, this, [this, selectedRow] {
        if (!m_loading)
            SelectMaterialType(selectedRow(m_typeList));
    });
    connect(m_oxideList, &QListWidget::itemSelectionChanged, this, [this, selectedRow] {
        if (!m_loading)
            SelectOxideRow(selectedRow(m_oxideList));
    });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) { RenameMaterialType(ToCp1252(text)); });
    connect(Button(kGcAddNew), &QPushButton::clicked, this, [this] { AddNewMaterialType(); });
    connect(Button(kGcDelete), &QPushButton::clicked, this, [this] { DeleteMaterialType(); });
    connect(Button(kGcLoadPreferences), &QPushButton::clicked, this, [this] { LoadFromPreferences(); });
    connect(Button(kGcLoadMaterials), &QPushButton::clicked, this, [this] { LoadFromMaterialList(); });
    connect(m_colorSetGroup, &QButtonGroup::idClicked, this, [this](int set) { ChooseColorSet(set); });
    for (int k = 0; k < kGraphColorSetSize; ++k)
        connect(Swatch(k), &QAbstractButton::clicked, this, [this, k] { ChooseSwatch(k); });
    for (int p = 0; p < kGraphPatternCount; ++p)
        connect(PatternButton(p), &QAbstractButton::clicked, this, [this, p] { ChoosePattern(p); });
    connect(m_usePattern, &QCheckBox::clicked, this, [this](bool on) { SetUsePattern(on); });
}

void CGraphColorsDlg::FillLists()
{
    m_loading = true;
    m_typeList->clear();
    for (const CMaterialTypeColor& entry : materialTypes)
        m_typeList->addItem(FromCp1252(entry.m_name));
    m_oxideList->clear();
    for (const CGraphVariableRow& row : BuildGraphVariableRows(GraphVariableList::Colors)) {
        auto* item = new QListWidgetItem(FromCp1252(row.text), m_oxideList);
        item->setData(Qt::UserRole, row.code);
    }
    m_loading = false;
}

// --- selection ------------------------------------------------------------------------------------

void CGraphColorsDlg::SetTypeSelection(int index)
{
    m_loading = true;
    m_typeList->setCurrentRow(index);
    if (index < 0)
        m_typeList->clearSelection();
    m_loading = false;
    selectedType = index;
}

void CGraphColorsDlg::ClearOxideSelection()
{
    m_loading = true;
    m_oxideList->setCurrentRow(-1);
    m_oxideList->clearSelection();
    m_loading = false;
    selectedOxideRow = -1;
    selectedOxideCode = -1;
}

void CGraphColorsDlg::SelectMaterialType(int index)
{
    if (index >= materialTypes.GetCount())
        index = -1;
    if (index >= 0)
        ClearOxideSelection();
    selectedType = index;
    m_name->setText(index >= 0 ? FromCp1252(materialTypes[static_cast<std::size_t>(index)].m_name) : QString());
    ShowSelection();
    EnableControls();
}

void CGraphColorsDlg::SelectOxideRow(int row)
{
    if (row >= 0) {
        SetTypeSelection(-1);
        m_name->clear();
    }
    selectedOxideRow = row;
    selectedOxideCode = row >= 0 ? m_oxideList->item(row)->data(Qt::UserRole).toInt() : -1;
    ShowSelection();
    EnableControls();
}

void CGraphColorsDlg::ShowSelection()
{
    if (selectedType >= 0) {
        const CMaterialTypeColor& entry = materialTypes[static_cast<std::size_t>(selectedType)];
        ShowEntry(entry.color, entry.pattern, entry.colorWithPattern);
    } else if (selectedOxideRow >= 0) {
        const COxideColor* entry = IsGraphVariable(selectedOxideCode) ? oxides.GetAt(selectedOxideCode) : nullptr;
        if (entry)
            ShowEntry(entry->color, entry->pattern, entry->colorWithPattern);
        else
            ShowEntry(0, 0, 0); // a separator
    } else if (IsInitialized() && shownColor >= 0) {
        ShowEntry(0, 0, 0);
    } else {
        ShowEntry(-1, 0, 0); // nothing chosen yet
    }
}

void CGraphColorsDlg::ShowEntry(int color, int pattern, int usePattern)
{
    shownColor = color;
    shownPattern = pattern;
    shownUsePattern = usePattern;
    const int set = color >= 0 ? color / kGraphColorSetSize : -1;
    m_colorSetGroup->setExclusive(false);
    for (int s = 0; s < kGraphColorSetCount; ++s)
        ColorSetRadio(s)->setChecked(s == set);
    m_colorSetGroup->setExclusive(true);
    const int base = std::max(set, 0) * kGraphColorSetSize;
    for (int k = 0; k < kGraphColorSetSize; ++k) {
        Swatch(k)->SetColorIndex(base + k);
        Swatch(k)->SetColor(base + k == color);
    }
    for (int p = 0; p < kGraphPatternCount; ++p) {
        PatternButton(p)->SetColorIndex(usePattern && color >= 0 ? color : 0);
        PatternButton(p)->Paint(p == pattern && color >= 0);
    }
    m_usePattern->setChecked(usePattern != 0);
}

void CGraphColorsDlg::StoreShown()
{
    if (shownColor < 0)
        return;
    if (selectedType >= 0 && selectedType < materialTypes.GetCount()) {
        CMaterialTypeColor& entry = materialTypes[static_cast<std::size_t>(selectedType)];
        entry.color = shownColor;
        entry.pattern = shownPattern;
        entry.colorWithPattern = shownUsePattern;
        return;
    }
    if (selectedOxideRow < 0 || !IsGraphVariable(selectedOxideCode))
        return;
    // A file may hold fewer than 128 entries: the missing ones come in with their own codes.
    while (oxides.GetCount() <= selectedOxideCode) {
        COxideColor filler;
        filler.code = oxides.GetCount();
        oxides.push_back(filler);
    }
    COxideColor& entry = oxides[static_cast<std::size_t>(selectedOxideCode)];
    entry.color = shownColor;
    entry.pattern = shownPattern;
    entry.colorWithPattern = shownUsePattern;
}

void CGraphColorsDlg::EnableControls()
{
    const bool type = selectedType >= 0;
    const bool any = type || selectedOxideRow >= 0;
    Button(kGcDelete)->setEnabled(type);
    m_name->setEnabled(type);
    for (QLabel* label : m_pickerLabels)
        label->setEnabled(any);
    for (int s = 0; s < kGraphColorSetCount; ++s)
        ColorSetRadio(s)->setEnabled(any);
    for (int k = 0; k < kGraphColorSetSize; ++k)
        Swatch(k)->setEnabled(any);
    for (int p = 0; p < kGraphPatternCount; ++p)
        PatternButton(p)->setEnabled(any);
    m_usePattern->setEnabled(any);
}

// --- material types -------------------------------------------------------------------------------

void CGraphColorsDlg::RenameMaterialType(const std::string& name)
{
    if (selectedType < 0 || selectedType >= materialTypes.GetCount())
        return;
    materialTypes[static_cast<std::size_t>(selectedType)].m_name = name;
    m_typeList->item(selectedType)->setText(FromCp1252(name));
}

void CGraphColorsDlg::AddNewMaterialType()
{
    ClearOxideSelection();
    CMaterialTypeColor entry;
    entry.m_name = kNewTypeName;
    const int position = selectedType >= 0 ? selectedType + 1 : materialTypes.GetCount();
    materialTypes.InsertAt(position, entry);
    m_loading = true;
    m_typeList->insertItem(position, FromCp1252(entry.m_name));
    m_loading = false;
    SetTypeSelection(position);
    SelectMaterialType(position);
    m_name->setFocus();
    m_name->selectAll();
}

void CGraphColorsDlg::DeleteMaterialType()
{
    const int index = selectedType;
    if (index < 0 || index >= materialTypes.GetCount())
        return;
    materialTypes.erase(materialTypes.begin() + index);
    m_loading = true;
    delete m_typeList->takeItem(index);
    m_loading = false;
    const int next = index < materialTypes.GetCount() ? index : -1;
    SetTypeSelection(next);
    SelectMaterialType(next);
}

void CGraphColorsDlg::AppendMissingTypes(const std::vector<std::string>& names)
{
    ClearOxideSelection();
    for (const std::string& name : names) {
        if (name.empty() || materialTypes.Find(name))
            continue;
        CMaterialTypeColor entry;
        entry.m_name = name;
        materialTypes.push_back(entry);
        m_loading = true;
        m_typeList->addItem(FromCp1252(name));
        m_loading = false;
    }
    ShowSelection();
    EnableControls();
}

void CGraphColorsDlg::LoadFromPreferences()
{
    std::vector<std::string> names;
    if (CAppContext::IsActive())
        names.assign(g_prefs.mattyp.begin(), g_prefs.mattyp.end());
    AppendMissingTypes(names);
}

void CGraphColorsDlg::LoadFromMaterialList()
{
    std::vector<std::string> names;
    if (g_pMaterialsDoc) {
        const CMaterialArray& materials = g_pMaterialsDoc->Materials();
        for (int i = 0; i < materials.GetCount(); ++i) {
            const CMaterial* material = materials.GetAt(i);
            if (!material)
                continue;
            const std::string& type = material->m_type;
            const bool seen = std::any_of(names.begin(), names.end(),
                                          [&type](const std::string& name) { return EqualsNoCase(name, type); });
            if (!seen)
                names.push_back(type);
        }
    }
    AppendMissingTypes(names);
}

// --- pickers --------------------------------------------------------------------------------------

void CGraphColorsDlg::ChooseColorSet(int set)
{
    if (shownColor < 0 || set < 0 || set >= kGraphColorSetCount) {
        ShowEntry(shownColor, shownPattern, shownUsePattern);
        return;
    }
    shownColor = set * kGraphColorSetSize + shownColor % kGraphColorSetSize;
    StoreShown();
    ShowEntry(shownColor, shownPattern, shownUsePattern);
}

void CGraphColorsDlg::ChooseSwatch(int k)
{
    const int set = shownColor >= 0 ? shownColor / kGraphColorSetSize : 0;
    shownColor = set * kGraphColorSetSize + k;
    StoreShown();
    ShowEntry(shownColor, shownPattern, shownUsePattern);
}

void CGraphColorsDlg::ChoosePattern(int p)
{
    shownPattern = p;
    StoreShown();
    ShowEntry(shownColor, shownPattern, shownUsePattern);
}

void CGraphColorsDlg::SetUsePattern(bool on)
{
    shownUsePattern = on ? 1 : 0;
    StoreShown();
    ShowEntry(shownColor, shownPattern, shownUsePattern);
}

// The colour lists go through the dialog as copies; entries without a type name are dropped.
bool EditGraphColorLists(QWidget* parent, CGraphTypesDoc& doc)
{
    CGraphColorsDlg dialog(parent);
    dialog.materialTypes = doc.Database().m_materialTypeColors;
    dialog.oxides = doc.Database().m_oxideColors;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (int i = dialog.materialTypes.GetCount() - 1; i >= 0; --i) {
        if (dialog.materialTypes[static_cast<std::size_t>(i)].m_name.empty())
            dialog.materialTypes.erase(dialog.materialTypes.begin() + i);
    }
    doc.SetColorLists(dialog.materialTypes, dialog.oxides);
    return true;
}
