#pragma once

// Where the widget tests write: a temporary folder of the test process's own (never the build
// tree, never a folder other processes share). It holds fontconfig's cache and the screenshots
// saved for a human to look at, and is removed when the tests end unless something in it must
// stay (KeepTestFolder). To keep the screenshots, name a folder for them in OXI_SCREENSHOTS;
// the folder the screenshots go to is printed when the first one is saved.

#include <QString>

// Made by main before the application object (fontconfig reads its cache folder then), and
// removed (or kept) when the tests end.
void StartTestFolder();
void EndTestFolder();

// The process's folder.
QString TestFolder();
// Keeps the process's folder after the tests (for a failure's output) and prints its path.
void KeepTestFolder();
// The folder for screenshots (made when first asked for): OXI_SCREENSHOTS, else "screenshots"
// in the process's folder.
QString ScreenshotFolder();
