#pragma once

// The glaze list's commands that run one of the glaze dialogs and act on its result: Find,
// Re-sort, Set Field, Resequence and Glazes to Materials. The list view calls the Run function
// of a command; the Apply functions are the part after the dialog, for callers that already
// hold the choices.
//
// Every function works on the document through its record operations and reads and changes the
// list's selection through the document (CGlazesDoc::GetSelectedGlazes, ClearSelection,
// SelectGlaze), so it needs no list view of its own. Notices go out with kind 5 (glazes) and the
// given sender, the list view, which the broadcast skips: so the caller passes fillList, which
// refills its own rows (the list's FillList) at the point where the command needs it, before the
// selection is restored. An empty fillList is allowed.
//
// Each dialog opens with the choices remembered in the working preferences and stores the new
// ones on OK (Glazes to Materials keeps its choice in GetGlazesToMaterialsChoice); Cancel keeps
// the old ones and changes nothing.

#include <functional>
#include <string>
#include <vector>

using FillListFn = std::function<void()>;

class CGlazesDoc;
class CView;
class QWidget;
struct MatchCriteria;

// Help contexts of the commands' messages.
inline constexpr unsigned kNoSearchCriteriaHelpId = 197888;
inline constexpr unsigned kGlazesFoundHelpId = 197889;

// The selected rows of the document's list, in ascending order.
std::vector<int> GetSelectedGlazeRows(CGlazesDoc& document);

// --- Find ---

// One database's part of a search: counts the glazes that the request covers (all, or the
// selected rows) and that meet its criteria, and selects them (action 0, after clearing the
// selection), adds them to the selection (1), copies them into the request's target database
// (2) or moves them there (3: appended there, then deleted here from the last row up, with one
// notice 15 carrying the lowest deleted row). Returns the number of matches; an empty database
// gives 0. fillList runs after a move.
int ApplyFindResult(CGlazesDoc& document, const MatchCriteria& request, CView* sender,
                    const FillListFn& fillList = {});
// The Find command: the Find Glazes dialog, the question when no criterion was given, the search
// over this database or every open one (COxidariumApp::SearchGlazeDatabases) and the message with
// the number found. The other databases' list views are told of moved glazes by a notice 15
// without a sender. False when the user cancelled.
bool RunFindGlazes(CGlazesDoc& document, CView* sender, QWidget* parent, const FillListFn& fillList = {});

// --- Re-sort ---

// Sorts the glazes (CGlazesDoc::SortGlazes) under the wait cursor and sends notice 16 with
// index 0.
void ApplyGlazeSort(CGlazesDoc& document, CView* sender, int criterion, bool alphabetical, int element,
                    const FillListFn& fillList = {});
// The Sort dialog, then ApplyGlazeSort. False when the user cancelled.
bool RunSortGlazes(CGlazesDoc& document, CView* sender, QWidget* parent, const FillListFn& fillList = {});

// --- Set Field and Resequence ---

// Between notices 39 and 41 (index 0), sets the field of every glaze (allGlazes) or of each
// selected glaze (CGlazesDoc::SetGlazeField) and sends notice 13 for each with its index and the
// glaze; the selection is restored afterwards. A field of -1 or 0 changes nothing and sends
// nothing.
void ApplySetGlazeField(CGlazesDoc& document, CView* sender, bool allGlazes, int field, const std::string& text,
                        const FillListFn& fillList = {});
bool RunSetGlazeField(CGlazesDoc& document, CView* sender, QWidget* parent, const FillListFn& fillList = {});

// The index texts of count glazes numbered after pattern: the text before its first digit, the
// run of digits there read as a whole number and counted up from, and the rest ("T-10b" gives
// T-10b, T-11b, ...; "A001" gives A1, A2, ...); a pattern without a digit is numbered from 1
// after it ("X" gives X1, X2, ...).
std::vector<std::string> ResequenceTexts(const std::string& pattern, int count);
// Gives the glazes in scope (all, or the selected rows, in list order) their index texts between
// notices 39 and 41, with a notice 13 for each; the selection is restored afterwards.
void ApplyResequence(CGlazesDoc& document, CView* sender, bool allGlazes, const std::string& pattern,
                     const FillListFn& fillList = {});
bool RunResequence(CGlazesDoc& document, CView* sender, QWidget* parent, const FillListFn& fillList = {});

// --- Glazes to Materials ---

// The remembered choice of the Glazes to Materials dialog (0 as mixtures, 1 as frits).
int& GetGlazesToMaterialsChoice();
// With a selection: the dialog, then CGlazesDoc::ConvertGlazeToMaterial on the selected glazes;
// when a material was made, a notice of kind 2 (materials), code 4 with the old material count.
// False when there was no selection or the user cancelled.
bool RunGlazesToMaterials(CGlazesDoc& document, CView* sender, QWidget* parent);
