// The glaze list's commands that read or write other files and texts: Find, Merge, Save Selected
// As, the imports of Insight, Recipary and HyperGlaze recipes, and the exports in those formats
// and as HTML.

#include "glazes/GlazesView.h"

#include "framework/DocRegistry.h"
#include "framework/FileDialogService.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "glazes/GlazeListDlgCommands.h"
#include "glazes/HtmlExport.h"
#include "glazes/HyperGlazeText.h"
#include "glazes/InsightImport.h"
#include "glazes/ReciparyText.h"
#include "shell/DocumentRead.h"
#include "shell/NamedColors.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileType.h"
#include "support/DialogStyle.h"
#include "support/InputFile.h"
#include "support/MergeDlg.h"
#include "support/MessagePath.h"
#include "support/SafeFile.h"
#include "support/Services.h"

#include <QListWidget>

#include <algorithm>
#include <sstream>

namespace {

constexpr const char* kGlazeFileFilter = "Database Files (*.glz)|*.glz|All Files (*.*)|*.*||";
constexpr const char* kTextFileFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*||";
constexpr const char* kAllFilesFilter = "All Files (*.*)|*.*||";

constexpr unsigned kOpenDialogHelpId = 300;
constexpr unsigned kInsightOpenHelpId = 301;
constexpr unsigned kSaveDialogHelpId = 303;
constexpr unsigned kMergeDialogHelpId = 323;
constexpr unsigned kMergeOpenErrorHelpId = 197905;
constexpr unsigned kMergeEmptyHelpId = 197904;
constexpr unsigned kMergeReadErrorHelpId = 196896;
constexpr unsigned kSaveOpenErrorHelpId = 196902;
constexpr unsigned kSaveWriteErrorHelpId = 196901;
constexpr unsigned kExportFileErrorHelpId = 196899;
constexpr unsigned kExportClipboardErrorHelpId = 196900;

CFileDialogRequest OpenRequest(const char* title, const char* filter, unsigned helpId, bool clipboard)
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Open;
    request.title = title;
    request.filter = filter;
    request.flags = FileDlgHideReadOnly | FileDlgPathMustExist | FileDlgFileMustExist;
    request.helpId = helpId;
    request.clipboardOption = clipboard;
    return request;
}

CFileDialogRequest SaveRequest(std::string title, const char* filter, const char* extension, bool clipboard)
{
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = std::move(title);
    request.filter = filter;
    request.defaultExtension = extension;
    request.flags = FileDlgHideReadOnly | FileDlgPathMustExist | FileDlgOverwritePrompt;
    request.helpId = kSaveDialogHelpId;
    request.clipboardOption = clipboard;
    return request;
}

bool IsChosen(const CFileDialogResult& answer)
{
    return answer.outcome == CFileDialogResult::Outcome::Clipboard ||
           (answer.outcome == CFileDialogResult::Outcome::Ok && !answer.paths.empty());
}

using ExportWriter = std::function<int(std::ostream&)>;

// Writes an export to the chosen file or the clipboard; a failure is shown. False on failure.
bool WriteExport(const CFileDialogResult& answer, const ExportWriter& write)
{
    CBusyScope busy;
    if (answer.outcome == CFileDialogResult::Outcome::Clipboard) {
        std::ostringstream out;
        if (write(out) == 0 && PutTextOnClipboard(out.str()))
            return true;
        AppMessageBox("Error writing to Clipboard", MsgOk | MsgIconError, kExportClipboardErrorHelpId);
        return false;
    }
    const std::string& path = answer.paths.front();
    const auto writer = [&write](std::ostream& out) { return write(out) == 0; };
    std::string reason;
    if (WriteFileSafely(path, writer, &reason) == SafeSaveResult::Ok)
        return true;
    AppMessageBox(SaveFailureMessage(path, SafeSaveResult::WriteFailed, reason), MsgOk | MsgIconError,
                  kExportFileErrorHelpId);
    return false;
}

} // namespace

bool PutTextOnClipboard(const std::string& text)
{
    CClipboardService* clipboard = GetClipboardService();
    if (!clipboard)
        return false;
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            crlf += '\r';
        crlf += text[i];
    }
    return clipboard->SetText(crlf);
}

// --- Find -----------------------------------------------------------------------------------------

void CGlazesView::OnFind()
{
    if (CGlazesDoc* doc = GlazesDoc())
        RunFindGlazes(*doc, this, this, [this] { FillList(GetTopIndex(), -1, true); });
}

// --- Merge ----------------------------------------------------------------------------------------

void CGlazesView::OnMerge()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    const CFileDialogResult answer =
        AskForFiles(OpenRequest("Merge Glaze Database...", kGlazeFileFilter, kOpenDialogHelpId, false));
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    const std::string& path = answer.paths.front();
    CInputFile in;
    if (!in.Open(path)) {
        AppMessageBox(MergeOpenFailure(in, path), MsgOk | MsgIconError, kMergeOpenErrorHelpId);
        return;
    }
    CGlazeList incoming;
    int error = 0;
    {
        CBusyScope busy;
        error = incoming.Read(in);
    }
    if (error != 0) {
        AppMessageBox(MessagePath(path) + ": " + incoming.m_errorText, MsgOk | MsgIconError, kMergeReadErrorHelpId);
        return;
    }
    ReportReadNotes(path, incoming, kMergeReadErrorHelpId);
    if (incoming.GetCount() == 0) {
        AppMessageBox(MessagePath(path) + " contains no glazes!", MsgOk | MsgIconExclamation, kMergeEmptyHelpId);
        return;
    }
    // Where each incoming glaze already stands, looked up before anything changes.
    std::vector<int> existing;
    CMergeDlg dialog(this, kMergeDialogHelpId);
    dialog.sourceName = path;
    dialog.kindWord = "glazes";
    for (int i = 0; i < incoming.GetCount(); ++i) {
        existing.push_back(doc->Glazes().m_glazes.FindIndexByName(incoming.GetAt(i).m_name));
        dialog.names.push_back(incoming.GetAt(i).m_name);
        dialog.flags.push_back(existing.back() >= 0 ? 1 : 0);
    }
    dialog.InitDialog();
    QPalette palette = dialog.List()->palette();
    palette.setColor(QPalette::Base, ToQColor(GetNamedColor("glz_list")));
    dialog.List()->setPalette(palette);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<int> picked;
    for (int i = 0; i < incoming.GetCount(); ++i) {
        if (i < static_cast<int>(dialog.flags.size()) && dialog.flags[static_cast<std::size_t>(i)] != 0)
            picked.push_back(i);
    }
    // The glazes are sorted only when at least one was merged.
    if (MergeGlazes(incoming, picked, dialog.method, existing, path) && dialog.sortAfterMerge)
        OnResort();
}

bool CGlazesView::MergeGlazes(const CGlazeList& incoming, const std::vector<int>& picked, int method,
                              const std::vector<int>& existing, const std::string& path)
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc || picked.empty())
        return false;
    // Only "Append new, replace existing" replaces glazes; "Append all" appends every one.
    CMergePlan plan(picked, method == 1, [&existing](int i) { return existing[static_cast<std::size_t>(i)]; });
    // The edit windows on the glazes the merge replaces hold edits that would go with them: each
    // is asked first; a No keeps its glaze, Cancel merges nothing. Windows on other glazes keep
    // theirs.
    if (!doc->AskMergeForms(plan)) {
        ReportMergeOutcome(path, {}, kMergeDialogHelpId);
        return false;
    }
    const int oldCount = doc->GetGlazeCount();
    for (const CMergeStep& step : plan.Steps()) {
        if (step.replaces >= 0)
            doc->ReplaceGlaze(step.replaces, incoming.GetAt(step.incoming));
        else
            doc->InsertGlaze(doc->GetGlazeCount(), incoming.GetAt(step.incoming));
    }
    ReportMergeOutcome(path, plan.Report([&incoming](int i) { return incoming.GetAt(i).m_name; }), kMergeDialogHelpId);
    if (plan.Empty())
        return false;
    std::vector<const void*> replaced;
    for (const int index : plan.Replaced())
        replaced.push_back(doc->GetGlaze(index));
    if (plan.Appended() > 0)
        FillList(std::max(oldCount - 10, 0), oldCount, true);
    else
        FillList(0, 0, true);
    if (!replaced.empty())
        BroadcastMerge(this, doc, static_cast<int>(DbFileType::Glazes), HintGlazesReplaced, 0, replaced);
    else
        Broadcast(HintGlazesInserted, oldCount);
    return true;
}

// --- Save Selected As -----------------------------------------------------------------------------

void CGlazesView::OnSaveSelected()
{
    CGlazesDoc* doc = GlazesDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    const CFileDialogResult answer = AskForFiles(SaveRequest("Save Selected Glazes To...", kGlazeFileFilter, "glz", false));
    if (answer.outcome != CFileDialogResult::Outcome::Ok || answer.paths.empty())
        return;
    const std::string& path = answer.paths.front();
    CGlazeList subset;
    for (int row : rows)
        subset.InsertCopyAt(subset.GetCount(), *doc->GetGlaze(row));
    subset.m_infoLines = doc->Glazes().m_infoLines;
    subset.m_name = doc->GetDbName() + " (subset)";
    std::string reason;
    const SafeSaveResult result =
        WriteFileSafely(path, [&subset](std::ostream& out) { return subset.Write(out) == 0; }, &reason);
    if (result == SafeSaveResult::OpenFailed)
        AppMessageBox(SaveFailureMessage(path, result, reason), MsgOk | MsgIconError, kSaveOpenErrorHelpId);
    else if (result == SafeSaveResult::WriteFailed)
        AppMessageBox(SaveFailureMessage(path, result, reason), MsgOk | MsgIconExclamation, kSaveWriteErrorHelpId);
}

// --- imports --------------------------------------------------------------------------------------

void CGlazesView::OnImport(unsigned id)
{
    CFileDialogRequest request;
    if (id == CmdGlzImportInsight) {
        request = OpenRequest("Import Insight Recipes...", "Recipe Files (*.rcp)|*.rcp|All Files (*.*)|*.*||",
                              kInsightOpenHelpId, true);
        request.mode = CFileDialogRequest::Mode::OpenMultiple;
    } else if (id == CmdGlzImportRecipary) {
        request = OpenRequest("Import Recipary Recipes...", kAllFilesFilter, kOpenDialogHelpId, true);
    } else {
        request = OpenRequest("Import Hyperglaze Recipes...", kAllFilesFilter, kOpenDialogHelpId, false);
    }
    CFileDialogResult answer = AskForFiles(request);
    if (!IsChosen(answer))
        return;
    const bool fromClipboard = answer.outcome == CFileDialogResult::Outcome::Clipboard;
    const std::string source = fromClipboard ? std::string(kClipboardSourceName) : answer.paths.front();
    CGlazeList imported;
    int count = 0;
    if (id == CmdGlzImportInsight)
        count = CInsightIO::ImportRecipes(imported, answer.paths, fromClipboard);
    else if (id == CmdGlzImportRecipary)
        count = CReciparyIO::ImportRecipes(imported, fromClipboard ? std::string() : source);
    else
        count = CHyperGlazeIO::ImportRecipes(imported, source);
    const std::string from = id == CmdGlzImportInsight ? std::string("Insight files") : source;
    AppendImported(imported, "Imported " + std::to_string(count) + " glazes from " + from);
}

void CGlazesView::AppendImported(const CGlazeList& imported, const std::string& info)
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc || imported.GetCount() == 0)
        return;
    const int oldCount = doc->GetGlazeCount();
    {
        CBusyScope busy;
        for (int i = 0; i < imported.GetCount(); ++i)
            doc->InsertGlaze(doc->GetGlazeCount(), imported.GetAt(i));
        FillList(std::max(oldCount - 10, 0), oldCount, true);
    }
    Broadcast(HintGlazesInserted, oldCount);
    doc->Glazes().m_infoLines.push_back(info);
}

// --- exports --------------------------------------------------------------------------------------

void CGlazesView::OnExport(unsigned id)
{
    CGlazesDoc* doc = GlazesDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    CFileDialogRequest request;
    ExportWriter write;
    const CGlazeList& glazes = doc->Glazes();
    if (id == CmdGlzExportRecipary) {
        request = SaveRequest("Export in Recipary format...", kTextFileFilter, "txt", true);
        write = [&glazes, &rows](std::ostream& out) { return CReciparyIO::ExportRecipes(out, glazes, rows); };
    } else if (id == CmdGlzExportHyperGlaze) {
        request = SaveRequest("Export in HyperGlaze-importable text format...", kTextFileFilter, "txt", false);
        write = [&glazes, &rows](std::ostream& out) { return CHyperGlazeIO::ExportRecipes(out, glazes, rows); };
    } else {
        request = SaveRequest("Export in HTML format...", "HTML files (*.htm)|*.htm|All files (*.*)|*.*||", "htm", true);
        write = [&glazes, &rows](std::ostream& out) { return CHtmlExport::WriteGlazes(out, glazes, rows); };
    }
    const CFileDialogResult answer = AskForFiles(request);
    if (IsChosen(answer))
        WriteExport(answer, write);
}

void CGlazesView::OnExportInsight()
{
    CGlazesDoc* doc = GlazesDoc();
    const std::vector<int> rows = GetSelItems();
    if (!doc || rows.empty())
        return;
    const CGlazeList& glazes = doc->Glazes();
    std::vector<int> toClipboard;
    for (int row : rows) {
        const std::string& name = glazes.GetAt(row).m_name;
        CFileDialogRequest request = SaveRequest("Export \"" + name + "\" in Insight 5.0 format...",
                                                 "RCP files (*.rcp)|*.rcp|All files (*.*)|*.*||", "rcp", true);
        request.initialPath = CInsightIO::SuggestedFileName(name);
        const CFileDialogResult answer = AskForFiles(request);
        // Cancel ends the export: with thousands of glazes selected a question each would
        // leave no way out. What went to the clipboard so far still goes there.
        if (answer.outcome == CFileDialogResult::Outcome::Cancel)
            break;
        if (answer.outcome == CFileDialogResult::Outcome::Clipboard) {
            toClipboard.push_back(row);
        } else if (IsChosen(answer)) {
            const int one[] = {row};
            WriteExport(answer, [&glazes, &one](std::ostream& out) { return CInsightIO::WriteRecipes(out, glazes, one); });
        }
    }
    if (toClipboard.empty())
        return;
    CFileDialogResult clipboard;
    clipboard.outcome = CFileDialogResult::Outcome::Clipboard;
    WriteExport(clipboard, [&glazes, &toClipboard](std::ostream& out) {
        return CInsightIO::WriteRecipes(out, glazes, toClipboard);
    });
}
