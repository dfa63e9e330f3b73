#include "tools/BatchCalcDlg.h"

#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "BatchOptDlgFixture.h"
#include "FieldCaption.h"
#include "framework/Cp1252.h"
#include "materials/EditFormulaDlg.h"
#include "support/DialogStyle.h"
#include "tools/BatchCalcPrefsDlg.h"
#include "ui/support/OverlapCheck.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace {

// Leach 4321 as a unity formula: the calculator gives back its batch.
constexpr const char* kLeachUnity = "0.26449 K2O  0.73551 CaO  0.40707 Al2O3  3.70994 SiO2";

using Rows = std::vector<std::string>;

class BatchCalcDlgTest : public BatchOptDlgFixture {
protected:
    // The dialog over the Leach recipe, as the glaze edit view opens it.
    void Open(CBatchCalcDlg& dialog)
    {
        for (const auto& [name, amount] : LeachRecipe())
            dialog.calc.m_originalComponents.Add(name, amount);
        dialog.calc.m_originalAdditions.Add("Tin Oxide", 5);
        dialog.InitDialog();
    }
    // Types a material, leaves the box, and uses the amount offered.
    static std::string UseOffered(CBatchCalcDlg& dialog, const char* typed)
    {
        dialog.MaterialBox()->clear();
        QTest::keyClicks(dialog.MaterialBox(), QString::fromLatin1(typed));
        Leave(dialog.MaterialBox());
        const std::string amount = ToCp1252(dialog.AmountBox()->currentText());
        dialog.Button(kBatchUseMaterial)->click();
        return amount;
    }
    static void Restart(CBatchCalcDlg& dialog, const char* formula)
    {
        dialog.FormulaBox()->setPlainText(QString::fromLatin1(formula));
        dialog.Button(kBatchRestart)->click();
    }
};

} // namespace

TEST_F(BatchCalcDlgTest, LeachUnityFormulaBecomesItsBatchAndOkSplitsIt)
{
    CBatchCalcDlg dialog;
    dialog.backgroundColor = GetNamedColor("ged_tab");
    Open(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Formula to Batch Calculation"));
    // The additions take part in the formula.
    EXPECT_EQ(ToCp1252(dialog.FormulaBox()->toPlainText()),
              "0.07186 K2O  0.19982 CaO  0.11059 Al2O3  1.00791 SiO2  0.03318 SnO2");
    EXPECT_EQ(dialog.MaterialsList()->count(), m_materials.Materials().GetCount());
    ASSERT_GT(dialog.MaterialsList()->count(), 0);
    EXPECT_EQ(ToCp1252(ListRow(dialog.MaterialsList(), 0).text()), "SIL\tSilica");
    EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RecipeList()),
              (Rows{"Potash Feldspar\t40", "Silica\t30", "Whiting\t20", "Kaolin\t10", "Tin Oxide\t  5"}));

    Restart(dialog, kLeachUnity);
    EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RemainderList(kRemainderListAlkali)),
              (Rows{"K2O\t  0.26449", "CaO\t  0.73551"}));
    EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RemainderList(kRemainderListOther)), (Rows{"SiO2\t  3.70994"}));

    const std::string whiting = UseOffered(dialog, "Whi");
    EXPECT_EQ(whiting, "73.616");
    EXPECT_EQ(ToCp1252(dialog.RecipeBox()->toPlainText()), "Whiting\t    73.616");
    EXPECT_EQ(dialog.MaterialBox()->text(), QString());
    EXPECT_EQ(dialog.AmountBox()->currentText(), QStringLiteral("0.0"));
    EXPECT_EQ(UseOffered(dialog, "KSPAR"), "147.231");
    EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RemainderList(kRemainderListNeutral)), (Rows{"Al2O3\t  0.14258"}));
    EXPECT_EQ(UseOffered(dialog, "Kaolin"), "36.808");
    SaveScreenshot(dialog, "batch-calculation");
    EXPECT_EQ(UseOffered(dialog, "Silica"), "110.426");
    for (int list = 0; list < kRemainderListCount; ++list)
        EXPECT_EQ(dialog.RemainderList(list)->count(), 0) << list;

    // OK: the recipe goes back in the old recipe's order; the tin oxide stays an addition.
    dialog.MaterialBox()->setText(QStringLiteral("Tin Oxide"));
    // An amount that is no number is refused, not used as the number it begins with.
    dialog.AmountBox()->setEditText(QStringLiteral("7,5"));
    dialog.Button(kBatchUseMaterial)->click();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_EQ(dialog.calc.GetRecipe().GetCount(), 4);
    m_messages.boxes.clear();
    dialog.AmountBox()->setEditText(QStringLiteral("7.5"));
    dialog.Button(kBatchUseMaterial)->click();
    dialog.Button(1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CIngredientList& components = dialog.calc.m_originalComponents;
    ASSERT_EQ(components.GetCount(), 4);
    EXPECT_EQ(RecordAt(components, 0).m_name, "Potash Feldspar");
    EXPECT_DOUBLE_EQ(RecordAt(components, 0).m_amount, 147.231);
    EXPECT_EQ(RecordAt(components, 1).m_name, "Silica");
    EXPECT_EQ(RecordAt(components, 2).m_name, "Whiting");
    EXPECT_EQ(RecordAt(components, 3).m_name, "Kaolin");
    ASSERT_EQ(dialog.calc.m_originalAdditions.GetCount(), 1);
    EXPECT_DOUBLE_EQ(RecordAt(dialog.calc.m_originalAdditions, 0).m_amount, 7.5);
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(BatchCalcDlgTest, RunBatchCalculationHandsTheRecipeBackOnOkOnly)
{
    CIngredientList components;
    CIngredientList additions;
    for (const auto& [name, amount] : LeachRecipe())
        components.Add(name, amount);
    QColor background;
    WhenDialogShows<CBatchCalcDlg>([&](CBatchCalcDlg& dialog) {
        background = dialog.palette().color(QPalette::Window);
        dialog.MaterialBox()->setText(QStringLiteral("Whiting"));
        dialog.AmountBox()->setEditText(QStringLiteral("20"));
        dialog.Button(kBatchUseMaterial)->click();
        dialog.MaterialBox()->setText(QStringLiteral("Silica"));
        dialog.AmountBox()->setEditText(QStringLiteral("30"));
        dialog.Button(kBatchUseMaterial)->click();
        dialog.Button(1)->click();
    });
    ASSERT_TRUE(RunBatchCalculation(components, additions, nullptr, "sed_bkg"));
    EXPECT_EQ(background, ToQColor(GetNamedColor("sed_bkg"))) << "the default batch colour is black";

    // Without a colour of the caller the captions turn light on the black background.
    CBatchCalcDlg plain;
    plain.InitDialog();
    EXPECT_EQ(plain.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(plain.palette().color(QPalette::WindowText), QColor(Qt::white));
    ASSERT_EQ(components.GetCount(), 2);
    EXPECT_EQ(RecordAt(components, 0).m_name, "Silica");
    EXPECT_EQ(RecordAt(components, 1).m_name, "Whiting");
    EXPECT_TRUE(additions.empty());

    WhenDialogShows<CBatchCalcDlg>([](CBatchCalcDlg& dialog) {
        dialog.MaterialBox()->setText(QStringLiteral("Kaolin"));
        dialog.AmountBox()->setEditText(QStringLiteral("10"));
        dialog.Button(kBatchUseMaterial)->click();
        dialog.Button(2)->click();
    });
    EXPECT_FALSE(RunBatchCalculation(components, additions, nullptr, "sed_bkg"));
    ASSERT_EQ(components.GetCount(), 2);
    EXPECT_EQ(RecordAt(components, 0).m_name, "Silica");
}

TEST_F(BatchCalcDlgTest, MaterialBoxCompletesAPrefixAndTheInformationBoxDescribesIt)
{
    CBatchCalcDlg dialog;
    Open(dialog);
    QTest::keyClicks(dialog.MaterialBox(), QStringLiteral("Sil"));
    Leave(dialog.MaterialBox());
    EXPECT_EQ(dialog.MaterialBox()->text(), QStringLiteral("Silica"));
    EXPECT_EQ(dialog.ProvidesLine()->text(), QStringLiteral("...provides :  SiO2"));
    EXPECT_EQ(dialog.MaterialsList()->currentRow(), 0);
    EXPECT_FALSE(dialog.AnalysisLine()->text().isEmpty());

    dialog.Button(kBatchMaterialInfo)->click();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text.rfind("Silica (Flint) (Quartz) :\n  Type: silica\n  ", 0), 0u)
        << m_messages.At(0).text;
    EXPECT_NE(m_messages.At(0).text.find("Available\n  "), std::string::npos);
    EXPECT_NE(m_messages.At(0).text.find(" per pound\n  SiO2"), std::string::npos);
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconInformation));

    dialog.MaterialBox()->setText(QStringLiteral("Moonstone"));
    dialog.Button(kBatchMaterialInfo)->click();
    EXPECT_EQ(m_messages.Last().text, "Moonstone not found in material list");
    dialog.MaterialBox()->clear();
    dialog.Button(kBatchMaterialInfo)->click();
    EXPECT_EQ(m_messages.boxes.size(), 2u) << "an empty box shows nothing";
}

TEST_F(BatchCalcDlgTest, PickingRowsSelectsMaterialsAndAmounts)
{
    CBatchCalcDlg dialog;
    Open(dialog);
    // An addition of the original recipe: its material with its amount.
    dialog.RecipeList()->setCurrentRow(4);
    EXPECT_EQ(dialog.MaterialBox()->text(), QStringLiteral("Tin Oxide"));
    EXPECT_EQ(dialog.AmountBox()->currentText(), QStringLiteral("5"));
    dialog.RecipeList()->setCurrentRow(1);
    EXPECT_EQ(dialog.MaterialBox()->text(), QStringLiteral("Silica"));
    EXPECT_EQ(dialog.AmountBox()->currentText(), QStringLiteral("30"));
    EXPECT_EQ(dialog.RecipeList()->currentRow(), 1) << "the picked line stays marked";

    // A material from the list, then an oxide of the remainders: the amount meeting it.
    dialog.MaterialsList()->setCurrentRow(m_materials.Materials().IndexOf(m_materials.Materials().FindMaterial("KSPAR")));
    EXPECT_EQ(dialog.MaterialBox()->text(), QStringLiteral("Potash Feldspar"));
    EXPECT_EQ(dialog.AmountBox()->count(), 3);
    EXPECT_EQ(dialog.AmountBox()->itemText(0), QStringLiteral("  40.000 (K2O)"));
    QListWidget* other = dialog.RemainderList(kRemainderListOther);
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(CBatchCalcDlg::RowTexts(other), (Rows{"SiO2\t  1.00791", "SnO2\t  0.03318"}));
    dialog.AmountBox()->setFocus();
    other->setCurrentRow(0);
    EXPECT_EQ(dialog.focusWidget(), dialog.Button(kBatchUseMaterial)) << "Enter now uses the amount";
    EXPECT_EQ(other->currentRow(), -1) << "the pick is not kept";
    EXPECT_EQ(dialog.AmountBox()->currentText(), QStringLiteral("93.511"));

    // A choice of the Amount drop-down analyses that amount.
    dialog.AmountBox()->setCurrentIndex(2);
    emit dialog.AmountBox()->activated(2);
    EXPECT_EQ(dialog.AmountBox()->currentText(), QStringLiteral("93.511"));
    dialog.AmountBox()->setEditText(QStringLiteral("12.5"));
    Leave(dialog.AmountBox());
    EXPECT_EQ(dialog.AnalysisLine()->text(), QString());
    EXPECT_EQ(dialog.AmountBox()->currentText(), QStringLiteral("12.5"));

    // Suggestions: the list shows them and a pick selects the material with its amount.
    dialog.Button(kBatchRestart)->click();
    GroupButton(dialog.ModeGroup(), kBatchListSuggestions).click();
    EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RecipeList()),
              (Rows{"Potash Feldspar\tK2O\t40", "Pearl Ash\tK2O\t  9.931"}));
    dialog.RecipeList()->setCurrentRow(1);
    EXPECT_EQ(dialog.MaterialBox()->text(), QStringLiteral("Pearl Ash"));
    EXPECT_EQ(dialog.AmountBox()->currentText(), QStringLiteral("9.931"));
    dialog.Button(kBatchMakeSuggestion)->click();
    EXPECT_EQ(dialog.MaterialBox()->text(), QStringLiteral("Potash Feldspar"));
    dialog.Button(kBatchMakeSuggestion)->click();
    EXPECT_EQ(dialog.MaterialBox()->text(), QStringLiteral("Pearl Ash"));
    ASSERT_GT(dialog.RecipeList()->count(), 0);
    ListRow(dialog.RecipeList(), 0).setSelected(true);
    emit dialog.RecipeList()->itemDoubleClicked(dialog.RecipeList()->item(0));
    EXPECT_EQ(ToCp1252(dialog.RecipeBox()->toPlainText()), "Potash Feldspar\t    40");
}

TEST_F(BatchCalcDlgTest, UnitsCombiningAndUndo)
{
    CBatchCalcDlg dialog;
    Open(dialog);
    Restart(dialog, kLeachUnity);
    GroupButton(dialog.UnitGroup(), kRemainderMolePercent).click();
    EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RemainderList(kRemainderListOther)), (Rows{"SiO2\t72.50211"}));
    GroupButton(dialog.UnitGroup(), kRemainderMolecular).click();

    dialog.CombineBox()->click();
    EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RemainderList(kRemainderListAlkali)),
              (Rows{"KNaO\t  0.26449", "CaO\t  0.73551"}));
    dialog.CombineBox()->click();
    EXPECT_EQ(ItemAt(CBatchCalcDlg::RowTexts(dialog.RemainderList(kRemainderListAlkali)), 0), "K2O\t  0.26449");

    UseOffered(dialog, "Whiting");
    UseOffered(dialog, "Silica");
    dialog.Button(kBatchUndo)->click();
    EXPECT_EQ(dialog.MaterialBox()->text(), QStringLiteral("Silica"));
    EXPECT_EQ(ToCp1252(dialog.RecipeBox()->toPlainText()), "Whiting\t    73.616");
    EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RemainderList(kRemainderListOther)), (Rows{"SiO2\t  3.70994"}));
}

TEST_F(BatchCalcDlgTest, FormulaBoxIsCheckedOnLeavingAndRecomputedOnlyOnRestart)
{
    CBatchCalcDlg dialog;
    Open(dialog);
    const Rows before = CBatchCalcDlg::RowTexts(dialog.RemainderList(kRemainderListOther));
    dialog.FormulaBox()->setPlainText(QStringLiteral("0.3 K2O  0.7 CaO\n0.4 Al2O3 3.5 SiO2\n"));
    Leave(dialog.FormulaBox());
    EXPECT_EQ(dialog.FormulaBox()->toPlainText(), QStringLiteral("0.3 K2O  0.7 CaO 0.4 Al2O3 3.5 SiO2"));
    EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RemainderList(kRemainderListOther)), before);
    dialog.Button(kBatchRestart)->click();
    EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RemainderList(kRemainderListOther)), (Rows{"SiO2\t  3.50000"}));

    dialog.FormulaBox()->setPlainText(QStringLiteral("0.3 Xq2O"));
    Leave(dialog.FormulaBox());
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text.rfind("Invalid formula!\n    ", 0), 0u);
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconError));

    // An empty formula box rebuilds the formula from the original recipe.
    Restart(dialog, "");
    EXPECT_EQ(ToCp1252(dialog.FormulaBox()->toPlainText()),
              "0.07186 K2O  0.19982 CaO  0.11059 Al2O3  1.00791 SiO2  0.03318 SnO2");
}

TEST_F(BatchCalcDlgTest, ConvertRefusesPercentagesThatDoNotAddUp)
{
    CBatchCalcDlg dialog;
    Open(dialog);
    dialog.FormulaBox()->setPlainText(QStringLiteral("% 60 SiO2  30 Al2O3"));
    dialog.Button(kBatchConvert)->click();
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, "Percentages must add to 100% before conversion");
    EXPECT_EQ(m_messages.At(0).Icon(), unsigned(MsgIconError));
    dialog.FormulaBox()->clear();
    dialog.Button(kBatchConvert)->click();
    EXPECT_EQ(m_messages.Last().text, "Formula is empty");
}

TEST_F(BatchCalcDlgTest, EditFormulaWritesWithTheRemainderDecimalsWhileOpen)
{
    CBatchCalcDlg dialog;
    Open(dialog);
    g_prefs.decformulas = 2;
    g_prefs.tzsformulas = 1;
    int decimalsWhileOpen = 0;
    WhenDialogShows<CEditFormulaDlg>([&](CEditFormulaDlg& edit) {
        decimalsWhileOpen = g_prefs.decformulas;
        EXPECT_EQ(edit.palette().color(QPalette::Window), dialog.palette().color(QPalette::Window));
        edit.formula = "% ";
        edit.reject();
    });
    dialog.Button(kBatchEditFormula)->click();
    EXPECT_EQ(decimalsWhileOpen, g_prefs.decremainders);
    EXPECT_EQ(g_prefs.decformulas, 2);
    EXPECT_EQ(g_prefs.tzsformulas, 1);
    EXPECT_FALSE(dialog.FormulaBox()->toPlainText().isEmpty()) << "Cancel keeps the formula";

    WhenDialogShows<CEditFormulaDlg>([](CEditFormulaDlg& edit) {
        edit.FillGrid("% ");
        edit.accept();
    });
    dialog.Button(kBatchEditFormula)->click();
    EXPECT_EQ(dialog.FormulaBox()->toPlainText(), QString()) << "an empty percentage formula is no formula";
}

TEST_F(BatchCalcDlgTest, SetupAppliesNewSuggestionPreferences)
{
    CBatchCalcDlg dialog;
    Open(dialog);
    Restart(dialog, kLeachUnity);
    GroupButton(dialog.ModeGroup(), kBatchListSuggestions).click();
    EXPECT_EQ(ItemAt(CBatchCalcDlg::RowTexts(dialog.RecipeList()), 0).rfind("Potash Feldspar\tK2O", 0), 0u);
    const std::string savedOrder = g_savedPrefs.sugord;
    WhenDialogShows<CBatchPrefsDlg>([](CBatchPrefsDlg& prefs) {
        prefs.OrderEdit()->setText(QStringLiteral("Ca Si"));
        prefs.UseButton()->click();
    });
    dialog.Button(kBatchSetup)->click();
    EXPECT_EQ(g_prefs.sugord, "Ca Si");
    EXPECT_EQ(g_savedPrefs.sugord, savedOrder);
    EXPECT_EQ(ItemAt(CBatchCalcDlg::RowTexts(dialog.RecipeList()), 0).rfind("Whiting\tCaO", 0), 0u);
    EXPECT_EQ(dialog.UnitGroup()->checkedId(), kRemainderMolecular);
}

TEST_F(BatchCalcDlgTest, SmallScreenUsesTheCompactLayoutAndScrolls)
{
    m_messages.screenHeight = 480;
    CBatchCalcDlg dialog;
    // A font large enough that the dialog is taller than the screen the tests run on.
    QFont large = dialog.font();
    large.setPointSize(40);
    dialog.setFont(large);
    Open(dialog);
    EXPECT_TRUE(dialog.IsCompact());
    EXPECT_EQ(dialog.width(), CDialogUnits(dialog.font()).X(412));
    QScrollBar* bar = dialog.ScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    EXPECT_EQ(dialog.Content()->y(), -bar->maximum());
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(dialog.Content()->y(), 0) << "page up goes to the top";
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(dialog.Content()->y(), -1) << "a line down moves one pixel";

    m_messages.screenHeight = 768;
    CBatchCalcDlg normal;
    Open(normal);
    EXPECT_FALSE(normal.IsCompact());
    EXPECT_EQ(normal.ScrollBar(), nullptr);
    EXPECT_EQ(normal.width(), CDialogUnits(normal.font()).X(400));
}

TEST_F(BatchCalcDlgTest, MakeSuggestionCyclesThroughThreeSuggestions)
{
    CBatchCalcDlg dialog;
    Open(dialog);
    // Calcium comes first in the order that has a remainder; whiting, wollastonite and
    // fluorspar each meet it with their smallest amount.
    Restart(dialog, "1 CaO  1 SiO2");
    GroupButton(dialog.ModeGroup(), kBatchListSuggestions).click();
    ASSERT_EQ(CBatchCalcDlg::RowTexts(dialog.RecipeList()).size(), 3u);
    std::vector<std::string> shown;
    for (int click = 0; click < 4; ++click) {
        dialog.Button(kBatchMakeSuggestion)->click();
        shown.push_back(ToCp1252(dialog.MaterialBox()->text()));
    }
    EXPECT_EQ(shown, (Rows{"Whiting", "Wollastonite", "Fluorspar", "Whiting"}));
}

TEST_F(BatchCalcDlgTest, OkKeepsANewLineOfAnOldAdditionAmongTheAdditions)
{
    CIngredientList components;
    components.Add("Silica", 60);
    components.Add("Kaolin", 40);
    CIngredientList additions;
    additions.Add("Zircopax", 10);
    WhenDialogShows<CBatchCalcDlg>([](CBatchCalcDlg& dialog) {
        for (const auto& [name, amount] : {std::pair{"Silica", "30"}, std::pair{"zircopax", "5"}}) {
            dialog.MaterialBox()->setText(QString::fromLatin1(name));
            dialog.AmountBox()->setEditText(QString::fromLatin1(amount));
            dialog.Button(kBatchUseMaterial)->click();
        }
        dialog.Button(1)->click();
    });
    ASSERT_TRUE(RunBatchCalculation(components, additions, nullptr, "ged_tab"));
    ASSERT_EQ(components.GetCount(), 1);
    EXPECT_EQ(RecordAt(components, 0).m_name, "Silica");
    ASSERT_EQ(additions.GetCount(), 1);
    EXPECT_EQ(RecordAt(additions, 0).m_name, "zircopax");
    EXPECT_EQ(RecordAt(additions, 0).m_amount, 5.0);
}

TEST_F(BatchCalcDlgTest, TheMaterialsListHasItsOwnBackground)
{
    CBatchCalcDlg dialog;
    Open(dialog);
    EXPECT_EQ(dialog.MaterialsList()->palette().color(QPalette::Base), ToQColor(GetNamedColor("mat_list")));
}

TEST_F(BatchCalcDlgTest, NoControlCoversAnother)
{
    CBatchCalcDlg dialog;
    Open(dialog);
    EXPECT_EQ(OverlappingControls(*dialog.Content()), std::vector<std::string>());
    EXPECT_EQ(CaptionFault(*dialog.AmountBox(), "Amount :"), "");
    EXPECT_EQ(CaptionFault(*dialog.FormulaBox(), " Formula :"), "");
}

// Captions turn white only on a batch colour darker than mid grey; on mid grey they stay black.
TEST_F(BatchCalcDlgTest, CaptionsStayBlackOnAMidGreyBatchColour)
{
    CBatchCalcDlg grey;
    grey.backgroundColor = CColor{128, 128, 128};
    Open(grey);
    EXPECT_EQ(grey.palette().color(QPalette::WindowText), QColor(Qt::black));
    CBatchCalcDlg darker;
    darker.backgroundColor = CColor{127, 128, 128};
    Open(darker);
    EXPECT_EQ(darker.palette().color(QPalette::WindowText), QColor(Qt::white));
}
