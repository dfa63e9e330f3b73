#include "support/NotesEdit.h"

#include "support/PlainTextEditLines.h"
#include "support/StringArrayEx.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QTextCursor>

#include <algorithm>

namespace {

bool IsRewrapKey(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers held = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return key.key() == Qt::Key_W && held == Qt::ControlModifier;
}

} // namespace

CNotesEdit::CNotesEdit(QWidget* parent) : QPlainTextEdit(parent)
{
}

int CNotesEdit::AverageCharWidth() const
{
    if (m_averageCharWidth > 0)
        return m_averageCharWidth;
    return std::max(1, QFontMetrics(font()).averageCharWidth());
}

int CNotesEdit::WrapWidth() const
{
    const int characters = viewport()->width() / AverageCharWidth() - 2;
    return std::clamp(characters, kMinWrapWidth, kMaxWrapWidth);
}

void CNotesEdit::Rewrap()
{
    if (isReadOnly())
        return;
    CPlainTextEditLines target(*this);
    CStringArrayEx lines;
    // Whole lines: a long line must come back whole, only wrapped.
    ReadWholeEditLines(*this, lines);
    lines.Reflow(WrapWidth());

    int selectionStart = 0, selectionEnd = 0;
    target.GetSelection(selectionStart, selectionEnd);
    const bool caretAtEnd = selectionStart == static_cast<int>(CoreTextFromEdit(*this).size());

    QTextCursor group(document());
    group.beginEditBlock();
    lines.WriteCEditLines(target, true, false, false);
    group.endEditBlock();

    QTextCursor caret = textCursor();
    caret.movePosition(caretAtEnd ? QTextCursor::End : QTextCursor::Start);
    setTextCursor(caret);
    ensureCursorVisible();
}

// Ctrl+W belongs to the box while it has the focus, even where a window uses it as a shortcut.
bool CNotesEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && IsRewrapKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void CNotesEdit::keyPressEvent(QKeyEvent* event)
{
    if (IsRewrapKey(*event)) {
        Rewrap();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
