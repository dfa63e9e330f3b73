#include "tools/VarrowBlendDlg.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "materials/Material.h"
#include "materials/MaterialsDoc.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/NumberField.h"
#include "support/NumberFormat.h"
#include "support/NumberText.h"
#include "tools/RecipeBlendDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <algorithm>
#include <cfloat>

namespace {

// The working preferences keep no place for the two generate choices: they are kept here for
// the run, as the other choices of the dialog are.
bool s_generateCorners = false;
bool s_generateAll = false;

constexpr const char* kKaolinNames[] = {"Kaolin", "Clay"};
constexpr const char* kSilicaNames[] = {"Flint", "Silica", "Quartz"};

double ClampPercent(double value)
{
    return std::clamp(value, 0.0, 100.0);
}

CMaterialArray* Materials()
{
    return g_pMaterialsDoc ? &g_pMaterialsDoc->Materials() : nullptr;
}

// The remembered material when the database still has it, else the first of the usual names.
int FindDefaultMaterial(const std::string& remembered, std::initializer_list<const char*> names)
{
    CMaterialArray* materials = Materials();
    if (!materials)
        return -1;
    if (!remembered.empty()) {
        if (const CMaterial* material = materials->FindMaterial(remembered))
            return materials->IndexOf(material);
    }
    for (const char* name : names)
        if (const CMaterial* material = materials->FindMaterial(name))
            return materials->IndexOf(material);
    return -1;
}

std::string MaterialName(int index)
{
    CMaterialArray* materials = Materials();
    const CMaterial* material = materials ? materials->GetAt(index) : nullptr;
    return material ? material->m_name : std::string();
}

// A field checked by CheckNumberFields: its number, 0 when it is blank.
double ReadLoosely(const QLineEdit* edit)
{
    double value = 0.0;
    ReadNumberText(CToolDlg::FieldText(edit), value);
    return value;
}

} // namespace

std::string VarrowIncludeLine(double amount, const std::string& name, bool addition)
{
    std::string number = FormatNumberWidth(amount, 3, g_prefs.decrecipepct);
    BlankTrailingZeros(number, g_prefs.tzsrecipepct);
    const std::size_t first = number.find_first_not_of(' ');
    const std::size_t leading = first == std::string::npos ? number.size() : first;
    const std::size_t last = number.find_last_not_of(' ');
    const std::size_t trailing = last == std::string::npos ? 0 : number.size() - 1 - last;
    return std::string(addition ? "+ " : "") + std::string(leading, ' ') + number + std::string(trailing, ' ') +
           "%  " + name;
}

std::string VarrowShareText(double kaolin, double silica)
{
    std::string text = FormatFixed(ClampPercent(100.0 - ClampPercent(kaolin) - ClampPercent(silica)), 1);
    return StripTrailingZerosAll(text);
}

CVarrowBlendDlg::CVarrowBlendDlg(CGlazesDoc& doc, QWidget* parent)
    : CToolDlg(parent, kVarrowBlendHelpId, "ged_tab"), document(&doc)
{
    setWindowTitle(QStringLiteral("Varrow Recipe Blend"));
    BuildGlazeControls();
    BuildCornerControls();
    BuildOutputControls();
    AddOkCancelHelp(8, 238);
    ResizeDlu(400, 260);
    setFixedSize(size());
}

void CVarrowBlendDlg::BuildGlazeControls()
{
    AddLabel(QStringLiteral("Glaze C (starting recipe) :"), 0, 8, 6, 150);
    m_glazeC = AddCombo(IdGlazeC, 8, 17, 160);
    AddLabel(QStringLiteral("Include these lines :"), 0, 8, 34, 150);
    m_includeList = new QListWidget(this);
    SetControlId(m_includeList, IdIncludeList);
    PlaceDlu(m_includeList, 8, 45, 160, 110);
    m_includeList->setSelectionMode(QAbstractItemView::MultiSelection);
    auto* delegate = new CTabStopDelegate(m_includeList);
    delegate->SetTabStops(TabStopsFromDlu(m_includeList->font(), {95, 105, 115, 125}));
    m_includeList->setItemDelegate(delegate);
}

void CVarrowBlendDlg::BuildCornerControls()
{
    const int x = 180;
    AddLabel(QStringLiteral("Kaolin material :"), 0, x, 6, 70);
    m_kaolinMaterial = AddCombo(IdKaolinMaterial, x + 72, 4, 120);
    AddLabel(QStringLiteral("Silica material :"), 0, x, 22, 70);
    m_silicaMaterial = AddCombo(IdSilicaMaterial, x + 72, 20, 120);

    AddLabel(QStringLiteral("Glaze A ="), 0, x, 42, 36);
    AddLabel(QString(), IdShareA, x + 36, 42, 20);
    AddLabel(QStringLiteral("% C +"), 0, x + 56, 42, 24);
    m_kaolinA = AddEdit(IdKaolinA, x + 80, 40, 26);
    AddLabel(QStringLiteral("%"), 0, x + 108, 42, 8);
    AddLabel(QString(), IdKaolinName, x + 118, 42, 76);

    AddLabel(QStringLiteral("Glaze D ="), 0, x, 58, 36);
    AddLabel(QString(), IdShareD, x + 36, 58, 20);
    AddLabel(QStringLiteral("% C +"), 0, x + 56, 58, 24);
    m_silicaD = AddEdit(IdSilicaD, x + 80, 56, 26);
    AddLabel(QStringLiteral("%"), 0, x + 108, 58, 8);
    AddLabel(QString(), IdSilicaName, x + 118, 58, 76);

    AddLabel(QStringLiteral("Glaze B ="), 0, x, 74, 36);
    AddLabel(QString(), IdShareB, x + 36, 74, 20);
    AddLabel(QStringLiteral("% C +"), 0, x + 56, 74, 24);
    m_kaolinB = AddEdit(IdKaolinB, x + 80, 72, 26);
    AddLabel(QStringLiteral("% kaolin +"), 0, x + 108, 74, 40);
    m_silicaB = AddEdit(IdSilicaB, x + 150, 72, 26);
    AddLabel(QStringLiteral("% silica"), 0, x + 178, 74, 30);
}

void CVarrowBlendDlg::BuildOutputControls()
{
    const int x = 180;
    m_generateCorners = AddCheck(QStringLiteral("Generate the corner glaze recipes"), IdGenerateCorners, x, 94, 190);
    m_cornerControls.push_back(AddLabel(QStringLiteral("Batch size of each corner :"), 0, x + 10, 108, 100));
    m_cornerControls.push_back(m_cornerBatch = AddEdit(IdCornerBatch, x + 112, 106, 40));
    m_cornerControls.push_back(AddLabel(QStringLiteral("g"), 0, x + 156, 108, 20));

    m_generateAll = AddCheck(QStringLiteral("Generate all glazes in the blend"), IdGenerateAll, x, 126, 190);
    m_blendControls.push_back(AddLabel(QStringLiteral("Size of each glaze :"), 0, x + 10, 140, 100));
    m_blendControls.push_back(m_blendBatch = AddEdit(IdBlendBatch, x + 112, 138, 40));
    m_blendControls.push_back(AddLabel(QString(), IdUnit, x + 156, 140, 20));
    m_blendControls.push_back(AddLabel(QStringLiteral("Points between C and D :"), 0, x + 10, 156, 100));
    m_blendControls.push_back(m_pointsCD = AddEdit(IdPointsCD, x + 112, 154, 26));
    m_blendControls.push_back(AddLabel(QStringLiteral("Points between C and A :"), 0, x + 10, 172, 100));
    m_blendControls.push_back(m_pointsCA = AddEdit(IdPointsCA, x + 112, 170, 26));
    m_naming = new QButtonGroup(this);
    m_blendControls.push_back(AddRadio(m_naming, QStringLiteral("Name by number"), IdNameByNumber,
                                       kVarrowNameByNumber, x + 10, 190, 90));
    m_blendControls.push_back(AddRadio(m_naming, QStringLiteral("Name by corner percentages"), IdNameByPercent,
                                       kVarrowNameByPercentages, x + 10, 202, 120));
    m_units = new QButtonGroup(this);
    m_blendControls.push_back(AddRadio(m_units, QStringLiteral("Material weights"), IdWeights,
                                       kVarrowMaterialWeights, x + 10, 218, 90));
    m_blendControls.push_back(AddRadio(m_units, QStringLiteral("Liquid volumes"), IdVolumes, kVarrowLiquidVolumes,
                                       x + 104, 218, 90));
}

void CVarrowBlendDlg::OnInitDialog()
{
    LoadFromPreferences();
    m_glazeC->clear();
    FillBlendGlazeList(*m_glazeC, *document);
    if (request.startGlaze < 0 || request.startGlaze >= m_glazeC->count())
        request.startGlaze = -1;
    m_glazeC->setCurrentIndex(request.startGlaze);
    FillMaterialLists();
    LoadControls();
    FillIncludeList();
    ConnectControls();
}

void CVarrowBlendDlg::LoadFromPreferences()
{
    request.kaolinA = g_prefs.m_dVarrowKaolinA;
    request.silicaD = g_prefs.m_dVarrowSilicaD;
    request.kaolinB = g_prefs.m_dVarrowKaolinB;
    request.silicaB = g_prefs.m_dVarrowSilicaB;
    request.cornerBatch = g_prefs.m_dVarrowCornerBatch;
    request.blendBatch = g_prefs.m_dVarrowBlendBatch;
    request.pointsCD = g_prefs.m_nVarrowPointsCD;
    request.pointsCA = g_prefs.m_nVarrowPointsCA;
    request.naming = g_prefs.m_nVarrowNaming;
    request.amounts = g_prefs.m_nVarrowUnits;
    request.generateCorners = s_generateCorners;
    request.generateAll = s_generateAll;
    request.kaolinMaterial = FindDefaultMaterial(g_prefs.m_strVarrowKaolin, {kKaolinNames[0], kKaolinNames[1]});
    request.silicaMaterial =
        FindDefaultMaterial(g_prefs.m_strVarrowSilica, {kSilicaNames[0], kSilicaNames[1], kSilicaNames[2]});
}

void CVarrowBlendDlg::SaveToPreferences() const
{
    g_prefs.m_strVarrowKaolin = MaterialName(request.kaolinMaterial);
    g_prefs.m_strVarrowSilica = MaterialName(request.silicaMaterial);
    g_prefs.m_dVarrowKaolinA = request.kaolinA;
    g_prefs.m_dVarrowSilicaD = request.silicaD;
    g_prefs.m_dVarrowKaolinB = request.kaolinB;
    g_prefs.m_dVarrowSilicaB = request.silicaB;
    g_prefs.m_dVarrowCornerBatch = request.cornerBatch;
    g_prefs.m_dVarrowBlendBatch = request.blendBatch;
    g_prefs.m_nVarrowPointsCD = request.pointsCD;
    g_prefs.m_nVarrowPointsCA = request.pointsCA;
    g_prefs.m_nVarrowNaming = request.naming;
    g_prefs.m_nVarrowUnits = request.amounts;
    s_generateCorners = request.generateCorners;
    s_generateAll = request.generateAll;
}

void CVarrowBlendDlg::FillMaterialLists()
{
    for (QComboBox* list : {m_kaolinMaterial, m_silicaMaterial}) {
        list->clear();
        if (CMaterialArray* materials = Materials())
            for (int n = 0; n < materials->GetCount(); ++n)
                list->addItem(FromCp1252(materials->GetAt(n)->m_name));
    }
    m_kaolinMaterial->setCurrentIndex(request.kaolinMaterial);
    m_silicaMaterial->setCurrentIndex(request.silicaMaterial);
}

void CVarrowBlendDlg::LoadControls()
{
    m_kaolinA->setText(NumberText(request.kaolinA));
    m_silicaD->setText(NumberText(request.silicaD));
    m_kaolinB->setText(NumberText(request.kaolinB));
    m_silicaB->setText(NumberText(request.silicaB));
    m_cornerBatch->setText(NumberText(request.cornerBatch));
    m_blendBatch->setText(NumberText(request.blendBatch));
    m_pointsCD->setText(QString::number(request.pointsCD));
    m_pointsCA->setText(QString::number(request.pointsCA));
    m_generateCorners->setChecked(request.generateCorners);
    m_generateAll->setChecked(request.generateAll);
    CheckRadioValue(m_naming, request.naming);
    CheckRadioValue(m_units, request.amounts);
    ShowShares();
    ShowMaterialNames();
    EnableGroups();
    ShowUnit();
}

void CVarrowBlendDlg::ConnectControls()
{
    connect(m_glazeC, &QComboBox::currentIndexChanged, this, [this](int index) {
        request.startGlaze = index;
        FillIncludeList();
    });
    for (QLineEdit* edit : {m_kaolinA, m_silicaD, m_kaolinB, m_silicaB})
        connect(edit, &QLineEdit::textEdited, this, &CVarrowBlendDlg::ShowShares);
    for (QComboBox* list : {m_kaolinMaterial, m_silicaMaterial})
        connect(list, &QComboBox::currentIndexChanged, this, &CVarrowBlendDlg::ShowMaterialNames);
    for (QCheckBox* check : {m_generateCorners, m_generateAll})
        connect(check, &QCheckBox::toggled, this, &CVarrowBlendDlg::EnableGroups);
    connect(m_units, &QButtonGroup::idClicked, this, &CVarrowBlendDlg::ShowUnit);
}

void CVarrowBlendDlg::FillIncludeList()
{
    m_includeList->clear();
    const CGlaze* start = request.startGlaze >= 0 ? document->GetGlaze(request.startGlaze) : nullptr;
    if (!start)
        return;
    CGlaze scaled(*start);
    if (PrepareVarrowStartGlaze(*start, scaled) != 0) {
        AppMessageBox("Cannot convert \"" + start->m_name + "\" to recipe by weight!", MsgOk | MsgIconError,
                      kVarrowConvertHelpId);
        return;
    }
    const auto addLines = [this](const CIngredientList& lines, bool addition) {
        for (int n = 0; n < lines.GetCount(); ++n) {
            const CIngredient& line = lines.GetAt(n);
            auto* item = new QListWidgetItem(FromCp1252(VarrowIncludeLine(line.m_amount, line.m_name, addition)));
            item->setData(Qt::UserRole, addition ? kVarrowAdditionTag + n : n);
            m_includeList->addItem(item);
            item->setSelected(true);
        }
    };
    addLines(scaled.m_components, false);
    addLines(scaled.m_additions, true);
}

void CVarrowBlendDlg::CollectIncludedLines()
{
    request.components.clear();
    request.additions.clear();
    const CGlaze* start = request.startGlaze >= 0 ? document->GetGlaze(request.startGlaze) : nullptr;
    if (!start)
        return;
    CGlaze scaled(*start);
    if (PrepareVarrowStartGlaze(*start, scaled) != 0)
        return;
    for (int row = 0; row < m_includeList->count(); ++row) {
        const QListWidgetItem* item = m_includeList->item(row);
        if (!item->isSelected())
            continue;
        const int tag = item->data(Qt::UserRole).toInt();
        const int addition = tag - kVarrowAdditionTag;
        if (addition >= 0 && addition < scaled.m_additions.GetCount())
            request.additions.InsertAt(request.additions.GetCount(), scaled.m_additions.GetAt(addition));
        else if (addition < 0 && tag < scaled.m_components.GetCount())
            request.components.InsertAt(request.components.GetCount(), scaled.m_components.GetAt(tag));
    }
}

void CVarrowBlendDlg::ShowShares()
{
    FindControl<QLabel>(IdShareA)->setText(FromCp1252(VarrowShareText(ReadLoosely(m_kaolinA), 0.0)));
    FindControl<QLabel>(IdShareD)->setText(FromCp1252(VarrowShareText(0.0, ReadLoosely(m_silicaD))));
    FindControl<QLabel>(IdShareB)->setText(
        FromCp1252(VarrowShareText(ReadLoosely(m_kaolinB), ReadLoosely(m_silicaB))));
}

void CVarrowBlendDlg::ShowMaterialNames()
{
    FindControl<QLabel>(IdKaolinName)->setText(FromCp1252(MaterialName(m_kaolinMaterial->currentIndex())));
    FindControl<QLabel>(IdSilicaName)->setText(FromCp1252(MaterialName(m_silicaMaterial->currentIndex())));
}

void CVarrowBlendDlg::EnableGroups()
{
    for (QWidget* control : m_cornerControls)
        control->setEnabled(m_generateCorners->isChecked());
    for (QWidget* control : m_blendControls)
        control->setEnabled(m_generateAll->isChecked());
}

void CVarrowBlendDlg::ShowUnit()
{
    FindControl<QLabel>(IdUnit)->setText(m_units->checkedId() == kVarrowLiquidVolumes ? QStringLiteral("ml")
                                                                                     : QStringLiteral("g"));
}

bool CVarrowBlendDlg::ReadPointCounts()
{
    // The counts matter only when the whole blend is made; then each must be 0 to 99.
    if (!m_generateAll->isChecked())
        return true;
    int pointsCD = 0;
    int pointsCA = 0;
    if (!ReadWholeNumber(m_pointsCD, 0, kMaxVarrowPoints, pointsCD) ||
        !ReadWholeNumber(m_pointsCA, 0, kMaxVarrowPoints, pointsCA))
        return false;
    request.pointsCD = pointsCD;
    request.pointsCA = pointsCA;
    return true;
}

void CVarrowBlendDlg::ReadFields()
{
    request.kaolinA = ClampPercent(ReadLoosely(m_kaolinA));
    request.silicaD = ClampPercent(ReadLoosely(m_silicaD));
    request.kaolinB = ClampPercent(ReadLoosely(m_kaolinB));
    request.silicaB = ClampPercent(ReadLoosely(m_silicaB));
    // B cannot hold more than 100 % of kaolin and silica: both shrink in proportion.
    const double sumB = request.kaolinB + request.silicaB;
    if (sumB > 100.0) {
        request.kaolinB *= 100.0 / sumB;
        request.silicaB = 100.0 - request.kaolinB;
    }
    const double corner = ReadLoosely(m_cornerBatch);
    const double blend = ReadLoosely(m_blendBatch);
    request.cornerBatch = corner > 0.0 ? corner : kDefaultVarrowCornerBatch;
    request.blendBatch = blend > 0.0 ? blend : kDefaultVarrowBlendBatch;
    request.kaolinMaterial = m_kaolinMaterial->currentIndex();
    request.silicaMaterial = m_silicaMaterial->currentIndex();
    request.generateCorners = m_generateCorners->isChecked();
    request.generateAll = m_generateAll->isChecked();
    request.naming = std::max(0, m_naming->checkedId());
    request.amounts = std::max(0, m_units->checkedId());
    request.startGlaze = m_glazeC->currentIndex();
}

bool CVarrowBlendDlg::CheckChoices()
{
    const char* problem = request.components.GetCount() == 0 ? "No components in Glaze C"
                          : request.kaolinMaterial < 0       ? "No Kaolin material selected"
                          : request.silicaMaterial < 0       ? "No Silica material selected"
                                                             : nullptr;
    if (problem)
        AppMessageBox(problem, MsgOk | MsgIconError, kVarrowCheckHelpId);
    return problem == nullptr;
}

bool CVarrowBlendDlg::CheckNumberFields()
{
    // A blank field takes its default; text that is no number ("2,5") is refused, not read as
    // the number it begins with.
    for (QLineEdit* edit : {m_kaolinA, m_silicaD, m_kaolinB, m_silicaB, m_cornerBatch, m_blendBatch}) {
        if (!CheckOptionalNumberField(edit, DBL_MAX))
            return false;
    }
    return true;
}

void CVarrowBlendDlg::accept()
{
    InitDialog();
    if (!ReadPointCounts() || !CheckNumberFields())
        return;
    ReadFields();
    CollectIncludedLines();
    LoadControls();
    if (!CheckChoices())
        return;
    SaveToPreferences();
    CToolDlg::accept();
}
