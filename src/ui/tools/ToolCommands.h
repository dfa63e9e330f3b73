#pragma once

// The recipe-tool commands of the glaze list: each runs its dialog and,
// on OK, the computation. A list view calls one function per command with its document, its
// selected rows (ascending) and its window as the dialogs' parent.
//
// Blends write into a new glaze database, which is returned (null when nothing was made or the
// user cancelled). Mix and Average insert one glaze into the document, announced with sender
// as the sending view; they return its position (-1 when nothing was inserted), and the list
// then refills its rows. The shopping list and the similarity searches write their reports into
// the Information window.

#include <vector>

class CGlazesDoc;
class CView;
class QWidget;

// "&Line Blend...", "&Triaxial Blend...", "S&quare Blend...": the selected rows preset the end
// glazes in order.
CGlazesDoc* RunLineBlendCommand(CGlazesDoc& document, const std::vector<int>& selection, QWidget* parent);
CGlazesDoc* RunTriaxialBlendCommand(CGlazesDoc& document, const std::vector<int>& selection, QWidget* parent);
CGlazesDoc* RunSquareBlendCommand(CGlazesDoc& document, const std::vector<int>& selection, QWidget* parent);
// "V&arrow Recipe Blend...": the first selected row presets glaze C.
CGlazesDoc* RunVarrowBlendCommand(CGlazesDoc& document, const std::vector<int>& selection, QWidget* parent);

// "Mi&x Glazes...": the first four selected rows preset the dialog's rows with 1 part each.
int RunMixGlazesCommand(CGlazesDoc& document, const std::vector<int>& selection, CView* sender, QWidget* parent);
// "A&verage Glazes": no dialog; the average of the selected glazes.
int RunAverageGlazesCommand(CGlazesDoc& document, const std::vector<int>& selection, CView* sender);

// "Shopping List...": the glazes come from the document's list selection (or all of them).
// False when the user cancelled.
bool RunShoppingListCommand(CGlazesDoc& document, QWidget* parent);

// "Fin&d Similar Glazes": the criteria dialog, then the search under the progress window.
// False when the user cancelled the dialog or the search.
bool RunFindSimilarGlazesCommand(CGlazesDoc& document, QWidget* parent);

// "&Optimize..." of the glaze list: the Optimize dialog with a fresh parameter set and no glaze
// of its own. When the user saves, a glaze "new glaze" (or the name typed) with the parameters,
// the recipe or both is appended at the end of the document, and its position is returned;
// -1 when nothing was added. The caller announces the insertion.
int RunOptimizeCommand(CGlazesDoc& document, QWidget* parent);
