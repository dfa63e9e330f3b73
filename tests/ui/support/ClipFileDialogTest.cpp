#include "support/ClipFileDialog.h"

#include "framework/MdiFrame.h"
#include "support/QtServices.h"
#include "shell/OxidariumApp.h"
#include "support/MultiFileDialog.h"
#include "support/StringArrayEx.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const char* const kGlazeFilter = "Database Files (*.glz)|*.glz|All Files (*.*)|*.*||";

// Runs examine on the file dialog that the call opens, from inside its event loop. The fixture's
// watchdog closes a dialog the check left open, so a broken test fails instead of hanging.
void WhileModal(const std::function<void(CClipFileDialogBase*)>& examine)
{
    QTimer::singleShot(0, [examine] {
        auto* dialog = qobject_cast<CClipFileDialogBase*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no file dialog is up";
        examine(dialog);
    });
}

// Types a name and presses the dialog's Open or Save button.
void TypeAndAccept(QFileDialog* dialog, const QString& name)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    QPushButton* accept = buttons->button(dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                                          : QDialogButtonBox::Open);
    ASSERT_NE(accept, nullptr);
    accept->click();
}

class FileDialogTest : public ::testing::Test {
protected:
    FileDialogTest() : m_oldDirectory(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
        m_frame.show();
        m_watchdog.setSingleShot(true);
        QObject::connect(&m_watchdog, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a modal window was left open";
                modal->close();
            }
        });
        m_watchdog.start(10000);
    }
    ~FileDialogTest() override { QDir::setCurrent(m_oldDirectory); }

    std::string InDir(const char* name) const { return (m_dir.path() + QLatin1Char('/') + name).toStdString(); }
    void Touch(const char* name) const
    {
        QFile file(QString::fromStdString(InDir(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir m_dir;
    QString m_oldDirectory;
    COxidariumApp m_app;
    CMDIMainFrame m_frame;
    CQtServices m_services;
    QTimer m_watchdog;
};

} // namespace

TEST(FileFilterTest, TheProgramsFilterGivesOneQtFilterPerPairShowingTheDescription)
{
    const QStringList filters = ToQtNameFilters(kGlazeFilter);
    EXPECT_EQ(filters, (QStringList{"Database Files (*.glz) (*.[gG][lL][zZ])", "All Files (*.*) (*)"}));
    EXPECT_EQ(ToQtNameFilters("Text (*.txt;*.rtf)|*.txt;*.rtf||"),
              QStringList{"Text (*.txt;*.rtf) (*.[tT][xX][tT] *.[rR][tT][fF])"});
    EXPECT_TRUE(ToQtNameFilters("").isEmpty());
    EXPECT_TRUE(QDir::match(QStringLiteral("*.[gG][lL][zZ]"), QStringLiteral("OLD.Glz"))) << "any case matches";

    // The combo box shows the descriptions unchanged; the chosen filter comes back from 1.
    CClipFileDialog dialog(true, "glz", "", FileDlgHideReadOnly, kGlazeFilter);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile) << "a missing file is the caller's to report";
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "Database Files (*.glz)");
    EXPECT_EQ(combo->itemText(1), "All Files (*.*)");
    EXPECT_EQ(dialog.GetFilterIndex(), 1);
    dialog.SetFilterIndex(2);
    EXPECT_EQ(dialog.GetFilterIndex(), 2);
    dialog.SetFilterIndex(3);
    EXPECT_EQ(dialog.GetFilterIndex(), 2) << "an index beyond the filters changes nothing";
}

TEST_F(FileDialogTest, ASaveGetsTheDefaultExtensionAndReportsTheChosenFilter)
{
    WhileModal([](CClipFileDialogBase* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Text to File...");
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir::current().canonicalPath());
        EXPECT_FALSE(dialog->ClipboardButton()->isVisible()) << "not asked for";
        EXPECT_TRUE(dialog->HelpButton()->isVisible());
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        // Enter on the Help button takes the dialog's default, as on the dialog's own buttons;
        // the strip ends where they do.
        EXPECT_FALSE(dialog->HelpButton()->autoDefault());
        const QWidget* box = dialog->findChild<QWidget*>(QStringLiteral("buttonBox"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(dialog->HelpButton()->geometry().right(), box->geometry().right());
        dialog->SetFilterIndex(2);
        TypeAndAccept(dialog, QStringLiteral("report"));
    });
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.title = "Text to File...";
    request.defaultExtension = "glz";
    request.filter = kGlazeFilter;
    request.flags = FileDlgHideReadOnly | FileDlgOverwritePrompt | FileDlgPathMustExist;
    request.helpId = 303;
    const CFileDialogResult result = AskForFiles(request);
    EXPECT_EQ(result.outcome, CFileDialogResult::Outcome::Ok);
    EXPECT_EQ(result.paths, std::vector<std::string>{InDir("report.glz")});
    EXPECT_EQ(result.filterIndex, 2);
}

TEST_F(FileDialogTest, ASaveIntoAMissingFolderIsRefusedAndTheDialogStays)
{
    QString warning;
    WhileModal([&](CClipFileDialogBase* dialog) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            warning = box->text();
            box->accept();
        });
        TypeAndAccept(dialog, QStringLiteral("nowhere/out.glz"));
        EXPECT_TRUE(dialog->isVisible());
        dialog->reject();
    });
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.defaultExtension = "glz";
    request.flags = FileDlgHideReadOnly | FileDlgOverwritePrompt | FileDlgPathMustExist;
    const CFileDialogResult result = AskForFiles(request);
    EXPECT_EQ(result.outcome, CFileDialogResult::Outcome::Cancel);
    EXPECT_TRUE(result.paths.empty());
    EXPECT_EQ(warning, QDir::toNativeSeparators(QString::fromStdString(InDir("nowhere/out.glz"))) +
                           "\nThe folder does not exist.");
}

TEST_F(FileDialogTest, TheClipboardButtonShowsInSavesAlwaysAndInOpensOnlyWithTextToRead)
{
    QGuiApplication::clipboard()->clear();
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::Save;
    request.clipboardOption = true;
    WhileModal([](CClipFileDialogBase* dialog) {
        EXPECT_TRUE(dialog->ClipboardButton()->isVisible());
        EXPECT_EQ(dialog->ClipboardButton()->text(), "Clipboard");
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("typed.txt"));
        dialog->ClipboardButton()->click();
    });
    CFileDialogResult result = AskForFiles(request);
    EXPECT_EQ(result.outcome, CFileDialogResult::Outcome::Clipboard);
    EXPECT_TRUE(result.paths.empty());
    WhileModal([](CClipFileDialogBase* dialog) { dialog->reject(); });
    EXPECT_EQ(AskForFiles(request).outcome, CFileDialogResult::Outcome::Cancel) << "offered is not chosen";

    request.mode = CFileDialogRequest::Mode::Open;
    WhileModal([](CClipFileDialogBase* dialog) {
        EXPECT_FALSE(dialog->ClipboardButton()->isVisible()) << "nothing to read";
        dialog->reject();
    });
    result = AskForFiles(request);
    EXPECT_EQ(result.outcome, CFileDialogResult::Outcome::Cancel);

    QGuiApplication::clipboard()->setText(QStringLiteral("name = Red"));
    WhileModal([](CClipFileDialogBase* dialog) {
        EXPECT_TRUE(dialog->ClipboardButton()->isVisible());
        dialog->ClipboardButton()->click();
    });
    result = AskForFiles(request);
    EXPECT_EQ(result.outcome, CFileDialogResult::Outcome::Clipboard);
    EXPECT_TRUE(result.paths.empty());

    // Without the option there is no button, whatever the clipboard holds.
    request.clipboardOption = false;
    WhileModal([](CClipFileDialogBase* dialog) {
        EXPECT_FALSE(dialog->ClipboardButton()->isVisible());
        dialog->reject();
    });
    AskForFiles(request);
    QGuiApplication::clipboard()->clear();
}

TEST_F(FileDialogTest, HelpButtonAndF1OpenTheDialogsTopic)
{
    WhileModal([&](CClipFileDialogBase* dialog) {
        dialog->HelpButton()->click();
        EXPECT_EQ(m_frame.statusBar()->currentMessage(), "Help topic 300: no help file is installed");
        m_frame.statusBar()->clearMessage();
        QApplication::setActiveWindow(dialog);
        QTest::keyClick(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), Qt::Key_F1);
        EXPECT_EQ(m_frame.statusBar()->currentMessage(), "Help topic 300: no help file is installed");
        EXPECT_TRUE(dialog->isVisible());
        dialog->reject();
    });
    CFileDialogRequest request;
    request.helpId = 300;
    EXPECT_EQ(AskForFiles(request).outcome, CFileDialogResult::Outcome::Cancel);
}

TEST_F(FileDialogTest, TheMultiSelectDialogGivesEachFullPathOnceAfterTheExistingEntries)
{
    Touch("a.glz");
    Touch("b.glz");
    CMultiFileDialog dialog("glz", "", FileDlgHideReadOnly, kGlazeFilter, &m_frame, 300);
    QTimer::singleShot(0, &dialog, [&] { TypeAndAccept(&dialog, QStringLiteral("\"b.glz\" \"a.glz\" \"b.glz\"")); });
    ASSERT_EQ(dialog.DoModal(), QDialog::Accepted);
    CStringArrayEx paths{"kept"};
    EXPECT_EQ(dialog.GetPathNames(paths), 3);
    EXPECT_EQ(paths, (CStringArrayEx{"kept", InDir("b.glz"), InDir("a.glz")}));

    // Through the service, the Clipboard button ends the dialog with no paths at all.
    QGuiApplication::clipboard()->setText(QStringLiteral("text"));
    WhileModal([](CClipFileDialogBase* multi) {
        EXPECT_TRUE(multi->ClipboardButton()->isVisible());
        multi->selectFile(QStringLiteral("a.glz"));
        multi->ClipboardButton()->click();
    });
    CFileDialogRequest request;
    request.mode = CFileDialogRequest::Mode::OpenMultiple;
    request.clipboardOption = true;
    const CFileDialogResult result = AskForFiles(request);
    EXPECT_EQ(result.outcome, CFileDialogResult::Outcome::Clipboard);
    EXPECT_TRUE(result.paths.empty());
    QGuiApplication::clipboard()->clear();
}
