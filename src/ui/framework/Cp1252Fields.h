#pragma once

// Fields whose text goes into the program's records keep out what Windows-1252 cannot hold.
// Typed, pasted or dropped characters outside it are not entered (a line edit refuses the whole
// edit, a multi-line field drops those characters), and the user is told which, once per edit:
// the message comes through the message service as soon as the edit is over.

#include <string>

class QString;
class QTextDocument;
class QWidget;

// The message naming refused characters (named as NameCharacters does).
std::string RefusedCharactersMessage(const std::string& names);

// Puts replacement (nothing when empty) in place of every character of document that
// Windows-1252 cannot hold; each half of a surrogate pair counts as one, as ToCp1252 counts it.
void ReplaceOutsideCp1252(QTextDocument& document, const QString& replacement);

// Guards every line edit (editable combo boxes included) and multi-line text field of root and
// its descendants, root too when it is one. Guarding a field twice changes nothing; fields made
// later are guarded by calling this again.
void KeepFieldsInCp1252(QWidget* root);
