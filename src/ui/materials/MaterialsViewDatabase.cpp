// The commands of the materials list that work on the database as a whole: Find, Merge Material
// Database, Save Selected As, Database Notes, Check Database, Set Field and Units.

#include "materials/MaterialsView.h"

#include "framework/FileDialogService.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "materials/FindMaterialsDlg.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialUnitsDlg.h"
#include "materials/MaterialsDoc.h"
#include "materials/SetMaterialFieldDlg.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/CompareNoCase.h"
#include "support/DbNotesDlg.h"
#include "support/DialogStyle.h"
#include "support/MergeDlg.h"
#include "support/SafeFile.h"
#include "support/Services.h"

#include <QListWidget>

#include <algorithm>
#include <fstream>
#include <optional>

namespace {

constexpr unsigned kFindResultHelpId = 0x30230;
constexpr unsigned kMergeOpenHelpId = 0x30221;
constexpr unsigned kMergeReadHelpId = 0x30120;
constexpr unsigned kMergeEmptyHelpId = 0x30220;
constexpr unsigned kSubsetOpenHelpId = 0x30126;
constexpr unsigned kSubsetWriteHelpId = 0x30125;
constexpr unsigned kOpenDialogHelpId = 300;
constexpr unsigned kSaveDialogHelpId = 303;
constexpr unsigned kMergeDialogHelpId = 323;
constexpr unsigned kNotesDialogHelpId = 322;
constexpr const char* kMaterialFileFilter = "Database Files (*.mat)|*.mat|All Files (*.*)|*.*||";
constexpr int kMapToField = 11;
// Rows above the first new one that stay in view after an append.
constexpr int kRowsAboveAppended = 10;

// The index of the material named name (ignoring case), or -1.
int FindByName(const CMaterialArray& database, const std::string& name)
{
    for (int i = 0; i < database.GetCount(); ++i) {
        if (EqualsNoCase(database.GetAt(i)->m_name, name))
            return i;
    }
    return -1;
}

} // namespace

void CMaterialsView::OnFind()
{
    CMaterialArray* database = Database();
    if (!database)
        return;
    CFindMaterialsDlg dialog(this);
    dialog.backgroundColor = GetNamedColor("med_bkg");
    dialog.text = m_strFindText;
    dialog.findNames = m_bFindNames;
    dialog.findCodes = m_bFindCodes;
    dialog.findFormulas = m_bFindFormulas;
    dialog.findNotes = m_bFindNotes;
    dialog.wholeOnly = m_bFindWholeOnly;
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_strFindText = dialog.text;
    m_bFindNames = dialog.findNames;
    m_bFindCodes = dialog.findCodes;
    m_bFindFormulas = dialog.findFormulas;
    m_bFindNotes = dialog.findNotes;
    m_bFindWholeOnly = dialog.wholeOnly;
    if (m_strFindText.empty())
        return;

    SetSel(-1, false);
    int found = 0;
    int first = -1;
    {
        CBusyScope busy;
        for (int i = 0; i < database->GetCount(); ++i) {
            std::string text = m_strFindText;
            if (!database->GetAt(i)->Matches(&text, m_bFindNames != 0, m_bFindCodes != 0, m_bFindFormulas != 0,
                                             m_bFindNotes != 0, m_bFindWholeOnly != 0, false))
                continue;
            SetSel(i, true);
            if (found++ == 0)
                first = i;
        }
    }
    if (found > 0) {
        SetCaretIndex(first, true);
        AppMessageBox(std::to_string(found) + " matches found", MsgOk | MsgIconInformation, kFindResultHelpId);
    } else {
        SetCaretIndex(0, true);
        AppMessageBox("No matches found", MsgOk | MsgIconInformation, kFindResultHelpId);
    }
}

void CMaterialsView::OnMergeDatabase()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Merge Material Database...";
    request.filter = kMaterialFileFilter;
    request.flags = FileDlgFileMustExist | FileDlgHideReadOnly;
    request.helpId = kOpenDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    const std::string& path = answer.paths.front();
    CMaterialArray incoming;
    if (!ReadMergeSource(path, incoming))
        return;

    CMergeDlg dialog(this, kMergeDialogHelpId);
    dialog.sourceName = path;
    dialog.kindWord = "materials";
    for (const auto& material : incoming.Records()) {
        dialog.names.push_back(material->m_name);
        dialog.flags.push_back(FindByName(doc->Materials(), material->m_name) >= 0 ? 1 : 0);
    }
    if (QListWidget* list = dialog.List()) {
        QPalette colors = list->palette();
        colors.setColor(QPalette::Base, ToQColor(GetNamedColor("mat_list")));
        list->setPalette(colors);
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<int> chosen;
    for (int i = 0; i < incoming.GetCount(); ++i) {
        if (i < static_cast<int>(dialog.flags.size()) && dialog.flags[static_cast<std::size_t>(i)])
            chosen.push_back(i);
    }
    if (MergeRecords(incoming, chosen, dialog.method) > 0 && dialog.sortAfterMerge)
        OnResort();
}

bool CMaterialsView::ReadMergeSource(const std::string& path, CMaterialArray& incoming)
{
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        AppMessageBox("Unable to merge file " + path, MsgOk | MsgIconError, kMergeOpenHelpId);
        return false;
    }
    int result = 0;
    {
        CBusyScope busy;
        result = incoming.Read(in);
    }
    if (result != 0) {
        AppMessageBox(path + ": " + incoming.m_errorText, MsgOk | MsgIconError, kMergeReadHelpId);
        return false;
    }
    if (incoming.GetCount() == 0) {
        AppMessageBox(path + " contains no materials!", MsgOk | MsgIconExclamation, kMergeEmptyHelpId);
        return false;
    }
    return true;
}

// Appends (method 0) or appends and replaces same-named materials (method 1); refills and
// announces. Returns the number of materials appended or replaced.
int CMaterialsView::MergeRecords(CMaterialArray& incoming, const std::vector<int>& chosen, int method)
{
    CMaterialsDoc* doc = MaterialsDoc();
    const int oldCount = doc->Materials().GetCount();
    int appended = 0;
    int replaced = 0;
    for (int i : chosen) {
        const CMaterial& material = *incoming.GetAt(i);
        // Names are looked up in the database as it stood before the merge.
        const int existing = method == 1 ? FindByName(doc->Materials(), material.m_name) : -1;
        if (existing >= 0 && existing < oldCount) {
            doc->ReplaceMaterial(existing, material);
            ++replaced;
        } else {
            doc->InsertMaterial(doc->Materials().GetCount(), material);
            ++appended;
        }
    }
    if (appended + replaced == 0)
        return 0;
    if (appended == 0)
        FillList(0, 0, true);
    else
        FillList(std::max(oldCount - kRowsAboveAppended, 0), oldCount, true);
    if (replaced > 0)
        Broadcast(HintMaterialsReplaced, 0, doc);
    else
        Broadcast(HintMaterialsInserted, oldCount);
    return appended + replaced;
}

void CMaterialsView::OnSaveSelected()
{
    const CMaterialArray* database = Database();
    const std::vector<int> rows = GetSelItems();
    if (!database || rows.empty())
        return;
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = "Save Selected Materials To...";
    request.defaultExtension = "mat";
    request.filter = kMaterialFileFilter;
    request.flags = FileDlgOverwritePrompt | FileDlgHideReadOnly | FileDlgPathMustExist;
    request.helpId = kSaveDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    const std::string& path = answer.paths.front();

    CMaterialArray subset;
    for (int row : rows) {
        if (const CMaterial* material = database->GetAt(row))
            subset.InsertCopy(subset.GetCount(), *material);
    }
    subset.m_infoLines = database->m_infoLines;
    subset.m_dbName = database->m_dbName + " (subset)";
    // The costs and densities are copied as they are, so the units they are counted in go along.
    subset.m_currencySymbol = database->m_currencySymbol;
    subset.m_costUnit = database->m_costUnit;
    subset.m_costPlacesLeft = database->m_costPlacesLeft;
    subset.m_costPlacesRight = database->m_costPlacesRight;
    subset.m_densityUnit = database->m_densityUnit;
    const SafeSaveResult result =
        WriteFileSafely(path, [&subset](std::ostream& out) { return subset.Write(out) == 0; });
    if (result == SafeSaveResult::OpenFailed)
        AppMessageBox(path + ": Error opening file", MsgOk | MsgIconError, kSubsetOpenHelpId);
    else if (result == SafeSaveResult::WriteFailed)
        AppMessageBox(path + ": Error writing file", MsgOk | MsgIconExclamation, kSubsetWriteHelpId);
}

void CMaterialsView::OnDatabaseNotes()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CDbNotesDlg dialog(CMDIMainFrame::Instance(), "Material Database Notes and Information", kNotesDialogHelpId);
    dialog.backgroundColor = GetNamedColor("med_bkg");
    const std::string oldName = doc->GetDatabaseName();
    dialog.databaseName = oldName;
    dialog.fileName = doc->GetPathName();
    dialog.notes = doc->Materials().m_infoLines;
    if (dialog.exec() == QDialog::Rejected)
        return;
    const bool renamed = dialog.databaseName != oldName;
    doc->SetDatabaseName(dialog.databaseName);
    doc->Materials().m_infoLines = dialog.notes;
    doc->SetModifiedFlag();
    SetCaption();
    if (renamed)
        Broadcast(HintDatabaseNotesChanged, 0);
}

void CMaterialsView::OnCheckDatabase()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    const std::optional<std::vector<int>> flags = doc->CheckDatabase();
    if (!flags)
        return;
    SetSel(-1, false);
    for (int i = 0; i < static_cast<int>(flags->size()); ++i) {
        if ((*flags)[static_cast<std::size_t>(i)])
            SetSel(i, true);
    }
}

void CMaterialsView::OnSetField()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CSetMaterialFieldDlg dialog(this);
    dialog.backgroundColor = GetNamedColor("ged_tab");
    dialog.scope = g_prefs.m_nMatSetFieldScope;
    dialog.fieldPosition = g_prefs.m_nMatSetFieldChoice;
    dialog.valueText = g_prefs.m_strMatSetFieldValue;
    if (dialog.exec() != QDialog::Accepted)
        return;
    g_prefs.m_nMatSetFieldScope = dialog.scope;
    g_prefs.m_nMatSetFieldChoice = dialog.fieldPosition;
    g_prefs.m_strMatSetFieldValue = dialog.valueText;
    const std::vector<int> selected = GetSelItems();
    std::vector<int> rows = selected;
    if (dialog.scope == 1) {
        rows.clear();
        for (int i = 0; i < doc->Materials().GetCount(); ++i)
            rows.push_back(i);
    } else if (dialog.scope != 0) {
        rows.clear();
    }

    Broadcast(HintBulkChangeBegins, 0);
    for (int i : rows) {
        doc->SetMaterialField(i, dialog.fieldNumber, dialog.valueText);
        Broadcast(HintMaterialChanged, i, doc->Materials().GetAt(i));
    }
    if (dialog.fieldNumber == kMapToField)
        doc->UpdateMappedMaterials(true, false);
    Broadcast(HintBulkChangeEndsRefreshAll, 0);
    FillList(GetTopIndex(), -1, true);
    Reselect(selected);
}

void CMaterialsView::OnUnits()
{
    CMaterialsDoc* doc = MaterialsDoc();
    if (!doc)
        return;
    CMaterialArray& database = doc->Materials();
    CMaterialUnitsDlg dialog(this);
    dialog.currencySymbol = database.m_currencySymbol;
    dialog.placesLeft = database.m_costPlacesLeft;
    dialog.placesRight = database.m_costPlacesRight;
    dialog.costUnit = database.m_costUnit;
    dialog.densityUnit = database.m_densityUnit;
    if (dialog.exec() == QDialog::Rejected)
        return;
    database.m_currencySymbol = dialog.currencySymbol;
    if (dialog.costUnit == CMaterialArray::kCostPerPound || dialog.costUnit == CMaterialArray::kCostPerKilogram)
        database.m_costUnit = dialog.costUnit;
    database.m_costPlacesLeft = dialog.placesLeft;
    database.m_costPlacesRight = dialog.placesRight;
    if (dialog.densityUnit == CMaterialArray::kDensityPerCup || dialog.densityUnit == CMaterialArray::kDensityPerDeciliter)
        database.m_densityUnit = dialog.densityUnit;
    doc->SetModifiedFlag();
    if (dialog.multiplyCosts)
        database.ScaleCosts(dialog.costFactor);
    if (dialog.multiplyDensities)
        database.ScaleDensities(dialog.densityFactor);
    doc->SetModifiedFlag();
    Broadcast(HintMaterialsReplaced, 0);
    FillList(GetTopIndex(), -1, true);
}
