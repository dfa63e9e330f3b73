#pragma once

// The glaze list as an in-program clipboard (shell/Clipboards.h): the four functions through
// which the Copy, Cut and Paste templates reach it.

#include "glazes/GlazeList.h"

// Empties the clipboard: no glazes, no information lines, the name "Glazes".
// The glaze clipboard, named "Glazes"; valid while an application context exists.
extern CGlazeList& g_glazeClipboard;

void ClearClipboard(CGlazeList& clipboard);
int ClipboardCount(const CGlazeList& clipboard);
// Valid indexes only.
const CGlaze& ClipboardRecord(const CGlazeList& clipboard, int index);
// Appends a copy of record.
void AppendToClipboard(CGlazeList& clipboard, const CGlaze& record);
