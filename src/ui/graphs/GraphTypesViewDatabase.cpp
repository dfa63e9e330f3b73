// The commands of the graph-templates list that work on the database as a whole: database notes,
// the shared colour lists, merging another .grt file, saving a subset, and printing.

#include "graphs/GraphTypesView.h"

#include "framework/FileDialogService.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "graphs/GraphColorsDlg.h"
#include "graphs/GraphTypesDoc.h"
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

constexpr unsigned kMergeOpenHelpId = 0x31111;
constexpr unsigned kMergeReadHelpId = 0x30120;
constexpr unsigned kMergeEmptyHelpId = 0x31110;
constexpr unsigned kSubsetOpenHelpId = 0x30126;
constexpr unsigned kSubsetWriteHelpId = 0x30125;
constexpr unsigned kOpenDialogHelpId = 300;
constexpr unsigned kSaveDialogHelpId = 303;
// Rows above the first new one that stay in view after a merge.
constexpr int kRowsAboveAppended = 10;

} // namespace

void CGraphTypesView::OnDatabaseNotes()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc)
        return;
    CDbNotesDlg dialog(CMDIMainFrame::Instance(), "Graph Template Database Notes and Information",
                       kGraphNotesDialogHelpId);
    dialog.backgroundColor = GetNamedColor("sed_bkg");
    const std::string oldName = doc->GetDatabaseName();
    dialog.databaseName = oldName;
    dialog.fileName = doc->GetPathName();
    dialog.notes = doc->Database().m_infoLines;
    if (dialog.exec() != QDialog::Accepted)
        return;
    doc->SetDatabaseNotes(dialog.databaseName, dialog.notes);
    SetCaption();
    // Compared with case: a new spelling of the same name is a change the tree must show.
    if (dialog.databaseName != oldName)
        Broadcast(HintDatabaseNotesChanged, 0);
}

void CGraphTypesView::OnColors()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (doc && EditGraphColorLists(this, *doc))
        Broadcast(HintGraphColorsChanged, 0);
}

bool CGraphTypesView::ReadMergeFile(CGraphTemplateDatabase& incoming, std::string& path)
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = "Merge Graph Template Database...";
    request.filter = kGraphTemplateFileFilter;
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
    if (incoming.GetCount() == 0) {
        AppMessageBox(path + " contains no graph templates!", MsgOk | MsgIconExclamation, kMergeEmptyHelpId);
        return false;
    }
    return true;
}

void CGraphTypesView::OnMerge()
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc)
        return;
    CGraphTemplateDatabase incoming;
    std::string path;
    if (!ReadMergeFile(incoming, path))
        return;
    CMergeDlg dialog(this, kGraphMergeDialogHelpId);
    dialog.sourceName = path;
    dialog.kindWord = "graph templates";
    for (int i = 0; i < incoming.GetCount(); ++i) {
        const std::string& name = incoming.GetAt(i).m_name;
        dialog.names.push_back(name);
        dialog.flags.push_back(doc->Database().FindByName(name) ? 1 : 0);
    }
    if (QListWidget* list = dialog.List()) {
        QPalette colors = list->palette();
        colors.setColor(QPalette::Base, ToQColor(GetNamedColor("grt_list")));
        list->setPalette(colors);
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<int> chosen;
    for (int i = 0; i < incoming.GetCount() && i < static_cast<int>(dialog.flags.size()); ++i) {
        if (dialog.flags[static_cast<std::size_t>(i)])
            chosen.push_back(i);
    }
    MergeTemplates(incoming, chosen, dialog.method, dialog.sortAfterMerge != 0);
}

// Appends (method 0), or appends new names and assigns over same-named templates (method 1).
void CGraphTypesView::MergeTemplates(const CGraphTemplateDatabase& incoming, const std::vector<int>& chosen,
                                     int method, bool sort)
{
    CGraphTypesDoc* doc = GraphTypesDoc();
    const int oldCount = doc->Database().GetCount();
    int merged = 0;
    bool replaced = false;
    int firstAppended = -1;
    for (int i : chosen) {
        const CGraphTemplate& graphTemplate = incoming.GetAt(i);
        // Names are matched against the database as it stood before the merge.
        const int existing = method == 1 ? doc->Database().m_templates.FindIndexByName(graphTemplate.m_name) : -1;
        if (existing >= 0 && existing < oldCount) {
            doc->SetTemplate(existing, graphTemplate);
            replaced = true;
        } else {
            if (firstAppended < 0)
                firstAppended = doc->Database().GetCount();
            doc->InsertTemplate(doc->Database().GetCount(), graphTemplate);
        }
        ++merged;
    }
    if (merged == 0)
        return;
    if (firstAppended >= 0)
        Fill(std::max(oldCount - kRowsAboveAppended, 0), firstAppended, true);
    else
        Fill(0, 0, true);
    if (replaced)
        Broadcast(HintGraphTemplatesReplaced, 0);
    else
        Broadcast(HintGraphTemplatesInserted, firstAppended);
    if (sort)
        OnAlphabetize();
}

void CGraphTypesView::OnSaveSelected()
{
    const CGraphTemplateDatabase* database = Database();
    const std::vector<int> rows = GetSelItems();
    if (!database || rows.empty())
        return;
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = "Save Selected Graph Templates To...";
    request.defaultExtension = "grt";
    request.filter = kGraphTemplateFileFilter;
    request.flags = FileDlgOverwritePrompt | FileDlgHideReadOnly | FileDlgPathMustExist;
    request.helpId = kSaveDialogHelpId;
    const CFileDialogResult answer = AskForFiles(request);
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    const std::string& path = answer.paths.front();

    // A new database keeps its default colour lists: a subset never carries this database's.
    CGraphTemplateDatabase subset;
    for (int row : rows) {
        if (row < database->GetCount())
            subset.InsertAt(subset.GetCount(), database->GetAt(row));
    }
    subset.m_infoLines = database->m_infoLines;
    subset.m_name = database->m_name + " (subset)";
    const SafeSaveResult result =
        WriteFileSafely(path, [&subset](std::ostream& out) { return subset.Write(out) == 0; });
    if (result == SafeSaveResult::OpenFailed)
        AppMessageBox(path + ": Error opening file", MsgOk | MsgIconError, kSubsetOpenHelpId);
    else if (result == SafeSaveResult::WriteFailed)
        AppMessageBox(path + ": Error writing file", MsgOk | MsgIconExclamation, kSubsetWriteHelpId);
}

// --- printing -------------------------------------------------------------------------------------

void CGraphTypesView::FillPrinter(CTextPrinter& printer)
{
    const bool pageHeaders = CAppContext::IsActive() && g_prefs.prtuseffs != 0;
    printer.m_showFirstHeader = pageHeaders;
    printer.m_showLaterHeader = pageHeaders;
    printer.m_laterPageNumber = true;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
    const CGraphTypesDoc* doc = GraphTypesDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    CLineOStream out(printer, 0);
    doc->WriteGraphTemplateSummary(out, rows, nullptr);
}

void CGraphTypesView::OnPrint(unsigned id)
{
    m_nPrintMode = 1;
    CPrintJob job([this](CTextPrinter& printer) { FillPrinter(printer); });
    switch (id) {
    case CmdGrtListPrint:
        job.Print(this);
        break;
    case CmdGrtListPrintPreview:
        job.PrintPreview(this);
        break;
    default:
        job.m_fileFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*||";
        job.WriteToFile("Graph Template Summaries to File...");
        break;
    }
}
