// The materials list's bulk commands never drop an edit window's unsaved edits: Convert,
// Normalize and Add LOI, Units and Set Field ask the edit windows whose records they rewrite, and
// Cancel leaves everything as it was. These commands used to close the windows without a
// question.

#include "MaterialsViewFixture.h"

#include "core/support/CheckedItems.h"
#include "core/shell/ScriptedEditViews.h"
#include "materials/FormulaConversion.h"
#include "materials/FormulaConversionDlg.h"
#include "materials/MaterialUnitsDlg.h"
#include "materials/SetMaterialFieldDlg.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

class MaterialsViewUnsavedEditsTest : public MaterialsViewFixture {
protected:
    MaterialsViewUnsavedEditsTest()
    {
        m_editor = std::make_unique<CRecordingFrame>(*m_doc, "editor");
        m_script = &m_scripted.Script(m_editor->view.get());
        m_script->index = 0;
        m_script->answer = MsgResultCancel;
        m_doc->SetModifiedFlag(false);
    }
    ~MaterialsViewUnsavedEditsTest() override { m_editor.reset(); }

    std::vector<std::string> Formulas() const
    {
        std::vector<std::string> formulas;
        for (int i = 0; i < Database().GetCount(); ++i)
            formulas.push_back(RecordAt(Database(), i).m_formula);
        return formulas;
    }
    static void ConvertToWeightPercent()
    {
        OnModal<CFormulaConversionDlg>([](CFormulaConversionDlg* dialog) {
            dialog->Radio(kConvertToWeightPercent)->click();
            dialog->OkButton()->click();
        });
    }

    CScriptedViews<CMaterialEditViews, CScriptedLink> m_scripted{DbFileType::Materials};
    std::unique_ptr<CRecordingFrame> m_editor;
    CScript* m_script = nullptr;
};

// Regression: over several rows they asked every edit window, a No dropping its edits, even on
// materials not selected; and asked, dropping edits on No, where no formula changed.
TEST_F(MaterialsViewUnsavedEditsTest, FormulaCommandsAskOnlyTheEditWindowsOfTheMaterialsTheyChange)
{
    const std::vector<std::string> before = Formulas();
    // Molecular formulas neither normalize nor take an LOI: nothing changes, nothing is asked.
    Select({0, 1});
    ASSERT_TRUE(m_view->RunCommand(CmdMatListNormalizeFormulas));
    ASSERT_TRUE(m_view->RunCommand(CmdMatListAddLoi));
    EXPECT_EQ(m_script->asked, 0);
    EXPECT_EQ(Formulas(), before);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_editor->view->received.empty());

    // The edit window is on material 0, which a conversion of the others leaves alone.
    Select({1, 2});
    ConvertToWeightPercent();
    ASSERT_TRUE(m_view->RunCommand(CmdMatListConvertFormulas));
    EXPECT_EQ(m_script->asked, 0);
    EXPECT_TRUE(m_script->changed) << "its edits stay";
    EXPECT_NE(Formulas()[1], before[1]);
    EXPECT_EQ(m_editor->view->Last().code, HintMaterialsReplaced);

    // Material 0 changes: its window is asked, and Cancel converts nothing.
    const std::vector<std::string> converted = Formulas();
    Select({0, 1});
    ConvertToWeightPercent();
    ASSERT_TRUE(m_view->RunCommand(CmdMatListConvertFormulas));
    EXPECT_EQ(m_script->asked, 1);
    EXPECT_EQ(Formulas(), converted);

    m_script->answer = MsgResultYes;
    ConvertToWeightPercent();
    ASSERT_TRUE(m_view->RunCommand(CmdMatListConvertFormulas));
    EXPECT_EQ(m_script->asked, 2);
    EXPECT_EQ(m_script->saved, 1);
    EXPECT_EQ(Formulas()[0], "% 100 SiO2");
}

TEST_F(MaterialsViewUnsavedEditsTest, UnitsAndSetFieldAskBeforeRewritingMaterials)
{
    const std::string currency = Database().m_currencySymbol;
    OnModal<CMaterialUnitsDlg>([](CMaterialUnitsDlg* dialog) { dialog->OkButton()->click(); });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListUnits));
    EXPECT_EQ(m_script->asked, 1);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(Database().m_currencySymbol, currency);

    // Set Field on the selected materials asks only the edit windows of those.
    const int available = RecordAt(Database(), 0).m_available;
    for (std::initializer_list<int> rows : {std::initializer_list<int>{1}, std::initializer_list<int>{0}}) {
        Select(rows);
        OnModal<CSetMaterialFieldDlg>([](CSetMaterialFieldDlg* dialog) {
            dialog->FieldCombo()->setCurrentIndex(5);
            dialog->ValueCombo()->setEditText(QStringLiteral("No"));
            dialog->SelectedRadio()->click();
            dialog->OkButton()->click();
        });
        ASSERT_TRUE(m_view->RunCommand(CmdMatListSetField));
    }
    EXPECT_EQ(m_script->asked, 2);
    EXPECT_EQ(RecordAt(Database(), 0).m_available, available);
    EXPECT_EQ(RecordAt(Database(), 1).m_available, 0);

    m_script->answer = MsgResultNo;
    OnModal<CMaterialUnitsDlg>([](CMaterialUnitsDlg* dialog) { dialog->OkButton()->click(); });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListUnits));
    EXPECT_EQ(m_script->asked, 3);
    EXPECT_EQ(m_script->saved, 0);
    EXPECT_EQ(m_editor->view->Last().code, HintMaterialsReplaced);
}

} // namespace
