#pragma once

// The Print menu that the glaze edit and report windows share: for one glaze, its summary (kind
// 1), recipe (kind 2) or full report (kind 3), printed, previewed or written to a text file or
// the clipboard. Both windows use the same command ids.

#include <functional>

class CGlaze;
class CGlazesDoc;
struct CMenuDef;
class CTextPrinter;
class QWidget;

enum GlazePrintCommand : unsigned {
    CmdGlazePrintSummary = 32836,   // "&Print..." (Print Glaze)
    CmdGlazePreviewSummary = 32837, // "Print Pre&view..."
    CmdGlazeWriteSummary = 32838,   // "Write to &File..."
    CmdGlazePrintRecipe = 32854,    // the same under Print Glaze Recipe
    CmdGlazePreviewRecipe = 32855,
    CmdGlazeWriteRecipe = 32856,
    CmdGlazePrintReport = 32857,    // the same under Print Glaze Report
    CmdGlazePreviewReport = 32858,
    CmdGlazeWriteReport = 32859,
    CmdGlazeBatchSizes = 33340,     // "&Set up batch sizes..." (Print Glaze Recipe)
};

// The "&Print" menu of the glaze windows.
CMenuDef GlazePrintMenu();

// The print kind of a Print-menu command; 0 for any other command.
int GlazePrintKind(unsigned id);

// The lines of a print kind of glaze, with the page headers the preferences ask for (none for
// the recipe).
void FillGlazePrinter(CTextPrinter& printer, const CGlazesDoc& document, const CGlaze& glaze, int kind);

// Runs a Print-menu command; print (also File > Print) prints kind without asking which. The
// glaze is asked for when the job lays out its pages, so it is the one shown at that moment.
void RunGlazePrintCommand(unsigned id, int kind, const CGlazesDoc& document,
                          const std::function<CGlaze()>& glaze, QWidget* parent);
