#pragma once

// The program's printer and page set-up, chosen with Print Setup... (command 57606): printer,
// paper, orientation and margins. Every print and print preview starts from it, and the printer
// and paper chosen in a Print dialog become the set-up for the next one, as in any desktop
// program. Page ranges and copies belong to one job and are not kept.

class QPrinter;
class QWidget;

// Gives printer the program's printer and page set-up.
void ApplyPrintSetup(QPrinter& printer);
// Keeps printer's printer and page set-up for the jobs that follow.
void RememberPrintSetup(const QPrinter& printer);
// Shows the page set-up dialog over parent; on OK its choices become the program's set-up.
// Returns true when the user chose OK.
bool RunPrintSetupDialog(QWidget* parent);
