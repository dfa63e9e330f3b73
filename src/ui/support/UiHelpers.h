#pragma once

// Drawing and file-system helpers of the controls and dialogs: the 3-D frame of owner-drawn
// buttons and the folder question.

#include <QString>

#include <string>

class QPainter;
class QRect;
class QWidget;

// The text shown when a chosen folder cannot be used.
inline constexpr const char* kNoDirectoryMessage = "Couldn't get directory";

// A raised or sunken one-pixel frame along the inside of rect: black and white (light grey when
// lightGrey) lines, light at the top and left of a raised frame and dark at its bottom and right,
// the other way round for a sunken one. doubleFrame adds a second line one pixel further in at
// the top and left, and for a raised frame at the bottom and right too. The painter's pen is
// left as it was.
void Draw3DFrame(QPainter& painter, const QRect& rect, bool sunken, bool doubleFrame, bool lightGrey);

// Lets the user choose a directory; empty when cancelled. A choice that is no usable local
// directory gives the message "Couldn't get directory" and an empty result.
std::string BrowseForFolder(QWidget* owner, const std::string& title);

// The directory path for what the folder question returned: empty without a message for an
// empty (cancelled) answer; empty after the message when the answer is no existing local
// directory or its path has characters the program's texts cannot hold.
std::string FolderFromChoice(const QString& chosen);
