// The limit-formula edit form's own commands: the in-program clipboard, the notes dialog, the
// combinations dialog and the summary it prints.

#include "limits/LimitFormulaEditView.h"

#include "framework/Cp1252.h"
#include "limits/LimitFormulaClipboard.h"
#include "limits/OxideCombosDlg.h"
#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "shell/NamedColors.h"
#include "support/EditTextDlg.h"
#include "support/LineOStream.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

#include <QLineEdit>


void CLimitFormulaEditView::Copy()
{
    CLimitFormula formula = m_work;
    CollectFormula(formula);
    CopyRecordToClipboard(g_limitFormulaClipboard, formula);
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
    SetSummaryPageHeaders(printer);
    const CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    CLimitFormula formula = m_work;
    CollectFormula(formula);
    CLineOStream out(printer, 0);
    doc->WriteSummary(out, {}, false, &formula);
}
