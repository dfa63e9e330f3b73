#pragma once

// The multi-line text fields of the Qt this program is built with on Debian 12 (6.4.2) crash
// when asked to paste from a clipboard that offers no formats at all. That is what X hands back
// once the program that copied has quit, or when nothing was ever copied: copying in a browser,
// closing it and pressing Ctrl+V in a recipe field would end the program and lose every unsaved
// edit. The guard stands between every such paste and the field: from the keyboard (Ctrl+V,
// Shift+Insert, Ctrl+Shift+Insert), the middle mouse button (the X selection), a drop, or the
// field's context menu. With nothing to paste nothing happens; with text the field pastes as
// always, by its own rules. It watches the whole application, so no field needs to know of it.
// Line edits and editable combo boxes read the clipboard's text and never crash; they need none.

class QApplication;

// Installs the guard as an event filter of application (which owns it). Installing it twice
// changes nothing.
void InstallPasteGuard(QApplication& application);
