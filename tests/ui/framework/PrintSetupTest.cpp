#include "framework/PrintSetup.h"

#include "framework/PrintPreviewDlg.h"
#include "shell/AppContext.h"
#include "support/PrintJob.h"
#include "ui/support/ModalDialogTest.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

template <typename DialogT>
DialogT* OpenDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<DialogT*>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

} // namespace

// Regression: Print Setup was listed and never handled; the page set-up chosen there must be
// where the program's prints and previews start.
TEST(PrintSetupTest, ThePageSetUpChosenIsWhereEveryPrintAndPreviewStarts)
{
    CAppContext context;
    bool chosen = false;
    QTimer::singleShot(0, [&chosen] {
        QPageSetupDialog* dialog = OpenDialog<QPageSetupDialog>();
        auto* landscape = dialog ? dialog->findChild<QRadioButton*>(QStringLiteral("landscape")) : nullptr;
        if (!landscape) {
            CloseModalDialog();
            return;
        }
        landscape->click();
        dialog->accept();
        chosen = true;
    });
    ASSERT_TRUE(RunPrintSetupDialog(nullptr) && chosen);
    QPrinter printer;
    ApplyPrintSetup(printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);

    QPageLayout::Orientation previewed = QPageLayout::Portrait;
    QTimer::singleShot(0, [&previewed] {
        if (CPrintPreviewDlg* preview = OpenDialog<CPrintPreviewDlg>())
            previewed = preview->printer()->pageLayout().orientation();
        CloseModalDialog();
    });
    CPrintJob job([](CTextPrinter& text) { text.push_back("glaze"); });
    job.PrintPreview();
    EXPECT_EQ(previewed, QPageLayout::Landscape);

    // Cancel keeps the set-up as it was.
    QTimer::singleShot(0, [] { CloseModalDialog(); });
    EXPECT_FALSE(RunPrintSetupDialog(nullptr));
    QPrinter next;
    ApplyPrintSetup(next);
    EXPECT_EQ(next.pageLayout().orientation(), QPageLayout::Landscape);

    // The other print tests start from the defaults.
    RememberPrintSetup(QPrinter());
}
