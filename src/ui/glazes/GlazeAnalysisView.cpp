// The glaze report window: showing a glaze's report, stepping through the glazes, opening the
// edit window, and following the change notices.

#include "glazes/GlazeAnalysisView.h"

#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeEditView.h"
#include "glazes/GlazeReport.h"
#include "limits/LimitFormulaDB.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "support/LineOStream.h"
#include "support/PlainTextEditLines.h"
#include "support/PrintSurface.h"
#include "support/SelectOneDlg.h"

#include <QMdiSubWindow>
#include <QTextCursor>

namespace {

constexpr unsigned kSelectGlazeHelpId = 324;

} // namespace

CGlazeAnalysisView::CGlazeAnalysisView()
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    ApplyReportFont();
}

CGlazeAnalysisView::~CGlazeAnalysisView()
{
    m_bClosing = true;
}

CGlazesDoc* CGlazeAnalysisView::GlazesDoc() const
{
    return dynamic_cast<CGlazesDoc*>(GetDocument());
}

void CGlazeAnalysisView::ApplyReportFont()
{
    if (!CAppContext::IsActive())
        return;
    m_reportFont = g_prefs.glzrepfont;
    setFont(QFontFromLogFont(m_reportFont));
}

void CGlazeAnalysisView::OnInitialUpdate()
{
    if (auto* frame = dynamic_cast<QMdiSubWindow*>(GetFrame()))
        frame->resize(kInitialWidth, kInitialHeight);
    FillReport(-1);
}

void CGlazeAnalysisView::CloseQuietly()
{
    m_bClosing = true;
    if (CFrameHost* frame = GetFrame())
        frame->CloseFrame();
}

// Showing a report computes the glaze's chemistry, which must never count as a change of the
// database.
void CGlazeAnalysisView::FillReport(int index)
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc || index < 0 || index >= doc->GetGlazeCount()) {
        m_nIndex = -1;
        m_pGlaze = nullptr;
        return;
    }
    m_nIndex = index;
    m_pGlaze = doc->GetGlaze(index);
    CStringArrayEx lines;
    {
        CLineOStream out(lines, 0);
        WriteGlazeReport(*m_pGlaze, out);
    }
    const bool modified = doc->IsModified();
    setReadOnly(false);
    CPlainTextEditLines target(*this);
    lines.WriteCEditLines(target, true, true, true);
    setReadOnly(true);
    doc->SetModifiedFlag(modified);
    document()->setModified(false);
    SetViewCaption(*this, m_pGlaze->m_name);
}

bool CGlazeAnalysisView::FindGlazeAgain()
{
    const CGlazesDoc* doc = GlazesDoc();
    for (int i = 0; doc && m_pGlaze && i < doc->GetGlazeCount(); ++i) {
        if (doc->GetGlaze(i) == m_pGlaze) {
            m_nIndex = i;
            return true;
        }
    }
    return false;
}

// The report rebuilt for the glaze it shows, wherever that glaze now stands.
void CGlazeAnalysisView::Refresh()
{
    if (m_pGlaze && FindGlazeAgain())
        FillReport(m_nIndex);
}

void CGlazeAnalysisView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (sender == this || m_bClosing)
        return;
    if (!hint) {
        CView::OnUpdate(sender, hint);
        viewport()->update();
        return;
    }
    const int code = hint->m_nCode;
    switch (code) {
    case HintElementChanged:
    case HintElementsReplaced:
    case HintMaterialsInserted:
    case HintMaterialsDeleted:
    case HintMaterialsReplaced:
    case HintLimitFormulaChanged:
    case HintLimitFormulasInserted:
    case HintLimitFormulasDeleted:
    case HintLimitFormulasReplaced:
    case HintOxideCombinationsChanged:
    case HintPreferencesChanged:
        // The chemistry behind the report changed: it is computed again.
        if (m_pGlaze && (code <= HintMaterialsReplaced || code == HintPreferencesChanged))
            const_cast<CGlaze*>(m_pGlaze)->InvalidateAnalysis();
        if (code == HintPreferencesChanged && CAppContext::IsActive() && !(g_prefs.glzrepfont == m_reportFont)) {
            const QTextCursor selection = textCursor();
            ApplyReportFont();
            Refresh();
            setTextCursor(selection);
            break;
        }
        Refresh();
        break;
    case HintMaterialChanged:
        if (!m_bFrozen) {
            if (m_pGlaze)
                const_cast<CGlaze*>(m_pGlaze)->InvalidateAnalysis();
            Refresh();
        } else if (!FindGlazeAgain()) {
            CloseQuietly();
        }
        break;
    case HintGlazeChanged:
        if (!m_bFrozen && m_pGlaze && hint->m_extra == HintExtra(m_pGlaze))
            Refresh();
        break;
    case HintGlazesInserted:
    case HintGlazesDeleted:
    case HintGlazesReordered:
        if (m_pGlaze && !FindGlazeAgain())
            CloseQuietly();
        break;
    case HintGlazesReplaced:
        // A merge that left this glaze alone leaves its report open.
        if (hint->m_pObject == GetDocument() && !hint->LeavesRecord(m_pGlaze))
            CloseQuietly();
        break;
    case HintBulkChangeBegins:
        m_bFrozen = true;
        break;
    case HintBulkChangeEndsRefreshAll:
    case HintBulkChangeEndsRefreshDocument:
        m_bFrozen = false;
        Refresh();
        break;
    default:
        break;
    }
}

// --- navigation ---------------------------------------------------------------------------------

void CGlazeAnalysisView::OnPrevious()
{
    const CGlazesDoc* doc = GlazesDoc();
    if (doc && m_nIndex >= 1 && m_nIndex < doc->GetGlazeCount())
        FillReport(m_nIndex - 1);
}

void CGlazeAnalysisView::OnNext()
{
    const CGlazesDoc* doc = GlazesDoc();
    if (doc && m_nIndex >= 0 && m_nIndex < doc->GetGlazeCount() - 1)
        FillReport(m_nIndex + 1);
}

void CGlazeAnalysisView::OnJump()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc)
        return;
    CSelectOneDlg dialog(this, kSelectGlazeHelpId);
    dialog.caption = "Select a Glaze";
    dialog.backgroundColor = GetNamedColor("ged_bkg");
    dialog.document = doc;
    dialog.preselect = m_nIndex;
    if (dialog.exec() == QDialog::Accepted && dialog.selection >= 0 && dialog.selection != m_nIndex)
        FillReport(dialog.selection);
}

void CGlazeAnalysisView::OnEditGlaze()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc || m_nIndex < 0 || m_nIndex >= doc->GetGlazeCount())
        return;
    if (CView* edit = doc->FindEditView(m_nIndex)) {
        if (CFrameHost* frame = edit->GetFrame())
            frame->ActivateFrame();
        return;
    }
    if (CGlazeEditView* view = CreateGlazeEditWindow(*doc))
        view->EditGlaze(m_nIndex);
}

// The first graph template, this glaze and its own limit formula when the database has it.
void CGlazeAnalysisView::OnOpenGraph()
{
    CGlazesDoc* doc = GlazesDoc();
    if (!doc || !m_pGlaze || !FindGlazeAgain())
        return;
    CGlazeGraphRequest request;
    request.glaze = m_nIndex;
    const CLimitFormulaDB* formulas = GetCurrentLimitFormulaDB();
    if (formulas && formulas->FindFormulaByName(m_pGlaze->m_limform))
        request.limitFormula = m_pGlaze->m_limform;
    OpenGlazeGraph(*doc, request);
}
