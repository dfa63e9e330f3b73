#pragma once

// A QPlainTextEdit seen as the core's lines target, and the line and text exchange of the
// multi-line boxes of dialogs.
//
// The core counts positions in a text whose lines end in "\r\n"; the widget keeps one character
// per line break. The adapter converts between the two, and between Windows-1252 bytes and the
// widget's text.

#include "support/EditLines.h"
#include "support/StringArrayEx.h"

#include <QString>

#include <string>

class QPlainTextEdit;

class CPlainTextEditLines : public CEditLinesTarget {
public:
    explicit CPlainTextEditLines(QPlainTextEdit& edit) : m_edit(edit) {}

    int GetLineCount() override;
    std::string GetLineText(int index) override;
    void SetText(const std::string& text) override;
    void GetSelection(int& start, int& end) override;
    void ReplaceSelection(const std::string& text) override;
    void SetSelection(int start, int end) override;
    void ScrollCaretIntoView() override;

    // Position conversions: widget position <-> position in the "\r\n" text.
    int ToLinesPosition(int widgetPosition) const;
    int ToWidgetPosition(int linesPosition) const;

private:
    QPlainTextEdit& m_edit;
};

// A core text ("\r\n", lone "\r" or "\n" line ends) as widget text, and the box's whole text
// as a core text with "\r\n" line ends.
QString EditTextFromCore(const std::string& text);
std::string CoreTextFromEdit(QPlainTextEdit& edit);

// Every line of the box, whole whatever its length, trimmed at the right, with the empty lines
// at the end removed; lines is cleared first.
void ReadWholeEditLines(QPlainTextEdit& edit, CStringArrayEx& lines);
