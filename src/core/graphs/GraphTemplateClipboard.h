#pragma once

// The graph-template database as an in-program clipboard (shell/Clipboards.h): the four functions
// through which the Copy, Cut and Paste templates reach it. The clipboard holds copies of
// templates; its colour lists stay at their defaults and are never pasted.

#include "graphs/GraphTemplateDatabase.h"

// Empties the clipboard: no templates or information lines, the name "Graph Templates", the
// default colours.
// The graph-template clipboard, named "Graph Templates"; valid while an application context
// exists.
extern CGraphTemplateDatabase& g_graphTemplateClipboard;

void ClearClipboard(CGraphTemplateDatabase& clipboard);
int ClipboardCount(const CGraphTemplateDatabase& clipboard);
// Valid indexes only.
const CGraphTemplate& ClipboardRecord(const CGraphTemplateDatabase& clipboard, int index);
// Appends a copy of record.
void AppendToClipboard(CGraphTemplateDatabase& clipboard, const CGraphTemplate& record);
