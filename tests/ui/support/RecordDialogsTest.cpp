#include "support/DbNotesDlg.h"
#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"
#include "support/EditLineDlg.h"
#include "support/EditTextDlg.h"
#include "support/MergeDlg.h"
#include "support/NotesEdit.h"
#include "support/SelectOneDlg.h"

#include "core/shell/FakeMessageService.h"
#include "ui/framework/TypeText.h"
#include "ui/support/ModalDialogTest.h"
#include "elements/ElementsDoc.h"
#include "framework/Document.h"
#include "materials/MaterialsDoc.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class RecordDialogsTest : public ::testing::Test {
protected:
    RecordDialogsTest() { g_prefs.ApplyColorScheme(); }

    CAppContext m_context;
    CFakeMessageService m_messages;
    COxidariumApp m_app;
};

// Types text at the end of a box.
void TypeAtEnd(QPlainTextEdit& edit, const QString& text)
{
    edit.setFocus();
    edit.moveCursor(QTextCursor::End);
    QTest::keyClicks(&edit, text);
}

QString RowText(const QListWidget& list, int row)
{
    if (const QListWidgetItem* item = list.item(row))
        return item->text();
    ADD_FAILURE() << "no row " << row << " of " << list.count();
    return {};
}

int RowOf(const QListWidget& list, int index)
{
    for (int row = 0; row < list.count(); ++row) {
        if (ListRow(&list, row).data(Qt::UserRole).toInt() == index)
            return row;
    }
    return -1;
}

} // namespace

TEST_F(RecordDialogsTest, NotesOkWithoutAChangeIsCancelAndTheCallerKeepsItsData)
{
    CDbNotesDlg dialog(nullptr, "Substitutions Notes", 112);
    dialog.databaseName = "My Subs";
    dialog.fileName = "/data/x.sub";
    dialog.notes = {"first line", "second line"};
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Substitutions Notes"));
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("My Subs"));
    EXPECT_EQ(dialog.FileNameLabel()->text(), QStringLiteral("/data/x.sub"));
    EXPECT_EQ(dialog.NotesEdit()->toPlainText(), QStringLiteral("first line\nsecond line\n"));

    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.databaseName, "My Subs");
    EXPECT_EQ(dialog.notes, CStringArrayEx({"first line", "second line"}));
}

TEST_F(RecordDialogsTest, NotesOkAfterAChangeSavesTrimmedLinesOfAnyLength)
{
    const std::string longLine(600, 'n');
    CDbNotesDlg dialog(nullptr, "Notes", 112);
    dialog.notes = {"kept   ", "", longLine};
    dialog.show();
    TypeAtEnd(*dialog.NotesEdit(), QStringLiteral("added  "));
    QTest::keyClick(dialog.NotesEdit(), Qt::Key_Return);
    QTest::keyClick(dialog.NotesEdit(), Qt::Key_Return);
    QTest::keyClicks(dialog.NotesEdit(), QStringLiteral("   "));

    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.notes, CStringArrayEx({"kept", "", longLine, "added"}));
    EXPECT_EQ(ItemAt(dialog.notes, 2).size(), 600u);
}

TEST_F(RecordDialogsTest, NotesNameChangeAloneIsAChangeAndReadOnlyBoxesCannotChange)
{
    CDbNotesDlg dialog(nullptr, "Notes", 112);
    dialog.databaseName = "Old";
    dialog.notes = {std::string(700, 'a')};
    dialog.show();
    dialog.NameEdit()->selectAll();
    QTest::keyClicks(dialog.NameEdit(), QStringLiteral("New"));
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.databaseName, "New");
    ASSERT_EQ(dialog.notes.size(), 1u);
    EXPECT_EQ(dialog.notes[0].size(), 700u);

    CDbNotesDlg readOnly(nullptr, "Tree Notes", 112, 1);
    readOnly.notes = {"line"};
    readOnly.show();
    TypeAtEnd(*readOnly.NotesEdit(), QStringLiteral("more"));
    QTest::keyClick(readOnly.NotesEdit(), Qt::Key_W, Qt::ControlModifier);
    QTest::keyClicks(readOnly.NameEdit(), QStringLiteral("x"));
    readOnly.OkButton()->click();
    EXPECT_EQ(readOnly.result(), QDialog::Rejected);
    EXPECT_EQ(readOnly.notes, CStringArrayEx({"line"}));
}

// Text outside Windows-1252 would be saved as "?": the fields of a record keep it out and say so.
TEST_F(RecordDialogsTest, CharactersTheFilesCannotHoldAreRefusedWhereTheyAreTypedOrPasted)
{
    CDbNotesDlg dialog(nullptr, "Notes", 112);
    dialog.databaseName = "Glazes";
    dialog.notes = {"Temp"};
    dialog.show();
    dialog.NameEdit()->setFocus();
    dialog.NameEdit()->end(false);
    TypeText(dialog.NameEdit(), QString::fromUtf8(" 5°C α"));
    QApplication::clipboard()->setText(QString::fromUtf8("β"));
    dialog.NameEdit()->paste();
    QApplication::processEvents();
    EXPECT_EQ(dialog.NameEdit()->text(), QString::fromUtf8("Glazes 5°C "));

    QApplication::clipboard()->setText(QString::fromUtf8(" α→β ≤ 3 \U0001F600"));
    dialog.NotesEdit()->moveCursor(QTextCursor::End);
    dialog.NotesEdit()->paste();
    QApplication::processEvents();
    EXPECT_EQ(dialog.NotesEdit()->toPlainText(), QStringLiteral("Temp\n   3 "));
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{
                  "These characters cannot be stored in the program's files and were not entered: \x81" "3B1; (U+03B1).",
                  "These characters cannot be stored in the program's files and were not entered: \x81" "3B2; (U+03B2).",
                  "These characters cannot be stored in the program's files and were not entered: \x81" "3B1; (U+03B1), "
                  "\x81" "2192; (U+2192), \x81" "3B2; (U+03B2), \x81" "2264; (U+2264), \x81" "1F600; (U+1F600)."}));
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.databaseName, "Glazes 5\xB0" "C ");
    EXPECT_EQ(dialog.notes, CStringArrayEx({"Temp", "   3"}));
}

TEST_F(RecordDialogsTest, NotesDialogStretchesItsNotesBoxAndKeepsButtonsAtTheirEdges)
{
    CDbNotesDlg dialog(nullptr, "Database Notes and Information", 112);
    dialog.databaseName = "Cone 6 Glazes";
    dialog.fileName = "/home/potter/glazes/cone6.glz";
    dialog.notes = {"Glazes tested in the electric kiln, cone 6 oxidation.", "",
                    "Fire slowly through 1000 C; hold 15 minutes at peak."};
    dialog.show();
    QApplication::processEvents();
    const QSize first = dialog.size();
    const int cancelRight = dialog.width() - dialog.CancelButton()->geometry().right();
    const int okLeft = dialog.OkButton()->x();
    const int notesRight = dialog.width() - dialog.NotesEdit()->geometry().right();
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        labels << label->text();
    EXPECT_EQ(labels, (QStringList{"Database Name :", "File Name :", "/home/potter/glazes/cone6.glz"}));

    SaveScreenshot(dialog, "db-notes-dialog");

    dialog.resize(first.width() + 120, first.height() + 60);
    QApplication::processEvents();
    EXPECT_EQ(dialog.width() - dialog.CancelButton()->geometry().right(), cancelRight);
    EXPECT_EQ(dialog.OkButton()->x(), okLeft);
    EXPECT_EQ(dialog.width() - dialog.NotesEdit()->geometry().right(), notesRight);
    EXPECT_EQ(dialog.OkButton()->geometry().bottom(), dialog.CancelButton()->geometry().bottom());
    dialog.resize(10, 10);
    EXPECT_EQ(dialog.size(), first);
}

TEST_F(RecordDialogsTest, HelpButtonAndF1OpenTheDialogsTopic)
{
    CEditLineDlg dialog(nullptr, "Tabs to Spaces", 321);
    dialog.show();
    dialog.HelpButton()->click();
    QTest::keyClick(dialog.LineEdit(), Qt::Key_F1);
    ASSERT_EQ(m_messages.helps.size(), 2u);
    EXPECT_EQ(m_messages.helps[0].id, 321u);
    EXPECT_EQ(m_messages.helps[1].id, 321u);
    EXPECT_EQ(dialog.HelpButton()->text(), QStringLiteral("?"));
    EXPECT_EQ(dialog.HelpButton()->objectName(), QStringLiteral("4200"));
    // Enter in the field does not end the dialog.
    QTest::keyClick(dialog.LineEdit(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(RecordDialogsTest, EditLineReturnsTheFieldsText)
{
    CEditLineDlg dialog(nullptr, "Tabs to Spaces", 321);
    dialog.prompt = "Number of spaces per tab:";
    dialog.text = "8";
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tabs to Spaces"));
    EXPECT_EQ(dialog.PromptLabel()->text(), QStringLiteral("Number of spaces per tab:"));
    EXPECT_EQ(dialog.LineEdit()->text(), QStringLiteral("8"));
    dialog.LineEdit()->setText(QStringLiteral("4"));
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.text, "4");
}

TEST_F(RecordDialogsTest, EditTextReadsBackTheWholeTextAndLinesOfAnyLength)
{
    CEditTextDlg readOnly(nullptr, "View", 122, 1);
    readOnly.text = "fixed\r\ntext";
    readOnly.show();
    EXPECT_EQ(readOnly.TextEdit()->toPlainText(), QStringLiteral("fixed\ntext"));
    TypeAtEnd(*readOnly.TextEdit(), QStringLiteral("more"));
    readOnly.OkButton()->click();
    EXPECT_EQ(readOnly.result(), QDialog::Rejected);
    EXPECT_EQ(readOnly.text, "fixed\r\ntext");

    const std::string longLine(600, 'q');
    CEditTextDlg dialog(nullptr, "Edit Lines", 122, 0);
    dialog.linesMode = 1;
    dialog.text = "Heading\r\n";
    dialog.lines = {"one  ", longLine};
    dialog.show();
    EXPECT_EQ(dialog.TextEdit()->toPlainText(), QString("Heading\none  \n") + QString(600, 'q') + "\n");
    TypeAtEnd(*dialog.TextEdit(), QStringLiteral("two"));
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.text, "Heading\r\none  \r\n" + longLine + "\r\ntwo");
    EXPECT_EQ(dialog.lines, CStringArrayEx({"Heading", "one", longLine, "two"}));
}

TEST_F(RecordDialogsTest, SelectOneOnTheElementsListsOxideFormersAndReturnsTheElementNumber)
{
    CElementsDoc elements;
    CSelectOneDlg dialog(nullptr, 163);
    dialog.caption = "Select Element";
    dialog.document = &elements;
    dialog.preselect = 26;
    dialog.show();
    QApplication::processEvents();
    QListWidget& list = *dialog.List();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Element"));

    const QList<QListWidgetItem*> selected = list.selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front()->text(), QStringLiteral("26\tFe\tIron"));
    // Rows follow the element numbers; only alkali, neutral and acid oxides are listed.
    int expectedRows = 0;
    for (int z = 1; z < kElementCount; ++z) {
        const std::int32_t role = elements.Elements()[z].role;
        const bool listed = (role & (kRoleAlkali | kRoleNeutral | kRoleAcid)) != 0;
        expectedRows += listed ? 1 : 0;
        EXPECT_EQ(RowOf(list, z) >= 0, listed) << z;
    }
    EXPECT_GT(expectedRows, 0);
    EXPECT_LT(expectedRows, 103);
    EXPECT_EQ(list.count(), expectedRows);
    EXPECT_EQ(RowOf(list, 0), -1);
    EXPECT_EQ(dialog.TabStops(), TabStopsFromDlu(list.font(), {25, 50, 75, 100}));
    SaveScreenshot(dialog, "select-one-elements");

    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.selection, 26);

    // An element whose role becomes volatile only leaves the list.
    elements.Elements().SetRole(26, kRoleVolatile);
    CSelectOneDlg again(nullptr, 163);
    again.document = &elements;
    again.preselect = 26;
    again.InitDialog();
    EXPECT_EQ(RowOf(*again.List(), 26), -1);
    EXPECT_EQ(again.List()->count(), expectedRows - 1);
    again.accept();
    EXPECT_EQ(again.selection, -1);
}

TEST_F(RecordDialogsTest, SelectOneOnAnEmptyDocumentOrNamesReturnsTheRowsIndex)
{
    CDocument empty;
    CSelectOneDlg dialog(nullptr, 163);
    dialog.document = &empty;
    dialog.preselect = 0;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select One:"));
    EXPECT_EQ(dialog.List()->count(), 0);
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.selection, -1);

    CSelectOneDlg byName(nullptr, 163);
    byName.names = {"Alpha", "Beta", "Gamma"};
    byName.preselect = 1;
    byName.show();
    EXPECT_EQ(byName.List()->currentRow(), 1);
    byName.List()->setCurrentRow(2);
    byName.OkButton()->click();
    EXPECT_EQ(byName.selection, 2);
}

TEST_F(RecordDialogsTest, SelectOneOnTheMaterialsListsDisplayKeysAndReturnsTheIndex)
{
    CMaterialsDoc materials;
    CSelectOneDlg empty(nullptr, 163);
    empty.document = &materials;
    empty.show();
    EXPECT_EQ(empty.List()->count(), 0);
    EXPECT_EQ(empty.TabStops(), TabStopsFromDlu(empty.List()->font(), {35, 45, 55, 65}));
    empty.OkButton()->click();
    EXPECT_EQ(empty.selection, -1);

    for (const char* name : {"EPK", "Silica", "Whiting"}) {
        CMaterial material(name);
        material.SetField(3, std::string(name).substr(0, 2));
        materials.InsertMaterial(materials.Materials().GetCount(), material);
    }
    CSelectOneDlg dialog(nullptr, 163);
    dialog.document = &materials;
    dialog.preselect = 2;
    dialog.show();
    ASSERT_EQ(dialog.List()->count(), 3);
    EXPECT_EQ(RowText(*dialog.List(), 1), QStringLiteral("Si\tSilica"));
    EXPECT_EQ(dialog.List()->currentRow(), 2);
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.selection, 2);
}

TEST_F(RecordDialogsTest, MergeMarksExistingRowsAndOkReportsTheSelection)
{
    CMergeDlg dialog(nullptr, 138);
    dialog.sourceName = "x.sub";
    dialog.kindWord = "substitutions";
    dialog.names = {"Frit swap", "Whiting for dolomite", "Spodumene", "Zinc"};
    dialog.flags = {1, 0, 1, 0};
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Merge substitutions from x.sub"));
    EXPECT_EQ(dialog.PromptLabel()->text(), QStringLiteral("Select substitutions :"));
    QListWidget& list = *dialog.List();
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(dialog.rowCount, 4);
    EXPECT_EQ(RowText(list, 0), QStringLiteral("*\tFrit swap"));
    EXPECT_EQ(RowText(list, 1), QStringLiteral("\tWhiting for dolomite"));
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_TRUE(list.selectedItems().isEmpty());
    EXPECT_TRUE(dialog.SortCheck()->isVisible());
    SaveScreenshot(dialog, "merge-dialog");

    dialog.SelectAllButton()->click();
    EXPECT_EQ(list.selectedItems().size(), 4);
    dialog.SelectNewButton()->click();
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.flags, std::vector<int>({0, 1, 0, 1}));
    EXPECT_EQ(dialog.method, 0);
    EXPECT_EQ(dialog.sortAfterMerge, 0);
}

TEST_F(RecordDialogsTest, MergeSelectExistingReplaceAndSortAreReadOnOk)
{
    CMergeDlg dialog(nullptr, 138);
    dialog.sourceName = "base.mat";
    dialog.kindWord = "materials";
    dialog.names = {"Custer Feldspar", "EPK", "Silica"};
    dialog.flags = {0, 1}; // the last name has no flag: new
    dialog.showSortOption = 0;
    dialog.show();
    EXPECT_FALSE(dialog.SortCheck()->isVisible());
    EXPECT_TRUE(dialog.AppendAllRadio()->isChecked());
    EXPECT_EQ(RowText(*dialog.List(), 2), QStringLiteral("\tSilica"));

    dialog.SelectExistingButton()->click();
    dialog.ReplaceExistingRadio()->click();
    dialog.SortCheck()->setChecked(true);
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.flags, std::vector<int>({0, 1, 0}));
    EXPECT_EQ(dialog.method, 1);
    EXPECT_EQ(dialog.sortAfterMerge, 1);

    CMergeDlg none(nullptr, 138);
    none.names = {"A", "B"};
    none.flags = {1, 1};
    none.InitDialog();
    none.DeselectAllButton()->click();
    none.accept();
    EXPECT_EQ(none.flags, std::vector<int>({0, 0}));
}
