#pragma once

// Replace All in a text control, at any size. The matches are those the control's own search
// (QTextDocument::find) finds one after the other from the start, each search beginning after
// the replacement before it. They are all found first, on a copy of the text, so that the size
// of the result is known before anything changes; then they are replaced one by one as one edit
// that one Undo takes back.
//
// Long work (a text or a result of kLongText characters or more) runs under the progress window
// of the long searches (CProgressDlg); Cancel leaves the text, its modified state and its undo as
// they were, even when it comes halfway through the replacing. A result longer than a text
// control can hold, or one there is no memory for, is refused with a message and changes
// nothing.

#include <QElapsedTimer>
#include <QString>
#include <QTextDocument>

#include <memory>
#include <string>
#include <vector>

class CProgressDlg;
class QPlainTextEdit;
class QWidget;

class CReplaceAll {
public:
    // Texts or results of this many characters or more are replaced under the progress window.
    static constexpr qsizetype kLongText = qsizetype(4) << 20;
    // Under the progress window the Cancel button is looked at after every kBatch replacements,
    // or sooner, after every kPiece characters of replacement text.
    static constexpr qsizetype kBatch = 16384;
    static constexpr qsizetype kPiece = qsizetype(1) << 20;

    CReplaceAll(QPlainTextEdit* edit, const QString& find, QTextDocument::FindFlags flags, const QString& replacement);
    ~CReplaceAll();

    // Replaces every match and returns how many; 0 (with a beep) when there is none, 0 when the
    // user cancelled or the replacement was refused.
    int Run(QWidget* progressParent);

private:
    bool Search(QWidget* progressParent, qsizetype& newSize);
    void ReadText();
    bool FindMatches();
    bool PutInPlace();
    void TakeBack();
    void Refuse(const std::string& message);
    qsizetype Count() const { return static_cast<qsizetype>(m_starts.size()); }

    void OpenProgress(QWidget* parent, const std::string& text);
    bool TimeToLook() const;
    bool KeepGoing(const std::string& text);
    std::string ReplacingText(qsizetype done) const;

    QPlainTextEdit* m_edit;
    QString m_find;
    QTextDocument::FindFlags m_flags;
    QString m_replacement;
    // The control's text: its lines joined by line breaks, so that positions are the control's.
    QString m_text;
    // Where the matches start, in order.
    std::vector<int> m_starts;
    std::unique_ptr<CProgressDlg> m_progress;
    QElapsedTimer m_clock;
    qint64 m_lastLook = 0;
};
