// The commands of the substitution edit form: moving between records, new records, Save as New,
// the in-program clipboard, limited access, closing and printing.

#include "substitutions/SubstitutionEditView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "substitutions/SubstitutionList.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/SelectOneDlg.h"
#include "support/TextPrinter.h"

#include <QLineEdit>

bool CSubstitutionEditView::AskAndStore()
{
    const int answer = AskToSave();
    if (answer == MsgResultCancel)
        return false;
    if (answer == MsgResultYes)
        StoreRecord();
    return true;
}

void CSubstitutionEditView::GoToLimited(int position)
{
    if (position < 0 || position >= static_cast<int>(m_limitedIndices.size()))
        return;
    m_nLimitedPosition = position;
    LoadRecord(m_limitedIndices[static_cast<std::size_t>(position)]);
}

void CSubstitutionEditView::EditPrevious()
{
    if (m_bLimited) {
        if (m_nLimitedPosition > 0 && AskAndStore())
            GoToLimited(m_nLimitedPosition - 1);
        return;
    }
    if (!m_pCurrent)
        return;
    if (m_nCurrent == 0) {
        InsertNew();
        return;
    }
    if (AskAndStore())
        LoadRecord(m_nCurrent - 1);
}

void CSubstitutionEditView::EditNext()
{
    if (m_bLimited) {
        if (m_nLimitedPosition < static_cast<int>(m_limitedIndices.size()) - 1 && AskAndStore())
            GoToLimited(m_nLimitedPosition + 1);
        return;
    }
    if (!m_pCurrent)
        return;
    if (m_nCurrent >= RecordCount() - 1) {
        AppendNew();
        return;
    }
    if (AskAndStore())
        LoadRecord(m_nCurrent + 1);
}

// Ctrl+S: stores without asking and moves on, appending a record after the last one.
void CSubstitutionEditView::SaveAndNext()
{
    if (m_bModified)
        StoreRecord();
    if (m_bLimited) {
        GoToLimited(m_nLimitedPosition + 1);
        m_name->setFocus();
        m_name->end(false);
        return;
    }
    const bool append = m_nCurrent < 0 || m_nCurrent >= RecordCount() - 1;
    if (append)
        InsertAndLoad(RecordCount());
    else
        LoadRecord(m_nCurrent + 1);
    m_name->setFocus();
    if (append)
        m_name->selectAll();
    else
        m_name->end(false);
}

void CSubstitutionEditView::InsertAndLoad(int position)
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc)
        return;
    doc->InsertRecord(position, CSubstitution(kNewSubstitutionName));
    Broadcast(HintSubstitutionsInserted, position);
    LoadRecord(position);
}

void CSubstitutionEditView::InsertNew()
{
    if (m_bLimited || !m_pCurrent || !AskAndStore())
        return;
    InsertAndLoad(m_nCurrent);
}

void CSubstitutionEditView::AppendNew()
{
    if (m_bLimited || !m_pCurrent || !AskAndStore())
        return;
    InsertAndLoad(m_nCurrent + 1);
}

void CSubstitutionEditView::JumpTo()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc)
        return;
    CSelectOneDlg dialog(this, kSelectSubstitutionHelpId);
    dialog.caption = "Select a Substitution";
    dialog.backgroundColor = GetNamedColor("sed_bkg");
    if (m_bLimited) {
        for (const CSubstitution* record : m_limitedRecords)
            dialog.names.push_back(record->m_name);
        dialog.preselect = m_nLimitedPosition;
    } else {
        dialog.document = doc;
        dialog.preselect = m_nCurrent;
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selection < 0)
        return;
    const int current = m_bLimited ? m_nLimitedPosition : m_nCurrent;
    if (dialog.selection == current || !AskAndStore())
        return;
    if (m_bLimited)
        GoToLimited(dialog.selection);
    else
        LoadRecord(dialog.selection);
}

// The unedited record stays where it is (as a copy); the form's record moves one down and takes
// the edits, so both versions are kept.
void CSubstitutionEditView::SaveAsNew()
{
    CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc || !m_pCurrent)
        return;
    doc->InsertRecord(m_nCurrent, *m_pCurrent);
    Broadcast(HintSubstitutionsInserted, m_nCurrent);
    RelocateRecord();
    if (ToCp1252(m_name->text()) == m_pCurrent->m_name)
        m_name->setText(FromCp1252(m_pCurrent->m_name + " (new)"));
    StoreRecord();
    ShowRecord(m_work);
    UpdateButtons();
}

void CSubstitutionEditView::Copy()
{
    CSubstitution record = m_work;
    GatherRecord(record);
    CopyRecordToClipboard(g_substitutionClipboard, record);
}

void CSubstitutionEditView::Cut()
{
    Copy();
    CloseQuietly();
}

void CSubstitutionEditView::Paste()
{
    if (!CAppContext::IsActive() || ClipboardCount(g_substitutionClipboard) == 0)
        return;
    ShowRecord(ClipboardRecord(g_substitutionClipboard, 0));
    SetModified(true);
}

void CSubstitutionEditView::SetLimitedSelection(const int* indices, int count)
{
    m_limitedIndices.clear();
    m_limitedRecords.clear();
    const CSubstitutionList* database = Database();
    for (int k = 0; database && k < count; ++k) {
        if (const CSubstitution* record = database->GetAt(indices[k])) {
            m_limitedIndices.push_back(indices[k]);
            m_limitedRecords.push_back(record);
        }
    }
    m_bLimited = true;
    m_nLimitedPosition = 0;
    LoadRecord(m_limitedIndices.empty() ? -1 : m_limitedIndices.front());
}

void CSubstitutionEditView::LeaveLimitedAccess()
{
    m_bLimited = false;
    m_limitedIndices.clear();
    m_limitedRecords.clear();
    m_nLimitedPosition = 0;
    UpdateButtons();
}

bool CSubstitutionEditView::RelocateRecord()
{
    const CSubstitutionList* database = Database();
    if (!database)
        return false;
    if (m_bLimited) {
        std::vector<const CSubstitution*> records;
        std::vector<int> indices;
        for (const CSubstitution* record : m_limitedRecords) {
            const int index = database->IndexOf(record);
            if (index < 0)
                continue;
            if (record == m_pCurrent)
                m_nLimitedPosition = static_cast<int>(records.size());
            records.push_back(record);
            indices.push_back(index);
        }
        m_limitedRecords = std::move(records);
        m_limitedIndices = std::move(indices);
    }
    if (!m_pCurrent)
        return true;
    const int index = database->IndexOf(m_pCurrent);
    if (index < 0)
        return false;
    m_nCurrent = index;
    return true;
}

void CSubstitutionEditView::CloseQuietly()
{
    m_bClosing = true;
    SetModified(false);
    if (CFrameHost* frame = GetFrame())
        frame->CloseFrame();
}

void CSubstitutionEditView::Close()
{
    CommitPendingEdit();
    if (!AskAndStore())
        return;
    CloseQuietly();
}

void CSubstitutionEditView::FillPrinter(CTextPrinter& printer)
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
    CSubstitution record = m_work;
    GatherRecord(record);
    CLineOStream out(printer, 0);
    doc->WriteSummaries(out, {}, &record);
}

void CSubstitutionEditView::PrintSummary(unsigned id)
{
    CommitPendingEdit();
    CPrintJob job([this](CTextPrinter& printer) { FillPrinter(printer); });
    switch (id) {
    case CmdSubEditPrint:
        job.Print(this);
        break;
    case CmdSubEditPrintPreview:
        job.PrintPreview(this);
        break;
    default:
        job.WriteToFile("Substitution Summary to File...");
        break;
    }
}
