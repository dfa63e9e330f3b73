#include "materials/MaterialsView.h"

#include "core/support/CheckedItems.h"
#include "MaterialsViewFixture.h"
#include "materials/SetMaterialFieldDlg.h"
#include "support/DbNotesDlg.h"
#include "support/MergeDlg.h"
#include "support/NotesEdit.h"
#include "ui/support/CheckedWidgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace {

class MaterialsViewDatabaseTest : public MaterialsViewFixture {
protected:
    // A file of two materials: a Silica of another grade and a frit the database lacks.
    std::string WriteSource() const
    {
        const std::string path = Dir() + "/extra.mat";
        std::ofstream(path, std::ios::binary)
            << "filetype = Oxidarium Materials\nversion =  2\n\ndbname  = Extra\n\n"
               "name      = silica\ncode      = SIL325\nformula   = SiO2\navailable = y\ndensity   = 2.2\n"
               "costperlb = 0.42\n\n"
               "name      = Frit X\ncode      = FX\nformula   = CaO B2O3 2SiO2\navailable = y\n\n";
        return path;
    }
    // Runs Merge on the file: every row or the existing ones only, appended or replacing.
    void Merge(const std::string& path, bool replaceExisting, bool existingOnly)
    {
        m_dialogs.AnswerPath(path);
        OnModal<CMergeDlg>([replaceExisting, existingOnly](CMergeDlg* dialog) {
            (existingOnly ? dialog->SelectExistingButton() : dialog->SelectAllButton())->click();
            (replaceExisting ? dialog->ReplaceExistingRadio() : dialog->AppendAllRadio())->click();
            dialog->OkButton()->click();
        });
        ASSERT_TRUE(m_view->RunCommand(CmdMatListMergeDatabase));
    }
};

} // namespace

// Regression: the materials mapped to a replaced one kept its old cost and density, in memory and
// in the saved file.
TEST_F(MaterialsViewDatabaseTest, MergeAppendsOrReplacesByName)
{
    const int count = Database().GetCount();
    const std::string source = WriteSource();
    Database().GetAt(2)->m_mapTo = "Silica";
    Database().GetAt(3)->m_mapTo = "Silica";
    m_messages.answers = {MsgResultOk};
    Merge(source, true, true);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"2 material mappings updated"});
    const std::string saved = Dir() + "/merged.mat";
    ASSERT_TRUE(m_doc->OnSaveDocument(saved));
    const auto file = m_doc->ReadMergeFile(saved);
    ASSERT_NE(file, nullptr);
    for (const CMaterialArray* materials : {&Database(), &file->records}) {
        for (int mapped : {2, 3}) {
            EXPECT_EQ(RecordAt(*materials, mapped).m_costPerLb, 0.42);
            EXPECT_EQ(RecordAt(*materials, mapped).m_density, 2.2);
        }
    }
    m_messages.boxes.clear();
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.At(0).title, "Merge Material Database...");
    EXPECT_EQ(m_dialogs.At(0).filter, "Database Files (*.mat)|*.mat|All Files (*.*)|*.*||");
    EXPECT_FALSE(m_dialogs.At(0).clipboardOption);
    EXPECT_EQ(Database().GetCount(), count) << "the existing Silica is replaced in place";
    EXPECT_EQ(RecordAt(Database(), 0).m_code, "SIL325");
    EXPECT_EQ(Row(0), "\tSIL325\tsilica");
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{0});
    EXPECT_EQ(LastHint().code, HintMaterialsReplaced);

    // Append all: same-named duplicates are appended too, and the first new row is selected.
    Merge(source, false, false);
    EXPECT_EQ(Database().GetCount(), count + 2);
    EXPECT_EQ(NameAt(count), "silica");
    EXPECT_EQ(NameAt(count + 1), "Frit X");
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{count});
    EXPECT_EQ(LastHint().code, HintMaterialsInserted);
    EXPECT_EQ(LastHint().index, count);

    // The three failures leave the database as it was.
    const std::string empty = Dir() + "/empty.mat";
    std::ofstream(empty, std::ios::binary) << "filetype = Oxidarium Materials\nversion =  2\n\ndbname  = None\n";
    const std::string wrong = Dir() + "/wrong.mat";
    std::ofstream(wrong, std::ios::binary) << "filetype = Oxidarium Glazes\nversion =  2\n";
    for (const std::string& path : {Dir() + "/missing.mat", empty, wrong}) {
        m_dialogs.AnswerPath(path);
        ASSERT_TRUE(m_view->RunCommand(CmdMatListMergeDatabase));
    }
    ASSERT_EQ(m_messages.boxes.size(), 3u);
    EXPECT_EQ(m_messages.At(0).text, "Unable to merge file " + Dir() + "/missing.mat");
    EXPECT_EQ(m_messages.At(0).helpId, 0x30221u);
    EXPECT_EQ(m_messages.At(1).text, empty + " contains no materials!");
    EXPECT_EQ(m_messages.At(1).Icon(), MsgIconExclamation);
    EXPECT_EQ(m_messages.At(2).text.rfind(wrong + ": ", 0), 0u);
    EXPECT_EQ(m_messages.At(2).helpId, 0x30120u);
    EXPECT_EQ(Database().GetCount(), count + 2);
}

TEST_F(MaterialsViewDatabaseTest, SaveSelectedWritesASubset)
{
    const CStringArrayEx info = Database().m_infoLines;
    Database().m_costUnit = CMaterialArray::kCostPerKilogram; // the subset keeps it
    Select({1, 3});
    const std::string path = Dir() + "/subset.mat";
    m_dialogs.AnswerPath(path);
    ASSERT_TRUE(m_view->RunCommand(CmdMatListSaveSelected));
    EXPECT_EQ(m_dialogs.Last().title, "Save Selected Materials To...");
    EXPECT_EQ(m_dialogs.Last().defaultExtension, "mat");
    CMaterialArray subset;
    std::ifstream in(path, std::ios::binary);
    ASSERT_EQ(subset.Read(in), 0) << subset.m_errorText;
    EXPECT_EQ(subset.m_dbName, "Starter Materials (subset)");
    EXPECT_EQ(subset.m_infoLines, info);
    EXPECT_EQ(subset.m_costUnit, CMaterialArray::kCostPerKilogram);
    ASSERT_EQ(subset.GetCount(), 2);
    EXPECT_EQ(RecordAt(subset, 0).m_name, "Kaolin");
    EXPECT_EQ(RecordAt(subset, 1).m_name, "Pyrophyllite");
    EXPECT_FALSE(m_doc->IsModified());

    m_dialogs.AnswerPath(Dir() + "/no/such/dir/subset.mat");
    ASSERT_TRUE(m_view->RunCommand(CmdMatListSaveSelected));
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.At(0).text, Dir() + "/no/such/dir/subset.mat: Error opening file");
    EXPECT_EQ(m_messages.At(0).Icon(), MsgIconError);
    EXPECT_EQ(m_messages.At(0).helpId, 0x30126u);

    // Regression: a link that leads nowhere was refused without a word of why.
    std::filesystem::create_symlink(Dir() + "/gone.mat", Dir() + "/dangling.mat");
    m_dialogs.AnswerPath(Dir() + "/dangling.mat");
    ASSERT_TRUE(m_view->RunCommand(CmdMatListSaveSelected));
    EXPECT_EQ(m_messages.Last().text,
              Dir() + "/dangling.mat: Error opening file\n\nThe file is a symbolic link to a file that does not exist.");
}

TEST_F(MaterialsViewDatabaseTest, DatabaseNotesAnnounceOnlyANewName)
{
    OnModal<CDbNotesDlg>([](CDbNotesDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Material Database Notes and Information"));
        EXPECT_EQ(dialog->NameEdit()->text(), QStringLiteral("Starter Materials"));
        dialog->NotesEdit()->selectAll();
        QTest::keyClicks(dialog->NotesEdit(), QStringLiteral("one line"));
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListDatabaseNotes));
    EXPECT_EQ(Database().m_infoLines, CStringArrayEx{"one line"});
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(CountHints(HintDatabaseNotesChanged), 0);

    OnModal<CDbNotesDlg>([](CDbNotesDlg* dialog) {
        dialog->NameEdit()->selectAll();
        QTest::keyClicks(dialog->NameEdit(), QStringLiteral("Studio"));
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListDatabaseNotes));
    EXPECT_EQ(m_doc->GetDatabaseName(), "Studio");
    EXPECT_EQ(m_doc->GetTitle(), "Studio");
    ASSERT_NE(m_frame.ActiveChildFrame(), nullptr);
    EXPECT_EQ(m_frame.ActiveChildFrame()->windowTitle(), QStringLiteral("Studio"));
    EXPECT_EQ(CountHints(HintDatabaseNotesChanged), 1);
}

TEST_F(MaterialsViewDatabaseTest, CheckDatabaseSelectsTheReportedMaterials)
{
    CMaterial copy(*Database().GetAt(2));
    m_doc->InsertMaterial(Database().GetCount(), copy);
    m_view->FillList(0, -1, true);
    Select({5});
    m_messages.answers = {MsgResultOk, MsgResultOk, MsgResultOk, MsgResultOk};
    ASSERT_TRUE(m_view->RunCommand(CmdMatListCheckDatabase));
    ASSERT_FALSE(m_messages.boxes.empty());
    EXPECT_FALSE(m_view->GetSel(5));
    EXPECT_TRUE(m_view->GetSel(Database().GetCount() - 1)) << "the duplicate of Calcined Kaolin";

    // A cancelled check keeps the selection.
    Select({5});
    m_messages.answers = {MsgResultCancel};
    ASSERT_TRUE(m_view->RunCommand(CmdMatListCheckDatabase));
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{5});

    while (Database().GetCount() > 2)
        m_doc->DeleteMaterial(0);
    m_view->FillList(0, -1, true);
    EXPECT_TRUE(Enabled(CmdMatListCheckDatabase)) << "two materials to compare";
    m_doc->DeleteMaterial(0);
    m_view->FillList(0, -1, true);
    EXPECT_FALSE(Enabled(CmdMatListCheckDatabase));
}

TEST_F(MaterialsViewDatabaseTest, SetFieldOverAllMaterialsBetweenFreezeAndThaw)
{
    const int count = Database().GetCount();
    ASSERT_TRUE(m_view->RunCommand(CmdMatListExtendedView2));
    const std::vector<int> stops = m_view->GetTabStops();
    Select({2});
    OnModal<CSetMaterialFieldDlg>([](CSetMaterialFieldDlg* dialog) {
        EXPECT_TRUE(dialog->SelectedRadio()->isChecked());
        EXPECT_EQ(dialog->FieldCombo()->currentText(), QStringLiteral("Name"));
        dialog->FieldCombo()->setCurrentIndex(5);
        dialog->ValueCombo()->setCurrentIndex(0); // "No"
        dialog->AllRadio()->click();
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListSetField));
    ASSERT_EQ(static_cast<int>(Hints().size()), count + 2);
    EXPECT_EQ(Hint(0).code, HintBulkChangeBegins);
    EXPECT_EQ(LastHint().code, HintBulkChangeEndsRefreshAll);
    EXPECT_EQ(CountHints(HintMaterialChanged), count);
    EXPECT_EQ(Row(0), "\tSIL\tSilica\tsilica\tNot Available\t$    0.75 / lb\t\tSiO2");
    EXPECT_EQ(Row(count - 1).find("\tNot Available\t") != std::string::npos, true);
    EXPECT_GT(m_view->GetTabStops(), stops) << "the columns after the wider one move over";
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{2});
    EXPECT_EQ(g_prefs.m_nMatSetFieldScope, 1);
    EXPECT_EQ(g_prefs.m_nMatSetFieldChoice, 5);
    EXPECT_EQ(g_prefs.m_strMatSetFieldValue, "No");

    // The next run starts from the same choices; the selected rows only.
    OnModal<CSetMaterialFieldDlg>([](CSetMaterialFieldDlg* dialog) {
        EXPECT_TRUE(dialog->AllRadio()->isChecked());
        EXPECT_EQ(dialog->ValueCombo()->currentText(), QStringLiteral("No"));
        dialog->ValueCombo()->setEditText(QStringLiteral("Yes"));
        dialog->SelectedRadio()->click();
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListSetField));
    EXPECT_EQ(RecordAt(Database(), 2).m_available, 1);
    EXPECT_EQ(RecordAt(Database(), 3).m_available, 0);

    // A material mapped to another takes that one's formula and cost at once, in the list too.
    const int whiting = IndexOf("Whiting");
    ASSERT_GE(whiting, 0);
    Select({whiting});
    OnModal<CSetMaterialFieldDlg>([](CSetMaterialFieldDlg* dialog) {
        dialog->FieldCombo()->setCurrentIndex(dialog->FieldCombo()->findText(QStringLiteral("Map to")));
        dialog->ValueCombo()->setEditText(QStringLiteral("Silica"));
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListSetField));
    EXPECT_EQ(RecordAt(Database(), whiting).m_mapTo, "Silica");
    EXPECT_EQ(RecordAt(Database(), whiting).m_formula, "SiO2");
    EXPECT_EQ(Row(whiting), "\tWHI\tWhiting\tflux\tNot Available\t$    0.75 / lb\t\tSiO2");

    // Hazard notes go to the hazard notes, not to the notes.
    const CStringArrayEx notes = RecordAt(Database(), whiting).m_notes;
    OnModal<CSetMaterialFieldDlg>([](CSetMaterialFieldDlg* dialog) {
        dialog->FieldCombo()->setCurrentIndex(dialog->FieldCombo()->findText(QStringLiteral("Hazard Notes")));
        dialog->ValueCombo()->setEditText(QStringLiteral("Wear a mask"));
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListSetField));
    EXPECT_EQ(RecordAt(Database(), whiting).m_hazNotes, CStringArrayEx{"Wear a mask"});
    EXPECT_EQ(RecordAt(Database(), whiting).m_notes, notes);

    // Regression: a formula that does not parse emptied the formula of every material it was set
    // on, without a word. It is refused with the engine's message as typed, the dialog open and
    // the value selected, and nothing changes; mended, it goes to the selected material only.
    const int kaolin = IndexOf("Kaolin");
    Select({kaolin});
    const auto formulas = [this] {
        std::vector<std::string> all;
        for (int i = 0; i < Database().GetCount(); ++i)
            all.push_back(RecordAt(Database(), i).m_formula);
        return all;
    };
    const std::vector<std::string> before = formulas();
    m_messages.boxes.clear();
    bool refused = false;
    OnModal<CSetMaterialFieldDlg>([this, &refused](CSetMaterialFieldDlg* dialog) {
        dialog->FieldCombo()->setCurrentIndex(dialog->FieldCombo()->findText(QStringLiteral("Formula")));
        dialog->AllRadio()->click();
        QLineEdit& value = Control(dialog->ValueCombo()->lineEdit());
        QTest::keyClicks(&value, "Al2O3 2SiO2 2h2o");
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        if (!dialog->isVisible())
            return;
        refused = value.selectedText() == QStringLiteral("Al2O3 2SiO2 2h2o");
        dialog->SelectedRadio()->click();
        QTest::keyClicks(&value, "Al2O3 2.1SiO2 2H2O");
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(m_view->RunCommand(CmdMatListSetField));
    EXPECT_TRUE(refused);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Invalid formula!\n    Unexpected character 'h'"});
    std::vector<std::string> after = before;
    after[static_cast<std::size_t>(kaolin)] = "Al2O3 2.1SiO2 2H2O";
    EXPECT_EQ(formulas(), after);
}
