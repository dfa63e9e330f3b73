// The glaze list's reporting tools from its Utilities menu in the running program: Find Similar
// Glazes under its progress window, and the Shopping List.

#include "ProgramFixture.h"
#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "framework/UpdateHint.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "shell/Preferences.h"
#include "tools/FindSimilarGlazesDlg.h"
#include "support/ProgressDlg.h"
#include "tools/ShoppingListDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QStringList kFindSimilarEntry{"&Utilities", "Fin&d Similar Glazes"};
const QStringList kShoppingListEntry{"&Utilities", "Shopping List..."};
constexpr int kZirconium = 40;

class GlazeListReportMenuTest : public ProgramFixture {
protected:
    GlazeListReportMenuTest() : m_doc(OpenShippedGlazes()), m_list(ListOf(m_doc)) {}
    void SetUp() override
    {
        ASSERT_TRUE(m_started);
        ASSERT_NE(m_list, nullptr);
    }

    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // Acts on the progress window at the first moment its text reads text.
    static void WhenProgressReads(const QString& text, std::function<void(CProgressDlg&)> act)
    {
        auto* watch = new QTimer;
        watch->setInterval(0);
        QObject::connect(watch, &QTimer::timeout, [watch, text, act] {
            auto* progress = qobject_cast<CProgressDlg*>(QApplication::activeModalWidget());
            if (!progress || progress->TextLabel()->text() != text)
                return;
            watch->stop();
            watch->deleteLater();
            act(*progress);
        });
        watch->start();
    }
    // Runs the Shopping List from the menu for the selection, at a size typed in grams.
    void ShoppingList(const QString& sizeText)
    {
        WhenDialogShows<CShoppingListDlg>([sizeText](CShoppingListDlg& dialog) {
            GroupButton(dialog.GlazesGroup(), kShopSelectedGlazes).click();
            GroupButton(dialog.SizeGroup(), kShopCustomSize).click();
            GroupButton(dialog.UnitGroup(), kShopGrams).click();
            Type(dialog.SizeEdit(), sizeText);
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        });
        // The report window came to the front after the last report.
        Activate(m_list);
        ASSERT_TRUE(Choose(kShoppingListEntry));
    }

    CGlazesDoc* m_doc;
    CGlazesView* m_list;
};

} // namespace

TEST_F(GlazeListReportMenuTest, FindSimilarGlazesReportsTheMatchesAndSelectsThem)
{
    Select(*m_list, {0});
    WhenDialogShows<CFindSimilarGlazesDlg>([](CFindSimilarGlazesDlg& dialog) {
        EXPECT_EQ(dialog.CutoffEdit()->text(), QStringLiteral("90"));
        EXPECT_TRUE(dialog.SelectSimilarBox()->isChecked());
        // "All Glazes" cannot select the matches of one glaze.
        GroupButton(dialog.CompareGroup(), kSimilarAllGlazes).click();
        EXPECT_FALSE(dialog.SelectSimilarBox()->isEnabled());
        EXPECT_FALSE(dialog.SelectSimilarBox()->isChecked());
        GroupButton(dialog.CompareGroup(), kSimilarSelectedGlazes).click();
        EXPECT_TRUE(dialog.SelectSimilarBox()->isEnabled());
        dialog.SelectSimilarBox()->setChecked(true);
        Type(dialog.CutoffEdit(), QStringLiteral("91.4"));
        SaveScreenshot(dialog, "menu-find-similar-glazes");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose(kFindSimilarEntry));
    EXPECT_EQ(Information(), "====================\n=== Cone 6 Clear ===\n====================\n\n"
                             "Nonvolatile oxide similarity (% weight) :\n"
                             "   93.51  Cone 6 Zircon White\n   91.46  Cone 10 Copper Red\n");
    EXPECT_EQ(m_list->GetSelItems(), (std::vector<int>{0, 1, 8}));

    // The next opening shows the cutoff of the last OK.
    Activate(m_list);
    WhenDialogShows<CFindSimilarGlazesDlg>([](CFindSimilarGlazesDlg& dialog) {
        EXPECT_EQ(dialog.CutoffEdit()->text(), QStringLiteral("91.4"));
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose(kFindSimilarEntry));
}

TEST_F(GlazeListReportMenuTest, CancelDuringTheSearchPutsBackWhatItChanged)
{
    // The analyses leave the zircon addition out; the search is asked to count additions.
    g_prefs.anchadd = 0;
    const CGlaze& zirconWhite = Found(m_doc->GetGlaze(1));
    ASSERT_TRUE(zirconWhite.GetAnalysis().IsValid());
    const double silicaBefore = zirconWhite.GetAnalysis().unity[14];
    EXPECT_EQ(zirconWhite.GetAnalysis().unity[kZirconium], 0.0);

    WhenDialogShows<CFindSimilarGlazesDlg>([](CFindSimilarGlazesDlg& dialog) {
        GroupButton(dialog.CompareGroup(), kSimilarAllGlazes).click();
        dialog.IncludeAdditionsBox()->setChecked(true);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    bool sawProgress = false;
    WhenProgressReads(QStringLiteral("Comparing 10 of 100"), [&](CProgressDlg& progress) {
        sawProgress = true;
        // Only the progress window takes input while the search runs.
        EXPECT_EQ(progress.windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(progress.windowTitle(), QStringLiteral("Finding similar glazes"));
        EXPECT_EQ(g_prefs.anchadd, 1) << "the search counts the additions";
        SaveScreenshot(progress, "menu-find-similar-progress");
        QTest::mouseClick(progress.CancelButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose(kFindSimilarEntry));
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(g_prefs.anchadd, 0);
    EXPECT_EQ(zirconWhite.GetAnalysis().unity[kZirconium], 0.0);
    EXPECT_EQ(zirconWhite.GetAnalysis().unity[14], silicaBefore);
}

TEST_F(GlazeListReportMenuTest, ADatabaseClosedDuringTheSearchStopsIt)
{
    CShellSandbox::CopyFile(m_box.dataDir + "/glazes.glz", m_box.dataDir + "/second.glz");
    ASSERT_NE(g_pGlazesTemplate, nullptr);
    auto* second = dynamic_cast<CGlazesDoc*>(g_pGlazesTemplate->OpenDocumentFile(m_box.dataDir + "/second.glz"));
    ASSERT_NE(second, nullptr);
    Activate(m_list);
    Select(*m_list, {0});
    WhenDialogShows<CFindSimilarGlazesDlg>([](CFindSimilarGlazesDlg& dialog) {
        GroupButton(dialog.CompareToDatabaseGroup(), kSimilarAllDatabases).click();
        dialog.IncludeAdditionsBox()->click(); // the search changes the preference and puts it back
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    // Whatever reaches the program while events run, the search never touches a closed database,
    // not even when it drops the analyses made under the other additions choice.
    WhenProgressReads(QStringLiteral("Comparing 3 of 20"), [second](CProgressDlg&) { second->OnCloseDocument(); });
    ASSERT_TRUE(Choose(kFindSimilarEntry));
    EXPECT_EQ(Information(), "Search stopped: a glaze database was closed or changed.\n");
    EXPECT_EQ(m_list->GetSelItems(), std::vector<int>{0});
}

TEST_F(GlazeListReportMenuTest, TheShoppingListAddsUpTheSelectedGlazes)
{
    Select(*m_list, {0, 1});
    ShoppingList(QStringLiteral("500g"));
    EXPECT_EQ(Information(), "To make these glazes :\n"
                             "Cone 6 Clear           500.00 g\n"
                             "Cone 6 Zircon White    500.00 g\n"
                             "\n"
                             "You need these ingredients :\n"
                             "Kaolin               200.00  g\n"
                             "Nepheline Syenite    200.00  g\n"
                             "Silica               320.00  g\n"
                             "Whiting               80.00  g\n"
                             "Wollastonite         150.00  g\n"
                             "Zinc Oxide            50.00  g\n"
                             "Zircon                50.00  g\n");

    ShoppingList(QStringLiteral("abc"));
    EXPECT_EQ(Information().substr(0, Information().find('\n') + 1), "Size \"abc\" not understood; using 100g\n");

    // A glaze measured by volume whose material has no density is listed with size 0 and adds
    // nothing to the totals.
    CGlaze byVolume("Slip Trail");
    byVolume.m_byVol = 1;
    byVolume.m_components.Add("Mystery Slip", 60);
    byVolume.m_components.Add("Silica", 40);
    m_doc->InsertGlaze(2, byVolume);
    COxidariumApp::BroadcastUpdate(nullptr, m_doc, 5, HintGlazesInserted, 2, 0);
    Select(*m_list, {0, 2});
    m_box.messages.boxes.clear();
    ShoppingList(QStringLiteral("100"));
    EXPECT_EQ(m_box.messages.Texts(), std::vector<std::string>{"Cannot convert \"Slip Trail\" to recipe by weight!"});
    EXPECT_EQ(Information(), "To make these glazes :\n"
                             "Cone 6 Clear    100.00 g\n"
                             "Slip Trail        0.00 g\n"
                             "\n"
                             "You need these ingredients :\n"
                             "Kaolin               20.00  g\n"
                             "Nepheline Syenite    20.00  g\n"
                             "Silica               32.00  g\n"
                             "Whiting               8.00  g\n"
                             "Wollastonite         15.00  g\n"
                             "Zinc Oxide            5.00  g\n");
}
