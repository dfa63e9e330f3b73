// Optimize as a potter reaches it: from the glaze list's Utilities menu in the running program,
// typing the constraints into the dialog's rows, on the shipped materials.

#include "ProgramFixture.h"
#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "core/framework/RecordingView.h"
#include "framework/Cp1252.h"
#include "glazes/Glaze.h"
#include "glazes/GlazeAnalysis.h"
#include "glazes/GlazeEditView.h"
#include "ui/glazes/GlazeEditViewAccess.h"
#include "support/PlainTextEditLines.h"
#include "support/TabEdit.h"
#include "framework/UpdateHint.h"
#include "support/ToggleButton.h"
#include "tools/BatchCalcDlg.h"
#include "tools/BatchScopeDlg.h"
#include "tools/OptimizeDispositionDlg.h"
#include "tools/OptimizeDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QStringList kOptimizeEntry{"&Utilities", "&Optimize..."};
constexpr int kAluminium = 13;
constexpr int kSilicon = 14;
constexpr int kCalcium = 20;

class OptimizeMenuTest : public ProgramFixture {
protected:
    OptimizeMenuTest() : m_doc(OpenShippedGlazes()), m_list(ListOf(m_doc)) {}
    void SetUp() override
    {
        ASSERT_TRUE(m_started);
        ASSERT_NE(m_list, nullptr);
    }

    static COptConstraintRow& RowOf(COptimizeDlg& dialog, int code)
    {
        for (int column = 0; column < kOptColumnCount; ++column) {
            for (int row = 0; row < kOptRowsPerColumn; ++row) {
                if (dialog.OxideRow(column, row).code == code)
                    return dialog.OxideRow(column, row);
            }
        }
        ADD_FAILURE() << "no row for oxide " << code;
        return dialog.OxideRow(0, 0);
    }
    // Types into a field as a user does and leaves it with Tab.
    static void Type(QLineEdit* field, const char* text)
    {
        // The offscreen platform does not activate a dialog by itself.
        QApplication::setActiveWindow(field->window());
        field->setFocus();
        EXPECT_TRUE(field->hasFocus());
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(text));
        QTest::keyClick(field, Qt::Key_Tab);
    }
    static void Constrain(COptimizeDlg& dialog, int code, const char* op, const char* value)
    {
        COptConstraintRow& row = RowOf(dialog, code);
        Type(row.op1, op);
        Type(row.value1, value);
    }
    static void ShowAndShoot(COptimizeDlg& dialog, int page, const char* name)
    {
        QTest::mouseClick(dialog.PageButton(page), Qt::LeftButton);
        EXPECT_EQ(dialog.CurrentPage(), page);
        SaveScreenshot(dialog, name);
    }

    CGlazesDoc* m_doc;
    CGlazesView* m_list;
};

} // namespace

TEST_F(OptimizeMenuTest, TheOptimalRecipeSavedAsANewGlazeMeetsItsConstraints)
{
    CRecordingFrame other(*m_doc, "other");
    Select(*m_list, {0});
    WhenDialogShows<COptimizeDlg>([](COptimizeDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Optimize"));
        // Unity CaO 0.7, the rest of the fluxes from sodium and potassium; Al2O3 0.4, SiO2 3.5.
        Constrain(dialog, kCalcium, "=", "0.7");
        Constrain(dialog, kAluminium, "=", "0.4");
        Constrain(dialog, kSilicon, "=", "3.5");
        Constrain(dialog, kConstraintKNaO, "g", "0");
        EXPECT_EQ(ToCp1252(RowOf(dialog, kConstraintKNaO).op1->text()), ">=");
        EXPECT_EQ(ToCp1252(dialog.SumLine(0)->text()), "Sum of alkali oxides: 0.70000 to 1.70000");
        ShowAndShoot(dialog, kOptPageOxides1, "menu-optimize-oxides1");
        ShowAndShoot(dialog, kOptPageOxides2, "menu-optimize-oxides2");
        ShowAndShoot(dialog, kOptPageMaterials1, "menu-optimize-materials1");
        ShowAndShoot(dialog, kOptPageMaterials2, "menu-optimize-materials2");
        ShowAndShoot(dialog, kOptPageOptimize, "menu-optimize-goal");
        QTest::mouseClick(dialog.Button(kOptFindRecipe), Qt::LeftButton);
        EXPECT_EQ(dialog.CurrentPage(), kOptPageResults);
        EXPECT_EQ(ToCp1252(dialog.StatusLine()->text()), "Optimization complete");
        EXPECT_FALSE(dialog.LeftPane()->toPlainText().isEmpty());
        SaveScreenshot(dialog, "menu-optimize-results");

        WhenDialogShows<CDispositionDlg>([](CDispositionDlg& disposition) {
            // The list opened the dialog for no glaze of its own: only a new glaze.
            EXPECT_FALSE(disposition.CurrentRadio()->isEnabled());
            EXPECT_TRUE(disposition.NewRadio()->isChecked());
            EXPECT_TRUE(disposition.RecipeBox()->isChecked());
            EXPECT_EQ(disposition.NameEdit()->text(), QStringLiteral("New Optimized Glaze"));
            SaveScreenshot(disposition, "menu-optimize-disposition");
            QTest::mouseClick(disposition.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
        });
        QTest::mouseClick(dialog.Button(1), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose(kOptimizeEntry));

    // Appended at the end of the database, selected, and announced.
    ASSERT_EQ(m_doc->GetGlazeCount(), 11);
    const CGlaze& made = Found(m_doc->GetGlaze(10));
    EXPECT_EQ(made.m_name, "New Optimized Glaze");
    EXPECT_EQ(m_list->GetSelItems(), std::vector<int>{10});
    ASSERT_EQ(other.view->received.size(), 1u);
    EXPECT_EQ(other.view->At(0).code, HintGlazesInserted);
    EXPECT_EQ(other.view->At(0).index, 10);
    ASSERT_NE(made.FindOptimizationParams(), nullptr);
    EXPECT_EQ(Found(made.FindOptimizationParams()).m_oxideConstraints.GetCount(), 4);

    // Its chemistry meets every '=' within the default tolerance of 0.1 % of the target.
    const CGlazeAnalysis& analysis = made.GetAnalysis();
    ASSERT_TRUE(analysis.IsValid());
    for (const auto& [z, target] : {std::pair{kCalcium, 0.7}, std::pair{kAluminium, 0.4}, std::pair{kSilicon, 3.5}})
        EXPECT_NEAR(analysis.unity[static_cast<std::size_t>(z)], target, target * 0.001 + 1e-9) << z;
}

TEST_F(OptimizeMenuTest, AnInfeasibleProblemLeavesNoRecipeToSave)
{
    WhenDialogShows<COptimizeDlg>([](COptimizeDlg& dialog) {
        Constrain(dialog, kCalcium, "=", "0.7");
        Constrain(dialog, kSilicon, "=", "3.5");
        Constrain(dialog, kConstraintKNaO, ">", "0");
        ShowInformation("an earlier report");
        QTest::mouseClick(dialog.Button(kOptFindRecipe), Qt::LeftButton);
        ASSERT_EQ(ToCp1252(dialog.StatusLine()->text()), "Optimization complete");
        ASSERT_FALSE(dialog.resultRecipe.empty());
        EXPECT_EQ(Information(), "an earlier report\n") << "a run without debugging output leaves it alone";

        // Without another flux calcium is the whole unity: 0.7 cannot be met. The debugging
        // output takes the Information window's place of the earlier report.
        QTest::mouseClick(dialog.PageButton(kOptPageOptimize), Qt::LeftButton);
        QTest::mouseClick(dialog.DebugBox(), Qt::LeftButton);
        ASSERT_TRUE(dialog.DebugBox()->isChecked());
        QTest::mouseClick(dialog.PageButton(kOptPageOxides1), Qt::LeftButton);
        Type(RowOf(dialog, kConstraintKNaO).op1, "x");
        QTest::mouseClick(dialog.Button(kOptFindRecipe), Qt::LeftButton);
        EXPECT_EQ(ToCp1252(dialog.StatusLine()->text()), "Error 4: No feasible solutions");
        const std::string trace = Information();
        EXPECT_EQ(trace.find("an earlier report"), std::string::npos);
        EXPECT_NE(trace.find("usable material: Whiting\n"), std::string::npos) << trace;
        EXPECT_TRUE(dialog.resultRecipe.empty());
        EXPECT_EQ(dialog.LeftPane()->toPlainText(), QString()) << "the last recipe is gone";
        EXPECT_EQ(dialog.RightPane()->toPlainText(), QString());

        WhenDialogShows<CDispositionDlg>([](CDispositionDlg& disposition) {
            EXPECT_FALSE(disposition.RecipeBox()->isEnabled());
            EXPECT_FALSE(disposition.RecipeBox()->isChecked());
            EXPECT_EQ(disposition.NameEdit()->text(), QStringLiteral("New Optimization Parameters"));
            QTest::mouseClick(disposition.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
        });
        QTest::mouseClick(dialog.Button(1), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose(kOptimizeEntry));
    ASSERT_EQ(m_doc->GetGlazeCount(), 11);
    const CGlaze& kept = Found(m_doc->GetGlaze(10));
    EXPECT_EQ(kept.m_name, "New Optimization Parameters");
    EXPECT_TRUE(kept.m_components.empty()) << "no recipe breaking a constraint is kept";
    ASSERT_NE(kept.FindOptimizationParams(), nullptr);
    EXPECT_EQ(Found(kept.FindOptimizationParams()).m_oxideConstraints.GetCount(), 2);
}

TEST_F(OptimizeMenuTest, TheGlazeFormRunsTheBatchCalculatorAndOptimizeOnItsGlaze)
{
    Select(*m_list, {1});
    ASSERT_TRUE(Choose({"&Edit", "&Edit\tDblClick"}));
    auto* form = dynamic_cast<CGlazeEditView*>(Frame().ActiveView());
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(CoreTextFromEdit(*GlazeForm::AdditionsEdit(form)), "Zircon\t    10");

    // Both parts of the recipe: the scope is asked first; the additions alone are recalculated.
    WhenDialogShows<CBatchScopeDlg>([](CBatchScopeDlg& scope) {
        WhenDialogShows<CBatchCalcDlg>([](CBatchCalcDlg& batch) {
            EXPECT_EQ(CBatchCalcDlg::RowTexts(batch.RecipeList()).size(), 1u) << "the zircon addition only";
            batch.MaterialBox()->setText(QStringLiteral("Tin Oxide"));
            batch.AmountBox()->setEditText(QStringLiteral("7"));
            batch.Button(kBatchUseMaterial)->click();
            batch.Button(1)->click();
        });
        GroupButton(scope.ChoiceGroup(), kBatchAdditionsOnly).click();
        QTest::mouseClick(scope.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    });
    QTest::mouseClick(GlazeForm::Button(form, kGedBatchCalculation), Qt::LeftButton);
    EXPECT_EQ(CoreTextFromEdit(*GlazeForm::AdditionsEdit(form)), "Tin Oxide\t      7");
    EXPECT_NE(CoreTextFromEdit(*GlazeForm::ComponentsEdit(form)).find("Nepheline Syenite"), std::string::npos);
    EXPECT_TRUE(GlazeForm::IsModified(form));

    // Optimize asks to save the form first, then works for this glaze.
    m_box.messages.answers = {MsgResultYes};
    WhenDialogShows<COptimizeDlg>([](COptimizeDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Optimize - Cone 6 Zircon White"));
        Constrain(dialog, kCalcium, "=", "0.7");
        Constrain(dialog, kAluminium, "=", "0.4");
        Constrain(dialog, kSilicon, "=", "3.5");
        Constrain(dialog, kConstraintKNaO, "g", "0");
        QTest::mouseClick(dialog.Button(kOptFindRecipe), Qt::LeftButton);
        ASSERT_EQ(ToCp1252(dialog.StatusLine()->text()), "Optimization complete");
        WhenDialogShows<CDispositionDlg>([](CDispositionDlg& disposition) {
            EXPECT_TRUE(disposition.CurrentRadio()->isChecked()) << "the glaze the form edits";
            QTest::mouseClick(disposition.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
        });
        QTest::mouseClick(dialog.Button(1), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose({"&Utilities", "&Optimize..."}));
    ASSERT_GE(Found(m_doc->GetGlaze(1)).m_additions.GetCount(), 1);
    EXPECT_EQ(RecordAt(Found(m_doc->GetGlaze(1)).m_additions, 0).m_name, "Tin Oxide") << "the batch was saved first";
    EXPECT_EQ(CoreTextFromEdit(*GlazeForm::ComponentsEdit(form)).find("Nepheline Syenite"), std::string::npos)
        << "the optimal recipe replaced the form's";
    EXPECT_TRUE(GlazeForm::IsModified(form));
}
