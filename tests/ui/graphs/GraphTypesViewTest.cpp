#include "GraphTypesFixture.h"
#include "ui/support/CheckedWidgets.h"
#include "core/support/CheckedItems.h"

#include "framework/PrintPreviewDlg.h"
#include "framework/UpdateHint.h"
#include "graphs/GraphColorsDlg.h"
#include "graphs/GraphTemplateClipboard.h"
#include "graphs/StylePicker.h"
#include "support/DbNotesDlg.h"
#include "support/MergeDlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace graphtest;

namespace {

class GraphTypesViewTest : public GraphTypesFixture {};

} // namespace

TEST_F(GraphTypesViewTest, TheListShowsTheShippedTemplates)
{
    ASSERT_NE(m_view, nullptr);
    EXPECT_EQ(Names(), kShippedNames);
    EXPECT_EQ(m_view->GetCount(), kShippedCount);
    EXPECT_EQ(m_view->ViewMode(), 1) << "names and notes at first";
    EXPECT_EQ(m_view->GetText(0).rfind("Oxide groups (pie)\t", 0), 0u);
    auto* frame = dynamic_cast<CMDIChildFrame*>(m_view->GetFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Graph Templates"));
    EXPECT_TRUE(frame->IsFrameMinimized()) << "the list waits minimised";

    m_view->SetSel(2, true);
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListNames));
    for (int i = 0; i < kShippedCount; ++i)
        EXPECT_EQ(m_view->GetText(i), kShippedNames[static_cast<std::size_t>(i)]);
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{2}) << "the selection survives the mode change";
    CCmdUI check(CmdGrtListNames);
    EXPECT_TRUE(m_view->OnUpdateCommand(check));
    EXPECT_EQ(check.m_nCheck, 1);

    // Long notes are cut at 1000 characters in names-and-notes mode.
    CGraphTemplate wordy = m_doc->Database().GetAt(0);
    wordy.m_notes.clear();
    for (int i = 0; i < 300; ++i)
        wordy.m_notes.push_back("word word");
    m_doc->SetTemplate(0, wordy);
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListNamesAndNotes));
    const std::string row = m_view->GetText(0);
    EXPECT_LE(row.size() - row.find('\t') - 1, 1000u);

    frame->showNormal();
    frame->resize(CGraphTypesView::kInitialWidth, CGraphTypesView::kInitialHeight);
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListNames));
    frame->grab().save(ScreenshotPath("graph_templates_list"));
    // The window, brought forward, shows its own menus.
    frame->ActivateFrame();
    QApplication::processEvents();
    QStringList menus;
    for (const QAction* menu : m_frame.menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "Sor&t", "&View", "&Utilities", "&Print", "&Window", "&Help"}));
}

TEST_F(GraphTypesViewTest, CopyPasteAndNewTemplates)
{
    CRecordingFrame recorder(*m_doc, "recorder");
    Select({0, 1});
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListCopy));
    ASSERT_EQ(ClipboardCount(g_graphTemplateClipboard), 2);
    EXPECT_EQ(ClipboardRecord(g_graphTemplateClipboard, 1).m_name, "Unity formula (bar)");

    Select({3});
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListPaste));
    ASSERT_EQ(m_doc->Database().GetCount(), kShippedCount + 2);
    EXPECT_EQ(ItemAt(Names(), 3), "Oxide groups (pie)");
    EXPECT_EQ(ItemAt(Names(), 4), "Unity formula (bar)");
    EXPECT_EQ(ItemAt(Names(), 5), "Recipe (bar)");
    EXPECT_EQ(m_doc->Database().GetAt(3), m_doc->Database().GetAt(0)) << "a full copy, data sources and all";
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{3, 4}));
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(recorder.view->received.size(), 1u);
    EXPECT_EQ(recorder.view->At(0).kind, 6);
    EXPECT_EQ(recorder.view->At(0).code, 19);
    EXPECT_EQ(recorder.view->At(0).index, 3);

    // Insert new with no selection goes to the top, Append new to the end.
    m_view->SetSel(-1, false);
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListInsertNew));
    EXPECT_EQ(ItemAt(Names(), 0), "new graph template");
    ASSERT_EQ(RecordAt(m_doc->Database(), 0).m_dataSources.size(), 1u);
    EXPECT_EQ(RecordAt(m_doc->Database().GetAt(0).m_dataSources, 0).m_name, "[current glaze]");
    m_view->SetSel(-1, false);
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListAppendNew));
    EXPECT_EQ(LastItem(Names()), "new graph template");
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{kShippedCount + 3});

    // Cut removes the rows it copied.
    Select({0});
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListCut));
    EXPECT_EQ(ItemAt(Names(), 0), "Oxide groups (pie)");
    EXPECT_EQ(ClipboardRecord(g_graphTemplateClipboard, 0).m_name, "new graph template");
    EXPECT_EQ(LastItem(Codes(recorder)), 20);
}

TEST_F(GraphTypesViewTest, OrderingCommands)
{
    CRecordingFrame recorder(*m_doc, "recorder");
    Select({1, 2});
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListShiftUp));
    EXPECT_EQ(ItemAt(Names(), 0), "Unity formula (bar)");
    EXPECT_EQ(ItemAt(Names(), 1), "Recipe (pie)");
    EXPECT_EQ(ItemAt(Names(), 2), "Oxide groups (pie)");
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{0, 1}));
    CCmdUI up(CmdGrtListShiftUp);
    EXPECT_TRUE(m_view->OnUpdateCommand(up));
    EXPECT_FALSE(up.m_bEnabled) << "the first row cannot go up";
    // Open Graph wants a chosen template.
    CCmdUI open(CmdGrtListOpenGraph);
    EXPECT_TRUE(m_view->OnUpdateCommand(open));
    EXPECT_TRUE(open.m_bEnabled);
    Select({});
    EXPECT_TRUE(m_view->OnUpdateCommand(open));
    EXPECT_FALSE(open.m_bEnabled);
    Select({0, 1});

    // Shift Down announces the row each template left.
    recorder.view->received.clear();
    Select({4});
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListShiftDown));
    ASSERT_EQ(recorder.view->received.size(), 1u);
    EXPECT_EQ(recorder.view->At(0).code, 21);
    EXPECT_EQ(recorder.view->At(0).index, 4);
    EXPECT_EQ(ItemAt(Names(), 5), "Material types (pie)");

    Select({3, 5});
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListSelectedToTop));
    EXPECT_EQ(ItemAt(Names(), 0), "Recipe (bar)");
    EXPECT_EQ(ItemAt(Names(), 1), "Material types (pie)");
    EXPECT_EQ(m_view->GetSelItems(), (std::vector<int>{0, 1}));

    EXPECT_TRUE(m_view->RunCommand(CmdGrtListAlphabetize));
    EXPECT_EQ(ItemAt(Names(), 0), "Average glaze (bar)");
    EXPECT_EQ(LastItem(Codes(recorder)), 21);
}

TEST_F(GraphTypesViewTest, ColorsDialogChangesAnOxideColour)
{
    CRecordingFrame recorder(*m_doc, "recorder");
    ASSERT_NE(m_doc->Database().m_oxideColors.GetAt(kGraphVarAlkalis), nullptr);
    const int before = Found(m_doc->Database().m_oxideColors.GetAt(kGraphVarAlkalis)).color;
    WhenModal<CGraphColorsDlg>([](CGraphColorsDlg& dialog) {
        // Regression: the controls, made as the dialog is shown, stayed hidden.
        EXPECT_TRUE(dialog.OxideList()->isVisible());
        EXPECT_TRUE(dialog.Swatch(0)->isVisible());
        // "All Alkalis" is the first oxide row.
        dialog.OxideList()->setCurrentRow(0);
        EXPECT_EQ(dialog.selectedOxideCode, kGraphVarAlkalis);
        EXPECT_FALSE(dialog.Button(kGcDelete)->isEnabled());
        QTest::mouseClick(dialog.ColorSetRadio(2), Qt::LeftButton);
        EXPECT_EQ(dialog.Swatch(0)->ColorIndex(), 2 * 16) << "the swatches show the chosen set";
        EXPECT_EQ(dialog.Swatch(15)->ColorIndex(), 2 * 16 + 15);
        QTest::mouseClick(dialog.Swatch(5), Qt::LeftButton);
        QTest::mouseClick(dialog.PatternButton(3), Qt::LeftButton);
        EXPECT_TRUE(dialog.Swatch(5)->IsHighlighted());
        ASSERT_NE(dialog.oxides.GetAt(kGraphVarAlkalis), nullptr);
        EXPECT_EQ(Found(dialog.oxides.GetAt(kGraphVarAlkalis)).color, 2 * 16 + 5);
        // A separator row shows no colour and no pattern.
        const auto separators = dialog.OxideList()->findItems(QStringLiteral("   ----------"), Qt::MatchExactly);
        ASSERT_FALSE(separators.isEmpty());
        dialog.OxideList()->setCurrentItem(separators.front());
        EXPECT_FALSE(dialog.UsePatternCheck()->isChecked());
        // A material type without a name is dropped on OK.
        QTest::mouseClick(dialog.Button(kGcAddNew), Qt::LeftButton);
        EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("new type"));
        dialog.NameEdit()->selectAll();
        QTest::keyClick(dialog.NameEdit(), Qt::Key_Delete);
        dialog.grab().save(ScreenshotPath("graph_colors_dialog"));
        dialog.accept();
    });
    const int types = m_doc->Database().m_materialTypeColors.GetCount();
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListColors));
    const COxideColor* alkalis = m_doc->Database().m_oxideColors.GetAt(kGraphVarAlkalis);
    ASSERT_NE(alkalis, nullptr);
    EXPECT_NE(before, 37);
    EXPECT_EQ(alkalis->color, 37);
    EXPECT_EQ(alkalis->pattern, 3);
    EXPECT_EQ(m_doc->Database().m_materialTypeColors.GetCount(), types);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(Codes(recorder), std::vector<int>{23});
}

TEST_F(GraphTypesViewTest, SummaryPrintPreviewAndWriteToFile)
{
    Select({0, 7});
    bool previewed = false;
    QTimer::singleShot(0, [&previewed] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* preview = qobject_cast<CPrintPreviewDlg*>(widget); preview && preview->isVisible()) {
                preview->grab().save(ScreenshotPath("graph_templates_preview"));
                preview->reject();
                previewed = true;
            }
        }
    });
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListPrintPreview));
    EXPECT_TRUE(previewed);
    EXPECT_EQ(m_view->PrintMode(), 1);

    const std::string path = (m_dir / "summary.txt").string();
    m_dialogs.AnswerPath(path);
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListWriteToFile));
    EXPECT_EQ(m_dialogs.Last().title, "Graph Template Summaries to File...");
    const std::string text = ReadAll(path);
    EXPECT_NE(text.find("Oxide groups (pie)"), std::string::npos) << text;
    EXPECT_NE(text.find("Expansion (histogram)"), std::string::npos);
    EXPECT_EQ(text.find("Recipe (pie)"), std::string::npos) << "only the selected templates";
}

TEST_F(GraphTypesViewTest, SaveSelectedAndMerge)
{
    // The database's own colours never go into a subset file.
    CGraphTemplateDatabase& database = m_doc->Database();
    COxideColorList colors = database.m_oxideColors;
    ASSERT_GT(colors.size(), 3u);
    colors[3].color = 99;
    m_doc->SetColorLists(database.m_materialTypeColors, colors);
    Select({1, 2});
    const std::string subset = (m_dir / "subset.grt").string();
    m_dialogs.AnswerPath(subset);
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListSaveSelected));
    EXPECT_EQ(m_dialogs.Last().title, "Save Selected Graph Templates To...");
    CGraphTemplateDatabase written;
    std::ifstream in(subset, std::ios::binary);
    ASSERT_EQ(written.Read(in), 0);
    ASSERT_EQ(written.GetCount(), 2);
    EXPECT_EQ(RecordAt(written, 0).m_name, "Unity formula (bar)");
    EXPECT_EQ(written.m_name, "Graph Templates (subset)");
    CGraphTemplateDatabase defaults;
    EXPECT_EQ(written.m_oxideColors, defaults.m_oxideColors);

    // Merging the file back with replacement only replaces: the list is refilled and hint 22 sent.
    CRecordingFrame recorder(*m_doc, "recorder");
    m_dialogs.AnswerPath(subset);
    WhenModal<CMergeDlg>([](CMergeDlg& merge) {
        EXPECT_EQ(merge.kindWord, "graph templates");
        EXPECT_EQ(merge.flags, (std::vector<int>{1, 1}));
        merge.ReplaceExistingRadio()->setChecked(true);
        merge.List()->selectAll();
        merge.accept();
    });
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListMerge));
    EXPECT_EQ(m_doc->Database().GetCount(), kShippedCount);
    EXPECT_EQ(Codes(recorder), std::vector<int>{22});

    // An editor with unsaved edits of a template the merge replaces is asked first, and No keeps
    // that template and its edits, merges the rest and says so; one on a template the merge leaves
    // alone is not asked and keeps its edits.
    const auto replaceAll = [](CMergeDlg& merge) {
        merge.ReplaceExistingRadio()->setChecked(true);
        merge.List()->selectAll();
        merge.accept();
    };
    const auto edit = [this](int index) {
        CGraphTypeEditView* editor = OpenEditorOn(index);
        if (editor) {
            Control(editor->Ctl<QLineEdit>(kGeName)).setFocus();
            Control(editor->Ctl<QLineEdit>(kGeName)).end(false);
            QTest::keyClicks(editor->Ctl<QLineEdit>(kGeName), " (mine)");
        }
        return editor;
    };
    CGraphTypeEditView* alone = edit(5);
    CGraphTypeEditView* replaced = edit(1);
    ASSERT_TRUE(alone && replaced && alone->IsChanged() && replaced->IsChanged());
    recorder.view->received.clear();
    const std::size_t asked = m_messages.boxes.size();
    m_messages.answers = {MsgResultNo};
    m_dialogs.AnswerPath(subset);
    WhenModal<CMergeDlg>(replaceAll);
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListMerge));
    ASSERT_EQ(m_messages.boxes.size(), asked + 2);
    EXPECT_EQ(m_messages.boxes[asked].text, "\"Unity formula (bar)\" has unsaved changes in its window (\"Unity "
                                            "formula (bar) (mine)\") and will be replaced by the one merged in. "
                                            "Replace it?");
    EXPECT_EQ(m_messages.Last().text, "Merged from " + MessagePath(subset) + ": 0 appended, 1 replaced. \"Unity "
                                      "formula (bar)\" was kept with the unsaved changes in its window (\"Unity "
                                      "formula (bar) (mine)\").");
    EXPECT_EQ(Codes(recorder), (std::vector<int>{22})) << "the other template replaced";
    EXPECT_TRUE(replaced->IsChanged());
    recorder.view->received.clear();
    // Yes lets the edits go with the template the merge replaces, which the editor then shows.
    m_messages.answers = {MsgResultYes};
    m_dialogs.AnswerPath(subset);
    WhenModal<CMergeDlg>(replaceAll);
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListMerge));
    Flush();
    EXPECT_EQ(m_messages.boxes.size(), asked + 3);
    EXPECT_EQ(Codes(recorder), (std::vector<int>{22}));
    ASSERT_EQ(Editors().size(), 2u);
    EXPECT_FALSE(replaced->IsChanged());
    EXPECT_EQ(Control(replaced->Ctl<QLineEdit>(kGeName)).text(), QStringLiteral("Unity formula (bar)"));
    EXPECT_TRUE(alone->IsChanged());
    EXPECT_EQ(Control(alone->Ctl<QLineEdit>(kGeName)).text(), QStringLiteral("Limit formula (bar) (mine)"));
    for (CGraphTypeEditView* editor : {alone, replaced}) {
        editor->SetChanged(false);
        editor->GetFrame()->CloseFrame();
    }
    Flush();

    // Appending announces the first new row, the old count.
    recorder.view->received.clear();
    m_dialogs.AnswerPath(subset);
    WhenModal<CMergeDlg>([](CMergeDlg& merge) {
        merge.AppendAllRadio()->setChecked(true);
        merge.List()->selectAll();
        merge.accept();
    });
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListMerge));
    EXPECT_EQ(m_doc->Database().GetCount(), kShippedCount + 2);
    ASSERT_EQ(recorder.view->received.size(), 1u);
    EXPECT_EQ(recorder.view->At(0).code, 19);
    EXPECT_EQ(recorder.view->At(0).index, kShippedCount);
    EXPECT_EQ(m_view->GetSelItems(), std::vector<int>{kShippedCount});

    // A file without templates is refused with its message.
    const std::string empty = (m_dir / "empty.grt").string();
    std::ofstream(empty, std::ios::binary) << "filetype = Oxidarium Graph Templates\nversion = 2\n";
    m_dialogs.AnswerPath(empty);
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListMerge));
    ASSERT_FALSE(m_messages.boxes.empty());
    EXPECT_EQ(m_messages.Last().text, empty + " contains no graph templates!");
    EXPECT_EQ(m_messages.Last().helpId, 0x31110u);
}

TEST_F(GraphTypesViewTest, DatabaseNotesRenameWithCaseCounts)
{
    CRecordingFrame recorder(*m_doc, "recorder");
    WhenModal<CDbNotesDlg>([](CDbNotesDlg& notes) {
        EXPECT_EQ(notes.caption, "Graph Template Database Notes and Information");
        notes.NameEdit()->selectAll();
        QTest::keyClicks(notes.NameEdit(), "GRAPH Templates");
        notes.accept();
    });
    EXPECT_TRUE(m_view->RunCommand(CmdGrtListDatabaseNotes));
    EXPECT_EQ(m_doc->Database().m_name, "GRAPH Templates");
    ASSERT_NE(dynamic_cast<CMDIChildFrame*>(m_view->GetFrame()), nullptr);
    EXPECT_EQ(dynamic_cast<CMDIChildFrame*>(m_view->GetFrame())->windowTitle(), QStringLiteral("GRAPH Templates"));
    EXPECT_EQ(Codes(recorder), std::vector<int>{38});
}
