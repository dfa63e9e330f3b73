#pragma once

// The glaze list's Make Limit Formula command: the Make Limit Formula dialog fills a request,
// every glaze list in scope adds its glazes' values to it (COxidariumApp::ApplyToGlazesViews),
// and the limit-formulas document compiles and appends the new formula
// (CLimitFormulasDoc::CompileFromGlazes). The limit-formula views then hear of the new formula
// through a notice of kind 4, code 25, carrying the old formula count.

class CGlazesDoc;
class CMakeLimitFormulaRequest;
class CView;
class QWidget;

// Adds the values of the document's glazes (all, or the selected rows, as the request says) to
// the request: a glaze with a valid analysis counts as used, any other as skipped. An empty
// database adds nothing.
void AccumulateGlazeStats(CGlazesDoc& document, CMakeLimitFormulaRequest& request);

// What follows the dialog: the values of view's database, or of every open glaze database's
// list, are gathered under the wait cursor and the formula is compiled; the notice follows when
// a formula was made. Returns the new formula's index, or -1 when none was made (no
// limit-formulas document, or no glaze used, which the document reports).
int MakeLimitFormulaFromGlazes(CView* view, CMakeLimitFormulaRequest& request);

// The whole command for the list view of document. False when the user cancelled.
bool RunMakeLimitFormula(CGlazesDoc& document, CView* view, QWidget* parent);
