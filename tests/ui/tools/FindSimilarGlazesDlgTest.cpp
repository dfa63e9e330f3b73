#include "tools/FindSimilarGlazesDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "ui/support/OverlapCheck.h"
#include "core/support/CheckedItems.h"
#include "core/textfile/FakeTextView.h"
#include "textfile/Information.h"
#include "textfile/TextFileDoc.h"
#include "support/ProgressDlg.h"
#include "tools/ToolCommands.h"
#include "ui/glazes/GlazeDlgTestFixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class FindSimilarGlazesDlgTest : public GlazeDlgFixture {
protected:
    FindSimilarGlazesDlgTest()
    {
        m_texts->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_textFrames.push_back(std::make_unique<CFakeTextFrame>(document));
            return true;
        });
        g_pTextFileTemplate = m_texts.get();
    }
    ~FindSimilarGlazesDlgTest() override
    {
        if (g_pInformationDoc)
            g_pInformationDoc->OnCloseDocument();
        g_pTextFileTemplate = nullptr;
    }
    static std::string Information()
    {
        return g_pInformationDoc ? FakeViewOf(g_pInformationDoc).Text() : "";
    }

    std::unique_ptr<CDocTemplate> m_texts = CreateTextFileTemplate();
    std::vector<std::unique_ptr<CFakeTextFrame>> m_textFrames;
};

void SetText(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

TEST_F(FindSimilarGlazesDlgTest, TheDialogRemembersItsChoicesAndOffersSelectSimilarOnlyForTheSelection)
{
    g_prefs.anchadd = 1;
    CFindSimilarGlazesDlg first;
    first.selectionPresent = true;
    first.InitDialog();
    EXPECT_EQ(first.windowTitle(), QStringLiteral("Find Similar Glazes"));
    EXPECT_EQ(first.CutoffEdit()->text(), QStringLiteral("90"));
    EXPECT_EQ(first.TopCountEdit()->text(), QStringLiteral("5"));
    EXPECT_TRUE(first.MeasureBox(0)->isChecked());
    EXPECT_FALSE(first.MeasureBox(7)->isChecked());
    EXPECT_EQ(first.MeasureBox(7)->text(), QStringLiteral("Ingredients and amounts"));
    EXPECT_EQ(first.CompareToGroup()->checkedId(), kSimilarAllGlazes);
    EXPECT_TRUE(first.IncludeAdditionsBox()->isChecked()); // from the analysis preference
    EXPECT_TRUE(first.SelectSimilarBox()->isEnabled());
    EXPECT_TRUE(first.SelectSimilarBox()->isChecked());
    first.show();
    SaveScreenshot(first, "FindSimilarGlazesDlg");
    EXPECT_EQ(OverlappingControls(first), std::vector<std::string>());
    // The database choices stand in their frames, under the glaze choices.
    for (const auto& [group, title] : {std::pair{first.CompareDatabaseGroup(), "Compare"},
                                       {first.CompareToDatabaseGroup(), "Compare to"}}) {
        const auto frames = first.findChildren<QGroupBox*>();
        const auto frame = std::find_if(frames.begin(), frames.end(),
                                        [title](const QGroupBox* box) { return box->title() == QLatin1String(title); });
        ASSERT_NE(frame, frames.end()) << title;
        for (const QAbstractButton* button : group->buttons())
            EXPECT_TRUE((*frame)->geometry().contains(button->geometry())) << title;
    }

    // "All Glazes" unchecks and disables "Select similar glazes"; so does "All Databases".
    GroupButton(first.CompareGroup(), kSimilarAllGlazes).click();
    EXPECT_FALSE(first.SelectSimilarBox()->isEnabled());
    EXPECT_FALSE(first.SelectSimilarBox()->isChecked());
    GroupButton(first.CompareGroup(), kSimilarSelectedGlazes).click();
    EXPECT_TRUE(first.SelectSimilarBox()->isEnabled());
    GroupButton(first.CompareDatabaseGroup(), kSimilarAllDatabases).click();
    EXPECT_FALSE(first.SelectSimilarBox()->isEnabled());
    GroupButton(first.CompareDatabaseGroup(), kSimilarCurrentDatabase).click();

    // The ranges of the top count and the cutoff.
    SetText(first.TopCountEdit(), QStringLiteral("0"));
    first.accept();
    SetText(first.TopCountEdit(), QStringLiteral("101"));
    first.accept();
    SetText(first.TopCountEdit(), QStringLiteral("100"));
    SetText(first.CutoffEdit(), QStringLiteral("100.5"));
    first.accept();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Please enter an integer between 1 and 100.",
                                                            "Please enter an integer between 1 and 100.",
                                                            "Please enter a number between 0 and 100."}));
    EXPECT_EQ(first.result(), QDialog::Rejected);
    EXPECT_EQ(g_prefs.m_dSimGlzCutoff, 90.0);
    SetText(first.CutoffEdit(), QStringLiteral("75.5"));
    first.MeasureBox(6)->click();
    first.IncludeAdditionsBox()->click();
    first.accept();
    EXPECT_EQ(first.result(), QDialog::Accepted);
    EXPECT_EQ(first.request.measures, (std::array<int, 8>{1, 0, 0, 0, 0, 0, 1, 0}));

    // A second opening shows the first OK's choices; without a selection there is no "select".
    CFindSimilarGlazesDlg second;
    second.InitDialog();
    EXPECT_EQ(second.CutoffEdit()->text(), QStringLiteral("75.5"));
    EXPECT_EQ(second.TopCountEdit()->text(), QStringLiteral("100"));
    EXPECT_TRUE(second.MeasureBox(6)->isChecked());
    EXPECT_FALSE(second.IncludeAdditionsBox()->isChecked());
    EXPECT_FALSE(second.SelectSimilarBox()->isEnabled());
    EXPECT_FALSE(second.SelectSimilarBox()->isChecked());
}

TEST_F(FindSimilarGlazesDlgTest, CancelInTheProgressWindowStopsTheSearch)
{
    for (int copy = 0; copy < 40; ++copy) {
        CGlaze glaze(Found(m_doc->GetGlaze(copy % 5)));
        glaze.m_name += " " + std::to_string(copy);
        m_doc->InsertGlaze(m_doc->GetGlazeCount(), glaze);
    }
    // Cancel is pressed once the progress window is up, twice: the flag stays 1 and the window
    // stays until the search ends.
    bool sawProgress = false;
    WhenDialogShows<CFindSimilarGlazesDlg>([&sawProgress](CFindSimilarGlazesDlg& dialog) {
        GroupButton(dialog.CompareGroup(), kSimilarAllGlazes).click();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        QTimer::singleShot(0, [&sawProgress] {
            auto* progress = qobject_cast<CProgressDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(progress, nullptr);
            sawProgress = true;
            EXPECT_EQ(progress->windowTitle(), QStringLiteral("Finding similar glazes"));
            EXPECT_FALSE(progress->TextLabel()->text().isEmpty());
            SaveScreenshot(*progress, "ProgressDlg");
            QTest::mouseClick(progress->CancelButton(), Qt::LeftButton);
            QTest::keyClick(progress, Qt::Key_Escape);
            EXPECT_EQ(progress->cancelFlag, 1);
            EXPECT_TRUE(progress->isVisible());
        });
    });
    EXPECT_FALSE(RunFindSimilarGlazesCommand(*m_doc, nullptr));
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The report stopped within the first glaze's comparisons: nothing was written.
    EXPECT_EQ(Information(), "");

    // Uncancelled, the same search reports every glaze.
    WhenDialogShows<CFindSimilarGlazesDlg>(
        [](CFindSimilarGlazesDlg& dialog) { QTest::mouseClick(dialog.OkButton(), Qt::LeftButton); });
    EXPECT_TRUE(RunFindSimilarGlazesCommand(*m_doc, nullptr));
    EXPECT_EQ(Information().rfind("===============\r\n=== Celadon ===\r\n", 0), 0u);
    EXPECT_NE(Information().find("=== Blue Satin 39 ==="), std::string::npos);
}
