// The commands of the limit-formulas list that work on the database as a whole: database notes,
// oxide combinations, merging another .lim file, saving a subset, and printing.

#include "limits/LimitFormulasView.h"

#include "framework/FileDialogService.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "limits/LimitFormulasDoc.h"
#include "limits/OxideCombosDlg.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/DbNotesDlg.h"
#include "support/DialogStyle.h"
#include "support/LineOStream.h"
#include "support/MergeDlg.h"
#include "support/PrintJob.h"
#include "support/SafeFile.h"
#include "support/Services.h"
#include "support/TextPrinter.h"

#include <QListWidget>

#include <algorithm>
#include <fstream>

namespace {

constexpr unsigned kMergeOpenHelpId = 0x30221;
constexpr unsigned kMergeReadHelpId = 0x30120;
constexpr unsigned kMergeEmptyHelpId = 0x30220;
constexpr unsigned kSubsetOpenHelpId = 0x30126;
constexpr unsigned kSubsetWriteHelpId = 0x30125;
constexpr unsigned kOpenDialogHelpId = 300;
constexpr unsigned kSaveDialogHelpId = 303;
constexpr const char* kLimitFormulaFileFilter = "Database Files (*.lim)|*.lim|All Files (*.*)|*.*||";
// Rows above the first new one that stay in view after an append.
constexpr int kRowsAboveAppended = 10;

// The merge dialog over the incoming names, each marked when the open database has one so named.
template <class Names, class Exists>
bool RunMergeDialog(const std::string& path, const char* kindWord, bool offerSort,
                    const Names& names, Exists exists, CMergeDlg& dialog)
{
    dialog.sourceName = path;
    dialog.kindWord = kindWord;
    dialog.showSortOption = offerSort ? 1 : 0;
    for (const std::string& name : names) {
        dialog.names.push_back(name);
        dialog.flags.push_back(exists(name) ? 1 : 0);
    }
    if (QListWidget* list = dialog.List()) {
        QPalette colors = list->palette();
        colors.setColor(QPalette::Base, ToQColor(GetNamedColor("lim_list")));
        list->setPalette(colors);
    }
    return dialog.exec() == QDialog::Accepted;
}

std::vector<int> ChosenRows(const CMergeDlg& dialog, int count)
{
    std::vector<int> chosen;
    for (int i = 0; i < count; ++i) {
        if (i < static_cast<int>(dialog.flags.size()) && dialog.flags[static_cast<std::size_t>(i)])
            chosen.push_back(i);
    }
    return chosen;
}

} // namespace

void CLimitFormulasView::OnDatabaseNotes()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    CDbNotesDlg dialog(CMDIMainFrame::Instance(), "Limit Formula Database Notes and Information",
                       kLimitNotesDialogHelpId);
    dialog.backgroundColor = GetNamedColor("led_tab");
    const std::string oldName = doc->GetDatabaseName();
    dialog.databaseName = oldName;
    dialog.fileName = doc->GetPathName();
    dialog.notes = doc->Database().m_infoLines;
    if (dialog.exec() != QDialog::Accepted)
        return;
    doc->Database().m_infoLines = dialog.notes;
    doc->Database().m_name = dialog.databaseName;
    doc->SetModifiedFlag();
    SetCaption();
    if (dialog.databaseName != oldName)
        Broadcast(HintDatabaseNotesChanged, 0);
}

void CLimitFormulasView::OnOxideCombinations()
{
    if (CLimitFormulasDoc* doc = LimitFormulasDoc())
        EditOxideCombinations(this, *doc, this);
}

bool CLimitFormulasView::ReadMergeFile(const char* title, CLimitFormulaDB& incoming, std::string& path)
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = title;
    request.filter = kLimitFormulaFileFilter;
    request.flags = FileDlgFileMustExist | FileDlgHideReadOnly;
    request.helpId = kOpenDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return false;
    path = answer.paths.front();
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
    return true;
}

void CLimitFormulasView::OnMergeFormulas()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    CLimitFormulaDB incoming;
    std::string path;
    if (!ReadMergeFile("Merge Limit Formulas...", incoming, path))
        return;
    if (incoming.GetCount() == 0) {
        AppMessageBox(path + " contains no limit formulas!", MsgOk | MsgIconExclamation, kMergeEmptyHelpId);
        return;
    }
    std::vector<std::string> names;
    for (int i = 0; i < incoming.GetCount(); ++i)
        names.push_back(incoming.GetAt(i).m_name);
    CMergeDlg dialog(this, kLimitMergeDialogHelpId);
    const CLimitFormulaDB& database = doc->Database();
    if (!RunMergeDialog(path, "limit formulas", true, names,
                        [&database](const std::string& name) { return database.FindFormulaByName(name) != nullptr; },
                        dialog))
        return;
    MergeFormulas(incoming, ChosenRows(dialog, incoming.GetCount()), dialog.method, dialog.sortAfterMerge != 0);
}

// Appends (method 0), or appends new names and assigns over same-named formulas (method 1).
void CLimitFormulasView::MergeFormulas(CLimitFormulaDB& incoming, const std::vector<int>& chosen, int method, bool sort)
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    const int oldCount = doc->Database().GetCount();
    int merged = 0;
    bool replaced = false;
    for (int i : chosen) {
        const CLimitFormula& formula = incoming.GetAt(i);
        // Names are matched against the database as it stood before the merge.
        const int existing = method == 1 ? doc->Database().m_formulas.FindIndexByName(formula.m_name) : -1;
        if (existing >= 0 && existing < oldCount) {
            doc->SetFormula(existing, formula);
            replaced = true;
        } else {
            doc->InsertFormula(doc->Database().GetCount(), formula);
        }
        ++merged;
    }
    if (merged == 0)
        return;
    FillList(std::max(oldCount - kRowsAboveAppended, 0), -1, true);
    Broadcast(replaced ? HintLimitFormulasReplaced : HintLimitFormulasInserted, oldCount);
    if (sort)
        OnAlphabetize();
}

void CLimitFormulasView::OnMergeCombinations()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    CLimitFormulaDB incoming;
    std::string path;
    if (!ReadMergeFile("Merge Oxide Combinations...", incoming, path))
        return;
    const COxideCombinationArray& source = incoming.m_combinations;
    if (source.GetCount() == 0) {
        AppMessageBox(path + " contains no oxide combinations!", MsgOk | MsgIconExclamation, kMergeEmptyHelpId);
        return;
    }
    std::vector<std::string> names;
    for (int i = 0; i < source.GetCount(); ++i)
        names.push_back(source.GetAt(i).m_name);
    COxideCombinationArray& target = doc->Database().m_combinations;
    // Sorting is a matter of the formula list: the combination merge does not offer it.
    CMergeDlg dialog(this, kLimitMergeDialogHelpId);
    if (!RunMergeDialog(path, "oxide combinations", false, names,
                        [&target](const std::string& name) { return target.FindByName(name) != nullptr; }, dialog))
        return;
    int merged = 0;
    for (int i : ChosenRows(dialog, source.GetCount())) {
        const COxideCombination& combination = source.GetAt(i);
        const int existing = dialog.method == 1 ? target.FindIndexByName(combination.m_name) : -1;
        if (existing >= 0)
            target.SetAt(existing, combination);
        else
            target.Add(combination);
        ++merged;
    }
    if (merged == 0)
        return;
    doc->SetModifiedFlag();
    Broadcast(HintOxideCombinationsChanged, 0);
}

void CLimitFormulasView::OnSaveSelected()
{
    const CLimitFormulaDB* database = Database();
    const std::vector<int> rows = GetSelItems();
    if (!database || rows.empty())
        return;
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = "Save Selected Limit Formulas To...";
    request.defaultExtension = "lim";
    request.filter = kLimitFormulaFileFilter;
    request.flags = FileDlgOverwritePrompt | FileDlgHideReadOnly | FileDlgPathMustExist;
    request.helpId = kSaveDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    const std::string& path = answer.paths.front();

    CLimitFormulaDB subset;
    for (int row : rows) {
        if (row < database->GetCount())
            subset.InsertFormula(subset.GetCount(), database->GetAt(row));
    }
    subset.m_infoLines = database->m_infoLines;
    subset.m_combinations = database->m_combinations;
    subset.m_name = database->m_name + " (subset)";
    const SafeSaveResult result =
        WriteFileSafely(path, [&subset](std::ostream& out) { return subset.Write(out) == 0; });
    if (result == SafeSaveResult::OpenFailed)
        AppMessageBox(path + ": Error opening file", MsgOk | MsgIconError, kSubsetOpenHelpId);
    else if (result == SafeSaveResult::WriteFailed)
        AppMessageBox(path + ": Error writing file", MsgOk | MsgIconExclamation, kSubsetWriteHelpId);
}

// --- printing -------------------------------------------------------------------------------------

void CLimitFormulasView::FillPrinter(CTextPrinter& printer, bool withHeader)
{
    const bool pageHeaders = CAppContext::IsActive() && g_prefs.prtuseffs != 0;
    printer.m_showFirstHeader = pageHeaders;
    printer.m_showLaterHeader = pageHeaders;
    printer.m_laterPageNumber = true;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
    const CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    CLineOStream out(printer, 0);
    doc->WriteSummary(out, rows, withHeader, nullptr);
}

void CLimitFormulasView::OnPrint(unsigned id)
{
    const int answer = AppMessageBox("Do you want to print the database notes and oxide list?",
                                     MsgYesNoCancel | MsgIconQuestion, kLimitPrintQuestionHelpId);
    if (answer == MsgResultCancel)
        return;
    const bool withHeader = answer == MsgResultYes;
    if (GetSelCount() == 0 && !withHeader) {
        AppMessageBox("Nothing to print", MsgOk | MsgIconError, kLimitNothingToPrintHelpId);
        return;
    }
    CPrintJob job([this, withHeader](CTextPrinter& printer) { FillPrinter(printer, withHeader); });
    switch (id) {
    case CmdLimListPrint:
        job.Print(this);
        break;
    case CmdLimListPrintPreview:
        job.PrintPreview(this);
        break;
    default:
        job.WriteToFile("Limit Formula Summaries to File...");
        break;
    }
}
