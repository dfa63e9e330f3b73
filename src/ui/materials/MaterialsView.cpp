#include "materials/MaterialsView.h"

#include "framework/Cp1252.h"
#include "framework/UpdateHint.h"
#include "materials/FindSimilarMaterialsDlg.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "materials/SortMaterialsDlg.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"
#include "support/Services.h"

#include <QFontMetrics>

#include <algorithm>

const CRecordListKind kMaterialsList = {
    .commands = {CmdMatListEdit, CmdMatListEditLimited, CmdMatListCut, CmdMatListCopy, CmdMatListPaste,
                 CmdMatListDelete, CmdMatListSelectAll, CmdMatListInvertSelection, CmdMatListInsertNew,
                 CmdMatListAppendNew, CmdMatListShiftUp, CmdMatListShiftDown, CmdMatListSelectedToTop,
                 CmdMatListAlphabetize, CmdMatListDatabaseNotes, CmdMatListMergeDatabase, CmdMatListSaveSelected,
                 CmdMatListHelp, CmdMatListContextHelp},
    .words = {"material", "materials", "Material"},
    .helpId = kMaterialsViewHelpId,
    .initialWidth = CMaterialsView::kInitialWidth,
    .initialHeight = CMaterialsView::kInitialHeight,
    .notesCaption = "Material Database Notes and Information",
    .notesHelpId = 322,
    .notesColor = "med_bkg",
    .mergeTitle = "Merge Material Database...",
    .mergeHelpId = 323,
    .mergeEmptyHelpId = 0x30220,
    .mergeListColor = "mat_list",
    .saveSelectedTitle = "Save Selected Materials To...",
    .alphabetizeWhenEmpty = true,
};

namespace {

// Pixels before the first column and between columns.
constexpr int kFirstStop = 4;
constexpr int kColumnGap = 16;

} // namespace

CMaterialsView::CMaterialsView() : CRecordListView(kMaterialsList) {}

CMaterialsView::~CMaterialsView() = default;

CMaterialsDoc* CMaterialsView::MaterialsDoc() const
{
    return dynamic_cast<CMaterialsDoc*>(GetDocument());
}

CMaterialArray* CMaterialsView::Database() const
{
    CMaterialsDoc* doc = MaterialsDoc();
    return doc ? &doc->Materials() : nullptr;
}

// --- rows -----------------------------------------------------------------------------------------

void CMaterialsView::MeasureTabStops()
{
    if (RecordCount() == 0)
        return;
    if (m_nViewMode == kMaterialPercentMode) {
        const std::vector<int> entries = MaterialPercentEntries();
        if (!entries.empty()) {
            SetPercentTabStops(entries);
            return;
        }
        // Nothing to show as percentages: the normal view takes over for good.
        m_nViewMode = 0;
    }
    std::vector<int> columns;
    MaterialColumnPresence present{};
    ParseMaterialColumns(MaterialColumnString(m_nViewMode), columns, present);
    SetColumnTabStops(columns, present);
}

void CMaterialsView::PrepareRows()
{
    if (RecordCount() == 0)
        return;
    // Nothing to show as percentages: the normal view takes over, with its stops.
    if (m_nViewMode == kMaterialPercentMode && MaterialPercentEntries().empty())
        MeasureTabStops();
    m_rowLayout = MaterialListLayout(m_nViewMode);
}

std::string CMaterialsView::RowText(int n) const
{
    const CMaterialArray* database = Database();
    if (!database || !database->IsValidIndex(n))
        return std::string();
    return MaterialLayoutRow(*database, *database->Records()[static_cast<std::size_t>(n)], m_rowLayout);
}

void CMaterialsView::SetColumnTabStops(std::span<const int> columns, const MaterialColumnPresence& present)
{
    const CMaterialArray* database = Database();
    if (!database)
        return;
    const auto width = [this](const std::string& text) { return TextWidth(text); };
    std::array<int, kMaterialColumnCount> widths{};
    // Cost, density and formula weight are right-aligned numbers of known width: a sample does.
    static constexpr int kMeasuredColumns[] = {
        MaterialColumnCode, MaterialColumnName, MaterialColumnFormula, MaterialColumnType, MaterialColumnAvailable,
        MaterialColumnMapping, MaterialColumnAnalysisNotes, MaterialColumnHazardNotes, MaterialColumnNotes};
    std::vector<std::string> cells;
    for (int column : kMeasuredColumns) {
        if (!present[static_cast<std::size_t>(column)])
            continue;
        cells.clear();
        for (const auto& material : database->Records())
            cells.push_back(MaterialListCell(*database, *material, column));
        widths[static_cast<std::size_t>(column)] = WidestText(cells);
    }
    const int digits = database->m_costPlacesLeft + database->m_costPlacesRight + 1;
    const char* costUnit = database->m_costUnit == CMaterialArray::kCostPerKilogram ? "kg" : "lb";
    const char* densityUnit = database->m_densityUnit == CMaterialArray::kDensityPerDeciliter ? "dl" : "c";
    widths[MaterialColumnCost] =
        width(database->m_currencySymbol + std::string(static_cast<std::size_t>(std::max(digits, 0)), '9') + " / " + costUnit);
    widths[MaterialColumnDensity] = width(FormatNumberWidth(999.9, 3, 1) + " g / " + densityUnit);
    widths[MaterialColumnWeight] = width("MW=" + FormatNumberWidth(9999.9, 4, 1));

    std::vector<int> positions{kFirstStop};
    for (int column : columns)
        positions.push_back(positions.back() + widths[static_cast<std::size_t>(column)] + kColumnGap);
    std::vector<int> stops;
    for (std::size_t i = 0; i < columns.size(); ++i)
        stops.push_back(PixelsToDialogUnits(positions[i]));
    SetTabStops(stops);
    SetHorizontalExtent(positions.back());
}

void CMaterialsView::SetPercentTabStops(std::span<const int> entries)
{
    const CMaterialArray* database = Database();
    if (!database)
        return;
    std::vector<std::string> names;
    names.reserve(database->Records().size());
    for (const auto& material : database->Records())
        names.push_back(material->m_name);
    std::vector<int> positions{kFirstStop, WidestText(names) + 8};
    positions.push_back(positions.back() + TextWidth("%") + 4);
    const std::string sample = FormatNumberWidth(100.0, 3, g_prefs.decanalysispct);
    for (int entry : entries)
        positions.push_back(positions.back() + TextWidth(sample + " " + MaterialPercentLabel(entry)) + 4);
    std::vector<int> stops;
    for (std::size_t i = 0; i + 1 < positions.size(); ++i)
        stops.push_back(PixelsToDialogUnits(positions[i]));
    SetTabStops(stops);
    SetHorizontalExtent(positions.back());
}

// --- notices --------------------------------------------------------------------------------------

void CMaterialsView::OnOtherNotice(const CUpdateHint& hint)
{
    switch (hint.m_nCode) {
    case HintElementChanged:
    case HintElementsReplaced:
        // The document has read its formulas again (CMaterialsDoc::OnBroadcastNotice).
        FillList(GetTopIndex(), -1, true);
        break;
    case HintPreferencesChanged:
        RefillKeepingSelection();
        break;
    default:
        break;
    }
}

// --- commands -------------------------------------------------------------------------------------

bool CMaterialsView::UpdateKindCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdMatListFind:
    case CmdMatListResort:
    case CmdMatListSetField:
        ui.Enable(RecordCount() > 0);
        return true;
    default:
        break;
    }
    const bool selected = HasSelection();
    switch (ui.m_nID) {
    case CmdMatListExportTmt:
    case CmdMatListPrintSelected:
    case CmdMatListPreviewSelected:
    case CmdMatListWriteSelected:
    case CmdMatListToGlazes:
    case CmdMatListConvertFormulas:
    case CmdMatListNormalizeFormulas:
    case CmdMatListAddLoi:
        ui.Enable(selected);
        return true;
    case CmdMatListCheckDatabase:
        ui.Enable(RecordCount() >= 2);
        return true;
    case CmdMatListNormalView:
    case CmdMatListExtendedView1:
    case CmdMatListExtendedView2:
    case CmdMatListExtendedView3:
    case CmdMatListPercentView: {
        static constexpr unsigned kModeCommands[kMaterialListModeCount] = {
            CmdMatListNormalView, CmdMatListExtendedView1, CmdMatListExtendedView2, CmdMatListExtendedView3,
            CmdMatListPercentView};
        ui.SetCheck(kModeCommands[std::clamp(m_nViewMode, 0, kMaterialListModeCount - 1)] == ui.m_nID ? 1 : 0);
        return true;
    }
    case CmdMatListFindSimilar:
    case CmdMatListImportTmt:
    case CmdMatListPrintList:
    case CmdMatListPreviewList:
    case CmdMatListWriteList:
    case CmdMatListFramePreview:
    case CmdMatListUnits:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}


bool CMaterialsView::RunKindCommand(unsigned id)
{
    switch (id) {
    case CmdMatListFind: OnFind(); return true;
    case CmdMatListResort: OnResort(); return true;
    default: return RunDatabaseCommand(id);
    }
}

bool CMaterialsView::RunDatabaseCommand(unsigned id)
{
    switch (id) {
    case CmdMatListNormalView: SetViewMode(0); return true;
    case CmdMatListExtendedView1: SetViewMode(1); return true;
    case CmdMatListExtendedView2: SetViewMode(2); return true;
    case CmdMatListExtendedView3: SetViewMode(3); return true;
    case CmdMatListPercentView: SetViewMode(4); return true;
    case CmdMatListCheckDatabase: OnCheckDatabase(); return true;
    case CmdMatListSetField: OnSetField(); return true;
    case CmdMatListUnits: OnUnits(); return true;
    case CmdMatListToGlazes: OnMaterialsToGlazes(); return true;
    case CmdMatListConvertFormulas: OnConvertFormulas(); return true;
    case CmdMatListNormalizeFormulas:
        ConvertSelected([](CMaterial& material) { material.NormalizePercentages(0); });
        return true;
    case CmdMatListAddLoi:
        ConvertSelected([](CMaterial& material) { material.NormalizePercentages(1); });
        return true;
    case CmdMatListImportTmt: OnImportTmt(); return true;
    case CmdMatListExportTmt: OnExportTmt(); return true;
    case CmdMatListFindSimilar:
        if (CMaterialsDoc* document = MaterialsDoc())
            RunFindSimilarMaterialsCommand(*document, *this, this);
        return true;
    case CmdMatListPrintSelected:
    case CmdMatListPreviewSelected:
    case CmdMatListWriteSelected:
    case CmdMatListPrintList:
    case CmdMatListPreviewList:
    case CmdMatListWriteList:
    case CmdMatListFramePreview: PrintMaterials(id); return true;
    default: return false;
    }
}

void CMaterialsView::OnResort()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CSortMaterialsDlg dialog(this);
    dialog.backgroundColor = GetNamedColor("med_bkg");
    dialog.sortChoice = g_prefs.m_nMatSortChoice;
    dialog.oxideElement = g_prefs.m_nMatSortOxide;
    if (dialog.exec() != QDialog::Accepted)
        return;
    g_prefs.m_nMatSortChoice = dialog.sortChoice;
    g_prefs.m_nMatSortOxide = dialog.oxideElement;
    {
        CBusyScope busy;
        doc->SortMaterials(dialog.sortChoice, dialog.oxideElement);
    }
    FillList(0, -1, false);
    Broadcast(HintMaterialsReordered, 0);
}
