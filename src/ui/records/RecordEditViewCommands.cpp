// The edit form's navigation and record commands: Previous and Next (Insert New and Append New at
// the ends), Ctrl+S, Jump to, Save as New, Cut, limited access, closing and printing.

#include "records/RecordEditView.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "shell/NamedColors.h"
#include "support/PrintJob.h"
#include "support/SelectOneDlg.h"
#include "support/TextPrinter.h"

#include <QLineEdit>

void CRecordEditView::GoToLimited(int position)
{
    if (position < 0 || position >= LimitedCount())
        return;
    m_nLimitedPosition = position;
    LoadRecord(m_limitedIndices[static_cast<std::size_t>(position)]);
}

void CRecordEditView::EditPrevious()
{
    if (m_bLimited) {
        if (m_nLimitedPosition > 0 && AskAndSave())
            GoToLimited(m_nLimitedPosition - 1);
        return;
    }
    if (!CanStepWithoutLimit())
        return;
    if (m_nCurrent <= 0) {
        InsertNew();
        return;
    }
    if (AskAndSave())
        LoadRecord(m_nCurrent - 1);
}

void CRecordEditView::EditNext()
{
    if (m_bLimited) {
        if (m_nLimitedPosition >= 0 && m_nLimitedPosition < LimitedCount() - 1 && AskAndSave())
            GoToLimited(m_nLimitedPosition + 1);
        return;
    }
    if (!CanStepWithoutLimit())
        return;
    if (m_nCurrent < 0 || m_nCurrent >= RecordCount() - 1) {
        AppendNew();
        return;
    }
    if (AskAndSave())
        LoadRecord(m_nCurrent + 1);
}

void CRecordEditView::SaveAndNext()
{
    if (m_bModified && !SaveChanges())
        return;
    QLineEdit* name = NameField();
    if (m_bLimited) {
        GoToLimited(m_nLimitedPosition + 1);
        name->setFocus();
        name->end(false);
        return;
    }
    const bool append = m_nCurrent < 0 || m_nCurrent >= RecordCount() - 1;
    if (append)
        InsertAndLoad(m_nCurrent < 0 ? RecordCount() : m_nCurrent + 1);
    else
        LoadRecord(m_nCurrent + 1);
    name->setFocus();
    if (append)
        name->selectAll();
    else
        name->end(false);
}

void CRecordEditView::InsertAndLoad(int position)
{
    CRecordDatabaseDoc* doc = RecordDoc();
    if (!doc || position < 0 || position > doc->GetRecordCount())
        return;
    doc->InsertNewRecord(position);
    Broadcast(doc->Kind().hints.inserted, position);
    LoadRecord(position);
}

void CRecordEditView::InsertNew()
{
    if (m_bLimited || !CanStepWithoutLimit() || !AskAndSave())
        return;
    InsertAndLoad(m_nCurrent < 0 ? 0 : m_nCurrent);
}

void CRecordEditView::AppendNew()
{
    if (m_bLimited || !CanStepWithoutLimit() || !AskAndSave())
        return;
    InsertAndLoad(m_nCurrent < 0 ? RecordCount() : m_nCurrent + 1);
}

void CRecordEditView::JumpTo()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    if (!doc)
        return;
    CSelectOneDlg dialog(this, m_kind.selectHelpId);
    dialog.caption = m_kind.selectCaption;
    dialog.backgroundColor = GetNamedColor(m_kind.backgroundColor);
    if (m_bLimited) {
        for (int index : m_limitedIndices)
            dialog.names.push_back(doc->GetRecordName(index));
        dialog.preselect = m_nLimitedPosition;
    } else {
        dialog.document = doc;
        dialog.preselect = m_nCurrent;
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selection < 0)
        return;
    const int current = m_bLimited ? m_nLimitedPosition : m_nCurrent;
    if (dialog.selection == current || !AskAndSave())
        return;
    if (m_bLimited)
        GoToLimited(dialog.selection);
    else
        LoadRecord(dialog.selection);
}

void CRecordEditView::SaveAsNew()
{
    CRecordDatabaseDoc* doc = RecordDoc();
    if (!doc || !m_pCurrent || (m_bLimited && !m_kind.saveAsNewWhenLimited) || !CanSaveForm() || !RelocateRecord())
        return;
    // The stored record keeps its place and its identity, so every other window on it stays
    // there; the copy after it becomes the form's record.
    const std::string storedName = doc->GetRecordName(m_nCurrent);
    const int position = m_nCurrent + 1;
    doc->DuplicateRecord(m_nCurrent);
    const void* copy = doc->GetRecordIdentity(position);
    if (m_bLimited && m_nLimitedPosition >= 0 && m_nLimitedPosition < LimitedCount())
        m_limitedRecords.insert(m_limitedRecords.begin() + m_nLimitedPosition + 1, copy);
    m_pCurrent = copy;
    Broadcast(doc->Kind().hints.inserted, position);
    RelocateRecord();
    // What another window saved stays in the stored record: nothing is replaced.
    m_savedElsewhere.Forget();
    QLineEdit* name = NameField();
    if (ToCp1252(name->text()) == storedName)
        name->setText(FromCp1252(storedName + " (new)"));
    SaveChanges();
    UpdateButtons();
}

void CRecordEditView::Cut()
{
    if (!CanSaveForm())
        return;
    Copy();
    CloseQuietly();
}

// --- limited access -------------------------------------------------------------------------------

void CRecordEditView::SetLimitedIndices(const std::vector<int>& indices)
{
    m_limitedIndices.clear();
    m_limitedRecords.clear();
    const CRecordDatabaseDoc* doc = RecordDoc();
    for (int index : indices) {
        if (const void* record = doc ? doc->GetRecordIdentity(index) : nullptr) {
            m_limitedIndices.push_back(index);
            m_limitedRecords.push_back(record);
        }
    }
    m_bLimited = !m_limitedIndices.empty();
    m_nLimitedPosition = 0;
    if (m_bLimited)
        GoToLimited(0);
    else
        LoadRecord(-1);
}

void CRecordEditView::LeaveLimitedAccess()
{
    if (!m_bLimited)
        return;
    m_bLimited = false;
    m_limitedIndices.clear();
    m_limitedRecords.clear();
    m_nLimitedPosition = 0;
    UpdateButtons();
}

bool CRecordEditView::RelocateRecord()
{
    const CRecordDatabaseDoc* doc = RecordDoc();
    if (!doc)
        return false;
    if (m_bLimited) {
        std::vector<const void*> records;
        std::vector<int> indices;
        for (const void* record : m_limitedRecords) {
            const int index = doc->FindRecordIdentity(record);
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
    const int index = doc->FindRecordIdentity(m_pCurrent);
    if (index < 0)
        return false;
    m_nCurrent = index;
    return true;
}

// --- closing and printing -------------------------------------------------------------------------

void CRecordEditView::CloseQuietly()
{
    m_bClosing = true;
    m_bModified = false;
    if (CFrameHost* frame = GetFrame())
        frame->CloseFrame();
}

void CRecordEditView::Close()
{
    if (!AskAndSave())
        return;
    CloseQuietly();
}

// What the form cannot save it does not print either: a summary without a refused line would be
// taken for the record.
void CRecordEditView::PrintSummary(unsigned id)
{
    if (!CommitPendingEdit() || !CanSaveForm())
        return;
    CPrintJob job([this](CTextPrinter& printer) { FillPrinter(printer); });
    if (id == m_kind.commands.print)
        job.Print(this);
    else if (id == m_kind.commands.printPreview)
        job.PrintPreview(this);
    else
        job.WriteToFile(m_kind.writeToFileTitle);
}
