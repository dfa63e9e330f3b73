#include "graphs/GraphViewState.h"

#include "glazes/GlazesDoc.h"
#include "graphs/Graph.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/GraphTypesDoc.h"
#include "limits/LimitFormulasDoc.h"
#include "shell/OxidariumApp.h"
#include "framework/UpdateHint.h"
#include "support/DbFileType.h"

namespace {

constexpr int kGlazesKind = static_cast<int>(DbFileType::Glazes);

int GlazeDocCount() { return g_pApp ? g_pApp->CountGlazeDocs() : 0; }

CGlazesDoc* GlazeDoc(int n) { return g_pApp ? dynamic_cast<CGlazesDoc*>(g_pApp->GetGlazeDoc(n)) : nullptr; }

int IndexOfGlazeDoc(const CGlazesDoc* document) { return g_pApp ? g_pApp->IndexOfGlazeDoc(document) : -1; }

int IndexOfGlaze(const CGlazesDoc& document, const CGlaze* glaze)
{
    for (int i = 0; glaze && i < document.GetGlazeCount(); ++i) {
        if (document.GetGlaze(i) == glaze)
            return i;
    }
    return -1;
}

const CLimitFormulaDB* LimitFormulas() { return g_pLimitFormulasDoc ? &g_pLimitFormulasDoc->Database() : nullptr; }

} // namespace

CGlazesDoc* LiveGlazeDatabase(CGlazesDoc* glazeDb)
{
    return glazeDb && IndexOfGlazeDoc(glazeDb) >= 0 ? glazeDb : nullptr;
}

CGlaze* LiveGlaze(CGlazesDoc* glazeDb, CGlaze* glaze)
{
    return glaze && LiveGlazeDatabase(glazeDb) && IndexOfGlaze(*glazeDb, glaze) >= 0 ? glaze : nullptr;
}

CGraphViewState::CGraphViewState(CGraphTypesDoc* document) : m_pDoc(document) {}

int CGraphViewState::TemplateIndexOf(const CGraphTemplate* graphTemplate) const
{
    return m_pDoc && graphTemplate ? m_pDoc->Database().IndexOf(graphTemplate) : -1;
}

void CGraphViewState::Set(const CGraphTemplate* graphTemplate, CGlazesDoc* glazeDb, CGlaze* glaze,
                          const CLimitFormula* limitFormula, int units, int typeOverride)
{
    m_pTemplate = graphTemplate;
    m_templateIndex = TemplateIndexOf(graphTemplate);
    m_pGlazeDb = glazeDb;
    m_pGlaze = glazeDb ? glaze : nullptr;
    m_pLimitFormula = limitFormula;
    m_units = units;
    if (graphTemplate) {
        m_template = *graphTemplate;
        m_templateType = graphTemplate->type;
    }
    if (typeOverride >= 0)
        m_template.type = typeOverride;
}

void CGraphViewState::PrepareGraph(CGraph& graph) const
{
    if (m_pTemplate) {
        graph.SetTemplate(m_template);
        if (const CLimitFormula* formula = ShownLimitFormula())
            graph.limform = formula->m_name;
        if (m_units >= 0 && m_units <= 2)
            graph.oxtype = m_units;
    }
    if (m_bForceMono)
        graph.mono = 1;
}

std::string CGraphViewState::Caption() const
{
    if (!m_pTemplate)
        return "Graph";
    // Drawn as another graph type than its own (Ctrl+Up, Ctrl+Down, Graph Settings), the window
    // names the type it shows beside the template whose settings draw it.
    const GraphTypeInfo* shown = GetGraphTypeInfo(m_template.type);
    if (shown && m_template.type != m_templateType)
        return m_template.m_name + ": " + shown->longName;
    return m_template.m_name;
}

CGlazesDoc* CGraphViewState::ShownGlazeDb() const { return LiveGlazeDatabase(m_pGlazeDb); }

CGlaze* CGraphViewState::ShownGlaze() const { return LiveGlaze(m_pGlazeDb, m_pGlaze); }

const CLimitFormula* CGraphViewState::ShownLimitFormula() const
{
    const CLimitFormulaDB* formulas = LimitFormulas();
    return formulas && m_pLimitFormula && formulas->FindFormula(m_pLimitFormula) >= 0 ? m_pLimitFormula : nullptr;
}

// --- glazes and databases ---------------------------------------------------------------------

bool CGraphViewState::DatabaseIsOpen() const { return LiveGlazeDatabase(m_pGlazeDb) != nullptr; }

bool CGraphViewState::GlazeIsInDatabase() const { return LiveGlaze(m_pGlazeDb, m_pGlaze) != nullptr; }

// The open glaze databases make one sequence of glazes, database by database; empty databases
// are skipped.
bool CGraphViewState::NextGlaze()
{
    if (m_pGlazeDb && !DatabaseIsOpen()) {
        m_pGlazeDb = nullptr;
        m_pGlaze = nullptr;
        return true;
    }
    int from = 0;
    if (m_pGlazeDb) {
        const int at = IndexOfGlaze(*m_pGlazeDb, m_pGlaze);
        if (at >= 0 && at + 1 < m_pGlazeDb->GetGlazeCount()) {
            m_pGlaze = m_pGlazeDb->GetGlaze(at + 1);
            return true;
        }
        from = IndexOfGlazeDoc(m_pGlazeDb) + 1;
    }
    for (int n = from; n < GlazeDocCount(); ++n) {
        CGlazesDoc* document = GlazeDoc(n);
        if (document && document->GetGlazeCount() > 0) {
            m_pGlazeDb = document;
            m_pGlaze = document->GetGlaze(0);
            return true;
        }
    }
    return false;
}

bool CGraphViewState::PreviousGlaze()
{
    if (!m_pGlazeDb)
        return false;
    const int database = IndexOfGlazeDoc(m_pGlazeDb);
    if (database >= 0) {
        const int at = IndexOfGlaze(*m_pGlazeDb, m_pGlaze);
        if (at >= 1) {
            m_pGlaze = m_pGlazeDb->GetGlaze(at - 1);
            return true;
        }
        for (int n = database - 1; n >= 0; --n) {
            CGlazesDoc* document = GlazeDoc(n);
            if (document && document->GetGlazeCount() > 0) {
                m_pGlazeDb = document;
                m_pGlaze = document->GetGlaze(document->GetGlazeCount() - 1);
                return true;
            }
        }
    }
    // Before the first glaze: no database and no glaze.
    m_pGlazeDb = nullptr;
    m_pGlaze = nullptr;
    return true;
}

bool CGraphViewState::NextDatabase()
{
    const int count = GlazeDocCount();
    const int next = m_pGlazeDb ? IndexOfGlazeDoc(m_pGlazeDb) + 1 : 0;
    if (next >= count)
        return false;
    CGlazesDoc* document = GlazeDoc(next);
    if (document == m_pGlazeDb)
        return false;
    m_pGlazeDb = document;
    m_pGlaze = document && document->GetGlazeCount() > 0 ? document->GetGlaze(0) : nullptr;
    return true;
}

bool CGraphViewState::PreviousDatabase()
{
    if (!m_pGlazeDb)
        return false;
    const int at = IndexOfGlazeDoc(m_pGlazeDb);
    CGlazesDoc* document = at >= 1 ? GlazeDoc(at - 1) : nullptr;
    m_pGlazeDb = document;
    m_pGlaze = document && document->GetGlazeCount() > 0 ? document->GetGlaze(0) : nullptr;
    return true;
}

// --- graph types, limit formulas and templates ------------------------------------------------

bool CGraphViewState::StepGraphType(int direction)
{
    const int type = m_template.type + direction;
    if (type < 0 || type >= kGraphTypeCount)
        return false;
    m_template.type = type;
    return true;
}

bool CGraphViewState::NextLimitFormula()
{
    const CLimitFormulaDB* formulas = LimitFormulas();
    if (!formulas || formulas->GetCount() == 0)
        return false;
    const int at = m_pLimitFormula ? formulas->FindFormula(m_pLimitFormula) : -1;
    if (at + 1 >= formulas->GetCount())
        return false;
    m_pLimitFormula = &formulas->GetAt(at + 1);
    return true;
}

bool CGraphViewState::PreviousLimitFormula()
{
    const CLimitFormulaDB* formulas = LimitFormulas();
    const int at = formulas && m_pLimitFormula ? formulas->FindFormula(m_pLimitFormula) : -1;
    if (at < 1)
        return false;
    m_pLimitFormula = &formulas->GetAt(at - 1);
    return true;
}

const CGraphTemplate* CGraphViewState::AdjacentTemplate(int direction) const
{
    if (!m_pDoc)
        return nullptr;
    const CGraphTemplateDatabase& templates = m_pDoc->Database();
    const int index = TemplateIndexOf(m_pTemplate) + direction;
    if (direction < 0 && TemplateIndexOf(m_pTemplate) < 1)
        return nullptr;
    return index >= 0 && index < templates.GetCount() ? &templates.GetAt(index) : nullptr;
}

// --- change notices ---------------------------------------------------------------------------

CGraphViewState::HintAction CGraphViewState::OnHint(const CUpdateHint& hint)
{
    switch (hint.m_nCode) {
    case HintElementChanged:
    case HintElementsReplaced:
    case HintMaterialsInserted:
    case HintMaterialsDeleted:
    case HintMaterialsReplaced:
    case HintGraphColorsChanged:
    case HintLimitFormulaChanged:
    case HintLimitFormulasInserted:
    case HintOxideCombinationsChanged:
    case HintPreferencesChanged:
        return HintAction::Rebuild;
    case HintMaterialChanged:
    case HintGlazeChanged:
        return m_bFrozen ? HintAction::None : HintAction::Rebuild;
    case HintGlazesInserted:
    case HintGlazesDeleted:
    case HintGlazesReordered:
    case HintGlazesReplaced:
        return OnGlazeHint(hint);
    case HintGraphTemplateChanged:
    case HintGraphTemplatesInserted:
    case HintGraphTemplatesDeleted:
    case HintGraphTemplatesReordered:
    case HintGraphTemplatesReplaced:
        return OnTemplateHint(hint);
    case HintLimitFormulasDeleted:
    case HintLimitFormulasReplaced:
        return OnLimitFormulaHint(hint.m_nCode);
    case HintDocumentOpened:
    case HintDatabaseNotesChanged:
        return hint.m_nKind == kGlazesKind ? HintAction::Rebuild : HintAction::None;
    case HintDocumentClosing:
    case HintDocumentClosed:
        return OnDocumentHint(hint);
    case HintBulkChangeBegins:
        m_bFrozen = 1;
        return HintAction::None;
    case HintBulkChangeEndsRefreshAll:
    case HintBulkChangeEndsRefreshDocument:
        m_bFrozen = 0;
        return HintAction::Rebuild;
    default:
        return HintAction::None;
    }
}

// Glazes inserted or moved leave the glaze where it was; only a deletion is looked for (a
// search through the database, once for each of a burst of notices).
CGraphViewState::HintAction CGraphViewState::OnGlazeHint(const CUpdateHint& hint)
{
    if (m_pGlazeDb && !DatabaseIsOpen()) {
        m_pGlazeDb = nullptr;
        m_pGlaze = nullptr;
    } else if (hint.m_nCode == HintGlazesReplaced) {
        if (hint.m_pObject && hint.m_pObject == static_cast<const void*>(static_cast<CDocument*>(m_pGlazeDb)) &&
            !hint.LeavesRecord(m_pGlaze))
            m_pGlaze = nullptr;
    } else if (hint.m_nCode == HintGlazesDeleted && m_pGlaze && !GlazeIsInDatabase()) {
        m_pGlaze = nullptr;
    }
    return HintAction::Rebuild;
}

CGraphViewState::HintAction CGraphViewState::OnTemplateHint(const CUpdateHint& hint)
{
    if (hint.m_nCode == HintGraphTemplateChanged) {
        const bool mine = m_pTemplate && hint.m_extra == HintExtra(m_pTemplate);
        return mine ? HintAction::ResetGraph : HintAction::None;
    }
    if (hint.m_nCode == HintGraphTemplatesReplaced)
        return HintAction::CloseView;
    // A window that draws no template (the database had none, or Graph Settings chose none)
    // loses nothing when templates come or go.
    if (!m_pTemplate)
        return HintAction::None;
    m_templateIndex = TemplateIndexOf(m_pTemplate);
    return m_templateIndex < 0 ? HintAction::CloseView : HintAction::None;
}

CGraphViewState::HintAction CGraphViewState::OnLimitFormulaHint(int code)
{
    const CLimitFormulaDB* formulas = LimitFormulas();
    if (code == HintLimitFormulasReplaced || !formulas || (m_pLimitFormula && formulas->FindFormula(m_pLimitFormula) < 0))
        m_pLimitFormula = nullptr;
    return HintAction::Rebuild;
}

CGraphViewState::HintAction CGraphViewState::OnDocumentHint(const CUpdateHint& hint)
{
    // The formula, and the glaze database with its glaze, go before their database does:
    // nothing may redraw from them while it closes.
    if (hint.m_nKind == static_cast<int>(DbFileType::LimitFormulas) && hint.m_nCode == HintDocumentClosing &&
        m_pLimitFormula) {
        m_pLimitFormula = nullptr;
        return HintAction::Rebuild;
    }
    if (hint.m_nKind == kGlazesKind && hint.m_nCode == HintDocumentClosing && m_pGlazeDb &&
        hint.m_pObject == static_cast<const void*>(static_cast<CDocument*>(m_pGlazeDb))) {
        m_pGlazeDb = nullptr;
        m_pGlaze = nullptr;
        return HintAction::Rebuild;
    }
    if (hint.m_nKind != kGlazesKind || hint.m_nCode != HintDocumentClosed)
        return HintAction::None;
    if (m_pGlazeDb && !DatabaseIsOpen()) {
        m_pGlazeDb = nullptr;
        m_pGlaze = nullptr;
    } else if (m_pGlaze && !GlazeIsInDatabase()) {
        m_pGlaze = nullptr;
    }
    return HintAction::Rebuild;
}
