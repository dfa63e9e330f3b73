// The commands of the substitution list that work on the database as a whole: database notes,
// merging another .sub file, saving a subset, and printing.

#include "substitutions/SubstitutionsView.h"

#include "framework/FileDialogService.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "substitutions/SubstitutionList.h"
#include "substitutions/SubstitutionsDoc.h"
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
constexpr const char* kSubstitutionFileFilter = "Database Files (*.sub)|*.sub|All Files (*.*)|*.*||";
// Rows above the first new one that stay in view after an append.
constexpr int kRowsAboveAppended = 10;

} // namespace

void CSubstitutionsView::OnDatabaseNotes()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc)
        return;
    CDbNotesDlg dialog(CMDIMainFrame::Instance(), "Substitution Database Notes and Information",
                       kSubstitutionNotesHelpId);
    dialog.backgroundColor = GetNamedColor("sed_bkg");
    const std::string oldName = doc->GetDatabaseName();
    dialog.databaseName = oldName;
    dialog.fileName = doc->GetPathName();
    dialog.notes = doc->Substitutions().m_infoLines;
    if (dialog.exec() != QDialog::Accepted)
        return;
    doc->SetDatabaseName(dialog.databaseName);
    doc->Substitutions().m_infoLines = dialog.notes;
    doc->SetModifiedFlag();
    SetCaption();
    if (dialog.databaseName != oldName)
        Broadcast(HintDatabaseNotesChanged, 0);
}

void CSubstitutionsView::OnMerge()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc)
        return;
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Merge Substitution Database...";
    request.filter = kSubstitutionFileFilter;
    request.flags = FileDlgFileMustExist | FileDlgHideReadOnly;
    request.helpId = kOpenDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    const std::string& path = answer.paths.front();
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        AppMessageBox("Unable to merge file " + path, MsgOk | MsgIconError, kMergeOpenHelpId);
        return;
    }
    CSubstitutionList incoming;
    int result = 0;
    {
        CBusyScope busy;
        result = incoming.Read(in);
    }
    if (result != 0) {
        AppMessageBox(path + ": " + incoming.m_errorText, MsgOk | MsgIconError, kMergeReadHelpId);
        return;
    }
    if (incoming.GetCount() == 0) {
        AppMessageBox(path + " contains no substitutions!", MsgOk | MsgIconExclamation, kMergeEmptyHelpId);
        return;
    }

    CMergeDlg dialog(this, kSubstitutionMergeHelpId);
    dialog.sourceName = path;
    dialog.kindWord = "substitutions";
    for (int i = 0; i < incoming.GetCount(); ++i) {
        const std::string& name = incoming.GetAt(i)->m_name;
        dialog.names.push_back(name);
        dialog.flags.push_back(doc->Substitutions().m_records.FindByName(name) ? 1 : 0);
    }
    if (QListWidget* list = dialog.List()) {
        QPalette colors = list->palette();
        colors.setColor(QPalette::Base, ToQColor(GetNamedColor("sub_list")));
        list->setPalette(colors);
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<int> chosen;
    for (int i = 0; i < incoming.GetCount(); ++i) {
        if (i < static_cast<int>(dialog.flags.size()) && dialog.flags[static_cast<std::size_t>(i)])
            chosen.push_back(i);
    }
    MergeRecords(incoming, chosen, dialog.method, dialog.sortAfterMerge != 0);
}

// Appends (method 0), or appends new names and replaces same-named records (method 1).
void CSubstitutionsView::MergeRecords(CSubstitutionList& incoming, const std::vector<int>& chosen, int method, bool sort)
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    const int oldCount = RecordCount();
    int appended = 0;
    int replaced = 0;
    for (int i : chosen) {
        const CSubstitution& record = *incoming.GetAt(i);
        // Names are matched against the database as it stood before the merge.
        const int existing = method == 1 ? doc->Substitutions().m_records.FindIndexByName(record.m_name) : -1;
        if (existing >= 0 && existing < oldCount) {
            doc->SetRecord(existing, record);
            ++replaced;
        } else {
            doc->InsertRecord(RecordCount(), record);
            ++appended;
        }
    }
    if (appended + replaced == 0)
        return;
    if (appended > 0)
        FillList(std::max(oldCount - kRowsAboveAppended, 0), oldCount, true);
    else
        FillList(0, 0, true);
    if (replaced > 0)
        Broadcast(HintSubstitutionsReplaced, 0);
    else
        Broadcast(HintSubstitutionsInserted, oldCount);
    if (sort)
        OnAlphabetize();
}

void CSubstitutionsView::OnSaveSelected()
{
    const CSubstitutionList* database = Database();
    const std::vector<int> rows = GetSelItems();
    if (!database || rows.empty())
        return;
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = "Save Selected Substitutions To...";
    request.defaultExtension = "sub";
    request.filter = kSubstitutionFileFilter;
    request.flags = FileDlgOverwritePrompt | FileDlgHideReadOnly | FileDlgPathMustExist;
    request.helpId = kSaveDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    const std::string& path = answer.paths.front();

    CSubstitutionList subset;
    for (int row : rows) {
        if (const CSubstitution* record = database->GetAt(row))
            subset.InsertAt(subset.GetCount(), *record);
    }
    subset.m_infoLines = database->m_infoLines;
    subset.m_dbName = database->m_dbName + " (subset)";
    const SafeSaveResult result =
        WriteFileSafely(path, [&subset](std::ostream& out) { return subset.Write(out) == 0; });
    if (result == SafeSaveResult::OpenFailed)
        AppMessageBox(path + ": Error opening file", MsgOk | MsgIconError, kSubsetOpenHelpId);
    else if (result == SafeSaveResult::WriteFailed)
        AppMessageBox(path + ": Error writing file", MsgOk | MsgIconExclamation, kSubsetWriteHelpId);
}

// --- printing -------------------------------------------------------------------------------------

void CSubstitutionsView::FillPrinter(CTextPrinter& printer, bool table)
{
    const bool pageHeaders = CAppContext::IsActive() && g_prefs.prtuseffs != 0;
    printer.m_showFirstHeader = pageHeaders;
    printer.m_showLaterHeader = pageHeaders;
    printer.m_laterPageNumber = true;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
    const CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc)
        return;
    CLineOStream out(printer, 0);
    if (table)
        doc->WriteTable(out);
    else
        doc->WriteSummaries(out, GetSelItems(), nullptr);
}

void CSubstitutionsView::OnPrint(unsigned id)
{
    const bool table = id == CmdSubListPrintTable || id == CmdSubListPreviewTable || id == CmdSubListWriteTable;
    CPrintJob job([this, table](CTextPrinter& printer) { FillPrinter(printer, table); });
    switch (id) {
    case CmdSubListPrintSelected:
    case CmdSubListPrintTable:
        job.Print(this);
        break;
    case CmdSubListPreviewSelected:
    case CmdSubListPreviewTable:
        job.PrintPreview(this);
        break;
    default:
        job.WriteToFile(table ? "Substitution Table to File..." : "Substitution Summaries to File...");
        break;
    }
}
