#include "glazes/MakeLimitFormulaDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "GlazeDlgTestFixture.h"
#include "core/support/CheckedItems.h"
#include "glazes/MakeLimitFormula.h"
#include "limits/MakeLimitFormulaRequest.h"
#include "ui/support/OverlapCheck.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class MakeLimitFormulaDlgTest : public GlazeDlgFixture {};

void SelectCombination(CMakeLimitFormulaDlg& dialog, const char* name)
{
    const QList<QListWidgetItem*> items = dialog.CombinationList()->findItems(QString::fromLatin1(name), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    items.front()->setSelected(true);
}

} // namespace

TEST_F(MakeLimitFormulaDlgTest, AFormulaMadeFromThreeSelectedGlazesJoinsTheLimitFormulas)
{
    m_selection.rows = {0, 3, 4};
    WhenDialogShows<CMakeLimitFormulaDlg>([](CMakeLimitFormulaDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Make Limit Formula"));
        dialog.NameEdit()->setText(QStringLiteral("Three glazes"));
        GroupButton(dialog.BasedOnGroup(), 1).click();
        EXPECT_FALSE(dialog.FormulaCombo()->isEnabled());
        EXPECT_TRUE(dialog.CombinationList()->isEnabled());
        SelectCombination(dialog, "CaO");
        SelectCombination(dialog, "SiO2");
        GroupButton(dialog.ScopeGroup(), 0).click();
        GroupButton(dialog.DatabasesGroup(), 0).click();
        dialog.NotesCheck()->setChecked(true);
        dialog.InformationCheck()->setChecked(false);
        SaveScreenshot(dialog, "MakeLimitFormulaDlg");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(RunMakeLimitFormula(*m_doc, m_list, nullptr));

    const CLimitFormulaDB& database = m_limits.Database();
    ASSERT_EQ(database.GetCount(), 2);
    const CLimitFormula& made = database.GetAt(1);
    EXPECT_EQ(made.m_name, "Three glazes");
    ASSERT_EQ(made.m_limits.GetCount(), 2);
    EXPECT_EQ(RecordAt(made.m_limits, 0).m_comboName, "CaO");
    EXPECT_EQ(RecordAt(made.m_limits, 1).m_comboName, "SiO2");
    ASSERT_FALSE(made.m_notes.empty());
    EXPECT_EQ(made.m_notes.front(), "Compiled from 3 glazes");
    EXPECT_NE(std::find(made.m_notes.begin(), made.m_notes.end(), "Oxide Combo: SiO2"), made.m_notes.end());
    EXPECT_TRUE(m_limits.IsModified());
    // The limit-formula views hear of it with the old formula count.
    EXPECT_EQ(TakeNotices(), (std::vector<std::pair<int, int>>{{HintLimitFormulasInserted, 1}}));
    EXPECT_EQ(g_prefs.m_strMakeLimName, "Three glazes");
    EXPECT_EQ(g_prefs.m_makeLimCombinations, (CStringArrayEx{"CaO", "SiO2"}));
    EXPECT_EQ(g_prefs.m_nMakeLimBasedOnChoice, 1);
}

TEST_F(MakeLimitFormulaDlgTest, GlazesWithUnknownMaterialsAreSkippedAndNoGlazeMakesNoFormula)
{
    CMakeLimitFormulaRequest request;
    request.m_allGlazes = 1;
    request.AddCombinationsByName(m_limits.Database().m_combinations, {"CaO"}, false);
    AccumulateGlazeStats(*m_doc, request);
    EXPECT_EQ(request.m_glazesUsed, 3);
    EXPECT_EQ(request.m_glazesSkipped, 2);
    ASSERT_FALSE(request.m_accumulators.empty());
    EXPECT_EQ(request.m_accumulators[0].GetCount(), 3);

    // "Selected Glazes" without a selection: nothing gathered, so no formula and no notice.
    CMakeLimitFormulaRequest none;
    none.AddCombinationsByName(m_limits.Database().m_combinations, {"CaO"}, false);
    EXPECT_EQ(MakeLimitFormulaFromGlazes(m_list, none), -1);
    EXPECT_EQ(none.m_glazesUsed + none.m_glazesSkipped, 0);
    EXPECT_EQ(m_limits.Database().GetCount(), 1);
    EXPECT_TRUE(TakeNotices().empty());
    EXPECT_EQ(m_messages.boxes.size(), 1u);
}

TEST_F(MakeLimitFormulaDlgTest, BasedOnAFormulaTakesItsLimits)
{
    CLimitFormula formula("Cone 6 gloss");
    CLimit limit;
    limit.m_comboName = "Al2O3";
    limit.m_byPercent = 1;
    formula.m_limits.Add(limit);
    m_limits.InsertFormula(1, formula);

    CMakeLimitFormulaRequest request;
    CMakeLimitFormulaDlg dialog;
    dialog.formulaName = "cone 6 GLOSS";
    dialog.basedOn = 0;
    dialog.request = &request;
    dialog.InitDialog();
    EXPECT_EQ(dialog.FormulaCombo()->currentText(), QStringLiteral("Cone 6 gloss"));
    EXPECT_TRUE(dialog.FormulaCombo()->isEnabled());
    EXPECT_FALSE(dialog.WeightPercentCheck()->isEnabled());
    dialog.accept();
    ASSERT_EQ(request.GetCombinationCount(), 1);
    EXPECT_EQ(request.m_combinations[0].m_name, "Al2O3");
    EXPECT_EQ(ItemAt(request.m_byPercent, 0), 1);
}

TEST_F(MakeLimitFormulaDlgTest, TheDialogShowsTheInformationChoiceItWasGiven)
{
    for (const int toInformation : {1, 0}) {
        CMakeLimitFormulaRequest request;
        CMakeLimitFormulaDlg dialog;
        dialog.toInformation = toInformation;
        dialog.request = &request;
        dialog.InitDialog();
        EXPECT_EQ(dialog.InformationCheck()->isChecked(), toInformation != 0);
    }
}

TEST_F(MakeLimitFormulaDlgTest, NoControlCoversAnother)
{
    CMakeLimitFormulaDlg dialog;
    dialog.InitDialog();
    EXPECT_EQ(OverlappingControls(dialog), std::vector<std::string>());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "a dialog of fixed size";
}
