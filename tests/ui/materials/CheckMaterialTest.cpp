#include "materials/CheckMaterial.h"

#include "core/support/CheckedItems.h"
#include "MaterialEditViewFixture.h"
#include "materials/MaterialArray.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

class CheckMaterialTest : public MaterialEditViewFixture {};

} // namespace

TEST_F(CheckMaterialTest, BoxesComeInOrderAndCancelEndsTheCheck)
{
    // Whiting's form: its code is Kaolin's other-name code, its mapping loops, its formula holds
    // two unexpected elements and sums to 95 percent.
    CMaterial& kaolin = *Database().GetAt(1);
    kaolin.m_mapTo = "Whiting";
    Database().InvalidateIndex();
    CMaterialCheckFields fields;
    fields.keys = {"Whiting", "epk1"};
    fields.mapping = "Kaolin";
    fields.formula = "% 50 SiO2  40 CaO  3 Cs2O  2 Rb2O";
    m_messages.answers = {MsgResultOk, MsgResultOk, MsgResultOk, MsgResultNo, MsgResultYes, MsgResultOk};
    CMaterialCheckResult result = CheckMaterialFields(Database(), 2, Database().GetAt(2), fields);
    ASSERT_EQ(m_messages.boxes.size(), 6u);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{
                                      "\"epk1\" matches name or code in material \"Kaolin\"",
                                      "Mapping leads back to this material",
                                      "Unexpected elements found in formula:  Rb Cs",
                                      "Component percentages add up to 95%. Do you want to add 5% LOI?",
                                      "Do you want to normalize to 100%?",
                                      "Total number of problems with this material: 3",
                                  }));
    const unsigned helpIds[] = {0x30250, 0x30251, 0x30253, 0x30254, 0x30255, 0x30258};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(m_messages.At(i).helpId, helpIds[i]) << i;
    EXPECT_EQ(m_messages.At(0).Buttons(), unsigned(MsgOkCancel));
    EXPECT_EQ(m_messages.At(1).Buttons(), unsigned(MsgOk));
    EXPECT_EQ(m_messages.At(3).Buttons(), unsigned(MsgYesNoCancel));
    EXPECT_EQ(m_messages.At(5).Icon(), unsigned(MsgIconExclamation));
    EXPECT_EQ(result.problems, 3);
    EXPECT_TRUE(result.formulaRepaired);
    EXPECT_EQ(fields.formula, "% 52.632 SiO2  42.105 CaO  3.158 Cs2O  2.105 Rb2O");

    // Yes to the LOI question adds the rest as LOI: the amounts stay as they were.
    m_messages.boxes.clear();
    fields.formula = "% 50 SiO2  40 CaO  3 Cs2O  2 Rb2O";
    m_messages.answers = {MsgResultOk, MsgResultOk, MsgResultOk, MsgResultYes, MsgResultOk};
    result = CheckMaterialFields(Database(), 2, Database().GetAt(2), fields);
    EXPECT_EQ(m_messages.boxes.size(), 5u);
    EXPECT_EQ(fields.formula, "% 50 SiO2  40 CaO  3 Cs2O  2 Rb2O  5 LOI");
    EXPECT_TRUE(result.formulaRepaired);

    // Cancel in the first box ends the check without the summary.
    m_messages.boxes.clear();
    m_messages.answers = {MsgResultCancel};
    fields.formula = "SiO2";
    result = CheckMaterialFields(Database(), 2, Database().GetAt(2), fields);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(m_messages.boxes.size(), 1u);

    // Nothing to complain about: only the closing box.
    m_messages.boxes.clear();
    CMaterialCheckFields empty;
    result = CheckMaterialFields(Database(), 2, Database().GetAt(2), empty);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Current names, codes, mapping, and formula check out okay"});
    EXPECT_EQ(m_messages.At(0).Icon(), 0u);
    EXPECT_EQ(m_messages.At(0).helpId, 0x30259u);

    // Percentages that add to 100 need no question, nor does a mapping that ends at another
    // material.
    m_messages.boxes.clear();
    empty.formula = "% 60 SiO2  40 Al2O3";
    empty.mapping = "Silica";
    result = CheckMaterialFields(Database(), 2, Database().GetAt(2), empty);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Current names, codes, mapping, and formula check out okay"});
}

TEST_F(CheckMaterialTest, TheEditViewRepairsOnlyItsFieldAndReportsBadMappingsAndFormulas)
{
    CMaterialEditView* view = Open(3);
    ASSERT_NE(view, nullptr);
    view->FormulaEdit()->setPlainText(QStringLiteral("%m 30 MgO  60 SiO2"));
    view->MapToEdit()->setText(QStringLiteral("Nowhere"));
    view->AliasEdit(0)->setText(QStringLiteral("Silica"));
    m_messages.answers = {MsgResultOk, MsgResultOk, MsgResultYes, MsgResultOk};
    view->CheckMaterial();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{
                                      "\"Silica\" matches name or code in material \"Silica\"",
                                      "Mapping does not lead to a material in the database",
                                      "Component percentages add up to 90%. Do you want to normalize to 100%?",
                                      "Total number of problems with this material: 2",
                                  }));
    EXPECT_EQ(m_messages.At(2).helpId, 0x30256u);
    EXPECT_EQ(view->WeightText()->text(), QStringLiteral("100.0%"));
    EXPECT_TRUE(view->IsChanged());
    EXPECT_EQ(RecordAt(Database(), 3).m_formula, "3MgO 4SiO2 H2O") << "the database waits for Save Changes";

    m_messages.boxes.clear();
    view->MapToEdit()->clear();
    view->AliasEdit(0)->clear();
    view->FormulaEdit()->setPlainText(QStringLiteral("MgO Zq"));
    view->CheckMaterial();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Invalid formula",
                                                            "Total number of problems with this material: 1"}));
    EXPECT_EQ(m_messages.At(0).helpId, 0x30252u);
}
