#include "glazes/SortGlazesDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "GlazeDlgTestFixture.h"
#include "glazes/GlazeListDlgCommands.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class SortGlazesDlgTest : public GlazeDlgFixture {};

constexpr int kColorCriterion = 7;

} // namespace

TEST_F(SortGlazesDlgTest, SortingByAChosenCriterionOrdersTheListAndIsRemembered)
{
    int refills = 0;
    WhenDialogShows<CSortGlazesDlg>([](CSortGlazesDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sort glazes by..."));
        EXPECT_EQ(dialog.CriterionButton(kColorCriterion)->text(), QStringLiteral("Color"));
        dialog.CriterionButton(kColorCriterion)->click();
        GroupButton(dialog.MethodGroup(), 1).click();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunSortGlazes(*m_doc, m_list, nullptr, [&refills] { ++refills; }));
    EXPECT_EQ(GlazeNames(),
              (std::vector<std::string>{"Temmoku", "Blue Matte", "Celadon", "Blue Satin", "Matte White"}));
    EXPECT_EQ(TakeNotices(), (std::vector<std::pair<int, int>>{{HintGlazesReordered, 0}}));
    EXPECT_EQ(refills, 1);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(g_prefs.m_nGlazeSortCriterion, kColorCriterion);
    EXPECT_EQ(g_prefs.m_nGlazeSortAlphabetical, 1);

    // Cancel sorts nothing.
    WhenDialogShows<CSortGlazesDlg>([](CSortGlazesDlg& dialog) {
        EXPECT_TRUE(dialog.CriterionButton(kColorCriterion)->isChecked());
        dialog.CriterionButton(0)->click();
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(RunSortGlazes(*m_doc, m_list, nullptr));
    EXPECT_EQ(ItemAt(GlazeNames(), 0), "Temmoku");
    EXPECT_TRUE(TakeNotices().empty());
    EXPECT_EQ(g_prefs.m_nGlazeSortCriterion, kColorCriterion);
}

TEST_F(SortGlazesDlgTest, TheOxideListGivesAnElementOrNone)
{
    // A remembered field past the list (a profile edited by hand) leaves every field unchosen.
    CSortGlazesDlg beyond;
    beyond.criterion = kGlazeSortCount;
    beyond.InitDialog();
    EXPECT_EQ(beyond.CriterionButton(kGlazeSortCount), nullptr);

    CSortGlazesDlg dialog;
    dialog.element = 14;
    dialog.InitDialog();
    QComboBox* oxides = dialog.OxideCombo();
    ASSERT_NE(oxides, nullptr);
    EXPECT_EQ(oxides->currentText(), QStringLiteral("SiO2"));
    EXPECT_EQ(oxides->findText(QStringLiteral("<none>")), -1);
    // "Oxide :" stands just over the list it names.
    const QLabel* label = nullptr;
    for (const QLabel* each : dialog.findChildren<QLabel*>())
        label = each->text() == QStringLiteral("Oxide :") ? each : label;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->x(), oxides->x());
    EXPECT_LT(label->geometry().bottom(), oxides->y());
    // Three groups, each closed by a separator line.
    int separators = 0;
    for (int row = 0; row < oxides->count(); ++row)
        separators += oxides->itemText(row) == QStringLiteral("---") ? 1 : 0;
    EXPECT_EQ(separators, 3);
    EXPECT_EQ(oxides->itemText(oxides->count() - 1), QStringLiteral("---"));

    oxides->setCurrentIndex(oxides->findText(QStringLiteral("---")));
    dialog.accept();
    EXPECT_EQ(dialog.element, -1);
    EXPECT_EQ(dialog.criterion, -1);
    EXPECT_EQ(dialog.alphabetical, -1);
    oxides->setCurrentIndex(oxides->findText(QStringLiteral("CaO")));
    dialog.accept();
    EXPECT_EQ(dialog.element, 20);
}
