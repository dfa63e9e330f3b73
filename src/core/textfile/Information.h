#pragma once

// The Information window: the text window into which commands write their reports, line by
// line. It is made on first use through the text-file template, titled "Information"; saving it
// or unchecking "Information Window" turns it into an ordinary text window, and the next report
// opens a new one. Closing it never asks to save. Nothing is broadcast for its creation.
//
// The application's ShowInformation and ClearInformation call these.

#include "support/StringArrayEx.h"

#include <string>

class CTextFileDoc;

// The Information window's document, made first when there is none; null when the text-file
// template is missing or cannot make one.
CTextFileDoc* GetInformationWindow();

// Appends text as one line (made first when needed); dropped when no window can be made.
void ShowInformation(const std::string& text);
// Appends a report's lines as they go into a text control: lines carrying the layout marker 3
// are left out and control characters other than tabs are removed.
void ShowInformation(const CStringArrayEx& lines);
// Empties the Information window (made first when needed).
void ClearInformation();
