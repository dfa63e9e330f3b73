#include "materials/FindSimilarMaterialsDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "core/textfile/FakeTextView.h"
#include "textfile/Information.h"
#include "textfile/TextFileDoc.h"
#include "tools/FindSimilarGlazesDlg.h"
#include "tools/ToolCommands.h"
#include "ui/materials/MaterialsViewFixture.h"
#include "ui/support/TestFolders.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>

namespace {

class FindSimilarMaterialsDlgTest : public MaterialsViewFixture {
protected:
    FindSimilarMaterialsDlgTest()
    {
        m_texts->SetFrameFactory([this](CDocTemplate&, CDocument& document, bool) {
            m_textFrames.push_back(std::make_unique<CFakeTextFrame>(document));
            return true;
        });
        g_pTextFileTemplate = m_texts.get();
    }
    ~FindSimilarMaterialsDlgTest() override
    {
        if (g_pInformationDoc)
            g_pInformationDoc->OnCloseDocument();
        g_pTextFileTemplate = nullptr;
    }
    static std::string Information()
    {
        return g_pInformationDoc ? FakeViewOf(g_pInformationDoc).Text() : "";
    }
    static void SetText(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    static void Screenshot(QWidget& widget, const char* name)
    {
        const QString folder = ScreenshotFolder();
        QDir().mkpath(folder);
        EXPECT_TRUE(widget.grab().save(folder + "/" + name + ".png"));
    }

    std::unique_ptr<CDocTemplate> m_texts = CreateTextFileTemplate();
    std::vector<std::unique_ptr<CFakeTextFrame>> m_textFrames;
};

} // namespace

TEST_F(FindSimilarMaterialsDlgTest, OneMaterialAgainstAllSelectsTheSimilarOnes)
{
    const int silica = IndexOf("Silica");
    ASSERT_GE(silica, 0);
    Select({silica});
    OnModal<CFindSimilarMaterialsDlg>([](CFindSimilarMaterialsDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Find Similar Materials"));
        EXPECT_EQ(dialog->helpId, kFindSimilarMaterialsHelpId);
        EXPECT_EQ(dialog->CutoffEdit()->text(), QStringLiteral("80"));
        EXPECT_EQ(dialog->CompareGroup()->checkedId(), kSimilarSelectedMaterials);
        EXPECT_TRUE(dialog->SelectSimilarBox()->isEnabled());
        Screenshot(*dialog, "FindSimilarMaterialsDlg");
        SetText(dialog->CutoffEdit(), QStringLiteral("0"));
        SetText(dialog->TopCountEdit(), QStringLiteral("3"));
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunFindSimilarMaterialsCommand(*m_doc, *m_view, nullptr));
    // The silica shares of the fired materials, best first.
    EXPECT_EQ(Information(), "==============\r\n=== Silica ===\r\n==============\r\n\r\n"
                             "Nonvolatile oxide similarity (% weight) :\r\n"
                             "   78.48  Petalite\r\n   70.21  Pyrophyllite\r\n   68.74  Soda Feldspar\r\n\r\n");
    // Silica and the three materials listed stay selected.
    std::vector<int> listed{silica, IndexOf("Petalite"), IndexOf("Pyrophyllite"), IndexOf("Soda Feldspar")};
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(m_view->GetSelItems(), listed);
    EXPECT_EQ(g_prefs.m_dSimMatCutoff, 0.0);
    EXPECT_EQ(g_prefs.m_nSimMatTopCount, 3);
}

TEST_F(FindSimilarMaterialsDlgTest, TheSummaryOfTheStarterDatabaseListsItsBestPairs)
{
    OnModal<CFindSimilarMaterialsDlg>([](CFindSimilarMaterialsDlg* dialog) {
        // No selection: "Select similar materials" is not offered.
        EXPECT_FALSE(dialog->SelectSimilarBox()->isEnabled());
        GroupButton(dialog->CompareGroup(), kSimilarAllMaterials).click();
        dialog->findChild<QCheckBox*>(QStringLiteral("1310"))->click(); // "Show summary only"
        SetText(dialog->CutoffEdit(), QStringLiteral("90"));
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    });
    m_view->SetSel(-1, false);
    EXPECT_TRUE(RunFindSimilarMaterialsCommand(*m_doc, *m_view, nullptr));
    // Pairs of the same fired oxides; each pair once.
    EXPECT_EQ(Information(), "==========================\r\n=== Similarity Summary ===\r\n"
                             "==========================\r\n\r\n"
                             "Nonvolatile oxide similarity (% weight) :\r\n"
                             "  100.00  Kaolin\r\n          Calcined Kaolin\r\n"
                             "  100.00  Whiting\r\n          Fluorspar\r\n"
                             "  100.00  Magnesium Carbonate\r\n          Magnesium Oxide\r\n"
                             "  100.00  Alumina Hydrate\r\n          Calcined Alumina\r\n"
                             "  100.00  Red Iron Oxide\r\n          Black Iron Oxide\r\n\r\n");
    EXPECT_EQ(m_view->GetSelCount(), 0);

    // Cancel in the dialog runs nothing.
    OnModal<CFindSimilarMaterialsDlg>([](CFindSimilarMaterialsDlg* dialog) {
        EXPECT_EQ(dialog->CutoffEdit()->text(), QStringLiteral("90"));
        QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(RunFindSimilarMaterialsCommand(*m_doc, *m_view, nullptr));
}

// Both dialogs take the six oxide measures and their buttons from the shared base: the glazes add
// theirs after the six, and OK stands below every choice of a dialog that keeps its size.
TEST_F(FindSimilarMaterialsDlgTest, BothDialogsOfferTheSixOxideMeasuresFirst)
{
    CFindSimilarMaterialsDlg materials;
    CFindSimilarGlazesDlg glazes;
    const QString oxides[] = {
        QStringLiteral("Nonvolatile oxides (% weight)"), QStringLiteral("Nonvolatile oxides (% molecular)"),
        QStringLiteral("All oxides (% weight)"),         QStringLiteral("All oxides (% molecular)"),
        QStringLiteral("Alkali oxides (% weight)"),      QStringLiteral("Alkali oxides (% molecular)"),
    };
    for (int n = 0; n < 6; ++n) {
        EXPECT_EQ(materials.MeasureBox(n)->text(), oxides[n]);
        EXPECT_EQ(glazes.MeasureBox(n)->text(), oxides[n]);
    }
    EXPECT_EQ(glazes.MeasureBox(6)->text(), QStringLiteral("Ingredients"));
    const CSimilarSearchDlg* dialogs[] = {&materials, &glazes};
    for (const CSimilarSearchDlg* dialog : dialogs) {
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
        EXPECT_GT(dialog->OkButton()->geometry().top(), dialog->CutoffEdit()->geometry().bottom());
        EXPECT_TRUE(dialog->rect().contains(dialog->OkButton()->geometry()));
        // Compare and Compare to each hold their two choices one under the other.
        const QList<QRadioButton*> radios = dialog->findChildren<QRadioButton*>();
        ASSERT_GE(radios.size(), 4);
        EXPECT_EQ(radios[1]->x(), radios[0]->x());
        EXPECT_EQ(radios[3]->x(), radios[2]->x());
    }
    // OK reads the choices as the user left them: all scores, no selecting.
    materials.request.compositeOnly = 1;
    materials.request.selectSimilar = 0;
    materials.show();
    for (QRadioButton* radio : materials.findChildren<QRadioButton*>())
        if (radio->text() == QStringLiteral("Show all scores"))
            radio->click();
    materials.accept();
    EXPECT_EQ(materials.request.compositeOnly, 0);
    EXPECT_EQ(materials.request.selectSimilar, 0);
}
