#include "support/ReplaceAll.h"

#include "framework/CommandGuard.h"
#include "framework/MessageService.h"
#include "support/ProgressDlg.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <limits>
#include <new>

namespace {

// The longest text a control holds: its positions are ints, and one more is its end.
constexpr qsizetype kMaxText = std::numeric_limits<int>::max() - 1;
// How often a long step lets the progress window take a click, in milliseconds.
constexpr qint64 kLookInterval = 50;

// The control makes one line break of CR LF, as of a lone CR or a line feed: in the replacement
// they are all line feeds, so that its length is the room it takes in the control.
QString OneLineBreak(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// The control's painting stops while the new text goes in and resumes at the end.
class CFrozenView {
public:
    explicit CFrozenView(QPlainTextEdit* edit) : m_edit(edit) { m_edit->viewport()->setUpdatesEnabled(false); }
    ~CFrozenView()
    {
        m_edit->viewport()->setUpdatesEnabled(true);
        m_edit->viewport()->update();
    }
    CFrozenView(const CFrozenView&) = delete;
    CFrozenView& operator=(const CFrozenView&) = delete;

private:
    QPlainTextEdit* m_edit;
};

std::string Percent(qsizetype done, qsizetype total)
{
    return std::to_string(done * 100 / std::max<qsizetype>(total, 1)) + "%";
}

std::string TooLongText()
{
    return "Replacing every match would make the text longer than a text window can hold. Nothing was replaced.";
}

std::string NoMemoryText()
{
    return NotEnoughMemoryText("replace every match") + " Nothing was replaced.";
}

} // namespace

CReplaceAll::CReplaceAll(QPlainTextEdit* edit, const QString& find, QTextDocument::FindFlags flags,
                         const QString& replacement)
    : m_edit(edit), m_find(find), m_flags(flags & ~QTextDocument::FindBackward),
      m_replacement(OneLineBreak(replacement))
{
    m_clock.start();
}

CReplaceAll::~CReplaceAll()
{
    if (m_progress)
        m_progress->Close();
}

int CReplaceAll::Run(QWidget* progressParent)
{
    // A match lies within one line: a text to find that holds a line break has none.
    if (!m_edit || m_find.isEmpty() || m_find.contains(QLatin1Char('\n'))) {
        QApplication::beep();
        return 0;
    }
    qsizetype newSize = 0;
    try {
        if (!Search(progressParent, newSize))
            return 0;
    } catch (const std::bad_alloc&) {
        m_text = QString();
        m_starts = {};
        Refuse(NoMemoryText());
        return 0;
    }
    if (m_starts.empty()) {
        if (m_progress)
            m_progress->Close();
        QApplication::beep();
        return 0;
    }
    if (newSize > kMaxText) {
        Refuse(TooLongText());
        return 0;
    }
    if (newSize >= kLongText && !m_progress)
        OpenProgress(progressParent, ReplacingText(0));
    return PutInPlace() ? static_cast<int>(Count()) : 0;
}

// Finds every match and the length of the text once they are replaced; false when the user
// cancelled.
bool CReplaceAll::Search(QWidget* progressParent, qsizetype& newSize)
{
    ReadText();
    if (m_text.size() >= kLongText)
        OpenProgress(progressParent, "Searching: 0%");
    const bool searched = FindMatches();
    newSize = m_text.size() + Count() * (m_replacement.size() - m_find.size());
    m_text = QString();
    return searched;
}

void CReplaceAll::ReadText()
{
    const QTextDocument* document = m_edit->document();
    m_text.reserve(document->characterCount());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block != document->begin())
            m_text += QLatin1Char('\n');
        m_text += block.text();
    }
}

// The search of QTextDocument::find, over the whole text at once: no-break spaces are searched
// as spaces; a whole word has no letter or digit next to it, where the one before a match that
// follows a replacement is the replacement's last character (before an empty replacement, the
// character the replaced match followed); past a match that is not a whole word the search
// goes on one character after its end.
bool CReplaceAll::FindMatches()
{
    const QString text =
        m_text.contains(QChar::Nbsp) ? QString(m_text).replace(QChar::Nbsp, QLatin1Char(' ')) : m_text;
    const Qt::CaseSensitivity sensitivity =
        (m_flags & QTextDocument::FindCaseSensitively) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool wholeWords = m_flags & QTextDocument::FindWholeWords;
    qsizetype from = 0;
    qsizetype lastEnd = -1;
    bool wordBeforeNext = false;
    for (;;) {
        if (TimeToLook() && !KeepGoing("Searching: " + Percent(from, text.size())))
            return false;
        const qsizetype start = text.indexOf(m_find, from, sensitivity);
        if (start < 0)
            return true;
        const qsizetype end = start + m_find.size();
        const bool wordBefore = start == lastEnd ? wordBeforeNext : start > 0 && text.at(start - 1).isLetterOrNumber();
        if (wholeWords && (wordBefore || (end < text.size() && text.at(end).isLetterOrNumber()))) {
            from = end + 1;
            continue;
        }
        m_starts.push_back(static_cast<int>(start));
        wordBeforeNext = m_replacement.isEmpty() ? wordBefore : m_replacement.back().isLetterOrNumber();
        lastEnd = from = end;
    }
}

// The matches are replaced one by one, as one edit block that one Undo takes back. A long
// replacement looks at the Cancel button after every piece of kPiece characters or kBatch
// matches: the edit block is closed there without telling anyone (the control's owner would take
// it for an edit of the user's) and reopened after. The last piece, never empty, announces the
// change.
bool CReplaceAll::PutInPlace()
{
    QTextDocument* document = m_edit->document();
    const qsizetype growth = m_replacement.size() - m_find.size();
    const qsizetype perBatch = std::clamp<qsizetype>(kPiece / std::max<qsizetype>(m_replacement.size(), 1), 1, kBatch);
    if (!KeepGoing(ReplacingText(0)))
        return false;
    CFrozenView frozen(m_edit);
    QTextCursor cursor(document);
    qsizetype shift = 0;
    bool open = false;
    bool edited = false;
    try {
        cursor.beginEditBlock();
        open = true;
        for (qsizetype i = 0; i < Count(); ++i) {
            if (i > 0 && i % perBatch == 0 && m_progress) {
                {
                    const QSignalBlocker quiet(document);
                    open = false;
                    cursor.endEditBlock();
                }
                if (!KeepGoing(ReplacingText(i))) {
                    TakeBack();
                    return false;
                }
                cursor.joinPreviousEditBlock();
                open = true;
            }
            const qsizetype at = m_starts[i] + shift;
            cursor.setPosition(static_cast<int>(at));
            cursor.setPosition(static_cast<int>(at + m_find.size()), QTextCursor::KeepAnchor);
            edited = true;
            cursor.insertText(m_replacement);
            shift += growth;
        }
        open = false;
        cursor.endEditBlock();
    } catch (const std::bad_alloc&) {
        if (open) {
            const QSignalBlocker quiet(document);
            cursor.endEditBlock();
        }
        if (edited)
            TakeBack();
        Refuse(NoMemoryText());
        return false;
    }
    return true;
}

// Takes back the replacements made so far, unannounced, with the undo step they made. The
// control's caret and scrolling follow the text back where they were.
void CReplaceAll::TakeBack()
{
    QTextDocument* document = m_edit->document();
    const QSignalBlocker quiet(document);
    document->undo();
    document->clearUndoRedoStacks(QTextDocument::RedoStack);
}

void CReplaceAll::Refuse(const std::string& message)
{
    if (m_progress)
        m_progress->Close();
    AppMessageBox(message, MsgOk | MsgIconExclamation, 0);
}

void CReplaceAll::OpenProgress(QWidget* parent, const std::string& text)
{
    m_progress = std::make_unique<CProgressDlg>(parent);
    m_progress->Open("Replace All", text);
    m_lastLook = m_clock.elapsed();
}

bool CReplaceAll::TimeToLook() const
{
    return m_progress && m_clock.elapsed() - m_lastLook >= kLookInterval;
}

bool CReplaceAll::KeepGoing(const std::string& text)
{
    if (!m_progress)
        return true;
    m_progress->SetText(text);
    m_lastLook = m_clock.elapsed();
    return m_progress->KeepGoing();
}

std::string CReplaceAll::ReplacingText(qsizetype done) const
{
    return "Replacing " + std::to_string(Count()) + " matches: " + Percent(done, Count());
}
