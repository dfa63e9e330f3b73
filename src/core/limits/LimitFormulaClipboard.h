#pragma once

// The limit-formula database as an in-program clipboard (shell/Clipboards.h): the four functions
// through which the Copy, Cut and Paste templates reach it. The clipboard holds copies of
// formulas only; its combination list stays empty.

#include "limits/LimitFormulaDB.h"

// Empties the clipboard: no formulas, no combinations, no information lines, the name
// "Limit Formulas".
// The limit-formula clipboard, named "Limit Formulas"; valid while an application context exists.
extern CLimitFormulaDB& g_limitFormulaClipboard;

void ClearClipboard(CLimitFormulaDB& clipboard);
int ClipboardCount(const CLimitFormulaDB& clipboard);
// Valid indexes only.
const CLimitFormula& ClipboardRecord(const CLimitFormulaDB& clipboard, int index);
// Appends a copy of record.
void AppendToClipboard(CLimitFormulaDB& clipboard, const CLimitFormula& record);
