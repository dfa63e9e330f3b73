#pragma once

// The materials database as an in-program clipboard (shell/Clipboards.h): the four functions
// through which the Copy, Cut and Paste templates reach it.

#include "materials/MaterialArray.h"

// The materials clipboard, named "Materials"; valid while an application context exists.
extern CMaterialArray& g_materialClipboard;

void ClearClipboard(CMaterialArray& clipboard);
int ClipboardCount(const CMaterialArray& clipboard);
const CMaterial& ClipboardRecord(const CMaterialArray& clipboard, int index);
void AppendToClipboard(CMaterialArray& clipboard, const CMaterial& record);
