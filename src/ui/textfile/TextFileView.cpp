#include "textfile/TextFileView.h"

#include "framework/Cp1252.h"
#include "framework/Cp1252Fields.h"
#include "framework/MdiFrame.h"
#include "framework/UpdateHint.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/FindReplaceDlg.h"
#include "support/PrintJob.h"
#include "support/PrintSurface.h"
#include "textfile/TextFileCommands.h"
#include "textfile/TextFileDoc.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr int kTabStopChars = 8;

// The core separates lines with CR LF (or a lone CR); the control with LF.
QString ToControlText(const std::string& text)
{
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            plain += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            plain += text[i];
        }
    }
    return FromCp1252(plain);
}

// A scope in which changes of the text are the program's, not the user's.
class CSilentScope {
public:
    explicit CSilentScope(int& counter) : m_counter(counter) { ++m_counter; }
    ~CSilentScope() { --m_counter; }
    CSilentScope(const CSilentScope&) = delete;
    CSilentScope& operator=(const CSilentScope&) = delete;

private:
    int& m_counter;
};

} // namespace

CTextFileView::CTextFileView()
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    textFont = CAppContext::IsActive() ? g_prefs.textvfont : CLogFont::Default();
    ApplyFont();
    connect(document(), &QTextDocument::contentsChange, this, &CTextFileView::OnContentsChange);
}

CTextFileView::~CTextFileView() = default;

void CTextFileView::ApplyFont()
{
    CSilentScope silent(m_silent);
    setFont(QFontFromLogFont(textFont));
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * kTabStopChars);
}

void CTextFileView::OnInitialUpdate()
{
    CTextFileViewBase::OnInitialUpdate();
    if (auto* frame = dynamic_cast<CMDIChildFrame*>(GetFrame()))
        frame->resize(kInitialWidth, kInitialHeight);
}

void CTextFileView::OnUpdate(CView* sender, const CUpdateHint* hint)
{
    if (!hint) {
        CView::OnUpdate(sender, hint);
        return;
    }
    if (hint->m_nCode != HintPreferencesChanged || !CAppContext::IsActive() || g_prefs.textvfont == textFont)
        return;
    // The text, the selection and the modified flag stay as they are; only the font changes.
    textFont = g_prefs.textvfont;
    ApplyFont();
    viewport()->update();
}

// --- the control -------------------------------------------------------------------------------

int CTextFileView::GetLineCount()
{
    return document()->blockCount();
}

std::string CTextFileView::GetLineText(int index)
{
    const QString text = document()->findBlockByNumber(index).text();
    return m_linesAsUtf8 ? text.toStdString() : ToCp1252(text);
}

void CTextFileView::SetControlText(const std::string& text)
{
    CSilentScope silent(m_silent);
    setPlainText(ToControlText(text));
}

void CTextFileView::AppendControlText(const std::string& text)
{
    CSilentScope silent(m_silent);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(ToControlText(text));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void CTextFileView::MoveCaretToStart()
{
    moveCursor(QTextCursor::Start);
}

void CTextFileView::SetRedraw(bool redraw)
{
    viewport()->setUpdatesEnabled(redraw);
    if (redraw)
        viewport()->update();
}

void CTextFileView::EmptyControlUndo()
{
    document()->clearUndoRedoStacks();
}

void CTextFileView::ControlUndo()
{
    CSilentScope silent(m_silent);
    undo();
    // One level only: what was undone cannot be redone.
    document()->clearUndoRedoStacks(QTextDocument::RedoStack);
}

void CTextFileView::SetCaption(const std::string& caption)
{
    ShowCaption(caption, false);
}

void CTextFileView::SetFileCaption(const std::string& path)
{
    ShowCaption(path, true);
}

void CTextFileView::ShowCaption(const std::string& caption, bool fileName)
{
    setWindowTitle(WindowCaption(caption, fileName));
    SetViewCaption(*this, caption, fileName);
}

std::string CTextFileView::UnsavableCharacters() const
{
    return NameCharacters(CharactersOutsideCp1252(toPlainText()));
}

void CTextFileView::ShowUnsavableCharactersAsSaved()
{
    CSilentScope silent(m_silent);
    ReplaceOutsideCp1252(*document(), QStringLiteral("?"));
}

bool CTextFileView::AskTabSize(std::string& answer)
{
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("untabifyDialog"));
    dialog.setWindowTitle(FromCp1252(kUntabifyCaption));
    dialog.setLabelText(FromCp1252(kUntabifyPrompt));
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    answer = ToCp1252(dialog.textValue());
    return true;
}

void CTextFileView::OnContentsChange(int /*position*/, int removed, int added)
{
    // Format-only changes report as many characters removed as added, and none is an edit.
    if (m_silent > 0 || (removed == 0 && added == 0))
        return;
    OnTextEdited();
}

void CTextFileView::GetCaretInfo(int& line, int& column, int& lineCount, int& length) const
{
    const QTextCursor cursor = textCursor();
    line = cursor.blockNumber() + 1;
    column = cursor.positionInBlock() + 1;
    lineCount = document()->blockCount();
    length = document()->characterCount() - 1 + (lineCount - 1);
}

// --- keys, mouse, clipboard ----------------------------------------------------------------------

unsigned CTextFileView::CommandForKey(const QKeyEvent* event) const
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->matches(QKeySequence::Undo))
        return CmdEditUndo;
    if (modifiers == Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_Delete:
            return CmdEditClearAll;
        case Qt::Key_F:
            return CmdEditFind;
        case Qt::Key_H:
            return CmdEditReplace;
        default:
            return 0;
        }
    }
    if (modifiers == Qt::NoModifier && event->key() == Qt::Key_F3)
        return CmdEditRepeat;
    return 0;
}

bool CTextFileView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // These keys are the window's commands (its menu's shortcuts), not the control's own.
        if (CommandForKey(key) != 0 || key->matches(QKeySequence::Redo)) {
            event->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void CTextFileView::keyPressEvent(QKeyEvent* event)
{
    // Reached when no menu shortcut took the key first.
    if (const unsigned id = CommandForKey(event)) {
        RunCommand(id);
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Redo)) {
        event->accept(); // one level of undo, nothing to redo
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CTextFileView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    const std::pair<unsigned, const char*> entries[] = {
        {CmdEditUndo, "&Undo"},   {0, nullptr},           {CmdEditCut, "Cu&t"},
        {CmdEditCopy, "&Copy"},   {CmdEditPaste, "&Paste"}, {CmdEditClear, "&Delete"},
        {0, nullptr},             {CmdEditSelectAll, "Select &All"},
    };
    for (const auto& [id, text] : entries) {
        if (id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(FromCp1252(text));
        CCmdUI ui(id);
        OnUpdateCommand(ui);
        action->setEnabled(ui.m_bEnabled);
        const unsigned command = id;
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    }
    menu.exec(event->globalPos());
}

bool CTextFileView::canInsertFromMimeData(const QMimeData* source) const
{
    // Plain text only: dropped files and other formats are refused.
    return source && source->hasText() && !source->hasUrls();
}

void CTextFileView::insertFromMimeData(const QMimeData* source)
{
    if (canInsertFromMimeData(source))
        QPlainTextEdit::insertFromMimeData(source);
}

bool CTextFileView::HasPlainClipboardText() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

// --- commands ------------------------------------------------------------------------------------

bool CTextFileView::RunCommand(unsigned id)
{
    CMDIMainFrame* mainFrame = CMDIMainFrame::Instance();
    if (mainFrame && mainFrame->ActiveView() == this)
        return mainFrame->ExecuteCommand(id);
    CCmdTarget* targets[] = {this, GetDocument()};
    for (CCmdTarget* target : targets) {
        CCmdUI ui(id);
        if (target && target->OnUpdateCommand(ui))
            return ui.m_bEnabled && target->OnCommand(id);
    }
    return false;
}

void CTextFileView::ShowFindDialog(bool replace)
{
    if (m_findDialog && m_findDialog->IsReplaceDialog() != replace) {
        delete m_findDialog;
        m_findDialog = nullptr;
    }
    if (!m_findDialog)
        m_findDialog = new CFindReplaceDlg(this, replace);
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

void CTextFileView::FindNextAgain()
{
    if (CFindReplaceDlg::HasLastSearch())
        CFindReplaceDlg::FindAgain(this);
    else
        ShowFindDialog(false);
}

void CTextFileView::FillPrinter(CTextPrinter& printer, bool unicode)
{
    printer.m_keepTabs = true;
    printer.m_showFirstHeader = false;
    printer.m_showLaterHeader = false;
    printer.m_firstPageNumber = false;
    printer.m_laterPageNumber = true;
    printer.m_firstHeaderRule = true;
    printer.m_laterHeaderRule = true;
    // The lines as they would be saved; none is cut, however long.
    CStringArrayEx lines;
    const QScopedValueRollback<bool> form(m_linesAsUtf8, unicode);
    ReadLines(lines, false, true);
    printer.Append(lines);
}

void CTextFileView::PrintText(unsigned id)
{
    printKind = 1;
    CPrintJob job([this](CTextPrinter& printer) { FillPrinter(printer); });
    switch (id) {
    case CmdTextPrint:
        job.Print(this);
        break;
    case CmdTextPrintPreview:
        job.PrintPreview(this);
        break;
    default:
        // A file gets the text as Windows-1252, as a save writes it: the same question first.
        // The clipboard holds Unicode text: it gets every character as it is, without asking.
        if (const auto* doc = dynamic_cast<const CTextFileDoc*>(GetDocument()))
            job.m_confirmFile = [doc](const std::string& path) { return doc->ConfirmUnsavableCharacters(path); };
        job.m_unicodeClipboardFill = [this](CTextPrinter& printer) { FillPrinter(printer, true); };
        job.WriteToFile("Text to File...");
        break;
    }
}

bool CTextFileView::OnCommand(unsigned id)
{
    switch (id) {
    case CmdEditPaste:
        paste();
        return true;
    case CmdEditClearAll:
        selectAll();
        textCursor().removeSelectedText();
        return true;
    case CmdEditCut:
        cut();
        return true;
    case CmdEditCopy:
        copy();
        return true;
    case CmdEditClear:
        textCursor().removeSelectedText();
        return true;
    case CmdEditSelectAll:
        selectAll();
        return true;
    case CmdEditFind:
    case CmdEditReplace:
        ShowFindDialog(id == CmdEditReplace);
        return true;
    case CmdEditRepeat:
        FindNextAgain();
        return true;
    case CmdTextPrint:
    case CmdTextPrintPreview:
    case CmdTextWriteToFile:
        PrintText(id);
        return true;
    default:
        return CTextFileViewBase::OnCommand(id);
    }
}

bool CTextFileView::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.m_nID) {
    case CmdEditPaste:
        ui.Enable(HasPlainClipboardText());
        return true;
    case CmdEditClearAll: {
        const CDocument* doc = GetDocument();
        ui.Enable(doc && doc->GetPathName().empty());
        return true;
    }
    case CmdEditCut:
    case CmdEditCopy:
    case CmdEditClear:
        ui.Enable(textCursor().hasSelection());
        return true;
    case CmdEditSelectAll:
    case CmdEditFind:
    case CmdEditReplace:
    case CmdEditRepeat:
    case CmdTextPrint:
    case CmdTextPrintPreview:
    case CmdTextWriteToFile:
        ui.Enable(true);
        return true;
    default:
        return CTextFileViewBase::OnUpdateCommand(ui);
    }
}
