// The recipe tools of the other windows, from their menus in the running program: Find Similar
// Materials of the materials list, and Batch Calculation of the substitution form.

#include "ProgramFixture.h"
#include "materials/MaterialsDoc.h"
#include "materials/MaterialsView.h"
#include "substitutions/SubstitutionEditView.h"
#include "substitutions/SubstitutionsDoc.h"
#include "substitutions/SubstitutionsView.h"
#include "support/PlainTextEditLines.h"
#include "support/TabEdit.h"
#include "tools/BatchCalcDlg.h"
#include "materials/FindSimilarMaterialsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

class MaterialAndSubstitutionToolMenuTest : public ProgramFixture {
protected:
    template <class View>
    static View* FirstViewOf(CDocument* document)
    {
        for (CView* view : document ? document->GetViews() : std::vector<CView*>{}) {
            if (auto* found = dynamic_cast<View*>(view))
                return found;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(MaterialAndSubstitutionToolMenuTest, FindSimilarMaterialsListsPotashFeldsparsNearestNeighbours)
{
    auto* list = FirstViewOf<CMaterialsView>(g_pMaterialsDoc);
    ASSERT_NE(list, nullptr);
    Activate(list);
    ASSERT_NE(g_pMaterialsDoc, nullptr);
    CMaterialArray& materials = g_pMaterialsDoc->Materials();
    const int potash = materials.IndexOf(materials.FindMaterial("Potash Feldspar"));
    ASSERT_GE(potash, 0);
    list->SetSel(-1, false);
    list->SetSel(potash, true);
    WhenDialogShows<CFindSimilarMaterialsDlg>([](CFindSimilarMaterialsDlg& dialog) {
        EXPECT_EQ(dialog.CutoffEdit()->text(), QStringLiteral("80"));
        EXPECT_TRUE(dialog.SelectSimilarBox()->isEnabled());
        SaveScreenshot(dialog, "menu-find-similar-materials");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose({"&Utilities", "Fin&d Similar Materials"}));
    EXPECT_EQ(Information(), "=======================\n=== Potash Feldspar ===\n=======================\n\n"
                             "Nonvolatile oxide similarity (% weight) :\n"
                             "   83.78  Nepheline Syenite\n   83.08  Pyrophyllite\n   83.08  Soda Feldspar\n"
                             "   82.89  Spodumene\n   81.41  Petalite\n");
    // Potash Feldspar and its five neighbours are selected.
    EXPECT_EQ(list->GetSelCount(), 6);
    EXPECT_TRUE(list->GetSel(potash));
}

TEST_F(MaterialAndSubstitutionToolMenuTest, TheSubstitutionFormsBatchCalculationReplacesSetTwo)
{
    auto* list = FirstViewOf<CSubstitutionsView>(g_pSubstitutionsDoc);
    ASSERT_NE(list, nullptr);
    Activate(list);
    list->SetSel(-1, false);
    list->SetSel(0, true);
    ASSERT_TRUE(Choose({"&Edit", "&Edit\tDblClick"}));
    auto* form = dynamic_cast<CSubstitutionEditView*>(Frame().ActiveView());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(CoreTextFromEdit(*form->SetEdit(0)), "Whiting\t100\r\nSilica\t  60.03\r\n");

    WhenDialogShows<CBatchCalcDlg>([](CBatchCalcDlg& dialog) {
        // Set 1 is the recipe the formula comes from.
        EXPECT_EQ(CBatchCalcDlg::RowTexts(dialog.RecipeList()).size(), 2u);
        dialog.MaterialBox()->setText(QStringLiteral("Wollastonite"));
        dialog.OnMaterialLeft();
        SaveScreenshot(dialog, "menu-substitution-batch");
        dialog.Button(kBatchUseMaterial)->click();
        dialog.Button(1)->click();
    });
    ASSERT_TRUE(Choose({"&Tools", "&Batch Calculation..."}));
    EXPECT_EQ(CoreTextFromEdit(*form->SetEdit(0)), "Whiting\t100\r\nSilica\t  60.03\r\n") << "set 1 stays";
    EXPECT_EQ(CoreTextFromEdit(*form->SetEdit(1)), "Wollastonite\t116.058\r\n") << "the batch replaces set 2";
    EXPECT_TRUE(form->IsChanged());
}
