// The commands of the limit-formula edit form: moving between formulas, new formulas, Save as
// New, the in-program clipboard, limited access, closing, the notes dialog, the combinations
// dialog and printing.

#include "limits/LimitFormulaEditView.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "limits/LimitFormulaClipboard.h"
#include "limits/LimitFormulaDB.h"
#include "limits/OxideCombosDlg.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "support/EditTextDlg.h"
#include "support/LineOStream.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"
#include "support/PrintJob.h"
#include "support/SelectOneDlg.h"
#include "support/TextPrinter.h"

#include <QLineEdit>

bool CLimitFormulaEditView::AskAndSave()
{
    const int answer = AskSaveChanges();
    if (answer == MsgResultCancel)
        return false;
    if (answer == MsgResultYes)
        SaveChanges();
    return true;
}

void CLimitFormulaEditView::EditPrevious()
{
    if (m_bLimited) {
        if (m_nLimitedPosition <= 0 || !AskAndSave())
            return;
        --m_nLimitedPosition;
        SetFormulaIndex(m_limitedIndices[static_cast<std::size_t>(m_nLimitedPosition)]);
        return;
    }
    if (m_nFormula <= 0) {
        InsertNew();
        return;
    }
    if (AskAndSave())
        SetFormulaIndex(m_nFormula - 1);
}

void CLimitFormulaEditView::EditNext()
{
    if (m_bLimited) {
        if (m_nLimitedPosition >= static_cast<int>(m_limitedIndices.size()) - 1 || !AskAndSave())
            return;
        ++m_nLimitedPosition;
        SetFormulaIndex(m_limitedIndices[static_cast<std::size_t>(m_nLimitedPosition)]);
        return;
    }
    if (m_nFormula < 0 || m_nFormula >= FormulaCount() - 1) {
        AppendNew();
        return;
    }
    if (AskAndSave())
        SetFormulaIndex(m_nFormula + 1);
}

void CLimitFormulaEditView::InsertAndLoad(int position)
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    doc->InsertFormula(position, CLimitFormula("new limit formula"));
    Broadcast(HintLimitFormulasInserted, position);
    SetFormulaIndex(position);
}

void CLimitFormulaEditView::InsertNew()
{
    if (m_bLimited || !AskAndSave())
        return;
    InsertAndLoad(m_nFormula < 0 ? 0 : m_nFormula);
}

void CLimitFormulaEditView::AppendNew()
{
    if (m_bLimited || !AskAndSave())
        return;
    InsertAndLoad(m_nFormula < 0 ? FormulaCount() : m_nFormula + 1);
}

void CLimitFormulaEditView::JumpTo()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    CSelectOneDlg dialog(this, kSelectLimitFormulaHelpId);
    dialog.caption = "Select a Limit Formula";
    dialog.backgroundColor = GetNamedColor("led_bkg");
    if (m_bLimited) {
        for (const CLimitFormula* formula : m_limitedFormulas)
            dialog.names.push_back(formula->m_name);
        dialog.preselect = m_nLimitedPosition;
    } else {
        dialog.document = doc;
        dialog.preselect = m_nFormula;
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selection < 0)
        return;
    const int current = m_bLimited ? m_nLimitedPosition : m_nFormula;
    if (dialog.selection == current || !AskAndSave())
        return;
    if (m_bLimited) {
        m_nLimitedPosition = dialog.selection;
        SetFormulaIndex(m_limitedIndices[static_cast<std::size_t>(m_nLimitedPosition)]);
    } else {
        SetFormulaIndex(dialog.selection);
    }
}

// The stored version stays where it is (as a copy); the form's formula moves one down and takes
// the edits, so both versions are kept.
void CLimitFormulaEditView::SaveAsNew()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc || m_bLimited || !m_pFormula)
        return;
    const int position = m_nFormula;
    doc->InsertFormula(position, *m_pFormula);
    Broadcast(HintLimitFormulasInserted, position);
    m_nFormula = position + 1;
    if (ToCp1252(m_name->text()) == m_pFormula->m_name)
        m_name->setText(FromCp1252(m_pFormula->m_name + " (new)"));
    SaveChanges();
    UpdateButtons();
}

void CLimitFormulaEditView::Copy()
{
    CLimitFormula formula = m_work;
    CollectFormula(formula);
    CopyRecordToClipboard(g_limitFormulaClipboard, formula);
}

void CLimitFormulaEditView::Cut()
{
    Copy();
    CloseQuietly();
}

void CLimitFormulaEditView::Paste()
{
    if (!CAppContext::IsActive() || ClipboardCount(g_limitFormulaClipboard) == 0)
        return;
    m_work = ClipboardRecord(g_limitFormulaClipboard, 0);
    m_limits = m_work.m_limits;
    ShowFormula();
    SetModified(true);
}

void CLimitFormulaEditView::SetLimitedList(const int* indices, int count)
{
    m_limitedIndices.clear();
    m_limitedFormulas.clear();
    const CLimitFormulaDB* database = Database();
    for (int k = 0; database && k < count; ++k) {
        if (indices[k] >= 0 && indices[k] < database->GetCount()) {
            m_limitedIndices.push_back(indices[k]);
            m_limitedFormulas.push_back(&database->GetAt(indices[k]));
        }
    }
    m_bLimited = true;
    m_nLimitedPosition = 0;
    SetFormulaIndex(m_limitedIndices.empty() ? -1 : m_limitedIndices.front());
}

void CLimitFormulaEditView::LeaveLimitedAccess()
{
    m_bLimited = false;
    m_limitedIndices.clear();
    m_limitedFormulas.clear();
    m_nLimitedPosition = 0;
    UpdateButtons();
}

bool CLimitFormulaEditView::RelocateFormula()
{
    const CLimitFormulaDB* database = Database();
    if (!database)
        return false;
    if (m_bLimited) {
        std::vector<const CLimitFormula*> formulas;
        std::vector<int> indices;
        for (const CLimitFormula* formula : m_limitedFormulas) {
            const int index = database->FindFormula(formula);
            if (index < 0)
                continue;
            if (formula == m_pFormula)
                m_nLimitedPosition = static_cast<int>(formulas.size());
            formulas.push_back(formula);
            indices.push_back(index);
        }
        m_limitedFormulas = std::move(formulas);
        m_limitedIndices = std::move(indices);
    }
    if (!m_pFormula)
        return true;
    const int index = database->FindFormula(m_pFormula);
    if (index < 0)
        return false;
    m_nFormula = index;
    return true;
}

void CLimitFormulaEditView::CloseQuietly()
{
    m_bClosing = true;
    SetModified(false);
    if (CFrameHost* frame = GetFrame())
        frame->CloseFrame();
}

void CLimitFormulaEditView::Close()
{
    CommitPendingEdit();
    if (!AskAndSave())
        return;
    CloseQuietly();
}

void CLimitFormulaEditView::EditNotes()
{
    CEditTextDlg dialog(this, ToCp1252(m_name->text()) + " - Notes", kLimitNotesHelpId, 0);
    dialog.backgroundColor = GetNamedColor("led_bkg");
    dialog.text = CoreTextFromEdit(*m_notes);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_notes->setPlainText(EditTextFromCore(dialog.text));
    SetModified(true);
}

void CLimitFormulaEditView::EditCombinations()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (doc && EditOxideCombinations(this, *doc, this))
        FillCombinationBox();
}

void CLimitFormulaEditView::FillPrinter(CTextPrinter& printer)
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
    CLimitFormula formula = m_work;
    CollectFormula(formula);
    CLineOStream out(printer, 0);
    doc->WriteSummary(out, {}, false, &formula);
}

void CLimitFormulaEditView::PrintSummary(unsigned id)
{
    CommitPendingEdit();
    CPrintJob job([this](CTextPrinter& printer) { FillPrinter(printer); });
    switch (id) {
    case CmdLimEditPrint:
        job.Print(this);
        break;
    case CmdLimEditPrintPreview:
        job.PrintPreview(this);
        break;
    default:
        job.WriteToFile("Limit Formula Summary to File...");
        break;
    }
}
