#include "graphs/GraphSettingsDlg.h"

#include "framework/Cp1252.h"
#include "framework/DocTemplate.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphTypesDoc.h"
#include "limits/LimitFormulaDB.h"
#include "limits/LimitFormulasDoc.h"
#include "shell/OxidariumApp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

enum ComboSlot { SlotTemplate, SlotType, SlotDatabase, SlotGlaze, SlotLimit, SlotUnits };

constexpr const char* kNone = "(none)";
constexpr const char* kDefault = "(default)";
constexpr int kDefaultUnitsRow = 3;

QVariant PointerData(const void* pointer)
{
    return QVariant::fromValue(reinterpret_cast<quintptr>(pointer));
}

template <class T>
T* PointerAt(const QComboBox* combo, int row)
{
    if (row < 0)
        return nullptr;
    return reinterpret_cast<T*>(combo->itemData(row).value<quintptr>());
}

// Selects the row whose item data is pointer; false (and no selection) when none is.
bool SelectPointer(QComboBox* combo, const void* pointer)
{
    const int row = pointer ? combo->findData(PointerData(pointer)) : -1;
    combo->setCurrentIndex(row);
    return row >= 0;
}

} // namespace

std::vector<CGlazesDoc*> GetOpenGlazeDatabases()
{
    std::vector<CDocument*> documents;
    if (g_pApp)
        g_pApp->GetGlazeDocs(documents);
    else if (g_pGlazesTemplate)
        documents = g_pGlazesTemplate->GetDocuments();
    std::vector<CGlazesDoc*> databases;
    for (CDocument* document : documents) {
        if (auto* database = dynamic_cast<CGlazesDoc*>(document))
            databases.push_back(database);
    }
    return databases;
}

CGraphSettingsDlg::CGraphSettingsDlg(QWidget* parent) : CStyledDialog(parent, kGraphSettingsHelpId)
{
    backgroundColor = GetNamedColor("grted_tab");
    setWindowTitle(QStringLiteral("Graph Settings"));
}

QComboBox* CGraphSettingsDlg::Combo(int id) const
{
    const int slot = id - kGsTemplate;
    return slot >= 0 && slot < 6 ? m_combos[slot] : nullptr;
}

void CGraphSettingsDlg::CreateControls()
{
    // The combos are wide enough for the longest graph type name.
    ResizeDlu(306, 142);
    static const char* const kLabels[6] = {"Graph Template :", "Graph Type :", "Current Glaze Database :",
                                           "Current Glaze :", "Limit formula :", "Oxide units :"};
    for (int slot = 0; slot < 6; ++slot) {
        auto* label = new QLabel(QString::fromLatin1(kLabels[slot]), this);
        PlaceDlu(label, 8, 8 + slot * 18, 90, 10);
        auto* combo = new QComboBox(this);
        SetControlId(combo, kGsTemplate + slot);
        PlaceDlu(combo, 98, 6 + slot * 18, 200, 13);
        combo->setMaxVisibleItems(20);
        m_combos[slot] = combo;
    }
    m_monochrome = new QCheckBox(QStringLiteral("Force Monochrome"), this);
    SetControlId(m_monochrome, kGsMonochrome);
    PlaceDlu(m_monochrome, 98, 112, 100, 10);
    QPushButton* ok = AddButton(QStringLiteral("OK"), 1, 140, 124, 50, 14);
    QPushButton* cancel = AddButton(QStringLiteral("Cancel"), 2, 194, 124, 50, 14);
    AddHelpButton(278, 124, 20, 14);
    connect(ok, &QPushButton::clicked, this, &CGraphSettingsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CGraphSettingsDlg::OnInitDialog()
{
    CreateControls();
    FillTemplates();
    FillTypes();
    FillDatabases();
    FillGlazes(glazeDb, glaze);
    if (Combo(kGsGlaze)->currentIndex() <= 0)
        glaze = nullptr;
    FillLimitFormulas();
    QComboBox* unitsCombo = Combo(kGsUnits);
    for (const char* text : {"Unity", "Weight %", "Molecular %", kDefault})
        unitsCombo->addItem(QString::fromLatin1(text));
    unitsCombo->setCurrentIndex(units >= 0 && units < kDefaultUnitsRow ? units : kDefaultUnitsRow);
    m_monochrome->setChecked(monochrome != 0);
    connect(Combo(kGsTemplate), &QComboBox::activated, this, [this](int row) { OnTemplateChosen(row); });
    connect(Combo(kGsDatabase), &QComboBox::activated, this,
            [this](int row) { FillGlazes(PointerAt<CGlazesDoc>(Combo(kGsDatabase), row), nullptr); });
}

void CGraphSettingsDlg::FillTemplates()
{
    QComboBox* combo = Combo(kGsTemplate);
    if (g_pGraphTypesDoc) {
        const CGraphTemplateDatabase& database = g_pGraphTypesDoc->Database();
        for (int i = 0; i < database.GetCount(); ++i)
            combo->addItem(FromCp1252(database.GetAt(i).m_name), PointerData(&database.GetAt(i)));
    }
    // A template deleted while a view still names it is no longer offered.
    if (!SelectPointer(combo, graphTemplate))
        graphTemplate = nullptr;
}

void CGraphSettingsDlg::FillTypes()
{
    QComboBox* combo = Combo(kGsType);
    for (int type = 0; type < kGraphTypeCount; ++type)
        combo->addItem(QString::fromLatin1(g_graphTypeTable[type].longName), type);
    const int row = combo->findData(graphType);
    combo->setCurrentIndex(row >= 0 ? row : 0);
}

void CGraphSettingsDlg::FillDatabases()
{
    QComboBox* combo = Combo(kGsDatabase);
    combo->addItem(QString::fromLatin1(kNone), PointerData(nullptr));
    for (CGlazesDoc* database : GetOpenGlazeDatabases())
        combo->addItem(FromCp1252(database->GetDbName()), PointerData(database));
    if (!SelectPointer(combo, glazeDb)) {
        combo->setCurrentIndex(0);
        glazeDb = nullptr;
    }
}

void CGraphSettingsDlg::FillGlazes(CGlazesDoc* database, const CGlaze* select)
{
    QComboBox* combo = Combo(kGsGlaze);
    combo->clear();
    combo->addItem(QString::fromLatin1(kNone), PointerData(nullptr));
    if (database) {
        std::vector<CGlaze*> glazes;
        database->GetSelectedGlazes(glazes, true);
        for (CGlaze* each : glazes)
            combo->addItem(FromCp1252(each->m_name), PointerData(each));
    }
    if (!SelectPointer(combo, select))
        combo->setCurrentIndex(0);
}

void CGraphSettingsDlg::FillLimitFormulas()
{
    QComboBox* combo = Combo(kGsLimitFormula);
    combo->addItem(QString::fromLatin1(kDefault), PointerData(nullptr));
    if (g_pLimitFormulasDoc) {
        CLimitFormulaDB& database = g_pLimitFormulasDoc->Database();
        for (int i = 0; i < database.GetCount(); ++i)
            combo->addItem(FromCp1252(database.GetAt(i).m_name), PointerData(&database.GetAt(i)));
    }
    if (!SelectPointer(combo, limitFormula)) {
        combo->setCurrentIndex(0);
        limitFormula = nullptr;
    }
}

void CGraphSettingsDlg::OnTemplateChosen(int row)
{
    const auto* chosen = PointerAt<const CGraphTemplate>(Combo(kGsTemplate), row);
    if (!chosen)
        return;
    const int typeRow = Combo(kGsType)->findData(chosen->type);
    if (typeRow >= 0)
        Combo(kGsType)->setCurrentIndex(typeRow);
}

void CGraphSettingsDlg::accept()
{
    graphTemplate = PointerAt<const CGraphTemplate>(Combo(kGsTemplate), Combo(kGsTemplate)->currentIndex());
    glazeDb = PointerAt<CGlazesDoc>(Combo(kGsDatabase), Combo(kGsDatabase)->currentIndex());
    glaze = PointerAt<CGlaze>(Combo(kGsGlaze), Combo(kGsGlaze)->currentIndex());
    limitFormula = PointerAt<const CLimitFormula>(Combo(kGsLimitFormula), Combo(kGsLimitFormula)->currentIndex());
    const int unitsRow = Combo(kGsUnits)->currentIndex();
    units = unitsRow >= 0 && unitsRow < kDefaultUnitsRow ? unitsRow : -1;
    const int typeRow = Combo(kGsType)->currentIndex();
    graphType = typeRow >= 0 ? Combo(kGsType)->itemData(typeRow).toInt() : 0;
    monochrome = m_monochrome->isChecked() ? 1 : 0;
    CStyledDialog::accept();
}
