// Pasting under a real X server, whatever the clipboard holds. The X clipboard offers nothing at
// all once the program that copied has quit; the multi-line fields of the Qt on Debian 12 crashed
// on such a paste (Ctrl+V in a recipe field ended the program with every unsaved edit). The test
// starts Xvfb and runs this test program once more in that display, where a small X client (xclip)
// owns the clipboard and the selection, quits, and the fields are pasted into every way a user
// pastes; then, with the owner alive, the text comes in as always.

#include "ui/glazes/GlazeEditViewFixture.h"

#include "textfile/TextFileDoc.h"
#include "textfile/TextFileView.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <fstream>
#include <memory>

namespace {

constexpr const char* kInXSession = "PasteInAnXSessionTest.*";

bool InXSession()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// Waits for posted events until done holds, or for a minute: what it waits for is another
// program's doing (the X server's, xclip's), which a busy machine may hold up for seconds.
template <class Done>
bool WaitFor(Done done)
{
    QDeadlineTimer deadline(60000);
    while (!done() && !deadline.hasExpired())
        QTest::qWait(20);
    return done();
}

bool Offers(QClipboard::Mode mode)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(mode);
    return data && !data->formats().isEmpty();
}

// xclip holding text as the clipboard and the selection while it runs.
class CClipboardOwner {
public:
    explicit CClipboardOwner(const QString& text)
    {
        for (int i = 0; i < 2; ++i) {
            QProcess& owner = m_owners[i];
            owner.start(QStringLiteral("xclip"), {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                                                  i == 0 ? QStringLiteral("clipboard") : QStringLiteral("primary")});
            EXPECT_TRUE(owner.waitForStarted()) << "xclip did not start";
            owner.write(text.toUtf8());
            owner.closeWriteChannel();
        }
        EXPECT_TRUE(WaitFor([] { return Offers(QClipboard::Clipboard) && Offers(QClipboard::Selection); }))
            << "xclip never took the clipboard";
    }
    ~CClipboardOwner() { Quit(); }
    // Ends the owner, as closing the program that copied does; the clipboard then offers nothing.
    void Quit()
    {
        for (QProcess& owner : m_owners) {
            owner.kill();
            owner.waitForFinished();
        }
        EXPECT_TRUE(WaitFor([] { return !Offers(QClipboard::Clipboard) && !Offers(QClipboard::Selection); }));
    }

private:
    QProcess m_owners[2];
};

QString TextOf(QWidget* field)
{
    if (auto* line = qobject_cast<QLineEdit*>(field))
        return line->text();
    return qobject_cast<QPlainTextEdit*>(field)->toPlainText();
}

// Opens the field's context menu and clicks its Paste when that is enabled; true when it was.
bool PasteFromContextMenu(QWidget* field)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(field);
    QWidget* target = area ? area->viewport() : field;
    bool enabled = false;
    bool seen = false;
    // The text window's menu runs an event loop of its own; the fields' menus pop up and return.
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        seen = true;
        for (QAction* action : menu->actions()) {
            if (!action->text().startsWith(QLatin1String("&Paste")))
                continue;
            enabled = action->isEnabled();
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
        if (QApplication::activePopupWidget() == menu)
            menu->close();
    });
    const QPoint at(4, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    EXPECT_TRUE(WaitFor([&] { return seen; })) << "no context menu came up";
    QTest::qWait(50);
    return enabled;
}

// Every way a user pastes: the keys, the context menu and the middle button.
void PasteEveryWay(QWidget* field)
{
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(field, Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(PasteFromContextMenu(field)) << "Paste is offered with nothing to paste";
    if (auto* area = qobject_cast<QAbstractScrollArea*>(field))
        QTest::mouseClick(area->viewport(), Qt::MiddleButton, {}, QPoint(4, 4));
    QApplication::processEvents();
}

class PasteInAnXSessionTest : public GlazeEditViewFixture {
protected:
    PasteInAnXSessionTest()
    {
        InstallTextFileTemplate(*m_textTemplate);
        g_pTextFileTemplate = m_textTemplate.get();
    }
    ~PasteInAnXSessionTest() override
    {
        for (CMDIChildFrame* frame : m_frame.ChildFrames())
            delete frame;
        g_pTextFileTemplate = nullptr;
    }
    CTextFileView* OpenTextWindow()
    {
        const std::string path = m_dir.path().toStdString() + "/notes.txt";
        std::ofstream(path) << "Cone 6\n";
        auto* document = dynamic_cast<CTextFileDoc*>(m_textTemplate->OpenDocumentFile(path));
        return document ? dynamic_cast<CTextFileView*>(document->GetTextView()) : nullptr;
    }

    std::unique_ptr<CDocTemplate> m_textTemplate = CreateTextFileTemplate();
};

} // namespace

TEST(PasteGuardTest, NoPasteCrashesWhenTheClipboardOwnerHasQuit)
{
    if (InXSession())
        GTEST_SKIP() << "this test starts the X session itself";
    for (const char* tool : {"Xvfb", "xclip"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << "no X server can be started here: " << tool << " is not installed (scripts/setup.sh installs it)";
    QProcess server;
    server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                         QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                         QStringLiteral("tcp")});
    if (!server.waitForStarted() || !WaitFor([&] { return server.canReadLine(); }))
        GTEST_SKIP() << "no X server could be started: " << server.errorString().toStdString();
    const QString display = QLatin1Char(':') + QString::fromLatin1(server.readLine().trimmed());

    QProcess session;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    session.setProcessEnvironment(environment);
    session.setProcessChannelMode(QProcess::MergedChannels);
    session.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_filter=") + QLatin1String(kInXSession), QStringLiteral("--gtest_brief=0")});
    ASSERT_TRUE(session.waitForFinished(OXI_UI_TEST_TIMEOUT * 1000)) << "the X session never ended";
    const std::string output = session.readAll().toStdString();
    server.terminate();
    server.waitForFinished();
    EXPECT_EQ(session.exitStatus(), QProcess::NormalExit) << "the program crashed:\n" << output;
    EXPECT_EQ(session.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    EXPECT_EQ(output.find("SKIPPED"), std::string::npos) << output;
}

// The guard switches off only a Paste that would find nothing: with text on the clipboard, a
// multi-line field's menu keeps it as the menu takes a key.
TEST(PasteGuardTest, AFieldsMenuKeepsPasteWhileTheClipboardHoldsText)
{
    QPlainTextEdit field;
    QGuiApplication::clipboard()->setText(QStringLiteral("Talc 10"));
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(menu.get(), &down);
    const QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
    ASSERT_NE(paste, nullptr);
    EXPECT_TRUE(paste->isEnabled());
    QGuiApplication::clipboard()->clear();
}

TEST_F(PasteInAnXSessionTest, NothingComesInFromAnOwnerThatQuitAndTextFromOneThatLives)
{
    if (!InXSession())
        GTEST_SKIP() << "runs in the X session that PasteGuardTest starts";
    CGlazeEditView* view = OpenEmptyRecipe(0);
    ASSERT_NE(view, nullptr);
    CTextFileView* textWindow = OpenTextWindow();
    ASSERT_NE(textWindow, nullptr);
    struct Field {
        const char* name;
        QWidget* widget;
        int page;
    };
    const Field fields[] = {
        {"the recipe's components", GlazeForm::ComponentsEdit(view), kPageRecipe},
        {"the recipe's additions", GlazeForm::AdditionsEdit(view), kPageRecipe},
        {"the glaze's notes", GlazeForm::NotesEdit(view), kPageNotes},
        {"the glaze's name", GlazeForm::NameEdit(view), kPageDescription},
        {"a text window", textWindow, 0},
    };
    // Shows the field's page (the text window its own window) and puts the caret into it.
    const auto show = [&](const Field& field) {
        if (field.page != 0) {
            view->GetFrame()->ActivateFrame();
            view->ShowPage(field.page);
        } else {
            textWindow->GetFrame()->ActivateFrame();
        }
        field.widget->setFocus();
        QApplication::processEvents();
    };
    {
        CClipboardOwner owner(QStringLiteral("Talc 10"));
        owner.Quit();
        for (const Field& field : fields) {
            ASSERT_NE(field.widget, nullptr) << field.name;
            show(field);
            const QString before = TextOf(field.widget);
            PasteEveryWay(field.widget);
            EXPECT_EQ(TextOf(field.widget), before) << field.name;
        }
    }
    CClipboardOwner owner(QStringLiteral("Talc 10"));
    for (const Field& field : fields) {
        show(field);
        QTest::keyClick(field.widget, Qt::Key_V, Qt::ControlModifier);
        EXPECT_TRUE(TextOf(field.widget).contains(QLatin1String("Talc 10"))) << field.name;
    }
}
