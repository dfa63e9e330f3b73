#include "textfile/TextFileView.h"

#include "core/framework/FakeFileDialogs.h"
#include "core/shell/FakeMessageService.h"
#include "core/support/FakeServices.h"
#include "ui/framework/TypeText.h"
#include "framework/MdiFrame.h"
#include "framework/PrintPreviewDlg.h"
#include "framework/UpdateHint.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/FindReplaceDlg.h"
#include "support/ProgressDlg.h"
#include "support/TextPrinter.h"
#include "textfile/Information.h"
#include "textfile/TextFileCommands.h"
#include "textfile/TextFileDoc.h"
#include "ui/support/ModalDialogTest.h"
#include "ui/support/TestFolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QInputDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace {

void FlushEvents()
{
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs act on the modal dialog of type T that the next call opens, from inside its event loop;
// one that never comes up fails the test.
template <class T>
void OnModal(const std::function<void(T*)>& act)
{
    WhenDialogShows<T>([act](T& dialog) { act(&dialog); });
}

// Answers the tab-size question.
void AnswerTabSize(const QString& answer)
{
    OnModal<QInputDialog>([answer](QInputDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Untabify File");
        EXPECT_EQ(dialog->labelText(), "How many spaces per tab stop?");
        dialog->setTextValue(answer);
        dialog->accept();
    });
}

// Drags data into the view's top left corner and drops it there.
void DropOn(QPlainTextEdit* edit, QMimeData& data)
{
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit->viewport(), &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit->viewport(), &drop);
}

class TextFileViewTest : public ::testing::Test {
protected:
    TextFileViewTest()
    {
        InstallTextFileTemplate(*m_template);
        g_pTextFileTemplate = m_template.get();
        m_frame.SetApplicationTarget(&m_noApplication);
        m_frame.resize(900, 640);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
    }
    ~TextFileViewTest() override
    {
        for (CMDIChildFrame* child : m_frame.ChildFrames())
            child->CloseFrame();
        FlushEvents();
        g_pTextFileTemplate = nullptr;
    }

    std::string WriteFile(const std::string& name, const std::string& bytes) const
    {
        const std::string path = m_dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string ReadAll(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    CTextFileView* Open(const std::string& path)
    {
        CDocument* document = m_template->OpenDocumentFile(path);
        return document ? dynamic_cast<CTextFileView*>(static_cast<CTextFileDoc*>(document)->GetTextView())
                        : nullptr;
    }
    static CTextFileView* ViewOf(CTextFileDoc* document)
    {
        return dynamic_cast<CTextFileView*>(document->GetTextView());
    }
    static CMDIChildFrame* FrameOf(CTextFileView* view) { return dynamic_cast<CMDIChildFrame*>(view->GetFrame()); }

    QTemporaryDir m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
    CFakeFileDialogs m_dialogs;
    COxidariumApp m_app;
    std::unique_ptr<CDocTemplate> m_template = CreateTextFileTemplate();
    CCmdTarget m_noApplication;
    CMDIMainFrame m_frame;
};

} // namespace

TEST_F(TextFileViewTest, ACrOnlyFileOpensLineByLineInItsOwnWindow)
{
    const std::string path = WriteFile("cr.txt", "Silica\rWhiting\r\rKaolin");
    CTextFileView* view = Open(path);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->toPlainText(), "Silica\nWhiting\n\nKaolin\n");
    EXPECT_EQ(view->document()->blockCount(), 5);
    EXPECT_EQ(FrameOf(view)->windowTitle(), QString::fromStdString(path));
    EXPECT_EQ(FrameOf(view)->size(), QSize(600, 250));
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(view->textCursor().position(), 0);
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_FALSE(m_frame.QueryCommand(CmdEditUndo).m_bEnabled);
    EXPECT_EQ(m_frame.CurrentMenuResource(), kTextFileResourceId);
}

TEST_F(TextFileViewTest, TypingThenSavingKeepsALastLineWithoutALineBreak)
{
    const std::string path = WriteFile("notes.txt", "Cone 6 glazes\nlast line");
    CTextFileView* view = Open(path);
    ASSERT_NE(view, nullptr);
    view->setFocus();
    QTest::keyClicks(view, "My ");
    EXPECT_TRUE(view->GetDocument()->IsModified());
    EXPECT_TRUE(m_frame.QueryCommand(CmdEditUndo).m_bEnabled);
    EXPECT_TRUE(m_frame.QueryCommand(CmdTextRevert).m_bEnabled);

    EXPECT_TRUE(m_frame.ExecuteCommand(CmdTextSave));
    EXPECT_EQ(ReadAll(path), "My Cone 6 glazes\nlast line\n");
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_FALSE(m_frame.QueryCommand(CmdEditUndo).m_bEnabled) << "a save empties the undo";
    EXPECT_TRUE(m_messages.boxes.empty());
}

// The file is Windows-1252: a save that would write "?" for some characters names them and asks.
TEST_F(TextFileViewTest, ASaveThatWouldReplaceCharactersAsksFirst)
{
    const std::string path = WriteFile("temp.txt", "");
    CTextFileView* view = Open(path);
    ASSERT_NE(view, nullptr);
    view->setFocus();
    TypeText(view, QString::fromUtf8("Temp 5°C α→β ≤ 3"));
    const std::string question = path + " is saved as Windows-1252 text, which cannot hold these characters: \x81" "3B1; (U+03B1), "
                                        "\x81" "2192; (U+2192), \x81" "3B2; (U+03B2), \x81" "2264; (U+2264).\nChoose OK to save with \"?\" in their place, or "
                                        "Cancel to leave the file as it is.";

    m_frame.ExecuteCommand(CmdTextSave);
    ASSERT_EQ(m_messages.Texts(), std::vector<std::string>{question});
    EXPECT_EQ(m_messages.Last().type, unsigned(MsgOkCancel | MsgIconExclamation | MsgDefaultButton2));
    EXPECT_EQ(ReadAll(path), "") << "Cancel saves nothing";
    EXPECT_TRUE(view->GetDocument()->IsModified());

    m_messages.answers.push_back(MsgResultOk);
    m_frame.ExecuteCommand(CmdTextSave);
    EXPECT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(ReadAll(path), "Temp 5\xB0" "C ??? ? 3\n");
    EXPECT_EQ(view->toPlainText(), QString::fromUtf8("Temp 5°C ??? ? 3")) << "the window shows what the file holds";
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_FALSE(m_frame.QueryCommand(CmdEditUndo).m_bEnabled);
}

// Write to File writes the same Windows-1252 text, so it asks the same question for its file;
// the clipboard keeps the text as typed.
TEST_F(TextFileViewTest, WriteToFileThatWouldReplaceCharactersAsksFirst)
{
    CTextFileView* view = Open(WriteFile("temp.txt", ""));
    ASSERT_NE(view, nullptr);
    view->setFocus();
    TypeText(view, QString::fromUtf8("Temp 5°C α→β"));
    const std::string copy = WriteFile("copy.txt", "old");
    const std::string question = copy + " is saved as Windows-1252 text, which cannot hold these characters: \x81" "3B1; (U+03B1), "
                                        "\x81" "2192; (U+2192), \x81" "3B2; (U+03B2).\nChoose OK to save with \"?\" in their place, or "
                                        "Cancel to leave the file as it is.";

    m_dialogs.AnswerPath(copy);
    m_frame.ExecuteCommand(CmdTextWriteToFile);
    ASSERT_EQ(m_messages.Texts(), std::vector<std::string>{question});
    EXPECT_EQ(ReadAll(copy), "old") << "Cancel writes nothing";

    m_dialogs.AnswerPath(copy);
    m_messages.answers.push_back(MsgResultOk);
    m_frame.ExecuteCommand(CmdTextWriteToFile);
    EXPECT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(ReadAll(copy), "Temp 5\xB0" "C ???\n");
    EXPECT_EQ(view->toPlainText(), QString::fromUtf8("Temp 5°C α→β")) << "the window's own text is not saved";

    // The clipboard holds Unicode text: it gets every character as typed, without a question.
    CFakeClipboard clipboard;
    m_dialogs.AnswerClipboard();
    m_frame.ExecuteCommand(CmdTextWriteToFile);
    EXPECT_EQ(m_messages.boxes.size(), 2u);
    EXPECT_EQ(clipboard.content, "Temp 5\xC2\xB0" "C \xCE\xB1\xE2\x86\x92\xCE\xB2\r\n");
    EXPECT_TRUE(clipboard.unicode);
}

TEST_F(TextFileViewTest, RemoveBlankLinesTrailingKeepsInnerEmptyLines)
{
    CTextFileView* view = Open(WriteFile("blank.txt", "Silica  \n\nWhiting\n\n \n\n"));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(m_frame.ExecuteCommand(CmdRemoveBlankLinesTrailing));
    EXPECT_EQ(view->toPlainText(), "Silica\n\nWhiting");
    EXPECT_TRUE(view->GetDocument()->IsModified());
    EXPECT_TRUE(m_frame.ExecuteCommand(CmdRemoveBlankLinesAll));
    EXPECT_EQ(view->toPlainText(), "Silica\nWhiting");
}

TEST_F(TextFileViewTest, AlphabetizeThenUndoRestoresTheLinesAndASecondUndoDoesNothing)
{
    CTextFileView* view = Open(WriteFile("list.txt", "whiting\nSilica\nkaolin\n"));
    ASSERT_NE(view, nullptr);
    view->setFocus();
    EXPECT_TRUE(m_frame.ExecuteCommand(CmdAlphabetizeForward));
    EXPECT_EQ(view->toPlainText(), "kaolin\nSilica\nwhiting");

    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(view->toPlainText(), "whiting\nSilica\nkaolin\n");
    EXPECT_FALSE(m_frame.QueryCommand(CmdEditUndo).m_bEnabled);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(view->toPlainText(), "whiting\nSilica\nkaolin\n");

    // Typed text is the control's to undo, once; there is no redo.
    QTest::keyClicks(view, "Frit ");
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(view->toPlainText(), "whiting\nSilica\nkaolin\n");
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view->toPlainText(), "whiting\nSilica\nkaolin\n");
}

TEST_F(TextFileViewTest, TabsToSpacesOutsideOneToAHundredIsRefused)
{
    CTextFileView* view = Open(WriteFile("tabs.txt", "a\tb\n\tc\n"));
    ASSERT_NE(view, nullptr);
    for (const char* answer : {"0", "101"}) {
        AnswerTabSize(QString::fromLatin1(answer));
        m_frame.ExecuteCommand(CmdTabsToSpaces);
    }
    ASSERT_EQ(m_messages.boxes.size(), 2u);
    for (const auto& box : m_messages.boxes) {
        EXPECT_EQ(box.text, "Spaces must be in range 1 to 100");
        EXPECT_EQ(box.helpId, 0x30810u);
    }
    EXPECT_EQ(view->toPlainText(), "a\tb\n\tc\n");
    EXPECT_FALSE(view->GetDocument()->IsModified());

    AnswerTabSize(QStringLiteral("4"));
    m_frame.ExecuteCommand(CmdTabsToSpaces);
    EXPECT_EQ(view->toPlainText(), "a   b\n    c\n");
}

TEST_F(TextFileViewTest, ClearAllPasteAndDroppedFiles)
{
    CTextFileView* named = Open(WriteFile("keep.txt", "keep me\n"));
    ASSERT_NE(named, nullptr);
    named->setFocus();
    QTest::keyClick(named, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(named->toPlainText(), "keep me\n") << "Clear All is for untitled windows only";

    m_template->OpenDocumentFile("");
    auto* untitled = dynamic_cast<CTextFileView*>(m_frame.ActiveView());
    ASSERT_NE(untitled, nullptr);
    EXPECT_EQ(FrameOf(untitled)->windowTitle(), "<untitled>");
    untitled->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    EXPECT_TRUE(m_frame.ExecuteCommand(CmdEditPaste));
    EXPECT_EQ(untitled->toPlainText(), "pasted");
    QTest::keyClick(untitled, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(untitled->toPlainText(), "");
    QTest::keyClick(untitled, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(untitled->toPlainText(), "pasted") << "Clear All is undone like any edit";

    auto* html = new QMimeData;
    html->setHtml(QStringLiteral("<b>rich</b>"));
    QApplication::clipboard()->setMimeData(html);
    EXPECT_FALSE(m_frame.QueryCommand(CmdEditPaste).m_bEnabled);
    // Dropped text goes in; dropped files are refused.
    QMimeData words;
    words.setText(QStringLiteral("dropped "));
    DropOn(untitled, words);
    EXPECT_EQ(untitled->toPlainText(), "dropped pasted");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/glazes.glz"))});
    files.setText(QStringLiteral("/tmp/glazes.glz"));
    DropOn(untitled, files);
    EXPECT_EQ(untitled->toPlainText(), "dropped pasted");
}

TEST_F(TextFileViewTest, FindAndReplace)
{
    CTextFileView* view = Open(WriteFile("find.txt", "Silica 40\nsilica sand\nWhiting 20\n"));
    ASSERT_NE(view, nullptr);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    CFindReplaceDlg* find = view->FindDialog();
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    EXPECT_FALSE(find->IsReplaceDialog());
    find->FindEdit()->setText(QStringLiteral("silica"));
    find->MatchCaseBox()->setChecked(true);
    QTest::mouseClick(find->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(view->textCursor().selectedText(), "silica");
    EXPECT_EQ(view->textCursor().blockNumber(), 1);
    view->moveCursor(QTextCursor::Start);
    m_frame.ExecuteCommand(CmdEditRepeat);
    EXPECT_EQ(view->textCursor().blockNumber(), 1) << "Find Next repeats the last search";

    m_frame.ExecuteCommand(CmdEditReplace);
    CFindReplaceDlg* replace = view->FindDialog();
    ASSERT_NE(replace, nullptr);
    EXPECT_TRUE(replace->IsReplaceDialog());
    replace->FindEdit()->setText(QStringLiteral("silica"));
    replace->MatchCaseBox()->setChecked(false);
    replace->ReplaceEdit()->setText(QStringLiteral("Flint"));
    EXPECT_EQ(replace->ReplaceAll(), 2);
    EXPECT_EQ(view->toPlainText(), "Flint 40\nFlint sand\nWhiting 20\n");
    EXPECT_TRUE(view->GetDocument()->IsModified());
    m_frame.ExecuteCommand(CmdEditUndo);
    EXPECT_EQ(view->toPlainText(), "Silica 40\nsilica sand\nWhiting 20\n") << "one Undo takes Replace All back";
}

// A Replace All that would run long shows its progress; Cancel, even halfway, leaves the text as
// it was: not modified, nothing to undo or redo. One whose result is longer than a text window
// can hold is refused before anything changes.
TEST_F(TextFileViewTest, ALongReplaceAllCancelledHalfwayLeavesTheTextAsItWas)
{
    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += "Silica 40 glaze " + std::string(35, '.') + "\n";
    CTextFileView* view = Open(WriteFile("long.txt", lines));
    ASSERT_NE(view, nullptr);
    const QString before = view->toPlainText();
    QTextCursor caret(view->document()->findBlockByNumber(1000));
    view->setTextCursor(caret);
    m_frame.ExecuteCommand(CmdEditReplace);
    CFindReplaceDlg* replace = view->FindDialog();
    ASSERT_NE(replace, nullptr);

    replace->FindEdit()->setText(QStringLiteral("."));
    replace->ReplaceEdit()->setText(QString(32767, QLatin1Char('x')));
    EXPECT_EQ(replace->ReplaceAll(), 0);
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.boxes[0].text, "Replacing every match would make the text longer than a text window can "
                                        "hold. Nothing was replaced.");

    // 30 pasted lines in place of each of the 2,000 matches: 4.2 million characters.
    replace->FindEdit()->setText(QStringLiteral("Silica"));
    const QString pasted = QString(QString(69, QLatin1Char('x')) + QLatin1Char('\n')).repeated(30);
    replace->ReplaceEdit()->setText(pasted);
    QString halfway;
    auto* watch = new QTimer(view);
    QObject::connect(watch, &QTimer::timeout, [&] {
        auto* progress = qobject_cast<CProgressDlg*>(QApplication::activeModalWidget());
        if (!progress || progress->TextLabel()->text() == QStringLiteral("Replacing 2000 matches: 0%"))
            return;
        watch->stop();
        EXPECT_EQ(progress->windowTitle(), QStringLiteral("Replace All"));
        EXPECT_EQ(progress->TextLabel()->text(), QStringLiteral("Replacing 2000 matches: 24%"));
        halfway = view->toPlainText();
        QTest::mouseClick(progress->CancelButton(), Qt::LeftButton);
    });
    watch->start(0);
    EXPECT_EQ(replace->ReplaceAll(), 0);
    EXPECT_EQ(halfway.count(QStringLiteral("Silica")), 2000 - 499) << "cancelled halfway";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(view->toPlainText(), before);
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_FALSE(view->document()->isUndoAvailable());
    EXPECT_FALSE(view->document()->isRedoAvailable());
    EXPECT_EQ(view->textCursor().blockNumber(), 1000) << "the caret stays where it was";

    // Left to finish, it is one step of its own, and Undo takes it back whole.
    replace->FindEdit()->setText(QStringLiteral("glaze"));
    replace->ReplaceEdit()->setText(QStringLiteral("Glaze\n"));
    EXPECT_EQ(replace->ReplaceAll(), 2000);
    const QString earlier = view->toPlainText();
    replace->FindEdit()->setText(QStringLiteral("Silica"));
    replace->ReplaceEdit()->setText(pasted);
    EXPECT_EQ(replace->ReplaceAll(), 2000);
    EXPECT_EQ(view->document()->blockCount(), 2000 * 32 + 1);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(view->toPlainText(), earlier);
}

// Replace All replaces what Find Next would find one after the other, each search starting after
// the last replacement: after "x" in place of the first "--", the second is no whole word. Pasted
// lines go in whatever their line breaks; one Ctrl+Z takes it all back.
TEST_F(TextFileViewTest, ReplaceAllAsMatchByMatchAndOneUndoStep)
{
    struct Case {
        const char* text;
        const char* find;
        bool wholeWord;
        bool matchCase;
        const char* replacement;
        int count;
        const char* expected;
    };
    const Case cases[] = {
        {"Silica 40\nsilica sand\nWhiting 20\nsilicate\n", "silica", true, false, "Flint 30\r\nQuartz 10", 2,
         "Flint 30\nQuartz 10 40\nFlint 30\nQuartz 10 sand\nWhiting 20\nsilicate\n"},
        {"a ---- b", "--", true, false, "x", 1, "a x-- b"},
        {"Silica silica", "silica", false, true, "Q", 1, "Silica Q"},
    };
    CTextFileView* view = Open(WriteFile("lines.txt", ""));
    ASSERT_NE(view, nullptr);
    m_frame.ExecuteCommand(CmdEditReplace);
    CFindReplaceDlg* replace = view->FindDialog();
    ASSERT_NE(replace, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        view->setPlainText(QString::fromUtf8(c.text));
        replace->FindEdit()->setText(QString::fromUtf8(c.find));
        replace->WholeWordBox()->setChecked(c.wholeWord);
        replace->MatchCaseBox()->setChecked(c.matchCase);
        replace->ReplaceEdit()->setText(QString::fromUtf8(c.replacement));
        EXPECT_EQ(replace->ReplaceAll(), c.count);
        EXPECT_EQ(view->toPlainText(), QString::fromUtf8(c.expected));
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(view->toPlainText(), QString::fromUtf8(c.text));
    }
}

TEST_F(TextFileViewTest, PrintingLayoutAndWriteToTheClipboard)
{
    CTextFileView* view = Open(WriteFile("report.txt", "Recipe\n\tSilica  40.0  \nWhiting\n\n\n"));
    ASSERT_NE(view, nullptr);
    CTextPrinter printer;
    view->FillPrinter(printer);
    EXPECT_EQ(static_cast<const CStringArrayEx&>(printer), (CStringArrayEx{"Recipe", "\tSilica  40.0", "Whiting"}));
    EXPECT_TRUE(printer.m_keepTabs);
    EXPECT_FALSE(printer.m_showFirstHeader);
    EXPECT_FALSE(printer.m_showLaterHeader);
    EXPECT_FALSE(printer.m_firstPageNumber);
    EXPECT_TRUE(printer.m_laterPageNumber);
    EXPECT_TRUE(printer.m_firstHeaderRule && printer.m_laterHeaderRule);

    CFakeClipboard clipboard;
    m_dialogs.AnswerClipboard();
    EXPECT_TRUE(m_frame.ExecuteCommand(CmdTextWriteToFile));
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "Text to File...");
    EXPECT_EQ(m_dialogs.At(0).filter, "Text files (*.txt)|*.txt|All files (*.*)|*.*||");
    EXPECT_TRUE(m_dialogs.At(0).clipboardOption);
    EXPECT_EQ(clipboard.content, "Recipe\r\n\tSilica  40.0\r\nWhiting\r\n");
    EXPECT_EQ(view->printKind, 1);

    int pages = 0;
    OnModal<CPrintPreviewDlg>([&pages](CPrintPreviewDlg* preview) {
        pages = preview->PageCount();
        preview->reject();
    });
    EXPECT_TRUE(m_frame.ExecuteCommand(CmdTextPrintPreview));
    EXPECT_EQ(pages, 1);
}

TEST_F(TextFileViewTest, TheInformationWindowCollectsReportsUntilItIsSaved)
{
    ShowInformation("Glazes checked: 12");
    ShowInformation(CStringArrayEx{"Unity formula\x14", "for the screen only\x03"});
    CTextFileDoc* information = g_pInformationDoc;
    ASSERT_NE(information, nullptr);
    CTextFileView* view = ViewOf(information);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(information->GetTitle(), "Information");
    EXPECT_EQ(FrameOf(view)->windowTitle(), "Information");
    EXPECT_EQ(view->toPlainText(), "Glazes checked: 12\nUnity formula\n");
    EXPECT_TRUE(m_frame.QueryCommand(CmdInformationWindow).m_bEnabled);
    EXPECT_EQ(m_frame.QueryCommand(CmdInformationWindow).m_nCheck, 1);

    const std::string path = m_dir.filePath(QStringLiteral("report.txt")).toStdString();
    m_dialogs.AnswerPath(path);
    m_frame.ExecuteCommand(CmdTextSave);
    EXPECT_EQ(ReadAll(path), "Glazes checked: 12\nUnity formula\n");
    EXPECT_EQ(g_pInformationDoc, nullptr);
    EXPECT_EQ(FrameOf(view)->windowTitle(), QString::fromStdString(path));
    EXPECT_FALSE(m_frame.QueryCommand(CmdInformationWindow).m_bEnabled);

    ShowInformation("next report");
    ASSERT_NE(g_pInformationDoc, nullptr);
    EXPECT_NE(g_pInformationDoc, information);
    EXPECT_EQ(m_template->GetDocuments().size(), 2u);

    // Closing the Information window never asks, modified or not.
    CTextFileView* second = ViewOf(g_pInformationDoc);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->GetDocument()->IsModified());
    FrameOf(second)->close();
    FlushEvents();
    EXPECT_TRUE(m_messages.boxes.empty());
    EXPECT_EQ(g_pInformationDoc, nullptr);
    EXPECT_EQ(m_template->GetDocuments().size(), 1u);
}

TEST_F(TextFileViewTest, ANewTextViewFontFollowsThePreferences)
{
    CTextFileView* view = Open(WriteFile("font.txt", "Silica\n"));
    ASSERT_NE(view, nullptr);
    const int before = view->font().pointSize();
    g_prefs.textvfont.height = 240;
    COxidariumApp::BroadcastUpdate(nullptr, nullptr, 9, HintPreferencesChanged, 0, 0);
    EXPECT_EQ(view->textFont, g_prefs.textvfont);
    EXPECT_EQ(view->font().pointSize(), 24);
    EXPECT_NE(view->font().pointSize(), before);
    EXPECT_EQ(view->toPlainText(), "Silica\n");
    EXPECT_FALSE(view->GetDocument()->IsModified());
}

TEST_F(TextFileViewTest, ScreenshotOfATextWindowAndTheInformationWindow)
{
    const std::string report = "Batch for 5000 g of Cone 6 Satin Matte\n"
                               "\n"
                               "Custer Feldspar        1000.0 g\n"
                               "Whiting                1000.0 g\n"
                               "EPK Kaolin             1000.0 g\n"
                               "Silica                 2000.0 g\n"
                               "Total                  5000.0 g\n";
    CTextFileView* text = Open(WriteFile("batch.txt", report));
    ASSERT_NE(text, nullptr);
    ShowInformation("Checked 14 glazes against limit formula \"Cone 6 Gloss\".");
    ShowInformation("Glaze \"Tenmoku\": Fe2O3 above the limit (0.35 > 0.25).");
    ShowInformation("Glaze \"Shino\": unknown material \"Nepheline Syenite 270\".");
    ASSERT_NE(g_pInformationDoc, nullptr);
    FrameOf(ViewOf(g_pInformationDoc))->move(160, 300);
    FlushEvents();

        const QString file = ScreenshotFolder() + "/textfile-windows.png";
    const QPixmap picture = m_frame.grab();
    ASSERT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save(file));
    EXPECT_TRUE(QFile::exists(file));
}

// Regression: a file named outside Latin letters showed its path read as Windows-1252 text
// ("GlÃ¤sur Î±.txt"): a file's path is the file system's UTF-8, not database text.
TEST_F(TextFileViewTest, ACaptionShowsTheFilesPathAsTheFileSystemNamesIt)
{
    const std::string path = WriteFile("Gl\xC3\xA4sur \xCE\xB1.txt", "Silica\n");
    CTextFileView* view = Open(path);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(FrameOf(view)->windowTitle(), QString::fromUtf8(path)) << FrameOf(view)->windowTitle().toStdString();
    EXPECT_TRUE(FrameOf(view)->windowTitle().endsWith(QStringLiteral("/Gl\u00E4sur \u03B1.txt")));
}
