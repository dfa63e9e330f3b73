// The substitution edit form's own commands: the in-program clipboard and the summary it prints.

#include "substitutions/SubstitutionEditView.h"

#include "shell/AppContext.h"
#include "shell/Clipboards.h"
#include "support/LineOStream.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

// The base asked CanSaveForm before Copy and printing: a form holding a refused line gives
// nothing.
void CSubstitutionEditView::Copy()
{
    CSubstitution record = m_work;
    if (!GatherRecord(record))
        CopyRecordToClipboard(g_substitutionClipboard, record);
}

void CSubstitutionEditView::Paste()
{
    if (!CAppContext::IsActive() || ClipboardCount(g_substitutionClipboard) == 0)
        return;
    ShowRecord(ClipboardRecord(g_substitutionClipboard, 0));
    SetModified(true);
}

void CSubstitutionEditView::FillPrinter(CTextPrinter& printer)
{
    SetSummaryPageHeaders(printer);
    const CSubstitutionsDoc* doc = SubstitutionsDoc();
    if (!doc)
        return;
    CSubstitution record = m_work;
    if (GatherRecord(record))
        return;
    CLineOStream out(printer, 0);
    doc->WriteSummaries(out, {}, &record);
}
