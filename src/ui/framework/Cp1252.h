#pragma once

// The one place where the core's bytes meet Qt's Unicode text.
// Database files and every core string are Windows-1252; widgets show Unicode. Bytes with no
// character in Windows-1252 (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control code of the same
// number, so every byte string survives the way to the screen and back unchanged.

#include <QString>

#include <string>

QString FromCp1252(const std::string& bytes);
QString FromCp1252(const char* bytes);
// Characters outside Windows-1252 become '?'. Wherever that would change what the user wrote,
// ask first (CharactersOutsideCp1252) or keep such characters out (Cp1252Fields.h).
std::string ToCp1252(const QString& text);

// A file's path or name as the file system stores it (UTF-8 here), which is not database text.
QString FromFileName(const std::string& bytes);
// A file name kept in database text (a graph template's background image) as the file system
// takes it, and a path as database text keeps it: each character the same. A path holding
// characters Windows-1252 has no place for has no such text: those characters go into `outside`
// and the text is empty.
std::string FileNameFromCp1252(const std::string& text);
std::string Cp1252FromFileName(const std::string& path, std::u32string& outside);
// A message's text: Windows-1252, with the characters of the file names it holds that
// Windows-1252 has no place for marked by MessagePath (support/MessagePath.h), shown as themselves.
QString FromMessageText(const std::string& bytes);

// True when Windows-1252 has a place for the character (a lone half of a surrogate pair has none).
bool FitsCp1252(char32_t character);
// The characters of text that Windows-1252 has no place for, each once, in the order they first
// appear; a character beyond the basic plane (a surrogate pair) counts as one.
std::u32string CharactersOutsideCp1252(const QString& text);
// Names a character for a message (Windows-1252 text whose other characters are marked, as
// MessagePath marks them) as the user sees it, with its code point beside: "α (U+03B1)"; a
// combining mark on a dotted circle ("◌́ (U+0301)"); one that shows nothing (a control, a format
// character, an unusual blank) by its code point alone ("U+200B").
std::string NameCharacter(char32_t character);
// Names characters so, separated by ", ": "α (U+03B1), → (U+2192)".
std::string NameCharacters(const std::u32string& characters);
