#pragma once

// What a graph view draws, and how it moves: the chosen graph template (its place in the
// graph-templates database and the view's own working copy), the glaze database, glaze, limit
// formula, oxide units and monochrome choice; the keyboard steps through glazes, databases,
// limit formulas, templates and graph types; and what each change notice means for the view.
//
// The view (ui/graphs/GraphView.h) keeps one and rebuilds its chart whenever a step or a notice
// says so. Only the working copy is ever changed here (graph-type steps): the stored template is
// never written. Pointers to glazes, databases, limit formulas and templates are dropped by the
// notice rules, and nothing is read through one unless it is still where it was chosen from: a
// window may redraw (the workspace hands it the maximised place, say) before its own notice of a
// change comes. The template is read only when it is chosen: the view draws its own copy.

#include "graphs/GraphTemplate.h"

#include <string>

class CGlaze;
class CGlazesDoc;
class CGraph;
class CGraphTypesDoc;
class CLimitFormula;
class CUpdateHint;

// A chosen glaze database while it is open, else null; a chosen glaze while that database (open)
// holds it, else null. Windows that keep such a choice across notices read it through these.
CGlazesDoc* LiveGlazeDatabase(CGlazesDoc* glazeDb);
CGlaze* LiveGlaze(CGlazesDoc* glazeDb, CGlaze* glaze);

class CGraphViewState {
public:
    // What a change notice asks of the view.
    enum class HintAction {
        None,
        Rebuild,      // rebuild the chart (closing the information pop-up)
        ResetGraph,   // SetGraph again with the same choices (copies the changed template anew)
        CloseView,    // the template is gone: close the window
    };

    explicit CGraphViewState(CGraphTypesDoc* document = nullptr);

    // The only way in: remembers every choice (the glaze only with a database), copies the
    // template (when given) into the working copy and applies a type override of 0 or more.
    // units and typeOverride -1 keep the template's own.
    void Set(const CGraphTemplate* graphTemplate, CGlazesDoc* glazeDb, CGlaze* glaze, const CLimitFormula* limitFormula,
             int units, int typeOverride);

    // Readies a new graph for Build: the working copy when a template is chosen, the limit
    // formula's name, the units when 0..2, and monochrome when forced.
    void PrepareGraph(CGraph& graph) const;
    // The window caption: the working copy's name, followed by the long name of the graph type it
    // is drawn as when that is not the template's own ("Unity formula (bar): One glaze - Limit
    // Formula (bar)"); "Graph" with no template.
    std::string Caption() const;

    // What the chart is drawn from, each only while it is still there: the glaze database while
    // it is open, the glaze while that database holds it, the limit formula while the open limit
    // formulas hold it; else null.
    CGlazesDoc* ShownGlazeDb() const;
    CGlaze* ShownGlaze() const;
    const CLimitFormula* ShownLimitFormula() const;

    // --- keyboard steps; each returns true when the chart is to be rebuilt ---

    bool NextGlaze();
    bool PreviousGlaze();
    bool NextDatabase();
    bool PreviousDatabase();
    // The working copy's graph type one down (-1) or up (+1), within 0..24.
    bool StepGraphType(int direction);
    bool NextLimitFormula();
    bool PreviousLimitFormula();
    // The template before (-1) or after (+1) the chosen one in the database, or null when there
    // is none (a template not in the database counts as index -1).
    const CGraphTemplate* AdjacentTemplate(int direction) const;

    // --- change notices ---

    HintAction OnHint(const CUpdateHint& hint);

    CGraphTypesDoc* m_pDoc = nullptr;
    int m_templateIndex = -1;
    const CGraphTemplate* m_pTemplate = nullptr;
    CGraphTemplate m_template{"new graph template"};
    int m_templateType = 0; // the chosen template's own graph type
    CGlazesDoc* m_pGlazeDb = nullptr;
    CGlaze* m_pGlaze = nullptr;
    const CLimitFormula* m_pLimitFormula = nullptr;
    int m_units = -1;
    int m_bForceMono = 0;
    int m_bFrozen = 0;

private:
    int TemplateIndexOf(const CGraphTemplate* graphTemplate) const;
    // The database is still open, and the glaze still in it.
    bool DatabaseIsOpen() const;
    bool GlazeIsInDatabase() const;
    HintAction OnGlazeHint(const CUpdateHint& hint);
    HintAction OnTemplateHint(const CUpdateHint& hint);
    HintAction OnLimitFormulaHint(int code);
    HintAction OnDocumentHint(const CUpdateHint& hint);
};
