#include "support/PlainTextEditLines.h"

#include "framework/Cp1252.h"
#include "support/TextHelpers.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

// A block's text as bytes. A soft line break (Shift+Enter) has no byte of its own; it counts as
// a blank so that positions keep matching.
std::string BlockBytes(const QTextBlock& block)
{
    QString text = block.text();
    text.replace(QChar::LineSeparator, QLatin1Char(' '));
    return ToCp1252(text);
}

} // namespace

int CPlainTextEditLines::GetLineCount()
{
    return m_edit.document()->blockCount();
}

std::string CPlainTextEditLines::GetLineText(int index)
{
    const QTextBlock block = m_edit.document()->findBlockByNumber(index);
    return block.isValid() ? BlockBytes(block) : std::string();
}

// Replaced through a cursor rather than setPlainText, so the change can be undone.
void CPlainTextEditLines::SetText(const std::string& text)
{
    QTextCursor cursor(m_edit.document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(EditTextFromCore(text));
    m_edit.setTextCursor(cursor);
}

void CPlainTextEditLines::GetSelection(int& start, int& end)
{
    const QTextCursor cursor = m_edit.textCursor();
    start = ToLinesPosition(cursor.selectionStart());
    end = ToLinesPosition(cursor.selectionEnd());
}

void CPlainTextEditLines::ReplaceSelection(const std::string& text)
{
    QTextCursor cursor = m_edit.textCursor();
    cursor.insertText(EditTextFromCore(text));
    m_edit.setTextCursor(cursor);
}

void CPlainTextEditLines::SetSelection(int start, int end)
{
    QTextCursor cursor = m_edit.textCursor();
    cursor.setPosition(ToWidgetPosition(start));
    cursor.setPosition(ToWidgetPosition(end), QTextCursor::KeepAnchor);
    m_edit.setTextCursor(cursor);
}

void CPlainTextEditLines::ScrollCaretIntoView()
{
    m_edit.ensureCursorVisible();
}

int CPlainTextEditLines::ToLinesPosition(int widgetPosition) const
{
    const QTextDocument* document = m_edit.document();
    const int last = std::max(0, document->characterCount() - 1);
    const int position = std::clamp(widgetPosition, 0, last);
    // Every line break before the position counts twice in the lines text.
    return position + document->findBlock(position).blockNumber();
}

int CPlainTextEditLines::ToWidgetPosition(int linesPosition) const
{
    const QTextDocument* document = m_edit.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const int lineStart = block.position() + block.blockNumber();
        const int lineLength = block.length() - 1;
        // A position between the "\r" and the "\n" stands for the end of the line.
        if (linesPosition <= lineStart + lineLength + 1 || !block.next().isValid())
            return block.position() + std::clamp(linesPosition - lineStart, 0, lineLength);
    }
    return 0;
}

QString EditTextFromCore(const std::string& text)
{
    QString converted = FromCp1252(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    converted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return converted;
}

std::string CoreTextFromEdit(QPlainTextEdit& edit)
{
    std::string bytes;
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
        if (block != edit.document()->begin())
            bytes += "\r\n";
        bytes += BlockBytes(block);
    }
    return bytes;
}

void ReadWholeEditLines(QPlainTextEdit& edit, CStringArrayEx& lines)
{
    lines.clear();
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
        std::string line = BlockBytes(block);
        TrimStringRight(line);
        lines.push_back(std::move(line));
    }
    lines.RemoveTrailingEmpty();
}
