#include "support/FindReplaceDlg.h"

#include "support/ReplaceAll.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

// The last search of any text window, for Find Next without the dialog.
struct CLastSearch {
    QString text;
    QTextDocument::FindFlags flags;
};
CLastSearch s_lastSearch;

// The next match from the caret, wrapping round once; the match is selected.
bool FindFrom(QPlainTextEdit* edit, const QString& text, QTextDocument::FindFlags flags)
{
    if (!edit || text.isEmpty())
        return false;
    if (edit->find(text, flags))
        return true;
    const QTextCursor saved = edit->textCursor();
    QTextCursor start(edit->document());
    start.movePosition((flags & QTextDocument::FindBackward) ? QTextCursor::End : QTextCursor::Start);
    edit->setTextCursor(start);
    if (edit->find(text, flags))
        return true;
    edit->setTextCursor(saved);
    return false;
}

bool SameText(const QString& a, const QString& b, QTextDocument::FindFlags flags)
{
    return a.compare(b, (flags & QTextDocument::FindCaseSensitively) ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

} // namespace

CFindReplaceDlg::CFindReplaceDlg(QPlainTextEdit* edit, bool replace)
    : QDialog(edit), m_edit(edit), m_replace(replace)
{
    setWindowTitle(replace ? tr("Replace") : tr("Find"));
    setModal(false);
    BuildLayout();
    m_findEdit->setText(s_lastSearch.text);
    m_matchCase->setChecked(s_lastSearch.flags & QTextDocument::FindCaseSensitively);
    m_wholeWord->setChecked(s_lastSearch.flags & QTextDocument::FindWholeWords);
    UpdateButtons();
}

void CFindReplaceDlg::BuildLayout()
{
    auto* grid = new QGridLayout;
    m_findEdit = new QLineEdit(this);
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(m_findEdit);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_findEdit, 0, 1);
    m_replaceEdit = new QLineEdit(this);
    if (m_replace) {
        auto* replaceLabel = new QLabel(tr("Re&place with:"), this);
        replaceLabel->setBuddy(m_replaceEdit);
        grid->addWidget(replaceLabel, 1, 0);
        grid->addWidget(m_replaceEdit, 1, 1);
    } else {
        m_replaceEdit->hide();
    }
    m_wholeWord = new QCheckBox(tr("Match &whole word only"), this);
    m_matchCase = new QCheckBox(tr("Match &case"), this);
    auto* options = new QVBoxLayout;
    options->addLayout(grid);
    options->addWidget(m_wholeWord);
    options->addWidget(m_matchCase);

    auto* direction = new QGroupBox(tr("Direction"), this);
    m_up = new QRadioButton(tr("&Up"), direction);
    m_down = new QRadioButton(tr("&Down"), direction);
    m_down->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);
    // Replace always works downwards.
    direction->setVisible(!m_replace);
    options->addWidget(direction);

    m_findNextButton = new QPushButton(tr("&Find Next"), this);
    m_findNextButton->setDefault(true);
    m_replaceButton = new QPushButton(tr("&Replace"), this);
    m_replaceAllButton = new QPushButton(tr("Replace &All"), this);
    m_replaceButton->setVisible(m_replace);
    m_replaceAllButton->setVisible(m_replace);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNextButton);
    buttons->addWidget(m_replaceButton);
    buttons->addWidget(m_replaceAllButton);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(options, 1);
    layout->addLayout(buttons);

    connect(m_findEdit, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
    connect(m_findNextButton, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(m_replaceButton, &QPushButton::clicked, this, [this] { ReplaceCurrent(); });
    connect(m_replaceAllButton, &QPushButton::clicked, this, [this] { ReplaceAll(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

void CFindReplaceDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A selection on one line is what the user most likely wants to find.
    const QString selected = m_edit ? m_edit->textCursor().selectedText() : QString();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_findEdit->setText(selected);
    m_findEdit->selectAll();
    m_findEdit->setFocus();
}

void CFindReplaceDlg::UpdateButtons()
{
    const bool any = !m_findEdit->text().isEmpty();
    m_findNextButton->setEnabled(any);
    m_replaceButton->setEnabled(any);
    m_replaceAllButton->setEnabled(any);
}

void CFindReplaceDlg::Remember()
{
    QTextDocument::FindFlags flags;
    if (m_matchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (m_wholeWord->isChecked())
        flags |= QTextDocument::FindWholeWords;
    if (!m_replace && m_up->isChecked())
        flags |= QTextDocument::FindBackward;
    s_lastSearch = {m_findEdit->text(), flags};
}

bool CFindReplaceDlg::FindNext()
{
    Remember();
    return FindAgain(m_edit);
}

bool CFindReplaceDlg::ReplaceCurrent()
{
    Remember();
    if (!m_edit || s_lastSearch.text.isEmpty())
        return false;
    QTextCursor cursor = m_edit->textCursor();
    if (cursor.hasSelection() && SameText(cursor.selectedText(), s_lastSearch.text, s_lastSearch.flags)) {
        cursor.insertText(m_replaceEdit->text());
        m_edit->setTextCursor(cursor);
    }
    return FindAgain(m_edit);
}

int CFindReplaceDlg::ReplaceAll()
{
    Remember();
    if (!m_edit || s_lastSearch.text.isEmpty())
        return 0;
    CReplaceAll replace(m_edit, s_lastSearch.text, s_lastSearch.flags, m_replaceEdit->text());
    return replace.Run(this);
}

bool CFindReplaceDlg::FindAgain(QPlainTextEdit* edit)
{
    if (FindFrom(edit, s_lastSearch.text, s_lastSearch.flags))
        return true;
    QApplication::beep();
    return false;
}

bool CFindReplaceDlg::HasLastSearch()
{
    return !s_lastSearch.text.isEmpty();
}
